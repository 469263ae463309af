#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

namespace toneloft {
namespace {

struct FormatCase {
    double value;
    const char* pattern;
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << "Format(" << c.value << ", \"" << c.pattern << "\")";
}

class FormatPattern : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatPattern, WritesPicture)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(Format(c.value, c.pattern), c.expected);
}

// File sizes and counts in the properties panel.
INSTANTIATE_TEST_SUITE_P(Grouped, FormatPattern, testing::Values(
    FormatCase{1234567, "#,###,###,##0", "1,234,567"},
    FormatCase{0, "#,###,###,##0", "0"},
    FormatCase{999, "#,###,###,##0", "999"},
    FormatCase{1000, "#,###,###,##0", "1,000"},
    // more digits than placeholders keep their separators
    FormatCase{12345678901, "#,###,###,##0", "12,345,678,901"},
    FormatCase{-1234567, "#,###,###,##0", "-1,234,567"}));

// Receive countdowns: the leading blanks are literal.
INSTANTIATE_TEST_SUITE_P(Seconds, FormatPattern, testing::Values(
    FormatCase{2.5, "  0.000", "  2.500"},
    FormatCase{14.9996, "  0.000", "  15.000"},
    FormatCase{0.0005, "  0.000", "  0.001"},
    FormatCase{7.25, "  0.0", "  7.3"}, // half away from zero, not to even
    FormatCase{-2.5, "  0.000", "-  2.500"}));

// Oscillator frequencies: ratios and the four fixed decades.
INSTANTIATE_TEST_SUITE_P(Oscillator, FormatPattern, testing::Values(
    FormatCase{1.0, "##.0#", "1.0"},
    FormatCase{1.25, "##.0#", "1.25"},
    FormatCase{12.345, "##.0#", "12.35"}, // rounded as the decimal it was written as
    FormatCase{0.75, "#.###", ".75"},
    FormatCase{0.5, "#.###", ".5"},
    FormatCase{0.0001, "#.###", "."},
    FormatCase{1, "#.000", "1.000"},
    FormatCase{0.25, "#.000", ".250"},
    FormatCase{0.125, "#0.00", "0.13"},
    FormatCase{0, "##0.0", "0.0"},
    FormatCase{9772, "0000", "9772"},
    FormatCase{7, "0000", "0007"},
    FormatCase{12345, "0000", "12345"},
    FormatCase{1.5, ".00", "1.50"}));

// Monitor time stamps, progress texts, names and numbers in file names.
INSTANTIATE_TEST_SUITE_P(Counters, FormatPattern, testing::Values(
    FormatCase{1, "#0:", "1:"},
    FormatCase{0, "#0:", "0:"},
    FormatCase{123, "#0:", "123:"},
    FormatCase{23.4, "#0.0", "23.4"},
    FormatCase{-0.04, "#0.0", "0.0"}, // no minus on a value that rounds to zero
    FormatCase{5, "######", "5"},
    FormatCase{0, "######", ""},
    FormatCase{12.34, "###0.0", "12.3"},
    FormatCase{1.5, "#0.##", "1.5"},
    FormatCase{2, "#0.##", "2."},
    FormatCase{0.004, "#0.##", "0."},
    FormatCase{7, " ##0", " 7"},
    FormatCase{1234, " ##0", " 1234"},
    FormatCase{0, "####", ""},
    FormatCase{12345, "###", "12345"},
    FormatCase{3, "000", "003"},
    FormatCase{0.5, "000", "001"},
    FormatCase{2.5, "000", "003"}));

// Without a picture the number is written as Str writes it, without the blank.
INSTANTIATE_TEST_SUITE_P(NoPattern, FormatPattern, testing::Values(
    FormatCase{0.5, "", ".5"},
    FormatCase{144, "", "144"},
    FormatCase{-7, "", "-7"}));

TEST(FormatPattern, NonFiniteValuesGiveText)
{
    EXPECT_FALSE(Format(std::numeric_limits<double>::quiet_NaN(), "#0.0").empty());
    EXPECT_FALSE(Format(std::numeric_limits<double>::infinity(), "0000").empty());
    EXPECT_EQ(Format(std::numeric_limits<double>::max(), "#,##0").size(), 309u + 102u);
    EXPECT_EQ(Format(std::numeric_limits<double>::denorm_min(), "0.00"), "0.00");
}

struct StrCase {
    std::string actual;
    const char* expected;
};

class StrText : public testing::TestWithParam<StrCase> {};

TEST_P(StrText, WritesNumber)
{
    EXPECT_EQ(GetParam().actual, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Integers, StrText, testing::Values(
    StrCase{Str(144), " 144"},
    StrCase{Str(-7), "-7"},
    StrCase{Str(LLONG_MIN), "-9223372036854775808"},
    StrCase{StrTrim(5), "5"},
    StrCase{StrTrim(-5), "-5"}));

// Seven significant digits, exponent form below 1E-04 and from 1E+07.
INSTANTIATE_TEST_SUITE_P(Singles, StrText, testing::Values(
    StrCase{Str(0.023f), " .023"},
    StrCase{Str(0.1f), " .1"},
    StrCase{Str(1.754f), " 1.754"},
    StrCase{Str(7.71f), " 7.71"},
    StrCase{Str(-0.5f), "-.5"},
    StrCase{Str(-0.0f), " 0"},
    StrCase{Str(0.00001f), " 1E-05"},
    StrCase{Str(1e-8f), " 1E-08"},
    StrCase{Str(1e7f), " 1E+07"},
    StrCase{Str(12345678.0f), " 1.234568E+07"}));

// Fifteen significant digits for doubles.
INSTANTIATE_TEST_SUITE_P(Doubles, StrText, testing::Values(
    StrCase{Str(0.1 + 0.2), " .3"},
    StrCase{Str(1.0 / 3.0), " .333333333333333"},
    StrCase{Str(123456789012345.0), " 123456789012345"},
    StrCase{Str(1e15), " 1E+15"},
    StrCase{Str(1e-5), " 1E-05"},
    StrCase{Str(-0.0), " 0"}));

// The fine-frequency display: thousandths held as singles must come back as
// the three decimals they stand for, not as the binary value's long tail.
TEST(StrText, ThousandthsHeldAsSingles)
{
    for (int entry = 1000; entry <= 9999; ++entry) {
        const float shown = static_cast<float>(entry / 1000.0 - 1);
        const int whole = (entry - 1000) / 1000;
        std::string fraction = std::to_string((entry - 1000) % 1000 + 1000).substr(1);
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
        std::string expected = " " + (whole == 0 && !fraction.empty() ? "" : std::to_string(whole));
        if (!fraction.empty())
            expected += "." + fraction;
        ASSERT_EQ(Str(shown), expected) << "entry " << entry;
    }
}

#ifndef _WIN32
TEST(FormatDateTime, DayMonthYearThenTwentyFourHourLocalTime)
{
    const char* saved = std::getenv("TZ");
    const std::optional<std::string> oldZone = saved ? std::optional<std::string>(saved) : std::nullopt;
    setenv("TZ", "UTC0", 1);
    tzset();
    EXPECT_EQ(FormatDateTime(0), "01/01/1970.00:00:00");
    EXPECT_EQ(FormatDateTime(1234567890), "13/02/2009.23:31:30");
    setenv("TZ", "CET-1", 1);
    tzset();
    EXPECT_EQ(FormatDateTime(1234567890), "14/02/2009.00:31:30");
    if (oldZone)
        setenv("TZ", oldZone->c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
#endif

} // namespace
} // namespace toneloft
