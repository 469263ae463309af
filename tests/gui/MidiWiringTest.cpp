#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "midi/FakeMidiBackend.h"
#include "midi/MidiSession.h"
#include "midi/ScriptedDialogs.h"
#include "midi/VirtualDx7Backend.h"
#include "midi/ui/MidiWindows.h"
#include "midi/ui/frmMIDIManager.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTest>

using toneloft::MainCommand;
using toneloft::test::ListDesk;

namespace {

// The main window with lists and MIDI, the virtual DX7 its only device. Input
// is handled whenever the scripted interface turns its event loop.
struct MidiDesk : ListDesk {
    toneloft::VirtualDx7Backend dx7{[this] { return ui.now; }};
    toneloft::test::ScriptedDialogs dialogs;
    toneloft::MidiWindows windows{main};
    toneloft::MidiSession midi{session, dx7, dialogs, &windows};

    MidiDesk()
    {
        windows.attach(midi);
        midi.setViewStateOf(lists.viewStateOf());
        ui.onEvents = [this](toneloft::test::ScriptedUi&) { midi.devices().dispatchInput(); };
    }

    bool entryEnabled(const char* name) { return main.menuEntry(QString::fromLatin1(name))->isEnabled(); }
    bool enabled(MainCommand c) { return main.action(c)->isEnabled(); }
    bool checked(MainCommand c) { return main.action(c)->isChecked(); }
    QWidget* managerFrame() { return windows.managerWindow() ? windows.managerWindow()->parentWidget() : nullptr; }
};

} // namespace

// The desktop program's MIDI: start-up on the virtual DX7, the MIDI menu and
// manager window, and what the voice lists send.
class MidiWiringTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void midiMenusFollowTheDevices();
    void startUpOpensTheDx7AndItsBank();
    void theManagerHidesAndShowsWithItsCommand();
    void cancellingAgainGoesOffLine();
    void clicksAndRenamesReachTheSynthesiser();
    void menuCommandsReachTheSynthesiser();
};

void MidiWiringTest::midiMenusFollowTheDevices()
{
    toneloft::test::ScriptedUi ui;
    toneloft::frmStartup w(&ui);
    toneloft::MidiWindows host(w);
    toneloft::MidiState state;
    toneloft::test::FakeMidiBackend backend;
    backend.inputs = {"Port In"};
    backend.outputs = {"Port Out"};
    toneloft::MidiDeviceLayer midi(ui, state, backend, &host);
    auto menuOn = [&](const char* name) { return w.menuEntry(QString::fromLatin1(name))->isEnabled(); };

    QCOMPARE(midi.OpenMidiDevices(-2, 0), 0);
    midi.SetMidiMenus(true);
    QVERIFY(!menuOn("mnuMIDI(0)"));
    QVERIFY(menuOn("mnuMIDI(1)"));
    QVERIFY(menuOn("mnuMIDI(2)"));
    QVERIFY(w.toolButton(QStringLiteral("Receive Bank"))->isEnabled());
    QVERIFY(!w.toolButton(QStringLiteral("Send Bank"))->isEnabled());

    midi.CloseMidiDevices();
    QCOMPARE(midi.OpenMidiDevices(0, -2), 0);
    midi.SetMidiMenus(true);
    QVERIFY(menuOn("mnuMIDI(0)"));
    QVERIFY(!menuOn("mnuMIDI(1)"));
    QVERIFY(!w.action(MainCommand::MidiInputOn)->isEnabled());

    midi.SetMidiMenus(false);
    QVERIFY(!menuOn("mnuMIDI(0)"));
    QVERIFY(!menuOn("mnuMIDI(1)"));
    QVERIFY(!menuOn("mnuMIDI(2)"));
    QVERIFY(menuOn("mnuMIDI(4)"));
    midi.CloseMidiDevices();
}

void MidiWiringTest::startUpOpensTheDx7AndItsBank()
{
    MidiDesk desk;
    desk.dialogs.testAnswers = {1}; // TX7
    QVERIFY(desk.main.runMidiDevices());

    QVERIFY(desk.entryEnabled("mnuMIDI(0)"));
    QVERIFY(desk.entryEnabled("mnuMIDI(1)"));
    QVERIFY(desk.entryEnabled("mnuMIDI(2)"));
    QVERIFY(desk.enabled(MainCommand::MidiSendVoice));
    QVERIFY(desk.enabled(MainCommand::MidiInputOn));
    QVERIFY(desk.checked(MainCommand::MidiInputOn));
    QVERIFY(desk.checked(MainCommand::MidiShowManager));
    QVERIFY(desk.main.toolButton(QStringLiteral("Send Bank"))->isEnabled());
    QVERIFY(desk.main.toolButton(QStringLiteral("Receive Bank"))->isEnabled());
    QVERIFY(desk.main.commandState().midiInputOpen);

    // The manager is a child window, minimised, logging what happened.
    QWidget* frame = desk.managerFrame();
    QVERIFY(frame);
    QVERIFY(qobject_cast<QMdiSubWindow*>(frame));
    QVERIFY(frame->isMinimized());
    QCoreApplication::processEvents(); // the grid re-reads the log when the loop turns
    QVERIFY(desk.windows.managerWindow()->monitorModel()->rowCount() >= 3);

    // The received bank is a list of its own.
    const auto windows = desk.lists.windows();
    QCOMPARE(windows.size(), std::size_t{1});
    QCOMPARE(windows.front()->windowTitle(), QStringLiteral("DX Setup  1 [ 32 patches ][*]"));
}

