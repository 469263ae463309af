#pragma once

#include <cstdint>
#include <vector>

namespace toneloft {

// The selection of one voice list: a flag per voice (1..count) and the number
// of flags set, kept in step so that TotalSelections is O(1).
class SelectionTracker {
public:
    // Re-creates count flags, all clear; voice 1..count is then set alone.
    // False (nothing changed) when voice < 0.
    bool reset(long voice, long count);
    // Sets first..last (last clamped to count; 0 means first alone). Does nothing
    // when first is 0 or beyond count. Flags already set are not counted twice.
    bool add(long first, long last);
    void toggle(long voice);

    long count() const { return static_cast<long>(m_flags.size()); }
    std::int32_t TotalSelections() const { return m_total; }
    bool isSelected(long voice) const;

    // Voice numbers, ascending.
    std::vector<long> selected() const;
    std::vector<long> unselected() const;
    // How many selected voices lie below target.
    long selectedBefore(long target) const;

    // The fixed end of a Shift range: the voice of the last plain or Ctrl click, 0 for none.
    long anchor = 0;

    enum class ClickEffect {
        Toggled, // Ctrl: the voice changed state
        Range,   // Shift: anchor..voice selected alone
        Kept,    // plain click on a selected voice: selection unchanged
        Single   // plain click elsewhere: that voice alone
    };
    // The click rule for a press on voice (1..count); a voice outside leaves all as it is.
    ClickEffect UpDateTracker(long voice, bool shift, bool ctrl);

private:
    std::vector<bool> m_flags; // index 0 is voice 1
    std::int32_t m_total = 0;
};

// The stateless forms: true when something was done.
bool TrReset(long voice, long count, SelectionTracker& tracker);
bool TrAdd(long first, long last, SelectionTracker& tracker);

} // namespace toneloft
