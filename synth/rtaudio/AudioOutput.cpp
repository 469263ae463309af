#include "synth/rtaudio/AudioOutput.h"

#include "synth/FmInstrument.h"

#include <rtaudio/RtAudio.h>

#include <algorithm>
#include <array>

namespace toneloft::synth {

namespace {

RtAudio::Api apiOf(const std::string& name)
{
    if (name == "jack")
        return RtAudio::UNIX_JACK;
    if (name == "alsa")
        return RtAudio::LINUX_ALSA;
    if (name == "pulse")
        return RtAudio::LINUX_PULSE;
    return RtAudio::UNSPECIFIED;
}

// RtAudio reports some failures by printing them; they are ours to report.
void quietErrors(RtAudioError::Type, const std::string&) {}

constexpr unsigned kChannels = 2;
constexpr unsigned kMaxFrames = 8192;

} // namespace

struct AudioOutput::Stream {
    explicit Stream(RtAudio::Api api) : audio(api) { audio.showWarnings(false); }
    RtAudio audio;
    FmInstrument* instrument = nullptr;
    std::array<float, kMaxFrames> mono{};

    static int callback(void* output, void*, unsigned frames, double, RtAudioStreamStatus, void* user)
    {
        auto* self = static_cast<Stream*>(user);
        auto* out = static_cast<float*>(output);
        for (unsigned done = 0; done < frames;) {
            const unsigned n = std::min(frames - done, kMaxFrames);
            self->instrument->render(self->mono.data(), n);
            for (unsigned i = 0; i < n; ++i)
                for (unsigned c = 0; c < kChannels; ++c)
                    out[(done + i) * kChannels + c] = self->mono[i];
            done += n;
        }
        return 0;
    }
};

AudioOutput::AudioOutput() = default;

AudioOutput::~AudioOutput()
{
    close();
}

std::vector<AudioOutput::Device> AudioOutput::devices(const std::string& api)
{
    std::vector<Device> list;
    try {
        RtAudio audio(apiOf(api));
        audio.showWarnings(false);
        const unsigned count = audio.getDeviceCount();
        const unsigned fallback = count > 0 ? audio.getDefaultOutputDevice() : 0;
        for (unsigned i = 0; i < count; ++i) {
            const RtAudio::DeviceInfo info = audio.getDeviceInfo(i);
            if (info.probed && info.outputChannels > 0)
                list.push_back({i, info.name, info.isDefaultOutput || i == fallback});
        }
    } catch (const RtAudioError&) {
        list.clear();
    }
    return list;
}

bool AudioOutput::open(FmInstrument& instrument, const std::string& api, std::optional<unsigned> device,
                       const std::string& clientName, unsigned sampleRate)
{
    close();
    m_error.clear();
    try {
        auto stream = std::make_unique<Stream>(apiOf(api));
        if (stream->audio.getDeviceCount() == 0) {
            m_error = "no audio output device";
            return false;
        }
        RtAudio::StreamParameters params;
        params.deviceId = device.value_or(stream->audio.getDefaultOutputDevice());
        params.nChannels = kChannels;
        const RtAudio::DeviceInfo info = stream->audio.getDeviceInfo(params.deviceId);
        if (info.outputChannels < kChannels) {
            m_error = "the device " + info.name + " has no stereo output";
            return false;
        }
        // The rate asked for if the device has it, else the device's own.
        unsigned rate = info.preferredSampleRate != 0 ? info.preferredSampleRate : sampleRate;
        if (std::find(info.sampleRates.begin(), info.sampleRates.end(), sampleRate) != info.sampleRates.end())
            rate = sampleRate;
        RtAudio::StreamOptions options;
        options.streamName = clientName;
        unsigned frames = 256;
        stream->instrument = &instrument;
        instrument.setSampleRate(rate);
        stream->audio.openStream(&params, nullptr, RTAUDIO_FLOAT32, rate, &frames, &Stream::callback, stream.get(),
                                 &options, &quietErrors);
        m_sampleRate = stream->audio.getStreamSampleRate();
        if (m_sampleRate != 0 && m_sampleRate != rate)
            instrument.setSampleRate(m_sampleRate);
        stream->audio.startStream();
        m_deviceName = info.name;
        m_stream = std::move(stream);
        return true;
    } catch (const RtAudioError& e) {
        m_error = e.getMessage();
    }
    return false;
}

void AudioOutput::close()
{
    if (!m_stream)
        return;
    try {
        if (m_stream->audio.isStreamRunning())
            m_stream->audio.stopStream();
        if (m_stream->audio.isStreamOpen())
            m_stream->audio.closeStream();
    } catch (const RtAudioError&) {
        // Closing a stream that already failed: nothing more to do.
    }
    m_stream.reset();
}

bool AudioOutput::isOpen() const
{
    return m_stream && m_stream->audio.isStreamOpen();
}

std::string AudioOutput::apiName() const
{
    if (!m_stream)
        return {};
    return RtAudio::getApiName(m_stream->audio.getCurrentApi());
}

} // namespace toneloft::synth
