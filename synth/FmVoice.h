#pragma once

#include "synth/FmPatch.h"
#include "synth/OperatorEnvelope.h"
#include "synth/PitchEnvelope.h"

#include <array>
#include <cstdint>

namespace toneloft::synth {

// What every note shares for one block: modulation from the LFO, the wheels
// and the pitch bend.
struct BlockControl {
    double pitchOctaves = 0.0; // LFO pitch modulation and bend, ratio operators only
    int ampMod = 0;            // 0..255, the LFO's amplitude modulation before AMS
};

// One of the 16 notes: six operators with their envelopes, and the pitch envelope.
class FmVoice {
public:
    static constexpr int kMaxBlock = 64;

    void setSampleRate(double rate) { m_sampleRate = rate; }

    // A new note on this voice; a voice still sounding retriggers from its levels.
    void start(const Patch& patch, int key, int velocity);
    void release();
    // The patch changed under a sounding note.
    void refresh(const Patch& patch);

    // Adds frames (<= kMaxBlock) of sound to out.
    void render(const Patch& patch, const BlockControl& control, float* out, int frames);

    bool active() const { return m_active; }
    bool keyDown() const { return m_keyDown; }
    int key() const { return m_key; }
    bool sustained() const { return m_sustained; }
    // The key is up but the sustain pedal keeps the note sounding.
    void hold()
    {
        m_keyDown = false;
        m_sustained = true;
    }
    std::uint64_t startedAt() const { return m_started; }
    void setStartedAt(std::uint64_t order) { m_started = order; }
    // Silences the voice at once.
    void stop();

private:
    struct Operator {
        OperatorEnvelope envelope;
        std::uint32_t phase = 0;
        double baseHz = 0.0; // without pitch modulation
        bool fixed = false;
        float gain = 0.0f;   // amplitude at the end of the last block
    };

    void setupOperators(const Patch& patch);
    void renderSerial(const Patch& patch, int frames, const std::array<bool, 6>& silent,
                      const std::array<std::uint32_t, 6>& inc);

    std::array<Operator, 6> m_ops{};
    PitchEnvelope m_pitch;
    std::array<float, 2> m_feedback{}; // the looped operator's last two outputs
    alignas(32) std::array<std::array<float, kMaxBlock>, 6> m_out{};  // each operator's output
    alignas(32) std::array<std::array<float, kMaxBlock>, 6> m_gain{}; // each operator's amplitude
    double m_sampleRate = 48000.0;
    std::uint64_t m_started = 0;
    int m_key = 0;      // as played
    int m_velocity = 100;
    bool m_active = false;
    bool m_keyDown = false;
    bool m_sustained = false;
};

} // namespace toneloft::synth
