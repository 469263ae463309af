#include "common/ui/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace toneloft {

namespace {

bool isPlacedWindow(const QWidget* w)
{
    if (!w->isWindow())
        return false;
    switch (w->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Tool:
    case Qt::SplashScreen: return true;
    default: return false; // menus, tooltips and the like place themselves
    }
}

} // namespace

WindowPlacement::WindowPlacement(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

WindowPlacement::~WindowPlacement()
{
    qApp->removeEventFilter(this);
}

void WindowPlacement::remember(const QString& objectName, const QString& key)
{
    m_keys[objectName] = key;
}

QString WindowPlacement::settingsKey(const QString& key)
{
    return QStringLiteral("windows/%1/geometry").arg(key);
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        if (auto* w = qobject_cast<QWidget*>(watched); w && isPlacedWindow(w)) {
            if (event->type() == QEvent::Show)
                shown(w);
            else
                hidden(w);
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowPlacement::shown(QWidget* window)
{
    const auto it = m_keys.find(window->objectName());
    if (it != m_keys.end() && m_restored.insert(it->second).second) {
        const QByteArray geometry = QSettings().value(settingsKey(it->second)).toByteArray();
        if (!geometry.isEmpty())
            window->restoreGeometry(geometry);
    }
    fitIntoScreen(window);
    // Some windows settle their size in their own show handling, after this.
    QTimer::singleShot(0, window, [window] { fitIntoScreen(window); });
}

void WindowPlacement::hidden(QWidget* window)
{
    const auto it = m_keys.find(window->objectName());
    // Only what the user saw this run: a window never shown keeps the last run's.
    if (it != m_keys.end() && m_restored.count(it->second) && !window->isMinimized())
        QSettings().setValue(settingsKey(it->second), window->saveGeometry());
}

void WindowPlacement::fitIntoScreen(QWidget* window)
{
    if (window->isMaximized() || window->isFullScreen())
        return;
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect space = screen->availableGeometry();
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    const QSize frame = outer.size() - inner.size(); // title bar and borders, once known

    const QSize room = space.size() - frame;
    QSize size = inner.size();
    if (size.width() > room.width() || size.height() > room.height()) {
        size = size.boundedTo(room);
        // A window that asks for more than the screen has gets the screen.
        if (window->minimumWidth() > size.width() || window->minimumHeight() > size.height())
            window->setMinimumSize(window->minimumSize().boundedTo(size));
        window->resize(size);
    }

    const QSize whole = size + frame;
    const int x = std::clamp(outer.x(), space.left(), std::max(space.left(), space.right() + 1 - whole.width()));
    const int y = std::clamp(outer.y(), space.top(), std::max(space.top(), space.bottom() + 1 - whole.height()));
    if (x != outer.x() || y != outer.y())
        window->move(x, y);
}

} // namespace toneloft
