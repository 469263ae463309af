#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft {

class VoiceList;

// The text a voice drag carries between lists:
//   type "," key "," Str(count) "," { Str(voice) "," } ":"
// e.g. voices 1 and 5 of type-0 list L0001: "0,L0001, 2, 1, 5,:".
struct DragData {
    int fileType = 0;
    std::string key;
    std::vector<long> voices; // ascending

    std::string text() const;
    // Nothing when the text is not a drag text (missing colon, bad numbers,
    // count not matching the voices).
    static std::optional<DragData> parse(std::string_view text);
    // The selection of a list.
    static DragData fromSelection(const VoiceList& list);
};

// How many dragged voices lie below target.
long FindSelectionsBeforeTarget(std::string_view dragText, long target);
// The same for a text already split at commas (voices at elements 3 to the second-last).
long FindSelectionsBeforeTargetB(const std::vector<std::string>& parts, long target);

} // namespace toneloft
