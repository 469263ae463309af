// Opening speed on a large file: builds a file of 31,000+ packed voices by tiling
// the bank messages of the given files (or of a folder of them), then times, in
// one run, plain reading with CRC-32 of the same bytes against opening it in
// this process (first time and best of 5), toneloft-cli info
// (which opens the file as a voice list) and toneloft-cli convert.
//
//   toneloft-bench [--voices N] FILE_OR_FOLDER...

#include "BenchSupport.h"
#include "common/Crc32.h"
#include "voice/Session.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace toneloft::bench;

int main(int argc, char** argv)
{
    long wanted = 31008;
    std::vector<std::string> sources;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--voices" && i + 1 < argc)
            wanted = std::atol(argv[++i]);
        else
            sources.push_back(a);
    }
    if (sources.empty()) {
        std::cerr << "usage: toneloft-bench [--voices N] FILE_OR_FOLDER...\n";
        return 2;
    }
    const auto banks = collectBanks(sources);
    if (banks.empty()) {
        std::cerr << "no 32-voice bank messages found\n";
        return 1;
    }

    const fs::path dir = fs::temp_directory_path() / "toneloft-bench";
    fs::create_directories(dir);
    const fs::path big = dir / "tiled.syx";
    {
        std::ofstream out(big, std::ios::binary);
        for (long v = 0, i = 0; v < wanted; v += 32, ++i) {
            const auto& b = banks[static_cast<std::size_t>(i) % banks.size()];
            out.write(b.data(), static_cast<std::streamsize>(b.size()));
        }
    }
    const double mb = static_cast<double>(fs::file_size(big)) / 1e6;
    std::printf("file: %s, %.2f MB, %ld voices from %zu distinct banks\n", big.c_str(), mb,
                (wanted + 31) / 32 * 32, banks.size());

    std::int32_t sink = 0;
    const double plain = best(5, [&] {
        toneloft::ByteArray bytes;
        toneloft::ReadWholeFile(big.string(), bytes);
        sink ^= toneloft::CalcCRC32(bytes);
    });
    // The program's own File Open path, in this process: check, read, strip, CRC, voice-name table.
    SilentUi silent;
    long openedVoices = 0;
    const auto openInProcess = [&] {
        toneloft::Session session(silent, dir.string());
        auto list = toneloft::clsVoiceNames(session).CreateVoiceListandFileImage(big.string(), false);
        openedVoices = list ? list->voiceCount() : 0;
    };
    // The first open pays for fresh memory, as a program's first open of a file does;
    // later ones depend on how much the allocator kept from the one before.
    const double firstInProcess = best(1, openInProcess);
    const double inProcess = std::min(firstInProcess, best(4, openInProcess));
    const std::string cli = TONELOFT_CLI_PATH;
    const std::string quiet = " >/dev/null 2>&1";
    const double info = best(3, [&] { (void)std::system((cli + " info \"" + big.string() + "\"" + quiet).c_str()); });
    const fs::path out0 = dir / "out0.dat";
    const fs::path out3 = dir / "out3.syx";
    const double conv0 = best(3, [&] {
        (void)std::system((cli + " --yes convert \"" + big.string() + "\" --type 0 -o \"" + out0.string() + "\"" + quiet).c_str());
    });
    const double conv3 = best(3, [&] {
        (void)std::system((cli + " --yes convert \"" + big.string() + "\" --type 3 -o \"" + out3.string() + "\"" + quiet).c_str());
    });

    std::printf("%-34s %9.1f ms %9.1f MB/s\n", "plain read + CRC-32", plain * 1e3, mb / plain);
    std::printf("%-34s %9.1f ms %9.1f MB/s  %5.1fx plain (%ld voices)\n", "open as a voice list, first",
                firstInProcess * 1e3, mb / firstInProcess, firstInProcess / plain, openedVoices);
    std::printf("%-34s %9.1f ms %9.1f MB/s  %5.1fx plain\n", "open as a voice list, best of 5",
                inProcess * 1e3, mb / inProcess, inProcess / plain);
    std::printf("%-34s %9.1f ms %9.1f MB/s  %5.1fx plain\n", "toneloft-cli info (open as list)", info * 1e3,
                mb / info, info / plain);
    std::printf("%-34s %9.1f ms %9.1f MB/s  %5.1fx plain\n", "toneloft-cli convert --type 0", conv0 * 1e3,
                mb / conv0, conv0 / plain);
    std::printf("%-34s %9.1f ms %9.1f MB/s  %5.1fx plain\n", "toneloft-cli convert --type 3", conv3 * 1e3,
                mb / conv3, conv3 / plain);
    std::printf("(crc %d)\n", sink);
    fs::remove_all(dir);
    return 0;
}
