#include "editor/ui/LevelScalingGraph.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace toneloft {

namespace {

const QColor kCurveColour{0, 0, 160};
const QColor kUnscaledColour{170, 170, 170};
const QColor kBreakColour{255, 0, 0};
const QColor kHandleColour{0, 110, 0};
constexpr double kHandleHalf = 3;

} // namespace

LevelScalingGraph::LevelScalingGraph(int operatorNumber, QWidget* parent)
    : ParameterGraph(ChartMapping::levelScaling(), operatorNumber, parent)
{
    setObjectName(QStringLiteral("LevelScalingGraph%1").arg(operatorNumber));
    refresh();
}

void LevelScalingGraph::refresh()
{
    m_values = modLevScGraph::ReadLevelScaling(operatorNumber(), [this](int param) { return valueOf(param); });
    m_curve = modLevScGraph::LevelScalingCurveOf(m_values);
    update();
}

ChartValue LevelScalingGraph::pointValue(int point) const
{
    if (point < 1 || point > 3)
        return {};
    const auto& h = m_curve.handles[static_cast<std::size_t>(point - 1)];
    return {h.key, h.level};
}

ParameterWrites LevelScalingGraph::valuesForDrag(int point, ChartValue v) const
{
    return modLevScGraph::LevelScalingPointToValues(operatorNumber(), m_values, point, v.x, v.y);
}

ParameterWrites LevelScalingGraph::valuesForNudge(int point, int dx, int dy) const
{
    if (point == 2) {
        if (dx == 0)
            return {};
        return modLevScGraph::LevelScalingPointToValues(operatorNumber(), m_values, 2,
                                                        m_values.breakPoint + dx, modLevScGraph::kUnscaledLevel);
    }
    if (dy == 0)
        return {};
    const ChartValue at = pointValue(point);
    return modLevScGraph::LevelScalingPointToValues(operatorNumber(), m_values, point, at.x,
                                                    std::nearbyint(at.y) + dy);
}

void LevelScalingGraph::paintGraph(QPainter& painter)
{
    const QRectF plot = plotRect();
    QPen unscaled(kUnscaledColour, 1, Qt::DashLine);
    painter.setPen(unscaled);
    const double centre = toPixel(0, modLevScGraph::kUnscaledLevel).y();
    painter.drawLine(QPointF(plot.left(), centre), QPointF(plot.right(), centre));

    QPen marker(kBreakColour, 1);
    painter.setPen(marker);
    painter.drawLine(toPixel(m_curve.breakKey, 0), toPixel(m_curve.breakKey, modLevScGraph::kLevelAxisMaximum));

    QPainterPath path;
    bool first = true;
    for (const auto& p : m_curve.curve) {
        const QPointF at = toPixel(p.key, p.level);
        if (first)
            path.moveTo(at);
        else
            path.lineTo(at);
        first = false;
    }
    QPen line(kCurveColour, 1.5);
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);

    for (int p = 1; p <= 3; ++p) {
        const QPointF at = pointPosition(p);
        const bool selected = p == selectedPoint();
        painter.setPen(QPen(selected && (hasFocus() || isDragging()) ? palette().highlight().color()
                                                                        : kHandleColour,
                            1));
        painter.setBrush(selected ? palette().highlight() : QBrush(kHandleColour));
        const double half = selected ? kHandleHalf + 1 : kHandleHalf;
        painter.drawRect(QRectF(at.x() - half, at.y() - half, 2 * half, 2 * half));
    }
}

} // namespace toneloft
