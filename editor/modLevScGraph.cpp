#include "editor/modLevScGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace toneloft::modLevScGraph {

namespace {

constexpr int kOperatorBlock = 21;
constexpr int kBreakPointOffset = 8; // BP, LD, RD, LC, RC at offsets 8..12 of the block

// 100 * (1 + e^3): makes the outermost exponential point lie exactly D from 99.
constexpr double kExpScale = 2108.554;

double exponentialLevel(int i, int n, int depth, int sign)
{
    const double k = 0.14 * 50 / (n + 1);
    return kUnscaledLevel + sign * (depth / 100.0) * kExpScale / (std::exp((i - 1) * k + 3) + 1);
}

// The curve value after an end was dragged above (+1) or below (-1) the centre.
int turnedCurve(int curve, int side)
{
    if (side > 0 && CurveSign(curve) < 0)
        return curve == 0 ? 3 : 2; // -LIN -> +LIN, -EXP -> +EXP
    if (side < 0 && CurveSign(curve) > 0 && !CurveName(curve).empty())
        return curve == 3 ? 0 : 1; // +LIN -> -LIN, +EXP -> -EXP
    return curve;
}

} // namespace

int BreakPointParam(int operatorNumber)
{
    return (6 - std::clamp(operatorNumber, 1, 6)) * kOperatorBlock + 1 + kBreakPointOffset;
}

LevelScalingValues ReadLevelScaling(int operatorNumber, const std::function<int(int)>& value)
{
    const int bp = BreakPointParam(operatorNumber);
    return {value(bp), value(bp + 1), value(bp + 2), value(bp + 3), value(bp + 4)};
}

std::string_view CurveName(int curve)
{
    switch (curve) {
    case 0: return "-LIN";
    case 1: return "-EXP";
    case 2: return "+EXP";
    case 3: return "+LIN";
    default: return "";
    }
}

bool IsLinear(int curve)
{
    return CurveName(curve).ends_with("LIN");
}

int CurveSign(int curve)
{
    return CurveName(curve).starts_with('-') ? -1 : 1;
}

LevelScalingCurve LevelScalingCurveOf(const LevelScalingValues& v)
{
    LevelScalingCurve c;
    const int bp = std::clamp(v.breakPoint, 0, 99);
    const bool leftLinear = IsLinear(v.leftCurve);
    const bool rightLinear = IsLinear(v.rightCurve);
    c.leftCount = leftLinear ? 1 : std::max(bp, 1);
    c.rightCount = rightLinear ? 1 : 100 - bp;
    const bool breakRow = leftLinear || rightLinear;
    c.rowCount = c.leftCount + c.rightCount + (breakRow ? 1 : 0);
    c.breakKey = bp;

    c.curve.reserve(static_cast<std::size_t>(c.rowCount));
    if (leftLinear) {
        c.curve.push_back({0, kUnscaledLevel + CurveSign(v.leftCurve) * v.leftDepth});
    } else {
        for (int i = 1; i <= c.leftCount; ++i)
            c.curve.push_back({static_cast<double>(i - 1),
                               exponentialLevel(i, bp, v.leftDepth, CurveSign(v.leftCurve))});
    }
    if (breakRow)
        c.curve.push_back({static_cast<double>(bp), kUnscaledLevel});
    if (rightLinear) {
        c.curve.push_back({kKeyAxisMaximum, kUnscaledLevel + CurveSign(v.rightCurve) * v.rightDepth});
    } else {
        // Point i lies at key 100 - i: walked from the innermost out, in key order.
        for (int i = c.rightCount; i >= 1; --i)
            c.curve.push_back({static_cast<double>(100 - i),
                               exponentialLevel(i, 100 - bp, v.rightDepth, CurveSign(v.rightCurve))});
    }
    c.handles = {c.curve.front(), CurvePoint{static_cast<double>(bp), kUnscaledLevel}, c.curve.back()};
    return c;
}

ParameterWrites LevelScalingPointToValues(int operatorNumber, const LevelScalingValues& values, int point,
                                          double key, double level)
{
    const int bpParam = BreakPointParam(operatorNumber);
    key = std::clamp(key, 0.0, kKeyAxisMaximum);
    const int y = static_cast<int>(std::clamp(std::nearbyint(level), 0.0, 198.0));
    const int depth = std::abs(99 - y);
    const int side = y > 99 ? 1 : (y < 99 ? -1 : 0);
    switch (point) {
    case 2:
        return {{bpParam, static_cast<int>(key), false}};
    case 1:
        return {{bpParam + 1, depth, false}, {bpParam + 3, turnedCurve(values.leftCurve, side), false}};
    case 3:
        return {{bpParam + 2, depth, false}, {bpParam + 4, turnedCurve(values.rightCurve, side), false}};
    default:
        return {};
    }
}

} // namespace toneloft::modLevScGraph
