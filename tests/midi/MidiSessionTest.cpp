#include "midi/MidiSession.h"

#include "ScriptedDialogs.h"
#include "library/VoiceAudition.h"
#include "midi/VirtualDx7Backend.h"
#include "support/SessionFixture.h"
#include "voice/VoiceEditor.h"
#include "voice/VoicePacking.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace toneloft::test {
namespace {

// The program's MIDI over one session, with the virtual DX7 as its only device.
class MidiSessionTest : public SessionFixture {
protected:
    MidiSessionTest()
    {
        ui.onEvents = [this](ScriptedUi&) { midi.devices().dispatchInput(); };
    }

    // Opens the virtual DX7 without the start-up test.
    void openDx7()
    {
        ASSERT_EQ(midi.devices().OpenMidiDevices(0, 0), 0);
        midi.devices().dispatchInput();
    }

    int notesPlayed() const
    {
        int notes = 0;
        for (const auto& a : dx7.instrument().applied())
            notes += a.kind == VirtualDx7::Applied::Kind::Note ? 1 : 0;
        return notes;
    }

    std::shared_ptr<VoiceList> openActive(int fileType, int voices)
    {
        auto list = openNew("Lists.dat", fileType, voices);
        session.setActive(list.get(), nullptr);
        return list;
    }

