#include "voice/VoiceEditor.h"

#include "voice/VoiceList.h"
#include "voice/VoiceRecordset.h"

#include <cctype>

namespace toneloft {

namespace {

long numberOfKey(const std::string& key)
{
    long n = 0;
    for (const char c : key) {
        if (std::isdigit(static_cast<unsigned char>(c)) && n < 100000000)
            n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace

VoiceEditor::VoiceEditor(std::string key, long voicePosition)
    : m_key(std::move(key)), m_number(numberOfKey(m_key)), m_voicePosition(voicePosition)
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
