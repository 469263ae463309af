#include "midi/MidiStartup.h"

#include "FakeVoiceLists.h"
#include "MidiTestRig.h"
#include "ScriptedDialogs.h"
#include "midi/Dx7Messages.h"
#include "midi/VirtualDx7.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace toneloft::test {
namespace {

// The desktop program's devices: real ones (the fake service) and the
// virtual DX7 as a stand-in.
struct DeviceRig : MidiTestRig {
    ScriptedDialogs dialogs;
    FakeVoiceLists lists;
    MidiStartup startup{midi, exchange, dialogs, &lists};
    DeviceRig()
    {
        dx7.setStandIn(true);
        exchange.setVoiceLists(&lists);
    }
    bool monitorHas(const std::string& text)
    {
        const auto rows = monitorMessages();
        return std::find(rows.begin(), rows.end(), text) != rows.end();
    }
    long monitorCount(const std::string& text)
    {
        const auto rows = monitorMessages();
        return std::count(rows.begin(), rows.end(), text);
    }
};

// Which pair the device dialogue opens with, the virtual DX7 always last.
struct Preselection {
    std::vector<std::string> outputs, inputs;
    std::string output, input; // "" for <None>
};

class DevicePreselection : public ::testing::TestWithParam<Preselection> {};

TEST_P(DevicePreselection, RealPairsWinOverTheVirtualDx7)
{
    const auto& p = GetParam();
    DeviceRig rig;
    rig.fake.outputs = p.outputs;
    rig.fake.inputs = p.inputs;
    rig.dialogs.testAnswers = {0};
    rig.startup.InitialiseMidi();
    ASSERT_EQ(rig.dialogs.configureShown.size(), 1u);
    const MidiConfigureDialog& d = rig.dialogs.configureShown[0];
    EXPECT_EQ(d.outputs.back(), VirtualDx7::kDeviceName);
    EXPECT_EQ(d.inputs.back(), VirtualDx7::kDeviceName);
    auto shown = [](const std::vector<std::string>& list, int index) {
        return index > 0 ? list[static_cast<std::size_t>(index)] : std::string();
    };
    EXPECT_EQ(shown(d.outputs, d.outputIndex), p.output);
    EXPECT_EQ(shown(d.inputs, d.inputIndex), p.input);
    EXPECT_TRUE(rig.ui.sawStatus(" " + std::to_string(p.inputs.size()) + " MIDI input and  " +
                                 std::to_string(p.outputs.size()) + " MIDI output devices located.  "));
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, DevicePreselection,
    ::testing::Values(
        Preselection{{"Other Synth", "USB MIDI Interface Out"},
                     {"Keys", "USB MIDI Interface In"},
                     "USB MIDI Interface Out",
                     "USB MIDI Interface In"},
        // No real pair agrees: the virtual DX7 is the pair left.
        Preselection{{"Synth"}, {"Keys"}, VirtualDx7::kDeviceName, VirtualDx7::kDeviceName}));

TEST(StandIn, OnlyTheVirtualDx7CountsAsNoDevice)
{
    DeviceRig rig;
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    EXPECT_TRUE(rig.ui.sawStatus("No MIDI Devices found - working off-line  "));
    EXPECT_TRUE(rig.dialogs.configureShown.empty());
    EXPECT_FALSE(rig.state.outputOpen);

    // A real input alone: the missing-output dialogue, then Choose offers the virtual DX7.
    rig.fake.inputs = {"Keys"};
    rig.dialogs.missingAnswers = {1};
    rig.dialogs.testAnswers = {0};
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    ASSERT_EQ(rig.dialogs.missingShown.size(), 1u);
    EXPECT_EQ(rig.dialogs.missingShown[0].noDevicesText,
              "You have no MIDI output devices on your system.\r\n");
    ASSERT_EQ(rig.dialogs.configureShown.size(), 1u);
    EXPECT_EQ(rig.dialogs.configureShown[0].outputs,
              (std::vector<std::string>{"<None>", VirtualDx7::kDeviceName}));
}

// The dialogue lists ports; by the time it closes another may have come, and
// the numbers moved. Opening goes by the chosen name.
TEST(StandIn, OpeningGoesByTheChosenName)
{
    DeviceRig rig;
    rig.fake.outputs = {"Synth A", "Synth B"};
    rig.fake.inputs = {"Synth A", "Synth B"};
    rig.dialogs.testAnswers = {0};
    rig.dialogs.configureActions = {[&rig](MidiConfigureDialog& d) {
        d.outputIndex = 2; // Synth B
        d.inputIndex = 2;
        rig.fake.outputs.insert(rig.fake.outputs.begin(), "Plugged In Meanwhile");
        rig.fake.inputs.insert(rig.fake.inputs.begin(), "Plugged In Meanwhile");
        return true;
    }};
    rig.startup.InitialiseMidi();
    EXPECT_EQ(rig.fake.openedOutput, 2);
    EXPECT_EQ(rig.fake.openedInput, 2);
    EXPECT_EQ(rig.state.outputDeviceName, "Synth B");

    // The next run preselects the same names, wherever they now stand.
    rig.midi.CloseMidiDevices();
    rig.dialogs.testAnswers = {0};
    rig.startup.InitialiseMidi();
    ASSERT_EQ(rig.dialogs.configureShown.size(), 2u);
    EXPECT_EQ(rig.dialogs.configureShown[1].outputIndex, 3);
}

TEST(StandIn, SkippingTheTestKeepsTheDetectionMode)
{
    DeviceRig rig;
    rig.fake.outputs = {"Synth"};
    rig.fake.inputs = {"Synth"};
    rig.state.detectionMode = 1;
    rig.dialogs.configureActions = {[](MidiConfigureDialog& d) {
        d.skipInitialisation = true;
        return true;
    }};
    EXPECT_EQ(rig.startup.InitialiseMidi(), 0);
    EXPECT_TRUE(rig.dialogs.testTexts.empty());
    EXPECT_EQ(rig.state.detectionMode, 1);
    EXPECT_TRUE(rig.state.outputOpen);
    EXPECT_TRUE(rig.ui.sawStatus(" Ready - Initialisation skipped   "));
}

// A cable pulled: one report, sends fail quietly; the port back: opened again.
TEST(VanishedPort, ReportedOnceAndReopenedWhenItReturns)
{
    DeviceRig rig;
    rig.fake.outputs = {"Synth"};
    rig.fake.inputs = {"Synth"};
    rig.midi.OpenMidiDevices(0, 0);
    rig.midi.dispatchInput();
    rig.fake.outputs.clear();
    rig.fake.inputs.clear();
    clsMidiManagerData& manager = *rig.midi.manager();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(manager.SendParametertoMIDI(135, i, false, false), -1);
    EXPECT_EQ(rig.midi.SendShortMessage(0x90, 60, 10), -1);
    rig.midi.checkPorts();
    EXPECT_TRUE(rig.ui.boxes.empty());
    EXPECT_EQ(rig.monitorCount("Port no longer connected: Synth"), 2); // output and input
    EXPECT_TRUE(rig.ui.sawStatus("Port no longer connected: Synth  "));
    EXPECT_TRUE(rig.fake.longMessages().empty());

    rig.fake.outputs = {"Other", "Synth"};
    rig.fake.inputs = {"Synth"};
    rig.midi.checkPorts();
    EXPECT_FALSE(rig.midi.outputLost());
    EXPECT_FALSE(rig.midi.inputLost());
    EXPECT_EQ(rig.fake.openedOutput, 1);
    EXPECT_EQ(manager.SendParametertoMIDI(135, 7, false, false), 0);
    ASSERT_EQ(rig.fake.longMessages().size(), 1u);
    EXPECT_EQ(rig.monitorCount("Port connected again: Synth"), 2);
}

// Detection found the synthesiser on channel 5: voices, banks and parameter
// changes go out on channel 5, and the instrument takes them.
TEST(Channel, SendsUseTheChannelDetectionFound)
{
    MidiTestRig rig;
    FakeVoiceLists lists;
    rig.exchange.setVoiceLists(&lists);
    rig.dx7.instrument().setChannel(4);
    rig.openVirtualDx7();
    rig.state.currentChannel = 4;
    lists.count = 32;
    lists.selected = 2;
    rig.dx7.instrument().clearApplied();

    rig.midi.manager()->SendParametertoMIDI(135, 21, false, false);
    rig.exchange.SendCommand(0);
    rig.exchange.SendCommand(1);
    using Kind = VirtualDx7::Applied::Kind;
    std::vector<Kind> kinds;
    for (const auto& a : rig.dx7.instrument().applied())
        kinds.push_back(a.kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Parameter, Kind::Voice, Kind::Bank}));
    EXPECT_EQ(OnChannel(ParameterChange(134, 21), 4), ByteString("\xF0\x43\x14\x01\x06\x15\xF7"));
    auto rows = rig.midi.manager()->MidiMessage().clone();
    int onFive = 0;
    for (rows->moveFirst(); !rows->eof(); rows->moveNext())
        if (rows->text("Message").rfind("Long Sysex sent:", 0) == 0)
            onFive += MidiTestRig::trimmed(rows->text("Channel")) == "5" ? 1 : -100;
    EXPECT_EQ(onFive, 3); // logged on the channel they went out on
}

