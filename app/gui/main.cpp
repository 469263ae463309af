#include "library/ui/frmStartup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Toneloft"));
    QApplication::setApplicationVersion(QStringLiteral(TONELOFT_VERSION));

    toneloft::frmStartup mainWindow;
    if (!mainWindow.startUp())
        return 0;
    return QApplication::exec();
}
