// The MIDI manager's store of 100 messages and its monitor, headless.
#include "MidiTestRig.h"
#include "FakeVoiceLists.h"

#include "common/NumberText.h"
#include "midi/Dx7Messages.h"
#include "voice/VoicePacking.h"

#include <gtest/gtest.h>

#include <array>

namespace toneloft::test {
namespace {

// Voice lists that also answer the store's save dialogue and record its files.
class StoreLists : public FakeVoiceLists {
public:
    std::deque<std::optional<ChosenFile>> saveAnswers;
    std::vector<std::string> saveSuggestions;
    std::vector<Saved> written;
    std::vector<bool> framed;
    std::vector<std::string> opened;

    std::optional<ChosenFile> chooseSaveFile(const std::string& title, const std::string& start) override
    {
        dialogTitles.push_back(title);
        saveSuggestions.push_back(start);
        if (saveAnswers.empty())
            return std::nullopt;
        auto a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }
    bool saveVoiceFile(const std::string& path, const ByteArray& bytes, int type, bool framing) override
    {
        written.push_back({path, bytes, type});
        framed.push_back(framing);
        return true;
    }
    bool openVoiceFile(const std::string& path) override
    {
        opened.push_back(path);
        return true;
    }
};

std::string trimmedText(Recordset& t, const char* field)
{
    return MidiTestRig::trimmed(t.text(field));
}

// The rig with a fake synthesiser and keyboard open, the store wired to the lists.
struct StoreRig : MidiTestRig {
    StoreLists lists;
    clsMidiManagerData* store = nullptr;
    StoreRig()
    {
        fake.outputs = {"Synth"};
        fake.inputs = {"Keys"};
        midi.setVoiceLists(&lists);
        midi.OpenMidiDevices(0, 0);
        store = midi.manager();
    }
    Recordset& slots() { return store->MidiSysex(); }
    void slot(long n) { store->selectSlot(n); }
    // Fills slot n without questions (it must be empty).
    void fill(long n, const ByteString& bytes, int type, const std::string& name = "")
    {
        slot(n);
        ASSERT_EQ(store->AddSysex(bytes, static_cast<long>(bytes.size()), type, name), 0);
        slot(n);
    }
};

ByteString pattern(std::size_t n, int seed = 1)
{
    ByteString s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = toChar(static_cast<int>((i * 7 + static_cast<std::size_t>(seed)) & 0x7F));
    return s;
}

// A DX7 dump frame computed here: F0 43 00 format, the byte count in two
// 7-bit halves, the data, its checksum, F7 (format 9: a bank, 0: one voice).
ByteString dumpFrame(int format, const ByteString& data)
{
    ByteString out = {toChar(0xF0), toChar(0x43), toChar(0x00), toChar(format),
                      toChar(static_cast<int>(data.size() >> 7)), toChar(static_cast<int>(data.size() & 0x7F))};
    out += data;
    int sum = 0;
    for (std::size_t i = 0; i < data.size(); ++i)
        sum += byteAt(data, i);
    out += toChar((128 - (sum & 0x7F)) & 0x7F);
    out += toChar(0xF7);
    return out;
}

ByteString bankFrame(const ByteString& packed)
{
    return dumpFrame(9, packed);
}

TEST(MidiStore, OpensWithOneHundredEmptySlots)
{
    StoreRig rig;
    Recordset& t = rig.slots();
    ASSERT_EQ(t.recordCount(), 100);
    EXPECT_EQ(rig.store->selectedSlot(), 1);
    auto rows = t.clone();
    long n = 0;
    for (rows->moveFirst(); !rows->eof(); rows->moveNext()) {
        ++n;
        ASSERT_EQ(rows->text("No"), Str(n) + std::string(4 - Str(n).size(), ' '));
        EXPECT_EQ(trimmedText(*rows, "Name"), "-----------");
        EXPECT_EQ(trimmedText(*rows, "Length"), "0");
        EXPECT_EQ(trimmedText(*rows, "Used"), "No");
        EXPECT_EQ(trimmedText(*rows, "FileType"), "NA");
    }
    for (auto b : {ManagerButton::Send, ManagerButton::Save, ManagerButton::Delete, ManagerButton::SaveAndLoad})
        EXPECT_FALSE(rig.store->buttonEnabled(b));
    EXPECT_TRUE(rig.store->buttonEnabled(ManagerButton::Load));
    EXPECT_EQ(rig.store->table("MidiSysex"), &t);
    EXPECT_EQ(rig.store->table("MidiMessage"), &rig.store->MidiMessage());
    EXPECT_EQ(rig.store->table("Other"), nullptr);
}

TEST(MidiStore, AddingFillsTheSlotAndStepsToTheNext)
{
    StoreRig rig;
    rig.slot(100);
    const ByteString bank = pattern(4096);
    ASSERT_EQ(rig.store->AddSysex(bank, 4096, 3, ""), 0);
    EXPECT_TRUE(rig.ui.boxes.empty());
    EXPECT_EQ(rig.store->selectedSlot(), 100); // the last keeps the selection
    Recordset& t = rig.slots();
    EXPECT_EQ(trimmedText(t, "Name"), "New Data");
    EXPECT_EQ(trimmedText(t, "Length"), "4096");
    EXPECT_EQ(t.text("Data"), bank);
    EXPECT_EQ(trimmedText(t, "Used"), "Yes");
    EXPECT_EQ(trimmedText(t, "FileType"), " 2"); // framing gone: 3 -> 2
    EXPECT_EQ(rig.store->usedSlotCounter(), 1);
    EXPECT_TRUE(rig.store->buttonEnabled(ManagerButton::Send));
    EXPECT_TRUE(rig.store->buttonEnabled(ManagerButton::Delete));

    rig.fill(4, pattern(155), 1, "Brass");
    EXPECT_EQ(trimmedText(t, "Name"), "Brass");
    EXPECT_EQ(trimmedText(t, "FileType"), " 0");
    rig.store->selectSlot(4);
    rig.store->AddSysex(pattern(155), 155, 0, "");
    EXPECT_EQ(rig.store->selectedSlot(), 5); // asked, appended (default Yes), stepped on
}

TEST(MidiStore, AppendOfTheSameTypeJoinsTheData)
{
    StoreRig rig;
    const ByteString a = pattern(155, 1), b = pattern(155, 2);
    rig.fill(1, a, 0, "One");
    rig.ui.answers = {MsgResult::Yes};
    ASSERT_EQ(rig.store->AddSysex(b, 155, 1, "Two"), 0);
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].text, "Do you want to append the new data to Bank  1");
    EXPECT_EQ(rig.ui.boxes[0].title, "Incoming Sysex Received");
    rig.slot(1);
    EXPECT_EQ(rig.slots().text("Data"), a + b);
    EXPECT_EQ(trimmedText(rig.slots(), "Length"), "310");
    EXPECT_EQ(trimmedText(rig.slots(), "Name"), "One");
    EXPECT_EQ(rig.store->usedSlotCounter(), 1); // only overwrites count
}

