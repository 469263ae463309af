#include "midi/Dx7Exchange.h"

#include "FakeVoiceLists.h"
#include "MidiTestRig.h"
#include "midi/Dx7Messages.h"
#include "support/TempDir.h"
#include "voice/VoiceFileFormat.h"

#include <gtest/gtest.h>

namespace toneloft::test {
namespace {

ByteString bytes(std::initializer_list<int> list)
{
    ByteString s;
    for (int b : list)
        s += toChar(b);
    return s;
}

TEST(Dx7Messages, DumpRequestsCarryTheChannel)
{
    EXPECT_EQ(DumpRequest(15, 9), bytes({0xF0, 0x43, 0x2F, 0x09, 0xF7}));
    EXPECT_EQ(DumpRequest(0, 0), bytes({0xF0, 0x43, 0x20, 0x00, 0xF7}));
    EXPECT_EQ(DumpRequest(4, 0x7D), bytes({0xF0, 0x43, 0x24, 0x7D, 0xF7}));
    EXPECT_EQ(DumpRequest(0, 3), "");
    EXPECT_EQ(DumpRequest(0, 256), "");
}

struct ParameterRow {
    int row;
    ByteString expected;
};

class SendParameter : public testing::TestWithParam<ParameterRow> {};

TEST_P(SendParameter, RowBecomesGroupAndNumberOnChannelOne)
{
    MidiTestRig rig;
    rig.fake.outputs = {"Synth"};
    rig.midi.OpenMidiDevices(0, -2);
    ASSERT_EQ(rig.midi.manager()->SendParametertoMIDI(GetParam().row, 0x55, false, false), 0);
    ASSERT_EQ(rig.fake.sent.size(), 1u);
    EXPECT_EQ(rig.fake.sent[0].bytes, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, SendParameter,
                         testing::Values(ParameterRow{1, bytes({0xF0, 0x43, 0x10, 0x00, 0x00, 0x55, 0xF7})},
                                         ParameterRow{128, bytes({0xF0, 0x43, 0x10, 0x00, 0x7F, 0x55, 0xF7})},
                                         ParameterRow{129, bytes({0xF0, 0x43, 0x10, 0x01, 0x00, 0x55, 0xF7})},
                                         ParameterRow{156, bytes({0xF0, 0x43, 0x10, 0x01, 0x1B, 0x55, 0xF7})}));

TEST(SendParameterToVirtualDx7, ChangesItsEditBufferAndPlaysTheNote)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    rig.midi.manager()->SendParametertoMIDI(135, 21, true, false); // row 135: algorithm
    const auto& applied = rig.dx7.instrument().applied();
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_EQ(applied[0].parameter, 134);
    EXPECT_EQ(byteAt(rig.dx7.instrument().editBuffer(), 134), 21);
    EXPECT_EQ(applied[1].kind, VirtualDx7::Applied::Kind::Note);
    EXPECT_EQ(applied[1].value, 60);
}

TEST(SendVoice, WrapsTheVoiceAndPlaysTheScale)
{
    MidiTestRig rig;
    rig.fake.outputs = {"Synth"};
    rig.midi.OpenMidiDevices(0, -2);
    FakeVoiceLists lists;
    const ByteString voice = lists.voiceData(7, 1);
    rig.midi.manager()->setRandomSource([] { return 0.5; }); // base note 60
    ASSERT_EQ(rig.midi.manager()->SendVoiceToMidi(voice, true), 0);
    ASSERT_FALSE(rig.fake.sent.empty());
    EXPECT_EQ(rig.fake.sent[0].bytes, AddWrapper(voice, 1));
    ASSERT_EQ(rig.fake.sent.size(), 1u + 14u);
    const int expectedNotes[] = {60, 64, 67, 72, 67, 64, 60};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(rig.fake.sent[1 + 2 * i].word, 0x320090u | (static_cast<unsigned>(expectedNotes[i]) << 8));
        EXPECT_EQ(rig.fake.sent[2 + 2 * i].word, 0x000090u | (static_cast<unsigned>(expectedNotes[i]) << 8));
    }
    EXPECT_GE(rig.fake.sent[14].at - rig.fake.sent[13].at, 2000); // the last note is held
}

TEST(ReceiveDump, TimesOutWithItsTexts)
{
    MidiTestRig rig;
    rig.fake.outputs = {"Synth"};
    rig.fake.inputs = {"Keys"};
    rig.midi.OpenMidiDevices(0, 0);
    rig.ui.tickMs = 50;
    std::string data;
    const auto start = rig.ui.now;
    EXPECT_EQ(rig.exchange.ReceiveDump(kDumpBank, 2000, data, false), -1);
    EXPECT_EQ(data, "Timeout");
    EXPECT_EQ(rig.state.requestedDumpType, -1);
    EXPECT_TRUE(rig.fake.sent.empty()); // no request
    EXPECT_GE(rig.ui.now - start, 2000);
    EXPECT_TRUE(rig.ui.sawStatus("PLEASE SEND DATA NOW -   2.0 secs. left to timeout  "));
    EXPECT_TRUE(rig.ui.sawStatus("Timeout - no data received  "));
    EXPECT_EQ(rig.lastMonitorField("Message"), "Timeout - no data received");
    EXPECT_EQ(rig.ui.statuses.back().text, "");
    EXPECT_EQ(rig.ui.maxBusyDepth, 1);
    EXPECT_EQ(rig.ui.busyDepth, 0);
}

TEST(ReceiveDump, DetectionModeShowsTheChannelAndMilliseconds)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    rig.dx7.instrument().setChannel(9);
    rig.state.detectionMode = 1;
    rig.state.currentChannel = 2;
    rig.ui.tickMs = 50;
    std::string data;
    EXPECT_EQ(rig.exchange.ReceiveDump(kDumpBank, 2000, data, true), -1);
    EXPECT_EQ(rig.fake.sent.size(), 0u);
    EXPECT_TRUE(rig.ui.sawStatus("Detecting on Channel  3 -   2.000 secs. left to timeout  "));
}

