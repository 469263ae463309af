#pragma once

#include "common/ByteString.h"

#include <cstdint>
#include <span>

namespace toneloft {

class MidiInputQueue;

// Cuts the bytes a MIDI service hands over into the messages they hold, for
// the program and for toneloft-dx7 alike. MIDI lets a realtime byte (F8..FF)
// stand anywhere, even inside a system-exclusive message: it is taken out and
// queued on its own (Timing Clock and Active Sensing are then dropped by the
// queue). A system-exclusive message that a new F0 or a status byte ends before
// its F7 is queued as broken (LongError with what arrived) and the next message
// starts. A message left open at the end of one delivery is continued by the
// next. Used on the service's own thread; one framer per input port.
class MidiFramer {
public:
    void feed(std::span<const std::uint8_t> bytes, std::int64_t timestampMs, MidiInputQueue& queue);
    // Forgets a message in progress (the port was closed or reopened).
    void reset();
    bool inSysex() const { return m_inSysex; }

private:
    void endBroken(std::int64_t timestampMs, MidiInputQueue& queue);

    bool m_inSysex = false;
    bool m_overflow = false; // longer than the queue takes: only the count grows
    std::size_t m_count = 0;
    ByteString m_sysex;
};

} // namespace toneloft
