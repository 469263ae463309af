#include "support/RecordsetFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace toneloft {
namespace {

using namespace toneloft::test;
using Type = Recordset::FieldType;
using Value = Recordset::Value;
using Code = Recordset::ErrorCode;

// --- values ------------------------------------------------------------------

struct Conversion {
    const char* field;
    Value in;
    Value stored;
};

void PrintTo(const Conversion& c, std::ostream* os)
{
    *os << c.field << " <- index " << c.in.index();
}

class RecordsetConversion : public RecordsetTest, public testing::WithParamInterface<Conversion> {};

TEST_P(RecordsetConversion, StoresTheFieldsType)
{
    rs.addNew();
    rs.setValue(GetParam().field, GetParam().in);
    EXPECT_EQ(rs.value(GetParam().field), GetParam().stored);
    EXPECT_EQ(rs.lastErrorCode(), Code::None) << rs.lastError();
}

INSTANTIATE_TEST_SUITE_P(Text, RecordsetConversion, testing::Values(
    Conversion{"Names", std::string("PIANO"), std::string("PIANO     ")},
    Conversion{"Names", std::string("ABCDEFGHIJKL"), std::string("ABCDEFGHIJ")},
    Conversion{"Names", std::string(), std::string("          ")},
    Conversion{"ID", std::string("12"), std::string("12")},
    Conversion{"ID", std::string("0123456789AB"), std::string("0123456789")},
    Conversion{"ID", std::string("A\0B", 3), std::string("A\0B", 3)},
    Conversion{"ID", std::int32_t{-42}, std::string("-42")},
    Conversion{"ID", 0.5f, std::string("0.5")},
    Conversion{"ID", 12.0f, std::string("12")},
    Conversion{"ID", true, std::string("True")},
    Conversion{"Names", std::int32_t{7}, std::string("7         ")},
    Conversion{"Names", std::monostate{}, std::monostate{}}));

INSTANTIATE_TEST_SUITE_P(Numbers, RecordsetConversion, testing::Values(
    Conversion{"Level", std::string("12"), std::int32_t{12}},
    Conversion{"Level", std::string(" 144 "), std::int32_t{144}},
    Conversion{"Level", std::string("-7"), std::int32_t{-7}},
    Conversion{"Level", std::string("2.5"), std::int32_t{3}},
    Conversion{"Level", 3.4f, std::int32_t{3}},
    Conversion{"Level", true, std::int32_t{1}},
    Conversion{"Level", std::string("  "), std::monostate{}},
    Conversion{"Ratio", std::string("0.5"), 0.5f},
    Conversion{"Ratio", std::string(".25"), 0.25f},
    Conversion{"Ratio", std::int32_t{2}, 2.0f},
    Conversion{"DelSelected", std::string("True"), true},
    Conversion{"DelSelected", std::string("false"), false},
    Conversion{"DelSelected", std::string("-1"), true},
    Conversion{"DelSelected", std::int32_t{0}, false},
    Conversion{"DelSelected", 2.0f, true}));

struct Refusal {
    const char* field;
    Value in;
};

class RecordsetRefusal : public RecordsetTest, public testing::WithParamInterface<Refusal> {};

TEST_P(RecordsetRefusal, LeavesTheValueAsItWas)
{
    rs.addNew();
    rs.setValue("Level", std::int32_t{5});
    rs.setValue("Ratio", 1.5f);
    rs.setValue("DelSelected", true);
    const Value before = rs.value(GetParam().field);
    rs.setValue(GetParam().field, GetParam().in);
    EXPECT_EQ(rs.lastErrorCode(), Code::BadValue);
    EXPECT_EQ(rs.value(GetParam().field), before);
}

INSTANTIATE_TEST_SUITE_P(Values, RecordsetRefusal, testing::Values(
    Refusal{"Level", std::string("abc")},
    Refusal{"Level", std::string("12abc")},
    Refusal{"Level", std::string("3000000000")},
    Refusal{"Level", 1e20f},
    Refusal{"Ratio", std::string("1e400")},
    Refusal{"Ratio", std::string("nan")},
    Refusal{"DelSelected", std::string("maybe")}));

TEST_F(RecordsetTest, NewRowHoldsBlanksInFixedTextAndNullElsewhere)
{
    rs.addNew();
    EXPECT_EQ(rs.value("Names"), Value(std::string(10, ' ')));
    EXPECT_EQ(rs.value("ID"), Value());
    EXPECT_EQ(rs.value("Level"), Value());
    EXPECT_EQ(rs.value("DelSelected"), Value());
    EXPECT_EQ(rs.text("Level"), "");
    EXPECT_FALSE(rs.boolean("DelSelected"));
    EXPECT_EQ(rs.number("Level"), 0.0);
}

TEST_F(RecordsetTest, AppendRowConvertsLikeSetValueAndRefusesWhole)
{
    fill(rs, "A");
    auto other = rs.clone();
    std::array<Value, 3> row = {std::string("a very long id"), std::string("PIANO"), std::string("12")};
    ASSERT_TRUE(rs.appendRow(row));
    EXPECT_EQ(rs.absolutePosition(), 2);
    EXPECT_EQ(rs.text("ID"), "a very lon");
    EXPECT_EQ(rs.text("Names"), "PIANO     ");
    EXPECT_EQ(rs.value("Level"), Value(std::int32_t{12}));
    EXPECT_EQ(rs.value("DelSelected"), Value());
    EXPECT_EQ(other->recordCount(), 2);

    std::array<Value, 3> bad = {std::string("B"), std::string("X"), std::string("twelve")};
    EXPECT_FALSE(rs.appendRow(bad));
    EXPECT_EQ(rs.lastErrorCode(), Code::BadValue);
    EXPECT_EQ(rs.recordCount(), 2);
}

TEST_F(RecordsetTest, ConveniencesReadAnyField)
{
    rs.addNew();
    rs.setValue("ID", std::string(" 144"));
    rs.setValue("Level", std::int32_t{-3});
    rs.setValue("Ratio", 0.75f);
    rs.setValue("DelSelected", true);
    EXPECT_EQ(rs.number("ID"), 144.0);
    EXPECT_EQ(rs.text("Level"), "-3");
    EXPECT_EQ(rs.text("Ratio"), "0.75");
    EXPECT_EQ(rs.number("Ratio"), 0.75);
    EXPECT_EQ(rs.text("DelSelected"), "True");
    EXPECT_EQ(rs.number("DelSelected"), 1.0);
    rs.setValue("ID", std::string("True"));
    EXPECT_TRUE(rs.boolean("ID"));
    EXPECT_EQ(rs.number("ID"), 0.0);
}

TEST_F(RecordsetTest, MisuseIsHarmless)
{
    EXPECT_TRUE(rs.bof());
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.value("ID"), Value());
    rs.setValue("ID", std::string("x"));
    EXPECT_EQ(rs.lastErrorCode(), Code::NoCurrentRow);

