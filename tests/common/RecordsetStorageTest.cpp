#include "common/Recordset.h"
#include "common/RecordsetStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft {
namespace {

using Type = Recordset::FieldType;
using Value = Recordset::Value;
using Code = Recordset::ErrorCode;

// A text of the given length that differs from row to row: capitals, no blanks.
std::string textFor(std::size_t length, int row)
{
    std::string text(length, ' ');
    for (std::size_t k = 0; k < length; ++k)
        text[k] = static_cast<char>('A' + (k * 7 + static_cast<std::size_t>(row) * 11) % 26);
    return text;
}

// ID (text 10), Memo (unlimited text), Names (fixed 10), Level (Long), DelSelected (Boolean).
class RecordsetStorage : public testing::Test {
protected:
    void SetUp() override
    {
        rs.appendField("ID", Type::Text, 10);
        rs.appendField("Memo", Type::Text);
        rs.appendField("Names", Type::Text, 10, true);
        rs.appendField("Level", Type::Long);
        rs.appendField("DelSelected", Type::Boolean);
        rs.open();
    }

    void addRow(const std::string& id, const std::string& memo)
    {
        std::array<std::string_view, 2> row = {id, memo};
        ASSERT_TRUE(rs.appendTextRow(row)) << rs.lastError();
    }

    std::string memoOf(Recordset& cursor, const std::string& id)
    {
        auto look = cursor.clone();
        return look->find("ID = '" + id + "'") && !look->eof() ? look->text("Memo") : "(missing)";
    }

