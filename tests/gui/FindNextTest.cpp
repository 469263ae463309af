// F3 with the direction All walks on from each voice found, through two lists.
#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "library/ui/MainCommand.h"
#include "library/ui/frmFind.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using toneloft::frmVoiceList;
using toneloft::MainCommand;
using toneloft::test::ListDesk;

class FindNextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void f3WalksThroughTheMatchesOfTwoLists();
};

void rename(frmVoiceList* w, long voice, const std::string& name)
{
    auto rows = w->list().rsmfimage().clone();
    rows->setAbsolutePosition(voice);
    std::string padded = name;
    padded.resize(10, ' ');
    rows->setValue("Names", padded);
    rows->update();
}

// F3 goes to the main window's menu, so that window must be the active one
// (the Find window took that when it was clicked).
void pressF3(ListDesk& desk)
{
    QApplication::setActiveWindow(&desk.main);
    QVERIFY(QTest::qWaitForWindowActive(&desk.main));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &desk.main, Qt::Key_F3);
}

void FindNextTest::f3WalksThroughTheMatchesOfTwoLists()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 20, "A");
    frmVoiceList* b = desk.open("B.dat", 0, 40, "B");
    // "A7" is voice 7 of A; voice 15 of A and voice 37 of B are renamed to it.
    rename(a, 15, "A7");
    rename(b, 37, "A7");
    desk.activate(a);
    desk.main.runCommand(MainCommand::EditFind);
    toneloft::frmFind& find = desk.lists.findWindow();
    find.Option1(1)->setChecked(true);
    find.Combo1()->setCurrentIndex(0); // All
    find.Text1()->setText(QStringLiteral("A7"));

    QTest::mouseClick(find.Command1(0), Qt::LeftButton);
    QCOMPARE(desk.lists.activeWindow(), a);
    QCOMPARE(a->view().currentVoice, 7L);

    pressF3(desk);
    QCOMPARE(desk.lists.activeWindow(), a);
    QCOMPARE(a->view().currentVoice, 15L);
    QCOMPARE(a->List1()->currentIndex().row(), 14);

    pressF3(desk);
    QCOMPARE(desk.lists.activeWindow(), b);
    QCOMPARE(b->view().currentVoice, 37L);
    QCOMPARE(b->Label1()->text(), QStringLiteral("Bank 2 of 2"));
    QVERIFY(desk.ui.boxes.empty());

    pressF3(desk);
    QCOMPARE(desk.ui.boxes.size(), std::size_t(1));
    QCOMPARE(desk.ui.lastBox().text, std::string("Search complete \r\nA7 not found."));

    // A new search text is a new search: from the first voice of the list searched.
    desk.ui.boxes.clear();
    desk.activate(a);
    find.setListPosition(1);
    find.Text1()->setText(QStringLiteral("A3"));
    pressF3(desk);
    QCOMPARE(desk.lists.activeWindow(), a);
    QCOMPARE(a->view().currentVoice, 3L);
    QVERIFY(desk.ui.boxes.empty());
}

} // namespace

TONELOFT_GUI_TEST(FindNextTest);
#include "FindNextTest.moc"
