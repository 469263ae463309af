#include "common/Recordset.h"

#include "common/RecordsetCursor.h"
#include "common/RecordsetTable.h"

#include <algorithm>

// The parts of Recordset that decide which rows a cursor shows and in what
// order: building its view, filters, sorting and find.
namespace toneloft {

// Rebuilds this cursor's rows when another cursor added or deleted rows since
// they were built, keeping the cursor on its row (or, when that row is gone,
// on the gap before the next surviving one).
void Recordset::refreshView() const
{
    Cursor& c = *m_cursor;
    const Table& t = *m_table;
    if (c.version == t.version)
        return;
    if (c.closings != t.closings) {
        // Slots of the rows this cursor knew now name other rows.
        c.closings = t.closings;
        c.bookmarkSlots.clear();
        c.view.clear();
        c.place = Cursor::Place::Bof;
    }

    std::vector<std::uint8_t> wanted;
    if (c.bookmarkFilter) {
        wanted.assign(t.slotCount(), 0);
        for (const std::uint32_t s : c.bookmarkSlots)
            if (s < wanted.size())
                wanted[s] = 1;
    }
    std::vector<std::uint32_t> slots;
    slots.reserve(t.order.size() - std::min(t.deadInOrder, t.order.size()));
    for (const std::uint32_t s : t.order) {
        if (t.alive[s] == 0 || (c.bookmarkFilter && !wanted[s]))
            continue;
        if (c.filter && !c.filter->matches(t.store, s))
            continue;
        slots.push_back(s);
    }
    c.sort.apply(slots, t.store);

    RecordsetView old = std::move(c.view);
    c.view.assign(std::move(slots));
    c.version = t.version;
    if (c.place != Cursor::Place::Row && c.place != Cursor::Place::Gap)
        return;
    const bool wasOnRow = c.place == Cursor::Place::Row;
    const std::size_t from = c.index;
    c.place = Cursor::Place::Gap;
    for (std::size_t i = from; i < old.size(); ++i) {
        const std::uint32_t s = old.slot(i);
        if (old.isDead(i) || !t.isAlive(s))
            continue;
        const std::size_t found = c.view.indexOfSlot(s);
        if (found == RecordsetView::npos)
            continue;
        c.index = found;
        if (wasOnRow && i == from)
            c.place = Cursor::Place::Row;
        return;
    }
    c.index = c.view.size();
}

// --- filter, sort, find ------------------------------------------------------

bool Recordset::setFilter(const std::string& criteria)
{
    if (criteria.find_first_not_of(" \t\r\n") == std::string::npos) {
        clearFilter();
        return true;
    }
    Cursor& c = *m_cursor;
    auto filter = RecordsetFilter::compile(criteria, m_table->fields, c.errorCode, c.error);
    if (!filter)
        return false;
    c.filter = std::move(filter);
    c.filterText = criteria;
    c.bookmarkFilter = false;
    c.bookmarkSlots.clear();
    markStale();
    moveFirst();
    return true;
}

void Recordset::setFilter(const std::vector<Bookmark>& bookmarks)
{
    refreshView(); // bookmarks are read against the table as it is now
    Cursor& c = *m_cursor;
    const Table& t = *m_table;
    c.bookmarkSlots.clear();
    c.bookmarkSlots.reserve(bookmarks.size());
    for (const Bookmark b : bookmarks)
        if (b > t.bookmarkBase && b - t.bookmarkBase <= t.slotCount())
            c.bookmarkSlots.push_back(static_cast<std::uint32_t>(b - t.bookmarkBase - 1));
    std::sort(c.bookmarkSlots.begin(), c.bookmarkSlots.end());
    c.bookmarkFilter = true;
    c.filter.reset();
    c.filterText.clear();
    markStale();
    moveFirst();
}

void Recordset::clearFilter()
{
    Cursor& c = *m_cursor;
    c.filter.reset();
    c.filterText.clear();
    c.bookmarkFilter = false;
    c.bookmarkSlots.clear();
    markStale();
    moveFirst();
}

const std::string& Recordset::filterText() const
{
    return m_cursor->filterText;
}

bool Recordset::isFiltered() const
{
    return m_cursor->filter != nullptr || m_cursor->bookmarkFilter;
}

bool Recordset::setSort(const std::string& sort)
{
    Cursor& c = *m_cursor;
    auto compiled = RecordsetSort::compile(sort, m_table->fields, c.errorCode, c.error);
    if (!compiled)
        return false;
    c.sort = std::move(*compiled);
    c.sortText = c.sort.empty() ? std::string() : sort;
    markStale();
    moveFirst();
    return true;
}

const std::string& Recordset::sortText() const
{
    return m_cursor->sortText;
}

bool Recordset::find(const std::string& criteria, long skipRows, bool forward)
{
    Cursor& c = *m_cursor;
    const auto filter = RecordsetFilter::compile(criteria, m_table->fields, c.errorCode, c.error);
    if (!filter)
        return false;
    refreshView();
    const auto live = static_cast<long long>(c.view.liveCount());
    const long long skip = skipRows;
    const long long extra = std::max(skip - 1, 0LL); // skipping from BOF, EOF or a gap
    const auto positionOf = [&](std::size_t index) { return static_cast<long long>(c.view.liveBefore(index)); };

    long long start = 0;
    if (forward) {
        switch (c.place) {
        case Cursor::Place::Eof:
            return true;
        case Cursor::Place::Bof:
            start = extra;
            break;
        case Cursor::Place::Row:
            start = positionOf(c.index) + skip;
            break;
        case Cursor::Place::Gap:
            start = positionOf(c.index) + extra;
            break;
        }
        start = std::max(start, 0LL);
        if (start < live) {
            for (std::size_t i = c.view.indexOfLive(static_cast<std::size_t>(start)); i < c.view.size(); ++i) {
                if (!c.view.isDead(i) && filter->matches(m_table->store, c.view.slot(i))) {
                    c.place = Cursor::Place::Row;
                    c.index = i;
                    return true;
                }
            }
        }
        c.place = Cursor::Place::Eof;
        return true;
    }

    switch (c.place) {
    case Cursor::Place::Bof:
        return true;
    case Cursor::Place::Eof:
        start = live - 1 - extra;
        break;
    case Cursor::Place::Row:
        start = positionOf(c.index) - skip;
        break;
    case Cursor::Place::Gap:
        start = positionOf(c.index) - 1 - extra;
        break;
    }
    start = std::min(start, live - 1);
    if (start >= 0) {
        for (std::size_t i = c.view.indexOfLive(static_cast<std::size_t>(start)) + 1; i-- > 0;) {
            if (!c.view.isDead(i) && filter->matches(m_table->store, c.view.slot(i))) {
                c.place = Cursor::Place::Row;
                c.index = i;
                return true;
            }
        }
    }
    c.place = Cursor::Place::Bof;
    return true;
}

} // namespace toneloft
