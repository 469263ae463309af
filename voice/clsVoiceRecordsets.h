#pragma once

#include "common/KeyedCollection.h"
#include "voice/VoiceRecordset.h"

#include <memory>
#include <string>

namespace toneloft {

class UiServices;

// The parameter tables of the voices open in one list's editors, keyed by text.
class clsVoiceRecordsets {
public:
    std::shared_ptr<VoiceRecordset> Add(const std::string& key);
    bool Delete(const std::string& key) { return m_items.remove(key); }
    bool Remove(const std::string& key) { return m_items.remove(key); }
    std::shared_ptr<VoiceRecordset> Item(const std::string& key) const { return m_items.item(key); }
    long count() const { return m_items.count(); }
    std::vector<std::shared_ptr<VoiceRecordset>> NewEnum() const { return m_items.items(); }

    const std::string& ID() const { return m_id.get(); }
    void setID(UiServices& ui, const std::string& id);

private:
    KeyedCollection<VoiceRecordset> m_items;
    SetOnceId m_id;
};

} // namespace toneloft
