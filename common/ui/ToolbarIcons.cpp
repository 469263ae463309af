#include "common/ui/ToolbarIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace toneloft {

namespace {

constexpr int kSize = 24;

const QColor kInk(40, 44, 52);
const QColor kPaper(250, 250, 246);
const QColor kAccent(38, 110, 196);
const QColor kWarm(214, 132, 36);

QIcon drawn(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1.4));
    draw(p);
    p.end();
    return QIcon(pixmap);
}

void page(QPainter& p, QRectF r)
{
    QPainterPath path;
    const qreal fold = 5;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const qreal len = std::hypot(d.x(), d.y());
    if (len <= 0)
        return;
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    p.drawLine(to, to - 4 * u + 4 * n);
    p.drawLine(to, to - 4 * u - 4 * n);
}

void tray(QPainter& p)
{
    p.setPen(QPen(kInk, 1.6));
    p.drawPolyline(QPolygonF({QPointF(3, 15), QPointF(3, 21), QPointF(21, 21), QPointF(21, 15)}));
}

} // namespace

QIcon ToolbarIcons::icon(const QString& key)
{
    if (key == QLatin1String("New File"))
        return drawn([](QPainter& p) {
            page(p, QRectF(5, 2.5, 14, 19));
            p.setPen(QPen(kWarm, 2));
            p.drawLine(QPointF(16, 14), QPointF(16, 22));
            p.drawLine(QPointF(12, 18), QPointF(20, 18));
        });
    if (key == QLatin1String("Open File"))
        return drawn([](QPainter& p) {
            p.setBrush(QColor(236, 196, 92));
            p.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(9, 6), QPointF(11, 8), QPointF(20, 8),
                                     QPointF(20, 20), QPointF(2, 20)}));
            p.setBrush(QColor(248, 220, 130));
            p.drawPolygon(QPolygonF({QPointF(5, 11), QPointF(23, 11), QPointF(20, 20), QPointF(2, 20)}));
        });
    if (key == QLatin1String("Save File"))
        return drawn([](QPainter& p) {
            p.setBrush(kAccent);
            p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
            p.setBrush(kPaper);
            p.drawRect(QRectF(7, 3, 10, 7));
            p.drawRect(QRectF(6, 13, 12, 8));
        });
    if (key == QLatin1String("Print Voice"))
        return drawn([](QPainter& p) {
            page(p, QRectF(7, 2.5, 10, 8));
            p.setBrush(QColor(170, 174, 184));
            p.drawRoundedRect(QRectF(2.5, 9, 19, 9), 2, 2);
            p.setBrush(kPaper);
            p.drawRect(QRectF(7, 14, 10, 7.5));
            p.setBrush(QColor(80, 190, 90));
            p.drawEllipse(QPointF(18.5, 11.5), 1.1, 1.1);
        });
    if (key == QLatin1String("Cut"))
        return drawn([](QPainter& p) {
            p.setPen(QPen(kInk, 1.6));
            p.drawLine(QPointF(7, 2), QPointF(15.5, 16));
            p.drawLine(QPointF(17, 2), QPointF(8.5, 16));
            p.setPen(QPen(kAccent, 2));
            p.drawEllipse(QPointF(7, 18.5), 3.2, 3.2);
            p.drawEllipse(QPointF(17, 18.5), 3.2, 3.2);
        });
    if (key == QLatin1String("Copy"))
        return drawn([](QPainter& p) {
            page(p, QRectF(3, 2.5, 12, 15));
            page(p, QRectF(9, 7.5, 12, 15));
        });
    if (key == QLatin1String("Delete"))
        return drawn([](QPainter& p) {
            p.setPen(QPen(QColor(200, 40, 40), 3.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(6, 6), QPointF(18, 18));
            p.drawLine(QPointF(18, 6), QPointF(6, 18));
        });
    if (key == QLatin1String("Paste"))
        return drawn([](QPainter& p) {
            p.setBrush(QColor(190, 140, 80));
            p.drawRoundedRect(QRectF(3, 4, 14, 18), 2, 2);
            p.setBrush(QColor(170, 174, 184));
            p.drawRect(QRectF(7, 2.5, 6, 3.5));
            page(p, QRectF(10, 9, 11, 13));
        });
    if (key == QLatin1String("MIDI devices"))
        return drawn([](QPainter& p) {
            // A five-pin DIN socket.
            p.setBrush(QColor(60, 64, 72));
            p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
            p.setPen(Qt::NoPen);
            p.setBrush(kPaper);
            for (int i = 0; i < 5; ++i) {
                const double a = 3.14159265 * (1.0 + 0.25 * i);
                p.drawEllipse(QPointF(12 + 6 * std::cos(a), 12 + 6 * std::sin(a)), 1.4, 1.4);
            }
            p.drawRect(QRectF(10.5, 19, 3, 2.5));
        });
    if (key == QLatin1String("Receive Bank"))
        return drawn([](QPainter& p) {
            tray(p);
            arrow(p, QPointF(12, 2), QPointF(12, 16), QColor(40, 150, 70));
        });
    if (key == QLatin1String("Send Bank"))
        return drawn([](QPainter& p) {
            tray(p);
            arrow(p, QPointF(12, 17), QPointF(12, 3), kWarm);
        });
    return {};
}

QIcon ToolbarIcons::programIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0, QColor(52, 84, 140));
    g.setColorAt(1, QColor(22, 34, 60));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    // A frequency-modulated wave: a carrier bent by a slower modulator.
    QPainterPath wave;
    for (int x = 0; x <= 48; ++x) {
        const double t = x / 48.0;
        const double y = 32 - 14 * std::sin(2 * 3.14159265 * (3 * t + 0.6 * std::sin(2 * 3.14159265 * t)));
        if (x == 0)
            wave.moveTo(8 + x, y);
        else
            wave.lineTo(8 + x, y);
    }
    p.setPen(QPen(QColor(255, 196, 92), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    p.end();
    return QIcon(pixmap);
}

QPixmap ToolbarIcons::splashPicture(const QString& version)
{
    QPixmap pixmap(480, 260);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 480, 260);
    g.setColorAt(0, QColor(30, 48, 84));
    g.setColorAt(1, QColor(12, 18, 32));
    p.fillRect(pixmap.rect(), g);
    programIcon().paint(&p, QRect(32, 40, 96, 96));
    p.setPen(Qt::white);
    QFont title = p.font();
    title.setPointSize(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(150, 40, 320, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Toneloft"));
    QFont small = p.font();
    small.setPointSize(11);
    small.setBold(false);
    p.setFont(small);
    p.setPen(QColor(210, 220, 240));
    p.drawText(QRect(152, 100, 310, 40), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Editor and librarian for the Yamaha DX7"));
    p.drawText(QRect(32, 210, 420, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Version ") + version);
    p.end();
    return pixmap;
}

} // namespace toneloft
