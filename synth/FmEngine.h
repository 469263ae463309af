#pragma once

#include "synth/FmPatch.h"
#include "synth/FmVoice.h"
#include "synth/Lfo.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace toneloft::synth {

// A 16-note, 6-operator FM instrument playing one DX7 voice. Single-threaded:
// the caller renders and sends events from one thread (see SynthEventQueue for
// feeding it from another). render() neither allocates nor locks.
class FmEngine {
public:
    static constexpr int kVoices = 16;
    // Instrument defaults of the controllers.
    static constexpr double kBendRangeSemitones = 2.0;
    static constexpr int kWheelRange = 99; // to pitch modulation

    explicit FmEngine(double sampleRate = 48000.0);

    void setSampleRate(double sampleRate);
    double sampleRate() const { return m_sampleRate; }

    // The 155 unpacked bytes; sounding notes keep sounding with the new voice.
    void loadVoice(std::span<const std::uint8_t> voice);
    // Parameter 0..154 of the unpacked layout, or 155 for the operator on/off
    // mask (bit 5 = operator 1). Applies to sounding notes.
    void setParameter(int number, int value);
    const Patch& patch() const { return m_patch; }

    void noteOn(int key, int velocity); // velocity 0 is a note-off
    void noteOff(int key);
    void setSustain(bool down);
    void setPitchBend(int value);  // -8192..8191
    void setModWheel(int value);   // 0..127
    // Channel controllers: 1 wheel, 64 sustain, 120 sound off, 123 notes off.
    void controlChange(int controller, int value);
    void allNotesOff();
    void allSoundOff();

    // Writes frames of mono sound (full scale 1.0) to out.
    void render(float* out, std::size_t frames);

    int activeVoices() const;

private:
    void configureLfo();
    void renderBlock(float* out, int frames);

    Patch m_patch;
    std::array<FmVoice, kVoices> m_voices{};
    Lfo m_lfo;
    double m_sampleRate = 48000.0;
    std::uint64_t m_noteCounter = 0;
    int m_bend = 0;
    int m_wheel = 0;
    bool m_sustain = false;
};

} // namespace toneloft::synth
