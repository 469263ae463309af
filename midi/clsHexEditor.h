#pragma once

#include "common/ByteString.h"
#include "common/Recordset.h"
#include "common/UiServices.h"

#include <string>

namespace toneloft {

// The sysex byte editor's table (member "HexEdit"): 16 bytes per row, each as
// its decimal value 0-255. Field Byte holds the offset of the row's first
// byte (" 0", " 16", ...); fields " 1" to " 16" the bytes at Byte+0..Byte+15,
// empty past the end of the message.
class clsHexEditor {
public:
    explicit clsHexEditor(UiServices& ui);

    static constexpr int kColumns = 16;

    Recordset& HexEdit() { return m_table; }
    // A table by its member name; null for any name but "HexEdit".
    Recordset* table(const std::string& member) { return member == "HexEdit" ? &m_table : nullptr; }

    // Fills the table from a message; nothing happens for an empty one.
    void InitHexGrid(const ByteString& bytes);

    enum class Outcome { Accept, Revise, Cancel };
    struct Result {
        Outcome outcome = Outcome::Cancel;
        ByteString bytes; // with Accept: the rebuilt message
    };
    // Rebuilds the message from the table (an empty cell ends its row) and
    // checks it, asking the user about a doubtful one.
    Result UpdateRecordset();
    // 0 accept, 1 revise, 2 cancel; asks only when the message looks wrong.
    static int ValidateMessage(UiServices& ui, const ByteString& bytes);

    // A typed value for row (1-based) and column (1-16): a whole number 0-255,
    // blanks around it allowed. False, and the cell unchanged, for anything else.
    bool setCell(long row, int column, const std::string& text);
    // The user cleared that cell: asks whether to cut the message there. The
    // cell itself never becomes empty; on Yes the message keeps the bytes
    // before it and the table is filled again. True when it was cut.
    bool blankCell(long row, int column);

    // The cell's text without padding ("" when empty or out of range).
    std::string cell(long row, int column) const;
    long rowCount() const { return m_table.recordCount(); }
    // The message as the table holds it now, without validation.
    ByteString bytes() const;

private:
    UiServices& m_ui;
    Recordset m_table;
};

} // namespace toneloft
