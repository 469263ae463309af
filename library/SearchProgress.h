#pragma once

namespace toneloft {

// Figures of a duplicate search after one voice.
struct DuplicateStatus {
    long currentVoice = 0;
    long remaining = 0;    // voices of the range still to search
    long found = 0;
    long deleted = 0;      // marked for removal so far
    long totalAtStart = 0;
    long totalNow = 0;     // the list's voices less those marked
};

// Figures of a grouping after one group.
struct GroupStatus {
    int group = 0;        // 1..6, the group just searched
    int position = 0;     // its place among the ticked groups, 1-based
    int total = 0;        // ticked groups
    long matched = 0;     // voices the group took
    int filesCreated = 0;
};

// What a long list operation shows while it runs: the progress window with its
// Cancel button and, for the duplicate search, the continue dialog. The windows
// implement it; without a window (the command-line tool) the base class itself
// answers "go on" and the status line carries the progress instead.
class SearchProgress {
public:
    virtual ~SearchProgress() = default;

    virtual void open() {}
    virtual void close() {}
    virtual bool shown() const { return false; }
    virtual void SearchStatus(const DuplicateStatus&) {}
    virtual void GroupStatus(const GroupStatus&) {}
    // True once after the progress window's Cancel was pressed.
    virtual bool takeCancelRequest() { return false; }

    enum class ContinueChoice { Continue, ContinueToEnd, Stop };
    // The continue dialog, shown after each answered question.
    virtual ContinueChoice continueSearch() { return ContinueChoice::ContinueToEnd; }
};

} // namespace toneloft
