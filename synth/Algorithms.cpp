#include "synth/Algorithms.h"

#include <algorithm>
#include <bit>
#include <string_view>

namespace toneloft::synth {

namespace {

// One algorithm as its chart reads: carriers, "a>b" modulation edges and the
// feedback path "from>to", operators numbered 1..6.
struct Chart {
    std::string_view carriers;
    std::string_view edges;
    std::string_view feedback;
};

constexpr std::array<Chart, 32> kCharts{{
    {"13", "21 43 54 65", "66"},    {"13", "21 43 54 65", "22"},    {"14", "21 32 54 65", "66"},
    {"14", "21 32 54 65", "46"},    {"135", "21 43 65", "66"},      {"135", "21 43 65", "56"},
    {"13", "21 43 53 65", "66"},    {"13", "21 43 53 65", "44"},    {"13", "21 43 53 65", "22"},
    {"14", "21 32 54 64", "33"},    {"14", "21 32 54 64", "66"},    {"13", "21 43 53 63", "22"},
    {"13", "21 43 53 63", "66"},    {"13", "21 43 54 64", "66"},    {"13", "21 43 54 64", "22"},
    {"1", "21 31 51 43 65", "66"},  {"1", "21 31 51 43 65", "22"},  {"1", "21 31 41 54 65", "33"},
    {"145", "21 32 64 65", "66"},   {"124", "31 32 54 64", "33"},   {"1245", "31 32 64 65", "33"},
    {"1345", "21 63 64 65", "66"},  {"1245", "32 64 65", "66"},     {"12345", "63 64 65", "66"},
    {"12345", "64 65", "66"},       {"124", "32 54 64", "66"},      {"124", "32 54 64", "33"},
    {"136", "21 43 54", "55"},      {"1235", "43 65", "66"},        {"1236", "43 54", "55"},
    {"12345", "65", "66"},          {"123456", "", "66"},
}};

constexpr int digit(char c)
{
    return c - '1';
}

std::array<Algorithm, 32> build()
{
    std::array<Algorithm, 32> table{};
    for (std::size_t n = 0; n < kCharts.size(); ++n) {
        const Chart& chart = kCharts[n];
        Algorithm& a = table[n];
        for (const char c : chart.carriers)
            a.carriers = static_cast<std::uint8_t>(a.carriers | (1u << digit(c)));
        for (std::size_t i = 0; i < chart.edges.size(); i += 3) {
            const int from = digit(chart.edges[i]);
            const int to = digit(chart.edges[i + 1]);
            a.modulators[static_cast<std::size_t>(to)] =
                static_cast<std::uint8_t>(a.modulators[static_cast<std::size_t>(to)] | (1u << from));
        }
        a.feedbackFrom = digit(chart.feedback[0]);
        a.feedbackTo = digit(chart.feedback[1]);
        a.carrierCount = std::popcount(a.carriers);
    }
    return table;
}

} // namespace

const Algorithm& algorithm(int number)
{
    static const std::array<Algorithm, 32> table = build();
    return table[static_cast<std::size_t>(std::clamp(number, 0, 31))];
}

} // namespace toneloft::synth
