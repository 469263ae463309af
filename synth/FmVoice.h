#pragma once

#include "synth/FmPatch.h"
#include "synth/OperatorEnvelope.h"
#include "synth/PitchEnvelope.h"

#include <array>
#include <cstdint>
#include <span>

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

    // The same in steps, so that the engine can compute the self-feedback
    // operators of all notes together: prepare() runs the envelopes and
    // pitch (false: nothing to render); feedbackJob() hands out that operator
    // when it is to be computed apart; finish() computes the rest and mixes.
    struct FeedbackJob {
        // Per operator of the loop, from the one receiving the feedback down.
        std::array<std::uint32_t, 3> phase{};
        std::array<std::uint32_t, 3> inc{};
        std::array<const float*, 3> gain{};
        std::array<float*, 3> out{};
        std::array<float, 2>* history = nullptr;
    };
    bool prepare(const Patch& patch, const BlockControl& control, int frames);
    bool feedbackJob(const Patch& patch, FeedbackJob& job);
    void finish(const Patch& patch, float* out, bool feedbackDone);
    static void renderFeedback(std::span<const FeedbackJob> jobs, int algorithm, int feedback, int frames);

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

    std::array<Operator, 6> m_ops{};
    PitchEnvelope m_pitch;
    std::array<float, 2> m_feedback{}; // the looped operator's last two outputs
    alignas(32) std::array<std::array<float, kMaxBlock>, 6> m_out{};  // each operator's output
    alignas(32) std::array<std::array<float, kMaxBlock>, 6> m_gain{}; // each operator's amplitude
    std::array<std::uint32_t, 6> m_inc{};    // phase increments of this block
    std::array<bool, 6> m_silent{};          // operators not computed this block
    int m_frames = 0;
    double m_sampleRate = 48000.0;
    std::uint64_t m_started = 0;
    int m_key = 0;      // as played
    int m_velocity = 100;
    bool m_active = false;
    bool m_keyDown = false;
    bool m_sustained = false;
};

} // namespace toneloft::synth
