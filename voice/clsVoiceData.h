#pragma once

#include "common/ByteString.h"
#include "common/Recordset.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace toneloft {

class UiServices;

// One voice as two tables: VoiceData (155 parameter rows, see VoiceParameterTable)
// and ProxyData (display texts for the values 0..99), plus the identity of the
// file the voice came from. The voice editor, printing, sending and the
// randomiser each build one of these from a voice's bytes.
class clsVoiceData {
public:
    // The mode text the string-only read goes by.
    static constexpr std::string_view StringOnlyMode = "GetVoiceasStringOnly";

    enum class GetVoiceMode {
        LoadTable,  // unpack if needed and load into VoiceData (with the range check)
        StringOnly, // hand back the voice as text in the wanted layout
    };

    explicit clsVoiceData(UiServices& ui);
    clsVoiceData(const clsVoiceData&) = delete;
    clsVoiceData& operator=(const clsVoiceData&) = delete;

    // "VoiceData" or "ProxyData"; nullptr for any other name.
    Recordset* GetDataMember(std::string_view dataMember);
    Recordset& voiceData() { return m_voiceData; }
    Recordset& proxyData() { return m_proxyData; }

    // Fills (or refills in place) the 100 ProxyData rows; positioned on the first.
    Recordset& InitProxyData();

    // Reads the voice at a 1-based position of a voice-name table (its "Data"
    // followed by its "Names"). fileType 2 or 3 means the table holds packed
    // voices. StringOnly: voiceOut gets the voice packed when wantedLayout is 2,
    // else unpacked. LoadTable: the voice is loaded into VoiceData, voiceOut gets
    // the unpacked voice and crc its CRC-32. crc is 0 unless a load succeeded.
    // False, silently, for a position outside the table or a voice of the wrong
    // length; false as well when the user stopped the load.
    [[nodiscard]] bool GetVoiceData(Recordset& names, long position, int fileType,
                                    GetVoiceMode mode, int wantedLayout, ByteString& voiceOut,
                                    std::int32_t& crc);
    // The same with the mode given as text: when it is StringOnlyMode the voice
    // comes back in it; otherwise the voice is loaded and voiceData points at the
    // filled table (nullptr on failure). True when the voice was read.
    bool GetVoiceData(Recordset& names, long position, int fileType, Recordset*& voiceData,
                      std::int32_t& crc, std::string& mode, int wantedLayout);

    // Loads a 155-byte unpacked voice into VoiceData, asking about each value
    // outside its row's range (Yes clamps, No stops with the rows so far kept).
    // False when stopped or when the voice is not 155 bytes.
    [[nodiscard]] bool loadVoice(std::string_view unpackedVoice);

    // Turns a VoiceData table (all its rows, in table order) back into a voice.
    // crc is the CRC-32 of the 155 unpacked bytes; the voice is then packed when
    // fileType >= 2 and pack is set. A table without 155 rows gives an empty
    // voice and crc 0.
    void PutVoiceDataInString(const Recordset& voiceData, ByteString& voice, int fileType,
                              bool pack, std::int32_t& crc) const;

    ByteString Pack(std::string_view unpacked) const;
    bool PackByt(std::span<const std::uint8_t> unpacked, ByteArray& packed) const;
    ByteString Unpack(std::string_view packed) const;
    bool UnpackByt(std::span<const std::uint8_t> packed, ByteArray& unpacked) const;

    // Identity of the source file; FileType is the file type number as text.
    const std::string& FileName() const { return m_fileName; }
    const std::string& FileTitle() const { return m_fileTitle; }
    const std::string& FilePath() const { return m_filePath; }
    const std::string& FileType() const { return m_fileType; }
    void setFileName(std::string v) { m_fileName = std::move(v); }
    void setFileTitle(std::string v) { m_fileTitle = std::move(v); }
    void setFilePath(std::string v) { m_filePath = std::move(v); }
    void setFileType(std::string v) { m_fileType = std::move(v); }
    void AddSourceFile(std::string fileName, std::string fileTitle, std::string filePath,
                       std::string fileType);

private:
    struct VoiceDataFields {
        int paramId, title, shortTitle, value, min, max, group, subGroup, opGroup;
        int egChartX, egChartKoffX, proxyFieldId, proxyVal, randomGroup;
    };

    bool readVoice(Recordset& names, long position, ByteString& voice) const;
    bool confirmReset(int index, int value, int limit);

    UiServices& m_ui;
    Recordset m_voiceData;
    Recordset m_proxyData;
    VoiceDataFields m_fields{};
    std::string m_fileName;
    std::string m_fileTitle;
    std::string m_filePath;
    std::string m_fileType;
};

} // namespace toneloft
