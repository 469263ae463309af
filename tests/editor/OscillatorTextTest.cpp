#include "editor/modOscillator.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace toneloft::test {
namespace {

using namespace modOscillator;

struct TextCase {
    int mode;
    int coarse;
    int fine;
    const char* text;
};

class FrequencyTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(FrequencyTexts, ShowRatiosAndFixedFrequencies)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(FrequencyText(c.mode, c.coarse, c.fine), c.text);
}

INSTANTIATE_TEST_SUITE_P(Oscillator, FrequencyTexts,
                         ::testing::Values(TextCase{0, 0, 0, ".5"},         // coarse 0 counts as 0.5
                                           TextCase{0, 0, 50, ".75"},
                                           TextCase{0, 1, 0, "1.0"},
                                           TextCase{0, 2, 5, "2.1"},          // 2.10 without its last zero
                                           TextCase{0, 31, 99, "61.69"},
                                           TextCase{1, 0, 0, "1.000 Hz"},
                                           TextCase{1, 0, 94, "8.710 Hz"},    // 10^0.94 to the thousandth
                                           TextCase{1, 1, 0, "10.00 Hz"},
                                           TextCase{1, 5, 0, "10.00 Hz"},     // coarse 4..31 repeat the decades
                                           TextCase{1, 2, 1, "102.3 Hz"},
                                           TextCase{1, 3, 99, "9772 Hz"},
                                           TextCase{1, 31, 44, "2754 Hz"}));  // 10^0.44 = 2.754

TEST(AlgorithmCaptions, CarryTheNumberWithItsLeadingBlank)
{
    EXPECT_EQ(AlgorithmCaption(0), "  Algorithm  1  ");
    EXPECT_EQ(AlgorithmCaption(4), "  Algorithm  5  ");
    EXPECT_EQ(AlgorithmCaption(31), "  Algorithm  32  ");
}

struct ParseCase {
    const char* text;
    bool fixed;
    std::optional<CoarseFine> expected;
};

class TypedFrequencies : public ::testing::TestWithParam<ParseCase> {};

TEST_P(TypedFrequencies, FindTheirCoarseAndFine)
{
    const ParseCase& c = GetParam();
    const auto got = ParseTypedFrequency(c.text, c.fixed);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.text;
    if (got) {
        EXPECT_EQ(got->coarse, c.expected->coarse) << c.text;
        EXPECT_EQ(got->fine, c.expected->fine) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Oscillator, TypedFrequencies,
    ::testing::Values(ParseCase{"1023 Hz", true, CoarseFine{3, 1}}, ParseCase{"1023Hz", true, CoarseFine{3, 1}},
                      ParseCase{"1.023", true, CoarseFine{0, 1}}, ParseCase{"102.3", true, CoarseFine{2, 1}},
                      ParseCase{"1.000 Hz", true, CoarseFine{0, 0}}, ParseCase{"8.71", true, CoarseFine{0, 94}},
                      ParseCase{"1024", true, std::nullopt},      // not one of the 100 of its decade
                      ParseCase{"9.9995", true, CoarseFine{0, 0}}, // between the bands: coarse 0, fine 0
                      ParseCase{"9773", true, std::nullopt}, ParseCase{"0.5", false, CoarseFine{0, 0}},
                      ParseCase{"0.4", false, std::nullopt}, ParseCase{"1", false, CoarseFine{1, 0}},
                      ParseCase{"2", false, CoarseFine{2, 0}}, ParseCase{".75", false, CoarseFine{0, 50}},
                      ParseCase{"3.03", false, CoarseFine{3, 1}}, ParseCase{"41.23", false, CoarseFine{31, 33}},
                      ParseCase{"Hz", false, std::nullopt}, ParseCase{"", true, std::nullopt}));

} // namespace
} // namespace toneloft::test
