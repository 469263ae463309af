#pragma once

#include "common/ByteString.h"
#include "common/UiServices.h"
#include "midi/MidiCommandHost.h"
#include "midi/MidiInputQueue.h"
#include "midi/MidiMessageRecord.h"
#include "midi/MidiState.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace toneloft {

class MidiBackend;
class MidiVoiceListLink;
class clsMidiManagerData;

// The program's one MIDI input and one MIDI output: listing, opening and
// closing devices, sending short and long messages, and turning input into
// monitor entries and received dumps.
//
// Input arrives on the service's thread and waits in inputQueue(). It is
// handled by dispatchInput(), which must run on the user-interface thread
// whenever that thread processes events: MidiSession posts it through
// UiServices::post for every push; tests call it from ScriptedUi::onEvents.
// The receive loops rely on it running while they wait for events. It is the
// one place that guards against running inside itself.
class MidiDeviceLayer {
public:
    MidiDeviceLayer(UiServices& ui, MidiState& state, MidiBackend& backend,
                    MidiCommandHost* host = nullptr);
    ~MidiDeviceLayer();
    MidiDeviceLayer(const MidiDeviceLayer&) = delete;
    MidiDeviceLayer& operator=(const MidiDeviceLayer&) = delete;

    UiServices& ui() { return m_ui; }
    MidiState& state() { return m_state; }
    MidiInputQueue& inputQueue() { return m_queue; }
    // The MIDI manager's data; null while no device is open.
    clsMidiManagerData* manager() { return m_manager.get(); }
    MidiCommandHost& host() { return *m_host; }
    // The voice files the manager's store saves to and loads from; handed to
    // each manager data created from now on.
    void setVoiceLists(MidiVoiceListLink* lists);

    // Fills the device dialogue's lists (state().outputList / inputList) and
    // returns 0, or -1 no device at all, -2 no input, -3 no output, -4 no
    // output but the mapper. The counts are the devices listed.
    int EnumerateMidiDevices(int& outCount, int& inCount);
    // Either id may be -2 (not used). 0 on success, -1 on failure.
    int OpenMidiDevices(int outputId, int inputId);
    // Closes whatever is open; harmless when nothing is.
    void CloseMidiDevices();

    // Each argument a one-byte text (data1, data2 may be empty; then status is
    // the whole message word as decimal text). Leaves on channel 1. 0 or -1.
    int SendShortMessage(const std::string& status, const std::string& data1,
                         const std::string& data2, const std::string& label);
    int SendShortMessage(int status, int data1, int data2);
    // One message, or several back to back; channel is only logged. 0 or -1.
    // More than the service takes in one send goes out as its whole messages,
    // each paced, never a message cut in two.
    int SendLongMessage(const ByteString& bytes, int channel);
    // length bytes from offset of a block: no log, no result.
    void SendLongBlock(std::span<const std::uint8_t> block, std::size_t offset, std::size_t length);
    std::string MidiErrorText(int code);

    // A long input event; returns the bytes, or "No data" for a broken buffer.
    std::string ProcessLongMessage(MidiEventKind event, const ByteString& bytes,
                                   std::int64_t timestamp);
    // Logs a message for the monitor: -1 for short ones and parameter changes,
    // 0 for a long message (a dump, recognised or not).
    int ClassifyIncomingMessage(const ByteString& bytes, std::int64_t timestamp, bool edited);

    void PlayTestNote(int note);
    void PlayTestArpeggio(int delayMs);
    void SetMidiMenus(bool enabled);

    // "&Midi Input On": stops or restarts a running input.
    void ToggleMidiInput();
    // "Show Midi Ma&nager": hides or shows the MIDI manager.
    void ToggleMidiManager();

    // Whether the open ports are still there (a cable pulled, a JACK client
    // gone): a port that vanished is reported once, "Port no longer connected"
    // in the status line and the monitor, and sends to it fail without a box
    // each; when a port of the same name returns it is opened again. Runs
    // before every send; the desktop program also runs it on a timer.
    void checkPorts();
    bool outputLost() const { return m_outputLost; }
    bool inputLost() const { return m_inputLost; }

    // A message of the MIDI libraries (RtMidi, JACK, ALSA) for the program's
    // log, the MIDI monitor; from any thread. Kept until the monitor exists.
    void logServiceMessage(const std::string& line);

    // Handles every queued input event, in arrival order (see above).
    void dispatchInput();

    bool commandEnabled(MidiCommand c) const { return m_enabled[index(c)]; }
    bool commandChecked(MidiCommand c) const { return m_checked[index(c)]; }
    void setCommandEnabled(MidiCommand c, bool on);
    void setCommandChecked(MidiCommand c, bool on);
    void monitorChanged();

    // A large message waits until the one before it has had its time on the
    // wire: one 4096-byte block per second. Messages up to this size leave at once.
    static constexpr std::size_t kPacedMessageSize = 256;
    // When the next large message may leave (UiServices clock).
    std::int64_t largeSendDue() const { return m_nextLargeSendAt; }

private:
    static std::size_t index(MidiCommand c) { return static_cast<std::size_t>(c); }
    void loadManager();
    void unloadManager();
    void handleEvent(const MidiInputEvent& event);
    void paceLargeMessage(std::size_t bytes);
    // The device now holding name (as listed), or id when name is empty; -1 when gone.
    int deviceNamed(int id, const std::string& name, bool input);
    void reportPort(const std::string& text);
    void flushServiceLines();
    void logRecord(bool replace = false);
    int sendWholeMessages(const ByteString& bytes);

    UiServices& m_ui;
    MidiState& m_state;
    MidiBackend& m_backend;
    MidiCommandHost m_nullHost;
    MidiCommandHost* m_host;
    MidiInputQueue m_queue;
    std::unique_ptr<clsMidiManagerData> m_manager;
    MidiVoiceListLink* m_lists = nullptr;
    MidiMessageRecord m_record;
    bool m_dispatching = false;
    bool m_inputRunning = false;
    std::int64_t m_nextLargeSendAt = 0;
    bool m_pacing = false;
    bool m_outputLost = false;
    std::vector<std::string> m_serviceLines; // waiting for the monitor
    bool m_inputLost = false;
    std::array<bool, static_cast<std::size_t>(MidiCommand::Count)> m_enabled{};
    std::array<bool, static_cast<std::size_t>(MidiCommand::Count)> m_checked{};
};

} // namespace toneloft
