#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace toneloft {

class MidiInputQueue;

// A pair of ports of our own (one input, one output) that other programs
// connect to: how toneloft-dx7 appears in the MIDI system. Input goes to a
// queue, sysex included, clock and active sensing dropped.
class RtMidiVirtualPorts {
public:
    RtMidiVirtualPorts();
    ~RtMidiVirtualPorts();
    RtMidiVirtualPorts(const RtMidiVirtualPorts&) = delete;
    RtMidiVirtualPorts& operator=(const RtMidiVirtualPorts&) = delete;

    // api: "jack", "alsa" or empty for the first that works. Both ports take
    // portName under the client clientName. False with error() set on failure.
    bool open(const std::string& api, const std::string& clientName, const std::string& portName,
              MidiInputQueue& queue);
    void close();
    // The API in use, by RtMidi's short name.
    std::string apiName() const;
    const std::string& error() const;

    bool send(std::span<const std::uint8_t> bytes);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace toneloft
