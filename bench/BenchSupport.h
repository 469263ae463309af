// What the benchmarks share: reading the test banks, a user who answers every
// box with its first choice, and timing.
#pragma once

#include "common/UiServices.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace toneloft::bench {

inline std::string readAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every whole 4,104-byte bank message (format 9) in the files, or in the files of
// the folders, taken in name order so that a run is repeatable.
inline std::vector<std::string> collectBanks(const std::vector<std::string>& args)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (const auto& a : args) {
        if (fs::is_directory(a)) {
            for (const auto& e : fs::directory_iterator(a))
                if (e.is_regular_file())
                    files.push_back(e.path());
        } else {
            files.emplace_back(a);
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<std::string> banks;
    for (const auto& f : files) {
        const std::string bytes = readAll(f);
        for (std::size_t at = 0; at + 4104 <= bytes.size(); at += 4104) {
            const std::string bank = bytes.substr(at, 4104);
            if (static_cast<unsigned char>(bank[0]) == 0xF0 && bank[1] == 0x43 && bank[3] == 0x09 &&
                static_cast<unsigned char>(bank[4103]) == 0xF7)
                banks.push_back(bank);
        }
    }
    return banks;
}

// Nobody at the desk: a question gets Yes, any other box OK, an input box its
// default; nothing is shown. Each turn of the event loop runs onEvents.
class SilentUi : public UiServices {
public:
    MsgResult msgBox(const std::string&, const std::string&, MsgIcon, MsgButtons b) override
    {
        return b == MsgButtons::YesNo || b == MsgButtons::YesNoCancel ? MsgResult::Yes : MsgResult::OK;
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string& d) override
    {
        return d;
    }
    FileDialogResult fileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<int> chooseSaveFormat(int current) override { return current; }
    void openHelp(const std::string&) override {}
    void setStatus(const std::string&, bool, bool) override {}
    void setBusy(bool) override {}
    void processEvents() override
    {
        ++events;
        if (onEvents)
            onEvents();
    }
    std::int64_t clock() override { return 0; }

    long events = 0;
    std::function<void()> onEvents;
};

// Nobody at the desk, on a clock that moves one millisecond per turn of the
// event loop, so waits (a test note's) cost no real time. Every box gets answer.
class FakeClockUi : public UiServices {
public:
    explicit FakeClockUi(MsgResult answer) : m_answer(answer) {}
    MsgResult msgBox(const std::string&, const std::string&, MsgIcon, MsgButtons) override { return m_answer; }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    FileDialogResult fileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<int> chooseSaveFormat(int) override { return std::nullopt; }
    void openHelp(const std::string&) override {}
    void setStatus(const std::string&, bool, bool) override {}
    void setBusy(bool) override {}
    void processEvents() override { ++m_now; }
    void waitForEvents(std::int64_t) override { ++m_now; }
    std::int64_t clock() override { return m_now; }

private:
    MsgResult m_answer;
    std::int64_t m_now = 0;
};

inline double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The shortest of runs timings of f, in seconds.
template <typename F>
double best(int runs, F&& f)
{
    double b = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto t = std::chrono::steady_clock::now();
        f();
        b = std::min(b, secondsSince(t));
    }
    return b;
}

} // namespace toneloft::bench
