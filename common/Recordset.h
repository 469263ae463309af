#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace toneloft {

class RecordsetColumnSource;

// An in-memory table with named, typed fields in a fixed order, read through a
// cursor. Clones share the rows and keep their own cursor, filter and sort.
//
// Fields are declared with appendField() and the table is then opened empty.
// Rows are added with addNew() (the new row becomes current, fields are set on
// it, update() commits). Fixed-length text fields hold their values padded with
// blanks to the field size; other text fields are cut to their size.
//
// Filter texts: comparisons "Field op value" with op one of = <> < > <= >= LIKE,
// joined with AND / OR and grouped with parentheses. Values are 'quoted text'
// ('' stands for one quote), numbers, or True / False. Field names match in any
// letter case and may be written in brackets ([Min.]). LIKE takes * or % at the
// end of the text or at both ends; a wildcard anywhere else is rejected. Text
// comparisons ignore letter case; = and <> also ignore trailing blanks.
//
// More precisely:
// - Text against text: letter case and trailing blanks are ignored by all six
//   operators ('PIANO     ' = 'piano'). LIKE without a wildcard must match the
//   whole value, blanks included; LIKE applies to text fields only.
// - A text field against a number (ParamID = 5) compares numerically when the
//   field's text reads as a number (" 5", "5   "), else as text.
// - A Boolean field takes = and <> only, against True / False, 'True' /
//   'False' or a number (non-zero is True).
// - Null reads as the field type's empty value: "", 0 or False.
//
// Cursor rules: a row added through one cursor is seen by the others, a row
// deleted through one vanishes from all. A cursor shows its rows in table
// order, or in its sort order; while it is filtered, a row it adds stays in
// it until the filter or sort is set again or another cursor adds or deletes
// rows (the filter is then applied afresh). Editing values never moves rows
// in or out of a filter by itself.
//
// Misuse is harmless: reading at BOF / EOF or through an unknown field name
// gives Null, writing there is ignored (lastError() says why). A moved-from
// Recordset may only be destroyed or assigned to.
class Recordset {
public:
    enum class FieldType { Text, Boolean, Single, Long };

    struct Field {
        std::string name;
        FieldType type = FieldType::Text;
        int size = 0;       // characters, for text; 0 = no limit
        bool fixed = false; // fixed-length text: padded with blanks
    };

    // Null is monostate.
    using Value = std::variant<std::monostate, std::string, bool, float, std::int32_t>;
    using Bookmark = std::uint64_t;
    static constexpr Bookmark kNoBookmark = 0; // never the bookmark of a row

    enum class ErrorCode {
        None,
        Syntax,       // the filter or sort text does not parse
        BadPattern,   // a LIKE pattern with a wildcard where none may stand ('B*SS', '*AS')
        UnknownField, // a field name the table does not have
        TypeMismatch, // a value that does not suit its field (Flag < True, Number LIKE '1*')
        BadValue,     // setValue() with a value the field cannot hold
        NoCurrentRow, // setValue() at BOF / EOF / on a deleted row
        NotOpen       // addNew() / insertBefore() on a closed table, appendField() on an open one
    };

    Recordset();
    Recordset(const Recordset&) = delete;            // use clone() for a second cursor
    Recordset& operator=(const Recordset&) = delete;
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    ~Recordset();

    // --- structure -----------------------------------------------------------
    // Ignored (lastError() set) when the table is open or the name is taken in any letter case.
    void appendField(const std::string& name, FieldType type, int size = 0, bool fixed = false);
    void open();  // opens empty; fields can no longer be appended
    void close(); // drops every row (of every clone) and the cursor; open() starts afresh
    bool isOpen() const;
    int fieldCount() const;
    const Field& field(int index) const; // an empty Field when out of range
    int fieldIndex(const std::string& name) const; // any letter case; -1 when absent

    // A second cursor on the same rows with its own position, filter and sort.
    // It starts unfiltered, unsorted, on the first row, with this page size.
    std::unique_ptr<Recordset> clone() const;
    // A second cursor that shows the rows this one shows: same filter and sort,
    // on the first of them, with this page size. Later changes to either
    // cursor's filter or sort leave the other alone.
    std::unique_ptr<Recordset> cloneView() const;

    // Fields served from outside the table (see RecordsetColumnSource), for
    // every cursor on these rows; the source takes over the fields' present
    // texts. Null gives them back to the table. Survives close().
    void attachColumnSource(std::shared_ptr<RecordsetColumnSource> source);
    RecordsetColumnSource* columnSource() const;

