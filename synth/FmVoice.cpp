#include "synth/FmVoice.h"

#include "synth/Algorithms.h"
#include "synth/FmTables.h"

#include <algorithm>
#include <cmath>

namespace toneloft::synth {

namespace {

// A full-scale operator output moves the phase of the operator it modulates
// by four cycles.
constexpr float kModulationCycles = 4.0f;
// Below this an operator's amplitude (about -94 dB) is not computed.
constexpr float kSilentGain = 2.0e-5f;

// sin(2 pi y) for |y| <= 1/4: odd polynomial, error below 4e-6.
inline float sineQuarter(float y)
{
    const float y2 = y * y;
    return y * (6.2831853f + y2 * (-41.341702f + y2 * (81.605249f + y2 * (-76.705859f + y2 * 42.058694f))));
}

// sin of a phase in 1/2^24 cycle (0 .. 2^24 - 1).
inline float sinePhase24(std::uint32_t p24)
{
    const float x = static_cast<float>(static_cast<std::int32_t>(p24)) * (1.0f / 16777216.0f) - 0.5f;
    float y = x < 0.5f - x ? x : 0.5f - x;
    y = y > -0.5f - x ? y : -0.5f - x;
    return -sineQuarter(y); // sin(2 pi (y + 1/2)) = -sin(2 pi y)
}

// Modulation in cycles -> 1/2^24 cycle, kept well inside the 32-bit range.
inline std::uint32_t modulationPhase(float cycles)
{
    cycles = cycles < 100.0f ? cycles : 100.0f;
    cycles = cycles > -100.0f ? cycles : -100.0f;
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(cycles * 16777216.0f));
}

// One operator over a block: out = sin(phase + mod) * gain. Written for the
// vectoriser.
void renderOperator(float* __restrict out, const float* __restrict mod, const float* __restrict gain,
                    std::uint32_t phase, std::uint32_t inc, int frames)
{
    for (int i = 0; i < frames; ++i) {
        const auto n = static_cast<std::uint32_t>(i);
        const std::uint32_t p = ((phase + inc * n) >> 8) + modulationPhase(mod[i]);
        out[i] = sinePhase24(p & 0xFFFFFFu) * gain[i];
    }
}

// The amplitude of each sample of a block from g0 (before it) to g1 (its last
// sample): geometric, so decays stay straight lines in dB however fast, and
// linear from or to silence.
void gainRamp(float* ramp, float g0, float g1, int frames)
{
    if (g0 > 1e-7f && g1 > 1e-7f && g0 != g1) {
        const float r = std::pow(g1 / g0, 1.0f / static_cast<float>(frames));
        float g = g0;
        for (int i = 0; i < frames; ++i)
            ramp[i] = g *= r;
    } else {
        const float step = (g1 - g0) / static_cast<float>(frames);
        for (int i = 0; i < frames; ++i)
            ramp[i] = g0 + step * static_cast<float>(i + 1);
    }
}

// AM in steps for the LFO's amplitude value 0..255 at sensitivity 0..3.
double ampModSteps(int amount, int sensitivity)
{
    if (amount <= 0 || sensitivity <= 0)
        return 0.0;
    amount = std::min(amount, 255);
    const double am = std::floor(32.0 * std::log2(256.0 / (256.0 - amount)));
    return am * (1 << std::min(sensitivity, 3));
}

int floorDiv3(int n)
{
    return n >= 0 ? n / 3 : -((2 - n) / 3);
}

// Detune step in octaves at a frequency, after measurements on a DX7: wider in
// the bass, narrower in the treble.
double detuneOctavesPerStep(double hz)
{
    const double l = std::max(1.0, std::log2(std::max(hz, 1.0)));
    return 0.0209 * std::exp(-0.396 * l) * l / 7.0;
}

} // namespace

void FmVoice::start(const Patch& patch, int key, int velocity)
{
    const bool fresh = !m_active;
    m_key = key;
    m_velocity = std::clamp(velocity, 1, 127);
    m_active = true;
    m_keyDown = true;
    m_sustained = false;
    setupOperators(patch);
    for (Operator& op : m_ops) {
        if (fresh) {
            op.envelope.reset();
            op.gain = 0.0f;
        }
        if (patch.oscSync)
            op.phase = 0;
        op.envelope.keyOn();
    }
    if (fresh)
        m_feedback = {};
    m_pitch.configure(patch.pitchRates, patch.pitchLevels);
    m_pitch.keyOn();
}

