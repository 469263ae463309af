#include "voice/VoiceRecordset.h"

#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceData.h"
#include "voice/clsVoiceLists.h"

namespace toneloft {

VoiceRecordset::VoiceRecordset() = default;
VoiceRecordset::~VoiceRecordset() = default;

bool VoiceRecordset::InitVoiceDataRecordset(Session& session)
{
    m_failed = true;
    m_data = std::make_unique<clsVoiceData>(session.ui());
    auto list = session.colVoiceLists().Item(listKey);
    if (!list)
        return false;
    ByteString voice;
    std::int32_t crc = 0;
    if (!m_data->GetVoiceData(list->rsmfimage(), voicePosition, list->FileType,
                              clsVoiceData::GetVoiceMode::LoadTable, 0, voice, crc))
        return false;
    m_data->AddSourceFile(list->FileName, list->FileTitle, list->FilePath, std::to_string(list->FileType));
    m_data->InitProxyData();
    m_crc = crc;
    m_failed = false;
    return true;
}

Recordset* VoiceRecordset::rsVoiceData()
{
    return m_failed || !m_data ? nullptr : m_data->GetDataMember("VoiceData");
}

Recordset* VoiceRecordset::rsProxyData()
{
    return m_failed || !m_data ? nullptr : m_data->GetDataMember("ProxyData");
}

} // namespace toneloft
