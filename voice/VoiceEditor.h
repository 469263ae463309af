#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace toneloft {

class VoiceList;
class VoiceRecordset;
class clsVoiceData;

// The core side of one voice editor: which voice of which list it edits, the
// parameter tables it works on, and the CRC of the voice as last stored.
// VoiceList::openEditor makes it. It shares its tables with the list's
// Recordsets collection and always reaches them through that holder, so a
// reload (reset to the saved version) can never leave it pointing at old tables.
class VoiceEditor {
public:
    static constexpr const char* kFormName = "VoiceEditor";

    // Numbered as the key reads: its digits, in order ("E12" is number 12).
    VoiceEditor(std::string key, long voicePosition);

    const std::string& key() const { return m_key; }
    long number() const { return m_number; }
    long voicePosition() const { return m_voicePosition; }
    void setVoicePosition(long p) { m_voicePosition = p; }

    std::string caption;
    VoiceList* list = nullptr;
    std::shared_ptr<VoiceRecordset> data; // the tables of the editor's voice
    // The voice's tables as they are now; null when they did not load.
    clsVoiceData* voiceData() const;
    std::int32_t storedCrc = 0;        // CRC of the voice as last stored

    // Asked to close; the window layer supplies what closing means (a question
    // about unsaved changes, say). Without a handler the editor closes. True when
    // it closed.
    std::function<bool(VoiceEditor&)> closeHandler;
    bool requestClose();

    // Reset to the saved version (the list's "already open" question). The
    // editor above the lists sets it so that its views and undo follow; without
    // one the list reloads the tables itself. True when the voice reloaded.
    std::function<bool(VoiceEditor&)> resetHandler;

private:
    std::string m_key;
    long m_number;
    long m_voicePosition;
};

} // namespace toneloft
