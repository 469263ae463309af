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

// --- deleting ----------------------------------------------------------------

TEST_F(RecordsetTest, DeletedRowLeavesTheCursorOnTheGap)
{
    fill(rs, "ABC");
    rs.setAbsolutePosition(2);
    rs.deleteCurrent();
    EXPECT_FALSE(rs.bof());
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.absolutePosition(), -1);
    EXPECT_EQ(rs.bookmark(), Recordset::kNoBookmark);
    EXPECT_EQ(rs.value("ID"), Value());
    EXPECT_EQ(rs.recordCount(), 2);
    rs.moveNext();
    EXPECT_EQ(rs.text("ID"), "C");
    EXPECT_EQ(rs.absolutePosition(), 2);

    rs.deleteCurrent();
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    rs.movePrevious();
    EXPECT_EQ(rs.text("ID"), "A");
    rs.deleteCurrent();
    rs.movePrevious();
    EXPECT_TRUE(rs.bof());
    EXPECT_TRUE(rs.eof());
}

TEST_F(RecordsetTest, MoveFromTheGapCountsTheRowsEitherSide)
{
    fill(rs, "ABCDE");
    rs.setAbsolutePosition(3);
    rs.deleteCurrent();
    rs.move(1);
    EXPECT_EQ(rs.text("ID"), "D");
    rs.setAbsolutePosition(2);
    rs.deleteCurrent(); // B
    rs.move(-1);
    EXPECT_EQ(rs.text("ID"), "A");
}

// Deleting through the cursor leaves dead entries in place; every later
// position must count only the living rows.
TEST_F(RecordsetTest, PositionsStayRightAcrossScatteredDeletes)
{
    const auto expectRows = [this](const std::string& expected) {
        ASSERT_EQ(rs.recordCount(), static_cast<long>(expected.size()));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            rs.setAbsolutePosition(static_cast<long>(i) + 1);
            EXPECT_EQ(rs.text("ID"), expected.substr(i, 1)) << "position " << i + 1;
            EXPECT_EQ(rs.absolutePosition(), static_cast<long>(i) + 1);
        }
        std::string backwards;
        for (rs.moveLast(); !rs.bof(); rs.movePrevious())
            backwards.insert(0, rs.text("ID"));
        EXPECT_EQ(backwards, expected);
    };

    fill(rs, "ABCDEFGHIJKLMNOPQRST");
    std::string expected;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const std::string id = rs.text("ID");
        if (std::string("BCFJKLQT").find(id) != std::string::npos)
            rs.deleteCurrent();
        else
            expected += id;
    }
    expectRows(expected);
    fill(rs, "UVWXYZ");
    expected += "UVWXYZ";
    expectRows(expected);

    rs.moveFirst();
    rs.move(3);
    rs.insertBefore();
    rs.setValue("ID", std::string("w"));
    expected.insert(3, "w");
    EXPECT_EQ(rs.absolutePosition(), 4);
    expectRows(expected);
    EXPECT_EQ(ids(*rs.clone()), expected);
}

TEST_F(RecordsetTest, DeleteFilteredRemovesOnlyTheRowsThatPass)
{
    fill(rs, "ABCDE");
    auto all = rs.clone();
    for (all->moveFirst(); !all->eof(); all->moveNext())
        all->setValue("DelSelected", all->text("ID") == "B" || all->text("ID") == "D");
    all->setAbsolutePosition(4); // D

    ASSERT_TRUE(rs.setFilter("DelSelected = True"));
    rs.deleteFiltered();
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.filterText(), "DelSelected = True");
    EXPECT_EQ(all->recordCount(), 3);
    all->moveNext();
    EXPECT_EQ(all->text("ID"), "E");
    rs.clearFilter();
    EXPECT_EQ(ids(rs), "ACE");
}

// --- inserting ---------------------------------------------------------------

TEST_F(RecordsetTest, InsertBeforeKeepsPastedRowsInOrder)
{
    fill(rs, "AB");
    rs.setAbsolutePosition(2);
    for (const char id : std::string("xyz")) {
        rs.insertBefore();
        rs.setValue("ID", std::string(1, id));
        rs.update();
        rs.moveNext(); // back onto B, so the next row goes after this one
    }
    EXPECT_EQ(rs.text("ID"), "B");
    EXPECT_EQ(rs.absolutePosition(), 5);
    EXPECT_EQ(ids(rs), "AxyzB");

    rs.insertBefore(); // at EOF: the end
    rs.setValue("ID", std::string("e"));
    rs.moveFirst();
    rs.movePrevious();
    rs.insertBefore(); // at BOF: the start
    rs.setValue("ID", std::string("s"));
    EXPECT_EQ(rs.absolutePosition(), 1);
    EXPECT_EQ(ids(rs), "sAxyzBe");
}

