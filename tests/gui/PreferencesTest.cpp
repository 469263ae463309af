// Edit > Preferences and Window > Tabbed: the key scheme by keystroke, the
// slot numbering setting, the tabbed view, each remembered for the next start.
#include "DialogDriver.h"
#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "library/ui/MainCommand.h"
#include "library/ui/Preferences.h"
#include "library/ui/PreferencesHost.h"
#include "library/ui/frmPreferences.h"
#include "voice/VoiceClipboard.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

namespace {

using toneloft::frmPreferences;
using toneloft::frmVoiceList;
using toneloft::MainCommand;
using toneloft::MsgResult;
using toneloft::Preferences;
using toneloft::PreferencesHost;
using toneloft::test::ListDesk;

// The desk as the program wires it: the preferences host installed.
struct PreferencesDesk : ListDesk {
    PreferencesHost* host = new PreferencesHost(main, lists);

    void press(QKeyCombination key)
    {
        QApplication::setActiveWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &main;
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    // Edit > Preferences..., choosing in the dialog as a user does, then OK.
    void choose(const char* option)
    {
        toneloft::test::onNextModal([option](QWidget* modal) {
            auto* dialog = qobject_cast<frmPreferences*>(modal);
            if (!dialog) {
                modal->close();
                return;
            }
            QTest::mouseClick(dialog->findChild<QRadioButton*>(QString::fromLatin1(option)), Qt::LeftButton,
                              {}, QPoint(4, 4));
            dialog->okButton()->click();
        });
        main.action(MainCommand::EditPreferences)->trigger();
    }
};

class PreferencesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QSettings().clear(); }
    void cleanup() { QSettings().clear(); }
    void standardKeysTurnCtrlXIntoCutAndBack();
    void quitWithStandardKeysStillAsksForAChangedList();
    void schemes_data();
    void schemes();
    void slotNumberingIsStoredForTheLists();
    void tabbedViewIsRememberedForTheNextStart();
};

void PreferencesTest::standardKeysTurnCtrlXIntoCutAndBack()
{
    PreferencesDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 20, "A");
    QVERIFY(a);
    ListDesk::click(a, 2);

    desk.choose("optStandardKeys");
    QCOMPARE(QSettings().value(QStringLiteral("keys/scheme")).toString(), QStringLiteral("standard"));
    desk.press(Qt::CTRL | Qt::Key_X);
    QVERIFY(desk.main.isVisible());
    QCOMPARE(a->list().rsmfimage().recordCount(), 19L);
    QVERIFY(!desk.session.voiceClipboard().isEmpty());
    QVERIFY(desk.ui.boxes.empty());

    // Back to the classic keys: Ctrl+X is Exit again, and the changed list
    // asks before it goes; Cancel keeps everything open.
    desk.choose("optClassicKeys");
    QCOMPARE(Preferences::keyScheme(), Preferences::KeyScheme::Classic);
    desk.ui.answers.push_back(MsgResult::Cancel);
    desk.press(Qt::CTRL | Qt::Key_X);
    QCOMPARE(desk.ui.boxes.size(), std::size_t(1));
    QCOMPARE(desk.ui.lastBox().text, std::string("A.dat has changed\r\nOK to save ?"));
    QVERIFY(desk.main.isVisible());
    QCOMPARE(desk.session.colVoiceLists().count(), 1L);
    QCOMPARE(a->list().rsmfimage().recordCount(), 19L);
}

void PreferencesTest::quitWithStandardKeysStillAsksForAChangedList()
{
    Preferences::setKeyScheme(Preferences::KeyScheme::Standard); // stored by an earlier run
    PreferencesDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 20, "A");
    QVERIFY(a);
    ListDesk::click(a, 1);
    desk.main.runCommand(MainCommand::EditDelete);

    desk.ui.answers.push_back(MsgResult::Cancel);
    desk.press(Qt::CTRL | Qt::Key_Q);
    QCOMPARE(desk.ui.boxes.size(), std::size_t(1));
    QCOMPARE(desk.ui.lastBox().text, std::string("A.dat has changed\r\nOK to save ?"));
    QVERIFY(desk.main.isVisible());
    QCOMPARE(desk.session.colVoiceLists().count(), 1L);

    // No: the list goes unsaved, and the program with it.
    desk.ui.answers.push_back(MsgResult::No);
    desk.press(Qt::CTRL | Qt::Key_Q);
    QCOMPARE(desk.session.colVoiceLists().count(), 0L);
    QVERIFY(!desk.main.isVisible());
}

