#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace toneloft {

class Session;
class Recordset;
class clsVoiceData;

// The parameter tables of one voice of an open list, as the small data window
// and the voice editor show them.
class VoiceRecordset {
public:
    static constexpr const char* kFormName = "VoiceRecordset";

    VoiceRecordset();
    ~VoiceRecordset();
    VoiceRecordset(const VoiceRecordset&) = delete;
    VoiceRecordset& operator=(const VoiceRecordset&) = delete;

    std::string listKey;   // the voice list's ID
    long voicePosition = 0;

    // Finds the list, loads the voice into the tables and fills the display
    // texts. False (nothing to show) when the list is gone or the load was stopped.
    bool InitVoiceDataRecordset(Session& session);
    bool failed() const { return m_failed; }
    // CRC-32 of the voice as loaded.
    std::int32_t crc() const { return m_crc; }

    clsVoiceData& voiceData() { return *m_data; }
    Recordset* rsVoiceData();
    Recordset* rsProxyData();

private:
    std::unique_ptr<clsVoiceData> m_data;
    bool m_failed = true;
    std::int32_t m_crc = 0;
};

} // namespace toneloft
