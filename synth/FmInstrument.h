#pragma once

#include "synth/FmEngine.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace toneloft::synth {

// The engine shared between two threads: one thread plays it (notes,
// controllers, voices and parameters), another renders it, typically an audio
// callback. What is played goes through a fixed ring of events that render()
// applies before it computes, so neither side allocates or waits. One player
// thread and one render thread; an event that finds the ring full is dropped.
class FmInstrument {
public:
    explicit FmInstrument(double sampleRate = 48000.0);

    // Player side.
    bool noteOn(int key, int velocity);
    bool noteOff(int key);
    bool controlChange(int controller, int value);
    bool pitchBend(int value); // -8192..8191
    bool loadVoice(std::span<const std::uint8_t> voice); // 155 unpacked bytes
    bool setParameter(int number, int value);            // 0..155
    bool allSoundOff();
    // Volume 0..1 applied to the rendered sound.
    void setVolume(float volume) { m_volume.store(volume); }
    float volume() const { return m_volume.load(); }

    // Render side. The rate is set before rendering starts.
    void setSampleRate(double sampleRate) { m_engine.setSampleRate(sampleRate); }
    double sampleRate() const { return m_engine.sampleRate(); }
    void render(float* out, std::size_t frames);
    // Notes sounding after the last render (for the render side's own checks).
    int activeVoices() const { return m_engine.activeVoices(); }

private:
    struct Event {
        enum class Kind : std::uint8_t { NoteOn, NoteOff, Control, Bend, Voice, Parameter, SoundOff };
        Kind kind = Kind::NoteOn;
        int a = 0;
        int b = 0;
        std::array<std::uint8_t, Patch::kSize> voice{};
    };
    static constexpr std::size_t kRing = 256;

    bool post(const Event& event);
    void apply(const Event& event);

    FmEngine m_engine;
    std::unique_ptr<std::array<Event, kRing>> m_ring;
    std::atomic<std::size_t> m_head{0}; // next slot the player writes
    std::atomic<std::size_t> m_tail{0}; // next slot the renderer reads
    std::atomic<float> m_volume{1.0f};
};

} // namespace toneloft::synth
