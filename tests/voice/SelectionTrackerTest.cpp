#include "voice/SelectionTracker.h"

#include <gtest/gtest.h>

#include <vector>

namespace toneloft {
namespace {

using Effect = SelectionTracker::ClickEffect;

SelectionTracker withVoices(long count)
{
    SelectionTracker t;
    t.reset(0, count);
    return t;
}

TEST(SelectionTracker, ResetSetsOneVoiceOrNoneAndRefusesNegative)
{
    SelectionTracker t;
    EXPECT_TRUE(t.reset(3, 10));
    EXPECT_EQ(t.count(), 10);
    EXPECT_EQ(t.TotalSelections(), 1);
    EXPECT_EQ(t.selected(), std::vector<long>{3});

    EXPECT_FALSE(TrReset(-1, 4, t)); // refused: nothing changed
    EXPECT_EQ(t.count(), 10);
    EXPECT_TRUE(t.isSelected(3));

    EXPECT_TRUE(TrReset(11, 10, t)); // beyond the list: all clear
    EXPECT_EQ(t.TotalSelections(), 0);
}

TEST(SelectionTracker, AddClampsAndCountsEachVoiceOnce)
{
    auto t = withVoices(10);
    EXPECT_TRUE(t.add(8, 40));
    EXPECT_EQ(t.selected(), (std::vector<long>{8, 9, 10}));
    t.add(9, 0); // already set
    t.add(2, 0);
    EXPECT_EQ(t.TotalSelections(), 4);
    EXPECT_FALSE(t.add(0, 5));
    EXPECT_FALSE(t.add(11, 12));
    EXPECT_EQ(t.TotalSelections(), 4);
    EXPECT_EQ(t.unselected(), (std::vector<long>{1, 3, 4, 5, 6, 7}));
    EXPECT_EQ(t.selectedBefore(9), 2);
    EXPECT_EQ(t.selectedBefore(100), 4);
}

TEST(ClickRule, CtrlTogglesAndMovesTheAnchor)
{
    auto t = withVoices(20);
    EXPECT_EQ(t.UpDateTracker(4, false, false), Effect::Single);
    EXPECT_EQ(t.UpDateTracker(9, false, true), Effect::Toggled);
    EXPECT_EQ(t.TotalSelections(), 2);
    EXPECT_EQ(t.anchor, 9);
    t.UpDateTracker(4, false, true);
    EXPECT_EQ(t.TotalSelections(), 1);
    EXPECT_FALSE(t.isSelected(4));
    EXPECT_EQ(t.anchor, 4);
}

TEST(ClickRule, ShiftSelectsExactlyTheRangeFromTheAnchor)
{
    auto t = withVoices(40);
    t.UpDateTracker(12, false, false);
    t.add(30, 33);
    EXPECT_EQ(t.UpDateTracker(8, true, false), Effect::Range);
    EXPECT_EQ(t.selected(), (std::vector<long>{8, 9, 10, 11, 12}));
    EXPECT_EQ(t.TotalSelections(), 5);
    EXPECT_EQ(t.anchor, 12); // Shift keeps it
    t.UpDateTracker(15, true, false);
    EXPECT_EQ(t.selected(), (std::vector<long>{12, 13, 14, 15}));
}

TEST(ClickRule, ShiftRangeAfterCtrlAnchorClearsEverythingElse)
{
    auto t = withVoices(40);
    t.UpDateTracker(2, false, false);
    t.UpDateTracker(20, false, true);
    t.UpDateTracker(23, true, false);
    EXPECT_EQ(t.selected(), (std::vector<long>{20, 21, 22, 23}));
    t.UpDateTracker(18, true, false);
    EXPECT_EQ(t.selected(), (std::vector<long>{18, 19, 20}));
}

TEST(ClickRule, PlainClickOnSelectedVoiceKeepsMultiSelection)
{
    auto t = withVoices(10);
    t.add(2, 5);
    EXPECT_EQ(t.UpDateTracker(3, false, false), Effect::Kept);
    EXPECT_EQ(t.TotalSelections(), 4);
    EXPECT_EQ(t.UpDateTracker(7, false, false), Effect::Single);
    EXPECT_EQ(t.selected(), std::vector<long>{7});
}

TEST(ClickRule, VoiceOutsideTheListChangesNothing)
{
    auto t = withVoices(3);
    t.add(1, 0);
    t.UpDateTracker(4, false, true);
    t.UpDateTracker(0, true, false);
    EXPECT_EQ(t.selected(), std::vector<long>{1});
    EXPECT_EQ(t.anchor, 0);
}

} // namespace
} // namespace toneloft
