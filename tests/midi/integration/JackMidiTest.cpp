#include "midi/Dx7Exchange.h"
#include "midi/Dx7Messages.h"
#include "midi/MidiBackendSet.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/MidiStartup.h"
#include "midi/VirtualDx7Backend.h"
#include "midi/VirtualDx7.h"
#include "midi/clsMidiManagerData.h"
#include "midi/rtmidi/RtMidiBackend.h"
#include "voice/VoiceFileFormat.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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

// Waits up to 5 s for toneloft-dx7 to print the line (in the log at path).
bool reportedIn(const char* path, const std::string& line, int polls = 500)
{
    if (!path)
        return false;
    for (int i = 0; i < polls; ++i) {
        std::ifstream log(path);
        std::string l;
        while (std::getline(log, l))
            if (l == line)
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

bool dx7Reported(const std::string& line)
{
    return reportedIn(std::getenv("TONELOFT_DX7_LOG"), line);
}

int indexNamed(const std::vector<std::string>& list, const std::vector<int>& ids, const std::string& name)
{
    for (std::size_t i = 1; i < list.size(); ++i)
        if (list[i].find(name) != std::string::npos)
            return ids[i];
    return -2;
}

// The program's MIDI layer over the JACK ports, both directions opened on the
// toneloft-dx7 of the given name (outputIndex -2 when it is not there).
struct Dx7Link {
    RtMidiBackend backend;
    RealTimeUi ui;
    MidiState state;
    MidiDeviceLayer midi{ui, state, backend};
    Dx7Exchange exchange{midi};
    int outputIndex = -2;
    int opened = -1;

    explicit Dx7Link(const std::string& name = VirtualDx7::kDeviceName)
    {
        ui.onEvents = [this] { midi.dispatchInput(); };
        int outs = 0, ins = 0;
        if (midi.EnumerateMidiDevices(outs, ins) != 0)
            return;
        outputIndex = indexNamed(state.outputList, state.outputListIds, name);
        if (outputIndex >= 0)
            opened = midi.OpenMidiDevices(outputIndex, indexNamed(state.inputList, state.inputListIds, name));
    }
    ~Dx7Link() { midi.CloseMidiDevices(); }
    int sendRaw(const ByteString& bytes)
    {
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        return backend.sendLong(std::span<const std::uint8_t>(data, bytes.size()));
    }
};

// The virtual DX7's bank with its last voice renamed, framed as a bank dump.
ByteString namedBank(const std::string& name10)
{
    ByteString packed = VirtualDx7().internalVoices();
    packed.replace(118, 10, name10);
    return AddWrapper(packed, 3);
}

TEST(MidiOverJack, BankVoiceAndParameterReachToneloftDx7)
{
    ASSERT_NE(std::getenv("TONELOFT_DX7_LOG"), nullptr) << "run through run_jack_test.sh";
    Dx7Link link;
    ASSERT_FALSE(link.backend.apiNames().empty());
    ASSERT_GE(link.outputIndex, 0) << "toneloft-dx7 not among the outputs";
    ASSERT_EQ(link.opened, 0);
    ASSERT_TRUE(link.state.inputOpen) << "toneloft-dx7 not among the inputs";
    MidiDeviceLayer& midi = link.midi;
    Dx7Exchange& exchange = link.exchange;
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
    EXPECT_TRUE(link.ui.boxes.empty());
}

// Five banks stored as one message run: more than one JACK send carries, so
// they leave as five whole messages, paced, and each reaches the instrument.
TEST(MidiOverJack, StoredBanksBeyondOneSendArriveWhole)
{
    ASSERT_NE(std::getenv("TONELOFT_DX7_LOG"), nullptr) << "run through run_jack_test.sh";
    Dx7Link link;
    ASSERT_EQ(link.opened, 0);
    ByteString run;
    for (int k = 1; k <= 5; ++k)
        run += namedBank("STORE " + std::to_string(k) + "   ");
    ASSERT_GT(run.size(), link.backend.maxLongMessage());
    clsMidiManagerData& store = *link.midi.manager();
    store.selectSlot(1);
    ASSERT_EQ(store.AddSysex(run, static_cast<long>(run.size()), -1, "Five"), 0);
    store.selectSlot(1);
    ASSERT_EQ(store.SendSysex(), 0);
    for (int k = 1; k <= 5; ++k)
        EXPECT_TRUE(dx7Reported("applied bank STORE " + std::to_string(k) + "   ")) << k;
    EXPECT_TRUE(link.ui.boxes.empty());
}

// A second toneloft-dx7 of our own, under another name, that a test can stop
// and start again: a synthesiser unplugged and plugged back in.
class SecondSynth {
public:
    explicit SecondSynth(std::string name) : m_name(std::move(name))
    {
        const char* dir = std::getenv("TONELOFT_TEST_DIR");
        m_log = std::string(dir ? dir : "/tmp") + "/second-" + std::to_string(getpid()) + ".log";
    }
    ~SecondSynth() { stop(); }
    SecondSynth(const SecondSynth&) = delete;
    SecondSynth& operator=(const SecondSynth&) = delete;

    bool start()
    {
        const char* program = std::getenv("TONELOFT_DX7_PROGRAM");
        if (!program)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, m_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<std::string> args = {program, "--api", "jack", "--no-audio", "--name", m_name};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const int rc = posix_spawn(&m_pid, program, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0)
            return false;
        for (int i = 0; i < 100; ++i) {
            std::ifstream log(m_log);
            std::string line;
            while (std::getline(log, line))
                if (line.rfind("ready ", 0) == 0)
                    return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    void stop()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    bool reported(const std::string& line) { return reportedIn(m_log.c_str(), line); }
    const std::string& name() const { return m_name; }

private:
    std::string m_name;
    std::string m_log;
    pid_t m_pid = -1;
};

struct NoDialogs : MidiStartupDialogs {
    std::vector<MidiConfigureDialog> shown;
    int showMissingDevice(const MissingDeviceDialog&) override { return 0; }
    bool showMidiConfigure(MidiConfigureDialog& d) override
    {
        shown.push_back(d);
        return true;
    }
    int showInitialisationMessage(const std::string&) override { return 0; } // Skip
};

// The program's device set: the JACK ports, then the virtual DX7 standing in.
// The dialogue preselects a real pair, and the one opened is a JACK port.
TEST(MidiOverJack, ARealPortIsPreselectedOverTheVirtualDx7)
{
    RtMidiBackend ports;
    VirtualDx7Backend stand;
    stand.setStandIn(true);
    MidiBackendSet devices;
    devices.add(ports);
    devices.add(stand);
    RealTimeUi ui;
    MidiState state;
    MidiDeviceLayer midi(ui, state, devices);
    Dx7Exchange exchange(midi);
    NoDialogs dialogs;
    MidiStartup startup(midi, exchange, dialogs);
    ASSERT_EQ(startup.InitialiseMidi(), 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const auto& d = dialogs.shown[0];
    EXPECT_EQ(d.outputs.back(), VirtualDx7::kDeviceName);
    ASSERT_GT(d.outputIndex, 0);
    EXPECT_NE(d.outputs[static_cast<std::size_t>(d.outputIndex)], VirtualDx7::kDeviceName);
    EXPECT_NE(d.inputs[static_cast<std::size_t>(d.inputIndex)], VirtualDx7::kDeviceName);
    EXPECT_TRUE(state.outputOpen);
    EXPECT_FALSE(stand.outputOpen());
    midi.CloseMidiDevices();
}

TEST(MidiOverJack, AVanishedPortIsReportedOnceAndReopened)
{
    SecondSynth synth("Vanishing Synth");
    ASSERT_TRUE(synth.start());
    Dx7Link link(synth.name());
    ASSERT_EQ(link.opened, 0);
    MidiDeviceLayer& midi = link.midi;
    clsMidiManagerData& manager = *midi.manager();
    ASSERT_EQ(manager.SendParametertoMIDI(135, 5, false, false), 0);
    EXPECT_TRUE(synth.reported("applied parameter 134 5"));

    synth.stop();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(manager.SendParametertoMIDI(135, 6, false, false), -1);
    midi.checkPorts();
    EXPECT_TRUE(link.ui.boxes.empty());
    long reports = 0;
    auto rows = manager.MidiMessage().clone();
    for (rows->moveFirst(); !rows->eof(); rows->moveNext())
        reports += rows->text("Message").rfind("Port no longer connected", 0) == 0;
    EXPECT_EQ(reports, 2); // the output and the input, once each

    ASSERT_TRUE(synth.start());
    midi.checkPorts();
    EXPECT_FALSE(midi.outputLost());
    ASSERT_EQ(manager.SendParametertoMIDI(135, 7, false, false), 0);
    EXPECT_TRUE(synth.reported("applied parameter 134 7"));
    // And the input was connected again: the new instance answers a request.
    std::string bank;
    EXPECT_EQ(link.exchange.ReceiveDump(kDumpBank, 5000, bank, true), 0);
}

TEST(MidiOverJack, SendFileOfTwoBanksArrivesAsTwoBanks)
{
    Dx7Link link;
    ASSERT_TRUE(link.state.outputOpen);
    const char* dir = std::getenv("TONELOFT_TEST_DIR");
    const std::string path = std::string(dir ? dir : "/tmp") + "/two-banks.syx";
    {
        std::ofstream out(path, std::ios::binary);
        out << namedBank("FILE ONE  ") << namedBank("FILE TWO  ");
    }
    link.exchange.SendFile(path, "two-banks.syx");
    EXPECT_TRUE(dx7Reported("applied bank FILE ONE  "));
    EXPECT_TRUE(dx7Reported("applied bank FILE TWO  "));
    EXPECT_TRUE(link.ui.boxes.empty());
}

TEST(MidiOverJack, FramingSurvivesClockBytesAndATruncatedMessage)
{
    Dx7Link link;
    ByteString clocked = namedBank("CLOCKED   ");
    clocked.insert(2000, 1, toChar(0xF8));
    clocked.insert(100, 1, toChar(0xF8));
    ASSERT_EQ(link.sendRaw(clocked), 0);
    EXPECT_TRUE(dx7Reported("applied bank CLOCKED   "));

    // A bank cut off before its F7, then a request: the request is answered.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    ASSERT_EQ(link.sendRaw(namedBank("TRUNCATED ").substr(0, 1500)), 0);
    std::string bank;
    ASSERT_EQ(link.exchange.ReceiveDump(kDumpBank, 5000, bank, true), 0);
    EXPECT_EQ(bank.size(), 4104u);
    EXPECT_TRUE(dx7Reported("refused broken sysex of 1500 bytes"));
}

TEST(MidiOverJack, ABurstOfRequestsLeavesTheInstrumentListening)
{
    Dx7Link link;
    const ByteString request = DumpRequest(0, kDumpBank);
    // A thousand requests within a tenth of a second: faster than the
    // instrument answers, slow enough that the sending port's own buffer (a few
    // kilobytes a period) never drops one, even in a sanitised build.
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(link.sendRaw(request), 0) << i;
        if (i % 50 == 49)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(link.sendRaw(ParameterChange(134, 17)), 0);
    ASSERT_TRUE(reportedIn(std::getenv("TONELOFT_DX7_LOG"), "applied parameter 134 17", 2000));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
#if defined(__SANITIZE_ADDRESS__)
    constexpr long kWithinMs = 400; // the sanitised instrument runs several times slower
#else
    constexpr long kWithinMs = 100;
#endif
    EXPECT_LT(took.count(), kWithinMs);
}

} // namespace
} // namespace toneloft
