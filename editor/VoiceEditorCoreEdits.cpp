// VoiceEditorCore: the edits - spin, typed values, several values at once, the
// algorithm, the name, Reset Voice and copying a voice element.

#include "editor/VoiceEditorCore.h"

#include "common/SynthLink.h"
#include "editor/VoiceEditorCoreImpl.h"
#include "editor/modOscillator.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/VoiceParameterTable.h"
#include "voice/clsVoiceData.h"
#include "voice/clsVoiceLists.h"

#include <cmath>

namespace toneloft {

using namespace voice_editor_core;

// --- edits -------------------------------------------------------------------

bool VoiceEditorCore::midiOn() const
{
    const SynthLink* synth = m_session.synth();
    return synth && synth->outputOpen();
}

bool VoiceEditorCore::SpinChange(int g, int row, int v)
{
    if (m_session.eventsSuppressed || !isValid() || !EditorGrids::isGrid(g))
        return false;
    const int p = paramIdAt(g, row);
    if (p == 0 || p > kDataRows)
        return false;
    const VoiceParameter& param = VoiceParameterTable::row(p - 1);
    if (v < param.min || v > param.max)
        return false;
    Suppress quiet(m_session);
    setCurrentCell(g, row, 1);
    const ByteString before = voice();
    m_impl->store(p, v);
    if (midiOn() && !modCtrlKey)
        m_session.synth()->sendParameterChange(p, v, true, false);
    refreshGridTexts(g);
    m_undo.push({"Value", before, voice(), m_caption, m_caption, false});
    EditorRefresh r;
    r.grids.push_back(g);
    notify(std::move(r));
    return true;
}

bool VoiceEditorCore::TypedEntry(int g, int row, std::string_view text)
{
    if (m_session.eventsSuppressed || !isValid())
        return false;
    const int p = paramIdAt(g, row);
    if (p == 0 || p > kDataRows)
        return false;
    const VoiceParameter& param = VoiceParameterTable::row(p - 1);
    const int field = m_impl->proxyField(p);

    if (field == 0) {
        const auto number = modOscillator::LeadingNumber(text);
        if (!number || *number < param.min || *number > param.max)
            return false;
        return SpinChange(g, row, static_cast<int>(std::lround(*number)));
    }

    if (field == 3 || field == 4) {
        const auto pair = modOscillator::ParseTypedFrequency(text, field == 3);
        if (!pair)
            return false;
        const int op = param.operatorNumber;
        const int coarseParam = operatorParam(op, 18);
        const bool onFine = p != coarseParam;
        // The other row is written directly; the cursor's row goes the spin's way.
        beginEditGroup("Value");
        const bool ok = SetValues({{onFine ? coarseParam : operatorParam(op, 19),
                                    onFine ? pair->coarse : pair->fine, !modCtrlKey}}) &&
                        SpinChange(g, row, onFine ? pair->fine : pair->coarse);
        endEditGroup();
        return ok;
    }

    const std::string wanted = trimBoth(text);
    if (wanted.empty())
        return false;
    for (int v = param.min; v <= param.max && v < VoiceParameterTable::ProxyRowCount; ++v) {
        if (trimBoth(VoiceParameterTable::proxyText(field, v)) == wanted)
            return SpinChange(g, row, v);
    }
    return false;
}

bool VoiceEditorCore::SetValues(const std::vector<ParameterEdit>& edits)
{
    if (m_session.eventsSuppressed || !isValid() || edits.empty())
        return false;
    for (const ParameterEdit& e : edits) {
        if (e.paramId < 1 || e.paramId > kDataRows)
            return false;
        const VoiceParameter& param = VoiceParameterTable::row(e.paramId - 1);
        if (e.value < param.min || e.value > param.max)
            return false;
    }
    Suppress quiet(m_session);
    const ByteString before = voice();
    std::vector<int> changed;
    const bool send = midiOn();
    for (const ParameterEdit& e : edits) {
        m_impl->store(e.paramId, e.value);
        changed.push_back(e.paramId);
        if (send && e.send)
            m_session.synth()->sendParameter(e.paramId, e.value);
    }
    EditorRefresh r = refreshFor(changed, m_impl->gridOfParam);
    for (const int g : r.grids)
        refreshGridTexts(g);
    m_undo.push({"Value", before, voice(), m_caption, m_caption, false});
    notify(std::move(r));
    return true;
}

bool VoiceEditorCore::AlgorithmChange(int v)
{
    if (m_session.eventsSuppressed || !isValid() || v < 0 || v > 31)
        return false;
    Suppress quiet(m_session);
    const ByteString before = voice();
    m_impl->store(kAlgorithmParam, v);
    if (midiOn() && !modCtrlKey)
        m_session.synth()->sendParameterChange(kAlgorithmParam, v, false, true);
    m_undo.push({"Algorithm", before, voice(), m_caption, m_caption, false});
    EditorRefresh r;
    r.algorithm = true;
    r.operators = true;
    notify(std::move(r));
    return true;
}

bool VoiceEditorCore::VoiceNameChange(std::string_view newName)
{
    if (!isValid())
        return false;
    std::string name(newName.substr(0, 10));
    for (const char c : name) {
        if (!IsKeptNameCharacter(static_cast<std::uint8_t>(c)))
            return false;
    }
    name.resize(10, ' ');
    Suppress quiet(m_session);
    const ByteString before = voice();
    const std::string captionBefore = m_caption;
    const bool send = midiOn() && !modCtrlKey;
    for (int i = 0; i < 10; ++i) {
        const int p = kDataRows + 1 + i;
        const auto c = static_cast<unsigned char>(name[static_cast<std::size_t>(i)]);
        if (value(p) == c)
            continue;
        m_impl->store(p, c);
        if (send)
            m_session.synth()->sendParameter(p, c);
    }
    m_caption = std::string(newName);
    m_editor->caption = m_caption;
    m_undo.push({"Name", before, voice(), captionBefore, m_caption, false});
    EditorRefresh r;
    r.name = true;
    notify(std::move(r));
    return true;
}

bool VoiceEditorCore::ResetVoice()
{
    VoiceList* list = m_editor ? m_editor->list : nullptr;
    if (!isValid() || !list)
        return false;
    Suppress quiet(m_session);
    const ByteString before = voice();
    const std::string captionBefore = m_caption;
    ByteString reloaded;
    std::int32_t crc = 0;
    // Into the same tables, so the grid views and any window's cursors stay good.
    if (!m_impl->data->GetVoiceData(list->rsmfimage(), m_editor->voicePosition(), list->FileType,
                                    clsVoiceData::GetVoiceMode::LoadTable, 0, reloaded, crc)) {
        // Stopped at a range question: put the voice back as it was.
        (void)m_impl->data->loadVoice(before);
        for (int g = 0; g < EditorGrids::kGridCount; ++g)
            refreshGridTexts(g);
        return false;
    }
    m_editor->storedCrc = crc;
    m_caption = trimBoth(voiceName());
    m_editor->caption = m_caption;
    for (int g = 0; g < EditorGrids::kGridCount; ++g)
        refreshGridTexts(g);
    m_undo.push({"Reset", before, voice(), captionBefore, m_caption, true});
    if (midiOn() && !modCtrlKey)
        m_session.synth()->sendVoice(voice(), false);
    EditorRefresh r;
    r.all = r.algorithm = r.name = r.operators = true;
    notify(std::move(r));
    return true;
}

EditorElement VoiceEditorCore::element(EditorElement::Kind kind, int index) const
{
    return EditorElement{kind, index, ParentVoiceListID(), EditorID()};
}

bool VoiceEditorCore::CopyVoiceElementData(const EditorElement& source, const EditorElement& target)
{
    if (m_session.eventsSuppressed || !isValid())
        return false;
    if (target.listKey != ParentVoiceListID() || target.editorKey != EditorID())
        return false;
    const SourceTarget st = GetSourceTargetID(source, target);
    if (!st.accepted)
        return false;

    // The source's voice, from whichever open editor holds it.
    ByteString from;
    if (source.listKey == ParentVoiceListID() && source.editorKey == EditorID()) {
        from = voice();
    } else {
        const auto list = m_session.colVoiceLists().Item(source.listKey);
        const auto other = list ? list->Editors.Item(source.editorKey) : nullptr;
        clsVoiceData* tables = other ? other->voiceData() : nullptr;
        if (!tables)
            return false;
        std::int32_t crc = 0;
        tables->PutVoiceDataInString(tables->voiceData(), from, 0, false, crc);
    }
    if (from.size() != static_cast<std::size_t>(kRows))
        return false;

    ByteString to = voice();
    if (source.kind == EditorElement::Kind::Label) {
        // An operator's 21 rows; the voice-wide label carries rows 127..145.
        const bool voiceWide = st.sourceOpNo == 0;
        const int count = voiceWide ? kDataRows - 126 : VoiceParameterTable::OperatorBlockSize;
        const int fromStart = voiceWide ? 126 : (6 - st.sourceOpNo) * 21;
        const int toStart = voiceWide ? 126 : (6 - st.targetOpNo) * 21;
        for (int k = 0; k < count; ++k)
            to[static_cast<std::size_t>(toStart + k)] = from[static_cast<std::size_t>(fromStart + k)];
    } else {
        // A graph copies the group of the grid with its index.
        const auto& fromRows = m_impl->gridParams[static_cast<std::size_t>(source.index)];
        const auto& toRows = m_impl->gridParams[static_cast<std::size_t>(target.index)];
        if (fromRows.size() != toRows.size())
            return false;
        for (std::size_t k = 0; k < toRows.size(); ++k)
            to[static_cast<std::size_t>(toRows[k] - 1)] = from[static_cast<std::size_t>(fromRows[k] - 1)];
    }

    Suppress quiet(m_session);
    const ByteString before = voice();
    EditorRefresh r;
    applyVoice(to, true, r);
    m_undo.push({"Copy", before, voice(), m_caption, m_caption, true});
    notify(std::move(r));
    return true;
}

} // namespace toneloft
