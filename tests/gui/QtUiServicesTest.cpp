#include "DialogDriver.h"
#include "FakeClockUi.h"
#include "GuiTestRegistry.h"

#include "common/ui/QtUiServices.h"
#include "common/ui/StatusStrip.h"
#include "common/ui/frmFileFormatDialog.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace toneloft;

Q_DECLARE_METATYPE(toneloft::MsgButtons)
Q_DECLARE_METATYPE(toneloft::MsgResult)
Q_DECLARE_METATYPE(toneloft::MsgIcon)

// The Qt side of the seam: boxes, dialogs, status strip and busy pointer.
class QtUiServicesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statusWritesTheStrip();
    void statusWaitUsesTheClock();
    void busyPointerNests();
    void messageBoxAnswers_data();
    void messageBoxAnswers();
    void messageBoxShowsTitleTextAndIcon();
    void inputBoxReturnsTextOrNothing();
    void openDialogReturnsFolderAndNames();
    void saveDialogAddsTheDefaultExtension();
    void saveFormatGoesThroughTheDialog();
    void filterAndSelectionConversions();
};

void QtUiServicesTest::statusWritesTheStrip()
{
    StatusStrip strip;
    QtUiServices ui;
    ui.setStatusStrip(&strip);
    ShowStatus(ui, "Please Wait - Sorting ROM1A");
    QCOMPARE(strip.text(), QStringLiteral("Please Wait - Sorting ROM1A  "));
    QVERIFY(!strip.isHidden());
    ShowStatus(ui, "", 0, 0);
    QVERIFY(strip.isHidden());
    ShowStatus(ui, "Loading", 0, 1);
    QVERIFY(!strip.isHidden());
}

void QtUiServicesTest::statusWaitUsesTheClock()
{
    StatusStrip strip;
    test::FakeClockUi ui;
    ui.setStatusStrip(&strip);
    ui.strip = &strip;
    ShowStatus(ui, "MIDI input stopped", 250, 0);
    QCOMPARE(ui.shownFor(QStringLiteral("MIDI input stopped  ")), std::int64_t{250});
    QVERIFY(strip.isHidden());
    QVERIFY(strip.text().isEmpty());
}

void QtUiServicesTest::busyPointerNests()
{
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    {
        QtUiServices ui;
        {
            BusyPointer outer(ui);
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            {
                BusyPointer inner(ui);
                QCOMPARE(ui.busyDepth(), 2);
            }
            QCOMPARE(ui.busyDepth(), 1);
            QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        }
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        // An unmatched "not busy" changes nothing.
        ui.setBusy(false);
        QCOMPARE(ui.busyDepth(), 0);
        // Left busy, the services restore the pointer when they go.
        ui.setBusy(true);
    }
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

void QtUiServicesTest::messageBoxAnswers_data()
{
    QTest::addColumn<MsgButtons>("buttons");
    QTest::addColumn<int>("press");
    QTest::addColumn<MsgResult>("expected");
    QTest::addColumn<int>("count");

    QTest::newRow("OK") << MsgButtons::OK << int(QMessageBox::Ok) << MsgResult::OK << 1;
    QTest::newRow("OKCancel/Cancel") << MsgButtons::OKCancel << int(QMessageBox::Cancel)
                                     << MsgResult::Cancel << 2;
    QTest::newRow("YesNo/No") << MsgButtons::YesNo << int(QMessageBox::No) << MsgResult::No << 2;
    QTest::newRow("YesNoCancel/Yes") << MsgButtons::YesNoCancel << int(QMessageBox::Yes)
                                     << MsgResult::Yes << 3;
    QTest::newRow("RetryCancel/Retry") << MsgButtons::RetryCancel << int(QMessageBox::Retry)
                                       << MsgResult::Retry << 2;
    QTest::newRow("AbortRetryIgnore/Ignore") << MsgButtons::AbortRetryIgnore
                                             << int(QMessageBox::Ignore) << MsgResult::Ignore << 3;
    QTest::newRow("AbortRetryIgnore/Abort") << MsgButtons::AbortRetryIgnore
                                            << int(QMessageBox::Abort) << MsgResult::Abort << 3;
}

void QtUiServicesTest::messageBoxAnswers()
{
    QFETCH(MsgButtons, buttons);
    QFETCH(int, press);
    QFETCH(MsgResult, expected);
    QFETCH(int, count);

    QtUiServices ui;
    int offered = -1;
    test::onNextModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box)
            return;
        offered = static_cast<int>(box->buttons().size());
        if (QAbstractButton* b = box->button(static_cast<QMessageBox::StandardButton>(press)))
            b->click();
        else
            box->reject();
    });
    QCOMPARE(ui.msgBox("text", "title", MsgIcon::None, buttons), expected);
    QCOMPARE(offered, count);
}

void QtUiServicesTest::messageBoxShowsTitleTextAndIcon()
{
    QtUiServices ui;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    test::onNextModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        defaultButton = box->standardButton(box->defaultButton());
        box->reject();
    });
    const MsgResult r = ui.msgBox("You already have a file open with this name.\r\nRevert to last "
                                  "saved version ?",
                                  "File already open", MsgIcon::Question, MsgButtons::YesNoCancel);
    QCOMPARE(title, QStringLiteral("File already open"));
    QCOMPARE(text, QStringLiteral("You already have a file open with this name.\nRevert to last "
                                  "saved version ?"));
    QCOMPARE(icon, QMessageBox::Question);
    QCOMPARE(defaultButton, QMessageBox::Yes);
    QCOMPARE(r, MsgResult::Cancel);
}

