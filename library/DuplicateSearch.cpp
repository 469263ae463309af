#include "library/DuplicateSearch.h"

#include "common/Banks.h"
#include "common/Crc32.h"
#include "common/NumberText.h"
#include "common/RecordsetValue.h"
#include "voice/Session.h"
#include "library/ListEditing.h"
#include "library/SortFind.h"
#include "voice/VoiceColumn.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <unordered_map>

namespace toneloft {

namespace {

constexpr const char* kCrLf = "\r\n";
// Events are processed (progress shown, Cancel heard) after this many voices.
constexpr long kVoicesPerEventTurn = 256;

using Rule = DuplicateSearch::Rule;

std::string trimRight(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return std::string(text);
}

// The form under which the table's "=" sees two texts as equal: letter case and
// trailing blanks do not count.
std::string equalityKey(std::string_view text)
{
    return recordset::foldCase(trimRight(text));
}


// Finds the duplicates of one voice.
class Matcher {
public:
    virtual ~Matcher() = default;
    virtual void duplicatesOf(long voice, const std::vector<char>& marked, bool autoDelete,
                              std::vector<long>& out) = 0;
};

// Hash index over the rule's key: each voice's duplicates are the other members
// of its key group.
class IndexMatcher final : public Matcher {
public:
    explicit IndexMatcher(const std::vector<std::string>& keys)
    {
        m_groupOf.resize(keys.size());
        std::unordered_map<std::string_view, std::uint32_t> ids;
        ids.reserve(keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const auto [it, added] = ids.try_emplace(keys[i], static_cast<std::uint32_t>(m_groups.size()));
            if (added)
                m_groups.emplace_back();
            m_groupOf[i] = it->second;
            m_groups[it->second].push_back(static_cast<long>(i) + 1);
        }
    }

    void duplicatesOf(long voice, const std::vector<char>& marked, bool autoDelete,
                      std::vector<long>& out) override
    {
        out.clear();
        const auto& group = m_groups[m_groupOf[static_cast<std::size_t>(voice - 1)]];
        if (group.size() < 2)
            return;
        for (long w : group)
            if (w != voice && !(autoDelete && marked[static_cast<std::size_t>(w - 1)]))
                out.push_back(w);
    }

private:
    std::vector<std::uint32_t> m_groupOf;   // by voice - 1
    std::vector<std::vector<long>> m_groups; // voices of each key, ascending
};

// The table filtered with the voice's match condition, once per voice.
class FilterMatcher final : public Matcher {
public:
    FilterMatcher(Recordset& table, Rule rule) : m_rule(rule), m_at(table.clone()), m_rows(table.clone())
    {
        long n = 0;
        for (m_rows->moveFirst(); !m_rows->eof(); m_rows->moveNext())
            m_voiceOf[m_rows->bookmark()] = ++n;
    }

