#include "voice/clsVoiceEditors.h"

#include <cctype>

namespace toneloft {

namespace {

// The number a key reads as: its digits, in order ("E12" reads 12).
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

std::shared_ptr<VoiceEditor> clsVoiceEditors::Add(const std::string& key, long voicePosition)
{
    auto editor = std::make_shared<VoiceEditor>(key, numberOfKey(key), voicePosition);
    if (!m_items.add(key, editor))
        return nullptr;
    return editor;
}

void clsVoiceEditors::setID(UiServices& ui, const std::string& id)
{
    m_id.set(ui, id, "VoiceEditor");
}

} // namespace toneloft