TEST(MidiStore, AppendOfAnotherTypeAsksForTheFormatChangeFirst)
{
    StoreRig rig;
    const ByteString unpacked = Unpack(std::string_view(pattern(128)));
    ASSERT_EQ(unpacked.size(), 155u);
    rig.fill(7, unpacked, 0);
    const ByteString packedBank = pattern(4096);

    rig.ui.answers = {MsgResult::Yes, MsgResult::No};
    EXPECT_EQ(rig.store->AddSysex(packedBank, 4096, 2, ""), -1);
    ASSERT_EQ(rig.ui.boxes.size(), 2u);
    EXPECT_EQ(rig.ui.boxes[1].title, "Incompatible Data Format");
    EXPECT_EQ(rig.ui.boxes[1].text,
              "The new data does not have the same format as that in Bank  7.\r\n\r\n"
              "Would you like to change the format of the new data to match Bank  7?");
    EXPECT_EQ(rig.ui.boxes[1].icon, MsgIcon::Exclamation);
    rig.slot(7);
    EXPECT_EQ(rig.slots().text("Data"), unpacked); // nothing changed before a Yes

    rig.ui.answers = {MsgResult::Yes, MsgResult::Yes};
    ASSERT_EQ(rig.store->AddSysex(packedBank, 4096, 2, ""), 0);
    rig.slot(7);
    const ByteString data = rig.slots().text("Data");
    ASSERT_EQ(data.size(), 155u * 33);
    // Each appended voice is the unpacked form of its packed original.
    EXPECT_EQ(data.substr(155 * 5, 155), Unpack(std::string_view(packedBank).substr(128 * 4, 128)));
}