    Recordset rs;
};

// --- texts of every length ----------------------------------------------------

// Short texts sit in the cell, longer ones in shared blocks, the longest in
// blocks of their own: each must read, filter and sort the same.
class RecordsetTextLengths : public RecordsetStorage, public testing::WithParamInterface<std::size_t> {};

TEST_P(RecordsetTextLengths, ReadFilterAndSortAlike)
{
    const std::size_t length = GetParam();
    std::vector<std::string> memos;
    for (const int row : {3, 0, 4, 1, 2}) {
        memos.push_back(textFor(length, row));
        addRow(std::to_string(row), memos.back());
    }
    rs.moveFirst();
    for (const auto& memo : memos) {
        EXPECT_EQ(rs.text("Memo"), memo);
        EXPECT_EQ(rs.value("Memo"), Value(memo));
        rs.moveNext();
    }

    ASSERT_TRUE(rs.setSort("Memo DESC, ID"));
    std::vector<std::string> sorted = memos;
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    for (const auto& memo : sorted) {
        EXPECT_EQ(rs.text("Memo"), memo);
        rs.moveNext();
    }

    ASSERT_TRUE(rs.setFilter("Memo = '" + memos[2] + "'"));
    EXPECT_EQ(rs.recordCount(), length == 0 ? 5 : 1);
    EXPECT_EQ(rs.text("Memo"), memos[2]);
    if (length > 0) {
        ASSERT_TRUE(rs.setFilter("Memo LIKE '" + memos[3].substr(0, 1) + "*'"));
        EXPECT_EQ(rs.text("ID"), "1");
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, RecordsetTextLengths,
                         testing::Values(std::size_t{0}, std::size_t{1}, RecordsetStore::kInlineText,
                                         RecordsetStore::kInlineText + 1, RecordsetStore::kOwnBlockText,
                                         RecordsetStore::kOwnBlockText + 1, RecordsetStore::kBlockSize + 3));

// --- growth under live cursors ------------------------------------------------

TEST_F(RecordsetStorage, ClonesAndBookmarksKeepTheirRowsWhileTheTableGrows)
{
    addRow("first", textFor(40, 1));
    addRow("second", textFor(40, 2));
    auto other = rs.clone();
    other->moveLast();
    const Recordset::Bookmark mark = other->bookmark();
    const Value& held = other->value("Memo");

    // Enough rows to move every column and fill many text blocks.
    constexpr int kRows = 5000;
    for (int i = 0; i < kRows; ++i)
        addRow(std::to_string(i), textFor(15 + static_cast<std::size_t>(i % 60), i));

    EXPECT_EQ(held, Value(textFor(40, 2)));
    EXPECT_EQ(other->text("ID"), "second");
    EXPECT_EQ(other->text("Memo"), textFor(40, 2));
    rs.setBookmark(mark);
    EXPECT_EQ(rs.text("Memo"), textFor(40, 2));

    other->setAbsolutePosition(3);
    for (int i = 0; i < kRows; ++i, other->moveNext())
        ASSERT_EQ(other->text("Memo"), textFor(15 + static_cast<std::size_t>(i % 60), i)) << "row " << i;
    EXPECT_TRUE(other->eof());
}

TEST_F(RecordsetStorage, ValuesOfSeveralFieldsCanBeHeldAtOnce)
{
    addRow("A", textFor(30, 1));
    rs.setValue("Level", std::int32_t{7});
    addRow("B", textFor(30, 2));
    rs.moveFirst();
    auto other = rs.clone();
    other->moveLast();

    const Value& id = rs.value("ID");
    const Value& memo = rs.value("Memo");
    const Value& level = rs.value("Level");
    EXPECT_EQ(other->value("Memo"), Value(textFor(30, 2)));
    EXPECT_EQ(id, Value(std::string("A")));
    EXPECT_EQ(memo, Value(textFor(30, 1)));
    EXPECT_EQ(level, Value(std::int32_t{7}));
}

// --- editing stored texts -----------------------------------------------------

struct Edit {
    std::size_t from;
    std::size_t to;
};

void PrintTo(const Edit& e, std::ostream* os)
{
    *os << e.from << " -> " << e.to;
}

class RecordsetTextEdits : public RecordsetStorage, public testing::WithParamInterface<Edit> {};

// The rows either side were stored next to the edited one: none may change.
TEST_P(RecordsetTextEdits, LeaveTheNeighboursAlone)
{
    for (int row = 0; row < 3; ++row)
        addRow(std::to_string(row), textFor(GetParam().from, row));
    rs.setAbsolutePosition(2);
    for (int round = 0; round < 3; ++round) {
        const std::string edited = textFor(GetParam().to, 10 + round);
        rs.setValue("Memo", edited);
        EXPECT_EQ(memoOf(rs, "1"), edited);
        EXPECT_EQ(memoOf(rs, "0"), textFor(GetParam().from, 0));
        EXPECT_EQ(memoOf(rs, "2"), textFor(GetParam().from, 2));
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, RecordsetTextEdits, testing::Values(
    Edit{100, 100}, Edit{100, 40}, Edit{100, 300}, Edit{100, 5}, Edit{5, 100},
    Edit{5000, 4000}, Edit{4000, 5000}, Edit{5000, 20}));

TEST_F(RecordsetStorage, ATextCanBeStoredFromItsOwnCell)
{
    RecordsetStore store;
    store.reset({{"Memo", Type::Text, 0, false}});
    const std::uint32_t a = store.addRow();
    store.setText(a, 0, "0123456789ABCDEFGHIJ");
    store.setText(a, 0, store.text(a, 0).substr(2));
    EXPECT_EQ(store.text(a, 0), "23456789ABCDEFGHIJ");
    store.setText(a, 0, store.text(a, 0).substr(1, 12));
    EXPECT_EQ(store.text(a, 0), "3456789ABCDE");
    store.setText(a, 0, store.text(a, 0).substr(3));
    EXPECT_EQ(store.text(a, 0), "6789ABCDE");

    // From a cell of the same column when that column has to grow for the copy.
    for (int i = 0; i < 100; ++i)
        store.addRow();
    store.setText(99, 0, store.text(a, 0));
    EXPECT_EQ(store.text(99, 0), "6789ABCDE");
}

// --- kept buffers ---------------------------------------------------------------

TEST_F(RecordsetStorage, RowsReferringToKeptBytesAreEditedApart)
{
    const std::string source = textFor(64, 5) + "  PIANO";
    const std::span<const std::uint8_t> kept =
        rs.keepBytes(std::vector<std::uint8_t>(source.begin(), source.end()));
    const std::string_view bytes(reinterpret_cast<const char*>(kept.data()), kept.size());
    const std::string_view memo = bytes.substr(0, 40);
    const std::string_view name = bytes.substr(66);

    // Both rows point at the same bytes; the names need padding, so they are copies.
    for (const char* id : {"A", "B"}) {
        const std::array<std::string_view, 3> row = {id, memo, name};
        ASSERT_TRUE(rs.appendTextRow(row));
    }
    EXPECT_EQ(rs.text("Names"), "PIANO     ");
    rs.setValue("Memo", textFor(40, 9)); // B, same length
    rs.setValue("Names", std::string("ORGAN"));
    EXPECT_EQ(memoOf(rs, "A"), memo);
    EXPECT_EQ(rs.text("Memo"), textFor(40, 9));
    rs.moveFirst();
    EXPECT_EQ(rs.text("Names"), "PIANO     ");
    rs.setValue("Memo", std::string(memo.substr(0, 20)));
    EXPECT_EQ(rs.text("Memo"), memo.substr(0, 20));
    EXPECT_EQ(bytes, source);
}

// --- fields nobody fills ----------------------------------------------------------

TEST_F(RecordsetStorage, FieldsLeftOutReadAsTheirEmptyValueAroundOneThatIsSet)
{
    for (int i = 1; i <= 1000; ++i)
        addRow(std::to_string(i), "");
    rs.setAbsolutePosition(500);
    rs.setValue("DelSelected", true);
    rs.setValue("Level", std::string("12"));
    rs.setValue("Names", std::monostate{});

    for (const long at : {1L, 499L, 501L, 1000L}) {
        rs.setAbsolutePosition(at);
        EXPECT_EQ(rs.value("DelSelected"), Value()) << at;
        EXPECT_EQ(rs.value("Level"), Value()) << at;
        EXPECT_EQ(rs.value("Names"), Value(std::string(10, ' '))) << at;
    }
    rs.setAbsolutePosition(500);
    EXPECT_EQ(rs.value("Names"), Value());
    EXPECT_EQ(rs.value("Level"), Value(std::int32_t{12}));
    rs.setValue("Names", std::string());
    EXPECT_EQ(rs.text("Names"), std::string(10, ' '));

    ASSERT_TRUE(rs.setFilter("DelSelected = True"));
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("ID"), "500");
    ASSERT_TRUE(rs.setFilter("Names = ''"));
    EXPECT_EQ(rs.recordCount(), 1000);
}

// --- appendTextRow ----------------------------------------------------------------

TEST_F(RecordsetStorage, TextRowsAreConvertedAsSetValueConvertsText)
{
    const std::array<std::string_view, 6> row = {"0123456789AB", "memo", "PIANO", " 144 ", "True", "ignored"};
    ASSERT_TRUE(rs.appendTextRow(row));
    EXPECT_EQ(rs.text("ID"), "0123456789");
    EXPECT_EQ(rs.text("Names"), "PIANO     ");
    EXPECT_EQ(rs.value("Level"), Value(std::int32_t{144}));
    EXPECT_EQ(rs.value("DelSelected"), Value(true));

    const std::array<std::string_view, 4> bad = {"X", "memo", "NAME", "many"};
    EXPECT_FALSE(rs.appendTextRow(bad));
    EXPECT_EQ(rs.lastErrorCode(), Code::BadValue);
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("ID"), "0123456789");

    rs.close();
    EXPECT_FALSE(rs.appendTextRow(row));
    EXPECT_EQ(rs.lastErrorCode(), Code::NotOpen);
}

} // namespace
} // namespace toneloft
