#include "GuiTestRegistry.h"

#include "library/ui/frmStartup.h"
#include "midi/ui/QtConverterProcess.h"
#include "midi/ui/frmVXCconversion.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QThread>

#include <filesystem>
#include <fstream>

using namespace toneloft;
using test::ScriptedUi;
using test::TempDir;
namespace fs = std::filesystem;

namespace {

// A type 3 bank of 32 blank-named voices; enough for the converter.
std::string bankFile()
{
    std::string bank(4104, '\0');
    bank[0] = '\xF0';
    bank[1] = '\x43';
    bank[3] = '\x09';
    bank[4] = '\x20';
    for (int v = 0; v < 32; ++v)
        for (int i = 0; i < 10; ++i)
            bank[static_cast<std::size_t>(6 + v * 128 + 118 + i)] = 'A';
    bank[4103] = '\xF7';
    return bank;
}

// The program directory: the converter and its template, a Data folder.
struct Install {
    TempDir dir;
    explicit Install(bool withConverter = true)
    {
        fs::create_directories(dir.path() / "data");
        if (withConverter) {
            fs::copy_file(TONELOFT_VXC_PATH, dir.path() / "vxc");
            fs::copy_file(fs::path(TONELOFT_VXC_PATH).parent_path() / "syinit.dat", dir.path() / "syinit.dat");
        }
        dir.write("data/ROM1A.SYX", bankFile());
        dir.write("data/notes.txt", "not voices");
    }
    QString program() const { return QString::fromStdString(dir.folder()); }
    std::string data(const std::string& name = {}) const { return dir.folder() + "data/" + name; }
};

// The conversion window shown over an install, on a scripted interface.
struct Desk {
    Install install;
    ScriptedUi ui;
    frmVXCconversion w;
    explicit Desk(bool withConverter = true) : install(withConverter), w(ui, install.program()) { w.show(); }
};

// The fake clock follows real time, so a real converter has time to run.
void realTime(ScriptedUi& ui)
{
    ui.onEvents = [](ScriptedUi&) {
        QThread::msleep(1);
        QCoreApplication::processEvents();
    };
}

void typeAndOk(frmVXCconversion& w, const QString& text)
{
    w.textBox()->clear();
    QTest::keyClicks(w.textBox(), text);
    QTest::mouseClick(w.button(0), Qt::LeftButton);
}

} // namespace

class VxcConversionWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensAtStepZeroInTheDataFolder();
    void convertsThroughTheTextBox();
    void doubleClickTakesTheSourceAndCancelResets();
    void wildcardBecomesThePattern();
    void returnKeyIsOneOk();
    void missingConverterReportsCodeSix();
    void toolsMenuOpensOneWindow();
    void processRunsInItsFolderAndIsStopped();
};

void VxcConversionWindowTest::opensAtStepZeroInTheDataFolder()
{
    Desk desk;
    auto& [install, ui, w] = desk;
    QCOMPARE(w.windowTitle(), QStringLiteral("VXC - DX7 to SY77 Voice Conversion"));
    QCOMPARE(w.folder(), QString::fromStdString(install.data()));
    QCOMPARE(w.instructionLabel()->text(),
             QStringLiteral("1. Select or type in the title of a file containing DX7 voices, then click OK"));
    QCOMPARE(w.textBox()->text(), QStringLiteral("*.dat;*.syx;*.32;*.dx7"));
    QCOMPARE(w.fileModel()->nameFilters(), (QStringList{"*.dat", "*.syx", "*.32", "*.dx7"}));
    QVERIFY(!w.option(0)->isEnabled());
    QVERIFY(!w.option(1)->isEnabled());
    QCOMPARE(w.option(0)->text(), QStringLiteral("&All Voice Sets in one file"));
    QCOMPARE(w.option(1)->text(), QStringLiteral("&One file for each Voice Set"));
    const char* captions[3] = {"OK", "Cancel", "Exit"};
    const char* tips[3] = {"Accept file selections and start VXC utility", "Cancel Selection", "Close VXC dialog"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(w.button(i)->text(), QString::fromLatin1(captions[i]));
        QCOMPARE(w.button(i)->toolTip(), QString::fromLatin1(tips[i]));
    }
    QVERIFY(w.sourceBox()->isReadOnly());
    QVERIFY(w.outputBox()->isReadOnly());
    QCOMPARE(w.fileListNames(), QStringList{"ROM1A.SYX"});
}

