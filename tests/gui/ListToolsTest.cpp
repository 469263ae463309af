#include "DialogDriver.h"
#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "library/ui/ListToolWindows.h"
#include "library/ui/PrintVoiceNames.h"
#include "library/ui/frmContinueSearchDlg.h"
#include "library/ui/frmDupStatus.h"
#include "library/ui/frmDuplicates.h"
#include "library/ui/frmGroupPatches.h"
#include "library/ui/frmGroupStatus.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using toneloft::frmVoiceList;
using toneloft::MainCommand;
using toneloft::MsgResult;
using toneloft::test::ListDesk;

// Find Duplicates, Group Voice Patches and Print Voice List, from the menu to the files they write.
class ListToolsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void duplicatesDialogFollowsItsOptions();
    void duplicatesDeletedAutomaticallyThroughTheMenu();
    void theBankRangeIsTheBankOnScreen();
    void questionsAndTheContinueDialog_data();
    void questionsAndTheContinueDialog();
    void progressCancelStopsTheSearch();
    void groupingRefusesABadPatternThenMoves();
    void printVoiceListToPdf_data();
    void printVoiceListToPdf();
    void printWithoutAListSaysSo();
};

namespace {

// Opens an unpacked list of these names; equal names get equal data.
frmVoiceList* openNames(ListDesk& desk, const std::string& file, const std::vector<std::string>& names)
{
    std::string image;
    for (const auto& n : names)
        image += toneloft::test::makeVoice(n, static_cast<int>(n.size()) * 7 + n[0]);
    desk.dir.write(file, image);
    if (!desk.lists.openFile(desk.dir.file(file)))
        return nullptr;
    return desk.lists.activeWindow();
}

void trigger(ListDesk& desk, MainCommand command)
{
    QAction* a = desk.main.action(command);
    QVERIFY(a->isEnabled());
    a->trigger();
}

std::string pdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(20000))
        return {};
    return p.readAllStandardOutput().toStdString();
}

} // namespace

void ListToolsTest::duplicatesDialogFollowsItsOptions()
{
    ListDesk desk;
    openNames(desk, "d.dat", {"A", "B"});
    trigger(desk, MainCommand::EditFindDuplicates);
    toneloft::frmDuplicates& d = desk.lists.tools().duplicatesWindow();
    QVERIFY(d.isVisible());
    QCOMPARE(d.windowTitle(), QStringLiteral("Search for Duplicate Voice Patches"));
    QVERIFY(d.Check2()->isChecked());
    QTest::mouseClick(d.Option2(1), Qt::LeftButton);
    QVERIFY(!d.Check2()->isChecked());
    QVERIFY(!d.Check2()->isEnabled());
    QTest::mouseClick(d.Option2(2), Qt::LeftButton);
    QVERIFY(!d.Check2()->isEnabled());
    QTest::mouseClick(d.Option2(0), Qt::LeftButton);
    QVERIFY(d.Check2()->isChecked());
    QVERIFY(d.Check2()->isEnabled());
    QTest::mouseClick(d.Command1(), Qt::LeftButton);
    QCOMPARE(desk.ui.helpTopics.back(), std::string("::/dlg_MainWindow.htm#EditDuplicates"));
    // The current-selection range with nothing selected: no search.
    QTest::mouseClick(d.Option2(1), Qt::LeftButton);
    QTest::mouseClick(d.OKButton(), Qt::LeftButton);
    QCOMPARE(desk.ui.lastBox().title, std::string("No Selection"));
    QVERIFY(d.isVisible());
}

