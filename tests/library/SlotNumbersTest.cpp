#include "library/SlotNumbers.h"

#include <gtest/gtest.h>

#include <string>

namespace toneloft {
namespace {

struct Slot {
    long position;
    const char* number;
    const char* half;
};

class SlotLabels : public ::testing::TestWithParam<Slot> {};

TEST_P(SlotLabels, NumbersAndCartridgeHalves)
{
    EXPECT_EQ(slotLabel(GetParam().position, SlotNumbering::Numbers), GetParam().number);
    EXPECT_EQ(slotLabel(GetParam().position, SlotNumbering::Halves), GetParam().half);
}

// The first column is A1..A16, the second B1..B16; outside a bank nothing.
INSTANTIATE_TEST_SUITE_P(Bank, SlotLabels,
                         ::testing::Values(Slot{1, "1", "A1"}, Slot{9, "9", "A9"}, Slot{16, "16", "A16"},
                                           Slot{17, "17", "B1"}, Slot{32, "32", "B16"}, Slot{0, "", ""},
                                           Slot{33, "", ""}));

TEST(SlotNumbering, OnlyTheHalvesTextChoosesHalves)
{
    EXPECT_EQ(slotNumberingFromText("A/B"), SlotNumbering::Halves);
    EXPECT_EQ(slotNumberingFromText("1-32"), SlotNumbering::Numbers);
    EXPECT_EQ(slotNumberingFromText(""), SlotNumbering::Numbers);
    EXPECT_EQ(slotNumberingFromText("a/b "), SlotNumbering::Numbers);
}

} // namespace
} // namespace toneloft
