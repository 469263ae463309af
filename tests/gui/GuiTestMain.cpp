#include "GuiTestRegistry.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char* argv[])
{
    // Window tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Settings the windows remember go to a folder of the run's own, never the user's.
    QTemporaryDir settings;
    QApplication::setOrganizationName(QStringLiteral("ToneloftTests"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    return toneloft::test::runGuiTests(argc, argv);
}
