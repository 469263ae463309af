#include "FakeChildWindow.h"
#include "GuiTestRegistry.h"

#include "library/ui/frmStartup.h"
#include "support/ScriptedUi.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

using toneloft::frmStartup;
using toneloft::MainCommand;
using toneloft::MdiChild;
using toneloft::test::FakeChildWindow;
using toneloft::test::ScriptedUi;

// What the commands do and when they are available, with stand-in child windows.
class MainCommandTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listCommandsFollowTheActiveList_data();
    void listCommandsFollowTheActiveList();
    void editorAndOpenListCommands();
    void midiCommandsShowTheirState();
    void disabledSubmenuSwallowsItsShortcuts();
    void editCommandsNeedAListNotRenaming();
    void undoRedoAndSelectAllFollowTheActiveChild();
    void commandWithoutCoreSaysSo();
    void printButtonFollowsTheActiveChild();
    void closeAndFindPickListsByCaption();
    void closeSequenceStopsAtARefusal();
    void closeSequenceClosesMidiAfterTheLists();
    void closeSequenceFollowsTheListOrder();
    void windowMenuListsTheWindows();
    void tileSetsWindowsSideBySide();
};

namespace {

FakeChildWindow* addList(frmStartup& w, const QString& caption)
{
    auto* child = new FakeChildWindow(MdiChild::Kind::VoiceList, caption);
    w.addChild(child);
    return child;
}

bool enabled(frmStartup& w, MainCommand c)
{
    return w.action(c)->isEnabled();
}

} // namespace

void MainCommandTest::listCommandsFollowTheActiveList_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("selections");
    QTest::addColumn<bool>("clipboard");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<bool>("listWide");

    QTest::newRow("deactivated") << false << 3 << true << false << false << false;
    QTest::newRow("nothing selected") << true << 0 << false << false << false << true;
    QTest::newRow("selection") << true << 2 << false << true << false << true;
    QTest::newRow("clipboard only") << true << 0 << true << false << true << true;
    QTest::newRow("both") << true << 40 << true << true << true << true;
}

void MainCommandTest::listCommandsFollowTheActiveList()
{
    QFETCH(bool, active);
    QFETCH(int, selections);
    QFETCH(bool, clipboard);
    QFETCH(bool, editing);
    QFETCH(bool, paste);
    QFETCH(bool, listWide);

    ScriptedUi ui;
    frmStartup w(&ui);
    w.setListCommands(active, selections, clipboard);
    for (auto c : {MainCommand::EditCut, MainCommand::EditCopy, MainCommand::EditDelete})
        QCOMPARE(enabled(w, c), editing);
    for (const char* key : {"Cut", "Copy", "Delete"})
        QCOMPARE(w.toolButton(QString::fromLatin1(key))->isEnabled(), editing);
    QCOMPARE(enabled(w, MainCommand::EditPaste), paste);
    QCOMPARE(w.toolButton(QStringLiteral("Paste"))->isEnabled(), paste);
    for (auto c : {MainCommand::EditFind, MainCommand::EditFindNext, MainCommand::EditSort,
                   MainCommand::EditFindDuplicates, MainCommand::EditGroupPatches,
                   MainCommand::FileSave, MainCommand::FileSaveAs, MainCommand::FilePrintVoiceList})
        QCOMPARE(enabled(w, c), listWide);
    // Commands the list does not drive stay as they were.
    QVERIFY(!enabled(w, MainCommand::FileSaveVoice));
    QVERIFY(!enabled(w, MainCommand::FileClose));
    QVERIFY(enabled(w, MainCommand::FileNew));
}

void MainCommandTest::editorAndOpenListCommands()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    w.setEditorCommands(true);
    QVERIFY(enabled(w, MainCommand::FileSaveVoice));
    QVERIFY(enabled(w, MainCommand::FilePrintVoiceData));
    QVERIFY(!enabled(w, MainCommand::FilePrintVoiceList));
    w.setEditorCommands(false);
    QVERIFY(!enabled(w, MainCommand::FileSaveVoice));

    w.setOpenListCount(2);
    for (auto c : {MainCommand::FileClose, MainCommand::FileCloseAll, MainCommand::ToolsPatchGenerator})
        QVERIFY(enabled(w, c));
    w.setOpenListCount(0);
    for (auto c : {MainCommand::FileClose, MainCommand::FileCloseAll, MainCommand::ToolsPatchGenerator})
        QVERIFY(!enabled(w, c));
}

void MainCommandTest::midiCommandsShowTheirState()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    QVERIFY(!enabled(w, MainCommand::MidiInputOn));

    auto state = w.commandState();
    state.midiInputOnEnabled = true;
    state.midiInputOnTicked = true;
    state.midiManagerTicked = true;
    w.setCommandState(state);
    QVERIFY(enabled(w, MainCommand::MidiInputOn));
    QVERIFY(w.action(MainCommand::MidiInputOn)->isChecked());
    QVERIFY(w.action(MainCommand::MidiShowManager)->isChecked());
}

