#include "midi/MidiDeviceLayer.h"

#include "MidiTestRig.h"
#include "common/Crc32.h"
#include "midi/Dx7Messages.h"
#include "voice/VoiceFileFormat.h"

#include <gtest/gtest.h>

namespace toneloft::test {
namespace {

using Slot = MidiMessageRecord;

TEST(MidiDevices, EnumerateReportsWhatIsMissing)
{
    struct Case {
        std::vector<std::string> outputs, inputs;
        int expected;
    };
    const std::vector<Case> cases = {
        {{}, {}, -1}, {{"Out"}, {}, -2}, {{}, {"In"}, -3}, {{"Out"}, {"In"}, 0}};
    for (const auto& c : cases) {
        ScriptedUi ui;
        MidiState state;
        FakeMidiBackend fake;
        fake.outputs = c.outputs;
        fake.inputs = c.inputs;
        MidiDeviceLayer midi(ui, state, fake);
        int outs = -7, ins = -7;
        EXPECT_EQ(midi.EnumerateMidiDevices(outs, ins), c.expected);
        if (c.expected != -1) {
            EXPECT_EQ(outs, static_cast<int>(c.outputs.size()));
            EXPECT_EQ(ins, static_cast<int>(c.inputs.size()));
            EXPECT_EQ(state.outputList.front(), "<None>");
            EXPECT_EQ(state.inputList.size(), c.inputs.size() + 1);
        }
    }
}

TEST(MidiDevices, AnUnreadableDeviceIsReportedAndLeftOut)
{
    ScriptedUi ui;
    MidiState state;
    FakeMidiBackend fake;
    fake.outputs = {"A   ", "B", "C"};
    fake.inputs = {"In"};
    fake.unreadableOutputs = {1};
    MidiDeviceLayer midi(ui, state, fake);
    int outs = 0, ins = 0;
    EXPECT_EQ(midi.EnumerateMidiDevices(outs, ins), 0);
    EXPECT_EQ(outs, 2);
    EXPECT_EQ(state.outputList, (std::vector<std::string>{"<None>", "A", "C"}));
    EXPECT_EQ(state.outputListIds, (std::vector<int>{-2, 0, 2}));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Device ID out of range");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
}

TEST(MidiDevices, OpenAndCloseSetFlagsCommandsAndTexts)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    EXPECT_TRUE(rig.state.inputOpen);
    EXPECT_TRUE(rig.state.outputOpen);
    ASSERT_NE(rig.midi.manager(), nullptr);
    EXPECT_TRUE(rig.midi.commandEnabled(MidiCommand::Send));
    EXPECT_TRUE(rig.midi.commandChecked(MidiCommand::MidiInputOn));
    EXPECT_TRUE(rig.ui.sawStatus("MIDI Input and Output Devices Opened - Initialisation pending  "));
    EXPECT_EQ(rig.monitorMessages(),
              (std::vector<std::string>{"Toneloft Virtual DX7 opened for input.",
                                        "Toneloft Virtual DX7 opened for output."}));

    rig.midi.CloseMidiDevices();
    EXPECT_FALSE(rig.state.inputOpen);
    EXPECT_FALSE(rig.state.outputOpen);
    EXPECT_EQ(rig.midi.manager(), nullptr);
    EXPECT_FALSE(rig.midi.commandEnabled(MidiCommand::Send));
    EXPECT_FALSE(rig.midi.commandEnabled(MidiCommand::Receive));
    EXPECT_TRUE(rig.ui.sawStatus("MIDI input and output devices closed  "));

