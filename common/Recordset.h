#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace toneloft {

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
class Recordset {
public:
    enum class FieldType { Text, Boolean, Single, Long };

    struct Field {
        std::string name;
        FieldType type = FieldType::Text;
        int size = 0;       // characters, for text
        bool fixed = false; // fixed-length text: padded with blanks
    };

    // Null is monostate.
    using Value = std::variant<std::monostate, std::string, bool, float, std::int32_t>;
    using Bookmark = std::uint64_t;

    Recordset();
    Recordset(const Recordset&) = delete;            // use clone() for a second cursor
    Recordset& operator=(const Recordset&) = delete;
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    ~Recordset();

    // --- structure -----------------------------------------------------------
    void appendField(const std::string& name, FieldType type, int size = 0, bool fixed = false);
    void open();  // opens empty; fields can no longer be appended
    void close(); // drops every row (of every clone) and the cursor
    bool isOpen() const;
    int fieldCount() const;
    const Field& field(int index) const;
    int fieldIndex(const std::string& name) const; // any letter case; -1 when absent

    // A second cursor on the same rows with its own position, filter and sort.
    std::unique_ptr<Recordset> clone() const;

    // --- cursor --------------------------------------------------------------
    bool bof() const;
    bool eof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    void move(long n); // relative to the current row; clamps to BOF / EOF
    long absolutePosition() const;  // 1-based; -1 at BOF / EOF or when empty
    void setAbsolutePosition(long position); // 1-based
    long recordCount() const;       // rows that pass the filter
    Bookmark bookmark() const;      // of the current row
    void setBookmark(Bookmark b);   // makes that row current (EOF when not visible)
    int pageSize() const;
    void setPageSize(int rows);

    // --- values of the current row ------------------------------------------
    const Value& value(int fieldIndex) const;
    const Value& value(const std::string& fieldName) const;
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
    void update();  // commits the current row's edits (values are stored as set)
    void deleteCurrent();      // the current row; the cursor stays on the gap until moved
    void deleteFiltered();     // every row that passes the filter
    // Inserts a row of Nulls before the current row (at the end when at EOF) and makes it current.
    void insertBefore();

    // --- filter, sort, find --------------------------------------------------
    // Returns false, leaves the previous filter and sets lastError() when the
    // text does not parse (an embedded wildcard such as 'B*SS' among others).
    bool setFilter(const std::string& criteria);
    void setFilter(const std::vector<Bookmark>& bookmarks);
    void clearFilter();
    const std::string& filterText() const;
    bool isFiltered() const;
    // Orders this cursor's rows by one field ("Names", "Names DESC"); empty text restores table order.
    bool setSort(const std::string& sort);
    // From the current row (skip rows first), looks forwards or backwards for a row
    // that meets one comparison; stops on it, or at EOF (forwards) / BOF (backwards).
    // Returns false with lastError() set when the criteria do not parse.
    bool find(const std::string& criteria, long skipRows = 0, bool forward = true);
    const std::string& lastError() const;

private:
    struct Table;
    struct Expression;
    void refreshView() const;
    std::shared_ptr<Table> m_table;
    struct Cursor;
    std::unique_ptr<Cursor> m_cursor;
};

} // namespace toneloft
