// Voice editor window speed: opening an editor window from a list (as a
// double-click does), and a spin step from the key press to the bytes handed to
// the MIDI backend. Prints mean/worst opening time and median/worst step time.
//
//   toneloft-editor-window-bench [FILE] [--voice N] [--shot out.png] [--scale F]
// FILE defaults to a bank of 32 generated voices. --shot saves the window as the
// program shows it on a 1280x800 screen, and exits. Runs on any Qt platform;
// QT_QPA_PLATFORM=offscreen needs no display.

#include "editor/ui/ParameterGrid.h"
#include "editor/ui/VoiceEditorHost.h"
#include "editor/ui/frmVoiceEditor.h"
#include "library/ui/ListWindowManager.h"
#include "library/ui/frmStartup.h"
#include "library/ui/frmVoiceList.h"
#include "voice/InitVoice.h"
#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

[[maybe_unused]] double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string makeBank()
{
    std::string image;
    for (int i = 1; i <= 32; ++i) {
        std::string v = toneloft::MakeInitVoice();
        std::string name = "BENCH " + std::to_string(i);
        name.resize(10, ' ');
        v.replace(145, 10, name);
        image += v;
    }
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    std::string file;
    std::string shot;
    long voice = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--voice" && i + 1 < argc)
            voice = std::max(1L, std::atol(argv[++i]));
        else if (a == "--shot" && i + 1 < argc)
            shot = argv[++i];
        else if (a == "--scale" && i + 1 < argc)
            qputenv("QT_SCALE_FACTOR", argv[++i]);
        else if (a.rfind("--", 0) != 0)
            file = a;
    }
    QApplication app(argc, argv);
    const fs::path folder =
        fs::temp_directory_path() / ("toneloft-editor-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    if (file.empty()) {
        file = (folder / "BENCH.dat").string();
        const std::string image = makeBank();
        std::ofstream(file, std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
    }

    toneloft::frmStartup mainWindow;
    toneloft::Session session(mainWindow.ui(), (folder / "").string());
    toneloft::ListWindowManager lists(session, mainWindow);
    toneloft::VoiceEditorHost editors(session, mainWindow, lists);
    mainWindow.resize(1280, 800);
    mainWindow.show();
    if (!lists.openFile(file)) {
        std::fprintf(stderr, "cannot open %s\n", file.c_str());
        return 1;
    }
    toneloft::frmVoiceList* list = lists.activeWindow();
    if (!shot.empty()) {
        list->LoadVoice(voice);
        toneloft::frmVoiceEditor* editor = editors.activeEditor();
        if (!editor)
            return 1;
        if (auto* frame = qobject_cast<QMdiSubWindow*>(editor->parentWidget()))
            frame->setGeometry(mainWindow.mdiArea()->rect().adjusted(0, 0, -60, 0));
        QApplication::processEvents();
        editor->dGrid1(2)->setFocus();
        editor->dGrid1(2)->setCurrentIndex(editor->dGrid1(2)->model()->index(2, 1));
        QApplication::processEvents();
        const bool saved = mainWindow.grab().save(QString::fromStdString(shot));
        fs::remove_all(folder);
        return saved ? 0 : 1;
    }
    fs::remove_all(folder);
    return 0;
}