void MainCommandTest::disabledSubmenuSwallowsItsShortcuts()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    int sent = 0;
    w.setCommandHandler(MainCommand::MidiSendFile, [&] { ++sent; });
    QVERIFY(enabled(w, MainCommand::MidiSendFile));
    w.action(MainCommand::MidiSendFile)->trigger();
    QCOMPARE(sent, 0);

    auto state = w.commandState();
    state.sendMenu = true;
    w.setCommandState(state);
    w.action(MainCommand::MidiSendFile)->trigger();
    QCOMPARE(sent, 1);
    QVERIFY(ui.boxes.empty());
}

void MainCommandTest::editCommandsNeedAListNotRenaming()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    int copies = 0;
    w.setCommandHandler(MainCommand::EditCopy, [&] { ++copies; });

    w.runCommand(MainCommand::EditCopy);
    w.runCommand(MainCommand::EditFind);
    QCOMPARE(copies, 0);
    QVERIFY(ui.boxes.empty());

    auto* editor = new FakeChildWindow(MdiChild::Kind::VoiceEditor, QStringLiteral("E.PIANO 1"));
    w.addChild(editor);
    w.runCommand(MainCommand::EditCopy);
    QCOMPARE(copies, 0);

    FakeChildWindow* list = addList(w, QStringLiteral("ROM1A [ 32 patches ]"));
    w.mdiArea()->setActiveSubWindow(w.mdiArea()->subWindowList().back());
    list->renaming = true;
    w.runCommand(MainCommand::EditCopy);
    QCOMPARE(copies, 0);
    list->renaming = false;
    w.runCommand(MainCommand::EditCopy);
    QCOMPARE(copies, 1);
}

void MainCommandTest::commandWithoutCoreSaysSo()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    w.runCommand(MainCommand::ToolsPatchGenerator);
    w.runCommand(MainCommand::FileOpen);
    QCOMPARE(ui.boxes.size(), std::size_t{2});
    QCOMPARE(ui.boxes[0].text, std::string("Patch Generator is not available yet."));
    QCOMPARE(ui.boxes[1].text, std::string("Open is not available yet."));
    QCOMPARE(ui.boxes[0].title, std::string("Toneloft"));
}

void MainCommandTest::printButtonFollowsTheActiveChild()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    QList<MainCommand> printed;
    w.setCommandHandler(MainCommand::FilePrintVoiceData, [&] { printed << MainCommand::FilePrintVoiceData; });
    w.setCommandHandler(MainCommand::FilePrintVoiceList, [&] { printed << MainCommand::FilePrintVoiceList; });

    w.toolbarClicked(QStringLiteral("Print Voice"));
    QVERIFY(printed.isEmpty());
    QVERIFY(ui.boxes.empty());

    addList(w, QStringLiteral("A [ 32 patches ]"));
    w.toolbarClicked(QStringLiteral("Print Voice"));
    w.addChild(new FakeChildWindow(MdiChild::Kind::VoiceEditor, QStringLiteral("BRASS 1")));
    w.mdiArea()->setActiveSubWindow(w.mdiArea()->subWindowList().back());
    w.toolbarClicked(QStringLiteral("Print Voice"));
    w.toolbarClicked(QStringLiteral("No Such Key"));
    QCOMPARE(printed, (QList<MainCommand>{MainCommand::FilePrintVoiceList,
                                          MainCommand::FilePrintVoiceData}));
    QVERIFY(ui.boxes.empty());
}

void MainCommandTest::closeAndFindPickListsByCaption()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    const QString same = QStringLiteral("ROM1A [ 32 patches ]");
    FakeChildWindow* first = addList(w, same);
    FakeChildWindow* other = addList(w, QStringLiteral("BASS [ 12 patches ]"));
    FakeChildWindow* second = addList(w, same);
    w.mdiArea()->setActiveSubWindow(w.mdiArea()->subWindowList(QMdiArea::CreationOrder).at(2));

    QCOMPARE(w.listPositionForFind(), 3);
    QCOMPARE(w.listWindowToClose()->widget(), first);

    w.runCommand(MainCommand::FileClose);
    QCOMPARE(first->closeRequests, 1);
    QCOMPARE(second->closeRequests, 0);
    QCOMPARE(other->closeRequests, 0);
}

void MainCommandTest::closeSequenceStopsAtARefusal()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    w.show();
    FakeChildWindow* a = addList(w, QStringLiteral("A"));
    FakeChildWindow* b = addList(w, QStringLiteral("B"));
    FakeChildWindow* c = addList(w, QStringLiteral("C"));
    b->refuseClose = true;
    int midiClosed = 0;
    w.setMidiCloser([&] { ++midiClosed; });
    w.setMidiDevicesOpen(true, true);

    w.runCommand(MainCommand::FileExit);
    QVERIFY(w.isVisible());
    QCOMPARE(a->closeRequests, 1);
    QCOMPARE(b->closeRequests, 1);
    QCOMPARE(c->closeRequests, 0);
    QCOMPARE(midiClosed, 0);
    QCOMPARE(w.voiceListWindows().size(), std::size_t{2});

    b->refuseClose = false;
    QVERIFY(w.close());
    QCOMPARE(c->closeRequests, 1);
    QCOMPARE(midiClosed, 1);
}

