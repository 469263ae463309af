#pragma once

#include <cstdint>

namespace toneloft {

// Paging of a list while a drag hovers in the outer tenth of its width, at a
// pace the eye can follow: a bank every 400 ms for the first four steps, then
// each wait 15 % shorter than the one before, down to 150 ms. Leaving the zone
// or a change of direction starts again at 400 ms.
class EdgePager {
public:
    // The bank to show after a drag-over event at x (list coordinates) at time
    // now (ms). Lists of 32 voices or fewer never page.
    long dragOver(long x, long listWidth, long bank, long voices, std::int64_t now);
    // Over the window's frame: no step counted, no start time.
    void reset();

    static constexpr std::int64_t kFirstDelayMs = 400;
    static constexpr std::int64_t kShortestDelayMs = 150;
    // The wait before the next step after k steps in one direction (ms).
    static std::int64_t delayAfter(int steps);

private:
    int m_direction = 0; // -1 left, +1 right, 0 none
    int m_steps = 0;
    std::int64_t m_since = 0; // when the zone was entered or the last step came; 0 for none
};

// Whether a drag may drop here: text data, and a voice under the pointer or an empty list.
bool dropAllowed(bool isText, long voiceUnderPointer, long voices);

} // namespace toneloft
