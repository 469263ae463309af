#pragma once

#include <array>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace toneloft::test {

// One of the 32 algorithms as the published chart draws it, cross-checked
// against several independent sources: the carriers, the modulation edges
// (modulator > modulated), the feedback loop and the chart's rows of boxes
// from top to bottom.
struct AlgorithmChartEntry {
    std::set<int> carriers;
    std::set<std::pair<int, int>> edges;
    int feedbackFrom = 0;
    int feedbackTo = 0;
    std::vector<std::vector<int>> rows;

    bool carrier(int op) const { return carriers.count(op) != 0; }
    bool edge(int from, int to) const { return edges.count({from, to}) != 0; }
};

// Algorithm n (1..32) of the chart.
inline const AlgorithmChartEntry& algorithmChart(int n)
{
    // carriers; edges "a>b"; feedback "s>d"; rows "top|...|bottom"
    static constexpr const char* kChart[32][4] = {
        {"1,3", "2>1,4>3,5>4,6>5", "6>6", "6|5|2,4|1,3"},
        {"1,3", "2>1,4>3,5>4,6>5", "2>2", "6|5|2,4|1,3"},
        {"1,4", "2>1,3>2,5>4,6>5", "6>6", "3,6|2,5|1,4"},
        {"1,4", "2>1,3>2,5>4,6>5", "4>6", "3,6|2,5|1,4"},
        {"1,3,5", "2>1,4>3,6>5", "6>6", "2,4,6|1,3,5"},
        {"1,3,5", "2>1,4>3,6>5", "5>6", "2,4,6|1,3,5"},
        {"1,3", "2>1,4>3,5>3,6>5", "6>6", "6|2,4,5|1,3"},
        {"1,3", "2>1,4>3,5>3,6>5", "4>4", "6|2,4,5|1,3"},
        {"1,3", "2>1,4>3,5>3,6>5", "2>2", "6|2,4,5|1,3"},
        {"1,4", "2>1,3>2,5>4,6>4", "3>3", "3|5,6,2|4,1"},
        {"1,4", "2>1,3>2,5>4,6>4", "6>6", "3|5,6,2|4,1"},
        {"1,3", "2>1,4>3,5>3,6>3", "2>2", "4,5,6,2|3,1"},
        {"1,3", "2>1,4>3,5>3,6>3", "6>6", "4,5,6,2|3,1"},
        {"1,3", "2>1,4>3,5>4,6>4", "6>6", "5,6|2,4|1,3"},
        {"1,3", "2>1,4>3,5>4,6>4", "2>2", "5,6|2,4|1,3"},
        {"1", "2>1,3>1,5>1,4>3,6>5", "6>6", "4,6|2,3,5|1"},
        {"1", "2>1,3>1,5>1,4>3,6>5", "2>2", "4,6|2,3,5|1"},
        {"1", "2>1,3>1,4>1,5>4,6>5", "3>3", "6|5|2,3,4|1"},
        {"1,4,5", "2>1,3>2,6>4,6>5", "6>6", "3|2,6|1,4,5"},
        {"1,2,4", "3>1,3>2,5>4,6>4", "3>3", "3,5,6|1,2,4"},
        {"1,2,4,5", "3>1,3>2,6>4,6>5", "3>3", "3,6|1,2,4,5"},
        {"1,3,4,5", "2>1,6>3,6>4,6>5", "6>6", "2,6|1,3,4,5"},
        {"1,2,4,5", "3>2,6>4,6>5", "6>6", "3,6|1,2,4,5"},
        {"1,2,3,4,5", "6>3,6>4,6>5", "6>6", "6|1,2,3,4,5"},
        {"1,2,3,4,5", "6>4,6>5", "6>6", "6|1,2,3,4,5"},
        {"1,2,4", "3>2,5>4,6>4", "6>6", "3,5,6|1,2,4"},
        {"1,2,4", "3>2,5>4,6>4", "3>3", "3,5,6|1,2,4"},
        {"1,3,6", "2>1,4>3,5>4", "5>5", "5|2,4|1,3,6"},
        {"1,2,3,5", "4>3,6>5", "6>6", "4,6|1,2,3,5"},
        {"1,2,3,6", "4>3,5>4", "5>5", "5|4|1,2,3,6"},
        {"1,2,3,4,5", "6>5", "6>6", "6|1,2,3,4,5"},
        {"1,2,3,4,5,6", "", "6>6", "1,2,3,4,5,6"},
    };
    static const std::array<AlgorithmChartEntry, 32> entries = [] {
        auto split = [](const std::string& s, char by) {
            std::vector<std::string> parts;
            std::stringstream in(s);
            for (std::string part; std::getline(in, part, by);)
                if (!part.empty())
                    parts.push_back(part);
            return parts;
        };
        std::array<AlgorithmChartEntry, 32> all;
        for (std::size_t a = 0; a < 32; ++a) {
            AlgorithmChartEntry& e = all[a];
            for (const auto& c : split(kChart[a][0], ','))
                e.carriers.insert(std::stoi(c));
            for (const auto& edge : split(kChart[a][1], ','))
                e.edges.insert({edge[0] - '0', edge[2] - '0'});
            e.feedbackFrom = kChart[a][2][0] - '0';
            e.feedbackTo = kChart[a][2][2] - '0';
            for (const auto& row : split(kChart[a][3], '|')) {
                e.rows.emplace_back();
                for (const auto& op : split(row, ','))
                    e.rows.back().push_back(std::stoi(op));
            }
        }
        return all;
    }();
    return entries.at(static_cast<std::size_t>(n - 1));
}

} // namespace toneloft::test