TEST(MidiStore, NoToAppendLeadsToTheOverwriteQuestion)
{
    StoreRig rig;
    rig.fill(2, pattern(155, 1), 0, "Old");
    rig.ui.answers = {MsgResult::No, MsgResult::No};
    EXPECT_EQ(rig.store->AddSysex(pattern(155, 9), 155, 0, "New"), -1);
    ASSERT_EQ(rig.ui.boxes.size(), 2u);
    EXPECT_EQ(rig.ui.boxes[1].text, "Do you want to overwrite data in Bank  2");
    rig.slot(2);
    EXPECT_EQ(trimmedText(rig.slots(), "Name"), "Old");

    rig.ui.answers = {MsgResult::No, MsgResult::Yes};
    EXPECT_EQ(rig.store->AddSysex(pattern(155, 9), 155, 0, "New"), 0);
    rig.slot(2);
    EXPECT_EQ(trimmedText(rig.slots(), "Name"), "New");
    EXPECT_EQ(rig.slots().text("Data"), pattern(155, 9));
    EXPECT_EQ(rig.store->usedSlotCounter(), 2);

    rig.ui.answers = {MsgResult::Cancel};
    EXPECT_EQ(rig.store->AddSysex(pattern(10), 10, -1, "X"), -1);
    rig.slot(2);
    EXPECT_EQ(trimmedText(rig.slots(), "Name"), "New");
}

struct SendCase {
    const char* label;
    ByteString data;
    int type;
    ByteString sent;
};

class SendSlot : public ::testing::TestWithParam<SendCase> {};

// Whole messages go out as they are; packed or unpacked data in its frame.
TEST_P(SendSlot, GoesOutAsOneMessageWithoutAQuestion)
{
    StoreRig rig;
    rig.fill(1, GetParam().data, GetParam().type);
    ASSERT_EQ(rig.store->SendSysex(), 0);
    EXPECT_TRUE(rig.ui.boxes.empty());
    ASSERT_EQ(rig.fake.longMessages().size(), 1u);
    EXPECT_EQ(rig.fake.longMessages()[0].bytes, GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(MidiStore, SendSlot,
                         ::testing::Values(SendCase{"Bank", pattern(4104), -1, pattern(4104)},
                                           SendCase{"Voice", pattern(163), -1, pattern(163)},
                                           SendCase{"TwoVoices", pattern(326), -1, pattern(326)},
                                           SendCase{"PackedBank", pattern(4096), 2, bankFrame(pattern(4096))},
                                           SendCase{"UnpackedVoice", pattern(155), 0, dumpFrame(0, pattern(155))}),
                         [](const auto& p) { return std::string(p.param.label); });

TEST(MidiStore, ThirtyTwoUnpackedVoicesArePackedVoiceByVoiceAndWrapped)
{
    StoreRig rig;
    const ByteString packed = rig.dx7.instrument().internalVoices();
    ByteString unpacked;
    for (std::size_t v = 0; v < 32; ++v)
        unpacked += Unpack(std::string_view(packed).substr(v * 128, 128));
    ASSERT_EQ(unpacked.size(), 4960u);
    rig.fill(1, unpacked, 0);
    ASSERT_EQ(rig.store->SendSysex(), 0);
    ASSERT_EQ(rig.fake.longMessages().size(), 1u);
    EXPECT_EQ(rig.fake.longMessages()[0].bytes, bankFrame(packed));
    EXPECT_TRUE(rig.ui.sawStatus("Adding voice  1 to sysex - length is now  128 bytes  "));
    EXPECT_TRUE(rig.ui.sawStatus("Adding voice  32 to sysex - length is now  4096 bytes  "));
    EXPECT_TRUE(rig.ui.sawStatus("Added wrapper - final sysex length is   4104 bytes  "));
    EXPECT_EQ(rig.ui.statuses.back().text, "");
}

TEST(MidiStore, OddLengthsAsk)
{
    StoreRig rig;
    rig.fill(1, pattern(200), -1);
    rig.ui.answers = {MsgResult::Cancel};
    EXPECT_EQ(rig.store->SendSysex(), -1);
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].title, "Unknown Dump Size");
    EXPECT_EQ(rig.ui.boxes[0].text, "Your sysex may not be recognised by your synth. Proceed anyway ?");
    EXPECT_EQ(rig.ui.boxes[0].buttons, MsgButtons::OKCancel);
    EXPECT_TRUE(rig.fake.longMessages().empty());
    rig.ui.answers = {MsgResult::OK};
    EXPECT_EQ(rig.store->SendSysex(), 0);
    ASSERT_EQ(rig.fake.longMessages().size(), 1u);
    EXPECT_EQ(rig.fake.longMessages()[0].bytes, pattern(200));

    rig.slot(2);
    EXPECT_EQ(rig.store->SendSysex(), -1);
    EXPECT_EQ(rig.ui.lastBox().title, "No Data in Bank");
    EXPECT_EQ(rig.ui.lastBox().text, "No data to send - select or load a bank with data");
}

