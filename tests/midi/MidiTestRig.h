#pragma once

#include "midi/Dx7Exchange.h"
#include "midi/MidiBackendSet.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/MidiState.h"
#include "midi/VirtualDx7Backend.h"
#include "midi/clsMidiManagerData.h"
#include "support/ScriptedUi.h"
#include "FakeMidiBackend.h"

#include <string>

namespace toneloft::test {

// The MIDI layer on a scripted interface whose event processing also handles
// queued MIDI input, as the desktop program's event loop does. Devices: the
// fake backend's (none unless a test adds them), then the virtual DX7.
struct MidiTestRig {
    ScriptedUi ui;
    MidiState state;
    FakeMidiBackend fake;
    VirtualDx7Backend dx7{[this] { return ui.now; }};
    MidiBackendSet devices;
    MidiDeviceLayer midi{ui, state, devices};
    Dx7Exchange exchange{midi};

    MidiTestRig()
    {
        fake.clock = [this] { return ui.now; };
        devices.add(fake);
        devices.add(dx7);
        ui.onEvents = [this](ScriptedUi&) { midi.dispatchInput(); };
    }

    // Opens the virtual DX7 (the devices after the fake ones) for input and output.
    void openVirtualDx7()
    {
        const int index = static_cast<int>(fake.outputs.size());
        const int inIndex = static_cast<int>(fake.inputs.size());
        midi.OpenMidiDevices(index, inIndex);
        midi.dispatchInput();
    }

    // A fake "Synth" as the only output, opened without input.
    int openSynthOutput()
    {
        fake.outputs = {"Synth"};
        return midi.OpenMidiDevices(0, -2);
    }

    // The Message field of the monitor's row n (1-based), trailing blanks removed.
    std::string monitorMessage(long row)
    {
        auto& table = midi.manager()->MidiMessage();
        table.setAbsolutePosition(row);
        return trimmed(table.text("Message"));
    }
    std::string lastMonitorField(const std::string& field)
    {
        auto& table = midi.manager()->MidiMessage();
        table.moveLast();
        return trimmed(table.text(field));
    }
    std::vector<std::string> monitorMessages()
    {
        std::vector<std::string> out;
        if (!midi.manager())
            return out;
        auto clone = midi.manager()->MidiMessage().clone();
        for (clone->moveFirst(); !clone->eof(); clone->moveNext())
            out.push_back(trimmed(clone->text("Message")));
        return out;
    }
    static std::string trimmed(std::string s)
    {
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    }
};

} // namespace toneloft::test
