#include "midi/VirtualDx7.h"

#include "common/Crc32.h"
#include "synth/FmInstrument.h"
#include "voice/InitVoice.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceParameterTable.h"

#include <algorithm>

#include <cstdio>

namespace toneloft {

namespace {

constexpr std::size_t kVoiceBytes = 155;
constexpr std::size_t kPackedBytes = 128;
constexpr std::size_t kNameBytes = 10;
constexpr int kOperatorMaskParameter = 155;

std::span<const std::uint8_t> bytesOf(const ByteString& s)
{
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

bool checksumHolds(std::string_view message, std::size_t dataBytes)
{
    const auto data = message.substr(kSysexHeaderSize, dataBytes);
    return SysexChecksum(data) == byteAt(message, kSysexHeaderSize + dataBytes);
}

} // namespace

VirtualDx7::VirtualDx7()
{
    m_editBuffer = MakeInitVoice();
    const ByteString bank = MakeInitBankFile();
    m_internal = bank.substr(kSysexHeaderSize, kBankDataSize);
    for (std::size_t v = 0; v < 32; ++v) {
        char name[kNameBytes + 1];
        std::snprintf(name, sizeof name, "TONELOFT%02zu", v + 1);
        m_internal.replace(v * kPackedBytes + kPackedBytes - kNameBytes, kNameBytes, name,
                           kNameBytes);
    }
}

void VirtualDx7::setInstrument(synth::FmInstrument* instrument)
{
    m_instrument = instrument;
    if (m_instrument == nullptr)
        return;
    m_instrument->loadVoice(bytesOf(m_editBuffer));
    m_instrument->setParameter(kOperatorMaskParameter, m_operatorMask);
}

void VirtualDx7::setChannel(int channel)
{
    m_channel = channel & 0x0F;
}

std::vector<ByteString> VirtualDx7::receive(std::string_view message)
{
    std::vector<ByteString> replies;
    // F0 43 sn ...: s = sub-status, n = channel
    if (message.size() < 5 || byteAt(message, 0) != 0xF0 || byteAt(message, 1) != 0x43 ||
        byteAt(message, message.size() - 1) != 0xF7)
        return replies;
    const int subStatus = byteAt(message, 2) >> 4;
    const int channel = byteAt(message, 2) & 0x0F;
    if (channel != m_channel)
        return replies;

    switch (subStatus) {
    case 0: // a dump
        if (message.size() == kSingleMessageSize && byteAt(message, 3) == 0)
            takeVoice(message);
        else if (message.size() == kBankMessageSize && byteAt(message, 3) == 9)
            takeBank(message);
        else
            refuse("dump of unknown format or length " + std::to_string(message.size()));
        break;
    case 1: // a parameter change
        takeParameter(message);
        break;
    case 2: // a dump request: F0 43 2n ff F7
        if (message.size() != 5)
            break;
        if (byteAt(message, 3) == 0) {
            replies.push_back(voiceDump());
            m_applied.push_back({Applied::Kind::SentVoice, -1, 0, m_editBuffer.substr(145)});
        } else if (byteAt(message, 3) == 9) {
            replies.push_back(bankDump());
            m_applied.push_back({Applied::Kind::SentBank, -1, 0, {}});
        }
        break;
    default: break;
    }
    return replies;
}

void VirtualDx7::receiveShort(std::uint32_t word)
{
    const int status = static_cast<int>(word & 0xFF);
    const int note = static_cast<int>((word >> 8) & 0x7F);
    const int velocity = static_cast<int>((word >> 16) & 0x7F);
    if ((status & 0xF0) == 0x90 && (status & 0x0F) == m_channel && velocity > 0)
        m_applied.push_back({Applied::Kind::Note, -1, note, {}});
    if (m_instrument == nullptr || (status & 0x0F) != m_channel)
        return;
    switch (status & 0xF0) {
    case 0x80: m_instrument->noteOff(note); break;
    case 0x90:
        if (velocity > 0)
            m_instrument->noteOn(note, velocity);
        else
            m_instrument->noteOff(note);
        break;
    case 0xB0: m_instrument->controlChange(note, velocity); break;
    case 0xE0: m_instrument->pitchBend(((velocity << 7) | note) - 8192); break; // LSB, MSB
    default: break;
    }
}

ByteString VirtualDx7::transmitBank()
{
    m_applied.push_back({Applied::Kind::SentBank, -1, 0, {}});
    return bankDump();
}

ByteString VirtualDx7::bankDump() const
{
    ByteString m = AddWrapper(m_internal, 3);
    m[2] = toChar(m_channel);
    return m;
}

ByteString VirtualDx7::voiceDump() const
{
    ByteString m = AddWrapper(m_editBuffer, 1);
    m[2] = toChar(m_channel);
    return m;
}

void VirtualDx7::takeVoice(std::string_view message)
{
    if (!checksumHolds(message, kVoiceBytes)) {
        refuse("voice dump with a wrong checksum");
        return;
    }
    m_editBuffer.assign(message.substr(kSysexHeaderSize, kVoiceBytes));
    if (m_instrument != nullptr)
        m_instrument->loadVoice(bytesOf(m_editBuffer));
    m_applied.push_back({Applied::Kind::Voice, -1, 0, m_editBuffer.substr(145)});
}

void VirtualDx7::takeBank(std::string_view message)
{
    if (!checksumHolds(message, kBankDataSize)) {
        refuse("bank dump with a wrong checksum");
        return;
    }
    m_internal.assign(message.substr(kSysexHeaderSize, kBankDataSize));
    m_applied.push_back({Applied::Kind::Bank, -1, 0, m_internal.substr(118, kNameBytes)});
}

void VirtualDx7::takeParameter(std::string_view message)
{
    // F0 43 1n 0ggggghh 0ppppppp 0ddddddd F7: group g, parameter hh ppppppp
    if (message.size() != 7) {
        refuse("parameter change of length " + std::to_string(message.size()));
        return;
    }
    const int groupByte = byteAt(message, 3);
    const int low = byteAt(message, 4);
    const int received = byteAt(message, 5);
    if (groupByte > 0x7F || low > 0x7F || received > 0x7F) {
        refuse("parameter change with a data byte above 7Fh");
        return;
    }
    if ((groupByte >> 2) != 0) {
        refuse("parameter change of group " + std::to_string(groupByte >> 2));
        return;
    }
    const int parameter = ((groupByte & 0x03) << 7) | low;
    if (parameter > kOperatorMaskParameter) {
        refuse("parameter " + std::to_string(parameter) + " out of range");
        return;
    }
    // Out-of-range values are held at the nearest end, as the instrument does
    // (an algorithm of 127 becomes 31).
    int value = received;
    if (parameter == kOperatorMaskParameter) {
        value = received & 0x3F;
        m_operatorMask = value;
    } else {
        const VoiceParameter& row = VoiceParameterTable::row(parameter);
        value = std::clamp(received, row.min, row.max);
        m_editBuffer[static_cast<std::size_t>(parameter)] = toChar(value);
    }
    if (m_instrument != nullptr)
        m_instrument->setParameter(parameter, value);
    m_applied.push_back({Applied::Kind::Parameter, parameter, value, {}});
}

void VirtualDx7::refuse(std::string reason)
{
    m_applied.push_back({Applied::Kind::Refused, -1, 0, std::move(reason)});
}

} // namespace toneloft
