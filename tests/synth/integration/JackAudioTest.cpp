// toneloft-dx7 on a JACK server (started by run_jack_test.sh): a note sent to
// its MIDI input comes back as sound on its audio ports, read by a JACK
// client of the test's own.
#include <jack/jack.h>
#include <jack/midiport.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kCapacity = 48000 * 10;

// The test's JACK client: one MIDI output that sends queued messages, two
// audio inputs recorded into a fixed buffer (left channel kept, right summed
// into a level).
struct Listener {
    jack_client_t* client = nullptr;
    jack_port_t* midiOut = nullptr;
    std::array<jack_port_t*, 2> audioIn{};
    std::vector<float> left = std::vector<float>(kCapacity);
    std::atomic<std::size_t> recorded{0};
    std::atomic<double> rightEnergy{0.0};
    std::atomic<int> pendingStatus{-1};
    std::atomic<int> pendingData1{0};
    std::atomic<int> pendingData2{0};

    static int process(jack_nframes_t frames, void* arg)
    {
        auto* self = static_cast<Listener*>(arg);
        void* midi = jack_port_get_buffer(self->midiOut, frames);
        jack_midi_clear_buffer(midi);
        const int status = self->pendingStatus.exchange(-1);
        if (status >= 0) {
            const std::array<jack_midi_data_t, 3> message{static_cast<jack_midi_data_t>(status),
                                                          static_cast<jack_midi_data_t>(self->pendingData1.load()),
                                                          static_cast<jack_midi_data_t>(self->pendingData2.load())};
            jack_midi_event_write(midi, 0, message.data(), message.size());
        }
        const auto* l = static_cast<const float*>(jack_port_get_buffer(self->audioIn[0], frames));
        const auto* r = static_cast<const float*>(jack_port_get_buffer(self->audioIn[1], frames));
        std::size_t at = self->recorded.load();
        double energy = 0.0;
        for (jack_nframes_t i = 0; i < frames && at < kCapacity; ++i, ++at) {
            self->left[at] = l[i];
            energy += static_cast<double>(r[i]) * r[i];
        }
        self->rightEnergy.store(self->rightEnergy.load() + energy);
        self->recorded.store(at);
        return 0;
    }

    void send(int status, int data1, int data2)
    {
        pendingData1 = data1;
        pendingData2 = data2;
        pendingStatus = status;
        for (int i = 0; i < 200 && pendingStatus.load() >= 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    // Records for a while and returns what the left port carried meanwhile.
    std::vector<float> record(double seconds)
    {
        const std::size_t from = recorded.load();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        const std::size_t to = recorded.load();
        return {left.begin() + static_cast<std::ptrdiff_t>(from), left.begin() + static_cast<std::ptrdiff_t>(to)};
    }
};

double rms(const std::vector<float>& x)
{
    double sum = 0.0;
    for (const float v : x)
        sum += static_cast<double>(v) * v;
    return x.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(x.size()));
}

double zeroCrossingHz(const std::vector<float>& x, double rate)
{
    double first = -1.0;
    double last = -1.0;
    int count = 0;
    for (std::size_t i = 1; i < x.size(); ++i) {
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) {
            const double t = static_cast<double>(i - 1) + x[i - 1] / (x[i - 1] - x[i]);
            if (first < 0.0)
                first = t;
            else
                ++count;
            last = t;
        }
    }
    return count > 0 ? count * rate / (last - first) : 0.0;
}

// The one port of the given type and direction whose name starts with prefix.
std::string findPort(jack_client_t* client, const std::string& prefix, const char* type, unsigned long flags,
                     int index = 0)
{
    const char** ports = jack_get_ports(client, nullptr, type, flags);
    std::vector<std::string> found;
    for (int i = 0; ports != nullptr && ports[i] != nullptr; ++i)
        if (std::string(ports[i]).rfind(prefix, 0) == 0)
            found.emplace_back(ports[i]);
    jack_free(ports);
    return index < static_cast<int>(found.size()) ? found[static_cast<std::size_t>(index)] : std::string();
}

TEST(AudioOverJack, ANoteToToneloftDx7SoundsOnItsAudioPorts)
{
    Listener listener;
    listener.client = jack_client_open("toneloft-audio-test", JackNoStartServer, nullptr);
    ASSERT_NE(listener.client, nullptr);
    listener.midiOut = jack_port_register(listener.client, "midi_out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    listener.audioIn[0] = jack_port_register(listener.client, "in_1", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    listener.audioIn[1] = jack_port_register(listener.client, "in_2", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    jack_set_process_callback(listener.client, &Listener::process, &listener);
    ASSERT_EQ(jack_activate(listener.client), 0);
    const double rate = jack_get_sample_rate(listener.client);

    const std::string dx7Midi = findPort(listener.client, "Toneloft Virtual DX7", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput);
    const std::string dx7Left = findPort(listener.client, "Toneloft Virtual DX7 Audio:", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    const std::string dx7Right = findPort(listener.client, "Toneloft Virtual DX7 Audio:", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 1);
    ASSERT_FALSE(dx7Midi.empty());
    ASSERT_FALSE(dx7Left.empty());
    ASSERT_FALSE(dx7Right.empty());
    ASSERT_EQ(jack_connect(listener.client, jack_port_name(listener.midiOut), dx7Midi.c_str()), 0);
    ASSERT_EQ(jack_connect(listener.client, dx7Left.c_str(), jack_port_name(listener.audioIn[0])), 0);
    ASSERT_EQ(jack_connect(listener.client, dx7Right.c_str(), jack_port_name(listener.audioIn[1])), 0);

    EXPECT_EQ(rms(listener.record(0.3)), 0.0) << "silent before the note";

    listener.send(0x90, 69, 100); // INIT VOICE, A4
    listener.record(0.2);
    const auto held = listener.record(0.5);
    EXPECT_GT(rms(held), 0.1);
    EXPECT_NEAR(zeroCrossingHz(held, rate), 440.0, 1.0);
    EXPECT_GT(listener.rightEnergy.load(), 0.0);

    listener.send(0x80, 69, 0);
    listener.record(0.3);
    EXPECT_EQ(rms(listener.record(0.3)), 0.0) << "silent after the release";

    jack_deactivate(listener.client);
    jack_client_close(listener.client);
}

} // namespace
