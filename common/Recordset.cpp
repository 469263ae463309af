#include "common/Recordset.h"

#include "common/RecordsetCursor.h"
#include "common/RecordsetTable.h"
#include "common/RecordsetValue.h"

#include <algorithm>

namespace toneloft {

namespace {

const Recordset::Value kNull;
const Recordset::Field kNoField;

} // namespace

Recordset::Recordset() : Recordset(std::make_shared<Table>()) {}

Recordset::Recordset(std::shared_ptr<Table> table) : m_table(std::move(table)), m_cursor(std::make_unique<Cursor>()) {}

Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

void Recordset::fail(ErrorCode code, std::string message) const
{
    m_cursor->errorCode = code;
    m_cursor->error = std::move(message);
}

const std::string& Recordset::lastError() const
{
    return m_cursor->error;
}

Recordset::ErrorCode Recordset::lastErrorCode() const
{
    return m_cursor->errorCode;
}

void Recordset::markStale()
{
    m_cursor->version = Cursor::kStale;
}

// --- structure ---------------------------------------------------------------

void Recordset::appendField(const std::string& name, FieldType type, int size, bool fixed)
{
    Table& t = *m_table;
    if (t.open) {
        fail(ErrorCode::NotOpen, "Fields cannot be appended to an open table");
        return;
    }
    const std::string key = recordset::foldCase(name);
    if (t.fieldByFoldedName.contains(key)) {
        fail(ErrorCode::UnknownField, "The table already has a field '" + name + "'");
        return;
    }
    t.fieldByFoldedName.emplace(key, static_cast<int>(t.fields.size()));
    t.fields.push_back(Field{name, type, size < 0 ? 0 : size, fixed && type == FieldType::Text});
}

void Recordset::open()
{
    if (m_table->open)
        return;
    m_table->open = true;
    m_table->store.reset(m_table->fields);
    ++m_table->version;
    moveFirst();
}

void Recordset::close()
{
    Table& t = *m_table;
    t.bookmarkBase += t.slotCount();
    t.store.reset(t.fields);
    t.alive.clear();
    t.order.clear();
    t.deadInOrder = 0;
    t.open = false;
    ++t.version;
    ++t.closings;
    Cursor& c = *m_cursor;
    c.filter.reset();
    c.filterText.clear();
    c.bookmarkFilter = false;
    c.bookmarkSlots.clear();
    c.sort = RecordsetSort();
    c.sortText.clear();
    c.place = Cursor::Place::Bof;
    markStale();
}

bool Recordset::isOpen() const
{
    return m_table->open;
}

int Recordset::fieldCount() const
{
    return static_cast<int>(m_table->fields.size());
}

const Recordset::Field& Recordset::field(int index) const
{
    if (index < 0 || index >= fieldCount())
        return kNoField;
    return m_table->fields[static_cast<std::size_t>(index)];
}

int Recordset::fieldIndex(const std::string& name) const
{
    const auto it = m_table->fieldByFoldedName.find(recordset::foldCase(name));
    return it == m_table->fieldByFoldedName.end() ? -1 : it->second;
}

std::unique_ptr<Recordset> Recordset::clone() const
{
    std::unique_ptr<Recordset> copy(new Recordset(m_table));
    copy->m_cursor->closings = m_table->closings;
    copy->m_cursor->pageSize = m_cursor->pageSize;
    copy->moveFirst();
    return copy;
}

std::unique_ptr<Recordset> Recordset::cloneView() const
{
    std::unique_ptr<Recordset> copy = clone();
    Cursor& c = *copy->m_cursor;
    const Cursor& mine = *m_cursor;
    c.filterText = mine.filterText;
    c.filter = mine.filter;
    c.bookmarkFilter = mine.bookmarkFilter;
    c.bookmarkSlots = mine.bookmarkSlots;
    c.sort = mine.sort;
    c.sortText = mine.sortText;
    c.closings = mine.closings; // bookmark slots from before a close are dropped on refresh
    c.version = Cursor::kStale;
    copy->moveFirst();
    return copy;
}

void Recordset::attachColumnSource(std::shared_ptr<RecordsetColumnSource> source)
{
    m_table->store.attach(std::move(source), m_table->fields);
}

RecordsetColumnSource* Recordset::columnSource() const
{
    return m_table->store.source();
}

// --- cursor ------------------------------------------------------------------

bool Recordset::bof() const
{
    refreshView();
    return m_cursor->place == Cursor::Place::Bof || m_cursor->view.liveCount() == 0;
}

bool Recordset::eof() const
{
    refreshView();
    return m_cursor->place == Cursor::Place::Eof || m_cursor->view.liveCount() == 0;
}

void Recordset::goToPosition(long long position)
{
    Cursor& c = *m_cursor;
    const auto live = static_cast<long long>(c.view.liveCount());
    if (position < 0) {
        c.place = Cursor::Place::Bof;
    } else if (position >= live) {
        c.place = Cursor::Place::Eof;
    } else {
        c.place = Cursor::Place::Row;
        c.index = c.view.indexOfLive(static_cast<std::size_t>(position));
    }
}

void Recordset::moveFirst()
{
    refreshView();
    goToPosition(m_cursor->view.liveCount() == 0 ? -1 : 0);
}

void Recordset::moveLast()
{
    refreshView();
    const auto live = static_cast<long long>(m_cursor->view.liveCount());
    if (live == 0)
        m_cursor->place = Cursor::Place::Eof;
    else
        goToPosition(live - 1);
}

void Recordset::moveNext()
{
    refreshView();
    Cursor& c = *m_cursor;
    std::size_t from = 0;
    switch (c.place) {
    case Cursor::Place::Bof:
        from = 0;
        break;
    case Cursor::Place::Row:
        from = c.index + 1;
        break;
    case Cursor::Place::Gap:
        from = c.index;
        break;
    case Cursor::Place::Eof:
        return;
    }
    const std::size_t next = c.view.nextLive(from);
    if (next < c.view.size()) {
        c.place = Cursor::Place::Row;
        c.index = next;
    } else {
        c.place = Cursor::Place::Eof;
    }
}

void Recordset::movePrevious()
{
    refreshView();
    Cursor& c = *m_cursor;
    std::size_t from = RecordsetView::npos;
    switch (c.place) {
    case Cursor::Place::Bof:
        return;
    case Cursor::Place::Eof:
        from = c.view.size() == 0 ? RecordsetView::npos : c.view.size() - 1;
        break;
    case Cursor::Place::Row:
    case Cursor::Place::Gap:
        from = c.index == 0 ? RecordsetView::npos : c.index - 1;
        break;
    }
    const std::size_t previous = c.view.previousLive(from);
    if (previous == RecordsetView::npos) {
        c.place = Cursor::Place::Bof;
    } else {
        c.place = Cursor::Place::Row;
        c.index = previous;
    }
}

void Recordset::move(long n)
{
    refreshView();
    if (n == 0)
        return;
    const Cursor& c = *m_cursor;
    const long long step = n;
    switch (c.place) {
    case Cursor::Place::Bof:
        goToPosition(step - 1);
        break;
    case Cursor::Place::Eof:
        goToPosition(static_cast<long long>(c.view.liveCount()) + step);
        break;
    case Cursor::Place::Row:
        goToPosition(static_cast<long long>(c.view.liveBefore(c.index)) + step);
        break;
    case Cursor::Place::Gap: {
        // The gap sits between two positions: one step forward reaches the row after it.
        const auto before = static_cast<long long>(c.view.liveBefore(c.index));
        goToPosition(step > 0 ? before + step - 1 : before + step);
        break;
    }
    }
}

long Recordset::absolutePosition() const
{
    refreshView();
    if (!m_cursor->onRow())
        return -1;
    return static_cast<long>(m_cursor->view.liveBefore(m_cursor->index)) + 1;
}

void Recordset::setAbsolutePosition(long position)
{
    refreshView();
    goToPosition(static_cast<long long>(position) - 1);
}

long Recordset::recordCount() const
{
    refreshView();
    return static_cast<long>(m_cursor->view.liveCount());
}

Recordset::Bookmark Recordset::bookmark() const
{
    refreshView();
    if (!m_cursor->onRow())
        return kNoBookmark;
    return m_table->bookmarkBase + m_cursor->view.slot(m_cursor->index) + 1;
}

std::uint32_t Recordset::currentSlot() const
{
    refreshView();
    return m_cursor->onRow() ? m_cursor->view.slot(m_cursor->index) : kNoSlot;
}

void Recordset::setBookmark(Bookmark b)
{
    refreshView();
    Cursor& c = *m_cursor;
    const Table& t = *m_table;
    c.place = Cursor::Place::Eof;
    if (b <= t.bookmarkBase || b - t.bookmarkBase > t.slotCount())
        return;
    const auto slot = static_cast<std::uint32_t>(b - t.bookmarkBase - 1);
    if (!t.isAlive(slot))
        return;
    const std::size_t index = c.view.indexOfSlot(slot);
    if (index == RecordsetView::npos || c.view.isDead(index))
        return;
    c.place = Cursor::Place::Row;
    c.index = index;
}

int Recordset::pageSize() const
{
    return m_cursor->pageSize;
}

void Recordset::setPageSize(int rows)
{
    if (rows >= 1)
        m_cursor->pageSize = rows;
}

// --- values ------------------------------------------------------------------

const Recordset::Value& Recordset::value(int fieldIndex) const
{
    refreshView();
    if (!m_cursor->onRow() || fieldIndex < 0 || fieldIndex >= fieldCount())
        return kNull;
    const auto f = static_cast<std::size_t>(fieldIndex);
    std::vector<Value>& values = m_cursor->values;
    if (values.size() <= f)
        values.resize(m_table->fields.size());
    m_table->store.read(m_cursor->view.slot(m_cursor->index), f, values[f]);
    return values[f];
}

const Recordset::Value& Recordset::value(const std::string& fieldName) const
{
    return value(fieldIndex(fieldName));
}

void Recordset::setValue(int fieldIndex, Value v)
{
    refreshView();
    if (fieldIndex < 0 || fieldIndex >= fieldCount()) {
        fail(ErrorCode::UnknownField, "No field number " + std::to_string(fieldIndex));
        return;
    }
    if (!m_cursor->onRow()) {
        fail(ErrorCode::NoCurrentRow, "There is no current row to set " + field(fieldIndex).name + " on");
        return;
    }
    Value converted;
    if (!recordset::convertValue(field(fieldIndex), v, converted)) {
        fail(ErrorCode::BadValue,
             "'" + recordset::valueText(v) + "' does not suit the field " + field(fieldIndex).name);
        return;
    }
    m_table->store.set(m_cursor->view.slot(m_cursor->index), static_cast<std::size_t>(fieldIndex), converted);
}

void Recordset::setValue(const std::string& fieldName, Value v)
{
    const int index = fieldIndex(fieldName);
    if (index < 0) {
        fail(ErrorCode::UnknownField, "Unknown field '" + fieldName + "'");
        return;
    }
    setValue(index, std::move(v));
}

std::string Recordset::text(const std::string& fieldName) const
{
    return text(fieldIndex(fieldName));
}

std::string Recordset::text(int fieldIndex) const
{
    refreshView();
    if (!m_cursor->onRow() || fieldIndex < 0 || fieldIndex >= fieldCount())
        return {};
    const RecordsetStore& store = m_table->store;
    const std::uint32_t slot = m_cursor->view.slot(m_cursor->index);
    const auto f = static_cast<std::size_t>(fieldIndex);
    if (store.holdsText(slot, f))
        return std::string(store.text(slot, f));
    return recordset::valueText(store.value(slot, f));
}

bool Recordset::boolean(const std::string& fieldName) const
{
    return recordset::valueBoolean(value(fieldName));
}

double Recordset::number(const std::string& fieldName) const
{
    return recordset::valueNumber(value(fieldName));
}

// --- editing -----------------------------------------------------------------

void Recordset::addNew()
{
    appendRow({});
}

bool Recordset::appendRow(std::span<Value> values)
{
    Table& t = *m_table;
    if (!t.open) {
        fail(ErrorCode::NotOpen, "Rows cannot be added to a closed table");
        return false;
    }
    // Every value is converted before the row is made, so a bad one adds nothing.
    const std::size_t given = std::min(values.size(), t.fields.size());
    t.scratch.resize(given);
    for (std::size_t f = 0; f < given; ++f) {
        if (!recordset::convertValue(t.fields[f], values[f], t.scratch[f])) {
            fail(ErrorCode::BadValue, "'" + recordset::valueText(values[f]) + "' does not suit the field " +
                                          t.fields[f].name);
            return false;
        }
    }
    const std::uint32_t slot = addRowAtEnd();
    for (std::size_t f = 0; f < given; ++f)
        t.store.set(slot, f, t.scratch[f]);
    return true;
}

bool Recordset::appendTextRow(std::span<const std::string_view> texts)
{
    Table& t = *m_table;
    if (!t.open) {
        fail(ErrorCode::NotOpen, "Rows cannot be added to a closed table");
        return false;
    }
    // Only fields of other types can refuse a text; they are converted first.
    const std::size_t given = std::min(texts.size(), t.fields.size());
    t.scratch.resize(given);
    for (std::size_t f = 0; f < given; ++f) {
        if (t.fields[f].type == FieldType::Text)
            continue;
        Value text = std::string(texts[f]);
        if (!recordset::convertValue(t.fields[f], text, t.scratch[f])) {
            fail(ErrorCode::BadValue, "'" + std::string(texts[f]) + "' does not suit the field " + t.fields[f].name);
            return false;
        }
    }
    const std::uint32_t slot = addRowAtEnd();
    for (std::size_t f = 0; f < given; ++f) {
        const Field& field = t.fields[f];
        if (field.type != FieldType::Text) {
            t.store.set(slot, f, t.scratch[f]);
            continue;
        }
        std::string_view text = texts[f];
        const auto size = static_cast<std::size_t>(field.size);
        if (size > 0 && text.size() > size)
            text = text.substr(0, size);
        if (field.fixed && text.size() < size) {
            t.padded.assign(text);
            t.padded.resize(size, ' ');
            text = t.padded;
        }
        t.store.setText(slot, f, text);
    }
    return true;
}

std::uint32_t Recordset::addRowAtEnd()
{
    refreshView();
    Table& t = *m_table;
    Cursor& c = *m_cursor;
    const std::uint32_t slot = t.newRow();
    t.order.push_back(slot);
    c.view.append(slot);
    c.version = ++t.version;
    c.place = Cursor::Place::Row;
    c.index = c.view.size() - 1;
    return slot;
}

std::span<const std::uint8_t> Recordset::keepBytes(std::vector<std::uint8_t> bytes)
{
    return m_table->store.keep(std::move(bytes));
}

void Recordset::reserve(std::size_t rows)
{
    m_table->store.reserve(rows);
    m_table->alive.reserve(rows);
    m_table->order.reserve(rows);
}

void Recordset::update() {}

void Recordset::insertBefore()
{
    refreshView();
    Table& t = *m_table;
    Cursor& c = *m_cursor;
    if (!t.open) {
        fail(ErrorCode::NotOpen, "Rows cannot be added to a closed table");
        return;
    }
    std::size_t at = c.view.size();
    switch (c.place) {
    case Cursor::Place::Bof:
        at = c.view.nextLive(0);
        break;
    case Cursor::Place::Row:
        at = c.index;
        break;
    case Cursor::Place::Gap:
        at = c.view.nextLive(c.index);
        break;
    case Cursor::Place::Eof:
        break;
    }
    const std::uint32_t slot = t.newRow();
    if (at < c.view.size()) {
        t.dropDeadFromOrder(true);
        const auto it = std::find(t.order.begin(), t.order.end(), c.view.slot(at));
        t.order.insert(it, slot);
    } else {
        t.order.push_back(slot);
    }
    c.index = c.view.insert(at, slot);
    c.version = ++t.version;
    c.place = Cursor::Place::Row;
}

void Recordset::deleteCurrent()
{
    refreshView();
    Table& t = *m_table;
    Cursor& c = *m_cursor;
    if (!c.onRow())
        return;
    t.kill(c.view.slot(c.index));
    c.view.markDead(c.index);
    c.place = Cursor::Place::Gap;
    c.version = ++t.version;
    t.dropDeadFromOrder();
}

void Recordset::deleteFiltered()
{
    refreshView();
    Table& t = *m_table;
    Cursor& c = *m_cursor;
    if (c.view.liveCount() == 0)
        return;
    for (std::size_t i = 0; i < c.view.size(); ++i)
        if (!c.view.isDead(i))
            t.kill(c.view.slot(i));
    c.view.clear();
    c.place = Cursor::Place::Bof;
    c.version = ++t.version;
    t.dropDeadFromOrder();
}

} // namespace toneloft
