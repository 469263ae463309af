#include "voice/VoiceListHistory.h"

#include "common/Banks.h"
#include "voice/Session.h"
#include "voice/VoiceColumn.h"
#include "voice/VoiceList.h"
#include "voice/VoicePacking.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>
#include <string_view>

namespace toneloft {

namespace {

// The voice-name table's leading text fields (ID, Data, Names, the CRC and
// checksum texts); the Boolean deletion mark after them is a duplicate
// search's scratch and starts clear again. The keys of a table that keeps its
// voices typed follow from Data and Names, so they are not kept.
int leadingTextFields(const Recordset& table)
{
    if (VoiceColumn::of(table))
        return table.fieldIndex(clsVoiceNames::kNames) + 1;
    int n = 0;
    while (n < table.fieldCount() && table.field(n).type == Recordset::FieldType::Text)
        ++n;
    return n;
}

} // namespace

std::size_t VoiceListSnapshot::memory() const
{
    return sizeof(*this) + bytes.capacity() + ends.capacity() * sizeof(std::uint32_t) +
           static_cast<std::size_t>(tracker.count()) / 8 + label.capacity();
}

VoiceListSnapshot VoiceListHistory::take(VoiceList& list, std::string label, long bank)
{
    VoiceListSnapshot s;
    s.fileType = list.FileType;
    s.tracker = list.tracker;
    s.bank = bank;
    s.label = std::move(label);
    Recordset& table = list.rsmfimage();
    if (!table.isOpen())
        return s;
    s.textFields = leadingTextFields(table);
    auto rows = table.clone();
    rows->clearFilter();
    const auto count = static_cast<std::size_t>(rows->recordCount());
    s.ends.reserve(count * static_cast<std::size_t>(s.textFields));
    // A voice with its number as ID.
    s.bytes.reserve(count * (kUnpackedVoiceSize + 8));
    for (rows->moveFirst(); !rows->eof(); rows->moveNext()) {
        for (int f = 0; f < s.textFields; ++f) {
            const std::string text = rows->text(f);
            s.bytes.insert(s.bytes.end(), text.begin(), text.end());
            s.ends.push_back(static_cast<std::uint32_t>(s.bytes.size()));
        }
    }
    if (s.bytes.capacity() - s.bytes.size() > s.bytes.size() / 8)
        s.bytes.shrink_to_fit();
    return s;
}

long VoiceListHistory::restore(VoiceList& list, VoiceListSnapshot&& s)
{
    const std::optional<VoiceLayout> layout = voiceLayoutOf(s.fileType);
    auto table = layout ? clsVoiceNames::NewVoiceNameTable(*layout) : clsVoiceNames::NewVoiceNameTable();
    const long voices = s.voices();
    table->reserve(static_cast<std::size_t>(voices));
    // The rows refer to the kept bytes where they lie: nothing is copied again.
    const std::span<const std::uint8_t> kept = table->keepBytes(std::move(s.bytes));
    const auto* base = reinterpret_cast<const char*>(kept.data());
    const auto fields = static_cast<std::size_t>(s.textFields);
    std::vector<std::string_view> row(fields);
    std::uint32_t start = 0;
    for (std::size_t v = 0; v < static_cast<std::size_t>(voices); ++v) {
        for (std::size_t f = 0; f < fields; ++f) {
            const std::uint32_t end = s.ends[v * fields + f];
            row[f] = std::string_view(base + start, end - start);
            start = end;
        }
        table->appendTextRow(row);
    }
    table->moveFirst();
    list.setRsmfimage(std::move(table));
    list.tracker = std::move(s.tracker);
    if (list.tracker.count() != list.voiceCount())
        list.tracker.reset(0, list.voiceCount());
    return std::clamp(s.bank, 1L, BankCount(list.voiceCount()));
}

std::size_t VoiceListHistory::memory() const
{
    std::size_t total = 0;
    for (const auto& s : m_undo)
        total += s.memory();
    for (const auto& s : m_redo)
        total += s.memory();
    return total;
}

void VoiceListHistory::push(VoiceListSnapshot&& before)
{
    m_redo.clear();
    m_undo.push_back(std::move(before));
    trim();
}

void VoiceListHistory::trim()
{
    while (m_undo.size() > kMaxSteps)
        m_undo.pop_front();
    // The newest step always stays, however large.
    while (m_undo.size() > 1 && memory() > kMaxBytes)
        m_undo.pop_front();
}

void VoiceListHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
}

bool VoiceListHistory::fits(const VoiceList& list, const std::deque<VoiceListSnapshot>& stack)
{
    return !stack.empty() && stack.back().fileType == list.FileType;
}

bool VoiceListHistory::canUndo(const VoiceList& list) const
{
    return fits(list, m_undo);
}

bool VoiceListHistory::canRedo(const VoiceList& list) const
{
    return fits(list, m_redo);
}

void VoiceListHistory::noteBankBefore(long bank)
{
    if (!m_undo.empty() && m_undo.back().bank == 0)
        m_undo.back().bank = bank;
}

bool VoiceListHistory::step(VoiceList& list, std::deque<VoiceListSnapshot>& from,
                            std::deque<VoiceListSnapshot>& to, long* bank)
{
    if (m_depth != 0)
        return false;
    if (!from.empty() && from.back().fileType != list.FileType) {
        // Saved in another layout since: the bytes kept no longer fit the list.
        clear();
        return false;
    }
    if (from.empty())
        return false;
    VoiceListSnapshot target = std::move(from.back());
    from.pop_back();
    to.push_back(take(list, target.label, bank ? *bank : 0));
    const long shown = restore(list, std::move(target));
    if (bank)
        *bank = shown;
    Session& session = list.session();
    session.notify([&](SessionObserver& o) { o.listChanged(list); });
    session.notify([&](SessionObserver& o) { o.selectionChanged(list); });
    return true;
}

bool VoiceListHistory::undo(VoiceList& list, long* bank)
{
    return step(list, m_undo, m_redo, bank);
}

bool VoiceListHistory::redo(VoiceList& list, long* bank)
{
    return step(list, m_redo, m_undo, bank);
}

ListEditStep::ListEditStep(VoiceList& list, std::string label, long bank) : m_list(list)
{
    VoiceListHistory& history = list.history;
    if (history.m_depth++ == 0) {
        history.m_pending = VoiceListHistory::take(list, std::move(label), bank);
        history.m_hasPending = true;
    }
}

void ListEditStep::commit()
{
    // The first change inside the outermost step makes its snapshot a step;
    // later changes inside it belong to the same step.
    VoiceListHistory& history = m_list.history;
    if (history.m_hasPending) {
        history.m_hasPending = false;
        history.push(std::move(history.m_pending));
    }
}

ListEditStep::~ListEditStep()
{
    VoiceListHistory& history = m_list.history;
    if (--history.m_depth == 0 && history.m_hasPending) {
        history.m_hasPending = false;
        history.m_pending = {};
    }
}

} // namespace toneloft
