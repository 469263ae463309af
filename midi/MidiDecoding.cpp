#include "midi/MidiDecoding.h"

#include "common/ByteString.h"
#include "common/NumberText.h"

#include <array>

namespace toneloft {

namespace {

using Slot = MidiMessageRecord;

std::string oneChar(int byte)
{
    return std::string(1, toChar(byte));
}

void decodeData(MidiMessageRecord& r, std::uint32_t word, int status, int data1, int data2)
{
    int kind = status & 0xF0;
    if (kind == 0x90 && data2 == 0)
        kind = 0x80;
    r[Slot::Channel] = StrTrim((status & 0x0F) + 1);
    r[Slot::Type] = "Short";
    r[Slot::RawMessage] = Str(static_cast<long long>(word));
    r[Slot::Status] = oneChar(status);
    r[Slot::ShortData1] = oneChar(data1);
    r[Slot::ShortData2] = oneChar(data2);

    auto set = [&r](std::string message, std::string title1 = {}, std::string value1 = {},
                    std::string title2 = {}, std::string value2 = {}) {
        r[Slot::Message] = std::move(message);
        r[Slot::Data1Title] = std::move(title1);
        r[Slot::Data1] = std::move(value1);
        r[Slot::Data2Title] = std::move(title2);
        r[Slot::Data2] = std::move(value2);
    };
    switch (kind) {
    case 0x80: set("Note " + NoteName(data1) + " Off", "Velocity ", Str(data2)); break;
    case 0x90: set("Note " + NoteName(data1) + " On", "Velocity ", Str(data2)); break;
    case 0xA0: set("Aftertouch " + NoteName(data1), "Velocity ", Str(data2)); break;
    case 0xB0:
        switch (data1) {
        case 0x01: set("Modulation Wheel", "Value", Str(data2)); break;
        case 0x06: set("Data Entry", "Value", Str(data2)); break;
        case 0x60: set("Yes Button pressed", "Value", Str(data2)); break;
        case 0x61: set("No Button pressed", "Value", Str(data2)); break;
        default: set("Controller Change", "ID", Str(data1), "Value", Str(data2)); break;
        }
        break;
    case 0xC0: set("Program Change", "Number ", Str(data1)); break;
    case 0xD0: set("Channel Aftertouch", "Value", Str(data1)); break;
    case 0xE0: set("PitchBend", "LSB ", Str(data1), "MSB ", Str(data2)); break;
    default:
        if (status == 0xF1)
            set("MTC Quarterframe", "Value ", Str(data1));
        else if (status == 0xF2)
            set("Song Position Pointer", "LSB Value ", Str(data1), "MSB Value ", Str(data2));
        else if (status == 0xF3)
            set("Song Select", "Value ", Str(data1));
        else
            set("Undefined System Common message received");
        break;
    }
}

} // namespace

std::string NoteName(int note)
{
    static constexpr std::array<const char*, 12> letters = {"C",  "C#", "D",  "D#", "E",  "F",
                                                            "F#", "G",  "G#", "A",  "A#", "B"};
    if (note < 0 || note > 127)
        return {};
    return letters[static_cast<std::size_t>(note % 12)] + std::to_string(note / 12 - 2);
}

bool DecodeShortMessage(MidiMessageRecord& r, MidiEventKind event, std::uint32_t word,
                        std::int64_t timestamp, const std::string& inputDeviceName,
                        const std::string& outputDeviceName)
{
    r.clear();
    const int status = static_cast<int>(word & 0xFF);
    const int data1 = static_cast<int>((word >> 8) & 0xFF);
    const int data2 = static_cast<int>((word >> 16) & 0xFF);
    r[Slot::Timestamp] = Str(static_cast<long long>(timestamp));
    switch (event) {
    case MidiEventKind::InputOpened: r[Slot::Message] = inputDeviceName + " opened for input. "; break;
    case MidiEventKind::InputClosed: r[Slot::Message] = "MIDI input device closed"; break;
    case MidiEventKind::ShortData: decodeData(r, word, status, data1, data2); break;
    case MidiEventKind::ShortError:
        if (status == 0xF7)
            return false;
        r[Slot::Channel] = Str((status & 0x0F) + 1);
        r[Slot::Message] = "Bad MIDI Message:Status " + Str(status) + " Data1 " + Str(data1) +
                           " Data2 " + Str(data2);
        break;
    case MidiEventKind::OutputOpened:
        r[Slot::Message] = outputDeviceName + " opened for output. ";
        break;
    case MidiEventKind::OutputClosed: r[Slot::Message] = "MIDI output device closed"; break;
    case MidiEventKind::OutputDone: r[Slot::Message] = "Midi output completed"; break;
    default: r[Slot::Message] = "Unrecognised MIDI Message"; break;
    }
    return true;
}

std::string SpacedBytes(const std::string& bytes)
{
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        text += Str(static_cast<int>(byteAt(bytes, i)));
    return text;
}

} // namespace toneloft
