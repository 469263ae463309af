#include "editor/modEGGraph.h"

#include <algorithm>
#include <cmath>

namespace toneloft::modEGGraph {

namespace {

constexpr double kFullLength = 15000; // chart units of a segment at rate 0
constexpr double kRateExponent = 1.1;
constexpr int kPitchEnvelopeStart = 127;
constexpr int kOperatorBlock = 21;

int clampLevel(double y)
{
    return static_cast<int>(std::clamp(std::nearbyint(y), 0.0, 99.0));
}

} // namespace

int EnvelopeBlockStart(int operatorNumber)
{
    if (operatorNumber < 1 || operatorNumber > 6)
        return kPitchEnvelopeStart;
    return (6 - operatorNumber) * kOperatorBlock + 1;
}

EnvelopeValues ReadEnvelope(int operatorNumber, const std::function<int(int)>& value)
{
    EnvelopeValues e;
    const int start = EnvelopeBlockStart(operatorNumber);
    for (int i = 0; i < 4; ++i) {
        e.rates[static_cast<std::size_t>(i)] = value(start + i);
        e.levels[static_cast<std::size_t>(i)] = value(start + 4 + i);
    }
    return e;
}

double SegmentLength(int rate)
{
    return kFullLength / (2 * std::pow(std::max(rate, 0), kRateExponent) + 1);
}

EnvelopeTiming EnvelopeTimes(const std::array<int, 4>& rates)
{
    EnvelopeTiming timing;
    double x = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        x += SegmentLength(rates[i]);
        timing.x[i] = x;
    }
    // The release after key-off runs at twice the speed of the drawn R4 segment.
    const double release = kFullLength / (4 * std::pow(std::max(rates[3], 0), kRateExponent) + 1);
    timing.keyOffX = timing.x[2] + release;
    return timing;
}

std::array<ChartPoint, 6> EnvelopePoints(const EnvelopeValues& e)
{
    const EnvelopeTiming t = EnvelopeTimes(e.rates);
    const auto level = [&](int i) { return static_cast<double>(e.levels[static_cast<std::size_t>(i)]); };
    return {{
        {0, level(3), ""},
        {t.x[0], level(0), ""},
        {t.x[1], level(1), ""},
        {t.x[2], level(2), ""},
        {t.keyOffX, level(2), "Off"},
        {t.x[3], level(3), ""},
    }};
}

double ZoomFactor(int zoomExponent)
{
    return std::ldexp(1.0, zoomExponent);
}

double XAxisMaximum(double total, int zoomExponent)
{
    return total * 16 / ZoomFactor(zoomExponent);
}

int RateForLength(double t)
{
    const double q = kFullLength / std::max(t, 1.0);
    if (q < 1)
        return 0;
    const double rate = std::nearbyint(std::pow((q - 1) / 2, 1 / kRateExponent));
    return static_cast<int>(std::min(rate, 99.0));
}

ParameterWrites EnvelopePointToValues(int operatorNumber, const EnvelopeValues& envelope, int point,
                                      double x, double y)
{
    const int start = EnvelopeBlockStart(operatorNumber);
    const int level = clampLevel(y);
    if (point == 1 || point == 6)
        return {{start + 7, level, true}};
    if (point < 2 || point > 5)
        return {};
    const EnvelopeTiming timing = EnvelopeTimes(envelope.rates);
    const double previousX = point == 2 ? 0 : timing.x[static_cast<std::size_t>(point - 3)];
    const int segment = point - 2; // 0..3: R1..R4 and L1..L4
    return {{start + segment, RateForLength(x - previousX), true}, {start + 4 + segment, level, true}};
}

} // namespace toneloft::modEGGraph
