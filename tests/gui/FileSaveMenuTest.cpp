// Save and Save As from the File menu's keys: the active list is saved as the
// user asked, never by the closing path's questions.
#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "library/ui/MainCommand.h"

#include <QTest>

#include <filesystem>

namespace {

using toneloft::frmVoiceList;
using toneloft::MainCommand;
using toneloft::MsgResult;
using toneloft::test::ListDesk;
namespace fs = std::filesystem;

class FileSaveMenuTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ctrlSOnAChangedListGoesStraightToTheDialog();
    void anUnchangedListIsNotSaidToHaveChanged();
    void anEmptiedListGetsTheMenuWording();
    void aTemporaryListKeepsItsFileWhenTheSaveIsDropped();
    void ctrlSOnAReadOnlyFileAsksBeforeReplacingIt();
};

void press(ListDesk& desk, QKeyCombination key)
{
    QApplication::setActiveWindow(&desk.main);
    QVERIFY(QTest::qWaitForWindowActive(&desk.main));
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &desk.main;
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
}

void FileSaveMenuTest::ctrlSOnAChangedListGoesStraightToTheDialog()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 20, "A");
    ListDesk::click(a, 2);
    desk.main.runCommand(MainCommand::EditDelete);
    QVERIFY(a->list().isChanged());
    const std::string path = a->list().FileName;

    // Straight to the dialog, offering the list's own file: no "has changed /
    // OK to save ?" first.
    desk.ui.fileAnswers.push_back(toneloft::test::ScriptedUi::chose(desk.dir.folder(), {"A.dat"}));
    press(desk, Qt::CTRL | Qt::Key_S);
    QVERIFY(desk.ui.boxes.empty());
    QCOMPARE(desk.ui.fileRequests.size(), std::size_t(1));
    QCOMPARE(desk.ui.fileRequests[0].title, std::string("Save DX7 Voice Data File "));
    QCOMPARE(desk.ui.fileRequests[0].initialFile, std::string("A.dat"));
    QVERIFY(!a->list().isChanged());
    QCOMPARE(fs::file_size(path), std::uintmax_t(19 * 155));

    // Save As asks for the name, and nothing else.
    desk.ui.fileAnswers.push_back(toneloft::test::ScriptedUi::chose(desk.dir.folder(), {"A2.dat"}));
    press(desk, Qt::CTRL | Qt::Key_A);
    QVERIFY(desk.ui.boxes.empty());
    QCOMPARE(desk.ui.fileRequests.size(), std::size_t(2));
    QCOMPARE(a->list().FileTitle, std::string("A2.dat"));
    QVERIFY(fs::exists(desk.dir.file("A2.dat")));
}

void FileSaveMenuTest::ctrlSOnAReadOnlyFileAsksBeforeReplacingIt()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 20, "A");
    ListDesk::click(a, 2);
    desk.main.runCommand(MainCommand::EditDelete);
    const std::string path = a->list().FileName;
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);

    desk.ui.fileAnswers.push_back(toneloft::test::ScriptedUi::chose(desk.dir.folder(), {"A.dat"}));
    desk.ui.answers.push_back(MsgResult::No);
    press(desk, Qt::CTRL | Qt::Key_S);
    QCOMPARE(desk.ui.boxes.size(), std::size_t(1));
    QCOMPARE(desk.ui.boxes[0].text, std::string("A.dat is read-only.\r\nDo you want to replace it ?"));
    QCOMPARE(fs::file_size(path), std::uintmax_t(20 * 155)); // left alone
    QVERIFY(a->list().isChanged());
}

void FileSaveMenuTest::anUnchangedListIsNotSaidToHaveChanged()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("A.dat", 0, 20, "A");
    desk.activate(a);
    press(desk, Qt::CTRL | Qt::Key_S);
    QVERIFY(desk.ui.boxes.empty());
    QVERIFY(desk.ui.fileRequests.empty());

    press(desk, Qt::CTRL | Qt::Key_A); // the dialog is cancelled
    QVERIFY(desk.ui.boxes.empty());
    QCOMPARE(desk.ui.fileRequests.size(), std::size_t(1));
    QCOMPARE(desk.ui.fileRequests[0].initialFile, std::string("A.dat"));
}

void FileSaveMenuTest::anEmptiedListGetsTheMenuWording()
{
    ListDesk desk;
    frmVoiceList* a = desk.open("ONE.dat", 0, 1, "A");
    ListDesk::click(a, 1);
    desk.main.runCommand(MainCommand::EditDelete);
    QCOMPARE(a->list().rsmfimage().recordCount(), 0L);
    desk.ui.answers.push_back(MsgResult::Cancel);
    press(desk, Qt::CTRL | Qt::Key_S);
    QCOMPARE(desk.ui.boxes.size(), std::size_t(1));
    QCOMPARE(desk.ui.lastBox().text,
             std::string("ONE.dat contains no patches.\r\nAre you sure you want to save it as an empty file ?"));
    QCOMPARE(desk.ui.lastBox().title, std::string("Empty File"));
    QVERIFY(desk.ui.fileRequests.empty());
}

void FileSaveMenuTest::aTemporaryListKeepsItsFileWhenTheSaveIsDropped()
{
    ListDesk desk;
    // A received bank: a temporary list that must get a name of its own.
    toneloft::clsVoiceNames names(desk.session);
    auto list = names.InitPatchView(toneloft::test::makeVoiceFile(3, 32, "RX"));
    QVERIFY(list);
    frmVoiceList* w = desk.lists.windowOf(*list);
    QVERIFY(w);
    desk.activate(w);
    const std::string file = list->FileName;
    QVERIFY(fs::exists(file));

    // Ctrl+S: straight to the dialog (no "must be saved under a different name"
    // question), and dropping the dialog leaves the list and its file as they were.
    press(desk, Qt::CTRL | Qt::Key_S);
    QVERIFY(desk.ui.boxes.empty());
    QCOMPARE(desk.ui.fileRequests.size(), std::size_t(1));
    QVERIFY(fs::exists(file));
    QCOMPARE(desk.session.colVoiceLists().count(), 1L);
    QVERIFY(list->needsNewName());

    press(desk, Qt::CTRL | Qt::Key_A);
    QVERIFY(desk.ui.boxes.empty());
    QCOMPARE(desk.ui.fileRequests.size(), std::size_t(2));
    QVERIFY(fs::exists(file));

    // Saved under a name, the list takes it and the temporary file goes.
    desk.ui.fileAnswers.push_back(toneloft::test::ScriptedUi::chose(desk.dir.folder(), {"RX.syx"}));
    press(desk, Qt::CTRL | Qt::Key_S);
    QVERIFY(desk.ui.boxes.empty());
    QCOMPARE(list->FileTitle, std::string("RX.syx"));
    QVERIFY(!fs::exists(file));
    QCOMPARE(fs::file_size(desk.dir.file("RX.syx")), std::uintmax_t(4104));
}

} // namespace

TONELOFT_GUI_TEST(FileSaveMenuTest);
#include "FileSaveMenuTest.moc"
