#include "midi/Dx7Exchange.h"
#include "midi/Dx7Messages.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/VirtualDx7.h"
#include "midi/clsMidiManagerData.h"
#include "midi/rtmidi/RtMidiBackend.h"
#include "voice/VoiceFileFormat.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace toneloft {
namespace {

// The desktop program's event loop in miniature: a real clock, and queued MIDI
// input handled whenever events are processed.
class RealTimeUi : public UiServices {
public:
    std::function<void()> onEvents;
    std::vector<std::string> boxes;

    MsgResult msgBox(const std::string& text, const std::string&, MsgIcon, MsgButtons) override
    {
        boxes.push_back(text);
        return MsgResult::OK;
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&,
                                        const std::string& d) override
    {
        return d;
    }
    FileDialogResult fileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<int> chooseSaveFormat(int t) override { return t; }
    void openHelp(const std::string&) override {}
    void setStatus(const std::string&, bool, bool) override {}
    void setBusy(bool) override {}
    void processEvents() override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (onEvents)
            onEvents();
    }
    std::int64_t clock() override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

// Waits up to 5 s for toneloft-dx7 to print the line.
bool dx7Reported(const std::string& line)
{
    const char* path = std::getenv("TONELOFT_DX7_LOG");
    if (!path)
        return false;
    for (int i = 0; i < 500; ++i) {
        std::ifstream log(path);
        std::string l;
        while (std::getline(log, l))
            if (l == line)
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

int indexOf(const std::vector<std::string>& list, const std::vector<int>& ids)
{
    for (std::size_t i = 1; i < list.size(); ++i)
        if (list[i].find(VirtualDx7::kDeviceName) != std::string::npos)
            return ids[i];
    return -2;
}

TEST(MidiOverJack, BankVoiceAndParameterReachToneloftDx7)
{
    ASSERT_NE(std::getenv("TONELOFT_DX7_LOG"), nullptr) << "run through run_jack_test.sh";
    RtMidiBackend backend;
    ASSERT_FALSE(backend.apiNames().empty());
    RealTimeUi ui;
    MidiState state;
    MidiDeviceLayer midi(ui, state, backend);
    ui.onEvents = [&midi] { midi.dispatchInput(); };

    int outs = 0, ins = 0;
    ASSERT_EQ(midi.EnumerateMidiDevices(outs, ins), 0);
    const int output = indexOf(state.outputList, state.outputListIds);
    const int input = indexOf(state.inputList, state.inputListIds);
    ASSERT_GE(output, 0) << "toneloft-dx7 not among the outputs";
    ASSERT_GE(input, 0) << "toneloft-dx7 not among the inputs";
    ASSERT_EQ(midi.OpenMidiDevices(output, input), 0);

    Dx7Exchange exchange(midi);
    const VirtualDx7 reference;
    std::string bank;
    ASSERT_EQ(exchange.ReceiveDump(kDumpBank, 5000, bank, true), 0);
    ASSERT_EQ(bank.size(), 4104u);
    EXPECT_EQ(bank, reference.bankDump());
    EXPECT_TRUE(dx7Reported("sent bank"));

    ByteString voice = reference.editBuffer();
    voice.replace(145, 10, "JACK TEST ");
    ASSERT_EQ(midi.manager()->SendVoiceToMidi(voice, false), 0);
    EXPECT_TRUE(dx7Reported("applied voice JACK TEST "));
    ASSERT_EQ(midi.manager()->SendParametertoMIDI(135, 21, false, false), 0);
    EXPECT_TRUE(dx7Reported("applied parameter 134 21"));

    // And back: the edit buffer holds the voice with its new algorithm.
    std::string dump;
    ASSERT_EQ(exchange.ReceiveDump(kDumpVoice, 5000, dump, true), 0);
    ASSERT_EQ(dump.size(), 163u);
    voice[134] = toChar(21);
    EXPECT_EQ(dump.substr(6, 155), voice);
    EXPECT_TRUE(ui.boxes.empty());
    midi.CloseMidiDevices();
}

// Five banks stored as one message run: more than one JACK send carries, so
// they leave as five whole messages, paced, and each reaches the instrument.
TEST(MidiOverJack, StoredBanksBeyondOneSendArriveWhole)
{
    ASSERT_NE(std::getenv("TONELOFT_DX7_LOG"), nullptr) << "run through run_jack_test.sh";
    RtMidiBackend backend;
    RealTimeUi ui;
    MidiState state;
    MidiDeviceLayer midi(ui, state, backend);
    ui.onEvents = [&midi] { midi.dispatchInput(); };
    int outs = 0, ins = 0;
    ASSERT_EQ(midi.EnumerateMidiDevices(outs, ins), 0);
    const int output = indexOf(state.outputList, state.outputListIds);
    ASSERT_GE(output, 0);
    ASSERT_EQ(midi.OpenMidiDevices(output, indexOf(state.inputList, state.inputListIds)), 0);

    const VirtualDx7 reference;
    ByteString run;
    for (int k = 1; k <= 5; ++k) {
        ByteString packed = reference.internalVoices();
        packed.replace(118, 10, "STORE " + std::to_string(k) + "   ");
        run += AddWrapper(packed, 3);
    }
    ASSERT_GT(run.size(), backend.maxLongMessage());
    clsMidiManagerData& store = *midi.manager();
    store.selectSlot(1);
    ASSERT_EQ(store.AddSysex(run, static_cast<long>(run.size()), -1, "Five"), 0);
    store.selectSlot(1);
    ASSERT_EQ(store.SendSysex(), 0);
    for (int k = 1; k <= 5; ++k)
        EXPECT_TRUE(dx7Reported("applied bank STORE " + std::to_string(k) + "   ")) << k;
    EXPECT_TRUE(ui.boxes.empty());
    midi.CloseMidiDevices();
}

} // namespace
} // namespace toneloft
