#pragma once

#include "midi/MidiCommandHost.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/ui/frmMIDIManager.h"

#include <memory>

namespace toneloft::test {

// The window layer's part of the MIDI host, as the desktop program wires it:
// the manager window comes and goes with the manager.
class ManagerHost : public MidiCommandHost {
public:
    MidiDeviceLayer* midi = nullptr;
    std::unique_ptr<frmMIDIManager> window;
    int loads = 0;

    void managerLoaded() override
    {
        ++loads;
        window = std::make_unique<frmMIDIManager>(*midi);
    }
    void managerUnloaded() override { window.reset(); }
    void showManager(ManagerWindowState state) override
    {
        if (window)
            window->showAs(state);
    }
    void monitorChanged() override
    {
        if (window)
            window->monitorChanged();
    }
};

} // namespace toneloft::test
