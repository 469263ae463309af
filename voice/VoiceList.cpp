#include "voice/VoiceList.h"

#include "common/Crc32.h"
#include "voice/Session.h"
#include "voice/VoiceColumn.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceRecordset.h"
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
    // A table built for the list has its column already; one copied together
    // as text gets one here.
    if (table && table->isOpen() && !VoiceColumn::of(*table))
        if (const auto layout = voiceLayoutOf(FileType))
            VoiceColumn::attachTo(*table, *layout);
    m_names->setTable(std::move(table));
    m_voiceCount = m_names->table().recordCount();
    // A new set of voices starts unselected; a reordering (sort) keeps the flags.
    if (tracker.count() != m_voiceCount)
        tracker.reset(0, m_voiceCount);
}

bool VoiceList::isPacked() const
{
    return IsPackedType(FileType);
}

VoiceColumn& VoiceList::voices()
{
    return VoiceColumn::attachTo(rsmfimage(), voiceLayoutOf(FileType).value_or(VoiceLayout::Unpacked));
}

std::optional<Voice> VoiceList::voice(long n)
{
    VoiceColumn& column = voices();
    auto rows = rsmfimage().clone();
    rows->setAbsolutePosition(n);
    const std::uint32_t slot = rows->currentSlot();
    if (slot == Recordset::kNoSlot)
        return std::nullopt;
    return column.voice(slot);
}

ByteArray VoiceList::image()
{
    voices();
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

namespace {

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string VoiceList::editorKey(long voice)
{
    return "V" + std::to_string(voice);
}

std::shared_ptr<VoiceEditor> VoiceList::openEditor(long voice)
{
    if (voice < 1 || voice > m_voiceCount)
        return nullptr;
    const std::string key = editorKey(voice);
    if (Editors.Item(key))
        return nullptr;
    auto holder = Recordsets.Add(key);
    if (!holder)
        return nullptr;
    holder->listKey = ID;
    holder->voicePosition = voice;
    if (!holder->InitVoiceDataRecordset(m_session)) {
        Recordsets.Remove(key);
        return nullptr;
    }
    auto editor = Editors.Add(key, voice);
    if (!editor) {
        Recordsets.Remove(key);
        return nullptr;
    }
    editor->list = this;
    editor->data = holder;
    editor->storedCrc = holder->crc();
    auto rows = rsmfimage().clone();
    rows->setAbsolutePosition(voice);
    editor->caption = trimmed(rows->text(clsVoiceNames::kNames));
    return editor;
}

bool VoiceList::resetEditor(const std::string& key)
{
    const auto holder = Recordsets.Item(key);
    const auto editor = Editors.Item(key);
    if (!holder || !editor)
        return false;
    if (editor->resetHandler)
        return editor->resetHandler(*editor);
    return holder->InitVoiceDataRecordset(m_session);
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
