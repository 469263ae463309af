#pragma once

#include "common/ByteString.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace toneloft {

// One edit of a voice: the 155 unpacked bytes before and after it, so undoing
// it writes back exactly the rows it changed, whatever kind of edit it was.
struct EditorUndoStep {
    std::string label;         // "Value", "Algorithm", "Name", "Reset", "Copy", "Drag"
    ByteString before;
    ByteString after;
    std::string captionBefore; // the editor's caption, which a name change sets
    std::string captionAfter;
    bool wholeVoice = false;   // the edit sent the whole voice; so do its undo and redo
};

// The undo and redo stacks of one editor. Steps between beginGroup and the
// matching endGroup become one step (the first before, the last after); a
// step that changed nothing is dropped.
class EditorUndo {
public:
    static constexpr std::size_t kLimit = 1000; // oldest steps go first

    void push(EditorUndoStep step);
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    const EditorUndoStep* nextUndo() const { return m_undo.empty() ? nullptr : &m_undo.back(); }
    const EditorUndoStep* nextRedo() const { return m_redo.empty() ? nullptr : &m_redo.back(); }
    // Moves the newest step to the other stack and returns it.
    std::optional<EditorUndoStep> takeUndo();
    std::optional<EditorUndoStep> takeRedo();

    void beginGroup(const std::string& label);
    void endGroup();
    bool inGroup() const { return m_depth > 0; }
    void clear();

private:
    void commit(EditorUndoStep step);

    std::deque<EditorUndoStep> m_undo;
    std::deque<EditorUndoStep> m_redo;
    int m_depth = 0;
    std::optional<EditorUndoStep> m_group;
    std::string m_groupLabel;
};

} // namespace toneloft