    fill(rs, "A");
    EXPECT_EQ(rs.value("NoSuchField"), Value());
    EXPECT_EQ(rs.value(99), Value());
    EXPECT_EQ(rs.value(-1), Value());
    EXPECT_EQ(rs.field(99).name, "");
    rs.setValue("NoSuchField", std::string("x"));
    EXPECT_EQ(rs.lastErrorCode(), Code::UnknownField);
    rs.setValue(-1, std::string("x"));
    EXPECT_EQ(rs.lastErrorCode(), Code::UnknownField);

    rs.moveNext();
    ASSERT_TRUE(rs.eof());
    EXPECT_EQ(rs.value("ID"), Value());
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    rs.deleteCurrent();
    EXPECT_EQ(rs.recordCount(), 1);
}

TEST(RecordsetStructure, FieldsAreFixedOnceOpenAndRowsNeedAnOpenTable)
{
    Recordset rs;
    rs.appendField("CRCAll", Type::Text, 15);
    rs.appendField("crcall", Type::Long);
    EXPECT_EQ(rs.fieldCount(), 1);
    rs.addNew();
    EXPECT_EQ(rs.lastErrorCode(), Code::NotOpen);
    rs.open();
    EXPECT_EQ(rs.recordCount(), 0);
    rs.appendField("Late", Type::Long);
    EXPECT_EQ(rs.lastErrorCode(), Code::NotOpen);
    EXPECT_EQ(rs.fieldCount(), 1);
    EXPECT_EQ(rs.fieldIndex("CRCall"), 0);
    EXPECT_EQ(rs.fieldIndex("CRCAl"), -1);
}

