#pragma once

#include <array>
#include <string>
#include <vector>

namespace toneloft {

// frmMissingMIDIDevice: texts made by the core, shown modally by the window layer.
struct MissingDeviceDialog {
    std::string caption;       // "MIDI Device missing"
    std::string noDevicesText; // "You have no MIDI output devices on your system." CRLF
    std::string neededText;    // "An input and an output device are needed ..."
    std::string question;
    std::array<std::string, 3> buttons; // "&Work Off-Line", "&Choose an ... device", "&Exit Toneloft" / "Cancel"
};

// frmMidiConfigure: the lists (entry 0 "<None>") and what is selected in them.
struct MidiConfigureDialog {
    std::string caption;  // "Please select MIDI devices to use with Toneloft"
    std::vector<std::string> outputs;
    std::vector<std::string> inputs;
    int outputIndex = 0;
    int inputIndex = 0;
    bool skipInitialisation = false;
    bool deviceOpen = false; // Cancel does nothing while a device is open
};

// The three start-up dialogues, implemented by the window layer and by tests.
class MidiStartupDialogs {
public:
    virtual ~MidiStartupDialogs() = default;
    // The index of the button pressed: 0, 1 or 2.
    virtual int showMissingDevice(const MissingDeviceDialog& dialog) = 0;
    // Lets the user change the selection and the skip box; true for OK,
    // false for Cancel.
    virtual bool showMidiConfigure(MidiConfigureDialog& dialog) = 0;
    // frmInitialisationMessage with the test text: the button pressed,
    // 0 "&Skip", 1 "&TX7", 2 "&DX7", 3 "&Cancel".
    virtual int showInitialisationMessage(const std::string& testText) = 0;
};

} // namespace toneloft
