#include "midi/rtmidi/RtMidiBackend.h"

#include "midi/MidiFraming.h"
#include "midi/MidiInputQueue.h"
#include "midi/rtmidi/RtMidiPorts.h"

#include <RtMidi.h>
#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <mutex>

namespace toneloft {

namespace {

constexpr int kUnspecified = 1;
constexpr int kBadDeviceId = 2;
constexpr int kNotOpen = 5;

// JACK carries a message through a 16 KB ring buffer; stay well inside it.
constexpr std::size_t kLongestBlock = 16000;

int codeOf(RtMidiError::Type type)
{
    switch (type) {
    case RtMidiError::WARNING: return 68; // the usual warning: a port could not be reached
    case RtMidiError::DEBUG_WARNING: return 0;
    case RtMidiError::NO_DEVICES_FOUND: return 6;
    case RtMidiError::INVALID_DEVICE: return kBadDeviceId;
    case RtMidiError::MEMORY_ERROR: return 7;
    case RtMidiError::INVALID_PARAMETER: return 11;
    case RtMidiError::INVALID_USE: return kNotOpen;
    case RtMidiError::DRIVER_ERROR: return 3;
    default: return kUnspecified;
    }
}

std::int64_t steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Where the MIDI libraries' own messages go (RtMidi's, JACK's, ALSA's): the
// program's log, never the terminal. They may come from any thread.
std::mutex g_logMutex;
std::function<void(const std::string&)> g_log;

void toLog(std::string line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == ' '))
        line.pop_back();
    if (line.empty())
        return;
    std::lock_guard lock(g_logMutex);
    if (g_log)
        g_log(line);
}

void jackMessage(const char* text)
{
    toLog(std::string("JACK: ") + (text ? text : ""));
}

void alsaMessage(const char* file, int line, const char* function, int, const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    toLog(std::string("ALSA: ") + text + " (" + (function ? function : "") + ", " +
          (file ? file : "") + ":" + std::to_string(line) + ")");
}

// Installed once, before the first API is tried.
void routeLibraryMessages()
{
    static std::once_flag once;
    std::call_once(once, [] {
        jack_set_error_function(&jackMessage);
        jack_set_info_function(&jackMessage);
        snd_lib_error_set_handler(&alsaMessage);
    });
}

// RtMidi's JACK side starts without a server but complains on the terminal
// before a callback can be set; a quiet look first leaves it out instead.
bool jackServerRunning()
{
    jack_status_t status{};
    jack_client_t* client = jack_client_open("toneloft-probe", JackNoStartServer, &status);
    if (!client)
        return false;
    jack_client_close(client);
    return true;
}

// Remembers the first error RtMidi reports during a call instead of letting
// it throw or print; the text goes to the log.
struct ErrorSink {
    int code = 0;
    static void callback(RtMidiError::Type type, const std::string& text, void* user)
    {
        auto* sink = static_cast<ErrorSink*>(user);
        if (sink->code == 0)
            sink->code = codeOf(type);
        if (type != RtMidiError::DEBUG_WARNING)
            toLog("RtMidi: " + text);
    }
};

} // namespace

struct RtMidiBackend::Impl {
    struct Api {
        RtMidi::Api api;
        std::unique_ptr<RtMidiIn> inProbe;
        std::unique_ptr<RtMidiOut> outProbe;
        ErrorSink inErrors;
        ErrorSink outErrors;
    };
    struct Port {
        std::size_t api;
        unsigned int number;
    };

    std::string clientName;
    bool started = false; // the APIs are opened on first use, not before
    std::vector<std::unique_ptr<Api>> apis;

    void start();
    std::vector<Port> inputs;
    std::vector<Port> outputs;

    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;
    ErrorSink inErrors;
    ErrorSink outErrors;
    MidiInputQueue* queue = nullptr;
    MidiFramer framer; // used on the service's thread only, reset while closed
    std::atomic<bool> running{false};
    std::atomic<std::int64_t> startTime{0};

