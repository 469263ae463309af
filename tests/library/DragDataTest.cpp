#include "library/DragData.h"

#include <gtest/gtest.h>

namespace toneloft {
namespace {

TEST(DragData, TextHasBlankBeforeEachNumberButTheType)
{
    const DragData d{0, "L0001", {1, 5}};
    EXPECT_EQ(d.text(), "0,L0001, 2, 1, 5,:");
    EXPECT_EQ((DragData{3, "L0012", {}}).text(), "3,L0012, 0,:");
}

TEST(DragData, ParsesWhatItWrites)
{
    const DragData d{2, "L0003", {4, 32, 33, 100000}};
    const auto back = DragData::parse(d.text());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->fileType, 2);
    EXPECT_EQ(back->key, "L0003");
    EXPECT_EQ(back->voices, d.voices);
}

class DragDataRejects : public ::testing::TestWithParam<const char*> {};

TEST_P(DragDataRejects, MalformedText)
{
    EXPECT_FALSE(DragData::parse(GetParam()).has_value());
}

INSTANTIATE_TEST_SUITE_P(Texts, DragDataRejects,
                         ::testing::Values("", ":", "0,L0001, 1, 1,", "0,L0001, 2, 1,:",
                                           "0,L0001, 1, x,:", "0,, 1, 1,:", "7,L0001, 1, 1,:",
                                           "0,L0001, 2, 5, 1,:", "0,L0001, 1, 0,:",
                                           "0,L0001, 1,  1,:", "hello"));

TEST(DragData, SelectionsBeforeTarget)
{
    EXPECT_EQ(FindSelectionsBeforeTarget("0,L0001, 3, 2, 3, 12,:", 10), 2);
    EXPECT_EQ(FindSelectionsBeforeTarget("0,L0001, 3, 2, 3, 12,:", 2), 0);
    EXPECT_EQ(FindSelectionsBeforeTarget("0,L0001, 3, 2, 3, 12,:", 13), 3);
    EXPECT_EQ(FindSelectionsBeforeTargetB({"0", "L0001", " 2", " 7", " 9", ":"}, 8), 1);
}

} // namespace
} // namespace toneloft
