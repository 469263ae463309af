#include "editor/modLevScGraph.h"

#include <gtest/gtest.h>

#include <string>

namespace toneloft {
namespace {

using namespace modLevScGraph;

constexpr int kMinusLin = 0;
constexpr int kMinusExp = 1;
constexpr int kPlusExp = 2;
constexpr int kPlusLin = 3;

struct CountCase {
    int bp;
    int lc;
    int rc;
    int left;
    int right;
    int rows;
};

class LevelScalingCounts : public testing::TestWithParam<CountCase> {};

TEST_P(LevelScalingCounts, PointsPerSide)
{
    const CountCase& c = GetParam();
    const LevelScalingCurve curve = LevelScalingCurveOf({c.bp, 50, 50, c.lc, c.rc});
    EXPECT_EQ(curve.leftCount, c.left);
    EXPECT_EQ(curve.rightCount, c.right);
    EXPECT_EQ(curve.rowCount, c.rows);
    EXPECT_EQ(static_cast<int>(curve.curve.size()), c.rows);
}

INSTANTIATE_TEST_SUITE_P(Curves, LevelScalingCounts,
                         testing::Values(CountCase{0, kMinusExp, kMinusExp, 1, 100, 101},
                                         CountCase{0, kMinusLin, kPlusLin, 1, 1, 3},
                                         CountCase{50, kPlusExp, kMinusLin, 50, 1, 52},
                                         CountCase{99, kMinusLin, kPlusExp, 1, 1, 3},
                                         CountCase{99, kMinusExp, kMinusExp, 99, 1, 100},
                                         CountCase{30, kPlusExp, kPlusExp, 30, 70, 100}));

TEST(LevelScalingCurve, LinearSidesRunFromTheirEndsToTheBreakPoint)
{
    // Depths 0: a flat line at 99 through the break point, three rows.
    const LevelScalingCurve flat = LevelScalingCurveOf({40, 0, 0, kMinusLin, kPlusLin});
    EXPECT_EQ(flat.curve, (std::vector<CurvePoint>{{0, 99}, {40, 99}, {99, 99}}));

    const LevelScalingCurve sloped = LevelScalingCurveOf({60, 40, 30, kMinusLin, kPlusLin});
    EXPECT_EQ(sloped.curve, (std::vector<CurvePoint>{{0, 59}, {60, 99}, {99, 129}}));
    EXPECT_EQ(sloped.handles[0], (CurvePoint{0, 59}));
    EXPECT_EQ(sloped.handles[1], (CurvePoint{60, 99}));
    EXPECT_EQ(sloped.handles[2], (CurvePoint{99, 129}));
    EXPECT_EQ(sloped.breakKey, 60);
}

TEST(LevelScalingCurve, ExponentialSidesFadeTowardTheBreakPoint)
{
    const LevelScalingCurve c = LevelScalingCurveOf({50, 99, 60, kMinusExp, kPlusExp});
    ASSERT_EQ(c.curve.size(), 100u);
    // The outer ends lie the depth away from 99.
    EXPECT_NEAR(c.curve.front().level, 0, 1e-3);
    EXPECT_NEAR(c.curve.back().level, 159, 1e-3);
    // Keys 0..49 on the left, 50..99 on the right, each key once.
    for (std::size_t i = 0; i < c.curve.size(); ++i)
        EXPECT_EQ(c.curve[i].key, static_cast<double>(i));
    // The innermost left point: 99 - 0.99 * 2108.554 / (e^(49 * 7/51 + 3) + 1).
    EXPECT_NEAR(c.curve[49].level, 98.8753, 1e-3);
    // Toward the break point the left side rises to 99, the right side falls to it.
    for (std::size_t i = 1; i < 50; ++i)
        EXPECT_GT(c.curve[i].level, c.curve[i - 1].level) << "key " << i;
    for (std::size_t i = 51; i < 100; ++i)
        EXPECT_GT(c.curve[i].level, c.curve[i - 1].level) << "key " << i;
    EXPECT_LT(c.curve[50].level - 99, 0.2);
    EXPECT_EQ(c.handles[1], (CurvePoint{50, 99}));
}

TEST(LevelScalingCurve, CurveNames)
{
    EXPECT_EQ(CurveName(0), "-LIN");
    EXPECT_EQ(CurveName(1), "-EXP");
    EXPECT_EQ(CurveName(2), "+EXP");
    EXPECT_EQ(CurveName(3), "+LIN");
    EXPECT_EQ(CurveName(4), "");
    // A value without a name draws as a rising exponential.
    EXPECT_FALSE(IsLinear(4));
    EXPECT_EQ(CurveSign(4), 1);
}

struct LsDragCase {
    const char* name;
    int point;
    int leftCurve;
    int rightCurve;
    double key;
    double level;
    ParameterWrites expected;
};

class LevelScalingDrag : public testing::TestWithParam<LsDragCase> {};

// Operator 1: BP 114, LD 115, RD 116, LC 117, RC 118. Nothing is sent by itself.
TEST_P(LevelScalingDrag, TurnsAPositionIntoValues)
{
    const LsDragCase& c = GetParam();
    EXPECT_EQ(LevelScalingPointToValues(1, {50, 20, 20, c.leftCurve, c.rightCurve}, c.point, c.key, c.level),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Handles, LevelScalingDrag,
    testing::Values(
        LsDragCase{"BreakPointTakesWholeKey", 2, kMinusLin, kMinusLin, 42.7, 10, {{114, 42, false}}},
        LsDragCase{"BreakPointLeftOfKeys", 2, kMinusLin, kMinusLin, -3, 10, {{114, 0, false}}},
        LsDragCase{"BreakPointRightOfKeys", 2, kMinusLin, kMinusLin, 150, 10, {{114, 99, false}}},
        LsDragCase{"MinusExpAboveTurnsPlus", 1, kMinusExp, kMinusLin, 0, 149.4, {{115, 50, false}, {117, kPlusExp, false}}},
        LsDragCase{"MinusLinAboveTurnsPlus", 1, kMinusLin, kMinusLin, 0, 100, {{115, 1, false}, {117, kPlusLin, false}}},
        LsDragCase{"PlusExpBelowTurnsMinus", 3, kMinusLin, kPlusExp, 99, 60, {{116, 39, false}, {118, kMinusExp, false}}},
        LsDragCase{"PlusLinBelowTurnsMinus", 3, kMinusLin, kPlusLin, 99, 0, {{116, 99, false}, {118, kMinusLin, false}}},
        LsDragCase{"AtCentreUnchanged", 1, kPlusExp, kMinusLin, 0, 99.2, {{115, 0, false}, {117, kPlusExp, false}}},
        LsDragCase{"AboveKeepsPlus", 3, kMinusLin, kPlusLin, 99, 120, {{116, 21, false}, {118, kPlusLin, false}}},
        LsDragCase{"TopClampedTo198", 1, kMinusExp, kMinusLin, 0, 250, {{115, 99, false}, {117, kPlusExp, false}}}),
    [](const testing::TestParamInfo<LsDragCase>& p) { return p.param.name; });

TEST(LevelScalingDrag, ParametersByOperator)
{
    EXPECT_EQ(BreakPointParam(6), 9);
    EXPECT_EQ(BreakPointParam(1), 114);
    const LevelScalingValues v = ReadLevelScaling(6, [](int p) { return p * 2; });
    EXPECT_EQ(v.breakPoint, 18);
    EXPECT_EQ(v.rightCurve, 26);
}

} // namespace
} // namespace toneloft
