// VoiceEditorCore: the grid views over the voice's tables, what they show,
// putting a whole voice in place, the operator switches and the synthesiser.

#include "editor/VoiceEditorCore.h"

#include "common/NumberText.h"
#include "common/SynthLink.h"
#include "editor/VoiceEditorCoreImpl.h"
#include "editor/modOscillator.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceList.h"
#include "voice/VoiceParameterTable.h"
#include "voice/clsVoiceData.h"

#include <algorithm>

namespace toneloft {

using namespace voice_editor_core;

VoiceEditorCore::VoiceEditorCore(Session& session, std::shared_ptr<VoiceEditor> editor)
    : m_session(session), m_editor(std::move(editor)), m_impl(std::make_unique<Impl>())
{
    m_impl->gridOfParam.fill(-1);
    if (!m_editor)
        return;
    m_caption = m_editor->caption;
    Impl& d = *m_impl;
    d.data = m_editor->voiceData();
    if (!d.data || d.data->voiceData().recordCount() != kRows) {
        d.data = nullptr;
        return;
    }
    Recordset& table = d.data->voiceData();
    d.all = table.clone();
    d.fParamId = table.fieldIndex("ParamID");
    d.fValue = table.fieldIndex("Value");
    d.fProxyFieldId = table.fieldIndex("ProxyFieldID");
    d.fProxyVal = table.fieldIndex("ProxyVal");

    Suppress quiet(m_session);
    for (int g = 0; g < EditorGrids::kGridCount; ++g) {
        auto& view = d.grids[static_cast<std::size_t>(g)];
        view = std::move(*table.clone());
        view.setFilter(EditorGrids::filterText(g));
        auto& params = d.gridParams[static_cast<std::size_t>(g)];
        for (view.moveFirst(); !view.eof(); view.moveNext()) {
            const auto p = static_cast<int>(VoiceParameterTable::numericValue(view.text(d.fParamId)));
            params.push_back(p);
            if (p >= 1 && p <= kRows)
                d.gridOfParam[static_cast<std::size_t>(p)] = g;
        }
        view.moveFirst();
        refreshGridTexts(g);
    }
    m_editor->resetHandler = [this](VoiceEditor&) { return ResetVoice(); };
}

VoiceEditorCore::~VoiceEditorCore()
{
    if (m_editor)
        m_editor->resetHandler = nullptr;
}

bool VoiceEditorCore::isValid() const
{
    return m_impl->valid() && m_editor->voiceData() == m_impl->data;
}

const std::string& VoiceEditorCore::ParentVoiceListID() const
{
    static const std::string none;
    return m_editor && m_editor->list ? m_editor->list->ID : none;
}

const std::string& VoiceEditorCore::EditorID() const
{
    static const std::string none;
    return m_editor ? m_editor->key() : none;
}

Recordset* VoiceEditorCore::rsVoiceData()
{
    return m_impl->data ? &m_impl->data->voiceData() : nullptr;
}

Recordset* VoiceEditorCore::rsProxyData()
{
    return m_impl->data ? &m_impl->data->proxyData() : nullptr;
}

Recordset& VoiceEditorCore::gridRows(int g)
{
    return m_impl->grids[static_cast<std::size_t>(std::clamp(g, 0, EditorGrids::kGridCount - 1))];
}

int VoiceEditorCore::gridRowCount(int g) const
{
    if (!EditorGrids::isGrid(g))
        return 0;
    return static_cast<int>(m_impl->gridParams[static_cast<std::size_t>(g)].size());
}

int VoiceEditorCore::paramIdAt(int g, int row) const
{
    if (row < 0 || row >= gridRowCount(g))
        return 0;
    return m_impl->gridParams[static_cast<std::size_t>(g)][static_cast<std::size_t>(row)];
}

int VoiceEditorCore::gridRowOfBookmark(int g, Recordset::Bookmark row) const
{
    if (!m_impl->valid() || !EditorGrids::isGrid(g))
        return -1;
    m_impl->all->setBookmark(row);
    if (m_impl->all->eof())
        return -1;
    const auto p = static_cast<int>(VoiceParameterTable::numericValue(m_impl->all->text(m_impl->fParamId)));
    const auto& params = m_impl->gridParams[static_cast<std::size_t>(g)];
    const auto it = std::find(params.begin(), params.end(), p);
    return it == params.end() ? -1 : static_cast<int>(it - params.begin());
}

int VoiceEditorCore::value(int paramId) const
{
    return m_impl->value(paramId);
}

std::string VoiceEditorCore::displayText(int paramId) const
{
    if (!m_impl->valid() || paramId < 1 || paramId > kRows)
        return {};
    if (paramId == kAlgorithmParam)
        return StrTrim(value(paramId) + 1);
    if (paramId > kDataRows)
        return std::string(1, static_cast<char>(value(paramId)));
    const int g = m_impl->gridOfParam[static_cast<std::size_t>(paramId)];
    if (g < 0 || EditorGrids::grid(g).valueColumn == "Value")
        return m_impl->valueText(paramId);
    return m_impl->proxyText(paramId);
}

std::string VoiceEditorCore::gridText(int g, int row) const
{
    const int p = paramIdAt(g, row);
    if (p == 0)
        return {};
    m_impl->at(p);
    return m_impl->all->text(EditorGrids::grid(g).valueColumn);
}

ByteString VoiceEditorCore::voice() const
{
    ByteString out;
    if (!m_impl->valid())
        return out;
    out.reserve(kRows);
    for (int p = 1; p <= kRows; ++p)
        out.push_back(static_cast<char>(value(p)));
    return out;
}

std::string VoiceEditorCore::voiceName() const
{
    const ByteString v = voice();
    return v.size() == kRows ? v.substr(kDataRows) : std::string();
}

std::string VoiceEditorCore::caption() const
{
    return m_caption;
}

std::string VoiceEditorCore::frequencyText(int op) const
{
    if (op < 1 || op > 6 || !m_impl->valid())
        return {};
    return modOscillator::FrequencyText(value(operatorParam(op, 17)), value(operatorParam(op, 18)),
                                        value(operatorParam(op, 19)));
}

int VoiceEditorCore::algorithm() const
{
    return value(kAlgorithmParam);
}

std::string VoiceEditorCore::AlgorithmCaption() const
{
    return modOscillator::AlgorithmCaption(algorithm());
}

void VoiceEditorCore::setCurrentCell(int g, int row, int col)
{
    if (!EditorGrids::isGrid(g))
        return;
    CurrentGridID = g;
    CurrentGridRow = row;
    CurrentGridCol = col;
}

std::optional<VoiceEditorCore::SpinSetting> VoiceEditorCore::spinFor(int g, int row) const
{
    const int p = paramIdAt(g, row);
    if (p == 0 || !m_impl->valid())
        return std::nullopt;
    const VoiceParameter& param = VoiceParameterTable::row(p - 1);
    return SpinSetting{param.min, param.max, value(p), g};
}

// --- refresh ---------------------------------------------------------------

void VoiceEditorCore::refreshGridTexts(int g)
{
    Impl& d = *m_impl;
    if (!d.valid() || !EditorGrids::isGrid(g))
        return;
    // Envelope grids show Value itself; their ProxyVal is never read.
    if (EditorGrids::grid(g).valueColumn == "Value")
        return;
    for (const int p : d.gridParams[static_cast<std::size_t>(g)]) {
        const std::string field = VoiceParameterTable::proxyFieldId(d.proxyField(p));
        std::string text = d.proxyText(p);
        d.at(p);
        d.all->setValue(d.fProxyFieldId, field);
        d.all->setValue(d.fProxyVal, std::move(text));
        d.all->update();
    }
}

void VoiceEditorCore::notify(EditorRefresh refresh)
{
    if (onRefresh)
        onRefresh(refresh);
}

bool VoiceEditorCore::applyVoice(const ByteString& target, bool sendWholeVoice, EditorRefresh& refresh)
{
    if (!m_impl->valid() || target.size() != static_cast<std::size_t>(kRows))
        return false;
    const ByteString current = voice();
    std::vector<int> changed;
    for (int p = 1; p <= kRows; ++p) {
        const auto i = static_cast<std::size_t>(p - 1);
        if (current[i] != target[i]) {
            m_impl->store(p, static_cast<unsigned char>(target[i]));
            changed.push_back(p);
        }
    }
    refresh = refreshFor(changed, m_impl->gridOfParam);
    for (const int g : refresh.grids)
        refreshGridTexts(g);
    if (SynthLink* synth = m_session.synth(); synth && synth->outputOpen()) {
        if (sendWholeVoice) {
            synth->sendVoice(voice(), false);
        } else {
            for (const int p : changed)
                synth->sendParameter(p, value(p));
        }
    }
    return true;
}

// --- operators ---------------------------------------------------------------

void VoiceEditorCore::setOperatorStatus(int mask)
{
    m_operatorStatus = std::clamp(mask, 0, 63);
}

bool VoiceEditorCore::operatorOn(int n) const
{
    if (n < 1 || n > 6)
        return false;
    return (m_operatorStatus & (1 << (6 - n))) != 0;
}

bool VoiceEditorCore::ToggleOperator(int n)
{
    if (n < 1 || n > 6 || !midiOn())
        return false;
    if (m_operatorStatus == 0)
        m_operatorStatus = 63;
    const int bit = 1 << (6 - n);
    m_operatorStatus = (m_operatorStatus & bit) ? (m_operatorStatus & (63 - bit)) : (m_operatorStatus | bit);
    m_session.synth()->sendParameterChange(kOperatorMaskParam, m_operatorStatus, false, true);
    EditorRefresh r;
    r.operators = true;
    notify(std::move(r));
    return true;
}

// --- the synthesiser ---------------------------------------------------------

void VoiceEditorCore::Activate()
{
    if (midiOn() && isValid())
        m_session.synth()->sendVoice(voice(), false);
}

void VoiceEditorCore::PlayScale()
{
    if (midiOn() && !modCtrlKey)
        m_session.synth()->playScale();
}

void VoiceEditorCore::PlayTestNote()
{
    if (midiOn())
        m_session.synth()->playTestNote(kTestNote);
}

void VoiceEditorCore::EndTestNote()
{
    if (midiOn() && !modCtrlKey)
        m_session.synth()->noteOff(kTestNote);
}

} // namespace toneloft
