#include "common/RecordsetStore.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace toneloft {

namespace {

static_assert(sizeof(const char*) <= 8);

template <typename T>
void putBytes(std::array<char, 15>& bytes, const T& v)
{
    static_assert(sizeof(T) <= 8);
    std::memcpy(bytes.data(), &v, sizeof v);
}

template <typename T>
T getBytes(const std::array<char, 15>& bytes)
{
    T v{};
    std::memcpy(&v, bytes.data(), sizeof v);
    return v;
}

void assignText(Recordset::Value& out, std::string_view text)
{
    if (auto* s = std::get_if<std::string>(&out))
        s->assign(text);
    else
        out.emplace<std::string>(text);
}

} // namespace

void RecordsetStore::reset(const std::vector<Field>& fields)
{
    m_columns.clear();
    m_columns.resize(fields.size());
    for (std::size_t f = 0; f < fields.size(); ++f) {
        const Field& field = fields[f];
        Column& c = m_columns[f];
        c.fixed = field.type == Recordset::FieldType::Text && field.fixed && field.size > 0;
        if (c.fixed)
            c.blanks.assign(static_cast<std::size_t>(field.size), ' ');
        c.served = m_source && field.type == Recordset::FieldType::Text && m_source->serves(f);
    }
    if (m_source)
        m_source->reset();
    m_rows = 0;
    m_reservedRows = 0;
    m_blocks.clear();
    m_blockUsed = kBlockSize;
    m_ownBlocks.clear();
    m_kept.clear();
}

void RecordsetStore::attach(std::shared_ptr<RecordsetColumnSource> source, const std::vector<Field>& fields)
{
    if (source == m_source)
        return;
    const auto rows = static_cast<std::uint32_t>(m_rows);
    if (m_source) {
        for (std::size_t f = 0; f < m_columns.size(); ++f) {
            if (!m_columns[f].served)
                continue;
            std::vector<std::string> texts(rows);
            for (std::uint32_t slot = 0; slot < rows; ++slot)
                texts[slot] = std::string(m_source->text(slot, f));
            m_columns[f].served = false;
            for (std::uint32_t slot = 0; slot < rows; ++slot)
                setText(slot, f, texts[slot]);
        }
    }
    m_source = std::move(source);
    if (!m_source)
        return;
    m_source->reset();
    m_source->reserve(std::max(m_reservedRows, m_rows));
    for (std::uint32_t slot = 0; slot < rows; ++slot)
        m_source->rowAdded(slot);
    for (std::size_t f = 0; f < m_columns.size() && f < fields.size(); ++f) {
        if (fields[f].type != Recordset::FieldType::Text || !m_source->serves(f))
            continue;
        for (std::uint32_t slot = 0; slot < rows; ++slot)
            if (holdsText(slot, f))
                m_source->setText(slot, f, text(slot, f));
        Column& c = m_columns[f];
        c.cells = {};
        c.served = true;
    }
}

void RecordsetStore::reserve(std::size_t rows)
{
    if (m_source)
        m_source->reserve(rows);
    m_reservedRows = std::max(m_reservedRows, rows);
    for (Column& c : m_columns)
        if (c.cells.capacity() != 0)
            c.cells.reserve(rows);
}

std::uint32_t RecordsetStore::addRow()
{
    const auto slot = static_cast<std::uint32_t>(m_rows++);
    if (m_source)
        m_source->rowAdded(slot);
    return slot;
}

bool RecordsetStore::served(std::size_t field) const
{
    return field < m_columns.size() && m_columns[field].served;
}

std::span<const std::uint8_t> RecordsetStore::keep(std::vector<std::uint8_t> bytes)
{
    // Moving a vector hands over its buffer: the bytes stay where they are.
    m_kept.push_back(std::move(bytes));
    return m_kept.back();
}

