#include "library/EdgePager.h"

#include <gtest/gtest.h>

namespace toneloft {
namespace {

TEST(EdgePager, FourStepsAt400MsThenEachFifteenPercentShorter)
{
    for (int k = 0; k <= 3; ++k)
        EXPECT_EQ(EdgePager::delayAfter(k), 400) << k;
    EXPECT_EQ(EdgePager::delayAfter(4), 340);
    EXPECT_EQ(EdgePager::delayAfter(5), 289);
    EXPECT_EQ(EdgePager::delayAfter(6), 246);
    EXPECT_EQ(EdgePager::delayAfter(9), 151);
    EXPECT_EQ(EdgePager::delayAfter(10), 150);
    EXPECT_EQ(EdgePager::delayAfter(500), 150);
}

TEST(EdgePager, RightEdgePagesEvery400Ms)
{
    EdgePager pager;
    long bank = 1;
    bank = pager.dragOver(95, 100, bank, 200, 5000); // enters the zone
    EXPECT_EQ(bank, 1);
    EXPECT_EQ(pager.dragOver(95, 100, bank, 200, 5399), 1);
    bank = pager.dragOver(95, 100, bank, 200, 5400);
    EXPECT_EQ(bank, 2);
    EXPECT_EQ(pager.dragOver(95, 100, bank, 200, 5799), 2);
    bank = pager.dragOver(95, 100, bank, 200, 5800);
    EXPECT_EQ(bank, 3);
    bank = pager.dragOver(95, 100, bank, 200, 6200);
    EXPECT_EQ(bank, 4);
}

TEST(EdgePager, StopsAtTheEndsAndRestartsOnDirectionChange)
{
    EdgePager pager;
    long bank = 7; // the last of 7 banks
    pager.dragOver(99, 100, bank, 224, 100);
    EXPECT_EQ(pager.dragOver(99, 100, bank, 224, 5000), 7);
    pager.dragOver(2, 100, bank, 224, 5000);              // left edge: starts again
    EXPECT_EQ(pager.dragOver(2, 100, bank, 224, 5399), 7);
    bank = pager.dragOver(2, 100, bank, 224, 5400);
    EXPECT_EQ(bank, 6);
    pager.dragOver(50, 100, bank, 224, 5500);             // middle resets
    pager.dragOver(2, 100, bank, 224, 5600);
    EXPECT_EQ(pager.dragOver(2, 100, bank, 224, 5999), 6); // a full 400 ms again
    EXPECT_EQ(pager.dragOver(2, 100, bank, 224, 6000), 5);
}

TEST(EdgePager, OneBankListNeverPagesAndFrameResets)
{
    EdgePager pager;
    pager.dragOver(99, 100, 1, 32, 0);
    EXPECT_EQ(pager.dragOver(99, 100, 1, 32, 9000), 1);
    pager.dragOver(99, 100, 1, 64, 1000);
    pager.reset();
    EXPECT_EQ(pager.dragOver(99, 100, 1, 64, 2000), 1); // start time was forgotten
    EXPECT_EQ(pager.dragOver(99, 100, 1, 64, 2400), 2);
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
