#include "library/ui/WindowMenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

#include <algorithm>

namespace toneloft {

WindowMenu::WindowMenu(QMdiArea* area, QMenu* menu, QObject* parent)
    : QObject(parent), m_area(area), m_menu(menu)
{
    connect(m_menu, &QMenu::aboutToShow, this, &WindowMenu::update);
}

void WindowMenu::update()
{
    for (QAction* a : std::as_const(m_listed)) {
        m_menu->removeAction(a);
        a->deleteLater();
    }
    m_listed.clear();
    const auto windows = m_area->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    m_listed.append(m_menu->addSeparator());
    int number = 0;
    for (QMdiSubWindow* w : windows) {
        ++number;
        QString text = w->windowTitle();
        text.replace(QStringLiteral("[*]"), w->isWindowModified() ? QStringLiteral("*") : QString());
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = m_menu->addAction(number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(text)
                                                   : text);
        a->setCheckable(true);
        a->setChecked(w == m_area->activeSubWindow());
        QPointer<QMdiSubWindow> target(w);
        connect(a, &QAction::triggered, m_area, [area = m_area, target] {
            if (target)
                area->setActiveSubWindow(target);
        });
        m_listed.append(a);
    }
}

void WindowMenu::tileVertically(QMdiArea* area)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : area->subWindowList(QMdiArea::CreationOrder))
        if (w->isVisible() && !w->isMinimized())
            windows.append(w);
    if (windows.isEmpty())
        return;
    // Never narrower than a window can show its contents (a list's two columns
    // of names): when side by side does not fit, as many columns as do, in rows,
    // and the area scrolls to what lies beyond.
    QSize least(1, 1);
    for (QMdiSubWindow* w : std::as_const(windows)) {
        if (w->isMaximized())
            w->showNormal();
        least = least.expandedTo(w->minimumSizeHint()).expandedTo(w->minimumSize());
    }
    const QRect space = area->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    const int columns = std::clamp(space.width() / least.width(), 1, count);
    const int rows = (count + columns - 1) / columns;
    const int width = std::max(space.width() / columns, least.width());
    const int height = std::max(space.height() / rows, least.height());
    for (int i = 0; i < count; ++i)
        windows[i]->setGeometry((i % columns) * width, (i / columns) * height, width, height);
}

void WindowMenu::arrangeIcons(QMdiArea* area)
{
    const QRect space = area->viewport()->rect();
    int x = 0;
    int bottom = space.height();
    for (QMdiSubWindow* w : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized())
            continue;
        const QSize size = w->size();
        if (x > 0 && x + size.width() > space.width()) {
            x = 0;
            bottom -= size.height();
        }
        w->move(x, bottom - size.height());
        x += size.width();
    }
}

} // namespace toneloft
