#pragma once

#include "common/ByteString.h"

#include <cstdint>

namespace toneloft {

// What a MIDI service reports to the program: the input and output device
// notices and the data events.
enum class MidiEventKind {
    InputOpened,
    InputClosed,
    ShortData,   // a channel or system common message, packed in word
    LongData,    // one whole system-exclusive message in bytes
    ShortError,  // a malformed short message, packed in word
    LongError,   // a broken or oversized system-exclusive message; bytes holds what arrived
    OutputOpened,
    OutputClosed,
    OutputDone,  // a long message has left
    ServiceMessage, // a line from the MIDI libraries themselves, in bytes, for the log
    Unknown
};

struct MidiInputEvent {
    MidiEventKind kind = MidiEventKind::Unknown;
    std::uint32_t word = 0;       // status | data1 << 8 | data2 << 16
    ByteString bytes;             // LongData / LongError
    std::int64_t timestampMs = 0; // since input was started
};

} // namespace toneloft