// --- cursor ------------------------------------------------------------------

TEST_F(RecordsetTest, WalksAndClampsAtBothEnds)
{
    fill(rs, "ABCDE");
    rs.moveFirst();
    EXPECT_EQ(rs.absolutePosition(), 1);
    EXPECT_FALSE(rs.bof());
    rs.movePrevious();
    EXPECT_TRUE(rs.bof());
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.absolutePosition(), -1);
    rs.moveNext();
    EXPECT_EQ(rs.text("ID"), "A");
    rs.move(2);
    EXPECT_EQ(rs.text("ID"), "C");
    rs.move(-1);
    EXPECT_EQ(rs.text("ID"), "B");
    rs.move(10);
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.absolutePosition(), -1);
    rs.move(-1);
    EXPECT_EQ(rs.text("ID"), "E");
    rs.move(-10);
    EXPECT_TRUE(rs.bof());
    rs.move(1);
    EXPECT_EQ(rs.text("ID"), "A");
    rs.moveLast();
    EXPECT_EQ(rs.absolutePosition(), 5);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    rs.movePrevious();
    EXPECT_EQ(rs.text("ID"), "E");

    rs.setAbsolutePosition(3);
    EXPECT_EQ(rs.text("ID"), "C");
    rs.setAbsolutePosition(0);
    EXPECT_TRUE(rs.bof());
    rs.setAbsolutePosition(6);
    EXPECT_TRUE(rs.eof());
}

TEST_F(RecordsetTest, PageSizeIsKeptAndCloned)
{
    EXPECT_EQ(rs.pageSize(), 10);
    rs.setPageSize(32);
    rs.setPageSize(0);
    EXPECT_EQ(rs.pageSize(), 32);
    EXPECT_EQ(rs.clone()->pageSize(), 32);
}

// --- bookmarks ---------------------------------------------------------------

TEST_F(RecordsetTest, BookmarksSurviveInsertsAndDeletesAndAreNeverReused)
{
    fill(rs, "ABC");
    rs.setAbsolutePosition(2);
    const auto b = rs.bookmark();
    rs.setAbsolutePosition(3);
    const auto c = rs.bookmark();
    EXPECT_NE(b, Recordset::kNoBookmark);

    rs.moveFirst();
    rs.insertBefore();
    rs.setValue("ID", std::string("X"));
    rs.setBookmark(b);
    EXPECT_EQ(rs.text("ID"), "B");
    EXPECT_EQ(rs.absolutePosition(), 3);

    rs.deleteCurrent();
    fill(rs, "D");
    EXPECT_NE(rs.bookmark(), b);
    rs.setBookmark(b);
    EXPECT_TRUE(rs.eof());
    rs.setBookmark(c);
    EXPECT_EQ(rs.text("ID"), "C");

    std::vector<Recordset::Bookmark> before;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        before.push_back(rs.bookmark());
    rs.close();
    rs.open();
    fill(rs, "E");
    for (const auto old : before)
        EXPECT_NE(rs.bookmark(), old);
    rs.setBookmark(before.front());
    EXPECT_TRUE(rs.eof());
}