    const auto statuses = rig.ui.statuses.size();
    rig.midi.CloseMidiDevices(); // twice is harmless and silent
    EXPECT_EQ(rig.ui.statuses.size(), statuses);
}

TEST(MidiDevices, OnlyOneSideOpenGetsItsOwnText)
{
    MidiTestRig rig;
    rig.midi.OpenMidiDevices(0, -2);
    EXPECT_TRUE(rig.ui.sawStatus("MIDI Output Device Opened  "));
    EXPECT_FALSE(rig.state.inputOpen);
    rig.midi.CloseMidiDevices();
    rig.midi.OpenMidiDevices(-2, 0);
    EXPECT_TRUE(rig.ui.sawStatus("MIDI Input Device Opened  "));
    EXPECT_FALSE(rig.state.outputOpen);
}

TEST(MidiDevices, AFailingInputFallsBackToNone)
{
    MidiTestRig rig;
    rig.fake.inputs = {"Broken"};
    rig.fake.openInputResult = 4;
    rig.state.inputListIndex = 1;
    EXPECT_EQ(rig.midi.OpenMidiDevices(-2, 0), -1);
    EXPECT_FALSE(rig.state.inputOpen);
    EXPECT_EQ(rig.state.inputListIndex, 0);
    EXPECT_EQ(rig.midi.manager(), nullptr);
}

TEST(MidiShortOutput, ClearsTheChannelAndLogsChannelOne)
{
    MidiTestRig rig;
    rig.openSynthOutput();
    ASSERT_EQ(rig.midi.SendShortMessage("\x95", "\x3C", "\x40", ""), 0);
    ASSERT_EQ(rig.fake.sent.size(), 1u);
    EXPECT_EQ(rig.fake.sent[0].word, 4209808u);
    EXPECT_EQ(rig.lastMonitorField("Channel"), "1");
    EXPECT_EQ(rig.lastMonitorField("Message"), "Short Sysex sent:                       Status");
    EXPECT_EQ(rig.lastMonitorField("Data1Title"), " 149");

    ASSERT_EQ(rig.midi.SendShortMessage("4209808", "", "", "again"), 0);
    EXPECT_EQ(rig.fake.sent[1].word, 4209808u);
    EXPECT_EQ(rig.lastMonitorField("Message"), "Short Sysex resent:again");
    EXPECT_EQ(rig.midi.SendShortMessage("not a number", "", "", ""), -1);
}

TEST(MidiShortOutput, AFailedSendIsShownAndNotLogged)
{
    MidiTestRig rig;
    rig.openSynthOutput();
    rig.midi.dispatchInput();
    const long rows = rig.midi.manager()->MidiMessage().recordCount();
    rig.fake.sendResult = 68;
    EXPECT_EQ(rig.midi.SendShortMessage(0x90, 60, 1), -1);
    EXPECT_EQ(rig.ui.lastBox().text, "Port no longer connected");
    EXPECT_TRUE(rig.ui.sawStatus("MultiMedia System Error : Port no longer connected  "));
    EXPECT_EQ(rig.midi.manager()->MidiMessage().recordCount(), rows);
}

TEST(MidiLongOutput, LogTextsShortAndLong)
{
    MidiTestRig rig;
    rig.openSynthOutput();
    ASSERT_EQ(rig.midi.SendLongMessage(DumpRequest(0, 0), 1), 0);
    EXPECT_EQ(rig.lastMonitorField("Message"), "Long Sysex sent: 240 67 32 0 247");
    EXPECT_EQ(rig.lastMonitorField("Type"), "Long");

    ASSERT_EQ(rig.midi.SendLongMessage(AddWrapper(ByteString(4096, '\0'), 3), 7), 0);
    EXPECT_EQ(rig.lastMonitorField("Message"), "Long Sysex sent: length  4104 bytes");
    EXPECT_EQ(rig.lastMonitorField("Channel"), "7");
    EXPECT_EQ(rig.lastMonitorField("RawMessage").size(), 4104u);
}

TEST(MidiLongOutput, RefusesWhenClosedOrEmptyAndReportsFailure)
{
    MidiTestRig rig;
    EXPECT_EQ(rig.midi.SendLongMessage(DumpRequest(0, 9), 1), -1);
    rig.openSynthOutput();
    EXPECT_EQ(rig.midi.SendLongMessage("", 1), -1);
    EXPECT_TRUE(rig.ui.boxes.empty());
    rig.fake.sendResult = 1;
    EXPECT_EQ(rig.midi.SendLongMessage(DumpRequest(0, 9), 1), -1);
    EXPECT_EQ(rig.ui.lastBox().text, "MIDI output failed");
    EXPECT_EQ(rig.ui.lastBox().title, "MIDI output");
    EXPECT_EQ(rig.ui.lastBox().icon, MsgIcon::Critical);
}

TEST(MidiLongOutput, LargeMessagesLeaveOneBlockPerSecond)
{
    MidiTestRig rig;
    rig.openSynthOutput();
    const ByteString bank = AddWrapper(ByteString(4096, '\0'), 3);
    ASSERT_EQ(rig.midi.SendLongMessage(bank, 1), 0);
    ASSERT_EQ(rig.midi.SendLongMessage(ParameterChange(3, 4), 1), 0); // small: at once
    ASSERT_EQ(rig.midi.SendLongMessage(bank, 1), 0);
    const auto sent = rig.fake.longMessages();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_LT(sent[1].at - sent[0].at, 5);
    EXPECT_GE(sent[2].at - sent[0].at, 1002); // 4104 bytes at 4096 per second
}

TEST(MidiErrorTexts, CodesAndTheStatusLine)
{
    MidiTestRig rig;
    EXPECT_EQ(rig.midi.MidiErrorText(0), "No Error");
    EXPECT_TRUE(rig.ui.statuses.empty());
    EXPECT_EQ(rig.midi.MidiErrorText(4), "A MIDI Device you have selected is already allocated ");
    EXPECT_TRUE(rig.ui.sawStatus(
        "MultiMedia System Error : A MIDI Device you have selected is already allocated   "));
    EXPECT_EQ(rig.midi.MidiErrorText(11), "Invalid parameter passed");
    EXPECT_EQ(rig.midi.MidiErrorText(64), "Header Not prepared");
    EXPECT_EQ(rig.midi.MidiErrorText(12), "Error Code Out Of Range");
    EXPECT_EQ(rig.midi.MidiErrorText(69), "Error Code Out Of Range");
}

TEST(MidiClassify, LongMessagesByTheirBytes)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    // Seven bytes are a parameter change, whatever their header.
    const ByteString m("\xF0\x43\x10\x01\x1B\x63\xF7", 7);
    EXPECT_EQ(rig.midi.ClassifyIncomingMessage(m, 0, false), -1);
    EXPECT_EQ(rig.lastMonitorField("Message"), "Parm. Change: 240 67 16 1 27 99 247");
    EXPECT_EQ(rig.lastMonitorField("Channel"), " 1");
    EXPECT_EQ(rig.lastMonitorField("Type"), "Long");

