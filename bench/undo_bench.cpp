// Undo of list edits on a large list: makes a file of N unpacked voices
// (30,000 by default), opens it as a voice list, deletes every voice, then
// times the undo that brings them back, the redo, and the snapshot an edit
// takes first; reports the memory one undo step holds.
//
//   toneloft-undo-bench [--voices N]

#include "library/ListEditing.h"
#include "voice/InitVoice.h"
#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/VoiceListHistory.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class SilentUi : public toneloft::UiServices {
public:
    toneloft::MsgResult msgBox(const std::string&, const std::string&, toneloft::MsgIcon,
                               toneloft::MsgButtons) override
    {
        return toneloft::MsgResult::OK;
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string& d) override
    {
        return d;
    }
    toneloft::FileDialogResult fileDialog(const toneloft::FileDialogRequest&) override { return {}; }
    std::optional<int> chooseSaveFormat(int current) override { return current; }
    void openHelp(const std::string&) override {}
    void setStatus(const std::string&, bool, bool) override {}
    void setBusy(bool) override {}
    void processEvents() override {}
    std::int64_t clock() override { return 0; }
};

template <typename F>
double millis(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char* argv[])
{
    long voices = 30000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--voices")
            voices = std::max(1L, std::atol(argv[i + 1]));

    const fs::path dir = fs::temp_directory_path() / "toneloft-undo-bench";
    fs::create_directories(dir);
    const fs::path file = dir / "voices.dat";
    {
        // Unpacked voices without framing (layout 0), each with its own name and data.
        std::ofstream out(file, std::ios::binary);
        const std::string init = toneloft::MakeInitVoice();
        for (long v = 0; v < voices; ++v) {
            std::string voice = init;
            voice[0] = static_cast<char>(v % 100);
            voice[134] = static_cast<char>(v % 32);
            std::string name = "V" + std::to_string(v + 1);
            name.resize(10, ' ');
            voice.replace(145, 10, name);
            out.write(voice.data(), static_cast<std::streamsize>(voice.size()));
        }
    }

    SilentUi ui;
    toneloft::Session session(ui, dir.string() + "/");
    auto list = toneloft::clsVoiceNames(session).CreateVoiceListandFileImage(file.string(), false);
    if (!list || list->voiceCount() != voices) {
        std::fprintf(stderr, "could not open %s\n", file.c_str());
        return 1;
    }
    const toneloft::ByteArray original = list->image();
    std::printf("list: %ld unpacked voices (%.2f MB of voice data)\n", voices,
                static_cast<double>(original.size()) / 1e6);

    constexpr int kRuns = 5;
    double snapshot = 1e9, del = 1e9, undo = 1e9, redo = 1e9;
    std::size_t stepBytes = 0;
    for (int run = 0; run < kRuns; ++run) {
        snapshot = std::min(snapshot, millis([&] { (void)toneloft::VoiceListHistory::take(*list, "bench"); }));
        list->tracker.add(1, list->voiceCount());
        del = std::min(del, millis([&] { toneloft::ListEditing::EditDelete(*list); }));
        stepBytes = list->history.memory();
        undo = std::min(undo, millis([&] { list->history.undo(*list); }));
        if (list->voiceCount() != voices || list->image() != original) {
            std::fprintf(stderr, "undo did not restore the voices\n");
            return 1;
        }
        redo = std::min(redo, millis([&] { list->history.redo(*list); }));
        list->history.undo(*list);
        list->history.clear();
    }
    std::printf("%-40s %8.1f ms\n", "snapshot of the list (taken by an edit)", snapshot);
    std::printf("%-40s %8.1f ms\n", "delete all, snapshot included", del);
    std::printf("%-40s %8.1f ms   (goal < 100 ms)\n", "undo of the delete", undo);
    std::printf("%-40s %8.1f ms\n", "redo of the delete", redo);
    std::printf("%-40s %8.2f MB   (%.0f bytes a voice)\n", "memory of one undo step",
                static_cast<double>(stepBytes) / 1e6, static_cast<double>(stepBytes) / static_cast<double>(voices));
    fs::remove_all(dir);
    return 0;
}
