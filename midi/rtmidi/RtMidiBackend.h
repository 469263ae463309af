#pragma once

#include "midi/MidiBackend.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace toneloft {

// Real MIDI ports through RtMidi. Nothing is opened until the devices are
// first listed (an off-line start opens no API). Every API compiled into the
// library is then tried in turn; those that cannot start here (no ALSA sequencer, no JACK
// server) are left out, and the devices of the others are listed one after
// another. Input is asked for sysex; Timing Clock and Active Sensing are
// dropped before they reach the queue.
class RtMidiBackend : public MidiBackend {
public:
    // clientName: how the program shows up in the MIDI system's own lists.
    explicit RtMidiBackend(std::string clientName = "Toneloft");
    ~RtMidiBackend() override;
    RtMidiBackend(const RtMidiBackend&) = delete;
    RtMidiBackend& operator=(const RtMidiBackend&) = delete;

    // Where the MIDI libraries' own messages go (RtMidi's, JACK's, ALSA's), from
    // any thread; for the whole process. Without one they are dropped.
    static void setLog(std::function<void(const std::string&)> log);

    // The APIs that started, by RtMidi's short names ("jack", "alsa", ...).
    std::vector<std::string> apiNames() const;

    int inputCount() override;
    int outputCount() override;
    int inputName(int index, std::string& name) override;
    int outputName(int index, std::string& name) override;
    int openInput(int index, MidiInputQueue& queue) override;
    int startInput() override;
    void stopInput() override;
    void closeInput() override;
    int openOutput(int index) override;
    void closeOutput() override;
    int sendShort(std::uint32_t word) override;
    int sendLong(std::span<const std::uint8_t> bytes) override;
    std::size_t maxLongMessage() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace toneloft
