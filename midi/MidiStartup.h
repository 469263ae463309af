#pragma once

#include "midi/MidiStartupDialogs.h"

#include <optional>
#include <string>
#include <utility>

namespace toneloft {

class Dx7Exchange;
class MidiDeviceLayer;
class MidiVoiceListLink;

// Start-up MIDI: list the devices, let the user choose, open them and test
// the synthesiser by getting a bank from it. Runs when the main window has
// loaded and again from "MIDI &Devices..." (after CloseMidiDevices).
class MidiStartup {
public:
    MidiStartup(MidiDeviceLayer& midi, Dx7Exchange& exchange, MidiStartupDialogs& dialogs,
                MidiVoiceListLink* lists = nullptr);
    void setVoiceLists(MidiVoiceListLink* lists) { m_lists = lists; }

    // The program's whole command line: "n"/"N" off-line, "s"/"S" skip the
    // test, "c"/"C" time stamps from the service. Applied on the first run only.
    void setCommandLine(std::string commandLine) { m_commandLine = std::move(commandLine); }

    // 0 go on (on-line, skipped or off-line), -1 quit the program.
    int InitialiseMidi();
    // 0 off-line, 1 detected, 3 quit, 4 nothing received, 5 skipped,
    // 6 bad data, 7 cancelled from the missing-device dialogue.
    int RunInitialisation();
    // -3 off-line, -2 retry, -1 quit, 0 detected, 5 skipped, 7 cancelled.
    int HandleInitResult(int code);
    // 0, or -1 when no device at all was chosen.
    int SelectMidiDevices();
    // 1 found, -1 bad data, -2 nothing received, 5 skipped.
    int DetectSynth();

    // The device dialogue's result: -2 none chosen, else a device index.
    int OutputDeviceID() const { return m_outputDeviceId; }
    int InputDeviceID() const { return m_inputDeviceId; }
    bool skipDetection() const { return m_skipDetection; }

    // The dialogue for a missing kind ("input" or "output"), worded for
    // whether it has been answered before in this run.
    MissingDeviceDialog missingDeviceDialog(const std::string& missingKind) const;
    // The text of frmInitialisationMessage.
    static std::string testText();

private:
    int offLine();
    void applyConfigureResult(bool ok, const MidiConfigureDialog& dialog);

    MidiDeviceLayer& m_midi;
    Dx7Exchange& m_exchange;
    MidiStartupDialogs& m_dialogs;
    MidiVoiceListLink* m_lists;
    std::string m_commandLine;
    bool m_firstPassDone = false;
    bool m_skipDetection = false;
    bool m_missingAnsweredBefore = false;
    std::optional<std::pair<std::string, std::string>> m_remembered; // output, input name
    int m_outputDeviceId = -2;
    int m_inputDeviceId = -2;
};

} // namespace toneloft
