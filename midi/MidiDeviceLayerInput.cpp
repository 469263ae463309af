// MidiDeviceLayer: input - what the queue delivers, turned into monitor rows
// and received dumps on the user-interface thread.

#include "midi/MidiDeviceLayer.h"

#include "common/NumberText.h"
#include "midi/MidiBackend.h"
#include "midi/MidiDecoding.h"
#include "midi/clsMidiManagerData.h"
#include "voice/VoiceFileFormat.h"

namespace toneloft {

namespace {

using Slot = MidiMessageRecord;

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
