#pragma once

#include <string>

namespace toneloft {

// Commands and toolbar buttons the MIDI layer enables, disables and ticks.
enum class MidiCommand {
    Send,                 // the MIDI menu's "Send" entry
    Receive,              // "Receive"
    Options,              // "Options"
    MidiInputOn,          // "&Midi Input On" (checked while input runs)
    ShowMidiManager,      // "Show Midi Ma&nager" (checked while the manager shows)
    SendBankButton,       // main toolbar "Send Bank"
    ReceiveBankButton,    // main toolbar "Receive Bank"
    ManagerSendButton,    // MIDI manager toolbar "Send"
    ManagerReceiveButton, // MIDI manager toolbar "Receive"
    RandomiserSend,       // the randomiser's send option
    Count
};

enum class ManagerWindowState { Minimised, Normal, Hidden };

// The window layer's side of the MIDI layer: menus, buttons and the MIDI
// manager window. Every method has an empty default so the core runs headless.
class MidiCommandHost {
public:
    virtual ~MidiCommandHost() = default;
    virtual void setCommandEnabled(MidiCommand, bool) {}
    virtual void setCommandChecked(MidiCommand, bool) {}
    // The MIDI manager exists exactly while a device is open.
    virtual void managerLoaded() {}
    virtual void managerUnloaded() {}
    virtual void showManager(ManagerWindowState) {}
    virtual void setManagerCaption(const std::string&) {}
    // A row was added to (or replaced in) the monitor table.
    virtual void monitorChanged() {}
};

} // namespace toneloft
