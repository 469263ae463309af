#include "editor/ChartMapping.h"

namespace toneloft {

ChartValue ChartMapping::twipsToValue(double X, double Y, double xMaximum, double yMaximum) const
{
    return {(X - leftX) / (rightX - leftX) * xMaximum, (bottomY - Y) / (bottomY - topY) * yMaximum};
}

ChartValue ChartMapping::pixelToValue(double px, double py, double width, double height, double xMaximum,
                                      double yMaximum) const
{
    if (width <= 0 || height <= 0)
        return {};
    return twipsToValue(px * widthTwips / width, py * heightTwips / height, xMaximum, yMaximum);
}

ChartValue ChartMapping::valueToPixel(double x, double y, double width, double height, double xMaximum,
                                      double yMaximum) const
{
    const double X = xMaximum > 0 ? leftX + x / xMaximum * (rightX - leftX) : leftX;
    const double Y = yMaximum > 0 ? bottomY - y / yMaximum * (bottomY - topY) : bottomY;
    return {X * width / widthTwips, Y * height / heightTwips};
}

} // namespace toneloft
