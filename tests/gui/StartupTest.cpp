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

// Start-up of the main window: data directory, splash, the off-line path.
class StartupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dataDirectoryRule_data();
    void dataDirectoryRule();
    void offlineStartShowsWelcomeAndDisablesMidi();
    void quittingInitialiserEndsTheProgram();
    void midiDevicesClosesBeforeItRuns();
};

void StartupTest::dataDirectoryRule_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("usesData");
    QTest::newRow("no Data folder") << QStringList{} << false;
    QTest::newRow("Data without voices") << QStringList{QStringLiteral("Data/readme.txt")} << false;
    QTest::newRow("Data with a voice file") << QStringList{QStringLiteral("Data/ROM1A.dat")} << true;
    QTest::newRow(".dat beside, not inside") << QStringList{QStringLiteral("ROM1A.dat")} << false;
}

void StartupTest::dataDirectoryRule()
{
    QFETCH(QStringList, files);
    QFETCH(bool, usesData);
    QTemporaryDir program;
    QVERIFY(program.isValid());
    QDir(program.path()).mkdir(QStringLiteral("Data"));
    for (const QString& f : files) {
        QFile file(QDir(program.path()).filePath(f));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString expected = QDir::toNativeSeparators(
        usesData ? program.path() + QStringLiteral("/Data/") : program.path() + QLatin1Char('/'));
    QCOMPARE(frmStartup::findDataDirectory(program.path()), expected);
}

void StartupTest::offlineStartShowsWelcomeAndDisablesMidi()
{
    FakeClockUi ui;
    frmStartup w(&ui);
    ui.strip = w.statusStrip();
    QVERIFY(w.startUp());
    QVERIFY(w.isVisible());
    QCOMPARE(w.DataDirectory(), frmStartup::findDataDirectory(w.programDirectory()));

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
