#include "midi/MidiStartup.h"

#include "FakeVoiceLists.h"
#include "MidiTestRig.h"
#include "ScriptedDialogs.h"
#include "midi/Dx7Messages.h"

#include <algorithm>
#include <deque>
#include <gtest/gtest.h>

namespace toneloft::test {
namespace {

struct StartupRig : MidiTestRig {
    ScriptedDialogs dialogs;
    FakeVoiceLists lists;
    MidiStartup startup{midi, exchange, dialogs, &lists};
    StartupRig() { exchange.setVoiceLists(&lists); }
};

// A rig whose only devices are the fake ones: the virtual DX7 is left out.
struct BareRig {
    ScriptedUi ui;
    MidiState state;
    FakeMidiBackend fake;
    MidiDeviceLayer midi{ui, state, fake};
    Dx7Exchange exchange{midi};
    ScriptedDialogs dialogs;
    MidiStartup startup{midi, exchange, dialogs};
    BareRig() { ui.onEvents = [this](ScriptedUi&) { midi.dispatchInput(); }; }
};

TEST(MidiStartup, NoDevicesWorksOffLine)
{
    BareRig rig;
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    EXPECT_TRUE(rig.ui.sawStatus("No MIDI Devices found - working off-line  "));
    EXPECT_TRUE(rig.ui.sawStatus(" Welcome to Toneloft - Press F1 for Help  "));
    EXPECT_FALSE(rig.midi.commandEnabled(MidiCommand::Send));
    EXPECT_FALSE(rig.midi.commandEnabled(MidiCommand::Receive));
    EXPECT_FALSE(rig.midi.commandEnabled(MidiCommand::Options));
    EXPECT_TRUE(rig.dialogs.configureShown.empty());
}

TEST(MidiStartup, CommandLineNStartsOffLineWithoutListing)
{
    BareRig rig;
    rig.fake.inputs = {"Keys"};
    rig.fake.outputs = {"Synth"};
    rig.startup.setCommandLine("N");
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    EXPECT_EQ(rig.fake.countCalls, 0);
    EXPECT_FALSE(rig.state.outputOpen);
    EXPECT_TRUE(rig.ui.sawStatus(" Welcome to Toneloft - Press F1 for Help  "));

    // Only the first run honours the switch.
    rig.dialogs.testAnswers = {0};
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    EXPECT_GT(rig.fake.countCalls, 0);
}

TEST(MidiStartup, OnlyAnInputAsksAboutTheOutput)
{
    BareRig rig;
    rig.fake.inputs = {"Keys"};
    rig.dialogs.missingAnswers = {0};
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    ASSERT_EQ(rig.dialogs.missingShown.size(), 1u);
    const auto& d = rig.dialogs.missingShown[0];
    EXPECT_EQ(d.buttons[1], std::string("&Choose an ") + "Input" + " device");
    EXPECT_EQ(d.noDevicesText, "You have no MIDI output devices on your system.\r\n");
    EXPECT_EQ(d.question, "Do you want to work off-line with no MIDI, choose a MIDI input device "
                          "anyway, or quit Toneloft ?");
    EXPECT_EQ(d.buttons[2], "&Exit Toneloft");

    rig.dialogs.missingAnswers = {2}; // answered before: Cancel
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    EXPECT_EQ(rig.dialogs.missingShown[1].buttons[2], "Cancel");
    EXPECT_EQ(rig.dialogs.missingShown[1].question,
              "Do you want to work off-line with no MIDI or choose a MIDI input device anyway ?");
}

TEST(MidiStartup, ExitFromTheMissingDeviceDialogueQuits)
{
    BareRig rig;
    rig.fake.outputs = {"Synth"};
    rig.dialogs.missingAnswers = {2};
    EXPECT_EQ(rig.startup.InitialiseMidi(), -1);
    EXPECT_EQ(rig.dialogs.missingShown[0].buttons[1], "&Choose an Output device");
}

TEST(MidiStartup, DevicesSharingTwelveCharactersArePreselected)
{
    BareRig rig;
    rig.fake.outputs = {"Other Synth", "USB MIDI Interface Out"};
    rig.fake.inputs = {"Keys", "USB MIDI Interface In"};
    rig.dialogs.configureActions = {[](MidiConfigureDialog&) { return true; }};
    rig.dialogs.testAnswers = {0};
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    ASSERT_EQ(rig.dialogs.configureShown.size(), 1u);
    EXPECT_EQ(rig.dialogs.configureShown[0].outputIndex, 2);
    EXPECT_EQ(rig.dialogs.configureShown[0].inputIndex, 2);
    EXPECT_EQ(rig.startup.OutputDeviceID(), 1);
    EXPECT_EQ(rig.startup.InputDeviceID(), 1);
    EXPECT_TRUE(rig.ui.sawStatus(" Ready - Initialisation skipped   "));
    EXPECT_TRUE(rig.ui.sawStatus(" 2 MIDI input and  2 MIDI output devices located.  "));

    // Run again: the remembered choice wins over the name match.
    rig.midi.CloseMidiDevices();
    rig.dialogs.configureActions = {[](MidiConfigureDialog& d) {
        d.outputIndex = 1;
        return true;
    }};
    rig.dialogs.testAnswers = {0};
    rig.startup.InitialiseMidi();
    rig.midi.CloseMidiDevices();
    rig.dialogs.testAnswers = {0};
    rig.startup.InitialiseMidi();
    EXPECT_EQ(rig.dialogs.configureShown.back().outputIndex, 1);
}

TEST(MidiStartup, ChoosingNoInputAsksToSelectOne)
{
    BareRig rig;
    rig.fake.outputs = {"Synth"};
    rig.fake.inputs = {"Keys"};
    rig.dialogs.configureActions = {[](MidiConfigureDialog& d) {
                                        d.outputIndex = 1;
                                        d.inputIndex = 0;
                                        return true;
                                    },
                                    [](MidiConfigureDialog& d) {
                                        d.inputIndex = 1;
                                        return true;
                                    }};
    rig.ui.answers = {MsgResult::Yes};
    rig.dialogs.testAnswers = {0};
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    ASSERT_FALSE(rig.ui.boxes.empty());
    EXPECT_EQ(rig.ui.boxes[0].text,
              "You haven't chosen a MIDI input deviceToneloft needs to use both input and output "
              "devices to work properly. Select an input device now (Yes), or proceed anyway (No) ?");
    EXPECT_EQ(rig.ui.boxes[0].title, "Select Devices");
    EXPECT_EQ(rig.dialogs.configureShown.size(), 2u);
    EXPECT_TRUE(rig.state.inputOpen);
}

TEST(MidiStartup, CancelInTheTestDialogueWorksOffLine)
{
    StartupRig rig;
    rig.dialogs.testAnswers = {3};
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    EXPECT_TRUE(rig.ui.sawStatus("Midi initialisation cancelled - working off-line  "));
    EXPECT_FALSE(rig.state.outputOpen);
}

TEST(MidiStartup, AFailedOpenOffersToGoOnWithoutMidi)
{
    BareRig rig;
    rig.fake.outputs = {"Synth"};
    rig.fake.inputs = {"Keys"};
    rig.fake.openOutputResult = 4;
    rig.dialogs.configureActions = {[](MidiConfigureDialog& d) {
        d.outputIndex = 1;
        d.inputIndex = 1;
        return true;
    }};
    rig.dialogs.testAnswers = {0};
    rig.ui.answers = {MsgResult::No};
    EXPECT_EQ(rig.startup.InitialiseMidi(), -1);
    EXPECT_EQ(rig.ui.lastBox().title, "Midi setup error");
    EXPECT_FALSE(rig.state.inputOpen);
}

TEST(MidiStartup, Tx7DetectionFindsTheVirtualDx7OnChannelFive)
{
    StartupRig rig;
    rig.dx7.instrument().setChannel(4);
    rig.dialogs.testAnswers = {1}; // TX7
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);

