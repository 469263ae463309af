// MidiDeviceLayer: sending - short and long messages, pacing of bank-sized
// messages, test notes, and the texts of the service's error codes.

#include "midi/MidiDeviceLayer.h"

#include "common/NumberText.h"
#include "midi/MidiBackend.h"
#include "midi/clsMidiManagerData.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace toneloft {

namespace {

using Slot = MidiMessageRecord;

constexpr std::int64_t kBlockBytesPerSecond = 4096;

int byteOf(const std::string& oneByteText)
{
    return oneByteText.empty() ? 0 : byteAt(oneByteText, 0);
}

} // namespace

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

} // namespace toneloft