void ListToolsTest::duplicatesDeletedAutomaticallyThroughTheMenu()
{
    ListDesk desk;
    frmVoiceList* w = openNames(desk, "d.dat", {"PIANO", "BASS", "PIANO", "ORGAN", "BASS"});
    QVERIFY(w);
    trigger(desk, MainCommand::EditFindDuplicates);
    toneloft::frmDuplicates& d = desk.lists.tools().duplicatesWindow();
    QTest::mouseClick(d.Option1(0), Qt::LeftButton);
    QTest::mouseClick(d.Check1(), Qt::LeftButton);
    QTest::mouseClick(d.OKButton(), Qt::LeftButton);

    // One box only, the last question (answered Yes: the "Del " file is written and opened).
    QCOMPARE(desk.ui.boxes.size(), std::size_t(1));
    QCOMPARE(desk.ui.lastBox().title, std::string("Duplicates Found/Deleted"));
    QCOMPARE(w->list().voiceCount(), 3L);
    QVERIFY(QFile::exists(QString::fromStdString(desk.dir.file("Del d 1.dat"))));
    QCOMPARE(desk.session.colVoiceLists().count(), 2L);
    QVERIFY(!d.isVisible());
    QVERIFY(d.statusWindow() && !d.statusWindow()->isVisible());
    // Sorted first (whole file): the kept voices are in name order.
    QCOMPARE(ListDesk::nameAt(w->list(), 1), std::string("BASS      "));
    QCOMPARE(ListDesk::nameAt(w->list(), 2), std::string("ORGAN     "));
    QCOMPARE(ListDesk::nameAt(w->list(), 3), std::string("PIANO     "));
    QCOMPARE(d.statusWindow()->value(3)->text(), QStringLiteral("2"));
}

// Paged to bank 2 with the key, the Bank range searches voices 33..64: voice 37
// ("CC") finds the earlier voice 3, which goes. Searched from bank 1, voice 3
// would have found 37 and kept its place.
void ListToolsTest::theBankRangeIsTheBankOnScreen()
{
    ListDesk desk;
    std::vector<std::string> names;
    for (int i = 1; i <= 64; ++i)
        names.push_back("V" + std::to_string(i));
    names[2] = "CC";
    names[36] = "CC";
    frmVoiceList* w = openNames(desk, "b.dat", names);
    QVERIFY(w);
    QTest::keyClick(w->List1(), Qt::Key_PageDown);
    QCOMPARE(w->view().bank, 2L);
    trigger(desk, MainCommand::EditFindDuplicates);
    toneloft::frmDuplicates& d = desk.lists.tools().duplicatesWindow();
    QTest::mouseClick(d.Option1(0), Qt::LeftButton); // names only
    QTest::mouseClick(d.Option2(2), Qt::LeftButton); // the bank
    QTest::mouseClick(d.Check1(), Qt::LeftButton);   // delete without asking
    desk.ui.answers.push_back(toneloft::MsgResult::No); // no "Del " file
    QTest::mouseClick(d.OKButton(), Qt::LeftButton);
    QCOMPARE(w->list().voiceCount(), 63L);
    QCOMPARE(ListDesk::nameAt(w->list(), 3), std::string("V4        "));
    QCOMPARE(ListDesk::nameAt(w->list(), 36), std::string("CC        "));
}

void ListToolsTest::questionsAndTheContinueDialog_data()
{
    QTest::addColumn<bool>("tick");
    QTest::addColumn<int>("continueShown");
    QTest::addRow("asked after each question") << false << 3;
    QTest::addRow("ticked: not asked again") << true << 1;
}

void ListToolsTest::questionsAndTheContinueDialog()
{
    QFETCH(bool, tick);
    QFETCH(int, continueShown);
    ListDesk desk;
    frmVoiceList* w = openNames(desk, "q.dat", {"A", "A", "B", "B"});
    trigger(desk, MainCommand::EditFindDuplicates);
    toneloft::frmDuplicates& d = desk.lists.tools().duplicatesWindow();
    QTest::mouseClick(d.Option1(2), Qt::LeftButton);
    QTest::mouseClick(d.Option2(1), Qt::LeftButton);
    w->list().tracker.add(1, 4);
    // A: Yes. B: No, and so B's copy finds B again: No. The closing question: No.
    desk.ui.answers = {MsgResult::Yes, MsgResult::No, MsgResult::No, MsgResult::No};
    auto shown = std::make_shared<int>(0);
    std::function<void(QWidget*)> answer = [&, shown](QWidget* modal) {
        auto* c = qobject_cast<toneloft::frmContinueSearchDlg*>(modal);
        if (!c)
            return;
        ++*shown;
        QCOMPARE(c->windowTitle(), QStringLiteral("Cancel Search ?"));
        if (tick)
            QTest::mouseClick(c->Check1(), Qt::LeftButton);
        QTest::mouseClick(c->button(QStringLiteral("OK")), Qt::LeftButton);
        if (*shown < continueShown)
            toneloft::test::onNextModal(answer);
    };
    toneloft::test::onNextModal(answer);
    QTest::mouseClick(d.OKButton(), Qt::LeftButton);
    QCOMPARE(*shown, continueShown);
    QCOMPARE(desk.ui.boxes[0].title, std::string("Matching patch found"));
    QCOMPARE(desk.ui.boxes[1].title, std::string("Matching patch found"));
    // Yes to A, No to B; the final question answered No: A's copy stays out, unsaved.
    QCOMPARE(w->list().voiceCount(), 3L);
    QVERIFY(!QFile::exists(QString::fromStdString(desk.dir.file("Del q 1.dat"))));
}

