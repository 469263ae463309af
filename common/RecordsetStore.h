#pragma once

#include "common/Recordset.h"
#include "common/RecordsetColumnSource.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft {

// The values of a Recordset's rows: one column of cells per field, indexed by
// slot. Memory is taken per column and per block of text, never per row.
//
// A cell is 16 bytes: Null, a Boolean, a number, or a text of up to 14 bytes
// held in the cell itself. A longer text is copied into shared 64 KiB blocks
// (a text above 4 KiB gets a block of its own); blocks never move, so a cell
// keeps pointing at its text while columns grow. A text that lies within a
// buffer handed over with keep() is pointed at where it lies, not copied.
//
// A column grows only when one of its cells is given something other than
// the field's empty value (blanks for fixed text, else Null); cells past its
// end read as that empty value, so fields nobody fills cost nothing.
//
// Text space freed by an edit is reused only by a shorter text in the same
// cell; the rest stays taken until reset().
//
// Fields served by an attached RecordsetColumnSource have no cells here: their
// reads and writes go to the source.
class RecordsetStore {
public:
    using Value = Recordset::Value;
    using Field = Recordset::Field;

    static constexpr std::size_t kInlineText = 14;     // bytes a cell holds itself
    static constexpr std::size_t kBlockSize = 65536;   // bytes of a shared text block
    static constexpr std::size_t kOwnBlockText = 4096; // longer texts get a block each

    // Drops every row, text block and kept buffer; one column per field. An
    // attached source stays attached, emptied.
    void reset(const std::vector<Field>& fields);
    // From now on the source serves the fields it names (text fields only),
    // taking over their present texts; a source attached before gives its
    // texts back to cells first. Null detaches.
    void attach(std::shared_ptr<RecordsetColumnSource> source, const std::vector<Field>& fields);
    RecordsetColumnSource* source() const { return m_source.get(); }
    // Room for this many rows in every column that gets filled.
    void reserve(std::size_t rows);
    std::size_t rowCount() const { return m_rows; }
    std::uint32_t addRow(); // its cells all hold the empty value; returns its slot

    // The buffer stays, unmoved, until reset(); the bytes it now holds are returned.
    std::span<const std::uint8_t> keep(std::vector<std::uint8_t> bytes);

    // v must already suit the field (see recordset::convertValue).
    void set(std::uint32_t slot, std::size_t field, const Value& v);
    // A text for a text field, already cut or padded to the field's size.
    void setText(std::uint32_t slot, std::size_t field, std::string_view text);

    // The cell as a Value; the string in out keeps its capacity when it holds one.
    void read(std::uint32_t slot, std::size_t field, Value& out) const;
    Value value(std::uint32_t slot, std::size_t field) const;
    // The text of a text cell, blanks for an empty fixed text, "" for anything
    // else. Valid until the store next changes.
    std::string_view text(std::uint32_t slot, std::size_t field) const;
    bool holdsText(std::uint32_t slot, std::size_t field) const;

private:
    enum class Kind : std::uint8_t { Empty, Null, Boolean, Single, Long, Inline, Stored, Kept };

    struct Cell {
        // Inline: the text, its length in [14]. Stored / Kept: the pointer in [0, 8), the
        // length in [8, 15) (7 bytes, low first). Boolean: [0]. Single / Long: [0, 4).
        std::array<char, 15> bytes{};
        Kind kind = Kind::Empty;
    };
    static_assert(sizeof(Cell) == 16);

    struct Column {
        std::vector<Cell> cells; // shorter than the rows: the rest are empty
        std::string blanks;      // the empty value of a fixed text field
        bool fixed = false;
        bool served = false;     // by m_source: no cells
    };

    bool served(std::size_t field) const;
    const Cell* cellAt(std::uint32_t slot, std::size_t field) const;
    Cell& writableCell(std::uint32_t slot, std::size_t field);
    static std::string_view storedText(const Cell& cell);
    static void pointAt(Cell& cell, Kind kind, const char* data, std::size_t size);
    bool isKept(std::string_view text) const;
    char* allocateText(std::size_t size);

    std::vector<Column> m_columns;
    std::size_t m_rows = 0;
    std::size_t m_reservedRows = 0;
    std::vector<std::unique_ptr<char[]>> m_blocks; // the last one is being filled
    std::size_t m_blockUsed = kBlockSize;
    std::vector<std::unique_ptr<char[]>> m_ownBlocks;
    std::vector<std::vector<std::uint8_t>> m_kept;
    std::shared_ptr<RecordsetColumnSource> m_source;
};

} // namespace toneloft
