// The store with the virtual DX7 and real files: receive a bank, save it as a
// voice file, reopen it as a list, edit a name byte and send it back.
#include "midi/MidiDeviceLayer.h"
#include "midi/MidiState.h"
#include "midi/SessionVoiceListLink.h"
#include "midi/VirtualDx7Backend.h"
#include "midi/clsHexEditor.h"
#include "midi/clsMidiManagerData.h"
#include "support/SessionFixture.h"
#include "voice/VoiceFileFormat.h"

#include <gtest/gtest.h>

namespace toneloft::test {
namespace {

class MidiStoreRoundTrip : public SessionFixture {
protected:
    MidiStoreRoundTrip()
    {
        midi.setVoiceLists(&link);
        ui.onEvents = [this](ScriptedUi&) { midi.dispatchInput(); };
        midi.OpenMidiDevices(0, 0);
    }

    VirtualDx7Backend dx7{[this] { return ui.now; }};
    MidiState state;
    MidiDeviceLayer midi{ui, state, dx7};
    SessionVoiceListLink link{session};
};

// Packed voice layout: 118 bytes of parameters, then the 10-byte name.
constexpr std::size_t kNameOffset = 118;

TEST_F(MidiStoreRoundTrip, ReceivedBankSavedReopenedEditedAndSentBack)
{
    clsMidiManagerData& store = *midi.manager();
    const ByteString original = dx7.instrument().internalVoices();
    ASSERT_EQ(original.size(), 4096u);

    // The user starts the receive, then presses transmit on the instrument.
    bool transmitted = false;
    ui.onEvents = [&](ScriptedUi& u) {
        if (!transmitted && u.now > 500) {
            transmitted = true;
            dx7.transmitBank();
        }
        midi.dispatchInput();
    };
    ASSERT_EQ(store.ReceiveSysex(), 0);
    store.selectSlot(1);
    ASSERT_EQ(store.MidiSysex().text("Data"), original);

    // Saved as a voice file and opened as a list.
    ui.fileAnswers.push_back(ScriptedUi::chose(dir.folder(), {"Received.dat"}));
    ASSERT_EQ(store.SaveAndLoadSysex(), 0);
    const std::string path = dir.folder() + "Received.dat";
    ByteArray file;
    ASSERT_TRUE(ReadWholeFile(path, file));
    EXPECT_EQ(toByteString(file), dx7.instrument().bankDump().substr(0, 6) + original +
                                      dx7.instrument().bankDump().substr(4102));
    const auto list = session.colVoiceLists().findByFileName(path);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->voiceCount(), 32);
    EXPECT_EQ(nameAt(*list, 1), original.substr(kNameOffset, 10));

    // One name byte changed in the editor: voice 1's first letter becomes 'Z'.
    store.setSysexEditor([&](const ByteString& in) {
        clsHexEditor editor(ui);
        editor.InitHexGrid(in);
        const long row = static_cast<long>(kNameOffset / 16) + 1;
        const int column = static_cast<int>(kNameOffset % 16) + 1;
        EXPECT_TRUE(editor.setCell(row, column, "90"));
        const auto result = editor.UpdateRecordset();
        EXPECT_EQ(result.outcome, clsHexEditor::Outcome::Accept);
        return result.bytes;
    });
    store.selectSlot(1);
    ASSERT_EQ(store.EditSysex(1), 0);
    store.selectSlot(1);
    ByteString edited = original;
    edited[kNameOffset] = 'Z';
    ASSERT_EQ(store.MidiSysex().text("Data"), edited);

    // Sent back: the bank is framed with a new checksum and the DX7 takes it.
    ASSERT_EQ(store.SendSysex(), 0);
    EXPECT_EQ(dx7.instrument().internalVoices(), edited);
    EXPECT_EQ(dx7.instrument().internalVoices()[kNameOffset], 'Z');
}

} // namespace
} // namespace toneloft::test
