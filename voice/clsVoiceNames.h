#pragma once

#include "common/ByteString.h"
#include "common/Recordset.h"
#include "voice/Voice.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft {

class Session;
class VoiceList;
class VoiceEditor;

// Operations on voice lists: opening and saving files, building and copying
// voice-name tables. Each object also owns a voice-name table of its own (the
// list's rsmfimage when the object belongs to a list).
class clsVoiceNames {
public:
    explicit clsVoiceNames(Session& session);
    ~clsVoiceNames();
    clsVoiceNames(const clsVoiceNames&) = delete;
    clsVoiceNames& operator=(const clsVoiceNames&) = delete;

    Recordset& table() { return *m_table; }
    void setTable(std::unique_ptr<Recordset> table);
    std::unique_ptr<Recordset> takeTable();

    // --- the voice-name table ---------------------------------------------------
    // Field names of the voice-name table.
    static constexpr const char* kID = "ID";
    static constexpr const char* kData = "Data";
    static constexpr const char* kNames = "Names";
    static constexpr const char* kCRCAll = "CRCAll";
    static constexpr const char* kCRCExName = "CRCExName";
    static constexpr const char* kChecksumAll = "ChecksumAll";
    static constexpr const char* kChecksumExName = "ChecksumExName";
    static constexpr const char* kDelSelected = "DelSelected";

    // Gives the table the fields of a voice-name table (empty) and opens it.
    static void InitRecordset(Recordset& table);
    static std::unique_ptr<Recordset> NewVoiceNameTable();
    // One whose voices are kept typed, in this layout (a VoiceColumn).
    static std::unique_ptr<Recordset> NewVoiceNameTable(VoiceLayout layout);
    // Copies rowCount rows of source (from firstRow, 1-based, or the top when -1)
    // after the target's last row. Both end on their first rows. False when the
    // source is not open.
    bool CopyRecordset(Recordset& source, Recordset& target, long firstRow, long rowCount, bool quiet);
    // The same into a new voice-name table, which is returned; null when the
    // source is not open.
    std::unique_ptr<Recordset> CopyRecordset(Recordset& source, long firstRow, long rowCount, bool quiet);

    // A voice-name table built from a voice image, names cleaned. anyCleaned
    // tells whether a name had to be changed.
    std::unique_ptr<Recordset> BuildVoiceNameTable(std::span<const std::uint8_t> image, int fileType,
                                                   bool& anyCleaned);
    // The same without copying the voices: the table keeps the image.
    std::unique_ptr<Recordset> BuildVoiceNameTable(ByteArray&& image, int fileType, bool& anyCleaned);
    // The voices of the table's rows back to back (Data, then Names), in table
    // order whatever the cursor's filter or sort.
    bool ConvertVariantArraytoByteArray(int fileType, Recordset& rows, ByteArray& image,
                                        long voiceCount);

    // --- files ----------------------------------------------------------------
    struct FileChoice {
        bool chosen = false;
        std::string fileName;               // the first (or only) file, with its folder
        std::string fileTitle;
        std::vector<std::string> fileNames; // every file chosen, with folder
    };
    enum class DialogMode { Open = 0, Save = 1 };
    // The file dialog. After a choice the folder becomes the data directory.
    FileChoice GetFileName(const std::string& dialogTitle, DialogMode mode,
                           const std::string& startFileName = {}, const std::string& startFileTitle = {});
    // File Open: asks for files and opens each as a voice list.
    void OpenMultipleFiles();
    // Opens one file as a new voice list; temporary lists count as never saved.
    // Null when it could not be opened (the user has been told).
    std::shared_ptr<VoiceList> CreateVoiceListandFileImage(const std::string& fileName, bool temporary);
    // For a file the rules refused: the whole DX7 bank and single-voice
    // messages inside it, offered (as the session says) as a new list that
    // must be saved under a name of its own. The file itself is only read.
    std::shared_ptr<VoiceList> OpenVoicesFoundInside(const std::string& fileName);
    // Writes data to a file as a temporary, hidden list and opens it.
    std::shared_ptr<VoiceList> InitPatchView(std::string_view data);

    struct CurrentVoiceList {
        std::string key = "No Forms";
        VoiceList* list = nullptr;
        VoiceEditor* editor = nullptr;
        bool editorActive = false;
    };
    CurrentVoiceList GetCurrentVoiceListAndEditor() const;

    // --- saving -----------------------------------------------------------------
    enum class SaveOutcome {
        Saved,     // written
        NotNeeded, // unchanged, or nothing to save
        Declined,  // the user answered No to saving
        Cancelled, // the user cancelled somewhere along the way
        Failed     // refused or could not write; a message said why
    };
    // Saves a list: the active one when none is given (the list is given when it closes).
    SaveOutcome SaveList(bool saveAs, VoiceList* givenList);
    // The same as a flag: true when saved or not needed.
    bool FileSave(bool saveAs, VoiceList* givenList);
    // Closes a list's file: removes it from the open lists and deletes a temporary file.
    void FileClose(VoiceList& list);
    enum class FileAttributes { Normal, Hidden };
    // Writes voice data (the buffer, or dataText when buffer is null) to a file,
    // framed as messages for types 1 and 3 when framing is set. fileType below 0
    // is taken from the length. True when written (or nothing to write); false
    // when refused or the write failed, the user told why.
    bool SaveVoiceDataToFileByt(const ByteArray* buffer, const std::string& fileName, int fileType,
                                bool framing, std::string_view dataText, std::string fileTitle,
                                FileAttributes attributes);

private:
    struct SaveTarget {
        std::string fileName;
        std::string fileTitle;
        bool deleteOldFile = false; // the temporary file the list came from
    };
    SaveOutcome chooseSaveFile(VoiceList& list, bool listGiven, SaveTarget& target);
    // The layout to write; converts the image (and its CRC) when it changes.
    bool chooseSaveLayout(VoiceList& list, ByteArray& image, std::int32_t& crc, int& type);
    bool replaceOtherOpenList(const std::string& chosenName, const std::string& chosenTitle,
                              VoiceList& list);

    Session& m_session;
    std::unique_ptr<Recordset> m_table;
};

} // namespace toneloft
