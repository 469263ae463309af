#pragma once

#include "midi/MidiInputEvent.h"
#include "midi/MidiMessageRecord.h"

#include <cstdint>
#include <string>

namespace toneloft {

// Note n (0-127) as letter and octave, octave = n / 12 - 2: 0 is "C-2", 60 "C3",
// 61 "C#3", 127 "G8". Out of range gives "".
std::string NoteName(int note);

// Fills record (cleared first) with the monitor entry for a short or status
// event: word = status | data1 << 8 | data2 << 16, timestamp in ms. The device
// names go into the open notices. False when the event is not to be logged
// (an input error whose status byte is F7).
bool DecodeShortMessage(MidiMessageRecord& record, MidiEventKind event, std::uint32_t word,
                        std::int64_t timestamp, const std::string& inputDeviceName,
                        const std::string& outputDeviceName);

// " 240  67  16 ..." helper: each byte of bytes as spaced decimal text.
std::string SpacedBytes(const std::string& bytes);

} // namespace toneloft
