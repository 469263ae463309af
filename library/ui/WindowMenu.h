#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMdiArea;
class QMenu;

namespace toneloft {

// The Window menu's list of open child windows, rebuilt each time the menu
// opens, and the two arrangements QMdiArea lacks.
class WindowMenu : public QObject {
    Q_OBJECT

public:
    WindowMenu(QMdiArea* area, QMenu* menu, QObject* parent = nullptr);

    void update();

    // Side by side: one full-height column per window that is not minimised,
    // each at least as wide as its contents need (in rows when they do not fit).
    static void tileVertically(QMdiArea* area);
    // Minimised windows in rows along the bottom edge.
    static void arrangeIcons(QMdiArea* area);

private:
    QMdiArea* m_area;
    QMenu* m_menu;
    QList<QAction*> m_listed;
};

} // namespace toneloft
