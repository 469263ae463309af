// Voice list window speed: a list of 32,000 packed voices is opened into its
// window, then paged bank by bank to the end and back. Prints the time from
// opening to the first bank on screen and the time per page (mean and worst).
//
//   toneloft-list-window-bench [--voices N]
// Runs on any Qt platform; QT_QPA_PLATFORM=offscreen needs no display.

#include "common/Banks.h"
#include "library/ui/ListWindowManager.h"
#include "library/ui/frmStartup.h"
#include "library/ui/frmVoiceList.h"
#include "voice/InitVoice.h"
#include "voice/Session.h"
#include "voice/VoicePacking.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <QApplication>
#include <QTableWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// count packed voices back to back (layout 2), named BENCH00001 and on.
std::string makeImage(long count)
{
    const std::string packed = toneloft::Pack(toneloft::MakeInitVoice());
    std::string image;
    image.reserve(static_cast<std::size_t>(count) * packed.size());
    char name[16];
    for (long i = 1; i <= count; ++i) {
        std::snprintf(name, sizeof name, "BENCH%05ld", i % 100000);
        image += packed.substr(0, packed.size() - 10);
        image.append(name, 10);
    }
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    long voices = 32000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--voices")
            voices = std::max(1L, std::atol(argv[i + 1]));

    QApplication app(argc, argv);
    const fs::path folder = fs::temp_directory_path() / ("toneloft-list-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    const fs::path file = folder / "BENCH.dat";
    {
        const std::string image = makeImage(voices);
        std::ofstream(file, std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
    }

    // The core alone (file check, read, voice-name table), for comparison.
    double coreMs = 0;
    {
        toneloft::frmStartup mainWindow;
        toneloft::Session session(mainWindow.ui(), (folder / "").string());
        toneloft::clsVoiceNames names(session);
        const auto start = Clock::now();
        auto list = names.CreateVoiceListandFileImage(file.string(), false);
        coreMs = msSince(start);
        if (list)
            session.colVoiceLists().Delete(list->ID);
    }

    double showMs = 0;
    double totalPageMs = 0;
    double worstPageMs = 0;
    long pages = 0;
    {
        toneloft::frmStartup mainWindow;
        toneloft::Session session(mainWindow.ui(), (folder / "").string());
        toneloft::ListWindowManager lists(session, mainWindow);
        mainWindow.resize(1000, 700);
        mainWindow.show();
        QApplication::processEvents();

        const auto start = Clock::now();
        if (!lists.openFile(file.string())) {
            std::fprintf(stderr, "The list could not be opened.\n");
            return 1;
        }
        toneloft::frmVoiceList* window = lists.activeWindow();
        window->repaint();
        QApplication::processEvents();
        showMs = msSince(start);

        const long banks = toneloft::BankCount(voices);
        auto page = [&](long bank) {
            const auto t = Clock::now();
            window->UpdateListBox(bank);
            window->List1()->viewport()->repaint();
            const double ms = msSince(t);
            totalPageMs += ms;
            worstPageMs = std::max(worstPageMs, ms);
            ++pages;
        };
        for (long b = 2; b <= banks; ++b)
            page(b);
        for (long b = banks - 1; b >= 1; --b)
            page(b);
        for (const auto& list : session.colVoiceLists().NewEnum())
            list->mark = list->imageCrc(); // nothing to save on the way out
        mainWindow.close();
    }
    fs::remove_all(folder);

    std::printf("voices            %ld\n", voices);
    std::printf("open and show     %.1f ms   (target < 100 ms)\n", showMs);
    std::printf("core alone        %.1f ms   (the file read into a voice list, no window)\n", coreMs);
    std::printf("page, mean        %.3f ms   over %ld pages (target < 16 ms)\n",
                pages ? totalPageMs / static_cast<double>(pages) : 0.0, pages);
    std::printf("page, worst       %.3f ms\n", worstPageMs);
    return 0;
}
