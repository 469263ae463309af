#pragma once

#include "editor/ParameterWrite.h"

#include <array>
#include <functional>
#include <string_view>

namespace toneloft::modEGGraph {

// Envelope geometry: the four rates (0..99) become segment lengths in chart
// units (15000 for rate 0, about 47.7 for rate 99) and the four levels (0..99)
// the heights of the six points of the graph.

// ParamID of R1 of an envelope: operator n (1..6) starts at (6 - n) * 21 + 1,
// the pitch envelope (operator 0) at 127. R1..R4 follow, then L1..L4.
int EnvelopeBlockStart(int operatorNumber);

struct EnvelopeValues {
    std::array<int, 4> rates{};  // R1..R4
    std::array<int, 4> levels{}; // L1..L4
};

// Reads the eight rows of an envelope by ParamID.
EnvelopeValues ReadEnvelope(int operatorNumber, const std::function<int(int param)>& value);

struct EnvelopeTiming {
    std::array<double, 4> x{}; // EGChartXVal of R1..R4: end of each segment, cumulative
    double keyOffX = 0;        // EGChartKoffXVal of R4: x3 plus the release at twice the speed
    double total() const { return x[3]; }
};

// Length of one segment for a rate 0..99: 15000 / (2 * r^1.1 + 1).
double SegmentLength(int rate);
EnvelopeTiming EnvelopeTimes(const std::array<int, 4>& rates);

struct ChartPoint {
    double x = 0;
    double y = 0;
    std::string_view label; // drawn above the point; "Off" marks the key-off point
};

// The six points in row order: (0, L4), (x1, L1), (x2, L2), (x3, L3),
// (key-off, L3) labelled "Off", (x4, L4).
std::array<ChartPoint, 6> EnvelopePoints(const EnvelopeValues& envelope);

// The key-off point (point 5) follows from the others and cannot be dragged.
constexpr int kKeyOffPoint = 5;
constexpr bool IsDraggablePoint(int point) { return point >= 1 && point <= 6 && point != kKeyOffPoint; }

// The zoom of a graph is z = 2^exponent; the "EG Zoom" box shows z / 16 and the
// x axis ends at total * 16 / z, so at z = 16 the whole envelope just fits.
double ZoomFactor(int zoomExponent);
double XAxisMaximum(double total, int zoomExponent);

// The rate that makes a segment t chart units long (t at least 1), the inverse
// of SegmentLength rounded half to even and kept within 0..99.
int RateForLength(double t);

// A point of an envelope dragged to (x, y) in chart units. Points 1 and 6 set
// L4; point p of 2..5 sets rate p - 1 from its distance to the point before and
// level p - 1 from y. y is rounded and kept within 0..99. Every write is sent.
ParameterWrites EnvelopePointToValues(int operatorNumber, const EnvelopeValues& envelope, int point,
                                      double x, double y);

} // namespace toneloft::modEGGraph
