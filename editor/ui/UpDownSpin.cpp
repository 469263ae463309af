#include "editor/ui/UpDownSpin.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <algorithm>

namespace toneloft {

namespace {
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 60;
} // namespace

UpDownSpin::UpDownSpin(QWidget* parent) : QWidget(parent), m_repeat(new QTimer(this))
{
    setObjectName(QStringLiteral("UpDown"));
    setFocusPolicy(Qt::NoFocus); // the grid keeps the focus; its keys step the value
    setCursor(Qt::ArrowCursor);
    connect(m_repeat, &QTimer::timeout, this, &UpDownSpin::repeat);
}

void UpDownSpin::setRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = std::max(minimum, maximum);
    m_value = std::clamp(m_value, m_min, m_max);
    update();
}

void UpDownSpin::setValue(int value)
{
    m_value = std::clamp(value, m_min, m_max);
}

void UpDownSpin::step(int direction)
{
    const int next = std::clamp(m_value + direction, m_min, m_max);
    if (next == m_value)
        return;
    m_value = next;
    Q_EMIT valueChanged(m_value);
}

QSize UpDownSpin::sizeHint() const
{
    return {17, 18};
}

void UpDownSpin::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal half = r.height() / 2;
    const QPalette& pal = palette();
    for (int i = 0; i < 2; ++i) {
        const QRectF box(r.left(), r.top() + i * half, r.width(), half);
        const bool down = (i == 0 && m_pressed > 0) || (i == 1 && m_pressed < 0);
        p.setPen(pal.color(QPalette::Mid));
        p.setBrush(down ? pal.color(QPalette::Mid) : pal.color(QPalette::Button));
        p.drawRect(box);
        const bool enabled = i == 0 ? m_value < m_max : m_value > m_min;
        p.setPen(Qt::NoPen);
        p.setBrush(enabled ? pal.color(QPalette::ButtonText) : pal.color(QPalette::Mid));
        const QPointF c = box.center();
        const qreal w = std::min(box.width() * 0.3, box.height() * 0.45);
        const qreal h = w * 0.6;
        QPainterPath arrow;
        if (i == 0) {
            arrow.moveTo(c.x() - w, c.y() + h / 2);
            arrow.lineTo(c.x() + w, c.y() + h / 2);
            arrow.lineTo(c.x(), c.y() - h / 2);
        } else {
            arrow.moveTo(c.x() - w, c.y() - h / 2);
            arrow.lineTo(c.x() + w, c.y() - h / 2);
            arrow.lineTo(c.x(), c.y() + h / 2);
        }
        arrow.closeSubpath();
        p.drawPath(arrow);
    }
}

void UpDownSpin::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT ctrlMouse(event->modifiers().testFlag(Qt::ControlModifier));
    if (event->button() == Qt::RightButton) {
        Q_EMIT rightPressed();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = event->position().y() < height() / 2.0 ? 1 : -1;
    update();
    step(m_pressed);
    m_repeat->start(kFirstRepeatMs);
}

void UpDownSpin::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT ctrlMouse(event->modifiers().testFlag(Qt::ControlModifier));
}

void UpDownSpin::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_repeat->stop();
        m_pressed = 0;
        update();
        Q_EMIT leftReleased();
    }
}

void UpDownSpin::repeat()
{
    if (m_pressed == 0) {
        m_repeat->stop();
        return;
    }
    m_repeat->setInterval(kRepeatMs);
    step(m_pressed);
    update();
}

} // namespace toneloft