void ListToolsTest::progressCancelStopsTheSearch()
{
    ListDesk desk;
    std::vector<std::string> names;
    for (int i = 0; i < 1200; ++i)
        names.push_back("V" + std::to_string(i % 400));
    frmVoiceList* w = openNames(desk, "big.dat", names);
    trigger(desk, MainCommand::EditFindDuplicates);
    toneloft::frmDuplicates& d = desk.lists.tools().duplicatesWindow();
    QTest::mouseClick(d.Option1(0), Qt::LeftButton);
    d.Check1()->setChecked(true);
    d.Check2()->setChecked(false); // unsorted: every one of the first 256 voices has two copies later
    bool pressed = false;
    desk.ui.onEvents = [&](toneloft::test::ScriptedUi&) {
        if (!pressed && d.statusWindow() && d.statusWindow()->isVisible()) {
            pressed = true;
            QTest::mouseClick(d.statusWindow()->CancelButton(), Qt::LeftButton);
        }
    };
    desk.ui.answers = {MsgResult::Yes, MsgResult::No};
    QTest::mouseClick(d.OKButton(), Qt::LeftButton);
    desk.ui.onEvents = nullptr;
    QVERIFY(pressed);
    QCOMPARE(desk.ui.boxes[0].title, std::string("Search Interrupted"));
    QVERIFY(d.lastResult().stopped);
    // Stopped after the first 256 voices, each of which had two copies.
    QCOMPARE(d.lastResult().deleted, 512L);
    QCOMPARE(w->list().voiceCount(), 1200L - 512L);
}

void ListToolsTest::groupingRefusesABadPatternThenMoves()
{
    ListDesk desk;
    frmVoiceList* w = openNames(desk, "g.dat", {"BASS 1", "PIANO", "EL.BASS", "ORGAN"});
    trigger(desk, MainCommand::EditGroupPatches);
    toneloft::frmGroupPatches& g = desk.lists.tools().groupWindow();
    QVERIFY(g.isVisible());
    QCOMPARE(g.windowTitle(), QStringLiteral("Group Patches in g.dat"));
    QTest::mouseClick(g.Check1(0), Qt::LeftButton);
    QTest::keyClicks(g.MaskEdBox1(0), QStringLiteral("B*SS"));
    QTest::mouseClick(g.OKButton(), Qt::LeftButton);
    QCOMPARE(desk.ui.boxes.size(), std::size_t(1));
    QCOMPARE(desk.ui.lastBox().title, std::string("Search String Invalid"));
    QVERIFY(g.isVisible());
    QVERIFY(!QFile::exists(QString::fromStdString(desk.dir.file("BSS 1.dat"))));

    g.MaskEdBox1(0)->clear();
    QTest::keyClicks(g.MaskEdBox1(0), QStringLiteral("*BASS*"));
    QTest::mouseClick(g.Check1(1), Qt::LeftButton);
    QTest::keyClicks(g.MaskEdBox1(2), QStringLiteral("*A*"));
    QTest::mouseClick(g.Option1(0), Qt::LeftButton); // move
    desk.ui.answers = {MsgResult::No, MsgResult::No}; // keep the moves; no more groups
    QTest::mouseClick(g.OKButton(), Qt::LeftButton);
    QCOMPARE(g.lastResult().filesCreated, 2);
    QCOMPARE(desk.ui.boxes[1].title, std::string("Restore Deletions"));
    QCOMPARE(desk.ui.boxes[2].title, std::string("Extend Search"));
    QVERIFY(!g.isVisible());
    // EL.BASS went to group 1 only; group 2 got PIANO and ORGAN.
    QCOMPARE(w->list().voiceCount(), 0L);
    QCOMPARE(desk.session.colVoiceLists().count(), 3L);
    const std::string bass = toneloft::test::TempDir::read(desk.dir.file("BASS 1.dat"));
    const std::string a = toneloft::test::TempDir::read(desk.dir.file("A 2.dat"));
    QCOMPARE(bass.size(), std::size_t(2 * 155));
    QCOMPARE(a.size(), std::size_t(2 * 155));
    QCOMPARE(a.substr(145, 10), std::string("PIANO     "));
}

