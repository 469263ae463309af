#include "editor/ui/ParameterGraph.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <cmath>

namespace toneloft {

namespace {

constexpr double kHitRadius = 7;          // pixels round a point that a press takes
const QColor kGridColour{217, 216, 209};  // axis and grid pens

} // namespace

ParameterGraph::ParameterGraph(const ChartMapping& mapping, int operatorNumber, QWidget* parent)
    : QWidget(parent), m_mapping(mapping), m_operator(operatorNumber)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
    setMouseTracking(false);
}

void ParameterGraph::setParameterLink(GraphParameterLink link)
{
    m_link = std::move(link);
    refresh();
}

int ParameterGraph::valueOf(int param) const
{
    return m_link.value ? m_link.value(param) : 0;
}

QSize ParameterGraph::minimumSizeHint() const
{
    return {120, 80};
}

QRectF ParameterGraph::plotRect() const
{
    const QPointF topLeft = toPixel(0, yMaximum());
    const QPointF bottomRight = toPixel(xMaximum(), 0);
    return QRectF(topLeft, bottomRight).normalized();
}

QPointF ParameterGraph::toPixel(double x, double y) const
{
    const ChartValue p = m_mapping.valueToPixel(x, y, width(), height(), xMaximum(), yMaximum());
    return {p.x, p.y};
}

QPointF ParameterGraph::pointPosition(int point) const
{
    const ChartValue v = pointValue(point);
    return toPixel(v.x, v.y);
}

ChartValue ParameterGraph::valueAt(QPointF position) const
{
    return m_mapping.pixelToValue(position.x(), position.y(), width(), height(), xMaximum(), yMaximum());
}

int ParameterGraph::pointAt(QPointF position) const
{
    // The nearest point under the press; a point that cannot be dragged (the
    // key-off point) only wins when no draggable one is near.
    int best = 0;
    double bestDistance = kHitRadius;
    bool bestSelectable = false;
    for (int p = 1; p <= pointCount(); ++p) {
        const QPointF d = pointPosition(p) - position;
        const double distance = std::hypot(d.x(), d.y());
        if (distance > kHitRadius)
            continue;
        const bool selectable = canSelect(p);
        if ((selectable && !bestSelectable) || (selectable == bestSelectable && distance < bestDistance)) {
            best = p;
            bestDistance = distance;
            bestSelectable = selectable;
        }
    }
    return best;
}

void ParameterGraph::select(int point)
{
    if (point == m_selected)
        return;
    m_selected = point;
    update();
    emit pointSelected(point);
}

void ParameterGraph::selectNext(int direction)
{
    const int n = pointCount();
    int p = m_selected;
    for (int step = 0; step < n; ++step) {
        p = ((p - 1 + direction + n) % n) + 1;
        if (canSelect(p)) {
            select(p);
            return;
        }
    }
}

void ParameterGraph::apply(const ParameterWrites& writes)
{
    if (writes.empty())
        return;
    if (m_link.write)
        m_link.write(writes);
    refresh();
}

void ParameterGraph::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        emit auditionRequested();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const int p = pointAt(event->position());
    if (p == 0) {
        emit backgroundPressed(event->position().toPoint());
        return;
    }
    if (!canSelect(p))
        return;
    select(p);
    m_dragging = true;
    m_skipMove = false;
    setCursor(Qt::CrossCursor);
}

void ParameterGraph::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || m_selected == 0)
        return;
    // Every second move is turned into values: a drag sends a stream of
    // parameter changes, and half of them are plenty.
    const bool skip = m_skipMove;
    m_skipMove = !m_skipMove;
    if (skip)
        return;
    apply(valuesForDrag(m_selected, valueAt(event->position())));
    emit pointDragged(m_selected);
}

void ParameterGraph::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    unsetCursor();
    refresh();
    emit pointReleased(m_selected);
}

void ParameterGraph::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        const int p = key - Qt::Key_0;
        if (p <= pointCount() && canSelect(p)) {
            select(p);
            return;
        }
    }
    int dx = 0;
    int dy = 0;
    switch (key) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = 1; break;
    case Qt::Key_Down: dy = -1; break;
    default: QWidget::keyPressEvent(event); return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        if (dx != 0)
            selectNext(dx);
        return;
    }
    if (m_selected == 0) {
        selectNext(1);
        return;
    }
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    apply(valuesForNudge(m_selected, dx * step, dy * step));
}

void ParameterGraph::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void ParameterGraph::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void ParameterGraph::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().button());

    const QRectF plot = plotRect();
    QPen grid(kGridColour, 1);
    painter.setPen(grid);
    painter.setBrush(palette().base());
    painter.drawRect(plot);
    // Ten major divisions up the level axis.
    for (int i = 1; i < 10; ++i) {
        const double y = plot.bottom() - plot.height() * i / 10;
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }

    painter.save();
    painter.setClipRect(plot.adjusted(-6, -16, 6, 6));
    paintGraph(painter);
    painter.restore();

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace toneloft
