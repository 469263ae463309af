#include "GuiTestRegistry.h"

#include "library/ui/frmStartup.h"
#include "support/ScriptedUi.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

using toneloft::frmStartup;
using toneloft::MainCommand;

// The menus as a musician sees them at start: captions, keys, enabling, help.
class MainMenuTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void topMenusInOrder();
    void entries_data();
    void entries();
    void separators_data();
    void separators();
    void toolbarKeysAndTooltips();
};

void MainMenuTest::topMenusInOrder()
{
    toneloft::test::ScriptedUi ui;
    frmStartup w(&ui);
    const QStringList expected{QStringLiteral("&File"), QStringLiteral("&Edit"),
                               QStringLiteral("&Midi"), QStringLiteral("&Tools"),
                               QStringLiteral("&Window"), QStringLiteral("&Help")};
    QStringList captions;
    for (QAction* a : w.menuBar()->actions())
        captions << a->text();
    QCOMPARE(captions, expected);
}

void MainMenuTest::entries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("help");

    const QKeySequence none;
    auto row = [](const char* name, const char* caption, QKeySequence key, bool on, int help) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption) << key
                            << on << help;
    };
    row("mnufile(0)", "&New", QKeySequence(Qt::CTRL | Qt::Key_N), true, 2000);
    row("mnufile(1)", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), true, 2000);
    row("mnufile(2)", "&Close", none, false, 2000);
    row("mnufile(3)", "C&lose All", QKeySequence(Qt::CTRL | Qt::Key_L), false, 2000);
    row("mnufile(4)", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), false, 2000);
    row("mnufile(5)", "Save &As...", QKeySequence(Qt::CTRL | Qt::Key_A), false, 2000);
    row("mnufile(7)", "Save &Voice", QKeySequence(Qt::CTRL | Qt::Key_V), false, 2000);
    row("mnufile(9)", "&Print Voice List", QKeySequence(Qt::CTRL | Qt::Key_P), false, 2000);
    row("mnufile(10)", "Print Voice &Data", QKeySequence(Qt::CTRL | Qt::Key_D), false, 2000);
    row("mnufile(12)", "&Exit", QKeySequence(Qt::CTRL | Qt::Key_X), true, 2000);
    row("mnuEditUndo", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), false, 2100);
    row("mnuEditRedo", "&Redo", QKeySequence(Qt::CTRL | Qt::Key_Y), false, 2100);
    row("mnuEditSelectAll", "Select &All", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), false, 2100);
    row("mnuEditPreferences", "Pr&eferences...", none, true, 0);
    row("mnuedit(0)", "&Cut", QKeySequence(Qt::SHIFT | Qt::Key_Delete), false, 2100);
    row("mnuedit(1)", "C&opy", QKeySequence(Qt::CTRL | Qt::Key_Insert), false, 2100);
    row("mnuedit(2)", "&Paste", QKeySequence(Qt::SHIFT | Qt::Key_Insert), false, 2100);
    row("mnuedit(3)", "&Delete", QKeySequence(Qt::Key_Delete), false, 2100);
    row("mnuedit(5)", "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F), false, 9000);
    row("mnuedit(6)", "Find &Next", QKeySequence(Qt::Key_F3), false, 9000);
    row("mnuedit(8)", "&Sort Voice List", QKeySequence(Qt::Key_F12), false, 9200);
    row("mnuedit(9)", "Find D&uplicates...", QKeySequence(Qt::SHIFT | Qt::Key_F12), false, 0);
    row("mnuedit(10)", "&Group Voice Patches ...", QKeySequence(Qt::CTRL | Qt::Key_G), false, 0);
    row("mnuMIDI(0)", "&Send", none, false, 2200);
    row("mnuMIDIsend(0)", "Voic&e", QKeySequence(Qt::Key_F6), false, 2200);
    row("mnuMIDIsend(1)", "B&ank", QKeySequence(Qt::Key_F7), false, 2200);
    row("mnuMIDIsend(2)", "&File...", QKeySequence(Qt::Key_F8), true, 2200);
    row("mnuMIDI(1)", "&Receive", none, false, 2200);
    row("mnuMIDIreceive(0)", "&Voice...", QKeySequence(Qt::CTRL | Qt::Key_F6), true, 2200);
    row("mnuMIDIreceive(1)", "&Bank...", QKeySequence(Qt::CTRL | Qt::Key_F7), true, 2200);
    row("mnuMIDI(2)", "&Options...", none, false, 2200);
    row("mnuMIDIoptions(0)", "&Midi Input On", QKeySequence(Qt::CTRL | Qt::Key_I), false, 2200);
    row("mnuMIDIoptions(1)", "Show Midi Ma&nager", QKeySequence(Qt::CTRL | Qt::Key_M), true, 2200);
    row("mnuMIDI(4)", "MIDI &Devices...", none, true, 2200);
    row("mnuTools(0)", "DX to SY &Voice conversion", none, true, 10000);
    row("mnuTools(1)", "Patch &Generator", none, false, 11000);
    row("mnuWindow(0)", "&Cascade", none, true, 0);
    row("mnuWindow(1)", "&Tile", none, true, 0);
    row("mnuWindow(2)", "&Arrange Icons", none, true, 0);
    row("mnuWindowTabbed", "Ta&bbed", none, true, 0);
    row("mnuHelp(0)", "&Contents", none, true, 2400);
    row("mnuHelp(1)", "&Index", none, true, 2400);
    row("mnuHelp(2)", "&Search", none, true, 2400);
    row("mnuHelp(4)", "&Quick Tour", none, true, 2400);
    row("mnuHelp(5)", "&Technical Support", none, true, 2400);
    row("mnuHelp(7)", "&About Toneloft", none, true, 2400);
}