TEST(MidiStore, TooLargeOffersToSaveAndLoad)
{
    StoreRig rig;
    rig.fill(1, pattern(5000), -1, "Big");
    rig.lists.saveAnswers = {MidiVoiceListLink::ChosenFile{"/data/Big.dat", "Big.dat"}};
    rig.ui.answers = {MsgResult::Yes};
    EXPECT_EQ(rig.store->SendSysex(), -1);
    EXPECT_EQ(rig.ui.boxes[0].title, "Buffer too Large");
    EXPECT_TRUE(rig.fake.longMessages().empty());
    ASSERT_EQ(rig.lists.opened.size(), 1u);
    EXPECT_EQ(rig.lists.opened[0], "/data/Big.dat");
}

TEST(MidiStore, BanksBeyondOneSendGoOutAsWholeMessagesPaced)
{
    StoreRig rig;
    rig.fake.maxLong = 5000;
    const ByteString one = bankFrame(pattern(4096, 1));
    const ByteString two = bankFrame(pattern(4096, 2));
    rig.fill(1, one + two, -1);
    ASSERT_EQ(rig.store->SendSysex(), 0);
    const auto sent = rig.fake.longMessages();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].bytes, one);
    EXPECT_EQ(sent[1].bytes, two);
    EXPECT_GE(sent[1].at - sent[0].at, 1000); // a bank takes about a second on the wire

    // A single message longer than a send allows is refused, never cut.
    rig.fake.maxLong = 4000;
    rig.slot(1);
    EXPECT_EQ(rig.store->SendSysex(), -1);
    EXPECT_EQ(rig.fake.longMessages().size(), 2u);
    EXPECT_EQ(rig.ui.lastBox().text, "MIDI output failed");
}

TEST(MidiStore, SavingRefusesNewDataAsAFileName)
{
    StoreRig rig;
    std::string path;
    EXPECT_EQ(rig.store->SaveSysex(path), -1);
    EXPECT_EQ(rig.ui.lastBox().title, "No data");

    rig.fill(3, pattern(4096), 2);
    rig.lists.saveAnswers = {MidiVoiceListLink::ChosenFile{"/data/New Data.dat", "New Data.dat"},
                             MidiVoiceListLink::ChosenFile{"/data/Mine.dat", "Mine.dat"}};
    ASSERT_EQ(rig.store->SaveSysex(path), 0);
    EXPECT_EQ(path, "/data/Mine.dat");
    ASSERT_EQ(rig.lists.saveSuggestions.size(), 2u);
    EXPECT_EQ(rig.lists.saveSuggestions[0], ""); // a slot named New Data offers no name
    EXPECT_EQ(rig.lists.dialogTitles[0], "Save Sysex Bank");
    EXPECT_EQ(rig.ui.lastBox().title, "Invalid File Name");
    EXPECT_EQ(rig.ui.lastBox().text, "Please choose a different name - New Data cannot be used");
    ASSERT_EQ(rig.lists.written.size(), 1u);
    EXPECT_EQ(rig.lists.written[0].fileType, 3); // framed as a bank file
    EXPECT_TRUE(rig.lists.framed[0]);
    EXPECT_EQ(toByteString(rig.lists.written[0].bytes), pattern(4096));

    rig.fill(4, pattern(155), 0, "Piano");
    rig.lists.saveAnswers = {std::nullopt};
    EXPECT_EQ(rig.store->SaveSysex(path), -1);
    EXPECT_EQ(rig.lists.saveSuggestions.back(), "/data/Piano.dat");
    EXPECT_EQ(rig.lists.written.size(), 1u);
}

TEST(MidiStore, DeleteEmptiesTheSlotAndTheToolbarFollows)
{
    StoreRig rig;
    rig.fill(5, pattern(155), 0, "Gone");
    ASSERT_EQ(rig.store->DeleteSysex(), 0);
    EXPECT_EQ(rig.slots().recordCount(), 100);
    EXPECT_EQ(trimmedText(rig.slots(), "Name"), "-----------");
    EXPECT_EQ(trimmedText(rig.slots(), "Used"), "No");
    EXPECT_EQ(trimmedText(rig.slots(), "Length"), "0");
    EXPECT_EQ(rig.slots().text("Data"), "");
    EXPECT_FALSE(rig.store->buttonEnabled(ManagerButton::Send));
    EXPECT_FALSE(rig.store->buttonEnabled(ManagerButton::Save));
}

