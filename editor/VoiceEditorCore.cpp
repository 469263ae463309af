#include "editor/VoiceEditorCore.h"

#include "common/NumberText.h"
#include "common/SynthLink.h"
#include "editor/modOscillator.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/VoiceParameterTable.h"
#include "voice/VoiceStore.h"
#include "voice/clsVoiceData.h"
#include "voice/clsVoiceLists.h"

#include <algorithm>
#include <cmath>

namespace toneloft {
namespace {

constexpr int kRows = VoiceParameterTable::RowCount;       // 155
constexpr int kDataRows = VoiceParameterTable::DataRowCount; // 145: then the name
constexpr int kAlgorithmParam = 135;
constexpr int kOperatorMaskParam = 156;
constexpr int kTestNote = 60;

// Sets the session's event-suppression flag for a scope and puts back what
// was there, so nested edits (a typed frequency sets two rows) leave it right.
class Suppress {
public:
    explicit Suppress(Session& s) : m_session(s), m_before(s.eventsSuppressed)
    {
        s.eventsSuppressed = true;
    }
    ~Suppress() { m_session.eventsSuppressed = m_before; }
    Suppress(const Suppress&) = delete;
    Suppress& operator=(const Suppress&) = delete;

private:
    Session& m_session;
    bool m_before;
};

std::string trimBoth(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

// ParamID of an operator block row: operator n's block starts at (6 - n) x 21 + 1.
int operatorParam(int op, int offset)
{
    return (6 - op) * VoiceParameterTable::OperatorBlockSize + offset + 1;
}

} // namespace

struct VoiceEditorCore::Impl {
    clsVoiceData* data = nullptr;
    std::unique_ptr<Recordset> all; // every row in table order: row p is ParamID p
    std::array<Recordset, EditorGrids::kGridCount> grids;
    std::array<std::vector<int>, EditorGrids::kGridCount> gridParams;
    std::array<int, kRows + 1> gridOfParam{};
    int fParamId = -1, fValue = -1, fProxyFieldId = -1, fProxyVal = -1;

    bool valid() const { return data && all; }

    void at(int paramId) const { all->setAbsolutePosition(paramId); }

    std::string valueText(int paramId) const
    {
        at(paramId);
        return all->text(fValue);
    }

    int value(int paramId) const
    {
        if (!valid() || paramId < 1 || paramId > kRows)
            return -1;
        const std::string text = valueText(paramId);
        if (paramId > kDataRows)
            return text.empty() ? ' ' : static_cast<unsigned char>(text.front());
        return static_cast<int>(VoiceParameterTable::numericValue(text));
    }

    void store(int paramId, int v)
    {
        at(paramId);
        if (paramId > kDataRows)
            all->setValue(fValue, std::string(1, static_cast<char>(v)));
        else
            all->setValue(fValue, std::to_string(v));
        all->update();
    }

    int oscMode(int paramId) const
    {
        const int modeRow = VoiceParameterTable::oscModeRowOf(paramId - 1);
        return modeRow < 0 ? 0 : value(modeRow + 1);
    }

    int proxyField(int paramId) const
    {
        return VoiceParameterTable::proxyField(paramId - 1, oscMode(paramId));
    }

