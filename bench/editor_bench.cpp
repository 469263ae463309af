// Voice editor speed, headless:
//   1. a spin step, from the call into the editor to the parameter-change
//      bytes handed to the MIDI backend: median and worst over N steps
//      (goal: median under 1 ms), and the whole step to its return;
//   2. opening an editor core on a voice of a 32-voice list: loading the
//      voice into its tables and building the 27 grid views with their texts
//      (goal: under 100 ms).
//
//   toneloft-editor-bench [--steps N]
// The services' clock is fake (each event turn advances it 1 ms), so the test
// note's wait after each step costs no real time and is not measured.

#include "BenchMidi.h"
#include "BenchSupport.h"
#include "common/UiServices.h"
#include "editor/VoiceEditorCore.h"
#include "midi/MidiBackend.h"
#include "midi/MidiSession.h"
#include "midi/MidiStartupDialogs.h"
#include "voice/InitVoice.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

using namespace toneloft;
using Clock = std::chrono::steady_clock;

using toneloft::bench::NoDialogs;
using toneloft::bench::TimingBackend;

namespace {

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    long steps = 10000;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--steps") == 0 && i + 1 < argc)
            steps = std::max(1L, std::atol(argv[++i]));
    }

    const auto folder = std::filesystem::temp_directory_path() / "toneloft-editor-bench";
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "bank.syx").string();
    {
        std::ofstream out(file, std::ios::binary);
        const ByteString bank = MakeInitBankFile();
        out.write(bank.data(), static_cast<std::streamsize>(bank.size()));
    }

    toneloft::bench::FakeClockUi ui(toneloft::MsgResult::Yes);
    Session session(ui, folder.string());
    TimingBackend backend;
    NoDialogs dialogs;
    MidiSession midi(session, backend, dialogs);
    if (midi.devices().OpenMidiDevices(0, -2) != 0 || !midi.outputOpen()) {
        std::fprintf(stderr, "could not open the timing output\n");
        return 1;
    }
    clsVoiceNames names(session);
    auto list = names.CreateVoiceListandFileImage(file, false);
    if (!list) {
        std::fprintf(stderr, "could not open %s\n", file.c_str());
        return 1;
    }

    // Opening: 32 editors, one per voice, each timed alone.
    std::vector<double> opens;
    std::vector<std::unique_ptr<VoiceEditorCore>> editors;
    for (long v = 1; v <= 32; ++v) {
        const auto start = Clock::now();
        auto handle = list->openEditor(v);
        auto core = std::make_unique<VoiceEditorCore>(session, handle);
        opens.push_back(ms(Clock::now() - start));
        if (!core->isValid()) {
            std::fprintf(stderr, "voice %ld did not open\n", v);
            return 1;
        }
        editors.push_back(std::move(core));
    }
    std::sort(opens.begin(), opens.end());

    // Spin steps on the first editor: up and down an envelope rate, 0..99.
    VoiceEditorCore& editor = *editors.front();
    std::vector<double> times, whole;
    times.reserve(static_cast<std::size_t>(steps));
    whole.reserve(static_cast<std::size_t>(steps));
    int value = 50, direction = 1;
    for (long i = 0; i < steps; ++i) {
        if (value == 99 || value == 0)
            direction = -direction;
        value += direction;
        const long before = backend.longs;
        const auto start = Clock::now();
        editor.SpinChange(1, 0, value);
        if (backend.longs != before + 1) {
            std::fprintf(stderr, "step %ld sent %ld messages\n", i, backend.longs - before);
            return 1;
        }
        whole.push_back(ms(Clock::now() - start));
        times.push_back(ms(backend.lastLong - start));
    }
    std::sort(times.begin(), times.end());
    std::sort(whole.begin(), whole.end());

    std::printf("spin step to backend (%ld steps): median %.4f ms, worst %.4f ms (goal: median < 1 ms)\n", steps,
                times[times.size() / 2], times.back());
    std::printf("whole spin step (store, send, texts, undo record): median %.4f ms, worst %.4f ms\n",
                whole[whole.size() / 2], whole.back());
    std::printf("open an editor on a voice of a 32-voice list: median %.3f ms, worst %.3f ms (goal: < 100 ms)\n",
                opens[opens.size() / 2], opens.back());
    std::filesystem::remove_all(folder);
    return 0;
}