void FmVoice::release()
{
    m_keyDown = false;
    m_sustained = false;
    for (Operator& op : m_ops)
        op.envelope.keyOff();
    m_pitch.keyOff();
}

void FmVoice::stop()
{
    m_active = false;
    m_keyDown = false;
    m_sustained = false;
    for (Operator& op : m_ops) {
        op.envelope.reset();
        op.gain = 0.0f;
    }
    m_feedback = {};
}

void FmVoice::refresh(const Patch& patch)
{
    if (!m_active)
        return;
    setupOperators(patch);
    m_pitch.configure(patch.pitchRates, patch.pitchLevels);
}

void FmVoice::setupOperators(const Patch& patch)
{
    const int key = std::clamp(m_key + patch.transpose - 24, 0, 127);
    const double keyHz = 440.0 * std::exp2((key - 69) / 12.0);
    const int group = floorDiv3(key - 1); // 3-semitone groups; 58..60 share one
    for (std::size_t i = 0; i < 6; ++i) {
        const PatchOperator& p = patch.ops[i];
        Operator& op = m_ops[i];

        // Keyboard level scaling: left of the break point (its own group
        // included) the left curve, right of it the right curve.
        const int bpGroup = floorDiv3(p.breakPoint + 20 - 1);
        const bool left = group <= bpGroup;
        const int depth = left ? p.leftDepth : p.rightDepth;
        const int curve = left ? p.leftCurve : p.rightCurve;
        const int distance = left ? bpGroup - group : group - bpGroup;
        const int scaled = (660 * depth) >> 8;
        const int kls = std::min(127, (scalingCurve(curve == 1 || curve == 2, distance) * scaled) >> 8);
        int attenuation = outputLevelAttenuation(p.outputLevel);
        attenuation += curve < 2 ? kls : -kls; // curves 0 and 1 fall away, 2 and 3 rise
        attenuation = std::clamp(attenuation, 0, 127);
        const int level = std::clamp(2 * attenuation + velocityLevel(m_velocity, p.velocitySens), 4, 255);
        const int rateBoost = (p.rateScaling * std::clamp(key / 3 - 7, 0, 31)) >> 3;
        op.envelope.configure(p.rates, p.levels, rateBoost, level);

        double hz = 0.0;
        if (p.fixed)
            hz = std::pow(10.0, (p.coarse & 3) + p.fine / 100.0);
        else
            hz = keyHz * (p.coarse == 0 ? 0.5 : p.coarse) * (1.0 + p.fine / 100.0);
        hz *= std::exp2((p.detune - 7) * detuneOctavesPerStep(hz));
        op.baseHz = hz;
        op.fixed = p.fixed;
    }
}

