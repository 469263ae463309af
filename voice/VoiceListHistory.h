#pragma once

#include "voice/SelectionTracker.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace toneloft {

class VoiceList;

// A list's voice-name table as it stood: the text fields of every row back to
// back, the selection and the bank its window showed. About 165 bytes a voice, so a
// step of a 30,000-voice list costs some 5 MB.
struct VoiceListSnapshot {
    int fileType = 0;
    std::vector<std::uint8_t> bytes;  // each row's text fields, in field order
    std::vector<std::uint32_t> ends;  // end offset in bytes of every field of every row
    int textFields = 0;               // fields per row in ends
    SelectionTracker tracker;
    long bank = 0;                    // 1..banks; 0 until the window tells it (noteBankBefore)
    std::string label;                // what the step did: "Paste", "Sort" ...

    long voices() const { return textFields > 0 ? static_cast<long>(ends.size()) / textFields : 0; }
    std::size_t memory() const;
};

// The undo and redo stacks of one list. An edit takes a snapshot before it
// changes anything (ListEditStep); undo puts the list back to the snapshot,
// byte for byte, and keeps what it replaced for redo. A list saved in another
// layout since a step cannot go back to it: such steps are dropped.
class VoiceListHistory {
public:
    // Older steps are dropped past either limit.
    static constexpr std::size_t kMaxSteps = 100;
    static constexpr std::size_t kMaxBytes = std::size_t{256} << 20;

    static VoiceListSnapshot take(VoiceList& list, std::string label, long bank = 0);
    // Makes the snapshot the list's table and selection; consumes its bytes.
    // Returns the bank to show: the snapshot's, kept within the list (1 when unknown).
    static long restore(VoiceList& list, VoiceListSnapshot&& snapshot);

    // A new edit: the redo stack goes.
    void push(VoiceListSnapshot&& before);
    bool canUndo(const VoiceList& list) const;
    bool canRedo(const VoiceList& list) const;
    // Both tell the Session's observers; false when there was nothing to do.
    // bank, when given, is the bank the window shows now, kept for the way back,
    // and is set to the one the restored step showed before the observers hear.
    bool undo(VoiceList& list, long* bank = nullptr);
    bool redo(VoiceList& list, long* bank = nullptr);
    // An edit that could not tell the bank on screen leaves it to the window,
    // which gives it when it hears of the change: the newest step takes it.
    void noteBankBefore(long bank);
    void clear();

    std::string undoLabel() const { return m_undo.empty() ? std::string() : m_undo.back().label; }
    std::string redoLabel() const { return m_redo.empty() ? std::string() : m_redo.back().label; }
    std::size_t undoSteps() const { return m_undo.size(); }
    std::size_t redoSteps() const { return m_redo.size(); }
    std::size_t memory() const;

private:
    friend class ListEditStep;
    static bool fits(const VoiceList& list, const std::deque<VoiceListSnapshot>& stack);
    bool step(VoiceList& list, std::deque<VoiceListSnapshot>& from, std::deque<VoiceListSnapshot>& to,
              long* bank);
    void trim();

    std::deque<VoiceListSnapshot> m_undo;
    std::deque<VoiceListSnapshot> m_redo;
    int m_depth = 0;           // open ListEditSteps: only the outermost takes a snapshot
    VoiceListSnapshot m_pending; // the outermost step's, until its first change
    bool m_hasPending = false;
};

// One undoable edit of a list: construct before the change (with the bank the
// list's window shows, when the edit knows it), commit() once something changed (before the observers hear of it, so that Undo is there
// when they look). Steps opened inside another step of the same list (a drag
// move is a copy, a delete and a paste) belong to the outer one: the first
// commit inside it records the outer step's snapshot, once. A step that never
// commits (the edit failed or did nothing) leaves the history as it was.
class ListEditStep {
public:
    ListEditStep(VoiceList& list, std::string label, long bank = 0);
    ~ListEditStep();
    ListEditStep(const ListEditStep&) = delete;
    ListEditStep& operator=(const ListEditStep&) = delete;

    void commit();

private:
    VoiceList& m_list;
};

} // namespace toneloft
