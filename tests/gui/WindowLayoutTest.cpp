// The main window's layout: Tile never squeezes a list below its two columns
// of names, and the status line keeps its height whatever it shows.
#include "FakeClockUi.h"
#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "common/UiServices.h"
#include "common/ui/StatusStrip.h"
#include "library/ui/MainCommand.h"

#include <QProgressBar>
#include <QTest>

namespace {

using toneloft::frmVoiceList;
using toneloft::MainCommand;
using toneloft::test::ListDesk;

class WindowLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tileKeepsEveryListsColumns_data();
    void tileKeepsEveryListsColumns();
    void statusLineKeepsItsHeight();
};

void WindowLayoutTest::tileKeepsEveryListsColumns_data()
{
    QTest::addColumn<int>("mainWidth");
    QTest::addColumn<int>("lists");
    QTest::addColumn<bool>("sideBySide");
    QTest::newRow("two in a wide window") << 1000 << 2 << true;
    QTest::newRow("four in a narrow window") << 640 << 4 << false;
    QTest::newRow("six") << 900 << 6 << false;
    QTest::newRow("one in a very narrow window") << 200 << 1 << true;
}

void WindowLayoutTest::tileKeepsEveryListsColumns()
{
    QFETCH(int, mainWidth);
    QFETCH(int, lists);
    QFETCH(bool, sideBySide);
    ListDesk desk;
    desk.main.resize(mainWidth, 700);
    std::vector<frmVoiceList*> windows;
    for (int i = 0; i < lists; ++i)
        windows.push_back(desk.open("L" + std::to_string(i) + ".dat", 0, 40, "LONGNAME" + std::to_string(i)));
    QApplication::processEvents();

    desk.main.menuEntry(QStringLiteral("mnuWindow(1)"))->trigger();
    QApplication::processEvents();

    std::vector<QRect> frames;
    for (frmVoiceList* w : windows) {
        QWidget* frame = w->parentWidget();
        QVERIFY(frame->width() >= frame->minimumSizeHint().width());
        // Every name shows whole in its column.
        QTableWidget* grid = w->List1();
        const QFontMetrics metrics(grid->font());
        for (int column = 0; column < grid->columnCount(); ++column)
            for (int row = 0; row < grid->rowCount(); ++row)
                if (const QTableWidgetItem* item = grid->item(row, column))
                    QVERIFY2(metrics.horizontalAdvance(item->text()) <= grid->columnWidth(column),
                             qPrintable(item->text()));
        for (const QRect& other : frames)
            QVERIFY(!other.intersects(frame->geometry()));
        frames.push_back(frame->geometry());
    }
    // Side by side when they fit: one row; otherwise rows of as many as fit.
    bool oneRow = true;
    for (const QRect& f : frames)
        oneRow = oneRow && f.top() == 0;
    QCOMPARE(oneRow, sideBySide);
}

void WindowLayoutTest::statusLineKeepsItsHeight()
{
    toneloft::test::FakeClockUi ui;
    toneloft::frmStartup main(&ui);
    main.resize(800, 600);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    toneloft::StatusStrip* strip = main.statusStrip();
    QApplication::processEvents();
    const int area = main.mdiArea()->height();
    const int height = strip->height();
    QVERIFY(height > 0);

    toneloft::ShowStatus(ui, "Please Wait - Saving A.dat", 0, 1);
    QApplication::processEvents();
    QVERIFY(strip->isVisible());
    QCOMPARE(strip->height(), height);
    QCOMPARE(main.mdiArea()->height(), area);

    strip->setProgress(3, 10);
    QApplication::processEvents();
    QVERIFY(strip->progressBar()->isVisible());
    QCOMPARE(strip->height(), height);
    QCOMPARE(main.mdiArea()->height(), area);

    strip->setProgress(0, 0);
    toneloft::ShowStatus(ui, "", 0, 0);
    QApplication::processEvents();
    QVERIFY(strip->isHidden());
    QCOMPARE(main.mdiArea()->height(), area);
}

} // namespace

TONELOFT_GUI_TEST(WindowLayoutTest);
#include "WindowLayoutTest.moc"
