#include "midi/MidiStartup.h"

#include "common/NumberText.h"
#include "midi/Dx7Exchange.h"
#include "midi/Dx7Messages.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/MidiVoiceListLink.h"

namespace toneloft {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr std::size_t kNameMatchLength = 12;

std::string capitalised(std::string s)
{
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z')
        s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

bool isSwitch(const std::string& commandLine, char letter)
{
    return commandLine.size() == 1 &&
           (commandLine[0] == letter || commandLine[0] == static_cast<char>(letter - 'a' + 'A'));
}

} // namespace

MidiStartup::MidiStartup(MidiDeviceLayer& midi, Dx7Exchange& exchange, MidiStartupDialogs& dialogs,
                         MidiVoiceListLink* lists)
    : m_midi(midi), m_exchange(exchange), m_dialogs(dialogs), m_lists(lists)
{
}

std::string MidiStartup::testText()
{
    const char* lines[] = {
        "If you are sure your connections are OK and you don't want the current voice setup press SKIP. ",
        "",
        "To TEST A DX7 - manually transmit the voices from the synth as follows: ",
        "",
        "1.   ON YOUR DX7 press the MEMORY PROTECT INTERNAL and then the - (Off) Data Entry buttons. ",
        "2.   Press FUNCTION and 8 on the DX7's front panel to display the current MIDI receive channel.",
        "3.   Set the MIDI receive Channel to Channel 1 using the DX7's Data Entry Slider.",
        "4.   Press button 8 on the DX7 again: the DX7's screen should display SYS INFO AVAIL.",
        "5.   If the screen shows SYSINFO UNAVAIL press the + (On) Data Entry Button.",
        "6.   Press 8 for a third time and the message MIDI TRANSMIT? will appear.",
        "",
        "7.   Press the DX7 button on this form when you're sure you're ready to send. ",
        "8.   Press the Data Entry Button on your DX7 to download 32 Voices.",
        "",
        "To TEST A TX7, DX7 II or any other DX7 compatible synth - press TX7.",
    };
    std::string text;
    for (const char* line : lines) {
        if (!text.empty())
            text += kCrLf;
        text += line;
    }
    return text;
}

MissingDeviceDialog MidiStartup::missingDeviceDialog(const std::string& missingKind) const
{
    const std::string other = missingKind == "input" ? "output" : "input";
    MissingDeviceDialog d;
    d.caption = "MIDI Device missing";
    d.noDevicesText = "You have no MIDI " + missingKind + " devices on your system." + kCrLf;
    d.neededText = "An input and an output device are needed for Toneloft to work properly.";
    d.buttons[0] = "&Work Off-Line";
    d.buttons[1] = "&Choose an " + capitalised(other) + " device";
    if (!m_missingAnsweredBefore) {
        d.question = "Do you want to work off-line with no MIDI, choose a MIDI " + other +
                     " device anyway, or quit Toneloft ?";
        d.buttons[2] = "&Exit Toneloft";
    } else {
        d.question = "Do you want to work off-line with no MIDI or choose a MIDI " + other +
                     " device anyway ?";
        d.buttons[2] = "Cancel";
    }
    return d;
}

int MidiStartup::InitialiseMidi()
{
    UiServices& ui = m_midi.ui();
    for (;;) {
        const int code = HandleInitResult(RunInitialisation());
        switch (code) {
        case -3:
            m_midi.SetMidiMenus(false);
            ShowStatus(ui, " Welcome to Toneloft - Press F1 for Help", 500, 0);
            return 0;
        case -2: continue;
        case -1: return -1;
        case 0: ShowStatus(ui, " Ready - Initialised OK ", 500, 0); break;
        case 5:
            ShowStatus(ui, " Ready - Initialisation skipped ", 500, 0);
            m_midi.host().showManager(ManagerWindowState::Minimised);
            m_midi.state().requestedDumpType = -1;
            break;
        case 7: return 0;
        default: break;
        }
        return 0;
    }
}

int MidiStartup::offLine()
{
    m_midi.setCommandEnabled(MidiCommand::RandomiserSend, false);
    return 0;
}

int MidiStartup::RunInitialisation()
{
    UiServices& ui = m_midi.ui();
    MidiState& state = m_midi.state();
    if (!m_firstPassDone) {
        if (isSwitch(m_commandLine, 'n')) {
            m_firstPassDone = true;
            return offLine();
        }
        if (isSwitch(m_commandLine, 'c')) {
            state.callbackMode = true;
            m_firstPassDone = true;
        }
    }

    int outCount = 0;
    int inCount = 0;
    const int listed = m_midi.EnumerateMidiDevices(outCount, inCount);
    if (listed == -1) {
        ShowStatus(ui, "No MIDI Devices found - working off-line", 2000, 0);
        return offLine();
    }
    if (listed < -1) {
        const int answer = m_dialogs.showMissingDevice(missingDeviceDialog(listed == -2 ? "input" : "output"));
        const bool answeredBefore = m_missingAnsweredBefore;
        m_missingAnsweredBefore = true;
        if (answer == 0)
            return offLine();
        if (answer == 2)
            return answeredBefore ? 7 : 3;
    }

    ShowStatus(ui, Str(inCount) + " MIDI input and " + Str(outCount) + " MIDI output devices located.",
               500, 0);
    if (SelectMidiDevices() != 0)
        return offLine();

    if (!m_firstPassDone && isSwitch(m_commandLine, 's')) {
        m_skipDetection = true;
        m_firstPassDone = true;
    }
    // Only the test dialogue's buttons set the detection mode; skipping the
    // test leaves the one chosen before (it decides how receives wait).
    bool cancelled = false;
    if (!m_skipDetection) {
        const int button = m_dialogs.showInitialisationMessage(testText());
        state.detectionMode = button >= 0 && button <= 2 ? button : -1;
        cancelled = state.detectionMode == -1;
    }

    if (cancelled) {
        ShowStatus(ui, "Midi initialisation cancelled - working off-line", 1000, 0);
        return offLine();
    }
    if (m_midi.OpenMidiDevices(m_outputDeviceId, m_inputDeviceId) != 0) {
        const std::string text =
            std::string("A MIDI device you chose failed to open - there may be a problem with your "
                        "MIDI device settings. ") +
            kCrLf + kCrLf +
            "To check your device settings select Windows Start/Settings/Control "
            "Panel/Multimedia/Devices and check the Properties of your device" +
            kCrLf + kCrLf + "Proceed without MIDI options (YES),or quit (NO)?";
        if (ui.MsgBox(text, "Midi setup error", MsgIcon::Exclamation, MsgButtons::YesNo) ==
            MsgResult::No)
            return 3;
        m_midi.CloseMidiDevices();
        return offLine();
    }
    if (m_outputDeviceId == -2 || m_inputDeviceId == -2 || m_skipDetection)
        return 5;
    switch (DetectSynth()) {
    case -2: return 4;
    case -1: return 6;
    case 1: return 1;
    default: return 5;
    }
}

int MidiStartup::HandleInitResult(int code)
{
    UiServices& ui = m_midi.ui();
    switch (code) {
    case 0: return -3;
    case 1: return 0;
    case 3: m_midi.CloseMidiDevices(); return -1;
    case 4: {
        const std::string text =
            std::string("Toneloft has opened the MIDI I/O devices ") +
            "you selected but cannot detect your synth." + kCrLf + kCrLf +
            "This may be because you selected MIDI devices that are not physically connected to "
            "your synth." +
            kCrLf + kCrLf +
            "If you're sure you've selected the correct devices BOTH for MIDI input and output "
            "then try the following :" +
            kCrLf + kCrLf + "     *  Check you synth's power is on" + kCrLf +
            "     *  Check your MIDI cables are connected to the synth the right way round, " +
            kCrLf +
            "     *  Check that the DX Memory Protect button is set to OFF and the SYS INFO "
            "setting is AVAILABLE " +
            kCrLf + kCrLf +
            "Do you want to try to set MIDI up again (RETRY), quit Toneloft  (ABORT), or skip "
            "initialisation (IGNORE)  ?";
        switch (ui.MsgBox(text, "Midi initialisation failed", MsgIcon::Question,
                          MsgButtons::AbortRetryIgnore)) {
        case MsgResult::Ignore: return 5;
        case MsgResult::Retry: m_midi.CloseMidiDevices(); return -2;
        default: m_midi.CloseMidiDevices(); return -1;
        }
    }
    case 5: return 5;
    case 6: {
        m_midi.CloseMidiDevices();
        const std::string text =
            std::string("An invalid or empty data buffer was received whilst initialising") +
            kCrLf + kCrLf + "Try to initialise again (YES), exit Toneloft  (NO) " + kCrLf +
            "or continue without MIDI functions (CANCEL)  ?" + kCrLf + kCrLf;
        switch (ui.MsgBox(text, "", MsgIcon::Exclamation, MsgButtons::YesNoCancel)) {
        case MsgResult::Yes: return -2;
        case MsgResult::No: return -1;
        default: return -3;
        }
    }
    case 7: return 7;
    default: return -1;
    }
}

void MidiStartup::applyConfigureResult(bool ok, const MidiConfigureDialog& dialog)
{
    const MidiState& state = m_midi.state();
    m_outputDeviceId = -2;
    m_inputDeviceId = -2;
    if (!ok)
        return;
    // The lists leave out devices whose names could not be read, so an entry's
    // device index comes from the list's own table.
    auto idOf = [](const std::vector<int>& ids, int index) {
        return index > 0 && static_cast<std::size_t>(index) < ids.size()
                   ? ids[static_cast<std::size_t>(index)]
                   : -2;
    };
    m_outputDeviceId = idOf(state.outputListIds, dialog.outputIndex);
    m_inputDeviceId = idOf(state.inputListIds, dialog.inputIndex);
}

int MidiStartup::SelectMidiDevices()
{
    MidiState& state = m_midi.state();
    MidiConfigureDialog dialog;
    dialog.caption = "Please select MIDI devices to use with Toneloft";
    dialog.outputs = state.outputList;
    dialog.inputs = state.inputList;
    const int outputs = static_cast<int>(dialog.outputs.size());
    const int inputs = static_cast<int>(dialog.inputs.size());
    if (outputs > 1 && inputs > 1) {
        auto indexOf = [](const std::vector<std::string>& list, const std::string& name) {
            for (std::size_t i = 1; i < list.size(); ++i)
                if (list[i] == name)
                    return static_cast<int>(i);
            return 0;
        };
        if (m_remembered) {
            // By name: entries move when ports come and go between runs.
            dialog.outputIndex = indexOf(dialog.outputs, m_remembered->first);
            dialog.inputIndex = indexOf(dialog.inputs, m_remembered->second);
        } else {
            // Real devices first: a stand-in (the virtual DX7, whose two names
            // always agree) is chosen only when no real pair does.
            auto match = [&](int inEnd, int outEnd) {
                for (int i = 1; i < inEnd; ++i)
                    for (int j = 1; j < outEnd; ++j)
                        if (dialog.inputs[static_cast<std::size_t>(i)].substr(0, kNameMatchLength) ==
                            dialog.outputs[static_cast<std::size_t>(j)].substr(0, kNameMatchLength)) {
                            dialog.outputIndex = j;
                            dialog.inputIndex = i;
                            return true;
                        }
                return false;
            };
            if (!match(1 + state.inputListReal, 1 + state.outputListReal))
                match(inputs, outputs);
        }
    }

    for (;;) {
        dialog.deviceOpen = state.inputOpen || state.outputOpen;
        const bool ok = m_dialogs.showMidiConfigure(dialog);
        applyConfigureResult(ok, dialog);
        auto entry = [](const std::vector<std::string>& list, int index) {
            return index > 0 && static_cast<std::size_t>(index) < list.size()
                       ? list[static_cast<std::size_t>(index)]
                       : std::string();
        };
        m_remembered = std::make_pair(entry(dialog.outputs, dialog.outputIndex),
                                      entry(dialog.inputs, dialog.inputIndex));
        state.chosenOutputName = entry(dialog.outputs, dialog.outputIndex);
        state.chosenInputName = entry(dialog.inputs, dialog.inputIndex);
        if (m_outputDeviceId == -2 && m_inputDeviceId == -2) {
            m_midi.CloseMidiDevices();
            return -1;
        }
        std::string missing;
        if (m_outputDeviceId != -2) {
            state.outputDeviceName = dialog.outputs[static_cast<std::size_t>(dialog.outputIndex)];
            state.outputListIndex = dialog.outputIndex;
        } else {
            missing = "output";
        }
        if (m_inputDeviceId != -2) {
            state.inputDeviceName = dialog.inputs[static_cast<std::size_t>(dialog.inputIndex)];
            state.inputListIndex = dialog.inputIndex;
        } else {
            missing = "input";
        }
        const bool haveThatKind = missing == "output" ? outputs > 1 : inputs > 1;
        if (!missing.empty() && haveThatKind &&
            m_midi.ui().MsgBox("You haven't chosen a MIDI " + missing + " device" +
                                   "Toneloft needs to use both input and output devices to work "
                                   "properly. " +
                                   "Select an " + missing +
                                   " device now (Yes), or proceed anyway (No) ?",
                               "Select Devices", MsgIcon::Question,
                               MsgButtons::YesNo) == MsgResult::Yes)
            continue;
        m_skipDetection = dialog.skipInitialisation;
        return 0;
    }
}

int MidiStartup::DetectSynth()
{
    UiServices& ui = m_midi.ui();
    MidiState& state = m_midi.state();
    const int mode = state.detectionMode;
    if (mode != 1 && mode != 2)
        return 5;
    const std::int64_t limit = mode == 1 ? 2000 : 15000;
    const bool request = mode == 1;
    std::string data;
    bool received = false;
    for (int channel = 0; channel < 16; ++channel) {
        state.currentChannel = channel;
        ShowStatus(ui, "Please wait - detecting on Channel " + Str(channel + 1), 0, 1);
        if (m_exchange.ReceiveDump(kDumpBank, limit, data, request) == 0) {
            received = true;
            break;
        }
        if (mode == 2)
            break;
        ui.processEvents();
    }
    if (!received) {
        ShowStatus(ui, " Setup failed", 1000, 2);
        return -2;
    }
    const bool good = data.size() >= 4 && byteAt(data, 1) == 0x43 &&
                      (byteAt(data, 3) == 9 || byteAt(data, 3) == 0) &&
                      (data.size() == 4104 || data.size() == 163);
    if (!good)
        return -1;
    if (m_lists)
        m_lists->openReceivedAsTemporaryList(data);
    ShowStatus(ui, "DX7 Initialised OK ", 500, 2);
    return 1;
}

} // namespace toneloft
