#pragma once

#include "common/ByteString.h"
#include "common/Recordset.h"
#include "voice/SelectionTracker.h"
#include "voice/Voice.h"
#include "voice/VoiceListHistory.h"
#include "voice/clsVoiceEditors.h"
#include "voice/clsVoiceRecordsets.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace toneloft {

class Session;
class VoiceColumn;
class clsVoiceNames;

// One open voice file: its identity, its voice-name table and the editors opened
// from it. frmVoiceList shows it.
class VoiceList {
public:
    // The mark of a list that has no file of its own yet.
    static constexpr std::int32_t kNeverSaved = -2;
    // The CRC an empty table counts as.
    static constexpr std::int32_t kEmptyImageCrc = -1;

    explicit VoiceList(Session& session);
    ~VoiceList();
    VoiceList(const VoiceList&) = delete;
    VoiceList& operator=(const VoiceList&) = delete;

    Session& session() { return m_session; }

    std::string ID;        // "L0001"
    std::string FileName;  // full name
    std::string FileTitle; // name without folder
    std::string FilePath;  // folder, with its trailing separator
    int FileType = 0;      // 0..3, a VoiceLayout
    std::int32_t mark = kNeverSaved; // image CRC as last loaded or saved
    std::string caption;   // the window's caption

    // The voice-name table, held by the list's own clsVoiceNames.
    clsVoiceNames& names() { return *m_names; }
    Recordset& rsmfimage();
    void setRsmfimage(std::unique_ptr<Recordset> table);
    long voiceCount() const { return m_voiceCount; }
    // The voices of the table, typed, in the list's layout (attached when the
    // table has none of that width).
    VoiceColumn& voices();
    // Voice n (1-based, in table order); nothing outside the list or for a row
    // that holds no whole voice.
    std::optional<Voice> voice(long n);
    void setVoiceCount(long n) { m_voiceCount = n; }

    clsVoiceEditors Editors;
    clsVoiceRecordsets Recordsets;

    // The key an editor of voice n is kept under in Editors and Recordsets ("V12").
    static std::string editorKey(long voice);
    // Loads voice n (1-based) into a fresh pair of tables and makes an editor on
    // them, kept under editorKey(n). Null when n is outside the list, an editor of
    // it is already open, or the voice does not load.
    std::shared_ptr<VoiceEditor> openEditor(long voice);
    // Reloads an open editor's tables from the list (reset to the saved version).
    // The editor and any window keep the same holder; false when nothing is open
    // under the key or the voice did not load.
    bool resetEditor(const std::string& key);

    // The selected voices: copy, cut, delete, sort, the searches and undo work
    // on them. What the window shows (its bank, the last click) is the window's.
    SelectionTracker tracker;

    // Undo and redo of the edits of the voices (ListEditStep records them).
    VoiceListHistory history;

    bool isPacked() const;
    // The voices back to back as stored, and its CRC (kEmptyImageCrc when there are none).
    ByteArray image();
    std::int32_t imageCrc();
    bool isChanged();
    bool needsNewName() const { return mark == kNeverSaved; }

    // The close request: closes every editor (one that stays open cancels), offers
    // the file for saving, then closes the file. fromOwnControlBox is false when code,
    // the main window or the system asked; a refusal then also sets CancelClose.
    // True when the list is gone.
    bool requestClose(bool fromOwnControlBox = false);

private:
    Session& m_session;
    std::unique_ptr<clsVoiceNames> m_names;
    long m_voiceCount = 0;
};

} // namespace toneloft
