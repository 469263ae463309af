// MIDI monitor speed: a controller sweep of 100,000 short events arrives as
// input and is logged. Prints the time per event over the first and the last
// 1,000, once for the input handling alone and once with the MIDI manager
// window showing the log (the grid catching up after every 100 events).
//
//   toneloft-midi-monitor-bench [--events N]
// Runs on any Qt platform; QT_QPA_PLATFORM=offscreen needs no display.

#include "BenchSupport.h"
#include "common/UiServices.h"
#include "midi/MidiCommandHost.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/MidiState.h"
#include "midi/VirtualDx7Backend.h"
#include "midi/clsMidiManagerData.h"
#include "midi/ui/frmMIDIManager.h"

#include <QApplication>
#include <QTableView>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace toneloft;
using Clock = std::chrono::steady_clock;

namespace {

// Nobody at the desk (the bench only logs), on the real clock, with Qt's events.
class QuietUi : public bench::SilentUi {
public:
    void processEvents() override { QCoreApplication::processEvents(); }
    std::int64_t clock() override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
    }
};

class WindowHost : public MidiCommandHost {
public:
    MidiDeviceLayer* midi = nullptr;
    bool withWindow = false;
    std::unique_ptr<frmMIDIManager> window;
    void managerLoaded() override
    {
        if (withWindow) {
            window = std::make_unique<frmMIDIManager>(*midi);
            window->resize(1000, 500);
            window->show();
        }
    }
    void managerUnloaded() override { window.reset(); }
    void monitorChanged() override
    {
        if (window)
            window->monitorChanged();
    }
};

struct Times {
    double firstUs = 0;
    double lastUs = 0;
    double totalS = 0;
};

// Events go in as a sweep of controller 1 on channel 1, batch events at a time;
// each batch is handled (and, with the window, shown) before the next arrives.
Times run(int events, bool withWindow)
{
    QuietUi ui;
    MidiState state;
    VirtualDx7Backend backend;
    WindowHost host;
    MidiDeviceLayer midi(ui, state, backend, &host);
    host.midi = &midi;
    host.withWindow = withWindow;
    midi.OpenMidiDevices(0, 0);
    QCoreApplication::processEvents();

    constexpr int batch = 100;
    const int window = std::min(1000, events / 2);
    std::vector<double> perEvent(static_cast<std::size_t>(events), 0.0);
    const auto start = Clock::now();
    for (int i = 0; i < events; i += batch) {
        const int n = std::min(batch, events - i);
        const auto t0 = Clock::now();
        for (int k = 0; k < n; ++k) {
            const std::array<std::uint8_t, 3> cc = {0xB0, 1, static_cast<std::uint8_t>((i + k) % 128)};
            midi.inputQueue().pushShort(cc, i + k);
        }
        if (withWindow)
            QCoreApplication::processEvents(); // input handled, then the grid catches up
        else
            midi.dispatchInput();
        if (withWindow)
            QCoreApplication::processEvents();
        const double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / n;
        for (int k = 0; k < n; ++k)
            perEvent[static_cast<std::size_t>(i + k)] = us;
    }
    Times t;
    t.totalS = std::chrono::duration<double>(Clock::now() - start).count();
    for (int k = 0; k < window; ++k) {
        t.firstUs += perEvent[static_cast<std::size_t>(k)];
        t.lastUs += perEvent[static_cast<std::size_t>(events - 1 - k)];
    }
    t.firstUs /= window;
    t.lastUs /= window;
    if (midi.manager())
        std::printf("  rows logged: %ld\n", midi.manager()->MidiMessage().recordCount());
    host.window.reset();
    return t;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    int events = 100000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--events") == 0)
            events = std::max(1000, std::atoi(argv[i + 1]));

    for (bool withWindow : {false, true}) {
        std::printf("%s, %d events:\n", withWindow ? "With the MIDI manager window" : "Input handling alone",
                    events);
        const Times t = run(events, withWindow);
        std::printf("  first 1000: %.1f us/event   last 1000: %.1f us/event   total %.2f s\n", t.firstUs,
                    t.lastUs, t.totalS);
    }
    return 0;
}
