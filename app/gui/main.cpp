#include "common/Session.h"
#include "library/ui/ListWindowManager.h"
#include "library/ui/frmStartup.h"
#include "library/ui/frmVoiceList.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Toneloft"));
    QApplication::setApplicationVersion(QStringLiteral(TONELOFT_VERSION));

    toneloft::frmStartup mainWindow;
    toneloft::Session session(mainWindow.ui(), QDir::toNativeSeparators(mainWindow.programDirectory()).toStdString());
    session.findDataDirectory();
    toneloft::ListWindowManager lists(session, mainWindow);
    if (!mainWindow.startUp())
        return 0;
    // Voice files named on the command line open as lists (a single letter is a
    // start-up option); --properties opens the last list's properties panel.
    const QStringList arguments = QApplication::arguments();
    bool showProperties = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--properties"))
            showProperties = true;
        else if (arguments[i].size() > 1)
            lists.openFile(QDir::toNativeSeparators(QFileInfo(arguments[i]).absoluteFilePath()).toStdString());
    }
    if (showProperties)
        if (toneloft::frmVoiceList* active = lists.activeWindow())
            active->togglePropertiesPanel();
    return QApplication::exec();
}