    ByteString voice = AddWrapper(ByteString(155, '\0'), 1);
    voice[2] = toChar(0x03);
    EXPECT_EQ(rig.midi.ClassifyIncomingMessage(voice, 0, false), 0);
    EXPECT_EQ(rig.lastMonitorField("Message"), "Single DX Voice Received");
    EXPECT_EQ(rig.lastMonitorField("Channel"), " 4");
    EXPECT_TRUE(rig.ui.sawStatus("Single DX Voice Received  "));

    EXPECT_EQ(rig.midi.ClassifyIncomingMessage(AddWrapper(ByteString(4096, '\0'), 3), 0, false), 0);
    EXPECT_EQ(rig.lastMonitorField("Message"), "32 Voice Bulk Dump Received");

    ByteString roland = voice;
    roland[1] = toChar(0x41);
    EXPECT_EQ(rig.midi.ClassifyIncomingMessage(roland, 0, false), 0);
    EXPECT_EQ(rig.lastMonitorField("Message"), "Unrecognised Long Sysex Received");
    EXPECT_EQ(rig.midi.ClassifyIncomingMessage("", 0, false), -1);
}

TEST(MidiInput, ShortEventsAreDecodedInArrivalOrder)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    const std::uint8_t events[][3] = {{0x90, 60, 100}, {0xF8, 0, 0}, {0xB0, 7, 90}, {0xFE, 0, 0},
                                      {0x80, 60, 0}};
    for (const auto& e : events)
        rig.midi.inputQueue().pushShort(std::span<const std::uint8_t>(e, static_cast<std::size_t>(shortMessageLength(e[0]))), 5);
    rig.ui.processEvents();
    const auto rows = rig.monitorMessages();
    ASSERT_EQ(rows.size(), 5u); // two opening notices, three events: clock and sensing dropped
    EXPECT_EQ(rows[2], "Note C3 On");
    EXPECT_EQ(rows[3], "Controller Change");
    EXPECT_EQ(rows[4], "Note C3 Off");
    EXPECT_EQ(rig.lastMonitorField("No"), "5");
}

TEST(MidiInput, BrokenSysexIsLoggedAndEndsAWaitWithNoData)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    rig.state.requestedDumpType = 9;
    rig.midi.inputQueue().pushSysex(ByteString(9000, toChar(0x01)), 0);
    rig.ui.processEvents();
    EXPECT_EQ(rig.state.receivedData, "No data");
    EXPECT_EQ(rig.lastMonitorField("Message"),
              "Midi Long Message Error - Invalid Sysex Message ( 9000 bytes) returned.");

    rig.midi.inputQueue().push({MidiEventKind::LongData, 0, {}, 0});
    rig.ui.processEvents();
    EXPECT_EQ(rig.lastMonitorField("Message"),
              "Midi Long Message Error - Invalid, Empty or Unrecognised Buffer returned.");
}

TEST(MidiInput, LargestSysexArrivesWhole)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    rig.state.requestedDumpType = 256;
    ByteString big(8192, toChar(0x10));
    big.front() = toChar(0xF0);
    big.back() = toChar(0xF7);
    rig.midi.inputQueue().pushSysex(big, 0);
    rig.ui.processEvents();
    EXPECT_EQ(rig.state.receivedData, big);
}