void MainCommandTest::closeSequenceClosesMidiAfterTheLists()
{
    ScriptedUi ui;
    {
        frmStartup w(&ui);
        w.show();
        addList(w, QStringLiteral("A"));
        int midiCalls = 0;
        w.setMidiCloser([&] { ++midiCalls; });
        QVERIFY(w.close());
        QCOMPARE(midiCalls, 0); // no device was open
    }
    frmStartup w(&ui);
    w.show();
    FakeChildWindow* list = addList(w, QStringLiteral("A"));
    int listClosesSeenByMidi = -1;
    w.setMidiCloser([&] { listClosesSeenByMidi = list->closeRequests; });
    w.setMidiDevicesOpen(false, true);
    QVERIFY(w.close());
    QCOMPARE(listClosesSeenByMidi, 1);
}

void MainCommandTest::closeSequenceFollowsTheListOrder()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    w.show();
    FakeChildWindow* a = addList(w, QStringLiteral("A"));
    FakeChildWindow* b = addList(w, QStringLiteral("B"));
    b->refuseClose = true;
    // The open-file collection decides the order, not the windows' creation.
    w.setVoiceListWindowsProvider([&] {
        const auto windows = w.mdiArea()->subWindowList(QMdiArea::CreationOrder);
        return std::vector<QMdiSubWindow*>(windows.rbegin(), windows.rend());
    });
    QVERIFY(!w.close());
    QCOMPARE(b->closeRequests, 1);
    QCOMPARE(a->closeRequests, 0);
}

void MainCommandTest::windowMenuListsTheWindows()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    QMenu* menu = w.topMenu(QStringLiteral("Window"));
    Q_EMIT menu->aboutToShow();
    QCOMPARE(menu->actions().size(), 4); // Cascade, Tile, Arrange Icons, Tabbed

    addList(w, QStringLiteral("A&B [ 2 patches ]"));
    addList(w, QStringLiteral("C [ 1 patch ]"));
    Q_EMIT menu->aboutToShow();
    Q_EMIT menu->aboutToShow();
    const auto actions = menu->actions();
    QCOMPARE(actions.size(), 7);
    QVERIFY(actions[4]->isSeparator());
    QCOMPARE(actions[5]->text(), QStringLiteral("&1 A&&B [ 2 patches ]"));
    QCOMPARE(actions[6]->text(), QStringLiteral("&2 C [ 1 patch ]"));
    QVERIFY(actions[6]->isChecked());

    actions[5]->trigger();
    QCOMPARE(w.mdiArea()->activeSubWindow(),
             w.mdiArea()->subWindowList(QMdiArea::CreationOrder).front());
}

void MainCommandTest::tileSetsWindowsSideBySide()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    w.resize(900, 600);
    w.show();
    for (const char* caption : {"A", "B", "C"})
        addList(w, QString::fromLatin1(caption));
    w.runCommand(MainCommand::WindowTile);
    const auto windows = w.mdiArea()->subWindowList(QMdiArea::CreationOrder);
    const int height = w.mdiArea()->viewport()->height();
    for (int i = 0; i < windows.size(); ++i) {
        QCOMPARE(windows[i]->geometry().height(), height);
        QCOMPARE(windows[i]->geometry().top(), 0);
        if (i > 0)
            QCOMPARE(windows[i]->geometry().left(), windows[i - 1]->geometry().right() + 1);
    }
    QVERIFY(windows.back()->geometry().right() < w.mdiArea()->viewport()->width());
}

TONELOFT_GUI_TEST(MainCommandTest);

void MainCommandTest::undoRedoAndSelectAllFollowTheActiveChild()
{
    ScriptedUi ui;
    frmStartup w(&ui);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(!enabled(w, MainCommand::EditUndo));
    FakeChildWindow* first = addList(w, QStringLiteral("A.SYX"));
    QVERIFY(!enabled(w, MainCommand::EditUndo));
    QVERIFY(enabled(w, MainCommand::EditSelectAll));
    first->edit();
    first->edit();
    QVERIFY(enabled(w, MainCommand::EditUndo));
    QVERIFY(!enabled(w, MainCommand::EditRedo));

    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(first->done, 1);
    QVERIFY(enabled(w, MainCommand::EditRedo));
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(first->done, 2);
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(first->selectAllRequests, 1);

    // Another child with no history of its own: the commands follow it, and
    // undo there leaves the first list alone.
    auto* editor = new FakeChildWindow(MdiChild::Kind::VoiceEditor, QStringLiteral("BRASS 1"));
    w.addChild(editor);
    QVERIFY(!enabled(w, MainCommand::EditUndo));
    QVERIFY(!enabled(w, MainCommand::EditSelectAll));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(first->done, 2);

    first->renaming = true;
    w.mdiArea()->setActiveSubWindow(w.mdiArea()->subWindowList().first());
    QVERIFY(!enabled(w, MainCommand::EditUndo));
}
#include "MainCommandTest.moc"