TEST(MidiStore, ReceiveStoresAnyMessageAndOffersToTryAgain)
{
    MidiTestRig rig;
    StoreLists lists;
    rig.midi.setVoiceLists(&lists);
    rig.openVirtualDx7();
    auto* store = rig.midi.manager();
    rig.ui.answers = {MsgResult::Yes};
    bool sent = false;
    rig.ui.onEvents = [&](ScriptedUi& ui) {
        if (ui.now > 16000 && !sent) {
            sent = true;
            rig.dx7.transmitBank();
        }
        rig.midi.dispatchInput();
    };
    ASSERT_EQ(store->ReceiveSysex(), 0);
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].title, "No data received");
    store->selectSlot(1);
    EXPECT_EQ(store->MidiSysex().text("Data"), rig.dx7.instrument().internalVoices());
    EXPECT_EQ(MidiTestRig::trimmed(store->MidiSysex().text("FileType")), " 2");

    rig.ui.answers = {MsgResult::No};
    EXPECT_EQ(store->ReceiveSysex(), -1);
}

TEST(MidiMonitor, NoColumnIsTheRowCount)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    for (int i = 0; i < 12; ++i)
    {
        const std::array<std::uint8_t, 3> note = {0x90, static_cast<std::uint8_t>(60 + i), 64};
        rig.midi.inputQueue().pushShort(note, i + 1);
    }
    rig.ui.processEvents();
    auto& t = rig.midi.manager()->MidiMessage();
    const long rows = t.recordCount();
    ASSERT_GE(rows, 12);
    EXPECT_EQ(rig.lastMonitorField("No"), std::to_string(rows));
    for (long n = 1; n <= rows; ++n) {
        t.setAbsolutePosition(n);
        EXPECT_EQ(MidiTestRig::trimmed(t.text("No")), std::to_string(n));
    }
}

TEST(MidiMonitor, EditingAShortRowReplacesItAndKeepsItsNumber)
{
    StoreRig rig;
    int calls = 0;
    rig.store->setSysexEditor([&](const ByteString& in) {
        ++calls;
        EXPECT_EQ(in, ByteString({toChar(0x90), toChar(0x20), toChar(0x40)})); // a blank data byte kept
        return ByteString({toChar(0x80), toChar(0x20), toChar(0x40)});
    });
    rig.midi.SendShortMessage(0x90, 0x20, 0x40);
    rig.midi.SendShortMessage(0x90, 0x21, 0x40);
    auto& t = rig.store->MidiMessage();
    const long rows = t.recordCount();
    t.setAbsolutePosition(rows - 1);
    ASSERT_EQ(rig.store->EditSysex(2), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(t.recordCount(), rows);
    EXPECT_EQ(t.absolutePosition(), rows - 1);
    EXPECT_EQ(MidiTestRig::trimmed(t.text("No")), std::to_string(rows - 1));
    EXPECT_EQ(MidiTestRig::trimmed(t.text("Message")), "Edited Message: 128 32 64");

    // A resend of the row sends its three bytes and comes back to it.
    int result = 1;
    t.setAbsolutePosition(rows);
    rig.fake.sent.clear();
    rig.store->SendMIDIMessage(2, result);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(rig.fake.sent.size(), 1u);
    EXPECT_EQ(rig.fake.sent[0].word, 0x90u | (0x21u << 8) | (0x40u << 16));
    EXPECT_EQ(t.absolutePosition(), rows);
}

TEST(MidiMonitor, EditingAStoredSlotKeepsOnlyAChange)
{
    StoreRig rig;
    rig.fill(1, pattern(155), 0);
    rig.store->setSysexEditor([](const ByteString& in) { return in; });
    EXPECT_EQ(rig.store->EditSysex(1), 0);
    EXPECT_EQ(rig.slots().text("Data"), pattern(155));
    rig.store->setSysexEditor([](const ByteString& in) { return in.substr(0, 100); });
    EXPECT_EQ(rig.store->EditSysex(1), 0);
    EXPECT_EQ(trimmedText(rig.slots(), "Length"), "100");
    rig.slot(2);
    EXPECT_EQ(rig.store->EditSysex(1), -1); // nothing to edit
}

} // namespace
} // namespace toneloft::test