TEST(ReceiveDump, RequestedBankArrivesOnTheChannel)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    std::string data;
    ASSERT_EQ(rig.exchange.ReceiveDump(kDumpBank, 2000, data, true), 0);
    EXPECT_EQ(data, rig.dx7.instrument().bankDump());
    EXPECT_EQ(rig.state.receivedData, "No Data");
    EXPECT_EQ(rig.state.requestedDumpType, -1);
    EXPECT_TRUE(rig.ui.sawStatus("Sysex received on Channel  1  "));
}

TEST(ReceiveDump, UnknownTypeCannotBeRequested)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    std::string data;
    EXPECT_EQ(rig.exchange.ReceiveDump(kDumpAnyMessage, 2000, data, true), -1);
    EXPECT_EQ(rig.ui.lastBox().text, "Unknown dump type requested");
    EXPECT_EQ(rig.state.requestedDumpType, -1);
}

TEST(ReceiveDump, AfterATimeOutLaterDumpsAreClassified)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    rig.dx7.instrument().setChannel(1);
    std::string data;
    ASSERT_EQ(rig.exchange.ReceiveDump(kDumpBank, 500, data, true), -1);
    rig.dx7.transmitBank();
    rig.ui.processEvents();
    auto& slots = rig.midi.manager()->MidiSysex();
    slots.setAbsolutePosition(1);
    EXPECT_EQ(slots.text("Data"), rig.dx7.instrument().internalVoices()); // stored
    slots.setAbsolutePosition(2);
    EXPECT_EQ(MidiTestRig::trimmed(slots.text("Used")), "No");
    EXPECT_EQ(rig.lastMonitorField("Message"), "32 Voice Bulk Dump Received");
}

// A synthesiser that answers requests is asked for the bank, on its channel.
TEST(ReceiveCommand, BankInDetectionModeOneRequestsAndWaitsTwoSeconds)
{
    MidiTestRig rig;
    FakeVoiceLists lists;
    rig.exchange.setVoiceLists(&lists);
    rig.fake.outputs = {"Synth"};
    rig.fake.inputs = {"Keys"};
    rig.midi.OpenMidiDevices(0, 0);
    rig.state.detectionMode = 1;
    rig.state.currentChannel = 15;
    rig.ui.answers = {MsgResult::No};
    const auto start = rig.ui.now;
    rig.exchange.ReceiveCommand(1);
    const auto sent = rig.fake.longMessages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes, bytes({0xF0, 0x43, 0x2F, 0x09, 0xF7}));
    EXPECT_EQ(rig.state.receiveTimeLimitMs, 2000);
    EXPECT_LT(rig.ui.now - start, 2000 + 1500);
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].text, "Would you like to try again ?");
    EXPECT_EQ(rig.ui.boxes[0].title, "No data received");
}

TEST(ReceiveCommand, ManualDumpBecomesANumberedBankFile)
{
    MidiTestRig rig;
    FakeVoiceLists lists;
    rig.exchange.setVoiceLists(&lists);
    rig.openVirtualDx7();
    rig.state.detectionMode = 2;
    rig.state.receiveCounter = 5;
    rig.ui.onEvents = [&rig](ScriptedUi& ui) {
        if (ui.now == 3000)
            rig.dx7.transmitBank();
        rig.midi.dispatchInput();
    };
    rig.exchange.ReceiveCommand(1);
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].title, "Ready to receive");
    EXPECT_EQ(rig.ui.boxes[0].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(rig.state.receiveTimeLimitMs, 15000);
    ASSERT_EQ(lists.saved.size(), 1u);
    EXPECT_EQ(lists.saved[0].path, "/data/ DX Bank  6.dat");
    EXPECT_EQ(lists.saved[0].fileType, 3);
    EXPECT_EQ(toByteString(lists.saved[0].bytes), rig.dx7.instrument().bankDump());
}

