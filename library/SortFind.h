#pragma once

#include "library/VoiceListViewState.h"

#include <string>

namespace toneloft {

class Session;
class VoiceList;

// Sorting a list by name and finding a voice by name in one or all open lists.
class SortFind {
public:
    // Reorders the list's voices by Names (stable: equal names keep their order).
    // The selected voices stay selected at their new numbers, and the bank of
    // the first of them goes on the window's screen (view, when given).
    static void SortVoiceList(VoiceList& list, VoiceListViewState* view = nullptr);

    enum class Direction { All = 0, Up = 1, Down = 2 };
    struct FindResult {
        bool found = false;
        VoiceList* list = nullptr;
        long voice = 0;
    };
    // Searches from the list at listPosition (1-based in the open lists): All and
    // Down after startVoice (All with 0: from the first voice), Up before it and
    // backwards. With
    // allLists the search goes on through the next (Up: previous) lists. The caller
    // shows a found voice (its list in front, the voice current, its bank on
    // screen); failures are reported in a message box.
    static FindResult FindVoice(Session& session, long listPosition, long startVoice, bool allLists,
                                bool pattern, Direction direction, const std::string& text);

    static std::string notFoundText(const std::string& text);
    static std::string invalidPatternText(const std::string& text);
    static std::string unknownErrorText(const std::string& text);
};

} // namespace toneloft