    // The text a ProxyVal cell holds for the row's current value.
    std::string proxyText(int paramId) const
    {
        const int field = proxyField(paramId);
        const int v = value(paramId);
        if (field == 3 || field == 4) {
            const int op = VoiceParameterTable::row(paramId - 1).operatorNumber;
            return modOscillator::FrequencyText(oscMode(paramId), value(operatorParam(op, 18)),
                                                value(operatorParam(op, 19)));
        }
        if (field == 0)
            return valueText(paramId);
        return VoiceParameterTable::proxyText(field, v);
    }
};

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

namespace {

// What a set of changed parameters asks the window to redraw.
EditorRefresh refreshFor(const std::vector<int>& changed, const std::array<int, kRows + 1>& gridOf)
{
    EditorRefresh r;
    for (const int p : changed) {
        if (p < 1 || p > kRows)
            continue;
        const int g = gridOf[static_cast<std::size_t>(p)];
        if (g >= 0 && std::find(r.grids.begin(), r.grids.end(), g) == r.grids.end())
            r.grids.push_back(g);
        r.algorithm = r.algorithm || p == kAlgorithmParam;
        r.name = r.name || p > kDataRows;
    }
    std::sort(r.grids.begin(), r.grids.end());
    return r;
}

} // namespace

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

// --- undo ----------------------------------------------------------------------

bool VoiceEditorCore::canUndo() const
{
    return m_undo.canUndo() && !m_undo.inGroup();
}

bool VoiceEditorCore::canRedo() const
{
    return m_undo.canRedo() && !m_undo.inGroup();
}

std::string VoiceEditorCore::undoLabel() const
{
    const EditorUndoStep* step = m_undo.nextUndo();
    return step ? step->label : std::string();
}

std::string VoiceEditorCore::redoLabel() const
{
    const EditorUndoStep* step = m_undo.nextRedo();
    return step ? step->label : std::string();
}

bool VoiceEditorCore::Undo()
{
    return isValid() && !m_session.eventsSuppressed && restoreStep(m_undo.takeUndo(), false);
}

bool VoiceEditorCore::Redo()
{
    return isValid() && !m_session.eventsSuppressed && restoreStep(m_undo.takeRedo(), true);
}

// Puts back one side of an undo step: the voice it held (sent as any change
// is) and the caption with it.
bool VoiceEditorCore::restoreStep(const std::optional<EditorUndoStep>& step, bool after)
{
    if (!step)
        return false;
    Suppress quiet(m_session);
    EditorRefresh r;
    applyVoice(after ? step->after : step->before, step->wholeVoice, r);
    m_caption = after ? step->captionAfter : step->captionBefore;
    m_editor->caption = m_caption;
    r.name = r.name || step->captionBefore != step->captionAfter;
    notify(std::move(r));
    return true;
}

void VoiceEditorCore::beginEditGroup(const std::string& label)
{
    m_undo.beginGroup(label);
}

void VoiceEditorCore::endEditGroup()
{
    m_undo.endGroup();
}

// --- saving ----------------------------------------------------------------------

std::int32_t VoiceEditorCore::ChecksumOnEntry() const
{
    return m_editor ? m_editor->storedCrc : 0;
}

bool VoiceEditorCore::isChanged() const
{
    if (!isValid())
        return false;
    std::int32_t crc = 0;
    ByteString v;
    m_impl->data->PutVoiceDataInString(m_impl->data->voiceData(), v, 0, false, crc);
    return crc != ChecksumOnEntry();
}

VoiceEditorCore::SaveResult VoiceEditorCore::SaveVoice(bool ask)
{
    if (!isValid() || !m_editor->list)
        return SaveResult::Failed;
    if (!isChanged())
        return SaveResult::Unchanged;
    if (ask) {
        const MsgResult answer = m_session.ui().MsgBox(m_caption + " has changed\r\nSave Changes ?",
                                                       "Save Voice", MsgIcon::None, MsgButtons::YesNoCancel);
        if (answer != MsgResult::Yes)
            return SaveResult::Declined;
    }
    return toneloft::SaveVoice(m_session, false, m_editor.get()) ? SaveResult::Saved : SaveResult::Failed;
}

bool VoiceEditorCore::QueryClose()
{
    if (!isValid() || !m_editor->list || !isChanged())
        return true;
    const MsgResult answer = m_session.ui().MsgBox(m_caption + " has changed\r\nSave Changes ?", "Save Voice",
                                                   MsgIcon::None, MsgButtons::YesNoCancel);
    if (answer == MsgResult::Cancel)
        return false;
    if (answer == MsgResult::No)
        return true;
    return toneloft::SaveVoice(m_session, false, m_editor.get());
}

} // namespace toneloft