void MainMenuTest::entries()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);
    QFETCH(int, help);

    toneloft::test::ScriptedUi ui;
    frmStartup w(&ui);
    const QAction* a = w.menuEntry(name);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->shortcut(), shortcut);
    QCOMPARE(a->isEnabled(), enabled);
    QCOMPARE(a->property("helpContext").toInt(), help);
}

void MainMenuTest::separators_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QList<int>>("positions");
    QTest::newRow("File") << QStringLiteral("File") << QList<int>{6, 8, 11};
    QTest::newRow("Edit") << QStringLiteral("Edit") << QList<int>{2, 7, 10, 14};
    QTest::newRow("Midi") << QStringLiteral("Midi") << QList<int>{3};
    QTest::newRow("Help") << QStringLiteral("Help") << QList<int>{3, 6};
    QTest::newRow("Tools") << QStringLiteral("Tools") << QList<int>{};
}

void MainMenuTest::separators()
{
    QFETCH(QString, menu);
    QFETCH(QList<int>, positions);
    toneloft::test::ScriptedUi ui;
    frmStartup w(&ui);
    const auto actions = w.topMenu(menu)->actions();
    QList<int> found;
    for (int i = 0; i < actions.size(); ++i)
        if (actions[i]->isSeparator())
            found << i;
    QCOMPARE(found, positions);
}

void MainMenuTest::toolbarKeysAndTooltips()
{
    toneloft::test::ScriptedUi ui;
    frmStartup w(&ui);
    const QList<QPair<QString, QString>> expected{
        {QStringLiteral("New File"), QStringLiteral("Create new file")},
        {QStringLiteral("Open File"), QStringLiteral("Open voice data file")},
        {QStringLiteral("Save File"), QStringLiteral("Save voice data file")},
        {QStringLiteral("Print Voice"), QStringLiteral("Print")},
        {QString(), QString()},
        {QStringLiteral("Cut"), QStringLiteral("Cut")},
        {QStringLiteral("Copy"), QStringLiteral("Copy")},
        {QStringLiteral("Delete"), QStringLiteral("Delete")},
        {QStringLiteral("Paste"), QStringLiteral("Paste")},
        {QStringLiteral("MIDI devices"), QStringLiteral("MIDI devices")},
        {QStringLiteral("Receive Bank"), QStringLiteral("Receive Bank")},
        {QStringLiteral("Send Bank"), QStringLiteral("Send Bank")},
    };
    const auto actions = w.toolbar()->actions();
    QCOMPARE(actions.size(), expected.size());
    for (int i = 0; i < actions.size(); ++i) {
        QCOMPARE(w.toolButtonAt(i + 1), actions[i]);
        if (expected[i].first.isEmpty()) {
            QVERIFY(actions[i]->isSeparator());
            continue;
        }
        QCOMPARE(actions[i]->property("key").toString(), expected[i].first);
        QCOMPARE(actions[i]->toolTip(), expected[i].second);
        QVERIFY2(!actions[i]->icon().isNull(), qPrintable(expected[i].first));
    }
    // Editing buttons and the MIDI buttons start disabled.
    for (const char* key : {"Cut", "Copy", "Delete", "Paste", "Receive Bank", "Send Bank"})
        QVERIFY2(!w.toolButton(QString::fromLatin1(key))->isEnabled(), key);
    for (const char* key : {"New File", "Open File", "Save File", "Print Voice", "MIDI devices"})
        QVERIFY2(w.toolButton(QString::fromLatin1(key))->isEnabled(), key);
}

TONELOFT_GUI_TEST(MainMenuTest);
#include "MainMenuTest.moc"
