// toneloft-dx7: the virtual DX7 on real MIDI ports, for any MIDI tool to talk to,
// playing what it receives on audio ports ("NAME Audio" under JACK) unless
// --no-audio. Prints one line per thing it does ("applied parameter 134 21")
// on standard output. Typing "bank" on standard input transmits its bank,
// "quit" ends it.

#include "midi/MidiInputQueue.h"
#include "midi/VirtualDx7.h"
#include "midi/rtmidi/RtMidiVirtualPorts.h"
#include "synth/FmInstrument.h"
#include "synth/rtaudio/AudioOutput.h"

#include <atomic>
#include <chrono>
#include <algorithm>
#include <csignal>
#include <deque>
#include <span>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace toneloft;

std::atomic<bool> g_stop{false};

void onSignal(int)
{
    g_stop = true;
}

void usage()
{
    std::cout << "usage: toneloft-dx7 [--channel 1-16] [--api jack|alsa] [--name NAME] [--no-audio]\n";
}

void report(const VirtualDx7::Applied& a)
{
    using Kind = VirtualDx7::Applied::Kind;
    switch (a.kind) {
    case Kind::Voice: std::cout << "applied voice " << a.text << '\n'; break;
    case Kind::Bank: std::cout << "applied bank " << a.text << '\n'; break;
    case Kind::Parameter: std::cout << "applied parameter " << a.parameter << ' ' << a.value << '\n'; break;
    case Kind::Refused: std::cout << "refused " << a.text << '\n'; break;
    case Kind::Note: std::cout << "note " << a.value << '\n'; break;
    case Kind::SentVoice: std::cout << "sent voice\n"; break;
    case Kind::SentBank: std::cout << "sent bank\n"; break;
    }
    std::cout.flush();
}

// What the instrument sends, paced: a large message leaves only when the one
// before it has had its time on the wire (4,096 bytes a second; JACK drops
// large messages sent back to back). The main loop sends when due and goes on
// reading input meanwhile. A reply equal to one still waiting is not queued
// again: a burst of identical requests is answered once.
class Outbox {
public:
    explicit Outbox(RtMidiVirtualPorts& ports) : m_ports(ports) {}

    void queue(ByteString message)
    {
        for (const auto& waiting : m_waiting)
            if (waiting == message)
                return;
        m_waiting.push_back(std::move(message));
    }

    // Sends what is due; returns how long until the next one is (or a default wait).
    std::chrono::milliseconds sendDue()
    {
        using namespace std::chrono;
        while (!m_waiting.empty()) {
            const ByteString& next = m_waiting.front();
            const auto now = steady_clock::now();
            if (next.size() > kPacedSize && now < m_nextLarge)
                return duration_cast<milliseconds>(m_nextLarge - now) + milliseconds(1);
            const auto* data = reinterpret_cast<const std::uint8_t*>(next.data());
            m_ports.send(std::span<const std::uint8_t>(data, next.size()));
            if (next.size() > kPacedSize)
                m_nextLarge = steady_clock::now() + milliseconds(next.size() * 1000 / 4096 + 1);
            m_waiting.pop_front();
        }
        return milliseconds(50);
    }

private:
    static constexpr std::size_t kPacedSize = 256;
    RtMidiVirtualPorts& m_ports;
    std::deque<ByteString> m_waiting;
    std::chrono::steady_clock::time_point m_nextLarge{};
};

} // namespace

int main(int argc, char** argv)
{
    int channel = 1;
    std::string api;
    std::string name = VirtualDx7::kDeviceName;
    bool withAudio = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--channel" && hasValue) {
            try {
                channel = std::stoi(argv[++i]);
            } catch (const std::exception&) {
                channel = 0;
            }
        } else if (arg == "--api" && hasValue) {
            api = argv[++i];
        } else if (arg == "--name" && hasValue) {
            name = argv[++i];
        } else if (arg == "--no-audio") {
            withAudio = false;
        } else {
            usage();
            return arg == "--help" ? 0 : 2;
        }
    }
    if (channel < 1 || channel > 16) {
        usage();
        return 2;
    }

    VirtualDx7 dx7;
    dx7.setChannel(channel - 1);
    MidiInputQueue queue;
    RtMidiVirtualPorts ports;
    if (!ports.open(api, name, name, queue)) {
        std::cerr << "toneloft-dx7: " << ports.error() << '\n';
        return 1;
    }
    synth::FmInstrument instrument;
    synth::AudioOutput audio;
    if (withAudio) {
        if (audio.open(instrument, api, {}, name + " Audio")) {
            dx7.setInstrument(&instrument);
            std::cout << "audio on " << audio.apiName() << ", " << audio.deviceName() << ", " << audio.sampleRate()
                      << " Hz\n";
        } else {
            std::cout << "no audio: " << audio.error() << '\n';
        }
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    std::mutex commandsMutex;
    std::vector<std::string> commands;
    std::thread console([&] {
        std::string line;
        while (!g_stop && std::getline(std::cin, line)) {
            std::lock_guard lock(commandsMutex);
            commands.push_back(line);
        }
    });
    console.detach(); // a blocked read must not hold up the exit

    std::cout << "ready " << name << " on " << ports.apiName() << ", channel " << channel << '\n';
    std::cout.flush();

    Outbox outbox(ports);
    std::size_t reported = 0;
    while (!g_stop) {
        std::vector<std::string> pending;
        {
            std::lock_guard lock(commandsMutex);
            pending.swap(commands);
        }
        for (const auto& c : pending) {
            if (c == "bank")
                outbox.queue(dx7.transmitBank());
            else if (c == "quit")
                g_stop = true;
        }
        const auto wait = std::min(outbox.sendDue(), std::chrono::milliseconds(50));
        if (auto event = queue.waitPop(wait)) {
            if (event->kind == MidiEventKind::LongData) {
                for (auto& reply : dx7.receive(event->bytes))
                    outbox.queue(std::move(reply));
            } else if (event->kind == MidiEventKind::ShortData) {
                dx7.receiveShort(event->word);
            } else if (event->kind == MidiEventKind::LongError) {
                std::cout << "refused broken sysex of " << event->bytes.size() << " bytes\n";
            }
        }
        const auto& applied = dx7.applied();
        for (; reported < applied.size(); ++reported)
            report(applied[reported]);
    }
    dx7.setInstrument(nullptr);
    audio.close();
    ports.close();
    return 0;
}
