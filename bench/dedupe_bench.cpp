// Duplicate search at collection scale: tiles the 32-voice bank messages of the
// test files into one file of 100,000 voices, then times, in one run, for each
// rule toneloft-cli dedupe against toneloft-cli info of the same file (which
// opens it as a voice list; goal: dedupe within 4x info), the search alone in
// this process, and the straightforward filter per voice on 5,000 voices
// against the indexed search on the same voices.
//
//   toneloft-dedupe-bench [--voices N] [--filter-voices N] [FILE_OR_FOLDER...]
//   (default: the test files folder)

#include "BenchSupport.h"
#include "voice/Session.h"
#include "library/DuplicateSearch.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace fs = std::filesystem;
using toneloft::DuplicateSearch;
using namespace toneloft::bench;

namespace {

// Writes `voices` voices: bank messages (type 3), or raw packed voices (type 2)
// when the count is not a whole number of banks.
void writeTiled(const fs::path& path, const std::vector<std::string>& banks, long voices)
{
    std::ofstream out(path, std::ios::binary);
    if (voices % 32 == 0) {
        for (long i = 0; i < voices / 32; ++i) {
            const auto& b = banks[static_cast<std::size_t>(i) % banks.size()];
            out.write(b.data(), static_cast<std::streamsize>(b.size()));
        }
        return;
    }
    for (long v = 0; v < voices; ++v) {
        const auto& b = banks[static_cast<std::size_t>(v / 32) % banks.size()];
        out.write(b.data() + 6 + (v % 32) * 128, 128);
    }
}

struct Timing {
    double wall = 1e300;
    double cpu = 1e300; // user + system time of the child process
};

double childCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Best of runs, wall clock and processor time apart (the machine may be shared).
Timing runCommand(const std::string& command, int runs)
{
    Timing t;
    for (int i = 0; i < runs; ++i) {
        const double cpu = childCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        (void)std::system(command.c_str());
        t.wall = std::min(t.wall, secondsSince(start));
        t.cpu = std::min(t.cpu, childCpuSeconds() - cpu);
    }
    return t;
}

const char* ruleName(int rule)
{
    static const char* names[] = {"names only", "data+name/checksum", "data+name/CRC", "data exc. name/CRC"};
    return names[rule];
}

} // namespace

int main(int argc, char** argv)
{
    long wanted = 100000;
    long filterVoices = 5000;
    std::vector<std::string> sources;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--voices" && i + 1 < argc)
            wanted = std::atol(argv[++i]);
        else if (a == "--filter-voices" && i + 1 < argc)
            filterVoices = std::atol(argv[++i]);
        else
            sources.push_back(a);
    }
    if (sources.empty())
        sources.push_back(TONELOFT_CORPUS_DIR);
    const auto banks = collectBanks(sources);
    if (banks.empty()) {
        std::cerr << "no 32-voice bank messages found\n";
        return 1;
    }
    const fs::path dir = fs::temp_directory_path() / "toneloft-dedupe-bench";
    fs::create_directories(dir);
    const fs::path big = dir / "tiled.syx";
    const fs::path small = dir / "small.dat";
    writeTiled(big, banks, wanted);
    writeTiled(small, banks, filterVoices);
    std::printf("file: %s, %.2f MB, %ld voices tiled from %zu distinct banks\n", big.c_str(),
                static_cast<double>(fs::file_size(big)) / 1e6, wanted, banks.size());

    const std::string cli = TONELOFT_CLI_PATH;
    const std::string quiet = " >/dev/null 2>&1";
    const Timing info = runCommand(cli + " info \"" + big.string() + "\"" + quiet, 5);
    std::printf("toneloft-cli info: wall %.1f ms, cpu %.1f ms (best of 5)\n", info.wall * 1e3, info.cpu * 1e3);

    SilentUi ui;
    for (int rule = 0; rule < 4; ++rule) {
        const fs::path out = dir / "kept.syx";
        const fs::path removed = dir / "removed.syx";
        const Timing dedupe = runCommand(cli + " dedupe \"" + big.string() + "\" --rule " + std::to_string(rule) +
                                             " -o \"" + out.string() + "\" --removed \"" + removed.string() +
                                             "\" --yes" + quiet,
                                         5);
        long kept = 0;
        // The search alone (keys, index, marks, removal), timed apart from opening the list.
        double searchOnly = 1e300;
        for (int run = 0; run < 3; ++run) {
            toneloft::Session session(ui, dir.string());
            auto list = toneloft::clsVoiceNames(session).CreateVoiceListandFileImage(big.string(), false);
            if (!list)
                return 1;
            DuplicateSearch::Options o;
            o.rule = static_cast<DuplicateSearch::Rule>(rule);
            o.autoDelete = true;
            o.offerRemovedFile = false;
            toneloft::SearchProgress none;
            const auto t = std::chrono::steady_clock::now();
            DuplicateSearch::SearchDuplicates(*list, o, none);
            searchOnly = std::min(searchOnly, secondsSince(t));
            kept = list->voiceCount();
        }
        std::printf("rule %d %-20s cli dedupe wall %7.1f ms = %4.2fx info, cpu %7.1f ms = %4.2fx info | "
                    "search alone %6.1f ms | kept %ld\n",
                    rule, ruleName(rule), dedupe.wall * 1e3, dedupe.wall / info.wall, dedupe.cpu * 1e3,
                    dedupe.cpu / info.cpu, searchOnly * 1e3, kept);
    }

    std::printf("filter per voice against the index, %ld voices (marks only, automatic deletion):\n", filterVoices);
    for (int rule = 0; rule < 4; ++rule) {
        double times[2] = {};
        std::size_t marks[2] = {};
        for (int m = 0; m < 2; ++m) {
            toneloft::Session session(ui, dir.string());
            auto list = toneloft::clsVoiceNames(session).CreateVoiceListandFileImage(small.string(), false);
            if (!list)
                return 1;
            DuplicateSearch::Options o;
            o.rule = static_cast<DuplicateSearch::Rule>(rule);
            o.autoDelete = true;
            o.method = m == 0 ? DuplicateSearch::Method::Indexed : DuplicateSearch::Method::FilterPerVoice;
            toneloft::SearchProgress none;
            const auto range = DuplicateSearch::rangeVoices(*list, DuplicateSearch::Range::AllVoices);
            const auto t = std::chrono::steady_clock::now();
            const auto r = DuplicateSearch::markDuplicates(session, list->rsmfimage(), range, o, none);
            times[m] = secondsSince(t);
            marks[m] = r.marked.size();
        }
        std::printf("rule %d %-20s indexed %8.1f ms | filter per voice %9.1f ms (%6.0fx) | marks %zu / %zu\n", rule,
                    ruleName(rule), times[0] * 1e3, times[1] * 1e3, times[1] / times[0], marks[0], marks[1]);
    }
    fs::remove_all(dir);
    return 0;
}
