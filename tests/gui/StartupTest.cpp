#include "FakeClockUi.h"
#include "GuiTestRegistry.h"

#include "library/ui/frmStartup.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using toneloft::frmStartup;
using toneloft::test::FakeClockUi;

// Start-up of the main window: splash, the off-line path.
class StartupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void offlineStartShowsWelcomeAndDisablesMidi();
    void quittingInitialiserEndsTheProgram();
    void midiDevicesClosesBeforeItRuns();
};

void StartupTest::offlineStartShowsWelcomeAndDisablesMidi()
{
    FakeClockUi ui;
    frmStartup w(&ui);
    ui.strip = w.statusStrip();
    QVERIFY(w.startUp());
    QVERIFY(w.isVisible());

    // The splash stays for 1500 ms and is gone before the welcome text.
    std::int64_t splashUntil = 0;
    for (const auto& m : ui.moments)
        if (m.splashShown)
            splashUntil = m.at;
    QVERIFY2(splashUntil >= 1490 && splashUntil <= 1510, qPrintable(QString::number(splashUntil)));

    const QString welcome = QStringLiteral(" Welcome to Toneloft - Press F1 for Help  ");
    const std::int64_t shown = ui.shownFor(welcome);
    QVERIFY2(shown >= 500 && shown <= 520, qPrintable(QString::number(shown)));
    for (const auto& m : ui.moments)
        if (m.status == welcome)
            QVERIFY(!m.splashShown);
    QVERIFY(w.statusStrip()->isHidden());
    QVERIFY(w.statusStrip()->text().isEmpty());

    for (const char* name : {"mnuMIDI(0)", "mnuMIDI(1)", "mnuMIDI(2)"})
        QVERIFY2(!w.menuEntry(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(w.menuEntry(QStringLiteral("mnuMIDI(4)"))->isEnabled());
}

void StartupTest::quittingInitialiserEndsTheProgram()
{
    FakeClockUi ui;
    frmStartup w(&ui);
    w.setMidiInitialiser([] { return -1; });
    QVERIFY(!w.startUp());
    QVERIFY(!w.isVisible());
}

void StartupTest::midiDevicesClosesBeforeItRuns()
{
    FakeClockUi ui;
    frmStartup w(&ui);
    QStringList calls;
    w.setMidiCloser([&] { calls << QStringLiteral("close"); });
    w.setMidiInitialiser([&] {
        calls << QStringLiteral("initialise");
        return 0;
    });
    w.show();
    w.runCommand(toneloft::MainCommand::MidiDevices);
    w.toolbarClicked(QStringLiteral("MIDI devices"));
    QCOMPARE(calls, (QStringList{QStringLiteral("close"), QStringLiteral("initialise"),
                                 QStringLiteral("close"), QStringLiteral("initialise")}));
    QVERIFY(w.isVisible());
}

TONELOFT_GUI_TEST(StartupTest);
#include "StartupTest.moc"