TEST_F(RecordsetTest, InsertInAFilteredCursorGoesBeforeItsRowInTableOrder)
{
    fill(rs, "ABCD");
    ASSERT_TRUE(rs.setFilter("ID = 'A' OR ID = 'D'"));
    rs.moveLast(); // D
    rs.insertBefore();
    rs.setValue("ID", std::string("x"));
    EXPECT_EQ(rs.absolutePosition(), 2);
    EXPECT_EQ(ids(rs), "AxD");
    EXPECT_EQ(ids(*rs.clone()), "ABCxD");
}

// --- sorting -----------------------------------------------------------------

TEST_F(RecordsetTest, SortIsStableCaseBlindAndPerCursor)
{
    const char* names[] = {"brass", "ALPHA", "Brass", "alpha", "BRASS 2", "Zed"};
    char id = 'a';
    for (const char* name : names) {
        rs.addNew();
        rs.setValue("ID", std::string(1, id++));
        rs.setValue("Names", std::string(name));
    }
    ASSERT_TRUE(rs.setSort("Names"));
    EXPECT_EQ(rs.sortText(), "Names");
    EXPECT_EQ(ids(rs), "bdacef");
    ASSERT_TRUE(rs.setSort("names DESC"));
    EXPECT_EQ(ids(rs), "feacbd");
    ASSERT_TRUE(rs.setSort(""));
    EXPECT_EQ(ids(rs), "abcdef");
}

// Large enough that an unstable sort would show (small ranges are sorted by
// insertion, which is stable anyway).
TEST_F(RecordsetTest, EqualKeysKeepTableOrder)
{
    constexpr int kRows = 600;
    for (int i = 0; i < kRows; ++i) {
        rs.addNew();
        rs.setValue("Level", std::int32_t{i});
        rs.setValue("Names", std::string(i % 3 == 0 ? "B" : (i % 3 == 1 ? "a" : "b  ")));
    }
    for (const char* sort : {"Names", "Names DESC"}) {
        ASSERT_TRUE(rs.setSort(sort));
        std::string previousName;
        double previousLevel = -1;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            const std::string name = rs.text("Names") == "a         " ? "a" : "b";
            if (name == previousName) {
                EXPECT_GT(rs.number("Level"), previousLevel) << sort;
            }
            previousName = name;
            previousLevel = rs.number("Level");
        }
    }
}

TEST_F(RecordsetTest, SortOrdersNumbersAsNumbers)
{
    const int levels[] = {10, 9, -1, 100, 9};
    char id = 'a';
    for (const int level : levels) {
        rs.addNew();
        rs.setValue("ID", std::string(1, id++));
        rs.setValue("Level", std::int32_t{level});
    }
    ASSERT_TRUE(rs.setSort("[Level] ASC, ID DESC"));
    EXPECT_EQ(ids(rs), "cebad");
    EXPECT_FALSE(rs.setSort("Nope"));
    EXPECT_EQ(rs.lastErrorCode(), Code::UnknownField);
    EXPECT_EQ(rs.sortText(), "[Level] ASC, ID DESC");
}

TEST_F(RecordsetTest, SortedCursorSeesRowsAddedElsewhereInPlace)
{
    fill(rs, "DB");
    ASSERT_TRUE(rs.setSort("ID"));
    auto other = rs.clone();
    fill(*other, "CA");
    EXPECT_EQ(ids(rs), "ABCD");
}

// --- find --------------------------------------------------------------------