TEST(SendCommand, VoiceAndBankFromTheActiveList)
{
    MidiTestRig rig;
    FakeVoiceLists lists;
    rig.exchange.setVoiceLists(&lists);
    rig.openVirtualDx7();
    lists.count = 40;

    rig.exchange.SendCommand(0);
    EXPECT_EQ(rig.ui.lastBox().text, "Please select a voice to send to MIDI");
    EXPECT_EQ(rig.ui.lastBox().title, "No Voice To Send");

    lists.selected = 3;
    rig.exchange.SendCommand(0);
    EXPECT_EQ(rig.dx7.instrument().editBuffer(), lists.voiceData(3, 1));
    EXPECT_TRUE(rig.ui.sawStatus("VOICE 3   sent to MIDI  "));

    lists.bank = 2; // voices 33..40
    rig.exchange.SendCommand(1);
    EXPECT_TRUE(rig.ui.sawStatus("Adding Voice  40 now string length is  1024  "));
    EXPECT_TRUE(rig.ui.sawStatus("Please wait - sending Bank 2 to MIDI  "));
    EXPECT_TRUE(rig.ui.sawStatus("Bank 2 sent to MIDI  "));
}

// A file of two banks and a voice behind a librarian's header: each message
// leaves whole and alone, the next when the one before has had its time at
// 4,096 bytes a second (4,104 bytes: 1,002 ms).
struct SendFileRig : MidiTestRig {
    TempDir dir;
    FakeVoiceLists lists;
    ByteString bank1 = AddWrapper(ByteString(4096, toChar(1)), 3);
    ByteString bank2 = AddWrapper(ByteString(4096, toChar(2)), 3);
    ByteString voice = AddWrapper(ByteString(155, toChar(3)), 1);
    ByteString file = ByteString(16, toChar(0x55)) + bank1 + bank2 + voice;
    SendFileRig()
    {
        lists.fileAnswer = MidiVoiceListLink::ChosenFile{dir.write("two.syx", file), "two.syx"};
        exchange.setVoiceLists(&lists);
        fake.outputs = {"Synth"};
        midi.OpenMidiDevices(0, -2);
    }
};

TEST(SendFile, WholeMessagesPacedAtTheByteRate)
{
    SendFileRig rig;
    rig.exchange.SendCommand(2);
    EXPECT_EQ(rig.lists.dialogTitles, (std::vector<std::string>{"Choose a file to send to MIDI"}));
    const auto sent = rig.fake.longMessages();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].bytes, rig.bank1);
    EXPECT_EQ(sent[1].bytes, rig.bank2);
    EXPECT_EQ(sent[2].bytes, rig.voice);
    EXPECT_GE(sent[1].at - sent[0].at, 1002);
    EXPECT_LT(sent[1].at - sent[0].at, 1100);
    EXPECT_GE(sent[2].at - sent[1].at, 1002);
    EXPECT_TRUE(rig.ui.sawStatus("Please wait - sending two.syx to Midi 4 kb sent out of 8 kb  "));
    EXPECT_TRUE(rig.ui.sawStatus("two.syx sent to Midi ( 8387) bytes  "));
    EXPECT_FALSE(rig.ui.cancellable); // Cancel is offered only while sending
}

TEST(SendFile, CancelStopsBetweenMessages)
{
    SendFileRig rig;
    rig.ui.onEvents = [&rig](ScriptedUi& ui) {
        if (ui.now >= 500 && ui.cancellable)
            ui.cancelPressed = true;
        rig.midi.dispatchInput();
    };
    rig.exchange.SendCommand(2);
    const auto sent = rig.fake.longMessages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes, rig.bank1);
    EXPECT_TRUE(rig.ui.sawStatus("Sending two.syx stopped after 4104 of 8387 bytes  "));
    EXPECT_FALSE(rig.ui.sawStatus("two.syx sent to Midi ( 8387) bytes  "));
}

TEST(SendFile, AFileWithoutMessagesSendsNothing)
{
    TempDir dir;
    const std::string path = dir.write("packed.dat", ByteString(4096, toChar(2)));
    MidiTestRig rig;
    rig.fake.outputs = {"Synth"};
    rig.midi.OpenMidiDevices(0, -2);
    rig.exchange.SendFile(path, "packed.dat");
    EXPECT_TRUE(rig.fake.longMessages().empty());
    EXPECT_EQ(rig.ui.lastBox().title, "Nothing to send");
}

} // namespace
} // namespace toneloft::test
