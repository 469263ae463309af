#pragma once

#include "common/KeyedCollection.h"
#include "voice/VoiceEditor.h"

#include <memory>
#include <string>

namespace toneloft {

class UiServices;

// The voice editors opened from one voice list, keyed by text.
class clsVoiceEditors {
public:
    // Creates an editor under key, numbered as the key reads, for the voice at position.
    std::shared_ptr<VoiceEditor> Add(const std::string& key, long voicePosition);
    std::shared_ptr<VoiceEditor> Item(const std::string& key) const { return m_items.item(key); }
    long count() const { return m_items.count(); }
    bool Remove(const std::string& key) { return m_items.remove(key); }
    std::vector<std::shared_ptr<VoiceEditor>> NewEnum() const { return m_items.items(); }

    const std::string& ID() const { return m_id.get(); }
    // A second setting keeps the first and says so.
    void setID(UiServices& ui, const std::string& id);

private:
    KeyedCollection<VoiceEditor> m_items;
    SetOnceId m_id;
};

} // namespace toneloft