void QtUiServicesTest::inputBoxReturnsTextOrNothing()
{
    QtUiServices ui;
    test::onNextModal([](QWidget* w) {
        auto* dialog = qobject_cast<QInputDialog*>(w);
        if (!dialog)
            return;
        QCOMPARE(dialog->textValue(), QStringLiteral("INIT VOICE"));
        dialog->setTextValue(QStringLiteral("BRASS 2"));
        static_cast<QDialog*>(dialog)->accept();
    });
    QCOMPARE(ui.inputBox("Name", "Rename", "INIT VOICE"), std::optional<std::string>("BRASS 2"));

    test::onNextModal([](QWidget* w) { w->close(); });
    QCOMPARE(ui.inputBox("Name", "Rename", "X"), std::optional<std::string>());
}

void QtUiServicesTest::openDialogReturnsFolderAndNames()
{
    QTemporaryDir dir;
    for (const char* name : {"ROM1A.dat", "ROM1B.syx", "notes.txt"}) {
        QFile f(QDir(dir.path()).filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    FileDialogRequest request;
    request.title = "Open DX7 Voice Data File";
    request.filters = {{"DX voice (*.dat,*.syx,*.dx7,*.32)", "*.dat;*.syx;*.dx7;*.32"},
                       {"All Files (*.*)", "*.*"}};
    request.defaultExtension = "dat";
    request.initialDirectory = dir.path().toStdString() + "/";
    request.multiSelect = true;

    QtUiServices ui;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QStringList filters;
    QString directory;
    test::onNextModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (!dialog)
            return;
        mode = dialog->fileMode();
        filters = dialog->nameFilters();
        directory = dialog->directory().absolutePath();
        dialog->selectFile(QStringLiteral("\"ROM1A.dat\" \"ROM1B.syx\""));
        static_cast<QDialog*>(dialog)->accept();
    });
    const FileDialogResult result = ui.fileDialog(request);
    QCOMPARE(mode, QFileDialog::ExistingFiles);
    QCOMPARE(filters.size(), 2);
    QCOMPARE(filters.front(), QStringLiteral("DX voice (*.dat,*.syx,*.dx7,*.32) (*.dat *.syx *.dx7 *.32)"));
    QCOMPARE(directory, QDir(dir.path()).absolutePath());
    QVERIFY(!result.cancelled);
    QCOMPARE(QString::fromStdString(result.folder),
             QDir::toNativeSeparators(QDir(dir.path()).absolutePath()) + QDir::separator());
    QCOMPARE(result.files.size(), std::size_t{2});
    QVERIFY(std::find(result.files.begin(), result.files.end(), "ROM1A.dat") != result.files.end());
    QVERIFY(std::find(result.files.begin(), result.files.end(), "ROM1B.syx") != result.files.end());

    test::onNextModal([](QWidget* w) {
        if (auto* dialog = qobject_cast<QFileDialog*>(w))
            dialog->reject();
    });
    QVERIFY(ui.fileDialog(request).cancelled);
}

void QtUiServicesTest::saveDialogAddsTheDefaultExtension()
{
    QTemporaryDir dir;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = "Save DX7 Voice Data File ";
    request.defaultExtension = "dat";
    request.initialFile = QDir(dir.path()).filePath(QStringLiteral("Old.dat")).toStdString();

    QtUiServices ui;
    QString suggested;
    test::onNextModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (!dialog)
            return;
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        suggested = dialog->selectedFiles().value(0);
        dialog->selectFile(QStringLiteral("Brass"));
        static_cast<QDialog*>(dialog)->accept();
    });
    const FileDialogResult result = ui.fileDialog(request);
    QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("Old.dat"));
    QVERIFY(!result.cancelled);
    QCOMPARE(result.files, std::vector<std::string>{"Brass.dat"});
}

void QtUiServicesTest::saveFormatGoesThroughTheDialog()
{
    QtUiServices ui;
    test::onNextModal([](QWidget* w) {
        auto* dialog = qobject_cast<frmFileFormatDialog*>(w);
        if (!dialog)
            return;
        QVERIFY(dialog->Option1(1)->isChecked());
        dialog->Option1(3)->click();
        dialog->OKButton()->click();
    });
    QCOMPARE(ui.chooseSaveFormat(1), std::optional<int>(3));

    test::onNextModal([](QWidget* w) {
        auto* dialog = qobject_cast<frmFileFormatDialog*>(w);
        if (!dialog)
            return;
        dialog->Option1(0)->click();
        dialog->CancelButton()->click();
    });
    QCOMPARE(ui.chooseSaveFormat(2), std::optional<int>());
    QVERIFY(ui.formatDialog().Option1(2)->isChecked());
}

void QtUiServicesTest::filterAndSelectionConversions()
{
    QCOMPARE(QtUiServices::toNameFilter({"All Files (*.*)", "*.*"}),
             QStringLiteral("All Files (*.*) (*.*)"));
    QCOMPARE(QtUiServices::toDisplayText("a\r\nb\rc"), QStringLiteral("a\nb\nc"));
    QVERIFY(QtUiServices::splitSelection({}).cancelled);
    const auto r = QtUiServices::splitSelection(
        {QStringLiteral("/music/dx7/ROM1A.dat"), QStringLiteral("/music/dx7/ROM2A.dat")});
    QCOMPARE(r.folder, std::string("/music/dx7/"));
    QCOMPARE(r.files, (std::vector<std::string>{"ROM1A.dat", "ROM2A.dat"}));
}

TONELOFT_GUI_TEST(QtUiServicesTest);
#include "QtUiServicesTest.moc"
