#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "library/ui/frmFind.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using toneloft::frmVoiceList;
using toneloft::MainCommand;
using toneloft::MsgResult;
using toneloft::test::ListDesk;

// The main window's commands on real voice lists: enabling, clipboard editing,
// drag and drop, find, and closing.
class ListWiringTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandsFollowSelectionsClipboardAndWindows();
    void pasteInsertsBeforeTheCurrentVoice();
    void dropsMoveAndCopyVoices_data();
    void dropsMoveAndCopyVoices();
    void framesRefuseDropsAndStopEdgePaging();
    void dragStartsAfterTheButtonIsHeld();
    void findAcrossTwoLists();
    void findRefusesAnEmbeddedWildcard();
    void findNextFollowsTheFindWindow();
    void findTakesTheActiveListsVoice();
    void refusedSaveStopsFileExit();
    void closeAndFindPickListsWithOneCaption();
    void fileNewOpensTheInitList();
};

namespace {

bool enabled(ListDesk& desk, MainCommand c)
{
    return desk.main.action(c)->isEnabled();
}

} // namespace

void ListWiringTest::commandsFollowSelectionsClipboardAndWindows()
{
    ListDesk desk;
    QVERIFY(!enabled(desk, MainCommand::FileSave));
    QVERIFY(!enabled(desk, MainCommand::FileClose));
    QVERIFY(!enabled(desk, MainCommand::EditFind));

    frmVoiceList* a = desk.open("A.dat", 0, 32, "A");
    QVERIFY(enabled(desk, MainCommand::FileSave));
    QVERIFY(enabled(desk, MainCommand::FileClose));
    QVERIFY(enabled(desk, MainCommand::EditSort));
    QVERIFY(!enabled(desk, MainCommand::EditCut));
    QVERIFY(!enabled(desk, MainCommand::EditPaste));

    ListDesk::click(a, 3);
    QVERIFY(enabled(desk, MainCommand::EditCopy));
    QVERIFY(desk.main.toolButtonAt(8)->isEnabled()); // Delete
    desk.main.runCommand(MainCommand::EditCopy);
    QVERIFY(enabled(desk, MainCommand::EditPaste));
    QVERIFY(desk.main.toolButtonAt(9)->isEnabled());

    // Another list: its own (empty) selection, the same clipboard.
    frmVoiceList* b = desk.open("B.dat", 0, 10, "B");
    QCOMPARE(desk.lists.activeWindow(), b);
    QVERIFY(!enabled(desk, MainCommand::EditCut));
    QVERIFY(enabled(desk, MainCommand::EditPaste));
    desk.activate(a);
    QCOMPARE(desk.session.activeList(), &a->list());
    QVERIFY(enabled(desk, MainCommand::EditCut));

    // Paste consumes the clipboard.
    desk.main.runCommand(MainCommand::EditPaste);
    QCOMPARE(a->list().voiceCount(), 33L);
    QVERIFY(!enabled(desk, MainCommand::EditPaste));

    // While a name is being edited the Edit commands do nothing.
    desk.activate(b);
    ListDesk::click(b, 2);
    ListDesk::mouse(b, QEvent::MouseButtonRelease, 2);
    ListDesk::click(b, 2);
    ListDesk::mouse(b, QEvent::MouseButtonRelease, 2);
    QVERIFY(b->renameInProgress());
    desk.main.runCommand(MainCommand::EditDelete);
    QCOMPARE(b->list().voiceCount(), 10L);

    desk.ui.answers = {MsgResult::No, MsgResult::No};
    desk.main.runCommand(MainCommand::FileCloseAll);
    QCOMPARE(desk.session.colVoiceLists().count(), 0L);
    QVERIFY(desk.main.mdiArea()->subWindowList().isEmpty());
    QVERIFY(!enabled(desk, MainCommand::FileClose));
    QVERIFY(!enabled(desk, MainCommand::FileSave));
    QVERIFY(!enabled(desk, MainCommand::EditFind));
}

