// VoiceEditorCore: undo and redo, and whether and how the voice is saved.

#include "editor/VoiceEditorCore.h"

#include "editor/VoiceEditorCoreImpl.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceStore.h"
#include "voice/clsVoiceData.h"

namespace toneloft {

using namespace voice_editor_core;

// --- undo ----------------------------------------------------------------------

bool VoiceEditorCore::canUndo() const
{
    return m_undo.canUndo() && !m_undo.inGroup();
}

bool VoiceEditorCore::canRedo() const
{
    return m_undo.canRedo() && !m_undo.inGroup();
}

std::string VoiceEditorCore::undoLabel() const
{
    const EditorUndoStep* step = m_undo.nextUndo();
    return step ? step->label : std::string();
}

std::string VoiceEditorCore::redoLabel() const
{
    const EditorUndoStep* step = m_undo.nextRedo();
    return step ? step->label : std::string();
}

bool VoiceEditorCore::Undo()
{
    return isValid() && !m_session.eventsSuppressed && restoreStep(m_undo.takeUndo(), false);
}

bool VoiceEditorCore::Redo()
{
    return isValid() && !m_session.eventsSuppressed && restoreStep(m_undo.takeRedo(), true);
}

// Puts back one side of an undo step: the voice it held (sent as any change
// is) and the caption with it.
bool VoiceEditorCore::restoreStep(const std::optional<EditorUndoStep>& step, bool after)
{
    if (!step)
        return false;
    Suppress quiet(m_session);
    EditorRefresh r;
    applyVoice(after ? step->after : step->before, step->wholeVoice, r);
    m_caption = after ? step->captionAfter : step->captionBefore;
    m_editor->caption = m_caption;
    r.name = r.name || step->captionBefore != step->captionAfter;
    notify(std::move(r));
    return true;
}

void VoiceEditorCore::beginEditGroup(const std::string& label)
{
    m_undo.beginGroup(label);
}

void VoiceEditorCore::endEditGroup()
{
    m_undo.endGroup();
}

// --- saving ----------------------------------------------------------------------

std::int32_t VoiceEditorCore::ChecksumOnEntry() const
{
    return m_editor ? m_editor->storedCrc : 0;
}

bool VoiceEditorCore::isChanged() const
{
    if (!isValid())
        return false;
    std::int32_t crc = 0;
    ByteString v;
    m_impl->data->PutVoiceDataInString(m_impl->data->voiceData(), v, 0, false, crc);
    return crc != ChecksumOnEntry();
}

VoiceEditorCore::SaveResult VoiceEditorCore::SaveVoice(bool ask)
{
    if (!isValid() || !m_editor->list)
        return SaveResult::Failed;
    if (!isChanged())
        return SaveResult::Unchanged;
    if (ask) {
        const MsgResult answer = m_session.ui().MsgBox(m_caption + " has changed\r\nSave Changes ?",
                                                       "Save Voice", MsgIcon::None, MsgButtons::YesNoCancel);
        if (answer != MsgResult::Yes)
            return SaveResult::Declined;
    }
    return toneloft::SaveVoice(m_session, false, m_editor.get()) ? SaveResult::Saved : SaveResult::Failed;
}

bool VoiceEditorCore::QueryClose()
{
    if (!isValid() || !m_editor->list || !isChanged())
        return true;
    const MsgResult answer = m_session.ui().MsgBox(m_caption + " has changed\r\nSave Changes ?", "Save Voice",
                                                   MsgIcon::None, MsgButtons::YesNoCancel);
    if (answer == MsgResult::Cancel)
        return false;
    if (answer == MsgResult::No)
        return true;
    return toneloft::SaveVoice(m_session, false, m_editor.get());
}

} // namespace toneloft
