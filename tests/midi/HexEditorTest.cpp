// The sysex byte editor's table: filling, rebuilding, checks and truncation.
#include "midi/clsHexEditor.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace toneloft::test {
namespace {

ByteString bytesOf(std::initializer_list<int> values)
{
    ByteString s;
    for (int v : values)
        s.push_back(toChar(v));
    return s;
}

ByteString counting(std::size_t n)
{
    ByteString s;
    for (std::size_t i = 0; i < n; ++i)
        s.push_back(toChar(static_cast<int>(i % 256)));
    return s;
}

TEST(HexEditor, SixteenDecimalBytesPerRow)
{
    ScriptedUi ui;
    clsHexEditor editor(ui);
    editor.InitHexGrid(counting(4104));
    EXPECT_EQ(editor.rowCount(), 257); // 4104 / 16, rounded up
    Recordset& t = editor.HexEdit();
    ASSERT_EQ(t.fieldCount(), 17);
    EXPECT_EQ(t.field(1).name, " 1");
    EXPECT_EQ(t.field(16).name, " 16");
    EXPECT_EQ(editor.table("HexEdit"), &t);
    t.setAbsolutePosition(2);
    EXPECT_EQ(t.text("Byte").substr(0, 3), " 16");
    EXPECT_EQ(editor.cell(2, 1), "16");
    EXPECT_EQ(editor.cell(16, 16), "255");
    EXPECT_EQ(editor.cell(257, 8), "7");  // byte 4103
    EXPECT_EQ(editor.cell(257, 9), "");   // past the end
    // Progress every 1024 bytes: 0, 1024, 2048, 3072, 4096.
    EXPECT_TRUE(ui.sawStatus("Please wait - Initialising Sysex Editor ( 0 of  4104)  "));
    EXPECT_TRUE(ui.sawStatus("Please wait - Initialising Sysex Editor ( 4096 of  4104)  "));
    EXPECT_EQ(ui.statuses.back().text, "");
    EXPECT_EQ(editor.bytes(), counting(4104));
}

TEST(HexEditor, EmptyMessageLeavesTheTableAlone)
{
    ScriptedUi ui;
    clsHexEditor editor(ui);
    editor.InitHexGrid(counting(20));
    editor.InitHexGrid({});
    EXPECT_EQ(editor.rowCount(), 2);
}

struct CheckCase {
    const char* name;
    ByteString bytes;
    const char* title; // "" when no question is asked
    MsgResult answer;
    clsHexEditor::Outcome outcome;
};

class HexEditorCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(HexEditorCheck, AsksAboutDoubtfulMessages)
{
    const CheckCase& c = GetParam();
    ScriptedUi ui;
    ui.answers = {c.answer};
    clsHexEditor editor(ui);
    editor.InitHexGrid(c.bytes);
    const auto result = editor.UpdateRecordset();
    EXPECT_EQ(result.outcome, c.outcome);
    if (std::string(c.title).empty()) {
        EXPECT_TRUE(ui.boxes.empty());
    } else {
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].title, c.title);
        EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Information);
        EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::YesNoCancel);
    }
    if (c.outcome == clsHexEditor::Outcome::Accept) {
        EXPECT_EQ(result.bytes, c.bytes);
    }
}