// Receive > Bank with a synthesiser that answers requests asks for the bank;
// with one sent from its panel, the box offers Help.
TEST(ReceiveBank, AsksInTx7ModeAndOffersHelpOtherwise)
{
    MidiTestRig rig;
    FakeVoiceLists lists;
    rig.exchange.setVoiceLists(&lists);
    rig.openVirtualDx7();
    rig.state.detectionMode = 1;
    rig.exchange.ReceiveCommand(1);
    EXPECT_TRUE(rig.ui.boxes.empty());
    ASSERT_EQ(lists.saved.size(), 1u);
    EXPECT_EQ(toByteString(lists.saved[0].bytes), rig.dx7.instrument().bankDump());

    rig.state.detectionMode = 2;
    rig.ui.helpPresses = 2;
    rig.ui.answers = {MsgResult::Cancel};
    rig.exchange.ReceiveCommand(1);
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].title, "Ready to receive");
    EXPECT_EQ(rig.ui.boxes[0].helpTopic, "2420");
    EXPECT_EQ(rig.ui.helpTopics, (std::vector<std::string>{"2420", "2420"}));
    EXPECT_EQ(lists.saved.size(), 1u);
}

// Another maker's message while nobody waits: a line in the monitor, no box.
TEST(Unsolicited, ForeignSysexIsLoggedWithoutABox)
{
    DeviceRig rig;
    rig.openVirtualDx7();
    const ByteString roland("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x41\xF7", 11);
    for (int i = 0; i < 3; ++i)
        rig.midi.inputQueue().pushSysex(roland, 0);
    rig.midi.dispatchInput();
    EXPECT_TRUE(rig.ui.boxes.empty());
    EXPECT_EQ(rig.monitorCount("Unrecognised Long Sysex Received"), 3);
}

TEST(ServiceMessages, GoToTheMonitorOnceItExists)
{
    DeviceRig rig;
    rig.midi.logServiceMessage("JACK: cannot connect to server");
    rig.midi.dispatchInput();
    rig.openVirtualDx7();
    EXPECT_TRUE(rig.monitorHas("JACK: cannot connect to server"));
    EXPECT_TRUE(rig.ui.logLines.empty());
}

} // namespace
} // namespace toneloft::test