    const auto requests = rig.fake.sent; // the fake service is not the one opened
    EXPECT_TRUE(requests.empty());
    int timeouts = 0;
    for (const auto& s : rig.ui.statuses)
        timeouts += s.text == "Timeout - no data received  ";
    EXPECT_EQ(timeouts, 4);
    EXPECT_EQ(rig.state.currentChannel, 4);
    EXPECT_TRUE(rig.ui.sawStatus("Please wait - detecting on Channel  5  "));
    EXPECT_TRUE(rig.ui.sawStatus(" Ready - Initialised OK   "));
    ASSERT_EQ(rig.lists.temporaryLists.size(), 1u);
    EXPECT_EQ(rig.lists.temporaryLists[0], rig.dx7.instrument().bankDump());
    EXPECT_GE(rig.ui.now, 4 * 2000);

    // Later requests use channel 5.
    rig.dx7.instrument().clearApplied();
    std::string data;
    ASSERT_EQ(rig.exchange.ReceiveDump(kDumpVoice, 2000, data, true), 0);
    EXPECT_EQ(data, rig.dx7.instrument().voiceDump());
    const auto rows = rig.monitorMessages();
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Long Sysex sent: 240 67 36 0 247"), rows.end());
}

TEST(MidiStartup, NothingReceivedThenIgnoreLeavesTheDevicesOpen)
{
    StartupRig rig;
    rig.dx7.instrument().setChannel(4);
    rig.dialogs.testAnswers = {2}; // DX7: waits 15 s on channel 1 for a manual dump
    rig.ui.answers = {MsgResult::Ignore};
    rig.ui.tickMs = 5;
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    EXPECT_EQ(rig.ui.lastBox().title, "Midi initialisation failed");
    EXPECT_EQ(rig.ui.lastBox().buttons, MsgButtons::AbortRetryIgnore);
    EXPECT_TRUE(rig.state.inputOpen);
    EXPECT_TRUE(rig.state.outputOpen);
    EXPECT_TRUE(rig.ui.sawStatus(" Ready - Initialisation skipped   "));
    EXPECT_EQ(rig.state.currentChannel, 0);
}

TEST(MidiStartup, BadDataClosesAndAsks)
{
    StartupRig rig;
    rig.dialogs.testAnswers = {2};
    rig.ui.answers = {MsgResult::Cancel};
    bool sent = false;
    rig.ui.onEvents = [&rig, &sent](ScriptedUi&) {
        if (!sent && rig.state.requestedDumpType == kDumpBank) {
            sent = true;
            ByteString odd = rig.dx7.instrument().voiceDump();
            odd[1] = toChar(0x41);
            rig.midi.inputQueue().pushSysex(odd, 0);
        }
        rig.midi.dispatchInput();
    };
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    EXPECT_EQ(rig.ui.lastBox().text.substr(0, 41), "An invalid or empty data buffer was recei");
    EXPECT_FALSE(rig.state.outputOpen);
    EXPECT_TRUE(rig.ui.sawStatus(" Welcome to Toneloft - Press F1 for Help  "));
}

TEST(MidiStartup, SwitchSSkipsTheTest)
{
    StartupRig rig;
    rig.startup.setCommandLine("s");
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    EXPECT_TRUE(rig.dialogs.testTexts.empty());
    EXPECT_TRUE(rig.state.outputOpen);
    EXPECT_TRUE(rig.ui.sawStatus(" Ready - Initialisation skipped   "));
}

TEST(MidiStartup, HandleInitResultTable)
{
    StartupRig rig;
    EXPECT_EQ(rig.startup.HandleInitResult(0), -3);
    EXPECT_EQ(rig.startup.HandleInitResult(1), 0);
    EXPECT_EQ(rig.startup.HandleInitResult(2), -1);
    EXPECT_EQ(rig.startup.HandleInitResult(3), -1);
    EXPECT_EQ(rig.startup.HandleInitResult(5), 5);
    EXPECT_EQ(rig.startup.HandleInitResult(7), 7);
    EXPECT_EQ(rig.startup.HandleInitResult(8), -1);
    rig.ui.answers = {MsgResult::Retry, MsgResult::Abort, MsgResult::Yes, MsgResult::No};
    EXPECT_EQ(rig.startup.HandleInitResult(4), -2);
    EXPECT_EQ(rig.startup.HandleInitResult(4), -1);
    EXPECT_EQ(rig.startup.HandleInitResult(6), -2);
    EXPECT_EQ(rig.startup.HandleInitResult(6), -1);
}

TEST(MidiStartup, TestTextLines)
{
    const std::string text = MidiStartup::testText();
    EXPECT_EQ(text.rfind("If you are sure your connections are OK and you don't want the current "
                         "voice setup press SKIP. \r\n\r\nTo TEST A DX7",
                         0),
              0u);
    EXPECT_NE(text.find("\r\n\r\n7.   Press the DX7 button"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 10), "press TX7.");
}

} // namespace
} // namespace toneloft::test
