#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace toneloft::synth {

class FmInstrument;

// An FmInstrument heard through an audio device: RtAudio calls back for each
// buffer and the instrument renders into it (mono, copied to both channels).
// No device, or one that fails, leaves the program silent with the reason in
// error(); nothing here shows a message.
class AudioOutput {
public:
    struct Device {
        unsigned id = 0;
        std::string name;
        bool isDefault = false;
    };

    AudioOutput();
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Output devices of an audio system ("jack", "alsa", "pulse"; "" for the
    // first that works).
    static std::vector<Device> devices(const std::string& api = {});

    // Starts playing the instrument on a device (the default one when none is
    // given); clientName names the JACK client and its ports. The instrument
    // is set to the device's sample rate and must outlive the stream.
    bool open(FmInstrument& instrument, const std::string& api = {}, std::optional<unsigned> device = {},
              const std::string& clientName = "Toneloft", unsigned sampleRate = 48000);
    void close();

    bool isOpen() const;
    const std::string& error() const { return m_error; }
    std::string apiName() const;
    std::string deviceName() const { return m_deviceName; }
    unsigned sampleRate() const { return m_sampleRate; }

private:
    struct Stream;
    std::unique_ptr<Stream> m_stream;
    std::string m_error;
    std::string m_deviceName;
    unsigned m_sampleRate = 0;
};

} // namespace toneloft::synth
