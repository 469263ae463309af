#include "DialogDriver.h"
#include "GuiTestRegistry.h"

#include "common/ui/QtUiServices.h"
#include "common/ui/StatusStrip.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace toneloft;

// Boxes with Help, the file dialogue's Help, and the Cancel of long work
// (Escape, the status line's button, the program closing).
class StoppableWorkTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpLeavesTheBoxUp();
    void fileDialogHasAHelpButton();
    void escapeAndTheCancelButtonStopWork();
    void closingTheMainWindowStopsWork();
};

void StoppableWorkTest::helpLeavesTheBoxUp()
{
    QtUiServices ui;
    std::vector<std::string> opened;
    ui.setHelpHandler([&opened](const std::string& topic) { opened.push_back(topic); });
    int shown = 0;
    test::onNextModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        ++shown;
        QCOMPARE(box->buttons().size(), 3); // OK, Cancel, Help
        // After Help the same box is up again, waiting for its answer.
        test::onNextModal([&](QWidget* again) {
            auto* second = qobject_cast<QMessageBox*>(again);
            if (!second)
                return;
            ++shown;
            QVERIFY(second->text().contains(QStringLiteral("Help for assistance")));
            second->button(QMessageBox::Cancel)->click();
        });
        box->button(QMessageBox::Help)->click();
    });
    const MsgResult r = ui.msgBoxWithHelp("Click OK when you are ready, or Help for assistance.",
                                          "Ready to receive", MsgIcon::Exclamation,
                                          MsgButtons::OKCancel, "2420");
    QCOMPARE(r, MsgResult::Cancel);
    QCOMPARE(shown, 2);
    QCOMPARE(opened, (std::vector<std::string>{"2420"}));
}

void StoppableWorkTest::fileDialogHasAHelpButton()
{
    QtUiServices ui;
    std::vector<std::string> opened;
    ui.setHelpHandler([&opened](const std::string& topic) { opened.push_back(topic); });
    bool hadButton = false;
    test::onNextModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialog);
        auto* row = dialog->findChild<QDialogButtonBox*>();
        QVERIFY(row);
        if (QPushButton* help = row->button(QDialogButtonBox::Help)) {
            hadButton = true;
            help->click();
        }
        QVERIFY(dialog->isVisible()); // Help does not close it
        dialog->reject();
    });
    FileDialogRequest request;
    request.title = "Choose a file to send to MIDI";
    request.helpTopic = "::/dlg_MainWindow.htm#FileOpen";
    QVERIFY(ui.fileDialog(request).cancelled);
    QVERIFY(hadButton);
    QCOMPARE(opened, (std::vector<std::string>{"::/dlg_MainWindow.htm#FileOpen"}));
}

void StoppableWorkTest::escapeAndTheCancelButtonStopWork()
{
    StatusStrip strip;
    strip.show();
    QtUiServices ui;
    ui.setStatusStrip(&strip);
    QVERIFY(strip.cancelButton()->isHidden());
    {
        CancellableWork work(ui);
        QVERIFY(!strip.cancelButton()->isHidden());
        QVERIFY(!work.cancelled());
        QTest::keyClick(&strip, Qt::Key_Escape);
        QVERIFY(work.cancelled());
    }
    QVERIFY(strip.cancelButton()->isHidden());
    {
        CancellableWork work(ui);
        QVERIFY(!work.cancelled()); // a new piece of work starts uncancelled
        QTest::mouseClick(strip.cancelButton(), Qt::LeftButton);
        QVERIFY(work.cancelled());
    }
    // Escape outside stoppable work is left to the windows.
    QTest::keyClick(&strip, Qt::Key_Escape);
    QVERIFY(!ui.cancelRequested());
}

void StoppableWorkTest::closingTheMainWindowStopsWork()
{
    QWidget main;
    main.show();
    QtUiServices ui(&main);
    CancellableWork work(ui);
    QVERIFY(!work.cancelled());
    main.close(); // File > Exit during a send
    QVERIFY(work.cancelled());
}

TONELOFT_GUI_TEST(StoppableWorkTest);
#include "StoppableWorkTest.moc"
