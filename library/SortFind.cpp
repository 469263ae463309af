#include "library/SortFind.h"

#include "common/RecordsetValue.h"
#include "common/Banks.h"
#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <unordered_map>

namespace toneloft {

namespace {

constexpr const char* kCrLf = "\r\n";


enum class Outcome { Found, NotFound, BadPattern, Error };

// One list, from position start (1-based) in the given direction.
Outcome findIn(VoiceList& list, const std::string& criteria, long start, bool forward, long& voice)
{
    Recordset& table = list.rsmfimage();
    if (!table.isOpen() || table.recordCount() == 0 || start < 1 || start > table.recordCount())
        return Outcome::NotFound;
    auto rows = table.clone();
    rows->setAbsolutePosition(start);
    if (!rows->find(criteria, 0, forward)) {
        return rows->lastErrorCode() == Recordset::ErrorCode::BadPattern ? Outcome::BadPattern
                                                                          : Outcome::Error;
    }
    if (rows->eof() || rows->bof())
        return Outcome::NotFound;
    voice = rows->absolutePosition();
    return Outcome::Found;
}

} // namespace

void SortFind::SortVoiceList(VoiceList& list, VoiceListViewState* view)
{
    Session& session = list.session();
    BusyPointer busy(session.ui());
    ShowStatus(session.ui(), "Please Wait - Sorting " + list.FileTitle, 0, 1);
    Recordset& table = list.rsmfimage();
    if (table.isOpen() && table.recordCount() > 0) {
        ListEditStep step(list, "Sort", view ? view->bank : 0);
        // Where each row stood, so that the selection follows the voices.
        std::unordered_map<Recordset::Bookmark, long> before;
        auto rows = table.clone();
        rows->clearFilter();
        for (rows->moveFirst(); !rows->eof(); rows->moveNext())
            before.emplace(rows->bookmark(), rows->absolutePosition());
        auto sorted = table.clone();
        sorted->setSort(clsVoiceNames::kNames);
        SelectionTracker selection;
        selection.reset(0, sorted->recordCount());
        long firstSelected = 0;
        long anchor = 0;
        long position = 1;
        for (sorted->moveFirst(); !sorted->eof(); sorted->moveNext(), ++position) {
            const auto old = before.find(sorted->bookmark());
            if (old == before.end())
                continue;
            if (list.tracker.isSelected(old->second)) {
                selection.add(position, position);
                if (firstSelected == 0)
                    firstSelected = position;
            }
            if (old->second == list.tracker.anchor)
                anchor = position;
        }
        selection.anchor = anchor;
        const std::optional<VoiceLayout> layout = voiceLayoutOf(list.FileType);
        auto fresh = layout ? clsVoiceNames::NewVoiceNameTable(*layout) : clsVoiceNames::NewVoiceNameTable();
        if (list.names().CopyRecordset(*sorted, *fresh, -1, sorted->recordCount(), true)) {
            list.setRsmfimage(std::move(fresh));
            list.tracker = std::move(selection);
            if (firstSelected > 0 && view)
                view->bank = BankOfVoice(firstSelected);
            step.commit();
        }
    }
    ShowStatus(session.ui(), "", 0, 0);
    session.notify([&](SessionObserver& o) { o.listChanged(list); });
    session.notify([&](SessionObserver& o) { o.selectionChanged(list); });
}

std::string SortFind::notFoundText(const std::string& text)
{
    return std::string("Search complete ") + kCrLf + text + " not found.";
}

std::string SortFind::invalidPatternText(const std::string& text)
{
    return "The search string " + text + " contains invalid pattern search characters." + kCrLf +
           " The wildcard * character can only be used at the end of a search string or " + kCrLf +
           "together both at the beginning or end of a string (eg BAS* or *AS*)." + kCrLf +
           "Embedded wildcards (eg B*SS) are not allowed.";
}

std::string SortFind::unknownErrorText(const std::string& text)
{
    return "An error occured whilst searching for " + text + kCrLf + "Please retry.";
}

SortFind::FindResult SortFind::FindVoice(Session& session, long listPosition, long startVoice, bool allLists,
                                         bool pattern, Direction direction, const std::string& text)
{
    FindResult result;
    clsVoiceLists& lists = session.colVoiceLists();
    auto first = lists.at(listPosition);
    if (!first)
        return result;
    const std::string criteria = std::string(pattern ? "Names like " : "Names = ") + recordset::quoted(text);
    // The pattern is checked once on an empty table, so that an empty list refuses it too.
    {
        auto probe = clsVoiceNames::NewVoiceNameTable();
        if (!probe->setFilter(criteria)) {
            const bool badPattern = probe->lastErrorCode() == Recordset::ErrorCode::BadPattern;
            session.ui().MsgBox(badPattern ? invalidPatternText(text) : unknownErrorText(text),
                                badPattern ? "Invalid Search String" : "Unknown search error");
            return result;
        }
    }
    const bool forward = direction != Direction::Up;
    // A Find Next goes on from the voice the last search found.
    long start = direction == Direction::Up ? startVoice - 1 : startVoice + 1;
    if (direction == Direction::All && startVoice < 1)
        start = 1;

    long position = listPosition;
    for (auto list = first; list;) {
        long voice = 0;
        switch (findIn(*list, criteria, start, forward, voice)) {
        case Outcome::Found: return {true, list.get(), voice};
        case Outcome::BadPattern:
            session.ui().MsgBox(invalidPatternText(text), "Invalid Search String");
            return result;
        case Outcome::Error:
            session.ui().MsgBox(unknownErrorText(text), "Unknown search error");
            return result;
        case Outcome::NotFound: break;
        }
        if (!allLists)
            break;
        position += forward ? 1 : -1;
        list = lists.at(position);
        if (list)
            start = forward ? 1 : list->voiceCount();
    }
    session.ui().MsgBox(notFoundText(text), "Find");
    return result;
}

} // namespace toneloft