void VxcConversionWindowTest::convertsThroughTheTextBox()
{
    Desk desk;
    auto& [install, ui, w] = desk;
    realTime(ui);

    typeAndOk(w, QStringLiteral("ROM1A.SYX"));
    QCOMPARE(w.conversion().step(), 1);
    QCOMPARE(w.sourceBox()->text(), QString::fromStdString(install.data("ROM1A.SYX")));
    QCOMPARE(w.instructionLabel()->text(),
             QStringLiteral("2. Select or type in the title of the output file, then click OK"));
    QCOMPARE(w.textBox()->text(), QStringLiteral("*.dat"));
    QVERIFY(w.option(0)->isEnabled());
    QVERIFY(w.option(1)->isEnabled());

    // While the converter runs, the output box names the output.
    QString shownWhileRunning;
    ui.onEvents = [&](ScriptedUi&) {
        shownWhileRunning = w.outputBox()->text();
        QThread::msleep(1);
        QCoreApplication::processEvents();
    };
    typeAndOk(w, QStringLiteral("ROM1A.SY"));
    QCOMPARE(shownWhileRunning, QString::fromStdString(install.data("ROM1A.SY")));
    QCOMPARE(ui.boxes.size(), std::size_t{1});
    QCOMPARE(ui.boxes[0].title, std::string("File conversion complete"));
    QCOMPARE(ui.boxes[0].text,
             "VXC created  SY77 format file : " + install.data("ROM1A.SY") + " (  14912 bytes )");
    QCOMPARE(fs::file_size(install.data("ROM1A.SY")), std::uintmax_t{32 * 466});
    QVERIFY(fs::exists(install.data("ROM1A.vxc.txt")));
    // Back at step 0, whatever the outcome.
    QCOMPARE(w.conversion().step(), 0);
    QVERIFY(w.sourceBox()->text().isEmpty());
    QVERIFY(w.outputBox()->text().isEmpty());
    QVERIFY(!w.option(0)->isEnabled());
    QCOMPARE(w.textBox()->selectedText(), w.textBox()->text());
}

void VxcConversionWindowTest::doubleClickTakesTheSourceAndCancelResets()
{
    Desk desk;
    auto& [install, ui, w] = desk;
    QListView* files = w.fileList();
    QTRY_COMPARE(w.fileModel()->rowCount(files->rootIndex()), 1);
    const QModelIndex first = w.fileModel()->index(0, 0, files->rootIndex());
    QCOMPARE(w.fileModel()->fileName(first), QStringLiteral("ROM1A.SYX"));
    const QPoint at = files->visualRect(first).center();
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(w.textBox()->text(), QStringLiteral("ROM1A.SYX"));
    QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(w.conversion().step(), 1);
    QVERIFY(!w.sourceBox()->text().isEmpty());

    QTest::mouseClick(w.button(1), Qt::LeftButton);
    QCOMPARE(w.conversion().step(), 0);
    QVERIFY(w.sourceBox()->text().isEmpty());
    QVERIFY(!w.option(1)->isEnabled());
    QVERIFY(ui.boxes.empty());
}

void VxcConversionWindowTest::wildcardBecomesThePattern()
{
    Desk desk;
    auto& [install, ui, w] = desk;
    typeAndOk(w, QStringLiteral("*.txt"));
    QCOMPARE(w.fileModel()->nameFilters(), QStringList{"*.txt"});
    QCOMPARE(w.fileListNames(), QStringList{"notes.txt"});
    // Not DX7 voices: silently stays at step 0.
    typeAndOk(w, QStringLiteral("notes.txt"));
    QCOMPARE(w.conversion().step(), 0);
    QVERIFY(ui.boxes.empty());
    // A folder typed with a separator: the folder changes and its file is taken.
    typeAndOk(w, QStringLiteral("../data/ROM1A.SYX"));
    QCOMPARE(w.folder(), QString::fromStdString(install.data()));
    QCOMPARE(w.conversion().step(), 1);
}