    void scan(bool input)
    {
        start();
        auto& ports = input ? inputs : outputs;
        ports.clear();
        for (std::size_t a = 0; a < apis.size(); ++a) {
            auto& api = *apis[a];
            unsigned int count = 0;
            try {
                count = input ? api.inProbe->getPortCount() : api.outProbe->getPortCount();
            } catch (const RtMidiError&) {
                count = 0;
            }
            for (unsigned int p = 0; p < count; ++p)
                ports.push_back({a, p});
        }
    }

    static void onInput(double, std::vector<unsigned char>* message, void* user)
    {
        auto* self = static_cast<Impl*>(user);
        if (!message || message->empty() || !self->running || !self->queue)
            return;
        const std::int64_t timestamp = steadyMs() - self->startTime.load();
        self->framer.feed(*message, timestamp, *self->queue);
    }
};

RtMidiBackend::RtMidiBackend(std::string clientName) : m_impl(std::make_unique<Impl>())
{
    m_impl->clientName = std::move(clientName);
}

void RtMidiBackend::setLog(std::function<void(const std::string&)> log)
{
    std::lock_guard lock(g_logMutex);
    g_log = std::move(log);
}

void RtMidiBackend::Impl::start()
{
    if (started)
        return;
    started = true;
    routeLibraryMessages();
    std::vector<RtMidi::Api> compiled;
    RtMidi::getCompiledApi(compiled);
    for (RtMidi::Api api : compiled) {
        if (api == RtMidi::RTMIDI_DUMMY)
            continue;
        if (api == RtMidi::UNIX_JACK && !jackServerRunning())
            continue;
        auto entry = std::make_unique<Impl::Api>();
        entry->api = api;
        try {
            entry->inProbe = std::make_unique<RtMidiIn>(api, clientName);
            entry->outProbe = std::make_unique<RtMidiOut>(api, clientName);
        } catch (const RtMidiError& e) {
            toLog("RtMidi: " + e.getMessage());
            continue; // e.g. no ALSA sequencer on this machine
        }
        entry->inProbe->setErrorCallback(&ErrorSink::callback, &entry->inErrors);
        entry->outProbe->setErrorCallback(&ErrorSink::callback, &entry->outErrors);
        apis.push_back(std::move(entry));
    }
}

RtMidiBackend::~RtMidiBackend()
{
    closeInput();
    closeOutput();
}

std::vector<std::string> RtMidiBackend::apiNames() const
{
    m_impl->start();
    std::vector<std::string> names;
    for (const auto& a : m_impl->apis)
        names.push_back(RtMidi::getApiName(a->api));
    return names;
}

int RtMidiBackend::inputCount()
{
    m_impl->scan(true);
    return static_cast<int>(m_impl->inputs.size());
}

int RtMidiBackend::outputCount()
{
    m_impl->scan(false);
    return static_cast<int>(m_impl->outputs.size());
}

int RtMidiBackend::inputName(int index, std::string& name)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_impl->inputs.size())
        return kBadDeviceId;
    const auto port = m_impl->inputs[static_cast<std::size_t>(index)];
    auto& api = *m_impl->apis[port.api];
    api.inErrors.code = 0;
    try {
        name = api.inProbe->getPortName(port.number);
    } catch (const RtMidiError& e) {
        return codeOf(e.getType());
    }
    return name.empty() && api.inErrors.code != 0 ? api.inErrors.code : 0;
}

int RtMidiBackend::outputName(int index, std::string& name)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_impl->outputs.size())
        return kBadDeviceId;
    const auto port = m_impl->outputs[static_cast<std::size_t>(index)];
    auto& api = *m_impl->apis[port.api];
    api.outErrors.code = 0;
    try {
        name = api.outProbe->getPortName(port.number);
    } catch (const RtMidiError& e) {
        return codeOf(e.getType());
    }
    return name.empty() && api.outErrors.code != 0 ? api.outErrors.code : 0;
}

