// The monitor's decoding of short messages and device notices: any event kind,
// any packed word (status and data bytes out of range included), any timestamp,
// and the note names of any number.
#include "midi/MidiDecoding.h"

#include <cstdint>
#include <cstring>
#include <string>

using namespace toneloft;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // 13 bytes an event: kind, word (4), timestamp (8).
    constexpr std::size_t kEventSize = 13;
    MidiMessageRecord record;
    const int kinds = static_cast<int>(MidiEventKind::Unknown) + 1;
    for (std::size_t at = 0; at + kEventSize <= size; at += kEventSize) {
        const auto kind = static_cast<MidiEventKind>(data[at] % kinds);
        std::uint32_t word = 0;
        std::int64_t timestamp = 0;
        std::memcpy(&word, data + at + 1, sizeof word);
        std::memcpy(&timestamp, data + at + 5, sizeof timestamp);
        (void)DecodeShortMessage(record, kind, word, timestamp, "Fuzz In", "Fuzz Out");
        (void)NoteName(static_cast<int>(word));
        (void)SpacedBytes(record[MidiMessageRecord::RawMessage]);
    }
    return 0;
}
