#include "midi/VirtualDx7Backend.h"

#include "midi/MidiInputQueue.h"

#include <chrono>

namespace toneloft {

namespace {
constexpr int kBadDeviceId = 2;
constexpr int kAllocated = 4;
constexpr int kNotOpen = 5;
} // namespace

VirtualDx7Backend::VirtualDx7Backend(std::function<std::int64_t()> clock) : m_clock(std::move(clock))
{
}

std::int64_t VirtualDx7Backend::now() const
{
    if (m_clock)
        return m_clock();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int VirtualDx7Backend::inputName(int index, std::string& name)
{
    if (index != 0)
        return kBadDeviceId;
    name = VirtualDx7::kDeviceName;
    return 0;
}

int VirtualDx7Backend::outputName(int index, std::string& name)
{
    return inputName(index, name);
}

int VirtualDx7Backend::openInput(int index, MidiInputQueue& queue)
{
    if (index != 0)
        return kBadDeviceId;
    if (m_queue)
        return kAllocated;
    m_queue = &queue;
    m_started = false;
    return 0;
}

int VirtualDx7Backend::startInput()
{
    if (!m_queue)
        return kNotOpen;
    m_started = true;
    m_startTime = now();
    return 0;
}

void VirtualDx7Backend::stopInput()
{
    m_started = false;
}

void VirtualDx7Backend::closeInput()
{
    m_started = false;
    m_queue = nullptr;
}

int VirtualDx7Backend::openOutput(int index)
{
    if (index != 0)
        return kBadDeviceId;
    if (m_outputOpen)
        return kAllocated;
    m_outputOpen = true;
    if (onOutputOpened)
        onOutputOpened();
    return 0;
}

void VirtualDx7Backend::closeOutput()
{
    m_outputOpen = false;
}

int VirtualDx7Backend::sendShort(std::uint32_t word)
{
    if (!m_outputOpen)
        return kNotOpen;
    m_dx7.receiveShort(word);
    return 0;
}

int VirtualDx7Backend::sendLong(std::span<const std::uint8_t> bytes)
{
    if (!m_outputOpen)
        return kNotOpen;
    const ByteString message(bytes.begin(), bytes.end());
    for (auto& reply : m_dx7.receive(message))
        deliver(std::move(reply));
    return 0;
}

void VirtualDx7Backend::transmitBank()
{
    deliver(m_dx7.transmitBank());
}

void VirtualDx7Backend::deliver(ByteString message)
{
    if (m_queue && m_started)
        m_queue->pushSysex(std::move(message), now() - m_startTime);
}

} // namespace toneloft
