// Voice editor window speed: opening an editor window from a list (as a
// double-click does, up to its first paint), and a spin step from the key press
// in a grid to the parameter-change bytes handed to the MIDI backend. Prints
// median/worst of both. The services' clock is fake (one event turn is 1 ms), so
// the test note's wait after a step costs no real time.
//
//   toneloft-editor-window-bench [FILE] [--steps N] [--voice N] [--shot out.png] [--pdf out.pdf] [--scale F]
// FILE defaults to a bank of 32 generated voices. --shot saves the window as the
// program shows it on a 1280x800 screen, --pdf prints its Print Voice Data pages
// into a PDF file; either then exits. Runs on any Qt platform;
// QT_QPA_PLATFORM=offscreen needs no display.

#include "BenchMidi.h"
#include "BenchSupport.h"
#include "editor/VoiceEditorCore.h"
#include "editor/ui/ParameterGrid.h"
#include "editor/ui/PrintVoiceData.h"
#include "editor/ui/VoiceEditorHost.h"
#include "editor/ui/frmVoiceEditor.h"
#include "library/ui/ListWindowManager.h"
#include "library/ui/frmStartup.h"
#include "library/ui/frmVoiceList.h"
#include "voice/InitVoice.h"
#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"
#include "common/UiServices.h"
#include "midi/MidiBackend.h"
#include "midi/MidiSession.h"
#include "midi/MidiStartupDialogs.h"

#include <QApplication>
#include <QKeyEvent>
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

using toneloft::bench::NoDialogs;
using toneloft::bench::TimingBackend;

namespace {

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::pair<double, double> medianWorst(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.back()};
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
    std::string pdf;
    long voice = 1;
    long stepCount = 10000;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--voice" && i + 1 < argc)
            voice = std::max(1L, std::atol(argv[++i]));
        else if (a == "--steps" && i + 1 < argc)
            stepCount = std::max(1L, std::atol(argv[++i]));
        else if (a == "--pdf" && i + 1 < argc)
            pdf = argv[++i];
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

    toneloft::bench::FakeClockUi ui(toneloft::MsgResult::No);
    toneloft::frmStartup mainWindow(shot.empty() && pdf.empty() ? &ui : nullptr);
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
    if (!pdf.empty()) {
        list->LoadVoice(voice);
        toneloft::frmVoiceEditor* editor = editors.activeEditor();
        const bool written = editor && toneloft::PrintVoiceData::printToPdf(*editor, QString::fromStdString(pdf));
        fs::remove_all(folder);
        return written ? 0 : 1;
    }
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

    TimingBackend backend;
    NoDialogs dialogs;
    toneloft::MidiSession midi(session, backend, dialogs);
    if (midi.devices().OpenMidiDevices(0, -2) != 0 || !midi.outputOpen()) {
        std::fprintf(stderr, "could not open the timing output\n");
        return 1;
    }

    // Opening: every voice of the list in turn, from the call to the first paint.
    std::vector<double> opens;
    const long voices = std::min(32L, list->list().voiceCount());
    for (long v = 1; v <= voices; ++v) {
        const auto start = Clock::now();
        list->LoadVoice(v);
        toneloft::frmVoiceEditor* editor = editors.activeEditor();
        if (!editor) {
            std::fprintf(stderr, "voice %ld did not open\n", v);
            return 1;
        }
        editor->repaint();
        QApplication::processEvents();
        opens.push_back(msSince(start));
        if (v < voices)
            qobject_cast<QMdiSubWindow*>(editor->parentWidget())->close();
    }

    // Spin steps: PageUp / PageDown on operator 1's R1, from the key press to the
    // parameter change handed to the backend.
    toneloft::frmVoiceEditor* editor = editors.activeEditor();
    toneloft::ParameterGrid* grid = editor->dGrid1(1);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    std::vector<double> steps;
    std::vector<double> whole; // to the return of the key press: texts, graph and spin redrawn
    int value = editor->core().value(106); // operator 1 R1: (6 - 1) * 21 + 1
    int direction = 1;
    for (long i = 0; i < stepCount; ++i) {
        if (value >= 99 || value <= 0)
            direction = -direction;
        value += direction;
        QKeyEvent key(QEvent::KeyPress, direction > 0 ? Qt::Key_PageUp : Qt::Key_PageDown, Qt::NoModifier);
        const long before = backend.longs;
        const auto start = Clock::now();
        QApplication::sendEvent(grid, &key);
        if (backend.longs == before) {
            std::fprintf(stderr, "step %ld sent nothing\n", i);
            return 1;
        }
        whole.push_back(msSince(start));
        steps.push_back(std::chrono::duration<double, std::milli>(backend.lastLong - start).count());
    }
    const double first = opens.front();
    const auto [openMedian, openWorst] = medianWorst(opens);
    const auto [wholeMedian, wholeWorst] = medianWorst(whole);
    const auto [stepMedian, stepWorst] = medianWorst(steps);
    std::printf("open editor window (%ld voices): median %.2f ms, worst %.2f ms (goal < 100 ms)\n", voices,
                openMedian, openWorst);
    std::printf("  the first (fonts, the Algorithms window made): %.2f ms\n", first);
    std::printf("spin step, key press to MIDI backend (%zu steps): median %.3f ms, worst %.3f ms\n", steps.size(),
                stepMedian, stepWorst);
    std::printf("spin step, key press to its return: median %.3f ms, worst %.3f ms\n", wholeMedian, wholeWorst);
    fs::remove_all(folder);
    return 0;
}
