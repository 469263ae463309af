#include "library/VoiceListPrintLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace toneloft {
namespace {

using Layout = VoiceListPrintLayout;

std::vector<std::string> numbered(int count)
{
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back("V" + std::to_string(i));
    return names;
}

TEST(VoiceListPrintLayout, FortyVoicesTwoSetsOnOnePage)
{
    const auto pages = Layout::layout(numbered(40), 1, 2);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].total, 1);
    ASSERT_EQ(pages[0].blocks.size(), 1u);
    const auto& sets = pages[0].blocks[0].sets;
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0].number, 1);
    EXPECT_EQ(sets[0].bankA[0], "V1");
    EXPECT_EQ(sets[0].bankA[15], "V16");
    EXPECT_EQ(sets[0].bankB[0], "V17");
    EXPECT_EQ(sets[0].bankB[15], "V32");
    EXPECT_EQ(sets[1].number, 2);
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(sets[1].bankA[static_cast<std::size_t>(r)], "V" + std::to_string(33 + r));
    for (int r = 8; r < 16; ++r)
        EXPECT_EQ(sets[1].bankA[static_cast<std::size_t>(r)], "");
    for (const auto& name : sets[1].bankB)
        EXPECT_EQ(name, "");
}

TEST(VoiceListPrintLayout, BankRangeAndPaging)
{
    // Banks 2 to 3 only, numbered as in the list.
    auto pages = Layout::layout(numbered(100), 2, 3);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].blocks[0].sets.size(), 2u);
    EXPECT_EQ(pages[0].blocks[0].sets[0].number, 2);
    EXPECT_EQ(pages[0].blocks[0].sets[0].bankA[0], "V33");
    EXPECT_EQ(pages[0].blocks[0].sets[1].number, 3);

    // 1,000 voices: 32 banks, 16 a page in four blocks of four.
    pages = Layout::layout(numbered(1000), 1, 32);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1].number, 2);
    EXPECT_EQ(pages[1].total, 2);
    ASSERT_EQ(pages[1].blocks.size(), 4u);
    EXPECT_EQ(pages[1].blocks[3].sets.back().number, 32);
    EXPECT_EQ(pages[1].blocks[3].sets.back().bankA[7], "V1000");
    EXPECT_EQ(pages[1].blocks[3].sets.back().bankA[8], "");
    // 17 banks: the second page holds one set.
    pages = Layout::layout(numbered(17 * 32), 1, 17);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1].blocks.size(), 1u);
    EXPECT_EQ(pages[1].blocks[0].sets.size(), 1u);
}

TEST(VoiceListPrintLayout, HighCharactersPrintAsBlanksAndTexts)
{
    std::vector<std::string> names{std::string("AB\xC8") + "D", std::string("\x80\xFF")};
    const auto pages = Layout::layout(names, 1, 1);
    EXPECT_EQ(pages[0].blocks[0].sets[0].bankA[0], "AB D");
    EXPECT_EQ(pages[0].blocks[0].sets[0].bankA[1], "  ");
    EXPECT_EQ(Layout::heading("bank.syx", "05/12/2026.15:04:39"),
              "Voice listing for bank.syx at  05/12/2026.15:04:39");
    EXPECT_EQ(Layout::pageText(1, 2), "Page 1 of 2");
    EXPECT_EQ(Layout::bankAColumn(1), 18);
    EXPECT_EQ(Layout::bankBColumn(4), 144);
    // An empty list still prints one (empty) set.
    EXPECT_EQ(Layout::layout({}, 1, 1).size(), 1u);
}

} // namespace
} // namespace toneloft