void FmVoice::render(const Patch& patch, const BlockControl& control, float* out, int frames)
{
    frames = std::clamp(frames, 0, kMaxBlock);
    if (!m_active || frames == 0)
        return;
    const double seconds = frames / m_sampleRate;
    const double octaves = m_pitch.advance(seconds) / 12.0 + control.pitchOctaves;
    const double pitchFactor = std::exp2(octaves);
    const double nyquist = m_sampleRate * 0.5;

    std::array<bool, 6> silent{};
    std::array<std::uint32_t, 6> inc{};
    for (std::size_t i = 0; i < 6; ++i) {
        Operator& op = m_ops[i];
        const double attenuation = op.envelope.advance(seconds) + ampModSteps(control.ampMod, patch.ops[i].ampModSens);
        const float gain = patch.operatorOn(static_cast<int>(i))
                               ? static_cast<float>(std::exp2(-std::min(attenuation, 4095.0) / 256.0))
                               : 0.0f;
        silent[i] = op.gain < kSilentGain && gain < kSilentGain;
        if (!silent[i])
            gainRamp(m_gain[i].data(), op.gain, gain, frames);
        op.gain = gain;
        const double hz = std::min(op.fixed ? op.baseHz : op.baseHz * pitchFactor, nyquist);
        inc[i] = static_cast<std::uint32_t>(hz / m_sampleRate * 4294967296.0);
    }

    const Algorithm& alg = algorithm(patch.algorithm);
    if (patch.feedback > 0 && alg.feedbackFrom != alg.feedbackTo) {
        renderSerial(patch, frames, silent, inc);
    } else {
        const float fbScale = patch.feedback > 0 ? std::ldexp(1.0f, patch.feedback - 7) : 0.0f;
        alignas(32) std::array<float, kMaxBlock> mod{};
        for (int o = 5; o >= 0; --o) {
            const auto oi = static_cast<std::size_t>(o);
            Operator& op = m_ops[oi];
            float* dst = m_out[oi].data();
            const float* gain = m_gain[oi].data();
            if (silent[oi]) {
                std::fill_n(dst, frames, 0.0f);
                op.phase += inc[oi] * static_cast<std::uint32_t>(frames);
                if (o == alg.feedbackTo)
                    m_feedback = {};
                continue;
            }
            std::fill_n(mod.data(), frames, 0.0f);
            for (std::size_t m = 0; m < 6; ++m) {
                if ((alg.modulators[oi] & (1u << m)) == 0)
                    continue;
                const float* src = m_out[m].data();
                for (int s = 0; s < frames; ++s)
                    mod[static_cast<std::size_t>(s)] += src[s] * kModulationCycles;
            }
            if (o == alg.feedbackTo && fbScale > 0.0f) {
                float y1 = m_feedback[0];
                float y2 = m_feedback[1];
                for (int s = 0; s < frames; ++s) {
                    const float m = mod[static_cast<std::size_t>(s)] + (y1 + y2) * fbScale;
                    const std::uint32_t p = ((op.phase + inc[oi] * static_cast<std::uint32_t>(s)) >> 8) + modulationPhase(m);
                    const float y = sinePhase24(p & 0xFFFFFFu) * gain[s];
                    dst[s] = y;
                    y2 = y1;
                    y1 = y;
                }
                m_feedback = {y1, y2};
            } else {
                renderOperator(dst, mod.data(), gain, op.phase, inc[oi], frames);
            }
            op.phase += inc[oi] * static_cast<std::uint32_t>(frames);
        }
    }

    const auto carrierGain = static_cast<float>(std::exp2(-carrierCompensation(alg.carrierCount)));
    for (std::size_t c = 0; c < 6; ++c) {
        if ((alg.carriers & (1u << c)) == 0)
            continue;
        const float* src = m_out[c].data();
        for (int s = 0; s < frames; ++s)
            out[s] += src[s] * carrierGain;
    }

    if (!m_keyDown && !m_sustained) {
        bool done = true;
        for (std::size_t c = 0; c < 6; ++c) {
            if ((alg.carriers & (1u << c)) != 0 && !m_ops[c].envelope.finished())
                done = false;
        }
        if (done)
            stop();
    }
}

// Algorithms whose feedback loops through several operators: every operator
// one sample at a time, the loop closed through the last two outputs.
void FmVoice::renderSerial(const Patch& patch, int frames, const std::array<bool, 6>& silent,
                           const std::array<std::uint32_t, 6>& inc)
{
    const Algorithm& alg = algorithm(patch.algorithm);
    const float fbScale = std::ldexp(1.0f, patch.feedback - 7);
    const auto from = static_cast<std::size_t>(alg.feedbackFrom);
    for (int s = 0; s < frames; ++s) {
        const auto si = static_cast<std::size_t>(s);
        for (int o = 5; o >= 0; --o) {
            const auto oi = static_cast<std::size_t>(o);
            float m = 0.0f;
            for (std::size_t k = 0; k < 6; ++k) {
                if ((alg.modulators[oi] & (1u << k)) != 0)
                    m += m_out[k][si] * kModulationCycles;
            }
            if (o == alg.feedbackTo)
                m += (m_feedback[0] + m_feedback[1]) * fbScale;
            const std::uint32_t p = ((m_ops[oi].phase + inc[oi] * static_cast<std::uint32_t>(s)) >> 8) + modulationPhase(m);
            m_out[oi][si] = silent[oi] ? 0.0f : sinePhase24(p & 0xFFFFFFu) * m_gain[oi][si];
        }
        m_feedback = {m_out[from][si], m_feedback[0]};
    }
    for (std::size_t o = 0; o < 6; ++o)
        m_ops[o].phase += inc[o] * static_cast<std::uint32_t>(frames);
}

} // namespace toneloft::synth