TEST(MidiInput, UnsolicitedDumpsGoToTheStoreWithoutFraming)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    rig.dx7.transmitBank();
    rig.ui.processEvents();
    EXPECT_EQ(rig.lastMonitorField("Message"), "32 Voice Bulk Dump Received");
    EXPECT_EQ(rig.state.receivedData, rig.dx7.instrument().bankDump());
    rig.dx7.transmitBank();
    rig.ui.processEvents();
    auto& slots = rig.midi.manager()->MidiSysex();
    EXPECT_EQ(rig.midi.manager()->selectedSlot(), 3); // one slot each
    for (long n : {1, 2}) {
        slots.setAbsolutePosition(n);
        EXPECT_EQ(slots.text("Data"), rig.dx7.instrument().internalVoices());
        EXPECT_EQ(MidiTestRig::trimmed(slots.text("Length")), "4096");
        EXPECT_EQ(MidiTestRig::trimmed(slots.text("FileType")), " 2"); // a bank, framing removed
    }
}

TEST(MidiMonitor, TimeOfAnEvent)
{
    EXPECT_EQ(clsMidiManagerData::monitorTime(83400), "0:1:23.4");
    EXPECT_EQ(clsMidiManagerData::monitorTime(119600), "0:1:59.6");
    EXPECT_EQ(clsMidiManagerData::monitorTime(3723000), "1:2:3.0");
}

TEST(MidiMonitor, EventsWithoutTimeAreStampedSinceInputStarted)
{
    MidiTestRig rig;
    rig.ui.now = 10000;
    rig.openVirtualDx7();
    rig.ui.now = 10000 + 83400;
    MidiMessageRecord r;
    r[Slot::Message] = "x";
    rig.midi.manager()->AddMessage(r, false);
    EXPECT_EQ(rig.lastMonitorField("Timestamp"), "0:1:23.4");
    r[Slot::Timestamp] = " 5000";
    rig.midi.manager()->AddMessage(r, false);
    EXPECT_EQ(rig.lastMonitorField("Timestamp"), "0:0:5.0");
}

TEST(MidiTestSounds, NoteAndArpeggioOnChannelOne)
{
    MidiTestRig rig;
    rig.fake.outputs = {"Synth"};
    rig.midi.PlayTestNote(60); // output closed: nothing
    EXPECT_TRUE(rig.fake.sent.empty());
    rig.midi.OpenMidiDevices(0, -2);
    rig.midi.PlayTestNote(61);
    ASSERT_EQ(rig.fake.sent.size(), 2u);
    EXPECT_EQ(rig.fake.sent[0].word, 0x3C3D90u);
    EXPECT_EQ(rig.fake.sent[1].word, 0x003D90u);
    EXPECT_GE(rig.fake.sent[1].at - rig.fake.sent[0].at, 250);

    rig.fake.sent.clear();
    rig.midi.PlayTestArpeggio(0);
    ASSERT_EQ(rig.fake.sent.size(), 26u);
    EXPECT_EQ((rig.fake.sent[12].word >> 8) & 0x7F, 84u); // the top: 60 + 24
    EXPECT_GE(rig.fake.sent[1].at - rig.fake.sent[0].at, 300);
}

TEST(MidiMenus, EnablingFollowsWhatIsOpen)
{
    MidiTestRig rig;
    rig.midi.SetMidiMenus(true);
    EXPECT_FALSE(rig.midi.commandEnabled(MidiCommand::Send));
    EXPECT_FALSE(rig.midi.commandEnabled(MidiCommand::Receive));
    EXPECT_TRUE(rig.midi.commandEnabled(MidiCommand::Options));
    rig.midi.OpenMidiDevices(0, -2);
    rig.midi.SetMidiMenus(true);
    EXPECT_TRUE(rig.midi.commandEnabled(MidiCommand::Send));
    EXPECT_FALSE(rig.midi.commandEnabled(MidiCommand::Receive));
    rig.midi.SetMidiMenus(false);
    EXPECT_FALSE(rig.midi.commandEnabled(MidiCommand::Send));
}

TEST(MidiMenus, MidiInputOnStopsAndRestartsInput)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    rig.midi.ToggleMidiInput();
    EXPECT_FALSE(rig.midi.commandChecked(MidiCommand::MidiInputOn));
    EXPECT_TRUE(rig.ui.sawStatus("MIDI input stopped  "));
    rig.dx7.transmitBank(); // not delivered while stopped
    EXPECT_EQ(rig.midi.inputQueue().size(), 0u);
    rig.midi.ToggleMidiInput();
    EXPECT_TRUE(rig.midi.commandChecked(MidiCommand::MidiInputOn));
    EXPECT_TRUE(rig.ui.sawStatus("MIDI input started  "));
}

} // namespace
} // namespace toneloft::test
