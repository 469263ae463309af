#include "voice/clsVoiceRecordsets.h"

#include "common/UiServices.h"

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
    if (!m_id.set(id))
        ui.MsgBox("Error: VoiceRecordset form ID already set", "Toneloft", MsgIcon::Critical);
}

} // namespace toneloft