using O = clsHexEditor::Outcome;
INSTANTIATE_TEST_SUITE_P(
    HexEditor, HexEditorCheck,
    ::testing::Values(
        CheckCase{"SystemStatusInShort", bytesOf({0xF0, 1, 2}), "Invalid status byte", MsgResult::Yes, O::Revise},
        CheckCase{"NoteOnPasses", bytesOf({0x90, 60, 64}), "", MsgResult::Yes, O::Accept},
        CheckCase{"DataByteFirst", bytesOf({0x40}), "Invalid status byte", MsgResult::Cancel, O::Cancel},
        CheckCase{"FiveBytes", bytesOf({0x90, 1, 2, 3, 4}), "Invalid Message Length", MsgResult::Yes, O::Revise},
        CheckCase{"FiveBytesAcceptedAnyway", bytesOf({0xF0, 1, 2, 3, 0xF7}), "Invalid Message Length",
                  MsgResult::No, O::Accept},
        CheckCase{"ParameterEndingF6", bytesOf({0xF0, 0x43, 0x10, 0, 5, 9, 0xF6}),
                  "Invalid Parameter Message", MsgResult::No, O::Accept},
        CheckCase{"ParameterPasses", bytesOf({0xF0, 0x43, 0x10, 0, 5, 9, 0xF7}), "", MsgResult::Yes, O::Accept},
        CheckCase{"LongUnchecked", counting(20), "", MsgResult::Yes, O::Accept}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(HexEditor, CheckTexts)
{
    ScriptedUi ui;
    clsHexEditor::ValidateMessage(ui, bytesOf({0xF0, 1, 2}));
    clsHexEditor::ValidateMessage(ui, bytesOf({1, 2, 3, 4}));
    clsHexEditor::ValidateMessage(ui, bytesOf({0xF0, 1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(ui.boxes.size(), 3u);
    EXPECT_EQ(ui.boxes[0].text, "This message appears to be a Channel Information Message but the status "
                                "byte is invalid.Do you want to correct this and continue editing ?");
    EXPECT_EQ(ui.boxes[1].text, "This message is invalid.Do you want to correct this and continue editing ?");
    EXPECT_EQ(ui.boxes[2].text, "This parameter change message is invalid - messages must begin with 240 "
                                "and end with 247.\r\nDo you want to correct this and continue editing ?");
    EXPECT_EQ(clsHexEditor::ValidateMessage(ui, {}), 2);
}

TEST(HexEditor, TypedValuesMustBeBytes)
{
    ScriptedUi ui;
    clsHexEditor editor(ui);
    editor.InitHexGrid(counting(20));
    EXPECT_TRUE(editor.setCell(1, 3, " 200 "));
    EXPECT_EQ(editor.cell(1, 3), "200");
    for (const char* bad : {"256", "-1", "abc", "12x", "1.5", ""})
        EXPECT_FALSE(editor.setCell(1, 3, bad)) << bad;
    EXPECT_EQ(editor.cell(1, 3), "200");
    EXPECT_FALSE(editor.setCell(3, 1, "1")); // no such row
    EXPECT_FALSE(editor.setCell(1, 17, "1"));
    ByteString expected = counting(20);
    expected[2] = toChar(200);
    EXPECT_EQ(editor.bytes(), expected);
}

TEST(HexEditor, BlankingTruncatesOnlyWhenAsked)
{
    ScriptedUi ui;
    clsHexEditor editor(ui);
    const ByteString message = counting(40);
    editor.InitHexGrid(message);

    // A blank in the middle of a row is refused: nothing is skipped.
    ui.answers = {MsgResult::No};
    EXPECT_FALSE(editor.blankCell(2, 5));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "Null value entered");
    EXPECT_EQ(ui.boxes[0].text, "Do you want to truncate the sysex at this point");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Question);
    ui.answers = {MsgResult::Cancel};
    EXPECT_FALSE(editor.blankCell(2, 5));
    EXPECT_EQ(editor.bytes(), message);

    // Offset 6 is row 1, column 7: six bytes stay.
    ui.answers = {MsgResult::Yes};
    EXPECT_TRUE(editor.blankCell(1, 7));
    EXPECT_EQ(editor.bytes(), message.substr(0, 6));
    EXPECT_EQ(editor.rowCount(), 1);
    EXPECT_EQ(editor.cell(1, 7), "");
}

TEST(HexEditor, BlankingInALaterRowCountsItsOffset)
{
    ScriptedUi ui;
    clsHexEditor editor(ui);
    editor.InitHexGrid(counting(40));
    ui.answers = {MsgResult::Yes};
    ASSERT_TRUE(editor.blankCell(2, 3)); // offset 16 + 2
    EXPECT_EQ(editor.bytes(), counting(18));
}

} // namespace
} // namespace toneloft::test
