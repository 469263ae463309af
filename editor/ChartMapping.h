#pragma once

namespace toneloft {

struct ChartValue {
    double x = 0;
    double y = 0;
};

// Where a graph's plot lies, in twips of a chart of nominal size, and the
// mapping between a position on a widget of any size and graph values. The
// widget is taken as the nominal chart stretched to its size, so the plot keeps
// its margins in proportion and a dragged point stays under the pointer.
struct ChartMapping {
    double widthTwips = 0;  // nominal chart size
    double heightTwips = 0;
    double leftX = 0;       // X where x = 0
    double rightX = 0;      // X where x = the x axis maximum
    double bottomY = 0;     // Y where y = 0
    double topY = 0;        // Y where y = the y axis maximum

    // The envelope graph: x over 240..1800 twips, y over 1695 (0) up to 285.
    static constexpr ChartMapping envelope() { return {2040, 1920, 240, 1800, 1695, 285}; }
    // The level-scaling graph: x over 240..1800, y over 1275 (0) up to 300.
    static constexpr ChartMapping levelScaling() { return {2040, 1500, 240, 1800, 1275, 300}; }

    // Twips to graph values (not clamped, not rounded).
    ChartValue twipsToValue(double X, double Y, double xMaximum, double yMaximum) const;
    // A widget position (logical pixels, widget of width x height) to graph values.
    ChartValue pixelToValue(double px, double py, double width, double height, double xMaximum,
                            double yMaximum) const;
    // Graph values to a widget position, the inverse of pixelToValue.
    ChartValue valueToPixel(double x, double y, double width, double height, double xMaximum,
                            double yMaximum) const;
};

} // namespace toneloft