void ListWiringTest::pasteInsertsBeforeTheCurrentVoice()
{
    ListDesk desk;
    frmVoiceList* source = desk.open("SRC.dat", 0, 5, "SRC");
    frmVoiceList* target = desk.open("DST.dat", 0, 32, "DST");
    desk.activate(source);
    ListDesk::click(source, 1);
    ListDesk::click(source, 3, Qt::ShiftModifier);
    desk.main.runCommand(MainCommand::EditCopy);
    desk.activate(target);
    ListDesk::click(target, 5);
    desk.main.runCommand(MainCommand::EditPaste);

    QCOMPARE(target->list().voiceCount(), 35L);
    QCOMPARE(ListDesk::nameAt(target->list(), 8), std::string("DST5      "));
    QCOMPARE(ListDesk::nameAt(target->list(), 5), std::string("SRC1      "));
    QCOMPARE(target->selectedItems(), (std::vector<int>{4, 5, 6}));
    QCOMPARE(target->Label1()->text(), QStringLiteral("Bank 1 of 2"));
    QCOMPARE(target->windowTitle(), QStringLiteral("DST [ 35 patches ][*]"));
}

void ListWiringTest::dropsMoveAndCopyVoices_data()
{
    QTest::addColumn<bool>("sameList");
    QTest::addColumn<QList<int>>("dragged");
    QTest::addColumn<int>("onto");
    QTest::addColumn<bool>("alt");
    QTest::addColumn<int>("sourceCount");
    QTest::addColumn<int>("targetCount");
    QTest::addColumn<QStringList>("expected"); // voice=name in the target

    QTest::newRow("move within a list") << true << QList<int>{2, 3} << 10 << false << 20 << 20
                                        << QStringList{"8=A2", "9=A3", "10=A10", "7=A9"};
    QTest::newRow("one voice onto itself") << true << QList<int>{4} << 4 << false << 20 << 20
                                           << QStringList{"4=A4", "5=A5"};
    QTest::newRow("move to another list") << false << QList<int>{1, 2} << 3 << false << 18 << 12
                                          << QStringList{"3=A1", "4=A2", "5=B3"};
    QTest::newRow("alt copies") << false << QList<int>{5} << 1 << true << 20 << 11
                                << QStringList{"1=A5", "2=B1"};
}

void ListWiringTest::dropsMoveAndCopyVoices()
{
    QFETCH(bool, sameList);
    QFETCH(QList<int>, dragged);
    QFETCH(int, onto);
    QFETCH(bool, alt);
    QFETCH(QStringList, expected);
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 20, "A");
    frmVoiceList* b = desk.open("B.dat", 0, 10, "B");
    desk.activate(a);
    ListDesk::click(a, dragged.first());
    for (qsizetype i = 1; i < dragged.size(); ++i)
        ListDesk::click(a, dragged[i], Qt::ControlModifier);

    frmVoiceList* target = sameList ? a : b;
    ListDesk::drop(a, target, onto, alt ? Qt::AltModifier : Qt::NoModifier);

    QTEST(static_cast<int>(a->list().voiceCount()), "sourceCount");
    QTEST(static_cast<int>(target->list().voiceCount()), "targetCount");
    for (const QString& e : expected) {
        const QStringList parts = e.split(QLatin1Char('='));
        QCOMPARE(QString::fromStdString(ListDesk::nameAt(target->list(), parts[0].toLong())).trimmed(), parts[1]);
    }
    QVERIFY(!frmVoiceList::dragInProgress());
}

void ListWiringTest::framesRefuseDropsAndStopEdgePaging()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 100, "A");
    ListDesk::click(a, 1);
    std::unique_ptr<QMimeData> mime(a->dragMimeData());
    QWidget* viewport = a->List1()->viewport();
    const QPoint rightEdge(viewport->width() * 95 / 100, 5);
    auto moveOver = [&](QWidget* where, QPoint at) {
        QDragMoveEvent e(at, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(where, &e);
        return e.isAccepted() && e.dropAction() != Qt::IgnoreAction;
    };
    desk.ui.now = 5000; // the pager reads a time of 0 as "not started"
    QDragEnterEvent enter(rightEdge, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QVERIFY(enter.isAccepted());
    QVERIFY(moveOver(viewport, rightEdge));
    desk.ui.now += 399;
    moveOver(viewport, rightEdge);
    QCOMPARE(a->view().bank, 1L);
    desk.ui.now += 2;
    moveOver(viewport, rightEdge);
    QCOMPARE(a->view().bank, 2L);

    // Over the frames nothing drops, and the edge timing starts again.
    QDragEnterEvent overFrame(QPoint(1, 1), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton,
                              Qt::NoModifier);
    QApplication::sendEvent(a->Frame1(), &overFrame);
    QCOMPARE(overFrame.dropAction(), Qt::IgnoreAction);
    // Coming back to the edge waits the full first step again.
    QDragEnterEvent back(rightEdge, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &back);
    desk.ui.now += 399;
    QVERIFY(moveOver(viewport, rightEdge));
    QCOMPARE(a->view().bank, 2L);
    desk.ui.now += 1;
    moveOver(viewport, rightEdge);
    QCOMPARE(a->view().bank, 3L);
}

void ListWiringTest::dragStartsAfterTheButtonIsHeld()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 20, "A");
    QStringList drags;
    a->setDragStarter([&](QMimeData* m) {
        drags << QString::fromLatin1(m->data(QString::fromLatin1(frmVoiceList::kMimeType)));
        QVERIFY(frmVoiceList::dragInProgress());
        QCOMPARE(m->text(), drags.last());
    });
    ListDesk::click(a, 1);
    ListDesk::click(a, 5, Qt::ControlModifier);
    ListDesk::mouse(a, QEvent::MouseMove, 5);
    desk.ui.now += 250;
    ListDesk::mouse(a, QEvent::MouseMove, 5);
    QVERIFY(drags.isEmpty());
    desk.ui.now += 1;
    ListDesk::mouse(a, QEvent::MouseMove, 5);
    QCOMPARE(drags, QStringList{QStringLiteral("0,L0001, 2, 1, 5,:")});
    QVERIFY(!frmVoiceList::dragInProgress());
}