void PreferencesTest::schemes_data()
{
    QTest::addColumn<bool>("standard");
    QTest::addColumn<int>("command");
    QTest::addColumn<QKeySequence>("key");
    auto row = [](const char* name, bool standard, MainCommand c, QKeySequence key) {
        QTest::newRow(name) << standard << static_cast<int>(c) << key;
    };
    // The classic table itself is the menu test's; here only that it comes back.
    row("classic exit", false, MainCommand::FileExit, QKeySequence(Qt::CTRL | Qt::Key_X));
    row("standard cut", true, MainCommand::EditCut, QKeySequence(Qt::CTRL | Qt::Key_X));
    row("standard copy", true, MainCommand::EditCopy, QKeySequence(Qt::CTRL | Qt::Key_C));
    row("standard paste", true, MainCommand::EditPaste, QKeySequence(Qt::CTRL | Qt::Key_V));
    row("standard quit", true, MainCommand::FileExit, QKeySequence(Qt::CTRL | Qt::Key_Q));
    row("standard save", true, MainCommand::FileSave, QKeySequence(Qt::CTRL | Qt::Key_S));
    row("standard save as", true, MainCommand::FileSaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    row("standard undo", true, MainCommand::EditUndo, QKeySequence(Qt::CTRL | Qt::Key_Z));
}

// Each scheme's menu keys from the stored setting at start, and no key on two
// entries (Qt would then run neither).
void PreferencesTest::schemes()
{
    QFETCH(bool, standard);
    QFETCH(int, command);
    QFETCH(QKeySequence, key);
    Preferences::setKeyScheme(standard ? Preferences::KeyScheme::Standard : Preferences::KeyScheme::Classic);
    PreferencesDesk desk;
    QCOMPARE(desk.main.action(static_cast<MainCommand>(command))->shortcut(), key);

    QMap<QKeySequence, QString> owner;
    for (QAction* a : desk.main.findChildren<QAction*>()) {
        for (const QKeySequence& k : a->shortcuts()) {
            QVERIFY2(!owner.contains(k), qPrintable(k.toString() + QStringLiteral(": ") + owner.value(k) +
                                                    QStringLiteral(" and ") + a->text()));
            owner.insert(k, a->text());
        }
    }
}

void PreferencesTest::slotNumberingIsStoredForTheLists()
{
    PreferencesDesk desk;
    QVERIFY(desk.open("A.dat", 0, 40, "A"));
    desk.choose("optSlotHalves");
    QCOMPARE(QSettings().value(QStringLiteral("lists/slotNumbering")).toString(), QStringLiteral("A/B"));
    desk.choose("optSlotNumbers");
    QCOMPARE(QSettings().value(QStringLiteral("lists/slotNumbering")).toString(), QStringLiteral("1-32"));
}

void PreferencesTest::tabbedViewIsRememberedForTheNextStart()
{
    {
        PreferencesDesk desk;
        QVERIFY(desk.open("A.dat", 0, 20, "A"));
        QVERIFY(desk.open("B.dat", 0, 20, "B"));
        QAction* tabbed = desk.main.menuEntry(QStringLiteral("mnuWindowTabbed"));
        QVERIFY(tabbed->isCheckable() && !tabbed->isChecked());
        tabbed->trigger();
        QCOMPARE(desk.main.mdiArea()->viewMode(), QMdiArea::TabbedView);
        QVERIFY(tabbed->isChecked());
        // Nothing to cascade or tile among tabs.
        QVERIFY(!desk.main.action(MainCommand::WindowTile)->isEnabled());
    }
    {
        PreferencesDesk desk;
        QCOMPARE(desk.main.mdiArea()->viewMode(), QMdiArea::TabbedView);
        QVERIFY(desk.main.menuEntry(QStringLiteral("mnuWindowTabbed"))->isChecked());
        desk.main.menuEntry(QStringLiteral("mnuWindowTabbed"))->trigger();
        QCOMPARE(desk.main.mdiArea()->viewMode(), QMdiArea::SubWindowView);
        QVERIFY(desk.main.action(MainCommand::WindowTile)->isEnabled());
    }
    PreferencesDesk desk;
    QCOMPARE(desk.main.mdiArea()->viewMode(), QMdiArea::SubWindowView);
}

} // namespace

TONELOFT_GUI_TEST(PreferencesTest);
#include "PreferencesTest.moc"
