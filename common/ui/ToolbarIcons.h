#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace toneloft {

// The program's own small pictures, drawn at run time: one per toolbar key,
// the program icon and the splash picture.
class ToolbarIcons {
public:
    // An empty icon for a key it does not know.
    static QIcon icon(const QString& key);
    static QIcon programIcon();
    static QPixmap splashPicture(const QString& version);
};

} // namespace toneloft