TEST_F(RecordsetTest, BookmarkOfARowOutsideTheFilterGivesEof)
{
    fill(rs, "ABC");
    rs.setAbsolutePosition(2);
    const auto b = rs.bookmark();
    ASSERT_TRUE(rs.setFilter("ID <> 'B'"));
    rs.setBookmark(b);
    EXPECT_TRUE(rs.eof());
    rs.setBookmark(Recordset::kNoBookmark);
    EXPECT_TRUE(rs.eof());
    rs.setBookmark(b + 1000);
    EXPECT_TRUE(rs.eof());
}

TEST_F(RecordsetTest, BookmarkFilterShowsExactlyThoseRowsInTableOrder)
{
    fill(rs, "ABCDEF");
    std::vector<Recordset::Bookmark> marks;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        marks.push_back(rs.bookmark());
    rs.setAbsolutePosition(4);
    rs.deleteCurrent(); // D

    rs.setFilter(std::vector<Recordset::Bookmark>{marks[4], marks[1], marks[3], marks[1], 999999});
    EXPECT_TRUE(rs.isFiltered());
    EXPECT_EQ(rs.filterText(), "");
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(ids(rs), "BE");

    rs.setFilter(std::vector<Recordset::Bookmark>{});
    EXPECT_EQ(rs.recordCount(), 0);
    rs.clearFilter();
    EXPECT_FALSE(rs.isFiltered());
    EXPECT_EQ(ids(rs), "ABCEF");
}

// --- clones ------------------------------------------------------------------

TEST_F(RecordsetTest, CloneHasItsOwnPositionFilterAndSort)
{
    fill(rs, "CAB");
    ASSERT_TRUE(rs.setFilter("ID <> 'A'"));
    rs.moveLast();
    auto other = rs.clone();
    EXPECT_FALSE(other->isFiltered());
    EXPECT_EQ(other->absolutePosition(), 1);
    ASSERT_TRUE(other->setSort("ID"));
    EXPECT_EQ(ids(*other), "ABC");
    EXPECT_EQ(rs.text("ID"), "B");
    EXPECT_EQ(rs.sortText(), "");
    EXPECT_EQ(ids(rs), "CB");
}

TEST_F(RecordsetTest, RowsAddedOrDeletedThroughOneCursorShowInTheOthers)
{
    fill(rs, "ABCD");
    auto other = rs.clone();
    other->setAbsolutePosition(3); // C

    rs.moveFirst();
    rs.insertBefore();
    rs.setValue("ID", std::string("X"));
    EXPECT_EQ(other->text("ID"), "C");
    EXPECT_EQ(other->absolutePosition(), 4);
    EXPECT_EQ(other->recordCount(), 5);

    fill(rs, "E");
    rs.setAbsolutePosition(4); // C, the other cursor's row
    rs.deleteCurrent();
    EXPECT_FALSE(other->eof());
    EXPECT_EQ(other->absolutePosition(), -1);
    EXPECT_EQ(other->value("ID"), Value());
    other->moveNext();
    EXPECT_EQ(other->text("ID"), "D");
    other->movePrevious();
    EXPECT_EQ(other->text("ID"), "B");
    EXPECT_EQ(ids(*other), "XABDE");
}

TEST_F(RecordsetTest, CloseEmptiesEveryCursor)
{
    fill(rs, "AB");
    auto other = rs.clone();
    auto untouched = rs.clone();
    untouched->moveLast();
    auto marked = rs.clone();
    marked->setFilter(std::vector<Recordset::Bookmark>{rs.bookmark()});
    rs.close();
    EXPECT_FALSE(other->isOpen());
    EXPECT_EQ(other->recordCount(), 0);
    EXPECT_TRUE(other->eof());
    EXPECT_EQ(other->value("ID"), Value());

    // Rows made after the close are new rows, whatever a cursor was on before.
    rs.open();
    fill(rs, "CDE");
    EXPECT_EQ(untouched->absolutePosition(), -1);
    EXPECT_EQ(untouched->value("ID"), Value());
    EXPECT_EQ(ids(*untouched), "CDE");
    EXPECT_EQ(marked->recordCount(), 0);
}


} // namespace
} // namespace toneloft