void MidiWiringTest::theManagerHidesAndShowsWithItsCommand()
{
    MidiDesk desk;
    desk.dialogs.testAnswers = {0}; // skip the test
    QVERIFY(desk.main.runMidiDevices());
    QVERIFY(desk.checked(MainCommand::MidiShowManager));

    desk.main.runCommand(MainCommand::MidiShowManager);
    QVERIFY(!desk.checked(MainCommand::MidiShowManager));
    QVERIFY(desk.managerFrame()->isHidden());

    desk.main.runCommand(MainCommand::MidiShowManager);
    QVERIFY(desk.checked(MainCommand::MidiShowManager));
    QVERIFY(!desk.managerFrame()->isHidden());
    QVERIFY(!desk.managerFrame()->isMinimized());

    // Closing the window only hides it.
    QPointer<QWidget> frame = desk.managerFrame();
    QVERIFY(!frame->close());
    QVERIFY(frame);
    QVERIFY(frame->isHidden());
    QVERIFY(!desk.checked(MainCommand::MidiShowManager));
    QVERIFY(desk.midi.state().inputOpen);
}

void MidiWiringTest::cancellingAgainGoesOffLine()
{
    MidiDesk desk;
    desk.dialogs.testAnswers = {0, 3}; // skip, then Cancel on MIDI Devices
    QVERIFY(desk.main.runMidiDevices());
    QVERIFY(desk.windows.managerWindow());

    desk.main.runCommand(MainCommand::MidiDevices);
    QVERIFY(!desk.windows.managerWindow());
    QVERIFY(!desk.midi.state().inputOpen);
    QVERIFY(!desk.main.commandState().midiOutputOpen);
    QVERIFY(!desk.entryEnabled("mnuMIDI(0)"));
    QVERIFY(!desk.entryEnabled("mnuMIDI(1)"));
    QVERIFY(!desk.main.toolButton(QStringLiteral("Send Bank"))->isEnabled());
}

void MidiWiringTest::clicksAndRenamesReachTheSynthesiser()
{
    MidiDesk desk;
    desk.dialogs.testAnswers = {0};
    QVERIFY(desk.main.runMidiDevices());
    toneloft::frmVoiceList* w = desk.open("Clicks.dat", 3, 32);
    QVERIFY(w);

    ListDesk::click(w, 3);
    ListDesk::mouse(w, QEvent::MouseButtonRelease, 3);
    QCOMPARE(desk.dx7.instrument().editBuffer(), toneloft::test::makeVoice("VOICE3", 3));

    // A second click on the same voice opens the rename box; Enter sends the name.
    ListDesk::click(w, 3);
    ListDesk::mouse(w, QEvent::MouseButtonRelease, 3);
    QVERIFY(w->Text1()->isVisible());
    w->Text1()->setText(QStringLiteral("NEW NAME"));
    QTest::keyClick(w->Text1(), Qt::Key_Return);
    QCOMPARE(desk.dx7.instrument().editBuffer().substr(145, 10), std::string("NEW NAME  "));
}

void MidiWiringTest::menuCommandsReachTheSynthesiser()
{
    MidiDesk desk;
    desk.dialogs.testAnswers = {0};
    QVERIFY(desk.main.runMidiDevices());
    toneloft::frmVoiceList* w = desk.open("Menu.dat", 3, 64, "MENU");
    QVERIFY(w);
    desk.activate(w);
    desk.main.toolbarClicked(QStringLiteral("Send Bank"));
    QCOMPARE(desk.dx7.instrument().internalVoices().substr(118, 10), std::string("MENU1     "));
    // The bank the window shows goes: paged with the key, the second.
    QTest::keyClick(w->List1(), Qt::Key_PageDown);
    desk.main.toolbarClicked(QStringLiteral("Send Bank"));
    QCOMPARE(desk.dx7.instrument().internalVoices().substr(118, 10), std::string("MENU33    "));

    // Input off: Receive goes with it.
    desk.main.runCommand(MainCommand::MidiInputOn);
    QVERIFY(!desk.checked(MainCommand::MidiInputOn));
    QVERIFY(!desk.entryEnabled("mnuMIDI(1)"));
}

TONELOFT_GUI_TEST(MidiWiringTest);
#include "MidiWiringTest.moc"
