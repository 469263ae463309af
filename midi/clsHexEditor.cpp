#include "midi/clsHexEditor.h"

#include "common/NumberText.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace toneloft {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kContinue = "Do you want to correct this and continue editing ?";

std::string columnName(int column)
{
    return Str(column); // " 1" .. " 16"
}

std::string trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

// A cell's number; nullopt when the text is not a whole number.
std::optional<long> number(std::string_view text)
{
    const std::string t = trimmed(text);
    if (t.empty())
        return std::nullopt;
    long value = 0;
    const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || ptr != t.data() + t.size())
        return std::nullopt;
    return value;
}

} // namespace

clsHexEditor::clsHexEditor(UiServices& ui) : m_ui(ui)
{
    m_table.appendField("Byte", Recordset::FieldType::Text, 10, true);
    for (int c = 1; c <= kColumns; ++c)
        m_table.appendField(columnName(c), Recordset::FieldType::Text, 5, false);
    m_table.open();
}

void clsHexEditor::InitHexGrid(const ByteString& bytes)
{
    if (bytes.empty())
        return;
    m_table.close();
    m_table.open();
    BusyPointer busy(m_ui);
    const std::size_t length = bytes.size();
    m_table.reserve(length / kColumns + 1);
    for (std::size_t p = 0; p < length; p += kColumns) {
        if (p % 1024 == 0)
            ShowStatus(m_ui,
                       "Please wait - Initialising Sysex Editor (" + Str(static_cast<long long>(p)) +
                           " of " + Str(static_cast<long long>(length)) + ")",
                       0, 1);
        m_table.addNew();
        m_table.setValue(0, Str(static_cast<long long>(p)));
        for (std::size_t c = 0; c < kColumns && p + c < length; ++c)
            m_table.setValue(static_cast<int>(c) + 1, std::to_string(byteAt(bytes, p + c)));
        m_table.update();
    }
    m_table.moveFirst();
    ShowStatus(m_ui, "", 0, 0);
}

ByteString clsHexEditor::bytes() const
{
    ByteString out;
    auto rows = m_table.clone();
    for (rows->moveFirst(); !rows->eof(); rows->moveNext()) {
        for (int c = 1; c <= kColumns; ++c) {
            const std::string text = rows->text(c);
            if (trimmed(text).empty())
                break; // an empty cell ends its row
            const auto n = number(text);
            // Cells only ever take 0-255; anything else reads as 0.
            const long v = n && *n > 0 && *n <= 255 ? *n : 0;
            out.push_back(toChar(static_cast<int>(v)));
        }
    }
    return out;
}

int clsHexEditor::ValidateMessage(UiServices& ui, const ByteString& bytes)
{
    const std::size_t length = bytes.size();
    std::string title;
    std::string text;
    if (length == 0)
        return 2;
    if (length <= 3) {
        const int status = byteAt(bytes, 0);
        if (status >= 0x80 && status <= 0xEF)
            return 0;
        title = "Invalid status byte";
        text = std::string("This message appears to be a Channel Information Message but the status "
                           "byte is invalid.") + kContinue;
    } else if (length <= 6) {
        title = "Invalid Message Length";
        text = std::string("This message is invalid.") + kContinue;
    } else if (length == 7) {
        if (byteAt(bytes, 0) == 0xF0 && byteAt(bytes, 6) == 0xF7)
            return 0;
        title = "Invalid Parameter Message";
        text = std::string("This parameter change message is invalid - messages must begin with 240 "
                           "and end with 247.") + kCrLf + kContinue;
    } else {
        return 0;
    }
    switch (ui.MsgBox(text, title, MsgIcon::Information, MsgButtons::YesNoCancel)) {
    case MsgResult::Yes: return 1;
    case MsgResult::No: return 0;
    default: return 2;
    }
}

clsHexEditor::Result clsHexEditor::UpdateRecordset()
{
    Result result;
    ByteString rebuilt = bytes();
    switch (ValidateMessage(m_ui, rebuilt)) {
    case 0:
        result.outcome = Outcome::Accept;
        result.bytes = std::move(rebuilt);
        break;
    case 1: result.outcome = Outcome::Revise; break;
    default: result.outcome = Outcome::Cancel; break;
    }
    return result;
}

std::string clsHexEditor::cell(long row, int column) const
{
    if (column < 0 || column > kColumns || row < 1 || row > m_table.recordCount())
        return {};
    auto rows = m_table.clone();
    rows->setAbsolutePosition(row);
    return trimmed(rows->text(column));
}

bool clsHexEditor::setCell(long row, int column, const std::string& text)
{
    if (column < 1 || column > kColumns || row < 1 || row > m_table.recordCount())
        return false;
    const auto n = number(text);
    if (!n || *n < 0 || *n > 255)
        return false;
    m_table.setAbsolutePosition(row);
    m_table.setValue(column, std::to_string(*n));
    m_table.update();
    return true;
}

bool clsHexEditor::blankCell(long row, int column)
{
    if (column < 1 || column > kColumns || row < 1 || row > m_table.recordCount())
        return false;
    if (m_ui.MsgBox("Do you want to truncate the sysex at this point", "Null value entered",
                    MsgIcon::Question, MsgButtons::YesNoCancel) != MsgResult::Yes)
        return false;
    m_table.setAbsolutePosition(row);
    const auto offset = number(m_table.text(0)).value_or(0);
    const auto keep = static_cast<std::size_t>(offset + column - 1);
    const ByteString all = bytes();
    const ByteString cut = all.substr(0, std::min(keep, all.size()));
    if (cut.empty()) {
        m_table.close();
        m_table.open();
    } else {
        InitHexGrid(cut);
    }
    return true;
}

} // namespace toneloft
