#include "editor/AlgorithmLayout.h"

#include "support/AlgorithmChart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

namespace toneloft {
namespace {

class AlgorithmChart : public testing::TestWithParam<int> {
protected:
    const test::AlgorithmChartEntry& chart() const { return test::algorithmChart(GetParam() + 1); }
    const AlgorithmLayout& layout() const { return AlgorithmLayoutOf(GetParam()); }
};

TEST_P(AlgorithmChart, RoutingMatchesTheChart)
{
    EXPECT_EQ(std::set<int>(layout().carriers.begin(), layout().carriers.end()), chart().carriers);
    std::set<std::pair<int, int>> drawn;
    for (const auto& link : layout().links)
        drawn.insert({link.from, link.to});
    EXPECT_EQ(drawn, chart().edges);
    EXPECT_EQ(layout().feedbackFrom, chart().feedbackFrom);
    EXPECT_EQ(layout().feedbackTo, chart().feedbackTo);
}

TEST_P(AlgorithmChart, BoxesStandAsOnTheChart)
{
    const auto& rows = chart().rows;
    EXPECT_EQ(layout().rows, rows);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t i = 0; i < rows[r].size(); ++i) {
            const auto& box = layout().box(rows[r][i]);
            EXPECT_EQ(box.row, static_cast<int>(r)) << "operator " << rows[r][i];
            // Neighbours in a row never touch.
            if (i > 0) {
                EXPECT_GE(box.column - layout().box(rows[r][i - 1]).column,
                          AlgorithmLayout::kBoxWidth + 0.3);
            }
        }
    EXPECT_EQ(layout().carriers, rows.back());
}

TEST_P(AlgorithmChart, LinesJoinTheirBoxes)
{
    const AlgorithmLayout& l = layout();
    const double half = AlgorithmLayout::kBoxHeight / 2;
    auto inBounds = [&](DiagramPoint p) {
        return p.x >= l.topLeft.x && p.x <= l.bottomRight.x && p.y >= l.topLeft.y && p.y <= l.bottomRight.y;
    };
    for (const auto& link : l.links) {
        const auto& from = l.box(link.from);
        const auto& to = l.box(link.to);
        ASSERT_GE(link.line.size(), 2u);
        EXPECT_EQ(link.line.front(), (DiagramPoint{from.column, from.row + half}));
        EXPECT_EQ(link.line.back(), (DiagramPoint{to.column, to.row - half}));
        EXPECT_EQ(from.row + 1, to.row) << link.from << ">" << link.to;
        // Lines run only across and down.
        for (std::size_t i = 1; i < link.line.size(); ++i) {
            const DiagramPoint a = link.line[i - 1];
            const DiagramPoint b = link.line[i];
            EXPECT_TRUE(a.x == b.x || a.y == b.y);
            EXPECT_GE(b.y, a.y);
        }
    }
    // Every carrier goes down to the one bus, which spans them all.
    ASSERT_EQ(l.outputLines.size(), l.carriers.size() + 1);
    const auto& bus = l.outputLines.back();
    for (std::size_t i = 0; i < l.carriers.size(); ++i) {
        const auto& box = l.box(l.carriers[i]);
        EXPECT_EQ(l.outputLines[i].front(), (DiagramPoint{box.column, box.row + half}));
        EXPECT_EQ(l.outputLines[i].back().y, bus.front().y);
        EXPECT_GT(box.column, bus.front().x);
        EXPECT_LT(box.column, bus.back().x);
    }
    // The loop leaves under its source and enters its receiver from above,
    // passing to the right of both.
    const auto& s = l.box(l.feedbackFrom);
    const auto& d = l.box(l.feedbackTo);
    EXPECT_EQ(l.feedbackLine.front(), (DiagramPoint{s.column, s.row + half}));
    EXPECT_EQ(l.feedbackLine.back(), (DiagramPoint{d.column, d.row - half}));
    double right = 0;
    for (const DiagramPoint p : l.feedbackLine) {
        EXPECT_TRUE(inBounds(p));
        right = std::max(right, p.x);
    }
    EXPECT_GT(right, std::max(s.column, d.column) + AlgorithmLayout::kBoxWidth / 2);
    // A press on a box finds its operator, between boxes none.
    for (int op = 1; op <= 6; ++op)
        EXPECT_EQ(l.operatorAt({l.box(op).column, static_cast<double>(l.box(op).row)}), op);
    EXPECT_EQ(l.operatorAt({l.box(1).column, l.box(1).row - 0.5}), 0);
}

INSTANTIATE_TEST_SUITE_P(All32, AlgorithmChart, testing::Range(0, 32),
                         [](const testing::TestParamInfo<int>& p) {
                             return "Algorithm" + std::to_string(p.param + 1);
                         });

TEST(AlgorithmOfNodeText, ReadsTheNumberAfterAlg)
{
    EXPECT_EQ(AlgorithmOfNodeText("5 E.PIANO 1  (Alg 5)"), 4);
    EXPECT_EQ(AlgorithmOfNodeText("12 BRASS   1 (Alg 32) BASE"), 31);
    EXPECT_EQ(AlgorithmOfNodeText("1 X (Alg1)"), 0);
    EXPECT_EQ(AlgorithmOfNodeText("1 X (Alg 0)"), std::nullopt);
    EXPECT_EQ(AlgorithmOfNodeText("1 X (Alg 33)"), std::nullopt);
    EXPECT_EQ(AlgorithmOfNodeText("1 X (Alg"), std::nullopt);
    EXPECT_EQ(AlgorithmOfNodeText("Operator 1"), std::nullopt);
}

} // namespace
} // namespace toneloft
