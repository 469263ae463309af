#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include <QDragLeaveEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTest>

using toneloft::frmVoiceList;
using toneloft::test::ListDesk;

// A drag that hovers at a list's edge without moving: the list keeps paging on
// the program clock, and stops when the hover ends.
class DragPagingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stationaryPointerPagesToTheLastBank();
    void hoverEnds_data();
    void hoverEnds();
    void ownDragEndingWithoutDropStopsPaging();
};

namespace {

// Long enough for several timer turns; the assertions never depend on how many came.
constexpr int kSettle = 8 * frmVoiceList::kEdgeTickMs;

void enterAt(frmVoiceList* w, QMimeData* mime, QPoint at)
{
    QDragEnterEvent e(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w->List1()->viewport(), &e);
}

} // namespace

void DragPagingTest::stationaryPointerPagesToTheLastBank()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 100, "A"); // 4 banks
    ListDesk::click(a, 1);
    std::unique_ptr<QMimeData> mime(a->dragMimeData());
    QWidget* viewport = a->List1()->viewport();
    desk.ui.now = 5000;
    enterAt(a, mime.get(), QPoint(viewport->width() * 95 / 100, 5));
    QVERIFY(a->edgePagingActive());

    // The steps follow the program clock, not the timer: while it stands still nothing pages.
    QTest::qWait(kSettle);
    QCOMPARE(a->view().bank, 1L);
    desk.ui.now += 399;
    QTest::qWait(kSettle);
    QCOMPARE(a->view().bank, 1L);

    // No drag move arrives from here on: a bank every 400 ms.
    desk.ui.now += 1;
    QTRY_COMPARE(a->view().bank, 2L);
    desk.ui.now += 399;
    QTest::qWait(kSettle);
    QCOMPARE(a->view().bank, 2L);
    desk.ui.now += 1;
    QTRY_COMPARE(a->view().bank, 3L);
    desk.ui.now += 400;
    QTRY_COMPARE(a->view().bank, 4L);
    QCOMPARE(a->HScroll1()->value(), 4);
    QCOMPARE(a->Label1()->text(), QStringLiteral("Bank 4 of 4"));

    // At the last bank the hover goes on but the paging stops.
    for (int i = 0; i < 3; ++i) {
        desk.ui.now += 5000;
        QTest::qWait(kSettle);
    }
    QCOMPARE(a->view().bank, 4L);
    QVERIFY(a->edgePagingActive());
}

void DragPagingTest::hoverEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("leaving the list") << QStringLiteral("leave");
    QTest::newRow("over the list's frame") << QStringLiteral("frame");
    QTest::newRow("dropped") << QStringLiteral("drop");
}

void DragPagingTest::hoverEnds()
{
    QFETCH(QString, how);
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 100, "A");
    long bank = 3;
    a->UpdateListBox(bank);
    ListDesk::click(a, 65);
    std::unique_ptr<QMimeData> mime(a->dragMimeData());
    QWidget* viewport = a->List1()->viewport();
    // Voice 65 sits at the top left: a drop there puts the voice onto itself.
    const QPoint leftEdge(viewport->width() * 5 / 100, a->itemHeight() / 2);
    QCOMPARE(a->voiceAt(leftEdge), 65L);
    desk.ui.now = 5000;
    enterAt(a, mime.get(), leftEdge);
    QVERIFY(a->edgePagingActive());

    if (how == QLatin1String("leave")) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(viewport, &leave);
    } else if (how == QLatin1String("frame")) {
        QDragEnterEvent over(QPoint(1, 1), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton,
                             Qt::NoModifier);
        QApplication::sendEvent(a->Frame1(), &over);
    } else {
        QDropEvent dropped(QPointF(leftEdge), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(viewport, &dropped);
    }
    QVERIFY(!a->edgePagingActive());

    // A pager still running would start its wait on one turn and step on a later one.
    for (int i = 0; i < 3; ++i) {
        desk.ui.now += 5000;
        QTest::qWait(kSettle);
    }
    QCOMPARE(a->view().bank, 3L);
    QCOMPARE(a->list().voiceCount(), 100L);
    QCOMPARE(ListDesk::nameAt(a->list(), 65), std::string("A65       "));
}

void DragPagingTest::ownDragEndingWithoutDropStopsPaging()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 100, "A");
    bool hovered = false;
    // The drag hovers at the list's own edge and is given up there (Escape): no leave, no drop.
    a->setDragStarter([&](QMimeData* mime) {
        enterAt(a, mime, QPoint(a->List1()->viewport()->width() * 95 / 100, 5));
        hovered = a->edgePagingActive();
    });
    ListDesk::click(a, 2);
    ListDesk::mouse(a, QEvent::MouseMove, 2);
    desk.ui.now += 251;
    ListDesk::mouse(a, QEvent::MouseMove, 2);
    QVERIFY(hovered);
    QVERIFY(!a->edgePagingActive());
}

TONELOFT_GUI_TEST(DragPagingTest);
#include "DragPagingTest.moc"
