// Windows and dialogues open inside the screen, however small it is; the main
// and help windows come back where they were. CTest runs this a second time on
// a 1280x800 screen at twice the scale (640x400 to lay out in).
#include "DialogDriver.h"
#include "GuiTestRegistry.h"

#include "common/UiServices.h"
#include "common/ui/AboutWindow.h"
#include "common/ui/HelpWindow.h"
#include "common/ui/QtUiServices.h"
#include "common/ui/SystemInfoDialog.h"
#include "common/ui/WindowPlacement.h"
#include "common/ui/frmFileFormatDialog.h"
#include "editor/RandomiseVoices.h"
#include "editor/ui/frmRandomiseVoices.h"
#include "library/ui/frmDuplicates.h"
#include "library/ui/frmFind.h"
#include "library/ui/frmGroupPatches.h"
#include "library/ui/frmPreferences.h"
#include "library/ui/frmStartup.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/MidiState.h"
#include "midi/VirtualDx7Backend.h"
#include "midi/ui/frmEditSysex.h"
#include "midi/ui/frmInitialisationMessage.h"
#include "midi/ui/frmMIDIManager.h"
#include "midi/ui/frmMidiConfigure.h"
#include "midi/ui/frmMissingMIDIDevice.h"
#include "midi/ui/frmVXCconversion.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "voice/Session.h"

#include <QScreen>
#include <QSettings>
#include <QTest>

#include <functional>
#include <map>
#include <memory>

namespace {

using namespace toneloft;

QRect screenSpace()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

QString placeOf(const QWidget* w)
{
    const QRect r = w->frameGeometry();
    const QRect s = screenSpace();
    return QStringLiteral("%1 at %2,%3 %4x%5 on %6x%7")
        .arg(w->objectName())
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .arg(s.width())
        .arg(s.height());
}

bool inside(const QWidget* w)
{
    return screenSpace().contains(w->frameGeometry());
}

class ScreenFitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { QSettings().clear(); }
    void cleanup() { QSettings().clear(); }
    void mainAndHelpWindowsOpenInside();
    void mainAndHelpWindowsComeBackWhereTheyWere();
    void dialogues_data();
    void dialogues();
    void boxesAndFileDialogsOpenInside();
};

void ScreenFitTest::initTestCase()
{
    // The scaled run must really have the small screen it is about.
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == QLatin1String("2"))
        QCOMPARE(screenSpace().size(), QSize(640, 400));
}

struct Placed {
    WindowPlacement placement;
    Placed()
    {
        placement.remember(QStringLiteral("frmStartup"), QStringLiteral("main"));
        placement.remember(QStringLiteral("HelpWindow"), QStringLiteral("help"));
    }
};

void ScreenFitTest::mainAndHelpWindowsOpenInside()
{
    Placed placed;
    test::ScriptedUi ui;
    frmStartup main(&ui);
    main.resize(screenSpace().size() + QSize(400, 300));
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QApplication::processEvents();
    QVERIFY2(inside(&main), qPrintable(placeOf(&main)));

    HelpWindow& help = main.helpWindow();
    help.move(screenSpace().right() - 50, 10);
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QApplication::processEvents();
    QVERIFY2(inside(&help), qPrintable(placeOf(&help)));
}

void ScreenFitTest::mainAndHelpWindowsComeBackWhereTheyWere()
{
    const QRect space = screenSpace();
    const QRect mainPlace(space.x() + 20, space.y() + 30, space.width() / 2, space.height() / 2);
    const QRect helpPlace(space.x() + 60, space.y() + 40, space.width() / 2 + 10, space.height() / 2 + 10);
    {
        Placed placed;
        test::ScriptedUi ui;
        frmStartup main(&ui);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.setGeometry(mainPlace);
        HelpWindow& help = main.helpWindow();
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        help.setGeometry(helpPlace);
        QApplication::processEvents();
        QVERIFY(main.close());
    }
    Placed placed;
    test::ScriptedUi ui;
    frmStartup main(&ui);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QCOMPARE(main.geometry(), mainPlace);
    HelpWindow& help = main.helpWindow();
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QCOMPARE(help.geometry(), helpPlace);
}

