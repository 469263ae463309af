#include "midi/MidiBackendSet.h"

namespace toneloft {

namespace {
constexpr int kBadDeviceId = 2;
constexpr int kNotOpen = 5;
} // namespace

void MidiBackendSet::add(MidiBackend& backend)
{
    m_backends.push_back(&backend);
}

int MidiBackendSet::inputCount()
{
    int n = 0;
    for (auto* b : m_backends)
        n += b->inputCount();
    return n;
}

int MidiBackendSet::outputCount()
{
    int n = 0;
    for (auto* b : m_backends)
        n += b->outputCount();
    return n;
}

MidiBackend* MidiBackendSet::locate(int index, bool input, int& local)
{
    if (index < 0)
        return nullptr;
    for (auto* b : m_backends) {
        const int count = input ? b->inputCount() : b->outputCount();
        if (index < count) {
            local = index;
            return b;
        }
        index -= count;
    }
    return nullptr;
}

int MidiBackendSet::inputName(int index, std::string& name)
{
    int local = 0;
    auto* b = locate(index, true, local);
    return b ? b->inputName(local, name) : kBadDeviceId;
}

int MidiBackendSet::outputName(int index, std::string& name)
{
    int local = 0;
    auto* b = locate(index, false, local);
    return b ? b->outputName(local, name) : kBadDeviceId;
}

int MidiBackendSet::openInput(int index, MidiInputQueue& queue)
{
    closeInput();
    int local = 0;
    auto* b = locate(index, true, local);
    if (!b)
        return kBadDeviceId;
    const int rc = b->openInput(local, queue);
    if (rc == 0)
        m_input = b;
    return rc;
}

int MidiBackendSet::startInput()
{
    return m_input ? m_input->startInput() : kNotOpen;
}

void MidiBackendSet::stopInput()
{
    if (m_input)
        m_input->stopInput();
}

void MidiBackendSet::closeInput()
{
    if (m_input)
        m_input->closeInput();
    m_input = nullptr;
}

int MidiBackendSet::openOutput(int index)
{
    closeOutput();
    int local = 0;
    auto* b = locate(index, false, local);
    if (!b)
        return kBadDeviceId;
    const int rc = b->openOutput(local);
    if (rc == 0)
        m_output = b;
    return rc;
}

void MidiBackendSet::closeOutput()
{
    if (m_output)
        m_output->closeOutput();
    m_output = nullptr;
}

int MidiBackendSet::sendShort(std::uint32_t word)
{
    return m_output ? m_output->sendShort(word) : kNotOpen;
}

int MidiBackendSet::sendLong(std::span<const std::uint8_t> bytes)
{
    return m_output ? m_output->sendLong(bytes) : kNotOpen;
}

bool MidiBackendSet::isStandIn(int index, bool input)
{
    int local = 0;
    auto* b = locate(index, input, local);
    return b && b->isStandIn(local, input);
}

std::size_t MidiBackendSet::maxLongMessage() const
{
    return m_output ? m_output->maxLongMessage() : MidiBackend::maxLongMessage();
}

} // namespace toneloft