    void duplicatesOf(long voice, const std::vector<char>&, bool autoDelete, std::vector<long>& out) override
    {
        out.clear();
        m_at->setAbsolutePosition(voice);
        const std::string names = recordset::quoted(m_at->text(clsVoiceNames::kNames));
        std::string criteria;
        switch (m_rule) {
        case Rule::NamesOnly: criteria = "Names = " + names; break;
        case Rule::Checksum:
            criteria = "ChecksumAll = " + recordset::quoted(m_at->text(clsVoiceNames::kChecksumAll)) + " AND Names = " + names;
            break;
        case Rule::CrcAll: criteria = "CRCall = " + recordset::quoted(m_at->text(clsVoiceNames::kCRCAll)); break;
        case Rule::CrcExName: criteria = "CRCExName = " + recordset::quoted(m_at->text(clsVoiceNames::kCRCExName)); break;
        }
        if (autoDelete)
            criteria += " AND Delselected = False";
        if (!m_rows->setFilter(criteria))
            return;
        for (m_rows->moveFirst(); !m_rows->eof(); m_rows->moveNext()) {
            const long w = m_voiceOf[m_rows->bookmark()];
            if (w != voice)
                out.push_back(w);
        }
        m_rows->clearFilter();
    }

private:
    Rule m_rule;
    std::unique_ptr<Recordset> m_at;
    std::unique_ptr<Recordset> m_rows;
    std::unordered_map<Recordset::Bookmark, long> m_voiceOf;
};


// Fills the key fields and returns each voice's key as the table's "=" compares it.
std::vector<std::string> fillKeys(Session& session, Recordset& table, Rule rule)
{
    UiServices& ui = session.ui();
    if (rule == Rule::CrcAll || rule == Rule::CrcExName)
        ShowStatus(ui, "Please wait - calculating CRC values");
    else if (rule == Rule::Checksum)
        ShowStatus(ui, "Please wait - calculating Checksum values");

    std::vector<std::string> keys;
    auto rows = table.clone();
    keys.reserve(static_cast<std::size_t>(rows->recordCount()));
    const int dataField = rows->fieldIndex(clsVoiceNames::kData);
    const int namesField = rows->fieldIndex(clsVoiceNames::kNames);
    const int delField = rows->fieldIndex(clsVoiceNames::kDelSelected);
    const int keyField = rows->fieldIndex(rule == Rule::CrcAll      ? clsVoiceNames::kCRCAll
                                          : rule == Rule::CrcExName ? clsVoiceNames::kCRCExName
                                                                    : clsVoiceNames::kChecksumAll);
    // A table that keeps its voices typed has their keys already (and shows
    // them in the key fields); another has them computed from its texts.
    const VoiceColumn* column = VoiceColumn::of(table);
    std::string voice;
    for (rows->moveFirst(); !rows->eof(); rows->moveNext()) {
        rows->setValue(delField, false);
        std::string names = rows->text(namesField);
        if (rule == Rule::NamesOnly) {
            keys.push_back(equalityKey(names));
            continue;
        }
        if (column) {
            const Voice::Keys& k = column->keys(rows->currentSlot());
            const std::int64_t n = rule == Rule::CrcAll      ? k.crcAll
                                   : rule == Rule::CrcExName ? k.crcExName
                                                             : k.checksumAll;
            const std::string key = Str(static_cast<long long>(n));
            if (rule == Rule::Checksum)
                keys.push_back(key + '\0' + equalityKey(names));
            else
                keys.push_back(key);
            continue;
        }
        voice = rows->text(dataField);
        std::string key;
        if (rule == Rule::CrcExName) {
            key = Str(static_cast<long long>(CalcCRC32(std::string_view(voice))));
        } else {
            voice += names;
            key = rule == Rule::CrcAll ? Str(static_cast<long long>(CalcCRC32(std::string_view(voice))))
                                       : Str(static_cast<long long>(SysexChecksum(std::string_view(voice))));
        }
        rows->setValue(keyField, key);
        rows->update();
        if (rule == Rule::Checksum)
            keys.push_back(equalityKey(key) + '\0' + equalityKey(names));
        else
            keys.push_back(equalityKey(key));
    }
    return keys;
}

// The marked voices (ascending numbers) appended to removed, as the delete's
// keep-deleted copy would append them; only the fields a voice needs are copied.
void keepRemoved(Recordset& table, const std::vector<long>& voices, Recordset& removed)
{
    removed.reserve(voices.size());
    auto rows = table.clone();
    const int idField = rows->fieldIndex(clsVoiceNames::kID);
    const int dataField = rows->fieldIndex(clsVoiceNames::kData);
    const int namesField = rows->fieldIndex(clsVoiceNames::kNames);
    long position = 1;
    rows->moveFirst();
    for (long v : voices) {
        rows->move(v - position);
        position = v;
        if (rows->eof())
            break;
        const std::string id = rows->text(idField);
        const std::string data = rows->text(dataField);
        const std::string names = rows->text(namesField);
        const std::array<std::string_view, 3> row = {id, data, names};
        removed.appendTextRow(row);
    }
    removed.moveFirst();
}

} // namespace

std::vector<long> DuplicateSearch::rangeVoices(VoiceList& list, Range range, long bank)
{
    std::vector<long> voices;
    const long count = list.rsmfimage().recordCount();
    switch (range) {
    case Range::AllVoices:
        voices.resize(static_cast<std::size_t>(count));
        for (long v = 1; v <= count; ++v)
            voices[static_cast<std::size_t>(v - 1)] = v;
        break;
    case Range::Selection:
        for (long v : list.tracker.selected())
            if (v <= count)
                voices.push_back(v);
        break;
    case Range::Bank: {
        const long first = FirstVoiceOfBank(std::max(1L, bank));
        for (long v = first; v < first + kVoicesPerBank && v <= count; ++v)
            voices.push_back(v);
        break;
    }
    }
    return voices;
}

DuplicateSearch::Marks DuplicateSearch::markDuplicates(Session& session, Recordset& table,
                                                       const std::vector<long>& range, const Options& options,
                                                       SearchProgress& progress)
{
    UiServices& ui = session.ui();
    Marks result;
    const std::vector<std::string> keys = fillKeys(session, table, options.rule);
    const long total = static_cast<long>(keys.size());
    std::unique_ptr<Matcher> matcher;
    if (options.method == Method::Indexed)
        matcher = std::make_unique<IndexMatcher>(keys);
    else
        matcher = std::make_unique<FilterMatcher>(table, options.rule);

    auto at = table.clone();
    const int delField = at->fieldIndex(clsVoiceNames::kDelSelected);
    const int namesField = at->fieldIndex(clsVoiceNames::kNames);
    std::vector<char> marked(static_cast<std::size_t>(total), 0);
    std::vector<long> dups;
    bool toEnd = false;
    DuplicateStatus status;
    status.totalAtStart = total;

    const auto mark = [&](const std::vector<long>& voices) {
        for (long w : voices) {
            auto& flag = marked[static_cast<std::size_t>(w - 1)];
            if (flag)
                continue;
            flag = 1;
            ++result.deleted;
            at->setAbsolutePosition(w);
            at->setValue(delField, true);
            at->update();
        }
    };

    // The progress window shows the totals before the first question can come.
    status.remaining = static_cast<long>(range.size());
    status.totalNow = total;
    progress.SearchStatus(status);

    long done = 0;
    for (long v : range) {
        ++done;
        // A voice already marked is not searched for itself, but still counts as done.
        if (v < 1 || v > total || marked[static_cast<std::size_t>(v - 1)])
            dups.clear();
        else
            matcher->duplicatesOf(v, marked, options.autoDelete, dups);
        bool asked = false;
        if (!dups.empty()) {
            const long n = static_cast<long>(dups.size());
            result.found += n;
            if (options.autoDelete) {
                mark(dups);
            } else {
                at->setAbsolutePosition(v);
                const std::string name = trimRight(at->text(namesField));
                result.lastFound = v;
                asked = true;
                const MsgResult answer =
                    ui.MsgBox(matchQuestion(n, name, options.rule), matchTitle(n), MsgIcon::Question,
                              MsgButtons::YesNoCancel);
                if (answer == MsgResult::Yes)
                    mark(dups);
                else if (answer != MsgResult::No) {
                    result.stopped = true;
                    break;
                }
                if (!toEnd) {
                    const auto choice = progress.continueSearch();
                    if (choice == SearchProgress::ContinueChoice::Stop) {
                        result.stopped = true;
                        break;
                    }
                    toEnd = choice == SearchProgress::ContinueChoice::ContinueToEnd;
                }
            }
        }
        status.currentVoice = v;
        status.remaining = static_cast<long>(range.size()) - done;
        status.found = result.found;
        status.deleted = result.deleted;
        status.totalNow = total - result.deleted;
        progress.SearchStatus(status);
        if (asked || done % kVoicesPerEventTurn == 0 || done == static_cast<long>(range.size())) {
            // Without a progress window (the command-line tool) nobody can press
            // Cancel, so the status line carries the figures and no events are waited for.
            if (!progress.shown())
                ShowStatus(ui, "Please Wait - voice " + Str(v) + " (of " + Str(total) + " total)" +
                                   Str(result.found) + " dup.found." + Str(result.deleted) + " dup.deleted.");
            if (progress.shown() || asked)
                ui.processEvents();
            if (progress.takeCancelRequest() &&
                ui.MsgBox("Are you sure you want to stop this search ?", "Search Interrupted", MsgIcon::Question,
                          MsgButtons::YesNoCancel) == MsgResult::Yes) {
                result.stopped = true;
                break;
            }
        }
    }
    for (long v = 1; v <= total; ++v)
        if (marked[static_cast<std::size_t>(v - 1)])
            result.marked.push_back(v);
    return result;
}

DuplicateSearch::Result DuplicateSearch::SearchDuplicates(VoiceList& list, const Options& options,
                                                          SearchProgress& progress)
{
    Session& session = list.session();
    UiServices& ui = session.ui();
    const std::string name = list.FileTitle;
    Result result;

    std::vector<long> range = rangeVoices(list, options.range, options.view ? options.view->bank : 1);
    if (options.range == Range::Selection && range.empty()) {
        ui.MsgBox(noSelectionText(name), "No Selection", MsgIcon::Exclamation);
        return result;
    }
    result.searched = true;
    BusyPointer busy(ui);
    if (options.sortFirst && options.range == Range::AllVoices)
        SortFind::SortVoiceList(list, options.view);

    ShowStatus(ui, "Please Wait - Backing up " + name + " database.");
    // No copy is kept: the table would only be put back after a one-voice search
    // that found nothing, and such a search has removed nothing.
    Recordset& table = list.rsmfimage();
    const bool single = options.range == Range::Selection && range.size() == 1;

    ShowStatus(ui, "Please Wait - Preparing to search " + name);
    result.removed = clsVoiceNames::NewVoiceNameTable();

    ShowStatus(ui, "Please Wait - Searching " + name + " for duplicate patches");
    progress.open();
    Marks marks = markDuplicates(session, table, range, options, progress);
    result.found = marks.found;
    result.deleted = marks.deleted;
    result.stopped = marks.stopped;
    result.marked = marks.marked;

    std::string singleName;
    if (single) {
        auto at = table.clone();
        at->setAbsolutePosition(range.front());
        singleName = trimRight(at->text(clsVoiceNames::kNames));
    }

    if (marks.found == 0) {
        ShowStatus(ui, "", 0, 0);
        if (single)
            ui.MsgBox("No duplicates of " + singleName + " were found.", "Search Result", MsgIcon::None,
                      MsgButtons::OKCancel);
        else
            ui.MsgBox(noneFoundText(name), "No Duplicates Found");
    } else if (marks.deleted == 0) {
        ShowStatus(ui, "", 0, 0);
        ui.MsgBox(noneDeletedText(marks.found, singleName), "Duplicates Found/Deleted");
    } else {
        ShowStatus(ui, "Please Wait - Deleting duplicate patches.");
        const ListEditing::Bookmarks bookmarks = ListEditing::bookmarksOf(list, marks.marked);
        keepRemoved(table, marks.marked, *result.removed);
        ListEditing::EditDelete(list, false, &bookmarks, nullptr);
        ShowStatus(ui, "", 0, 0);
        if (options.offerRemovedFile) {
            const std::string newFile = removedFileName(list.FilePath, list.FileTitle);
            const std::string newTitle = std::filesystem::path(newFile).filename().string();
            if (ui.MsgBox(removedQuestion(marks.found, marks.deleted, name, newTitle), "Duplicates Found/Deleted",
                          MsgIcon::Question, MsgButtons::YesNo) == MsgResult::Yes) {
                ByteArray image;
                list.names().ConvertVariantArraytoByteArray(list.FileType, *result.removed, image,
                                                            result.removed->recordCount());
                const bool framed = list.FileType == 1 || list.FileType == 3;
                if (list.names().SaveVoiceDataToFileByt(&image, newFile, list.FileType, framed, {}, newTitle,
                                                        clsVoiceNames::FileAttributes::Normal)) {
                    result.removedFile = newFile;
                    clsVoiceNames opener(session);
                    opener.CreateVoiceListandFileImage(newFile, false);
                }
            }
        }
    }
    progress.close();
    ShowStatus(ui, "", 0, 0);
    session.notify([&](SessionObserver& o) { o.listChanged(list); });
    return result;
}

std::string DuplicateSearch::matchQuestion(long count, const std::string& name, Rule rule)
{
    const bool one = count == 1;
    std::string text = std::to_string(count) + (one ? " match for" : " matches for") + name +
                       (one ? " was found " : " were found ");
    if (rule == Rule::Checksum)
        text += one ? "with an identical checksum. " : "with identical checksums. ";
    else if (rule == Rule::CrcAll || rule == Rule::CrcExName)
        text += one ? "with  an identical CRC value. " : "with identical CRC values. ";
    return text + kCrLf + kCrLf + (one ? "OK to delete the matching patch ?" : "OK to delete the matching patches ?");
}

std::string DuplicateSearch::matchTitle(long count)
{
    return count == 1 ? "Matching patch found" : "Matching patches found";
}

std::string DuplicateSearch::noSelectionText(const std::string& name)
{
    return "Please select a voice in " + name + " to use in this search";
}

std::string DuplicateSearch::noneFoundText(const std::string& name)
{
    return "Search complete - no duplicates found " + name;
}

std::string DuplicateSearch::noneDeletedText(long found, const std::string& singleName)
{
    return "Search complete - " + std::to_string(found) + " duplicates " +
           (singleName.empty() ? std::string() : "of " + singleName) + " found." + kCrLf + kCrLf +
           "No patches were deleted.";
}

std::string DuplicateSearch::removedQuestion(long found, long deleted, const std::string& name,
                                             const std::string& newFile)
{
    return "Search complete - " + std::to_string(found) + kCrLf + kCrLf + std::to_string(deleted) +
           " patches were removed from " + name + kCrLf + "These patches will be saved in a new file " + newFile +
           kCrLf + kCrLf + "OK to make these changes ? ";
}

std::string DuplicateSearch::removedFileName(const std::string& folder, const std::string& fileTitle)
{
    namespace fs = std::filesystem;
    const std::string stem = fs::path(fileTitle).stem().string();
    for (long n = 1;; ++n) {
        const std::string candidate = folder + "Del " + stem + " " + Format(static_cast<double>(n), "####") + ".dat";
        std::error_code ec;
        if (!fs::exists(candidate, ec))
            return candidate;
    }
}

} // namespace toneloft