void ListWiringTest::findAcrossTwoLists()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 20, "A");
    frmVoiceList* b = desk.open("B.dat", 0, 40, "B");
    // "A7" in the first list and "B37" renamed to "A7" in the second.
    auto rows = b->list().rsmfimage().clone();
    rows->setAbsolutePosition(37);
    rows->setValue("Names", std::string("A7        "));
    rows->update();
    desk.activate(a);
    desk.main.runCommand(MainCommand::EditFind);
    toneloft::frmFind& find = desk.lists.findWindow();
    QVERIFY(find.isVisible());
    QCOMPARE(find.listPosition(), 1L);
    QVERIFY(find.Option1(1)->isEnabled());
    find.Option1(1)->setChecked(true);
    find.Combo1()->setCurrentIndex(2); // Down
    find.Text1()->setText(QStringLiteral("A7"));

    QTest::mouseClick(find.Command1(0), Qt::LeftButton);
    QCOMPARE(desk.lists.activeWindow(), a);
    QCOMPARE(a->view().currentVoice, 7L);
    QCOMPARE(a->List1()->currentIndex().row(), 6);

    desk.main.runCommand(MainCommand::EditFindNext);
    QCOMPARE(desk.lists.activeWindow(), b);
    QCOMPARE(b->view().currentVoice, 37L);
    QCOMPARE(b->Label1()->text(), QStringLiteral("Bank 2 of 2"));
    QCOMPARE(b->List1()->currentIndex().row(), 4);
    QVERIFY(desk.ui.boxes.empty());

    desk.main.runCommand(MainCommand::EditFindNext);
    QCOMPARE(desk.ui.boxes.size(), std::size_t(1));
    QCOMPARE(desk.ui.lastBox().title, std::string("Find"));
    QCOMPARE(desk.ui.lastBox().text, std::string("Search complete \r\nA7 not found."));
}

void ListWiringTest::findRefusesAnEmbeddedWildcard()
{
    ListDesk desk;
    desk.open("A.dat", 0, 20, "A");
    desk.main.runCommand(MainCommand::EditFind);
    toneloft::frmFind& find = desk.lists.findWindow();
    QVERIFY(!find.Option1(1)->isEnabled()); // one list open
    find.Check1()->setChecked(true);
    find.Text1()->setText(QStringLiteral("B*SS"));
    QTest::keyClick(find.Text1(), Qt::Key_Return);
    QCOMPARE(desk.ui.boxes.size(), std::size_t(1));
    QCOMPARE(desk.ui.lastBox().title, std::string("Invalid Search String"));
    find.Command1(1)->click();
    QVERIFY(!find.isVisible());
}

