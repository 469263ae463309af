#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace toneloft {

class MidiInputQueue;

// The program's view of a MIDI service: named input and output devices, one of
// each open at a time, short and long sends, input delivered through a queue.
// Results are 0 or one of the device layer's error codes (see MidiErrorText):
// 1 unspecified, 2 bad device index, 3 driver failed, 4 already allocated,
// 5 not open, 7 out of memory, 8 unsupported, 11 bad parameter, 68 port gone.
class MidiBackend {
public:
    virtual ~MidiBackend() = default;

    virtual int inputCount() = 0;
    virtual int outputCount() = 0;
    // Reads the name of a device; 0 or an error code.
    virtual int inputName(int index, std::string& name) = 0;
    virtual int outputName(int index, std::string& name) = 0;

    // Input events go to queue, with time stamps in ms since startInput(), on
    // whatever thread the service uses. Nothing is delivered while stopped.
    virtual int openInput(int index, MidiInputQueue& queue) = 0;
    virtual int startInput() = 0;
    virtual void stopInput() = 0;
    virtual void closeInput() = 0;

    virtual int openOutput(int index) = 0;
    virtual void closeOutput() = 0;
    // word = status | data1 << 8 | data2 << 16; as many bytes as the status needs.
    virtual int sendShort(std::uint32_t word) = 0;
    // One whole message or a block of a file; the block is copied before return.
    virtual int sendLong(std::span<const std::uint8_t> bytes) = 0;
    // Longest block sendLong accepts in one piece.
    virtual std::size_t maxLongMessage() const { return 65536; }
    // A device of the program's own (the virtual DX7) that stands in for a real
    // one: listed after the real devices, chosen by the name rule only when no
    // real pair matches, and not counted when the start-up looks for devices.
    virtual bool isStandIn(int /*index*/, bool /*input*/) { return false; }
};

// Bytes a short message takes on the wire, from its status byte (1 to 3).
inline int shortMessageLength(std::uint8_t status)
{
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0: return 2;
    case 0xF0:
        if (status == 0xF1 || status == 0xF3)
            return 2;
        if (status == 0xF2)
            return 3;
        return 1;
    default: return status < 0x80 ? 1 : 3;
    }
}

} // namespace toneloft