TEST_F(RecordsetTest, FindSearchesFromTheCurrentRowInEitherDirection)
{
    fill(rs, "ABABA");
    rs.moveFirst();
    ASSERT_TRUE(rs.find("ID = 'A'"));
    EXPECT_EQ(rs.absolutePosition(), 1); // the current row itself
    ASSERT_TRUE(rs.find("ID = 'A'", 1));
    EXPECT_EQ(rs.absolutePosition(), 3);
    ASSERT_TRUE(rs.find("ID = 'A'", 1, false));
    EXPECT_EQ(rs.absolutePosition(), 1);
    ASSERT_TRUE(rs.find("ID = 'B'", 1, false));
    EXPECT_TRUE(rs.bof());

    ASSERT_TRUE(rs.find("ID = 'B'"));
    EXPECT_EQ(rs.absolutePosition(), 2);
    rs.moveLast();
    ASSERT_TRUE(rs.find("ID = 'B'", 1));
    EXPECT_TRUE(rs.eof());
    ASSERT_TRUE(rs.find("ID = 'B'", 0, false));
    EXPECT_EQ(rs.absolutePosition(), 4);
}

TEST_F(RecordsetTest, FindStaysWithinTheFilterAndSort)
{
    fill(rs, "CBADBA");
    ASSERT_TRUE(rs.setFilter("ID <> 'D'"));
    ASSERT_TRUE(rs.setSort("ID DESC"));
    rs.moveFirst(); // C
    ASSERT_TRUE(rs.find("ID < 'C'"));
    EXPECT_EQ(rs.absolutePosition(), 2);
    ASSERT_TRUE(rs.find("ID = 'D'"));
    EXPECT_TRUE(rs.eof());
}

TEST_F(RecordsetTest, FindFromTheGapTakesTheRowsEitherSideAsOneStepAway)
{
    fill(rs, "ABAB");
    rs.setAbsolutePosition(2);
    rs.deleteCurrent(); // A | A B
    ASSERT_TRUE(rs.find("ID = 'A'", 1));
    EXPECT_EQ(rs.absolutePosition(), 2);
    rs.deleteCurrent(); // A | B
    ASSERT_TRUE(rs.find("ID = 'A'", 0, false));
    EXPECT_EQ(rs.absolutePosition(), 1);
    ASSERT_TRUE(rs.find("ID = 'B'"));
    EXPECT_EQ(rs.absolutePosition(), 2);
    rs.deleteCurrent(); // A |
    ASSERT_TRUE(rs.find("ID = 'A'", 1, false));
    EXPECT_EQ(rs.absolutePosition(), 1);
}

// --- size --------------------------------------------------------------------

// A hundred thousand voices: anything quadratic here would not finish.
TEST(RecordsetLarge, HundredThousandRows)
{
    constexpr long kRows = 100000;
    Recordset rs;
    declareFields(rs);
    rs.open();
    for (long i = 0; i < kRows; ++i) {
        rs.addNew();
        rs.setValue(0, std::int32_t{static_cast<std::int32_t>(i)});
        rs.setValue(1, std::string(1, static_cast<char>('A' + (i * 7919) % 26)) + std::to_string(i % 1000));
        rs.setValue(4, i % 3 == 0);
    }
    ASSERT_EQ(rs.recordCount(), kRows);

    auto sorted = rs.clone();
    ASSERT_TRUE(sorted->setSort("Names"));
    std::string previous;
    long seen = 0;
    for (sorted->moveFirst(); !sorted->eof(); sorted->moveNext(), ++seen) {
        const std::string name = sorted->text("Names");
        ASSERT_LE(previous, name);
        previous = name;
    }
    EXPECT_EQ(seen, kRows);

    std::vector<Recordset::Bookmark> marks;
    for (rs.moveFirst(); !rs.eof(); rs.move(2))
        marks.push_back(rs.bookmark());
    rs.setFilter(marks);
    EXPECT_EQ(rs.recordCount(), kRows / 2);
    rs.setBookmark(marks[40000]);
    EXPECT_EQ(rs.absolutePosition(), 40001);

    // Delete every third row one by one, then the rest of the marked ones at once.
    auto all = rs.clone();
    for (all->moveFirst(); !all->eof(); all->moveNext())
        if (all->boolean("DelSelected") && all->number("ID") > kRows / 2)
            all->deleteCurrent();
    all->setAbsolutePosition(kRows / 4);
    EXPECT_EQ(all->number("ID"), static_cast<double>(kRows / 4 - 1));
    ASSERT_TRUE(all->setFilter("DelSelected = True"));
    all->deleteFiltered();
    all->clearFilter();
    const long left = kRows - (kRows + 2) / 3;
    EXPECT_EQ(all->recordCount(), left);
    all->moveLast();
    EXPECT_EQ(all->absolutePosition(), left);
    EXPECT_EQ(sorted->recordCount(), left);
}

} // namespace
} // namespace toneloft
