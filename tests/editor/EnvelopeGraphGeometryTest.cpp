#include "editor/ChartMapping.h"
#include "editor/modEGGraph.h"

#include <gtest/gtest.h>

#include <map>

namespace toneloft {
namespace {

using namespace modEGGraph;

EnvelopeValues envelope(std::array<int, 4> rates, std::array<int, 4> levels)
{
    return {rates, levels};
}

TEST(EnvelopeTimes, SegmentLengthsAndTotals)
{
    // Rate 0 takes 15000 units, rate 99 about 47.7: four of each give the totals.
    const EnvelopeTiming slow = EnvelopeTimes({0, 0, 0, 0});
    EXPECT_DOUBLE_EQ(slow.x[0], 15000);
    EXPECT_DOUBLE_EQ(slow.total(), 60000);
    // At rate 0 the release is as slow as the drawn R4: key-off falls on the end.
    EXPECT_DOUBLE_EQ(slow.keyOffX, 60000);

    const EnvelopeTiming fast = EnvelopeTimes({99, 99, 99, 99});
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(fast.x[static_cast<std::size_t>(i)], 47.6957 * (i + 1), 1e-3) << "segment " << i + 1;
    EXPECT_NEAR(fast.keyOffX, 3 * 47.6957 + 23.8858, 1e-3);
}

TEST(EnvelopeTimes, PointsFollowRatesAndLevels)
{
    const auto points = EnvelopePoints(envelope({20, 30, 40, 50}, {99, 80, 60, 10}));
    const std::array<double, 6> xs{0, 272.8696, 448.7052, 577.2509, 627.7982, 678.0060};
    const std::array<double, 6> ys{10, 99, 80, 60, 60, 10};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(points[i].x, xs[i], 1e-3) << "point " << i + 1;
        EXPECT_EQ(points[i].y, ys[i]) << "point " << i + 1;
        EXPECT_EQ(points[i].label, i == 4 ? "Off" : "") << "point " << i + 1;
    }
}

TEST(EnvelopeTimes, ZoomSetsTheXAxis)
{
    // The box shows z / 16: at 1 the axis ends exactly at the envelope's end.
    EXPECT_EQ(XAxisMaximum(678.25, 4), 678.25);
    EXPECT_EQ(XAxisMaximum(678.25, 5), 678.25 / 2);
    EXPECT_EQ(XAxisMaximum(678.25, 2), 678.25 * 4);
}

TEST(EnvelopeTimes, BlocksByOperator)
{
    EXPECT_EQ(EnvelopeBlockStart(6), 1);
    EXPECT_EQ(EnvelopeBlockStart(1), 106);
    EXPECT_EQ(EnvelopeBlockStart(0), 127);
    std::map<int, int> rows;
    for (int p = 1; p <= 155; ++p)
        rows[p] = p;
    const EnvelopeValues e = ReadEnvelope(3, [&](int p) { return rows[p]; });
    EXPECT_EQ(e.rates, (std::array<int, 4>{64, 65, 66, 67}));
    EXPECT_EQ(e.levels, (std::array<int, 4>{68, 69, 70, 71}));
}

struct DragCase {
    const char* name;
    int op;
    int point;
    double x;
    double y;
    ParameterWrites expected;
};

class EnvelopeDrag : public testing::TestWithParam<DragCase> {};

// Rates 20, 30, 40, 50: x1 = 272.87, x2 = 448.71, x3 = 577.25.
TEST_P(EnvelopeDrag, TurnsAPositionIntoValues)
{
    const DragCase& c = GetParam();
    const EnvelopeValues e = envelope({20, 30, 40, 50}, {99, 80, 60, 10});
    EXPECT_EQ(EnvelopePointToValues(c.op, e, c.point, c.x, c.y), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Points, EnvelopeDrag,
    testing::Values(
        // Onto the previous point's x: the segment is 1 unit long, rate clamped to 99.
        DragCase{"RateOntoPreviousX", 1, 3, 272.8696, 40.2, {{107, 99, true}, {111, 40, true}}},
        DragCase{"FirstRateOntoStart", 6, 2, 0, 70, {{1, 99, true}, {5, 70, true}}},
        // One segment of rate 50 after point 3: rate 50 again.
        DragCase{"RateFromLength", 6, 4, 448.7052 + 100.7552, 55, {{3, 50, true}, {7, 55, true}}},
        // 15000 units is rate 0; longer still stays 0.
        DragCase{"SlowestRate", 2, 2, 15000, 0, {{85, 0, true}, {89, 0, true}}},
        DragCase{"BeyondSlowest", 2, 2, 40000, 0, {{85, 0, true}, {89, 0, true}}},
        // Left of the previous point counts as 1 unit.
        DragCase{"LeftOfPrevious", 6, 4, 100, 20, {{3, 99, true}, {7, 20, true}}},
        // Start and end points hold L4, kept within 0..99.
        DragCase{"StartAboveTop", 6, 1, 0, 120, {{8, 99, true}}},
        DragCase{"EndBelowZero", 6, 6, 900, -4, {{8, 0, true}}},
        DragCase{"EndRounds", 4, 6, 900, 41.6, {{50, 42, true}}},
        DragCase{"PitchEnvelope", 0, 4, 600, 50, {{129, 34, true}, {133, 50, true}}}),
    [](const testing::TestParamInfo<DragCase>& p) { return p.param.name; });

TEST(EnvelopeDrag, KeyOffPointIsNotDraggable)
{
    EXPECT_FALSE(IsDraggablePoint(5));
    for (int p : {1, 2, 3, 4, 6})
        EXPECT_TRUE(IsDraggablePoint(p)) << p;
}

TEST(ChartMapping, TwipsToValues)
{
    const ChartMapping env = ChartMapping::envelope();
    const ChartValue origin = env.twipsToValue(240, 1695, 1000, 100);
    EXPECT_DOUBLE_EQ(origin.x, 0);
    EXPECT_DOUBLE_EQ(origin.y, 0);
    const ChartValue corner = env.twipsToValue(1800, 285, 1000, 100);
    EXPECT_DOUBLE_EQ(corner.x, 1000);
    EXPECT_DOUBLE_EQ(corner.y, 100);
    const ChartValue middle = env.twipsToValue(1020, 990, 1000, 100);
    EXPECT_DOUBLE_EQ(middle.x, 500);
    EXPECT_DOUBLE_EQ(middle.y, 50);

    const ChartMapping ls = ChartMapping::levelScaling();
    const ChartValue top = ls.twipsToValue(1800, 300, 99, 200);
    EXPECT_DOUBLE_EQ(top.x, 99);
    EXPECT_DOUBLE_EQ(top.y, 200);
    EXPECT_DOUBLE_EQ(ls.twipsToValue(240, 1275, 99, 200).y, 0);
}

TEST(ChartMapping, ScalesToAnyWidgetSize)
{
    // A widget of the nominal size at 15 twips a pixel and others: the same
    // fraction of the widget gives the same value, and back.
    const ChartMapping env = ChartMapping::envelope();
    const ChartValue nominal = env.twipsToValue(1020, 990, 800, 100);
    for (const auto& [w, h] : {std::pair{136.0, 128.0}, std::pair{400.0, 300.0}, std::pair{1000.0, 90.0}}) {
        const ChartValue v = env.pixelToValue(1020 / 2040.0 * w, 990 / 1920.0 * h, w, h, 800, 100);
        EXPECT_NEAR(v.x, nominal.x, 1e-9) << w << "x" << h;
        EXPECT_NEAR(v.y, nominal.y, 1e-9) << w << "x" << h;
        const ChartValue px = env.valueToPixel(123, 45, w, h, 800, 100);
        const ChartValue back = env.pixelToValue(px.x, px.y, w, h, 800, 100);
        EXPECT_NEAR(back.x, 123, 1e-9);
        EXPECT_NEAR(back.y, 45, 1e-9);
    }
    // A widget not yet laid out maps nothing.
    const ChartValue none = env.pixelToValue(10, 10, 0, 0, 800, 100);
    EXPECT_EQ(none.x, 0);
    EXPECT_EQ(none.y, 0);
}

} // namespace
} // namespace toneloft
