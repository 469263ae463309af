#include "midi/MidiFraming.h"

#include "midi/MidiBackend.h"
#include "midi/MidiInputQueue.h"

#include <vector>

namespace toneloft {

void MidiFramer::reset()
{
    m_inSysex = false;
    m_overflow = false;
    m_count = 0;
    m_sysex.clear();
}

void MidiFramer::endBroken(std::int64_t timestampMs, MidiInputQueue& queue)
{
    MidiInputEvent e;
    e.kind = MidiEventKind::LongError;
    e.timestampMs = timestampMs;
    e.bytes = std::move(m_sysex);
    if (m_overflow)
        e.bytes.resize(m_count, '\0'); // the count is what the monitor reports
    reset();
    queue.push(std::move(e));
}

void MidiFramer::feed(std::span<const std::uint8_t> bytes, std::int64_t timestampMs,
                      MidiInputQueue& queue)
{
    std::vector<std::uint8_t> shortMessage; // status and the data bytes it takes
    int wanted = 0;
    auto flushShort = [&] {
        if (!shortMessage.empty())
            queue.pushShort(shortMessage, timestampMs);
        shortMessage.clear();
        wanted = 0;
    };

    for (const std::uint8_t b : bytes) {
        if (b >= 0xF8) { // realtime: on its own, wherever it stands
            const std::uint8_t one[1] = {b};
            queue.pushShort(one, timestampMs);
            continue;
        }
        if (m_inSysex) {
            if (b < 0x80) {
                ++m_count;
                if (m_count <= MidiInputQueue::kMaxSysexBytes)
                    m_sysex += toChar(b);
                else
                    m_overflow = true;
                continue;
            }
            if (b == 0xF7) {
                ++m_count;
                if (m_overflow) {
                    endBroken(timestampMs, queue);
                } else {
                    m_sysex += toChar(b);
                    ByteString whole = std::move(m_sysex);
                    reset();
                    queue.pushSysex(std::move(whole), timestampMs);
                }
                continue;
            }
            endBroken(timestampMs, queue); // F0 or a status byte before the F7
        }
        if (b == 0xF0) {
            flushShort();
            m_inSysex = true;
            m_count = 1;
            m_sysex.assign(1, toChar(b));
            continue;
        }
        if (b == 0xF7)
            continue; // an end without a start: nothing to end
        if (b >= 0x80) {
            flushShort();
            shortMessage.push_back(b);
            wanted = shortMessageLength(b) - 1;
            if (wanted == 0)
                flushShort();
            continue;
        }
        // A data byte: part of the short message in progress, or a stray one.
        if (wanted > 0) {
            shortMessage.push_back(b);
            if (--wanted == 0)
                flushShort();
        } else {
            const std::uint8_t one[1] = {b};
            queue.pushShort(one, timestampMs);
        }
    }
    flushShort();
}

} // namespace toneloft