int RtMidiBackend::openInput(int index, MidiInputQueue& queue)
{
    closeInput();
    if (index < 0 || static_cast<std::size_t>(index) >= m_impl->inputs.size())
        return kBadDeviceId;
    const auto port = m_impl->inputs[static_cast<std::size_t>(index)];
    try {
        auto in = std::make_unique<RtMidiIn>(m_impl->apis[port.api]->api, m_impl->clientName);
        m_impl->inErrors.code = 0;
        in->setErrorCallback(&ErrorSink::callback, &m_impl->inErrors);
        in->setBufferSize(MidiInputQueue::kMaxSysexBytes, 4); // sysex buffers where the API has them
        in->ignoreTypes(false, false, true); // keep sysex and time code; drop active sensing
        m_impl->queue = &queue;
        m_impl->framer.reset();
        in->setCallback(&Impl::onInput, m_impl.get());
        in->openPort(port.number, m_impl->clientName + " Input");
        if (m_impl->inErrors.code != 0 || !in->isPortOpen()) {
            m_impl->queue = nullptr;
            return m_impl->inErrors.code != 0 ? m_impl->inErrors.code : kUnspecified;
        }
        m_impl->in = std::move(in);
    } catch (const RtMidiError& e) {
        m_impl->queue = nullptr;
        return codeOf(e.getType());
    }
    return 0;
}

int RtMidiBackend::startInput()
{
    if (!m_impl->in)
        return kNotOpen;
    m_impl->startTime = steadyMs();
    m_impl->running = true;
    return 0;
}

void RtMidiBackend::stopInput()
{
    m_impl->running = false;
}

void RtMidiBackend::closeInput()
{
    m_impl->running = false;
    closeRtMidiInput(m_impl->in);
    m_impl->queue = nullptr;
}

int RtMidiBackend::openOutput(int index)
{
    closeOutput();
    if (index < 0 || static_cast<std::size_t>(index) >= m_impl->outputs.size())
        return kBadDeviceId;
    const auto port = m_impl->outputs[static_cast<std::size_t>(index)];
    try {
        auto out = std::make_unique<RtMidiOut>(m_impl->apis[port.api]->api, m_impl->clientName);
        m_impl->outErrors.code = 0;
        out->setErrorCallback(&ErrorSink::callback, &m_impl->outErrors);
        out->openPort(port.number, m_impl->clientName + " Output");
        if (m_impl->outErrors.code != 0 || !out->isPortOpen())
            return m_impl->outErrors.code != 0 ? m_impl->outErrors.code : kUnspecified;
        m_impl->out = std::move(out);
    } catch (const RtMidiError& e) {
        return codeOf(e.getType());
    }
    return 0;
}

void RtMidiBackend::closeOutput()
{
    if (m_impl->out) {
        try {
            m_impl->out->closePort();
        } catch (const RtMidiError&) {
        }
        m_impl->out.reset();
    }
}

int RtMidiBackend::sendShort(std::uint32_t word)
{
    if (!m_impl->out)
        return kNotOpen;
    const auto status = static_cast<std::uint8_t>(word & 0xFF);
    const unsigned char bytes[3] = {status, static_cast<unsigned char>((word >> 8) & 0x7F),
                                    static_cast<unsigned char>((word >> 16) & 0x7F)};
    m_impl->outErrors.code = 0;
    try {
        m_impl->out->sendMessage(bytes, static_cast<std::size_t>(shortMessageLength(status)));
    } catch (const RtMidiError& e) {
        return codeOf(e.getType());
    }
    return m_impl->outErrors.code;
}

int RtMidiBackend::sendLong(std::span<const std::uint8_t> bytes)
{
    if (!m_impl->out)
        return kNotOpen;
    if (bytes.empty() || bytes.size() > kLongestBlock)
        return 11;
    m_impl->outErrors.code = 0;
    try {
        m_impl->out->sendMessage(bytes.data(), bytes.size());
    } catch (const RtMidiError& e) {
        return codeOf(e.getType());
    }
    return m_impl->outErrors.code;
}

std::size_t RtMidiBackend::maxLongMessage() const
{
    return kLongestBlock;
}

} // namespace toneloft