void ListWiringTest::findNextFollowsTheFindWindow()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 20, "A");
    QVERIFY(enabled(desk, MainCommand::EditFindNext));
    toneloft::frmFind& find = desk.lists.findWindow();

    // Closing the Find window takes Find Next away, and only Find Next.
    desk.main.runCommand(MainCommand::EditFind);
    QVERIFY(enabled(desk, MainCommand::EditFindNext));
    find.Command1(1)->click();
    QVERIFY(!enabled(desk, MainCommand::EditFindNext));
    QVERIFY(enabled(desk, MainCommand::EditFind));
    QVERIFY(enabled(desk, MainCommand::EditSort));
    // Enabling that is not the list's own leaves it off.
    desk.main.setOpenListCount(1);
    desk.main.setMidiDevicesOpen(false, false);
    QVERIFY(!enabled(desk, MainCommand::EditFindNext));

    // Opening the Find window brings it back; closing it by Escape takes it away again.
    desk.main.runCommand(MainCommand::EditFind);
    QVERIFY(enabled(desk, MainCommand::EditFindNext));
    QTest::keyClick(&find, Qt::Key_Escape);
    QVERIFY(!find.isVisible());
    QVERIFY(!enabled(desk, MainCommand::EditFindNext));

    // A selection change re-applies the list's enabling.
    ListDesk::click(a, 2);
    QVERIFY(enabled(desk, MainCommand::EditFindNext));

    // So does activating a list.
    desk.main.runCommand(MainCommand::EditFind);
    find.close();
    QVERIFY(!enabled(desk, MainCommand::EditFindNext));
    frmVoiceList* b = desk.open("B.dat", 0, 20, "B");
    QCOMPARE(desk.lists.activeWindow(), b);
    QVERIFY(enabled(desk, MainCommand::EditFindNext));
}

void ListWiringTest::findTakesTheActiveListsVoice()
{
    ListDesk desk;
    frmVoiceList* first = desk.open("one/SAME.dat", 0, 20, "ONE");
    frmVoiceList* second = desk.open("two/SAME.dat", 0, 20, "TWO");
    ListDesk::click(second, 5);
    desk.activate(first);
    ListDesk::click(first, 3);

    desk.main.runCommand(MainCommand::EditFind);
    toneloft::frmFind& find = desk.lists.findWindow();
    // The search goes to the last list with the caption; the name comes from the active one.
    QCOMPARE(find.listPosition(), 2L);
    QCOMPARE(find.Text1()->text(), QStringLiteral("ONE3      "));
}

void ListWiringTest::refusedSaveStopsFileExit()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 20, "A");
    frmVoiceList* b = desk.open("B.dat", 0, 20, "B");
    ListDesk::click(b, 2);
    desk.main.runCommand(MainCommand::EditDelete); // b changed
    desk.activate(a);
    ListDesk::click(a, 1);
    desk.main.runCommand(MainCommand::EditDelete); // a changed too
    desk.ui.answers = {MsgResult::Cancel};

    desk.main.runCommand(MainCommand::FileExit);

    QVERIFY(desk.main.isVisible());
    QVERIFY(desk.session.CancelClose);
    QCOMPARE(desk.session.colVoiceLists().count(), 2L);
    QCOMPARE(desk.ui.boxes.size(), std::size_t(1)); // the second list was never asked
    QCOMPARE(desk.lists.windows().size(), std::size_t(2));

    // Declining to save lets the lists, and the program, go.
    desk.ui.answers = {MsgResult::No, MsgResult::No};
    desk.main.runCommand(MainCommand::FileExit);
    QVERIFY(!desk.main.isVisible());
    QCOMPARE(desk.session.colVoiceLists().count(), 0L);
}

void ListWiringTest::closeAndFindPickListsWithOneCaption()
{
    ListDesk desk;
    frmVoiceList* first = desk.open("one/SAME.dat", 0, 20, "ONE");
    frmVoiceList* second = desk.open("two/SAME.dat", 0, 20, "TWO");
    QCOMPARE(first->windowTitle(), second->windowTitle());
    desk.activate(first);
    desk.main.runCommand(MainCommand::EditFind);
    QCOMPARE(desk.lists.findWindow().listPosition(), 2L);
    desk.lists.findWindow().close();

    desk.activate(second);
    desk.main.runCommand(MainCommand::FileClose);
    QCOMPARE(desk.session.colVoiceLists().count(), 1L);
    QCOMPARE(desk.session.colVoiceLists().at(1)->FileName, (desk.dir.path() / "two/SAME.dat").string());
}

void ListWiringTest::fileNewOpensTheInitList()
{
    ListDesk desk;
    desk.main.runCommand(MainCommand::FileNew);
    QCOMPARE(desk.session.colVoiceLists().count(), 1L);
    frmVoiceList* w = desk.lists.activeWindow();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("DXInit [ 32 patches ][*]"));
    QVERIFY(w->list().needsNewName());
}

TONELOFT_GUI_TEST(ListWiringTest);
#include "ListWiringTest.moc"
