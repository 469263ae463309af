#pragma once

#include "midi/MidiInputEvent.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <span>

namespace toneloft {

// Carries input from a MIDI service's own thread to the user-interface thread.
// Backends push from any thread; the program pops on its user-interface thread
// in arrival order. Nothing is dropped while the interface is busy.
class MidiInputQueue {
public:
    // Longest system-exclusive message accepted whole, F0 and F7 included.
    static constexpr std::size_t kMaxSysexBytes = 8192;

    void push(MidiInputEvent event);
    // A short message of 1 to 3 bytes. Timing Clock (F8) and Active Sensing
    // (FE) are dropped here, before any other work.
    void pushShort(std::span<const std::uint8_t> bytes, std::int64_t timestampMs);
    // A whole system-exclusive message. One that does not run from F0 to F7 or
    // is longer than kMaxSysexBytes arrives as LongError with its byte count.
    void pushSysex(ByteString bytes, std::int64_t timestampMs);

    std::optional<MidiInputEvent> pop();
    // Waits up to timeout for an event (for programs without an event loop).
    std::optional<MidiInputEvent> waitPop(std::chrono::milliseconds timeout);
    std::size_t size() const;
    void clear();

    // Called on the pushing thread after each push; the desktop program uses it
    // to wake its event loop. Set it before any backend can push.
    void setNotifier(std::function<void()> notifier);

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<MidiInputEvent> m_events;
    std::function<void()> m_notifier;
};

} // namespace toneloft
