#include "voice/VoiceEditor.h"

#include "voice/VoiceList.h"
#include "voice/VoiceRecordset.h"

namespace toneloft {

VoiceEditor::VoiceEditor(std::string key, long number, long voicePosition)
    : m_key(std::move(key)), m_number(number), m_voicePosition(voicePosition)
{
}

clsVoiceData* VoiceEditor::voiceData() const
{
    return data && !data->failed() ? &data->voiceData() : nullptr;
}

bool VoiceEditor::requestClose()
{
    if (closeHandler && !closeHandler(*this))
        return false;
    if (list) {
        list->Recordsets.Remove(m_key);
        list->Editors.Remove(m_key); // may destroy this editor: touch nothing after it
    }
    return true;
}

} // namespace toneloft
