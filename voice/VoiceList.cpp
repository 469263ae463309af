#include "voice/VoiceList.h"

#include "common/Crc32.h"
#include "common/Session.h"
#include "voice/clsVoiceNames.h"

namespace toneloft {

VoiceList::VoiceList(Session& session)
    : m_session(session), m_names(std::make_unique<clsVoiceNames>(session))
{
}

VoiceList::~VoiceList() = default;

Recordset& VoiceList::rsmfimage()
{
    return m_names->table();
}

void VoiceList::setRsmfimage(std::unique_ptr<Recordset> table)
{
    m_names->setTable(std::move(table));
    m_voiceCount = m_names->table().recordCount();
    // A new set of voices starts unselected; a reordering (sort) keeps the flags.
    if (tracker.count() != m_voiceCount)
        tracker.reset(0, m_voiceCount);
}

ByteArray VoiceList::image()
{
    ByteArray out;
    m_names->ConvertVariantArraytoByteArray(FileType, rsmfimage(), out, m_voiceCount);
    return out;
}

std::int32_t VoiceList::imageCrc()
{
    const ByteArray bytes = image();
    return bytes.empty() ? kEmptyImageCrc : CalcCRC32(bytes);
}

bool VoiceList::isChanged()
{
    return imageCrc() != mark;
}

bool VoiceList::requestClose(bool fromOwnControlBox)
{
    for (const auto& editor : Editors.NewEnum()) {
        const long before = Editors.count();
        editor->requestClose();
        if (Editors.count() == before) {
            if (!fromOwnControlBox)
                m_session.CancelClose = true;
            return false;
        }
    }
    using Outcome = clsVoiceNames::SaveOutcome;
    const Outcome outcome = m_names->SaveList(false, this);
    if (outcome == Outcome::Cancelled || outcome == Outcome::Failed) {
        // Nothing is lost: the list stays open with its changes.
        m_session.CancelClose = true;
        return false;
    }
    m_names->FileClose(*this);
    return true;
}

} // namespace toneloft