void VxcConversionWindowTest::returnKeyIsOneOk()
{
    Desk desk;
    auto& [install, ui, w] = desk;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.textBox()->setFocus();
    w.textBox()->clear();
    QTest::keyClicks(w.textBox(), QStringLiteral("ROM1A.SYX"));
    QTest::keyClick(w.textBox(), Qt::Key_Return);
    QCOMPARE(w.conversion().step(), 1);
    // Taken once: the "*.dat" now in the box has not been taken as a pattern.
    QCOMPARE(w.textBox()->text(), QStringLiteral("*.dat"));
    QCOMPARE(w.fileModel()->nameFilters(), (QStringList{"*.dat", "*.syx", "*.32", "*.dx7"}));
    QVERIFY(w.textBox()->hasFocus());
    QCOMPARE(w.textBox()->selectedText(), QStringLiteral("*.dat"));
}

void VxcConversionWindowTest::missingConverterReportsCodeSix()
{
    Desk desk(false);
    auto& [install, ui, w] = desk;
    typeAndOk(w, QStringLiteral("ROM1A.SYX"));
    // On the button's label: the rest of its row does not take clicks.
    QTest::mouseClick(w.option(1), Qt::LeftButton, {}, QPoint(10, w.option(1)->height() / 2));
    QVERIFY(w.option(1)->isChecked());
    typeAndOk(w, QStringLiteral("OUT.DAT"));
    QCOMPARE(ui.boxes.size(), std::size_t{1});
    QCOMPARE(ui.boxes[0].text, std::string("Conversion failed - VXC couldn't be located or loaded"));
    QVERIFY(w.conversion().elapsedMs() >= 5000 && w.conversion().elapsedMs() < 5010);
    QCOMPARE(w.textBox()->text(), QStringLiteral("*.*"));
    QVERIFY(!fs::exists(install.data("OUT.000")));
}

void VxcConversionWindowTest::toolsMenuOpensOneWindow()
{
    ScriptedUi ui;
    frmStartup main(&ui);
    installVxcConversionCommand(main);
    QAction* entry = main.menuEntry(QStringLiteral("mnuTools(0)"));
    QVERIFY(entry);
    QCOMPARE(entry->text(), QStringLiteral("DX to SY &Voice conversion"));
    entry->trigger();
    auto windows = main.findChildren<frmVXCconversion*>();
    QCOMPARE(windows.size(), qsizetype{1});
    frmVXCconversion* w = windows.front();
    QVERIFY(w->isVisible());
    QVERIFY(ui.boxes.empty());
    const QString folder = w->folder();
    QTest::mouseClick(w->button(2), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    entry->trigger();
    QCOMPARE(main.findChildren<frmVXCconversion*>().size(), qsizetype{1});
    QVERIFY(w->isVisible());
    QCOMPARE(w->folder(), folder);
}

void VxcConversionWindowTest::processRunsInItsFolderAndIsStopped()
{
    TempDir dir;
    const std::string script = dir.write("slow", "#!/bin/sh\npwd > started\nsleep 1\ntouch finished\n");
    fs::permissions(script, fs::perms::owner_all);
    QtConverterProcess process;
    QVERIFY(!process.start(dir.file("missing"), dir.folder()));
    QVERIFY(process.start(script, dir.folder()));
    QTRY_VERIFY(fs::exists(dir.file("started")));
    QCOMPARE(TempDir::read(dir.file("started")), dir.path().string() + "\n");
    process.stopAndRelease();
    process.stopAndRelease(); // nothing left to stop
    QTest::qWait(1500);
    QVERIFY(!fs::exists(dir.file("finished")));
}

TONELOFT_GUI_TEST(VxcConversionWindowTest);
#include "VxcConversionWindowTest.moc"