const RecordsetStore::Cell* RecordsetStore::cellAt(std::uint32_t slot, std::size_t field) const
{
    if (field >= m_columns.size() || slot >= m_columns[field].cells.size())
        return nullptr;
    return &m_columns[field].cells[slot];
}

RecordsetStore::Cell& RecordsetStore::writableCell(std::uint32_t slot, std::size_t field)
{
    std::vector<Cell>& cells = m_columns[field].cells;
    if (slot >= cells.size()) {
        if (cells.capacity() == 0)
            cells.reserve(std::max(m_reservedRows, static_cast<std::size_t>(slot) + 1));
        cells.resize(static_cast<std::size_t>(slot) + 1);
    }
    return cells[slot];
}

std::string_view RecordsetStore::storedText(const Cell& cell)
{
    std::size_t size = 0;
    for (std::size_t i = 0; i < 7; ++i)
        size |= static_cast<std::size_t>(static_cast<unsigned char>(cell.bytes[8 + i])) << (8 * i);
    return {getBytes<const char*>(cell.bytes), size};
}

void RecordsetStore::pointAt(Cell& cell, Kind kind, const char* data, std::size_t size)
{
    cell.kind = kind;
    putBytes(cell.bytes, data);
    for (std::size_t i = 0; i < 7; ++i)
        cell.bytes[8 + i] = static_cast<char>((static_cast<std::uint64_t>(size) >> (8 * i)) & 0xFF);
}

bool RecordsetStore::isKept(std::string_view text) const
{
    const std::less_equal<const char*> notAfter;
    for (const auto& buffer : m_kept) {
        const auto* begin = reinterpret_cast<const char*>(buffer.data());
        if (notAfter(begin, text.data()) && notAfter(text.data() + text.size(), begin + buffer.size()))
            return true;
    }
    return false;
}

char* RecordsetStore::allocateText(std::size_t size)
{
    if (size > kOwnBlockText) {
        m_ownBlocks.push_back(std::unique_ptr<char[]>(new char[size]));
        return m_ownBlocks.back().get();
    }
    if (kBlockSize - m_blockUsed < size) {
        m_blocks.push_back(std::unique_ptr<char[]>(new char[kBlockSize]));
        m_blockUsed = 0;
    }
    char* at = m_blocks.back().get() + m_blockUsed;
    m_blockUsed += size;
    return at;
}

void RecordsetStore::setText(std::uint32_t slot, std::size_t field, std::string_view text)
{
    if (field >= m_columns.size() || slot >= m_rows)
        return;
    const Column& column = m_columns[field];
    if (column.served) {
        m_source->setText(slot, field, text);
        return;
    }
    if (column.fixed && text == column.blanks) {
        if (const Cell* c = cellAt(slot, field); c && c->kind != Kind::Empty)
            writableCell(slot, field) = Cell{};
        return;
    }
    if (text.size() <= kInlineText) {
        // Copied first: the text may be a cell of this column, which can move as it grows.
        Cell cell;
        cell.kind = Kind::Inline;
        std::copy(text.begin(), text.end(), cell.bytes.begin());
        cell.bytes[kInlineText] = static_cast<char>(text.size());
        writableCell(slot, field) = cell;
        return;
    }
    Cell& cell = writableCell(slot, field);
    if (isKept(text)) {
        pointAt(cell, Kind::Kept, text.data(), text.size());
    } else if (cell.kind == Kind::Stored && storedText(cell).size() >= text.size()) {
        // A stored text belongs to its cell alone, so a shorter one can take its place.
        auto* at = getBytes<char*>(cell.bytes);
        std::memmove(at, text.data(), text.size());
        pointAt(cell, Kind::Stored, at, text.size());
    } else {
        char* at = allocateText(text.size());
        std::memcpy(at, text.data(), text.size());
        pointAt(cell, Kind::Stored, at, text.size());
    }
}