    // --- cursor --------------------------------------------------------------
    // bof() and eof() are both true when the cursor shows no rows. After
    // deleteCurrent() the cursor is on the gap: neither BOF nor EOF, no
    // current row; moveNext() / movePrevious() go to the rows either side.
    bool bof() const;
    bool eof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    void move(long n); // relative to the current row; clamps to BOF / EOF
    long absolutePosition() const;  // 1-based; -1 at BOF / EOF or when empty
    void setAbsolutePosition(long position); // 1-based; below 1 gives BOF, past the end EOF
    long recordCount() const;       // rows that pass the filter
    Bookmark bookmark() const;      // of the current row; kNoBookmark when there is none
    // The current row's slot, as a column source knows it; kNoSlot when there is none.
    static constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;
    std::uint32_t currentSlot() const;
    void setBookmark(Bookmark b);   // makes that row current (EOF when not visible)
    int pageSize() const;           // 10 until set
    void setPageSize(int rows);     // values below 1 are ignored

    // --- values of the current row ------------------------------------------
    // The reference stays good until this cursor reads the same field again;
    // copy the value to keep it longer.
    const Value& value(int fieldIndex) const;
    const Value& value(const std::string& fieldName) const;
    // Converts to the field's type: "12" into a Long gives 12, a number into a
    // text field its text, True into a number 1; blank text into a number or
    // Boolean gives Null. A value that does not convert is not stored.
    void setValue(int fieldIndex, Value v);
    void setValue(const std::string& fieldName, Value v);
    // Conveniences: text of any field ("" for Null, "True"/"False", number text
    // with no leading blank); Boolean; a number (0 for Null or non-numeric text).
    std::string text(const std::string& fieldName) const;
    std::string text(int fieldIndex) const;
    bool boolean(const std::string& fieldName) const;
    double number(const std::string& fieldName) const;

    // --- editing -------------------------------------------------------------
    void addNew();  // appends a row of Nulls (fixed text blank-padded) and makes it current
    // addNew with its values at once, in field order (fields left out are Null), converted as
    // setValue converts; the quick way to fill a large table. False, with nothing added,
    // when the table is closed or a value does not suit its field.
    bool appendRow(std::span<Value> values);
    // appendRow with texts, each converted as setValue converts text; the quick way to
    // fill a large table from a buffer. A text that lies within bytes given to
    // keepBytes() is not copied: the row refers to it where it lies.
    bool appendTextRow(std::span<const std::string_view> texts);
    // Gives the table a buffer to hold until close() (of any clone); returns its
    // bytes, which do not move meanwhile.
    std::span<const std::uint8_t> keepBytes(std::vector<std::uint8_t> bytes);
    // Makes room for this many rows in all, so that a large fill does not reallocate.
    void reserve(std::size_t rows);
    void update();  // commits the current row's edits (values are stored as set)
    void deleteCurrent();      // the current row; the cursor stays on the gap until moved
    void deleteFiltered();     // every row that passes the filter
    // Inserts a row of Nulls before the current row (at the end when at EOF) and makes it current.
    // In table order it goes before that row too. O(n): it shifts the rows after it.
    void insertBefore();

    // --- filter, sort, find --------------------------------------------------
    // Setting or clearing a filter or sort moves the cursor to the first row.
    // Returns false, leaves the previous filter and sets lastError() when the
    // text does not parse (an embedded wildcard such as 'B*SS' among others).
    // An empty text clears the filter.
    bool setFilter(const std::string& criteria);
    // Exactly these rows, in table (or sort) order; unknown or deleted ones are skipped.
    void setFilter(const std::vector<Bookmark>& bookmarks);
    void clearFilter();
    const std::string& filterText() const; // "" for no filter and for a bookmark filter
    bool isFiltered() const;
    // Orders this cursor's rows by one field ("Names", "Names DESC"); empty text restores table order.
    // Equal keys keep table order; several fields may be given, separated by commas.
    bool setSort(const std::string& sort);
    const std::string& sortText() const;
    // From the current row (skip rows first), looks forwards or backwards for a row
    // that meets one comparison; stops on it, or at EOF (forwards) / BOF (backwards).
    // Returns false with lastError() set when the criteria do not parse.
    // From BOF forwards (EOF backwards) the search starts at the first (last) row.
    bool find(const std::string& criteria, long skipRows = 0, bool forward = true);
    // Why the last call that failed did so; setFilter / setSort / find clear it when they succeed.
    const std::string& lastError() const;
    ErrorCode lastErrorCode() const;

private:
    struct Table;
    struct Cursor;
    explicit Recordset(std::shared_ptr<Table> table);
    void refreshView() const;
    void fail(ErrorCode code, std::string message) const;
    void goToPosition(long long position);
    void markStale();
    std::uint32_t addRowAtEnd(); // a row of empty values, made current; its slot
    std::shared_ptr<Table> m_table;
    std::unique_ptr<Cursor> m_cursor;
};

} // namespace toneloft
