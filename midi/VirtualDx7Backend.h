#pragma once

#include "midi/MidiBackend.h"
#include "midi/VirtualDx7.h"

#include <cstdint>
#include <functional>

namespace toneloft {

// The virtual DX7 as a MIDI service of one input and one output, both named
// "Toneloft Virtual DX7". What the program sends reaches the instrument at
// once; its answers are queued as input when the input is open and started.
class VirtualDx7Backend : public MidiBackend {
public:
    // clock: milliseconds, for time stamps; a steady clock when empty.
    explicit VirtualDx7Backend(std::function<std::int64_t()> clock = {});

    VirtualDx7& instrument() { return m_dx7; }
    const VirtualDx7& instrument() const { return m_dx7; }
    // The user presses "transmit" on the instrument: its bank arrives as input.
    void transmitBank();

    int inputCount() override { return 1; }
    int outputCount() override { return 1; }
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

    // In the desktop program the virtual DX7 stands in for a real instrument
    // (see MidiBackend::isStandIn); tests that use it as their synthesiser leave it off.
    void setStandIn(bool standIn) { m_standIn = standIn; }
    bool isStandIn(int, bool) override { return m_standIn; }

    // Runs each time the program opens the instrument as its output: the
    // desktop program starts the sound there, so an off-line start touches no
    // audio system.
    std::function<void()> onOutputOpened;

    bool inputOpen() const { return m_queue != nullptr; }
    bool outputOpen() const { return m_outputOpen; }

private:
    void deliver(ByteString message);
    std::int64_t now() const;

    VirtualDx7 m_dx7;
    std::function<std::int64_t()> m_clock;
    MidiInputQueue* m_queue = nullptr;
    bool m_started = false;
    bool m_outputOpen = false;
    bool m_standIn = false;
    std::int64_t m_startTime = 0;
};

} // namespace toneloft