void RecordsetStore::set(std::uint32_t slot, std::size_t field, const Value& v)
{
    if (field >= m_columns.size() || slot >= m_rows)
        return;
    if (const auto* s = std::get_if<std::string>(&v)) {
        setText(slot, field, *s);
        return;
    }
    if (m_columns[field].served) {
        // Only text reaches a text field; Null is its empty text.
        if (std::holds_alternative<std::monostate>(v))
            m_source->setText(slot, field, m_columns[field].blanks);
        return;
    }
    if (std::holds_alternative<std::monostate>(v) && !m_columns[field].fixed) {
        // Null is the empty value here: a column need not grow for it.
        if (cellAt(slot, field))
            writableCell(slot, field) = Cell{};
        return;
    }
    Cell cell;
    if (const auto* b = std::get_if<bool>(&v)) {
        cell.kind = Kind::Boolean;
        cell.bytes[0] = *b ? 1 : 0;
    } else if (const auto* f = std::get_if<float>(&v)) {
        cell.kind = Kind::Single;
        putBytes(cell.bytes, *f);
    } else if (const auto* l = std::get_if<std::int32_t>(&v)) {
        cell.kind = Kind::Long;
        putBytes(cell.bytes, *l);
    } else {
        cell.kind = Kind::Null;
    }
    writableCell(slot, field) = cell;
}

void RecordsetStore::read(std::uint32_t slot, std::size_t field, Value& out) const
{
    if (served(field)) {
        if (slot >= m_rows)
            out = std::monostate{};
        else if (const std::string_view t = m_source->text(slot, field); !t.empty() || m_columns[field].fixed)
            assignText(out, t);
        else
            out = std::monostate{};
        return;
    }
    const Cell* cell = cellAt(slot, field);
    switch (cell ? cell->kind : Kind::Empty) {
    case Kind::Empty:
        if (field < m_columns.size() && m_columns[field].fixed)
            assignText(out, m_columns[field].blanks);
        else
            out = std::monostate{};
        return;
    case Kind::Null:
        out = std::monostate{};
        return;
    case Kind::Boolean:
        out = cell->bytes[0] != 0;
        return;
    case Kind::Single:
        out = getBytes<float>(cell->bytes);
        return;
    case Kind::Long:
        out = getBytes<std::int32_t>(cell->bytes);
        return;
    case Kind::Inline:
    case Kind::Stored:
    case Kind::Kept:
        assignText(out, text(slot, field));
        return;
    }
}

RecordsetStore::Value RecordsetStore::value(std::uint32_t slot, std::size_t field) const
{
    Value v;
    read(slot, field, v);
    return v;
}

std::string_view RecordsetStore::text(std::uint32_t slot, std::size_t field) const
{
    if (served(field))
        return slot < m_rows ? m_source->text(slot, field) : std::string_view();
    const Cell* cell = cellAt(slot, field);
    switch (cell ? cell->kind : Kind::Empty) {
    case Kind::Empty:
        if (field < m_columns.size() && m_columns[field].fixed)
            return m_columns[field].blanks;
        return {};
    case Kind::Inline:
        return {cell->bytes.data(), static_cast<std::size_t>(static_cast<unsigned char>(cell->bytes[kInlineText]))};
    case Kind::Stored:
    case Kind::Kept:
        return storedText(*cell);
    case Kind::Null:
    case Kind::Boolean:
    case Kind::Single:
    case Kind::Long:
        break;
    }
    return {};
}

bool RecordsetStore::holdsText(std::uint32_t slot, std::size_t field) const
{
    if (served(field))
        return m_columns[field].fixed || !text(slot, field).empty();
    const Cell* cell = cellAt(slot, field);
    switch (cell ? cell->kind : Kind::Empty) {
    case Kind::Empty:
        return field < m_columns.size() && m_columns[field].fixed;
    case Kind::Inline:
    case Kind::Stored:
    case Kind::Kept:
        return true;
    case Kind::Null:
    case Kind::Boolean:
    case Kind::Single:
    case Kind::Long:
        break;
    }
    return false;
}

} // namespace toneloft
