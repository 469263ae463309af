#include "midi/MidiDeviceLayer.h"

#include "common/NumberText.h"
#include "midi/MidiBackend.h"
#include "midi/MidiDecoding.h"
#include "midi/clsMidiManagerData.h"
#include "voice/VoiceFileFormat.h"

#include <charconv>
#include <utility>
#include <vector>

namespace toneloft {

namespace {

using Slot = MidiMessageRecord;

constexpr std::int64_t kBlockBytesPerSecond = 4096;

std::string trimRight(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

int byteOf(const std::string& oneByteText)
{
    return oneByteText.empty() ? 0 : byteAt(oneByteText, 0);
}

// RAII flag for the non-reentrant input dispatch.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& m_flag;
};

} // namespace

MidiDeviceLayer::MidiDeviceLayer(UiServices& ui, MidiState& state, MidiBackend& backend,
                                 MidiCommandHost* host)
    : m_ui(ui), m_state(state), m_backend(backend), m_host(host ? host : &m_nullHost)
{
}

MidiDeviceLayer::~MidiDeviceLayer()
{
    // Without the status texts of CloseMidiDevices: the program is going away.
    if (m_state.inputOpen) {
        m_backend.stopInput();
        m_backend.closeInput();
    }
    if (m_state.outputOpen)
        m_backend.closeOutput();
    m_state.inputOpen = false;
    m_state.outputOpen = false;
}

void MidiDeviceLayer::setCommandEnabled(MidiCommand c, bool on)
{
    m_enabled[index(c)] = on;
    m_host->setCommandEnabled(c, on);
}

void MidiDeviceLayer::setCommandChecked(MidiCommand c, bool on)
{
    m_checked[index(c)] = on;
    m_host->setCommandChecked(c, on);
}

void MidiDeviceLayer::monitorChanged()
{
    m_host->monitorChanged();
}

void MidiDeviceLayer::logRecord(bool replace)
{
    if (m_manager)
        m_manager->AddMessage(m_record, replace);
}

int MidiDeviceLayer::EnumerateMidiDevices(int& outCount, int& inCount)
{
    const int outputs = m_backend.outputCount();
    const int inputs = m_backend.inputCount();
    if (outputs <= 0 && inputs <= 0)
        return -1;

    m_state.outputList.assign(1, MidiState::kNone);
    m_state.inputList.assign(1, MidiState::kNone);
    m_state.outputListIds.assign(1, -2);
    m_state.inputListIds.assign(1, -2);
    m_state.outputListIndex = 0;
    m_state.inputListIndex = 0;
    outCount = 0;
    inCount = 0;
    m_state.mapperPresent = false;

    // Real devices first, the stand-ins after them; only real ones are counted.
    auto list = [this](int count, bool input, std::vector<std::string>& names,
                       std::vector<int>& ids, int& counter) {
        std::vector<std::pair<std::string, int>> standIns;
        for (int i = 0; i < count; ++i) {
            std::string name;
            const int rc = input ? m_backend.inputName(i, name) : m_backend.outputName(i, name);
            if (rc != 0) {
                m_ui.MsgBox(MidiErrorText(rc), "", MsgIcon::Exclamation, MsgButtons::OK);
                continue;
            }
            if (m_backend.isStandIn(i, input)) {
                standIns.emplace_back(trimRight(name), i);
                continue;
            }
            names.push_back(trimRight(name));
            ids.push_back(i);
            ++counter;
        }
        for (auto& [name, id] : standIns) {
            names.push_back(std::move(name));
            ids.push_back(id);
        }
    };
    list(outputs, false, m_state.outputList, m_state.outputListIds, outCount);
    list(inputs, true, m_state.inputList, m_state.inputListIds, inCount);
    m_state.outputListReal = outCount;
    m_state.inputListReal = inCount;

    if (outCount == 0 && inCount == 0)
        return -1;
    if (inCount == 0)
        return -2;
    if (outCount == 0)
        return m_state.mapperPresent ? -4 : -3;
    return 0;
}

void MidiDeviceLayer::loadManager()
{
    if (m_manager)
        return;
    m_manager = std::make_unique<clsMidiManagerData>(*this);
    m_manager->setVoiceLists(m_lists);
    m_manager->InitMidiGrid();
    m_state.receivedData = MidiState::kIdleData;
    setCommandChecked(MidiCommand::ShowMidiManager, true);
    m_host->managerLoaded();
    flushServiceLines();
}

void MidiDeviceLayer::setVoiceLists(MidiVoiceListLink* lists)
{
    m_lists = lists;
    if (m_manager)
        m_manager->setVoiceLists(lists);
}

void MidiDeviceLayer::unloadManager()
{
    if (!m_manager)
        return;
    m_host->managerUnloaded();
    m_manager.reset();
    setCommandChecked(MidiCommand::ShowMidiManager, false);
}

int MidiDeviceLayer::deviceNamed(int id, const std::string& name, bool input)
{
    if (name.empty() || id < 0)
        return id;
    const int count = input ? m_backend.inputCount() : m_backend.outputCount();
    auto nameOf = [&](int i) {
        std::string n;
        const int rc = input ? m_backend.inputName(i, n) : m_backend.outputName(i, n);
        return rc == 0 ? trimRight(n) : std::string();
    };
    if (id < count && nameOf(id) == name)
        return id;
    for (int i = 0; i < count; ++i)
        if (nameOf(i) == name)
            return i;
    return -1;
}

int MidiDeviceLayer::OpenMidiDevices(int outputId, int inputId)
{
    // The dialogue's choice is a name; the numbers may have moved since the lists were made.
    if (inputId != -2)
        inputId = deviceNamed(inputId, m_state.chosenInputName, true);
    if (outputId != -2)
        outputId = deviceNamed(outputId, m_state.chosenOutputName, false);
    m_state.chosenInputName.clear();
    m_state.chosenOutputName.clear();
    if (inputId == -1 || outputId == -1) {
        m_state.inputListIndex = 0;
        return -1;
    }
    if (inputId != -2) {
        loadManager();
        int rc = m_backend.openInput(inputId, m_queue);
        if (rc == 0) {
            rc = m_backend.startInput();
            if (rc != 0)
                m_backend.closeInput();
        }
        if (rc != 0) {
            m_state.inputListIndex = 0;
            unloadManager();
            return -1;
        }
        m_backend.inputName(inputId, m_state.inputDeviceName);
        m_state.inputDeviceName = trimRight(m_state.inputDeviceName);
        m_state.inputDeviceId = inputId;
        m_state.requestedDumpType = -1;
        setCommandEnabled(MidiCommand::Receive, true);
        setCommandEnabled(MidiCommand::Options, true);
        setCommandEnabled(MidiCommand::MidiInputOn, true);
        setCommandChecked(MidiCommand::MidiInputOn, true);
        setCommandEnabled(MidiCommand::ReceiveBankButton, true);
        setCommandEnabled(MidiCommand::ManagerReceiveButton, true);
        m_state.inputStartTime = m_ui.clock();
        m_state.inputOpen = true;
        m_inputRunning = true;
        m_queue.push({MidiEventKind::InputOpened, 0, {}, 0});
    }
    if (outputId != -2) {
        if (m_backend.openOutput(outputId) != 0)
            return -1;
        m_backend.outputName(outputId, m_state.outputDeviceName);
        m_state.outputDeviceName = trimRight(m_state.outputDeviceName);
        m_state.outputDeviceId = outputId;
        loadManager();
        setCommandEnabled(MidiCommand::Send, true);
        setCommandEnabled(MidiCommand::Options, true);
        setCommandEnabled(MidiCommand::SendBankButton, true);
        setCommandEnabled(MidiCommand::ManagerSendButton, true);
        setCommandEnabled(MidiCommand::RandomiserSend, true);
        m_state.outputOpen = true;
        m_queue.push({MidiEventKind::OutputOpened, 0, {}, 0});
    }
    if (!m_manager)
        return 0;
    m_host->showManager(ManagerWindowState::Minimised);
    if (m_state.inputOpen && m_state.outputOpen)
        ShowStatus(m_ui, "MIDI Input and Output Devices Opened - Initialisation pending", 250, 0);
    else if (m_state.outputOpen)
        ShowStatus(m_ui, "MIDI Output Device Opened", 250, 0);
    else
        ShowStatus(m_ui, "MIDI Input Device Opened", 250, 0);
    return 0;
}

void MidiDeviceLayer::reportPort(const std::string& text)
{
    ShowStatus(m_ui, text, 0, 1);
    m_record.clear();
    m_record[Slot::Message] = text;
    logRecord();
}

void MidiDeviceLayer::checkPorts()
{
    if (m_state.outputOpen) {
        const int now = deviceNamed(m_state.outputDeviceId, m_state.outputDeviceName, false);
        if (now < 0 && !m_outputLost) {
            m_outputLost = true;
            reportPort("Port no longer connected: " + m_state.outputDeviceName);
        } else if (now >= 0 && m_outputLost && m_backend.openOutput(now) == 0) {
            m_outputLost = false;
            m_state.outputDeviceId = now;
            reportPort("Port connected again: " + m_state.outputDeviceName);
        }
    }
    if (m_state.inputOpen) {
        const int now = deviceNamed(m_state.inputDeviceId, m_state.inputDeviceName, true);
        if (now < 0 && !m_inputLost) {
            m_inputLost = true;
            reportPort("Port no longer connected: " + m_state.inputDeviceName);
        } else if (now >= 0 && m_inputLost && m_backend.openInput(now, m_queue) == 0) {
            if (m_inputRunning)
                m_backend.startInput();
            m_inputLost = false;
            m_state.inputDeviceId = now;
            reportPort("Port connected again: " + m_state.inputDeviceName);
        }
    }
}

void MidiDeviceLayer::CloseMidiDevices()
{
    m_outputLost = false;
    m_inputLost = false;
    if (!m_state.inputOpen && !m_state.outputOpen)
        return;
    dispatchInput(); // what is still queued belongs in the monitor
    if (m_state.inputOpen) {
        m_backend.stopInput();
        m_inputRunning = false;
        ShowStatus(m_ui, "MIDI input stopped", 250, 0);
        m_backend.closeInput();
        m_queue.clear();
        m_record.clear();
        m_record[Slot::Message] = "MIDI Input Device Closed";
        logRecord();
        setCommandEnabled(MidiCommand::Receive, false);
        setCommandEnabled(MidiCommand::Options, false);
        setCommandEnabled(MidiCommand::MidiInputOn, false);
        setCommandChecked(MidiCommand::MidiInputOn, false);
        setCommandEnabled(MidiCommand::ReceiveBankButton, false);
        setCommandEnabled(MidiCommand::ManagerReceiveButton, false);
        m_state.inputOpen = false;
        m_state.inputDeviceId = -2;
    }
    if (m_state.outputOpen) {
        m_backend.closeOutput();
        m_record.clear();
        m_record[Slot::Message] = "MIDI Output Device Closed";
        logRecord();
        m_state.outputOpen = false;
        m_state.outputDeviceId = -2;
        setCommandEnabled(MidiCommand::Send, false);
        setCommandEnabled(MidiCommand::Options, false);
        setCommandEnabled(MidiCommand::SendBankButton, false);
        setCommandEnabled(MidiCommand::ManagerSendButton, false);
        setCommandEnabled(MidiCommand::RandomiserSend, false);
    }
    m_queue.clear();
    unloadManager();
    ShowStatus(m_ui, "MIDI input and output devices closed", 500, 0);
}

int MidiDeviceLayer::SendShortMessage(const std::string& status, const std::string& data1,
                                      const std::string& data2, const std::string& label)
{
    const bool withData = !data1.empty() || !data2.empty();
    std::uint32_t word = 0;
    if (withData) {
        word = static_cast<std::uint32_t>((byteOf(status) & 0xF0) + byteOf(data1) * 256 +
                                          byteOf(data2) * 65536);
    } else {
        std::size_t first = status.find_first_not_of(' ');
        if (first == std::string::npos)
            return -1;
        const auto* end = status.data() + status.size();
        auto [ptr, ec] = std::from_chars(status.data() + first, end, word);
        if (ec != std::errc() || word > 0xFFFFFF)
            return -1;
    }
    checkPorts();
    if (m_outputLost)
        return -1; // reported once when it went
    const int rc = m_backend.sendShort(word);
    if (rc != 0) {
        m_ui.MsgBox(MidiErrorText(rc), "", MsgIcon::Exclamation, MsgButtons::OK);
        return -1;
    }
    m_record.clear();
    m_record[Slot::Channel] = "1";
    if (withData) {
        m_record[Slot::Message] = "Short Sysex sent:" + std::string(23, ' ') + "Status";
        m_record[Slot::Data1Title] = Str(byteOf(status));
        m_record[Slot::Data1] = "Data";
        m_record[Slot::Data2Title] = Str(byteOf(data1));
        m_record[Slot::Data2] = data2.empty() ? std::string() : Str(byteOf(data2));
        // What a resend from the monitor needs.
        m_record[Slot::Type] = "Short";
        m_record[Slot::RawMessage] = Str(static_cast<long long>(word));
        m_record[Slot::Status] = std::string(1, toChar(static_cast<int>(word & 0xFF)));
        m_record[Slot::ShortData1] = data1.substr(0, 1);
        m_record[Slot::ShortData2] = data2.substr(0, 1);
    } else {
        m_record[Slot::Message] = "Short Sysex resent:" + label;
    }
    logRecord();
    return 0;
}

int MidiDeviceLayer::SendShortMessage(int status, int data1, int data2)
{
    return SendShortMessage(std::string(1, toChar(status)), std::string(1, toChar(data1)),
                            std::string(1, toChar(data2)), "");
}

void MidiDeviceLayer::paceLargeMessage(std::size_t bytes)
{
    if (bytes <= kPacedMessageSize)
        return;
    const std::int64_t now = m_ui.clock();
    if (now < m_nextLargeSendAt)
        Pause(m_ui, m_nextLargeSendAt - now);
    const auto n = static_cast<std::int64_t>(bytes);
    m_nextLargeSendAt = m_ui.clock() + (n * 1000 + kBlockBytesPerSecond - 1) / kBlockBytesPerSecond;
}

int MidiDeviceLayer::SendLongMessage(const ByteString& bytes, int channel)
{
    if (bytes.empty() || !m_state.outputOpen)
        return -1;
    checkPorts();
    if (m_outputLost)
        return -1; // reported once when it went
    BusyPointer busy(m_ui);
    int rc = 1;
    if (bytes.size() <= m_backend.maxLongMessage()) {
        paceLargeMessage(bytes.size());
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        rc = m_backend.sendLong(std::span<const std::uint8_t>(data, bytes.size()));
    } else {
        rc = sendWholeMessages(bytes);
    }
    if (rc != 0) {
        m_ui.MsgBox("MIDI output failed", "MIDI output", MsgIcon::Critical, MsgButtons::OK);
        return -1;
    }
    m_record.clear();
    m_record[Slot::Channel] = StrTrim(channel);
    m_record[Slot::Type] = "Long";
    m_record[Slot::RawMessage] = bytes;
    if (bytes.size() < 12) {
        std::string text = "Long Sysex sent: ";
        for (std::size_t i = 0; i < bytes.size(); ++i)
            text += std::to_string(byteAt(bytes, i)) + " ";
        m_record[Slot::Message] = text;
    } else {
        m_record[Slot::Message] =
            "Long Sysex sent: length " + Str(static_cast<long long>(bytes.size())) + " bytes";
    }
    logRecord();
    m_queue.push({MidiEventKind::OutputDone, 0, {}, 0});
    return 0;
}

int MidiDeviceLayer::sendWholeMessages(const ByteString& bytes)
{
    // Cut after each F7; every piece must be one whole message the service takes.
    const std::size_t limit = m_backend.maxLongMessage();
    std::vector<std::pair<std::size_t, std::size_t>> pieces; // offset, length
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (byteAt(bytes, i) != 0xF7 && i + 1 != bytes.size())
            continue;
        const std::size_t length = i + 1 - start;
        if (byteAt(bytes, start) != 0xF0 || length > limit)
            return 1;
        pieces.emplace_back(start, length);
        start = i + 1;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (const auto& [offset, length] : pieces) {
        paceLargeMessage(length);
        if (const int rc = m_backend.sendLong(std::span<const std::uint8_t>(data + offset, length)); rc != 0)
            return rc;
    }
    return 0;
}

void MidiDeviceLayer::SendLongBlock(std::span<const std::uint8_t> block, std::size_t offset,
                                    std::size_t length)
{
    if (offset >= block.size() || length == 0)
        return;
    length = std::min(length, block.size() - offset);
    length = std::min(length, m_backend.maxLongMessage());
    checkPorts();
    if (m_outputLost)
        return;
    paceLargeMessage(length);
    m_backend.sendLong(block.subspan(offset, length));
}

std::string MidiDeviceLayer::MidiErrorText(int code)
{
    std::string text;
    switch (code) {
    case 0: return "No Error";
    case 1: text = "Unspecified error"; break;
    case 2: text = "Device ID out of range"; break;
    case 3: text = "Driver failed enable"; break;
    case 4: text = "A MIDI Device you have selected is already allocated "; break;
    case 5: text = "Device handle is invalid"; break;
    case 6: text = "No device driver present"; break;
    case 7: text = "Memory allocation error"; break;
    case 8: text = "Unsupported function"; break;
    case 9: text = "Error value out of range"; break;
    case 10: text = "Invalid flags passed"; break;
    case 11: text = "Invalid parameter passed"; break;
    case 64: text = "Header Not prepared"; break;
    case 65: text = "Something still playing"; break;
    case 66: text = "No current map"; break;
    case 67: text = "Hardware is still busy"; break;
    case 68: text = "Port no longer connected"; break;
    default: text = "Error Code Out Of Range"; break;
    }
    ShowStatus(m_ui, "MultiMedia System Error : " + text, 1000, 0);
    return text;
}

std::string MidiDeviceLayer::ProcessLongMessage(MidiEventKind event, const ByteString& bytes,
                                                std::int64_t timestamp)
{
    if (event != MidiEventKind::LongData || bytes.empty()) {
        m_record.clear();
        m_record[Slot::Message] =
            event == MidiEventKind::LongError
                ? "Midi Long Message Error - Invalid Sysex Message (" +
                      Str(static_cast<long long>(bytes.size())) + " bytes) returned."
                : "Midi Long Message Error - Invalid, Empty or Unrecognised Buffer returned.";
        logRecord();
        return MidiState::kNoData;
    }
    if (m_state.requestedDumpType != -1)
        return bytes;
    // Nobody waits: the message is logged in the monitor, and a DX7 dump is
    // kept in the store. Other makers' messages stop there; no box interrupts
    // the user for data they did not ask for.
    if (ClassifyIncomingMessage(bytes, timestamp, false) == 0 && byteAt(bytes, 1) == 0x43 &&
        (byteAt(bytes, 3) == 0 || byteAt(bytes, 3) == 9)) {
        std::string noFile;
        int type = -1;
        CheckFileIntegrity(m_ui, noFile, type, true, bytes);
        if (type <= -1)
            return MidiState::kNoData;
        int strippedType = type;
        const ByteString stripped = stripheaders(bytes, strippedType, false);
        if (m_manager)
            m_manager->AddSysex(stripped, static_cast<long>(stripped.size()), type, "");
    }
    return bytes;
}

int MidiDeviceLayer::ClassifyIncomingMessage(const ByteString& bytes, std::int64_t timestamp,
                                             bool edited)
{
    if (bytes.empty())
        return -1;
    const std::size_t length = bytes.size();
    m_record.clear();
    m_record[Slot::Type] = length >= 7 ? "Long" : "Short";
    m_record[Slot::RawMessage] = bytes;
    m_record[Slot::Timestamp] = std::to_string(timestamp);
    const int channel = (byteAt(bytes, length >= 7 ? 2 : 0) & 0x0F) + 1;

    if (length < 4 || length == 7) {
        m_record[Slot::Channel] = Str(channel);
        m_record[Slot::Message] = (edited ? "Edited Message:" : "Parm. Change:") + SpacedBytes(bytes);
        if (length < 4) {
            m_record[Slot::Status] = bytes.substr(0, 1);
            m_record[Slot::ShortData1] = length > 1 ? bytes.substr(1, 1) : std::string();
            m_record[Slot::ShortData2] = length > 2 ? bytes.substr(2, 1) : std::string();
        }
        logRecord(edited);
        return -1;
    }

    std::string text = "Unrecognised Long Sysex Received";
    if (byteAt(bytes, 1) == 0x43) {
        if (byteAt(bytes, 3) == 0)
            text = "Single DX Voice Received";
        else if (byteAt(bytes, 3) == 9)
            text = "32 Voice Bulk Dump Received";
    }
    ShowStatus(m_ui, text, 1000, 0);
    m_record[Slot::Channel] = Str(channel);
    m_record[Slot::Message] = text;
    logRecord();
    return 0;
}

void MidiDeviceLayer::PlayTestNote(int note)
{
    if (!m_state.outputOpen)
        return;
    SendShortMessage(0x90, note, 60);
    Pause(m_ui, 250);
    SendShortMessage(0x90, note, 0);
}

void MidiDeviceLayer::PlayTestArpeggio(int delayMs)
{
    if (!m_state.outputOpen)
        return;
    if (delayMs < 1)
        delayMs = 300;
    for (int offset : {0, 4, 7, 12, 16, 19, 24, 19, 16, 12, 7, 4, 0}) {
        SendShortMessage(0x90, 60 + offset, 50);
        Pause(m_ui, delayMs);
        SendShortMessage(0x90, 60 + offset, 0);
        m_ui.processEvents();
    }
}

void MidiDeviceLayer::SetMidiMenus(bool enabled)
{
    setCommandEnabled(MidiCommand::Send, enabled);
    setCommandEnabled(MidiCommand::Receive, enabled);
    setCommandEnabled(MidiCommand::Options, enabled);
    if (!enabled)
        return;
    if (!m_state.inputOpen) {
        setCommandEnabled(MidiCommand::Receive, false);
        setCommandEnabled(MidiCommand::MidiInputOn, false);
    }
    if (!m_state.outputOpen)
        setCommandEnabled(MidiCommand::Send, false);
}

void MidiDeviceLayer::ToggleMidiInput()
{
    if (!m_state.inputOpen)
        return;
    if (m_inputRunning) {
        m_backend.stopInput();
        m_inputRunning = false;
        setCommandChecked(MidiCommand::MidiInputOn, false);
        setCommandEnabled(MidiCommand::Receive, false);
        ShowStatus(m_ui, "MIDI input stopped", 2000, 0);
    } else {
        m_backend.startInput();
        m_inputRunning = true;
        m_state.inputStartTime = m_ui.clock();
        setCommandChecked(MidiCommand::MidiInputOn, true);
        setCommandEnabled(MidiCommand::Receive, true);
        ShowStatus(m_ui, "MIDI input started", 2000, 0);
    }
}

void MidiDeviceLayer::ToggleMidiManager()
{
    if (!m_manager)
        return;
    const bool shown = commandChecked(MidiCommand::ShowMidiManager);
    m_host->showManager(shown ? ManagerWindowState::Hidden : ManagerWindowState::Normal);
    setCommandChecked(MidiCommand::ShowMidiManager, !shown);
}

void MidiDeviceLayer::dispatchInput()
{
    if (m_dispatching)
        return; // the outer call goes on popping, so the order holds
    FlagGuard guard(m_dispatching);
    while (auto event = m_queue.pop())
        handleEvent(*event);
}

void MidiDeviceLayer::flushServiceLines()
{
    if (!m_manager)
        return;
    for (const auto& line : m_serviceLines) {
        m_record.clear();
        m_record[Slot::Message] = line;
        logRecord();
    }
    m_serviceLines.clear();
}

void MidiDeviceLayer::logServiceMessage(const std::string& line)
{
    m_queue.push({MidiEventKind::ServiceMessage, 0, line, 0});
}

void MidiDeviceLayer::handleEvent(const MidiInputEvent& event)
{
    if (event.kind == MidiEventKind::ServiceMessage) {
        constexpr std::size_t kKeptLines = 100;
        if (m_serviceLines.size() < kKeptLines)
            m_serviceLines.push_back(event.bytes);
        flushServiceLines();
        return;
    }
    if (!m_manager)
        return;
    // Without the callback switch events are stamped as they reach the monitor.
    const std::int64_t timestamp = m_state.callbackMode ? event.timestampMs : 0;
    if (event.kind == MidiEventKind::LongData || event.kind == MidiEventKind::LongError) {
        m_state.receivedData = ProcessLongMessage(event.kind, event.bytes, timestamp);
        return;
    }
    if (DecodeShortMessage(m_record, event.kind, event.word, timestamp, m_state.inputDeviceName,
                           m_state.outputDeviceName))
        logRecord();
}

} // namespace toneloft
