#include "editor/ui/EnvelopeGraph.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace toneloft {

namespace {

const QColor kLineColour{0, 0, 255};
const QColor kMarkerColour{255, 0, 0};
constexpr double kMarkerRadius = 2.5; // 75 twips across at 15 twips a pixel
constexpr int kPitchCentre = 50;      // pitch envelope level of no pitch change

} // namespace

EnvelopeGraph::EnvelopeGraph(int operatorNumber, QWidget* parent)
    : ParameterGraph(ChartMapping::envelope(), operatorNumber, parent)
{
    setObjectName(operatorNumber == 0 ? QStringLiteral("PitchEnvelopeGraph")
                                      : QStringLiteral("EnvelopeGraph%1").arg(operatorNumber));
    refresh();
}

void EnvelopeGraph::setZoomExponent(int exponent)
{
    if (exponent == m_zoomExponent)
        return;
    m_zoomExponent = exponent;
    update();
}

void EnvelopeGraph::refresh()
{
    m_envelope = modEGGraph::ReadEnvelope(operatorNumber(), [this](int param) { return valueOf(param); });
    m_points = modEGGraph::EnvelopePoints(m_envelope);
    if (!isDragging())
        m_axisLength = m_points[5].x;
    update();
}

ChartValue EnvelopeGraph::pointValue(int point) const
{
    if (point < 1 || point > 6)
        return {};
    const auto& p = m_points[static_cast<std::size_t>(point - 1)];
    return {p.x, p.y};
}

double EnvelopeGraph::xMaximum() const
{
    return modEGGraph::XAxisMaximum(m_axisLength, m_zoomExponent);
}

ParameterWrites EnvelopeGraph::valuesForDrag(int point, ChartValue v) const
{
    if (point == 1 || point == modEGGraph::kKeyOffPoint)
        v.x = 0;
    return modEGGraph::EnvelopePointToValues(operatorNumber(), m_envelope, point, v.x, v.y);
}

ParameterWrites EnvelopeGraph::valuesForNudge(int point, int dx, int dy) const
{
    // Point p of 2..4 ends segment p - 1; point 6 ends the release (R4) and,
    // like point 1, stands at L4.
    const int start = modEGGraph::EnvelopeBlockStart(operatorNumber());
    const int segment = point == 1 || point == 6 ? 3 : point - 2;
    ParameterWrites writes;
    const int level = m_envelope.levels[static_cast<std::size_t>(segment)];
    const int newLevel = std::clamp(level + dy, 0, 99);
    if (newLevel != level)
        writes.push_back({start + 4 + segment, newLevel, true});
    if (point != 1) {
        // Further right is a longer segment: a slower rate.
        const int rate = m_envelope.rates[static_cast<std::size_t>(segment)];
        const int newRate = std::clamp(rate - dx, 0, 99);
        if (newRate != rate)
            writes.push_back({start + segment, newRate, true});
    }
    return writes;
}

void EnvelopeGraph::paintGraph(QPainter& painter)
{
    const QRectF plot = plotRect();
    if (operatorNumber() == 0) {
        QPen centre(QColor(170, 170, 170), 1, Qt::DashLine);
        painter.setPen(centre);
        const double y = toPixel(0, kPitchCentre).y();
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }

    QPainterPath path(pointPosition(1));
    for (int p = 2; p <= 6; ++p)
        path.lineTo(pointPosition(p));
    QPen line(kLineColour, 1);
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);

    painter.setPen(QPen(kMarkerColour, 1));
    painter.setBrush(kMarkerColour);
    for (int p = 1; p <= 6; ++p)
        painter.drawEllipse(pointPosition(p), kMarkerRadius, kMarkerRadius);

    if (selectedPoint() != 0) {
        QPen ring(hasFocus() || isDragging() ? palette().highlight().color() : QColor(90, 90, 90), 1.5);
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(pointPosition(selectedPoint()), kMarkerRadius + 3, kMarkerRadius + 3);
    }

    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.8));
    painter.setFont(small);
    painter.setPen(palette().text().color());
    for (int p = 1; p <= 6; ++p) {
        const std::string_view label = m_points[static_cast<std::size_t>(p - 1)].label;
        if (label.empty())
            continue;
        const QString text = QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
        const QPointF at = pointPosition(p);
        const QRectF box(at.x() - 20, at.y() - kMarkerRadius - 14, 40, 12);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignBottom, text);
    }
}

} // namespace toneloft
