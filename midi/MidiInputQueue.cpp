#include "midi/MidiInputQueue.h"

namespace toneloft {

void MidiInputQueue::push(MidiInputEvent event)
{
    std::function<void()> notify;
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
        notify = m_notifier;
    }
    m_ready.notify_one();
    if (notify)
        notify();
}

void MidiInputQueue::pushShort(std::span<const std::uint8_t> bytes, std::int64_t timestampMs)
{
    if (bytes.empty())
        return;
    const std::uint8_t status = bytes[0];
    if (status == 0xF8 || status == 0xFE)
        return;
    MidiInputEvent e;
    e.kind = status >= 0x80 ? MidiEventKind::ShortData : MidiEventKind::ShortError;
    e.timestampMs = timestampMs;
    for (std::size_t i = 0; i < bytes.size() && i < 3; ++i)
        e.word |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    push(std::move(e));
}

void MidiInputQueue::pushSysex(ByteString bytes, std::int64_t timestampMs)
{
    MidiInputEvent e;
    e.timestampMs = timestampMs;
    const bool framed = bytes.size() >= 2 && byteAt(bytes, 0) == 0xF0 &&
                        byteAt(bytes, bytes.size() - 1) == 0xF7;
    e.kind = framed && bytes.size() <= kMaxSysexBytes ? MidiEventKind::LongData
                                                      : MidiEventKind::LongError;
    e.bytes = std::move(bytes);
    push(std::move(e));
}

std::optional<MidiInputEvent> MidiInputQueue::pop()
{
    std::lock_guard lock(m_mutex);
    if (m_events.empty())
        return std::nullopt;
    MidiInputEvent e = std::move(m_events.front());
    m_events.pop_front();
    return e;
}

std::optional<MidiInputEvent> MidiInputQueue::waitPop(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_ready.wait_for(lock, timeout, [this] { return !m_events.empty(); }))
        return std::nullopt;
    MidiInputEvent e = std::move(m_events.front());
    m_events.pop_front();
    return e;
}

std::size_t MidiInputQueue::size() const
{
    std::lock_guard lock(m_mutex);
    return m_events.size();
}

void MidiInputQueue::clear()
{
    std::lock_guard lock(m_mutex);
    m_events.clear();
}

void MidiInputQueue::setNotifier(std::function<void()> notifier)
{
    std::lock_guard lock(m_mutex);
    m_notifier = std::move(notifier);
}

} // namespace toneloft