    VirtualDx7Backend dx7{[this] { return ui.now; }};
    ScriptedDialogs dialogs;
    MidiSession midi{session, dx7, dialogs};
};

TEST_F(MidiSessionTest, StartUpDetectsTheVirtualDx7AndShowsItsBankAsATemporaryList)
{
    dialogs.testAnswers = {1}; // TX7: request dumps
    ASSERT_EQ(midi.InitialiseMidi(), 0);
    EXPECT_TRUE(midi.state().inputOpen);
    EXPECT_TRUE(midi.state().outputOpen);
    EXPECT_TRUE(ui.sawStatus(" Ready - Initialised OK   "));

    auto lists = session.colVoiceLists().NewEnum();
    ASSERT_EQ(lists.size(), 1u);
    VoiceList& list = *lists.front();
    EXPECT_EQ(list.FileTitle, "DX Setup  1.dat");
    EXPECT_EQ(list.voiceCount(), 32);
    EXPECT_TRUE(list.needsNewName());
    const ByteString& bank = dx7.instrument().internalVoices();
    EXPECT_EQ(nameAt(list, 1), bank.substr(118, 10));
    EXPECT_EQ(nameAt(list, 32), bank.substr(31 * 128 + 118, 10));
    EXPECT_EQ(session.synth(), &midi);
}

TEST_F(MidiSessionTest, AClickSendsTheVoiceAndARightClickPlaysTheScaleToo)
{
    auto list = openActive(3, 40);
    openDx7();

    dx7.instrument().clearApplied();
    ASSERT_TRUE(VoiceAudition::auditionVoice(session, *list, 35, false));
    EXPECT_EQ(dx7.instrument().editBuffer(), makeVoice("VOICE35", 35));
    EXPECT_EQ(notesPlayed(), 0);

    ASSERT_TRUE(VoiceAudition::auditionVoice(session, *list, 2, true));
    EXPECT_EQ(dx7.instrument().editBuffer(), makeVoice("VOICE2", 2));
    EXPECT_EQ(notesPlayed(), 7);

    // No voice under the pointer, or a position past the end: nothing goes out.
    EXPECT_FALSE(VoiceAudition::auditionVoice(session, *list, 0, false));
    EXPECT_FALSE(VoiceAudition::auditionVoice(session, *list, 41, false));
    EXPECT_EQ(dx7.instrument().editBuffer(), makeVoice("VOICE2", 2));
}

TEST_F(MidiSessionTest, NothingIsSentOffLineOrAfterTheDevicesClose)
{
    auto list = openActive(1, 2);
    const ByteString before = dx7.instrument().editBuffer();
    EXPECT_FALSE(VoiceAudition::auditionVoice(session, *list, 1, true));
    EXPECT_FALSE(VoiceAudition::sendVoiceName(session, "NEW NAME"));

    openDx7();
    midi.CloseMidiDevices();
    EXPECT_FALSE(VoiceAudition::auditionVoice(session, *list, 1, false));
    EXPECT_EQ(dx7.instrument().editBuffer(), before);
    EXPECT_EQ(notesPlayed(), 0);
}

TEST_F(MidiSessionTest, ARenameSendsTheTenNameCharactersAsParameters146To155)
{
    openDx7();
    dx7.instrument().clearApplied();
    ASSERT_TRUE(VoiceAudition::sendVoiceName(session, "BRASS  1  "));
    EXPECT_EQ(dx7.instrument().editBuffer().substr(145, 10), "BRASS  1  ");
    const auto& applied = dx7.instrument().applied();
    ASSERT_EQ(applied.size(), 10u);
    for (std::size_t i = 0; i < applied.size(); ++i)
        EXPECT_EQ(applied[i].parameter, static_cast<int>(145 + i)) << i;

    // A short name is sent blank-padded to ten characters.
    ASSERT_TRUE(VoiceAudition::sendVoiceName(session, "PAD"));
    EXPECT_EQ(dx7.instrument().editBuffer().substr(145, 10), "PAD       ");
}

TEST_F(MidiSessionTest, MenuSendsReadTheActiveList)
{
    auto list = openActive(2, 64);
    openDx7();
    // The list's window: what it shows and what was clicked last.
    VoiceListViewState view;
    midi.setViewStateOf([&](const VoiceList& l) { return &l == list.get() ? &view : nullptr; });

    // Voice: the last clicked voice when it is selected.
    list->tracker.reset(7, list->voiceCount());
    view.lastClickedVoice = 7;
    midi.exchange().SendCommand(0);
    EXPECT_EQ(dx7.instrument().editBuffer(), makeVoice("VOICE7", 7));

    // Bank: the bank the list shows.
    view.bank = 2;
    midi.exchange().SendCommand(1);
    EXPECT_EQ(dx7.instrument().internalVoices().substr(0, 128), Pack(makeVoice("VOICE33", 33)));
    EXPECT_EQ(dx7.instrument().internalVoices().substr(31 * 128), Pack(makeVoice("VOICE64", 64)));
    EXPECT_TRUE(ui.sawStatus("Bank 2 sent to MIDI  "));

    // An editor in front: Send does nothing.
    view.lastClickedVoice = 8;
    list->tracker.reset(8, list->voiceCount());
    VoiceEditor editor(list->ID + "E1", 8);
    editor.list = list.get();
    session.setActive(list.get(), &editor);
    midi.exchange().SendCommand(0);
    EXPECT_EQ(dx7.instrument().editBuffer(), makeVoice("VOICE7", 7));
}

TEST_F(MidiSessionTest, AReceivedBankIsSavedInTheDataDirectoryAndOpened)
{
    openDx7();
    dx7.instrument().setChannel(0);
    ui.answers.push_back(MsgResult::OK); // "Ready to receive"
    ui.onEvents = [this, sent = false](ScriptedUi&) mutable {
        if (!sent && midi.state().requestedDumpType == 9) {
            sent = true;
            dx7.transmitBank();
        }
        midi.devices().dispatchInput();
    };
    midi.exchange().ReceiveCommand(1);

    const std::string path = session.DataDirectory() + " DX Bank  1.dat";
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 4104u);
    auto lists = session.colVoiceLists().NewEnum();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists.front()->FileTitle, " DX Bank  1.dat");
    EXPECT_EQ(lists.front()->voiceCount(), 32);
    EXPECT_FALSE(lists.front()->needsNewName());
}

} // namespace
} // namespace toneloft::test
