#include "library/EdgePager.h"

#include <gtest/gtest.h>

namespace toneloft {
namespace {

TEST(EdgePager, DelaysShrinkWithConsecutiveSteps)
{
    EXPECT_EQ(EdgePager::delayAfter(0), 1000);
    EXPECT_EQ(EdgePager::delayAfter(1), 333);
    EXPECT_EQ(EdgePager::delayAfter(2), 200);
    EXPECT_EQ(EdgePager::delayAfter(3), 143);
    EXPECT_EQ(EdgePager::delayAfter(49), 10);
    EXPECT_EQ(EdgePager::delayAfter(500), 10);
}

TEST(EdgePager, RightEdgePagesAfterASecondThenFaster)
{
    EdgePager pager;
    long bank = 1;
    bank = pager.dragOver(95, 100, bank, 200, 5000); // enters the zone
    EXPECT_EQ(bank, 1);
    EXPECT_EQ(pager.dragOver(95, 100, bank, 200, 5999), 1);
    bank = pager.dragOver(95, 100, bank, 200, 6000);
    EXPECT_EQ(bank, 2);
    EXPECT_EQ(pager.dragOver(95, 100, bank, 200, 6332), 2);
    bank = pager.dragOver(95, 100, bank, 200, 6333);
    EXPECT_EQ(bank, 3);
    bank = pager.dragOver(95, 100, bank, 200, 6533);
    EXPECT_EQ(bank, 4);
}

TEST(EdgePager, StopsAtTheEndsAndRestartsOnDirectionChange)
{
    EdgePager pager;
    long bank = 7; // the last of 7 banks
    pager.dragOver(99, 100, bank, 224, 100);
    EXPECT_EQ(pager.dragOver(99, 100, bank, 224, 5000), 7);
    pager.dragOver(2, 100, bank, 224, 5000);              // left edge: starts again
    EXPECT_EQ(pager.dragOver(2, 100, bank, 224, 5999), 7);
    bank = pager.dragOver(2, 100, bank, 224, 6000);
    EXPECT_EQ(bank, 6);
    pager.dragOver(50, 100, bank, 224, 6100);             // middle resets
    pager.dragOver(2, 100, bank, 224, 6200);
    EXPECT_EQ(pager.dragOver(2, 100, bank, 224, 6600), 6); // 1000 ms again, not 333
}

TEST(EdgePager, OneBankListNeverPagesAndFrameResets)
{
    EdgePager pager;
    pager.dragOver(99, 100, 1, 32, 0);
    EXPECT_EQ(pager.dragOver(99, 100, 1, 32, 9000), 1);
    pager.dragOver(99, 100, 1, 64, 1000);
    pager.reset();
    EXPECT_EQ(pager.dragOver(99, 100, 1, 64, 2000), 1); // start time was forgotten
    EXPECT_EQ(pager.dragOver(99, 100, 1, 64, 3000), 2);
}

TEST(EdgePager, DropAllowedOnVoiceOrEmptyList)
{
    EXPECT_TRUE(dropAllowed(true, 3, 10));
    EXPECT_FALSE(dropAllowed(true, 0, 10));
    EXPECT_TRUE(dropAllowed(true, 0, 0));
    EXPECT_FALSE(dropAllowed(false, 3, 10));
}

} // namespace
} // namespace toneloft
