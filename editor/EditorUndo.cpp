#include "editor/EditorUndo.h"

namespace toneloft {

void EditorUndo::push(EditorUndoStep step)
{
    if (m_depth > 0) {
        if (!m_group) {
            step.label = m_groupLabel;
            m_group = std::move(step);
        } else {
            m_group->after = std::move(step.after);
            m_group->captionAfter = std::move(step.captionAfter);
            m_group->wholeVoice = m_group->wholeVoice || step.wholeVoice;
        }
        return;
    }
    commit(std::move(step));
}

void EditorUndo::commit(EditorUndoStep step)
{
    if (step.before == step.after && step.captionBefore == step.captionAfter)
        return;
    m_redo.clear();
    m_undo.push_back(std::move(step));
    if (m_undo.size() > kLimit)
        m_undo.pop_front();
}

std::optional<EditorUndoStep> EditorUndo::takeUndo()
{
    if (m_undo.empty() || m_depth > 0)
        return std::nullopt;
    EditorUndoStep step = std::move(m_undo.back());
    m_undo.pop_back();
    m_redo.push_back(step);
    return step;
}

std::optional<EditorUndoStep> EditorUndo::takeRedo()
{
    if (m_redo.empty() || m_depth > 0)
        return std::nullopt;
    EditorUndoStep step = std::move(m_redo.back());
    m_redo.pop_back();
    m_undo.push_back(step);
    return step;
}

void EditorUndo::beginGroup(const std::string& label)
{
    if (m_depth++ == 0) {
        m_group.reset();
        m_groupLabel = label;
    }
}

void EditorUndo::endGroup()
{
    if (m_depth == 0 || --m_depth > 0)
        return;
    if (m_group) {
        EditorUndoStep step = std::move(*m_group);
        m_group.reset();
        commit(std::move(step));
    }
}

void EditorUndo::clear()
{
    m_undo.clear();
    m_redo.clear();
    m_group.reset();
    m_depth = 0;
}

} // namespace toneloft