void ScreenFitTest::dialogues_data()
{
    QTest::addColumn<QString>("window");
    for (const char* name : {"preferences", "file format", "about", "system information", "find", "duplicates",
                             "grouping", "patch generator", "conversion", "sysex editor", "MIDI manager",
                             "MIDI devices", "missing device", "initialisation"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// Each dialogue the program shows, made as the program makes it, over the main window.
void ScreenFitTest::dialogues()
{
    QFETCH(QString, window);
    Placed placed;
    test::ScriptedUi ui;
    test::TempDir dir;
    Session session(ui, dir.folder());
    frmStartup main(&ui);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    RandomiseVoices generator(session, 1);
    MidiState state;
    VirtualDx7Backend backend;
    MidiDeviceLayer midi(ui, state, backend);
    MidiConfigureDialog devices{"Please select MIDI devices to use with Toneloft", {"<None>", "Virtual DX7"},
                                {"<None>", "Virtual DX7"}, 1, 1, false, false};
    MissingDeviceDialog missing{"MIDI Device missing", "You have no MIDI output devices on your system.\r\n",
                                "An input and an output device are needed.", "What would you like to do ?",
                                {"&Work Off-Line", "&Choose an output device", "&Exit Toneloft"}};
    const std::map<QString, std::function<QWidget*()>> makers{
        {QStringLiteral("preferences"), [&] { return new frmPreferences(&main); }},
        {QStringLiteral("file format"), [&] { return new frmFileFormatDialog(&main); }},
        {QStringLiteral("about"), [&] { return new AboutWindow(&main); }},
        {QStringLiteral("system information"), [&] { return new SystemInfoDialog(&main); }},
        {QStringLiteral("find"), [&] { return new frmFind(session, &main); }},
        {QStringLiteral("duplicates"), [&] { return new frmDuplicates(session, &main); }},
        {QStringLiteral("grouping"), [&] { return new frmGroupPatches(session, &main); }},
        {QStringLiteral("patch generator"), [&] { return new frmRandomiseVoices(generator, &main); }},
        {QStringLiteral("conversion"), [&] { return new frmVXCconversion(ui, QString::fromStdString(dir.folder()), &main); }},
        {QStringLiteral("sysex editor"), [&] { return new frmEditSysex(ui, ByteString(4104, '\0'), &main); }},
        {QStringLiteral("MIDI manager"), [&] { return new frmMIDIManager(midi, &main); }},
        {QStringLiteral("MIDI devices"), [&] { return new frmMidiConfigure(devices, &main); }},
        {QStringLiteral("missing device"), [&] { return new frmMissingMIDIDevice(missing, &main); }},
        {QStringLiteral("initialisation"), [&] { return new frmInitialisationMessage("Testing the synthesiser", &main); }},
    };
    std::unique_ptr<QWidget> w(makers.at(window)());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QApplication::processEvents();
    QVERIFY2(inside(w.get()), qPrintable(placeOf(w.get())));
}

// The boxes and file dialogues the core asks for through the program's services.
void ScreenFitTest::boxesAndFileDialogsOpenInside()
{
    Placed placed;
    QtUiServices services;
    frmStartup main(&services);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    QStringList outside;
    auto check = [&outside](QWidget* modal) {
        QApplication::processEvents();
        if (!inside(modal))
            outside << placeOf(modal);
        modal->close();
    };
    test::onNextModal(check);
    services.MsgBox("You already have a file open with the name /home/someone/Music/DX7/Sysex/Factory ROM 1 "
                    "and 2 combined and renamed.syx\r\nChanges have been made to the file since it was last "
                    "saved. \r\n\r\nAre you sure you want to replace it ?",
                    "Unsaved Changes", MsgIcon::Exclamation, MsgButtons::YesNoCancel);
    test::onNextModal(check);
    FileDialogRequest open;
    open.title = "Open DX7 Voice Data File";
    services.fileDialog(open);
    test::onNextModal(check);
    services.chooseSaveFormat(3);
    test::onNextModal(check);
    services.inputBox("Enter the new name", "Rename", "INIT VOICE");
    QVERIFY2(outside.isEmpty(), qPrintable(outside.join(QStringLiteral("; "))));
}

} // namespace

TONELOFT_GUI_TEST(ScreenFitTest);
#include "ScreenFitTest.moc"
