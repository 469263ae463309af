#include "midi/rtmidi/RtMidiVirtualPorts.h"

#include "common/ByteString.h"
#include "midi/MidiFraming.h"
#include "midi/MidiInputQueue.h"
#include "midi/rtmidi/RtMidiPorts.h"

#include <RtMidi.h>

#include <chrono>

namespace toneloft {

struct RtMidiVirtualPorts::Impl {
    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;
    MidiInputQueue* queue = nullptr;
    MidiFramer framer; // used on the service's thread only
    RtMidi::Api api = RtMidi::UNSPECIFIED;
    std::string error;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

    static void onInput(double, std::vector<unsigned char>* message, void* user)
    {
        auto* self = static_cast<Impl*>(user);
        if (!message || message->empty() || !self->queue)
            return;
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - self->start)
                            .count();
        self->framer.feed(*message, ms, *self->queue);
    }
};

RtMidiVirtualPorts::RtMidiVirtualPorts() : m_impl(std::make_unique<Impl>()) {}

RtMidiVirtualPorts::~RtMidiVirtualPorts()
{
    close();
}

bool RtMidiVirtualPorts::open(const std::string& api, const std::string& clientName,
                              const std::string& portName, MidiInputQueue& queue)
{
    close();
    std::vector<RtMidi::Api> apis;
    if (api.empty()) {
        RtMidi::getCompiledApi(apis);
    } else {
        const RtMidi::Api named = RtMidi::getCompiledApiByName(api);
        if (named == RtMidi::UNSPECIFIED) {
            m_impl->error = "unknown MIDI API " + api;
            return false;
        }
        apis.push_back(named);
    }
    m_impl->error = "no MIDI API could open virtual ports";
    for (RtMidi::Api candidate : apis) {
        if (candidate == RtMidi::RTMIDI_DUMMY)
            continue;
        try {
            auto in = std::make_unique<RtMidiIn>(candidate, clientName);
            auto out = std::make_unique<RtMidiOut>(candidate, clientName);
            in->ignoreTypes(false, false, true);
            m_impl->queue = &queue;
            in->setCallback(&Impl::onInput, m_impl.get());
            in->openVirtualPort(portName);
            out->openVirtualPort(portName);
            m_impl->in = std::move(in);
            m_impl->out = std::move(out);
            m_impl->api = candidate;
            m_impl->error.clear();
            return true;
        } catch (const RtMidiError& e) {
            m_impl->queue = nullptr;
            m_impl->error = e.getMessage();
        }
    }
    return false;
}

void RtMidiVirtualPorts::close()
{
    closeRtMidiInput(m_impl->in);
    m_impl->out.reset();
    m_impl->queue = nullptr;
}

std::string RtMidiVirtualPorts::apiName() const
{
    return RtMidi::getApiName(m_impl->api);
}

const std::string& RtMidiVirtualPorts::error() const
{
    return m_impl->error;
}

bool RtMidiVirtualPorts::send(std::span<const std::uint8_t> bytes)
{
    if (!m_impl->out || bytes.empty())
        return false;
    try {
        m_impl->out->sendMessage(bytes.data(), bytes.size());
    } catch (const RtMidiError&) {
        return false;
    }
    return true;
}

} // namespace toneloft
