#pragma once

#include <array>
#include <string>

namespace toneloft {

// The 13 text slots of one monitor entry; slot k becomes field k of a row of
// the MidiMessage table.
struct MidiMessageRecord {
    enum Slot {
        Timestamp = 0, // milliseconds as spaced decimal text; "" or <= 0 means "now"
        No,            // filled by the table (row count)
        Channel,       // 1-16
        Message,       // readable description
        Data1Title,
        Data1,
        Data2Title,
        Data2,
        Type,          // "Short" or "Long"
        RawMessage,    // short: packed word as spaced decimal text; long: the bytes
        Status,        // short: status byte as a one-character text
        ShortData1,
        ShortData2,
        SlotCount
    };

    std::array<std::string, SlotCount> fields;

    void clear()
    {
        for (auto& s : fields)
            s.clear();
    }
    std::string& operator[](Slot s) { return fields[static_cast<std::size_t>(s)]; }
    const std::string& operator[](Slot s) const { return fields[static_cast<std::size_t>(s)]; }
};

} // namespace toneloft
