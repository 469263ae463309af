#include "editor/ui/AlgorithmDiagram.h"

#include "editor/AlgorithmLayout.h"

#include <QKeyEvent>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace toneloft {

namespace {

constexpr int kAllOn = 63;

int operatorBit(int op)
{
    return 1 << (6 - op);
}

QPolygonF polyline(const std::vector<DiagramPoint>& points)
{
    QPolygonF p;
    for (const DiagramPoint& d : points)
        p << QPointF(d.x, d.y);
    return p;
}

} // namespace

AlgorithmDiagram::AlgorithmDiagram(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setObjectName(QStringLiteral("AlgorithmDiagram"));
}

const AlgorithmLayout& AlgorithmDiagram::layout() const
{
    return AlgorithmLayoutOf(m_algorithm);
}

void AlgorithmDiagram::setAlgorithm(int algorithm)
{
    algorithm = std::clamp(algorithm, 0, 31);
    if (algorithm == m_algorithm)
        return;
    m_algorithm = algorithm;
    update();
}

void AlgorithmDiagram::setOperatorStatus(int mask)
{
    mask &= kAllOn;
    if (mask == m_status)
        return;
    m_status = mask;
    update();
}

void AlgorithmDiagram::setTogglingEnabled(bool enabled)
{
    m_toggling = enabled;
    // Only a diagram whose boxes react takes the keyboard.
    setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
    setCursor(enabled ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool AlgorithmDiagram::isOperatorOn(int op) const
{
    return op >= 1 && op <= 6 && (m_status & operatorBit(op)) != 0;
}

QColor AlgorithmDiagram::operatorColour(int op) const
{
    return isOperatorOn(op) ? kOnColour : kOffColour;
}

QSize AlgorithmDiagram::sizeHint() const
{
    return {190, 170};
}

QSize AlgorithmDiagram::minimumSizeHint() const
{
    return {100, 90};
}

QTransform AlgorithmDiagram::unitsToPixels() const
{
    const AlgorithmLayout& l = layout();
    const double w = l.bottomRight.x - l.topLeft.x;
    const double h = l.bottomRight.y - l.topLeft.y;
    // One size of box for every algorithm, so flipping through them does not
    // make the boxes jump: the widest and the tallest drawing set it.
    static const QSizeF largest = [] {
        QSizeF size;
        for (int a = 0; a < 32; ++a) {
            const AlgorithmLayout& each = AlgorithmLayoutOf(a);
            size = size.expandedTo({each.bottomRight.x - each.topLeft.x, each.bottomRight.y - each.topLeft.y});
        }
        return size;
    }();
    const double scale = std::min(width() / largest.width(), height() / largest.height());
    QTransform t;
    t.translate((width() - w * scale) / 2, (height() - h * scale) / 2);
    t.scale(scale, scale);
    t.translate(-l.topLeft.x, -l.topLeft.y);
    return t;
}

QRectF AlgorithmDiagram::operatorRect(int op) const
{
    if (op < 1 || op > 6)
        return {};
    const auto& b = layout().box(op);
    const QRectF units(b.column - AlgorithmLayout::kBoxWidth / 2, b.row - AlgorithmLayout::kBoxHeight / 2,
                       AlgorithmLayout::kBoxWidth, AlgorithmLayout::kBoxHeight);
    return unitsToPixels().mapRect(units);
}

void AlgorithmDiagram::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const AlgorithmLayout& l = layout();
    const QTransform t = unitsToPixels();

    QPen line(palette().windowText().color(), 1.4);
    line.setJoinStyle(Qt::MiterJoin);
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    for (const auto& link : l.links)
        painter.drawPolyline(t.map(polyline(link.line)));
    for (const auto& out : l.outputLines)
        painter.drawPolyline(t.map(polyline(out)));
    painter.drawPolyline(t.map(polyline(l.feedbackLine)));

    QFont digits = font();
    digits.setBold(true);
    for (int op = 1; op <= 6; ++op) {
        const QRectF r = operatorRect(op);
        digits.setPixelSize(std::max(8, static_cast<int>(r.height() * 0.62)));
        painter.setFont(digits);
        painter.setPen(Qt::NoPen);
        painter.setBrush(operatorColour(op));
        painter.drawRect(r);
        painter.setPen(Qt::white);
        painter.drawText(r, Qt::AlignCenter, QString::number(op));
        if (hasFocus() && m_toggling && op == m_focusOp) {
            QPen focus(palette().highlight().color(), 2);
            painter.setPen(focus);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r.adjusted(-3, -3, 3, 3));
        }
    }
}

void AlgorithmDiagram::toggle(int op)
{
    if (!m_toggling || op < 1 || op > 6)
        return;
    int mask = m_status == 0 ? kAllOn : m_status;
    const bool on = !isOperatorOn(op) || m_status == 0;
    mask = on ? (mask | operatorBit(op)) : (mask & (kAllOn - operatorBit(op)));
    m_status = mask;
    update();
    emit operatorToggled(op, on, m_status);
}

void AlgorithmDiagram::enterEvent(QEnterEvent* event)
{
    if (togglingAllowed)
        setTogglingEnabled(togglingAllowed());
    QWidget::enterEvent(event);
}

void AlgorithmDiagram::mousePressEvent(QMouseEvent* event)
{
    if (togglingAllowed)
        setTogglingEnabled(togglingAllowed());
    if (event->button() != Qt::LeftButton || !m_toggling)
        return QWidget::mousePressEvent(event);
    for (int op = 1; op <= 6; ++op)
        if (operatorRect(op).contains(event->position())) {
            m_focusOp = op;
            toggle(op);
            return;
        }
}

void AlgorithmDiagram::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // Through the boxes as they stand, left to right and top to bottom.
        std::vector<int> order;
        for (const auto& row : layout().rows)
            order.insert(order.end(), row.begin(), row.end());
        const auto at = std::find(order.begin(), order.end(), m_focusOp);
        const auto i = at == order.end() ? 0 : at - order.begin();
        const auto n = static_cast<std::ptrdiff_t>(order.size());
        m_focusOp = order[static_cast<std::size_t>((i + (event->key() == Qt::Key_Right ? 1 : n - 1)) % n)];
        update();
        return;
    }
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        toggle(m_focusOp);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace toneloft
