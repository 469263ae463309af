#pragma once

#include "editor/ParameterWrite.h"

#include <array>
#include <functional>
#include <string_view>
#include <vector>

namespace toneloft::modLevScGraph {

// Keyboard level scaling drawn on a key axis 0..99 and a level axis 0..200,
// where 99 is the unscaled level: a side with depth D and a "+" curve rises to
// 99 + D at its outer end, a "-" curve falls to 99 - D.

constexpr double kUnscaledLevel = 99;
constexpr double kLevelAxisMaximum = 200;
constexpr double kKeyAxisMaximum = 99;

struct LevelScalingValues {
    int breakPoint = 0;  // BP, 0..99
    int leftDepth = 0;   // LD, 0..99
    int rightDepth = 0;  // RD, 0..99
    int leftCurve = 0;   // LC: 0 -LIN, 1 -EXP, 2 +EXP, 3 +LIN
    int rightCurve = 0;  // RC
};

// ParamID of BP for operator n (1..6); LD, RD, LC, RC follow it.
int BreakPointParam(int operatorNumber);
LevelScalingValues ReadLevelScaling(int operatorNumber, const std::function<int(int param)>& value);

// "-LIN", "-EXP", "+EXP", "+LIN"; "" for any other value.
std::string_view CurveName(int curve);
bool IsLinear(int curve);
int CurveSign(int curve); // -1 for the two "-" curves, else +1

struct CurvePoint {
    double key = 0;
    double level = 0;
    friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

struct LevelScalingCurve {
    int leftCount = 0;  // 1 when linear, else max(BP, 1)
    int rightCount = 0; // 1 when linear, else 100 - BP
    int rowCount = 0;   // both, plus the break-point row when either side is linear
    // The rows in key order (left end first): the left side from its outer end,
    // the break point when a side is linear, the right side ending at key 99.
    std::vector<CurvePoint> curve;
    // The drag handles: left end, break point (key BP, level 99), right end.
    std::array<CurvePoint, 3> handles{};
    int breakKey = 0; // the red marker runs up the key axis at BP
};

LevelScalingCurve LevelScalingCurveOf(const LevelScalingValues& values);

// Handle 1 (left end), 2 (break point) or 3 (right end) dragged to (key, level)
// in chart units. Key is kept within 0..99, level (rounded) within 0..198. The
// break point takes the whole key; an end takes depth |99 - level| and turns its
// curve to the side it was dragged to. None of the writes is sent on its own:
// they reach the synthesiser with the next whole-voice send.
ParameterWrites LevelScalingPointToValues(int operatorNumber, const LevelScalingValues& values, int point,
                                          double key, double level);

} // namespace toneloft::modLevScGraph
