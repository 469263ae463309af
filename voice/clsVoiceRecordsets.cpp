#include "voice/clsVoiceRecordsets.h"

namespace toneloft {

std::shared_ptr<VoiceRecordset> clsVoiceRecordsets::Add(const std::string& key)
{
    auto holder = std::make_shared<VoiceRecordset>();
    if (!m_items.add(key, holder))
        return nullptr;
    return holder;
}

void clsVoiceRecordsets::setID(UiServices& ui, const std::string& id)
{
    m_id.set(ui, id, "VoiceRecordset");
}

} // namespace toneloft