void ListToolsTest::printVoiceListToPdf_data()
{
    QTest::addColumn<int>("voices");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("copies");
    QTest::addRow("40 voices") << 40 << 0 << 0 << 1 << 1;
    QTest::addRow("1,000 voices") << 1000 << 0 << 0 << 2 << 1;
    QTest::addRow("banks 2 to 3 of 4, two copies") << 128 << 2 << 3 << 1 << 2;
}

void ListToolsTest::printVoiceListToPdf()
{
    QFETCH(int, voices);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, pages);
    QFETCH(int, copies);
    ListDesk desk;
    frmVoiceList* w = desk.open("print.dat", 0, voices, "V");
    QVERIFY(w);
    const QString pdf = QString::fromStdString(desk.dir.file("list.pdf"));
    long offered = 0;
    toneloft::PrintVoiceNames::setDialogStandIn([&](QPrinter& printer, long banks) {
        offered = banks;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setCopyCount(copies);
        if (from > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, to);
        }
        return true;
    });
    trigger(desk, MainCommand::FilePrintVoiceList);
    toneloft::PrintVoiceNames::setDialogStandIn(nullptr);
    QCOMPARE(offered, (voices + 31) / 32L);
    QVERIFY(desk.ui.sawStatus(" Please wait - Printing Voice List  "));
    QVERIFY(desk.ui.boxes.empty());
    QVERIFY(QFile::exists(pdf));
    const QString keep = qEnvironmentVariable("TONELOFT_PRINT_SAMPLES");
    if (!keep.isEmpty())
        QFile::copy(pdf, keep + QStringLiteral("/voice-list-%1.pdf").arg(voices));

    const std::string text = pdfText(pdf);
    if (text.empty())
        QSKIP("pdftotext is not available");
    QVERIFY(text.find("Voice listing for print.dat at") != std::string::npos);
    QVERIFY(text.find("Page 1 of " + std::to_string(pages)) != std::string::npos);
    QVERIFY(text.find("BANK A") != std::string::npos);
    std::size_t headings = 0;
    for (auto at = text.find("Voice listing for"); at != std::string::npos; at = text.find("Voice listing for", at + 1))
        ++headings;
    QCOMPARE(headings, std::size_t(pages * copies));
    if (voices == 40) {
        QVERIFY(text.find("Voice Set 2") != std::string::npos);
        QVERIFY(text.find("Voice Set 3") == std::string::npos);
        QVERIFY(text.find("V40") != std::string::npos);
        QVERIFY(text.find("V33") != std::string::npos);
    } else if (from > 0) {
        QVERIFY(text.find("Voice Set 1") == std::string::npos);
        QVERIFY(text.find("Voice Set 2") != std::string::npos);
        QVERIFY(text.find("Voice Set 3") != std::string::npos);
        QVERIFY(text.find("Voice Set 4") == std::string::npos);
        QVERIFY(text.find("V33") != std::string::npos);
        QVERIFY(text.find("V97") == std::string::npos);
    } else {
        QVERIFY(text.find("Page 2 of 2") != std::string::npos);
        QVERIFY(text.find("Voice Set 32") != std::string::npos);
        QVERIFY(text.find("V1000") != std::string::npos);
    }
}

void ListToolsTest::printWithoutAListSaysSo()
{
    ListDesk desk;
    // Cancel in the print dialog prints nothing.
    frmVoiceList* w = desk.open("c.dat", 0, 5);
    toneloft::PrintVoiceNames::setDialogStandIn([](QPrinter&, long) { return false; });
    trigger(desk, MainCommand::FilePrintVoiceList);
    toneloft::PrintVoiceNames::setDialogStandIn(nullptr);
    QVERIFY(w);
    QVERIFY(!desk.ui.sawStatus(" Please wait - Printing Voice List  "));
    QVERIFY(desk.ui.boxes.empty());

    toneloft::PrintVoiceNames::Print(desk.session, nullptr, &desk.main);
    QCOMPARE(desk.ui.lastBox().text, std::string("Please select a voice list to print "));
    QCOMPARE(desk.ui.lastBox().title, std::string("No voice list selected"));
}

TONELOFT_GUI_TEST(ListToolsTest);
#include "ListToolsTest.moc"
