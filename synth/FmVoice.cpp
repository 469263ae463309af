#include "synth/FmVoice.h"

#include "synth/Algorithms.h"
#include "synth/FmTables.h"

#include <algorithm>
#include <cmath>

// The inner loops are built twice on x86-64, once for processors with AVX2 and
// FMA (eight lanes) and once for any; the loader picks one.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define TONELOFT_SYNTH_KERNEL __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define TONELOFT_SYNTH_KERNEL
#endif

namespace toneloft::synth {

namespace {

// A full-scale operator output moves the phase of the operator it modulates
// by four cycles.
constexpr float kModulationCycles = 4.0f;
// Below this an operator's amplitude (about -94 dB) is not computed.
constexpr float kSilentGain = 2.0e-5f;

// sin(2 pi y) for |y| <= 1/4: odd polynomial fitted for the least largest
// error, 6e-7 (-124 dB).
inline float sineQuarter(float y)
{
    const float y2 = y * y;
    return y * (6.2831640f + y2 * (-41.337143f + y2 * (81.340773f + y2 * -70.993467f)));
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

// One operator over a block: out = sin(phase + modScale * mod) * gain.
// Written for the vectoriser.
TONELOFT_SYNTH_KERNEL void renderOperator(float* __restrict out, const float* __restrict mod, float modScale,
                                          const float* __restrict gain, std::uint32_t phase, std::uint32_t inc,
                                          int frames)
{
    for (int i = 0; i < frames; ++i) {
        const auto n = static_cast<std::uint32_t>(i);
        const std::uint32_t p = ((phase + inc * n) >> 8) + modulationPhase(mod[i] * modScale);
        out[i] = sinePhase24(p & 0xFFFFFFu) * gain[i];
    }
}

// The same without a modulator.
TONELOFT_SYNTH_KERNEL void renderCarrierOnly(float* __restrict out, const float* __restrict gain,
                                             std::uint32_t phase, std::uint32_t inc, int frames)
{
    for (int i = 0; i < frames; ++i) {
        const auto n = static_cast<std::uint32_t>(i);
        const std::uint32_t p = (phase + inc * n) >> 8;
        out[i] = sinePhase24(p & 0xFFFFFFu) * gain[i];
    }
}

// The amplitude of each sample of a block from g0 (before it) to g1 (its last
// sample): geometric, so decays stay straight lines in dB however fast, and
// linear from or to silence.
TONELOFT_SYNTH_KERNEL void gainRamp(float* ramp, float g0, float g1, int frames)
{
    if (g0 == g1) {
        std::fill_n(ramp, frames, g1); // a held level: most blocks
    } else if (g0 > 1e-7f && g1 > 1e-7f && g0 != g1) {
        const float r = std::pow(g1 / g0, 1.0f / static_cast<float>(frames));
        // Eight interleaved chains rather than one long one.
        float g = g0;
        const int head = std::min(frames, 8);
        for (int i = 0; i < head; ++i)
            ramp[i] = g *= r;
        const float r2 = r * r;
        const float r8 = r2 * r2 * r2 * r2;
        for (int i = head; i < frames; ++i)
            ramp[i] = ramp[i - 8] * r8;
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
    // The firmware's table: floor(32 * log2(256 / (256 - amount))).
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (std::size_t a = 0; a < t.size(); ++a)
            t[a] = std::floor(32.0 * std::log2(256.0 / (256.0 - static_cast<double>(a))));
        return t;
    }();
    return table[static_cast<std::size_t>(std::min(amount, 255))] * (1 << std::min(sensitivity, 3));
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

bool FmVoice::prepare(const Patch& patch, const BlockControl& control, int frames)
{
    m_frames = std::clamp(frames, 0, kMaxBlock);
    if (!m_active || m_frames == 0)
        return false;
    const double seconds = m_frames / m_sampleRate;
    const double octaves = m_pitch.advance(seconds) / 12.0 + control.pitchOctaves;
    const double pitchFactor = std::exp2(octaves);
    const double nyquist = m_sampleRate * 0.5;
    for (std::size_t i = 0; i < 6; ++i) {
        Operator& op = m_ops[i];
        const double attenuation = op.envelope.advance(seconds) + ampModSteps(control.ampMod, patch.ops[i].ampModSens);
        const float gain = patch.operatorOn(static_cast<int>(i))
                               ? static_cast<float>(std::exp2(-std::min(attenuation, 4095.0) / 256.0))
                               : 0.0f;
        m_silent[i] = op.gain < kSilentGain && gain < kSilentGain;
        if (!m_silent[i])
            gainRamp(m_gain[i].data(), op.gain, gain, m_frames);
        op.gain = gain;
        const double hz = std::min(op.fixed ? op.baseHz : op.baseHz * pitchFactor, nyquist);
        m_inc[i] = static_cast<std::uint32_t>(hz / m_sampleRate * 4294967296.0);
    }
    return true;
}

bool FmVoice::feedbackJob(const Patch& patch, FeedbackJob& job)
{
    const Algorithm& alg = algorithm(patch.algorithm);
    if (patch.feedback == 0)
        return false;
    // The loop runs from the receiving operator down to the one fed back:
    // one operator, or operator 6 down to 5 or 4 (each modulating the next).
    const int stages = alg.feedbackTo - alg.feedbackFrom + 1;
    bool anySound = false;
    for (int k = 0; k < stages; ++k) {
        const auto o = static_cast<std::size_t>(alg.feedbackTo - k);
        job.phase[static_cast<std::size_t>(k)] = m_ops[o].phase;
        job.inc[static_cast<std::size_t>(k)] = m_inc[o];
        if (m_silent[o])
            std::fill_n(m_gain[o].begin(), m_frames, 0.0f);
        anySound = anySound || !m_silent[o];
        job.gain[static_cast<std::size_t>(k)] = m_gain[o].data();
        job.out[static_cast<std::size_t>(k)] = m_out[o].data();
    }
    job.history = &m_feedback;
    if (!anySound)
        m_feedback = {};
    return anySound;
}

namespace {

// Feedback operators (and the operators of a multi-operator loop) of many
// notes side by side: one note's samples depend on each other, different
// notes' do not, so the lanes run in step.
template <std::size_t Stages>
TONELOFT_SYNTH_KERNEL void renderFeedbackLanes(std::span<const FmVoice::FeedbackJob> jobs, float scale, int frames)
{
    constexpr std::size_t kLanes = 16;
    constexpr auto kBlock = static_cast<std::size_t>(FmVoice::kMaxBlock);
    for (std::size_t first = 0; first < jobs.size(); first += kLanes) {
        const std::size_t count = std::min(kLanes, jobs.size() - first);
        alignas(32) std::array<std::array<std::uint32_t, kLanes>, Stages> phase{};
        alignas(32) std::array<std::array<std::uint32_t, kLanes>, Stages> inc{};
        alignas(32) std::array<float, kLanes> y1{};
        alignas(32) std::array<float, kLanes> y2{};
        // Left uninitialised: every lane's gain is written below (unused lanes
        // get silence), and out is written before it is read.
        alignas(32) std::array<std::array<std::array<float, kLanes>, kBlock>, Stages> gain;
        alignas(32) std::array<std::array<std::array<float, kLanes>, kBlock>, Stages> out;
        for (std::size_t l = 0; l < count; ++l) {
            const FmVoice::FeedbackJob& job = jobs[first + l];
            for (std::size_t k = 0; k < Stages; ++k) {
                phase[k][l] = job.phase[k];
                inc[k][l] = job.inc[k];
                for (int s = 0; s < frames; ++s)
                    gain[k][static_cast<std::size_t>(s)][l] = job.gain[k][s];
            }
            y1[l] = (*job.history)[0];
            y2[l] = (*job.history)[1];
        }
        for (std::size_t l = count; l < kLanes; ++l)
            for (std::size_t k = 0; k < Stages; ++k)
                for (int s = 0; s < frames; ++s)
                    gain[k][static_cast<std::size_t>(s)][l] = 0.0f;
        for (std::size_t s = 0; s < static_cast<std::size_t>(frames); ++s) {
            for (std::size_t l = 0; l < kLanes; ++l) {
                float m = (y1[l] + y2[l]) * scale;
                float y = 0.0f;
                for (std::size_t k = 0; k < Stages; ++k) {
                    const std::uint32_t p = (phase[k][l] >> 8) + modulationPhase(m);
                    y = sinePhase24(p & 0xFFFFFFu) * gain[k][s][l];
                    out[k][s][l] = y;
                    m = y * kModulationCycles;
                    phase[k][l] += inc[k][l];
                }
                y2[l] = y1[l];
                y1[l] = y;
            }
        }
        for (std::size_t l = 0; l < count; ++l) {
            const FmVoice::FeedbackJob& job = jobs[first + l];
            for (std::size_t k = 0; k < Stages; ++k)
                for (int s = 0; s < frames; ++s)
                    job.out[k][s] = out[k][static_cast<std::size_t>(s)][l];
            *job.history = {y1[l], y2[l]};
        }
    }
}

} // namespace

void FmVoice::renderFeedback(std::span<const FeedbackJob> jobs, int algorithmNumber, int feedback, int frames)
{
    if (jobs.empty() || feedback <= 0)
        return;
    const Algorithm& alg = algorithm(algorithmNumber);
    const float scale = std::ldexp(1.0f, feedback - 7);
    switch (alg.feedbackTo - alg.feedbackFrom) {
    case 0: renderFeedbackLanes<1>(jobs, scale, frames); break;
    case 1: renderFeedbackLanes<2>(jobs, scale, frames); break;
    default: renderFeedbackLanes<3>(jobs, scale, frames); break;
    }
}

void FmVoice::render(const Patch& patch, const BlockControl& control, float* out, int frames)
{
    if (!prepare(patch, control, frames))
        return;
    FeedbackJob job;
    const bool batched = feedbackJob(patch, job);
    if (batched)
        renderFeedback(std::span(&job, 1), patch.algorithm, patch.feedback, m_frames);
    finish(patch, out, batched);
}

void FmVoice::finish(const Patch& patch, float* out, bool feedbackDone)
{
    const int frames = m_frames;
    const Algorithm& alg = algorithm(patch.algorithm);
    // The operators of the feedback loop were computed apart; the loop is
    // always the highest-numbered operators, so nothing else feeds them.
    const int firstVectorOp = feedbackDone ? alg.feedbackFrom - 1 : 5;
    for (int o = firstVectorOp + 1; o < 6; ++o) {
        const auto oi = static_cast<std::size_t>(o);
        m_ops[oi].phase += m_inc[oi] * static_cast<std::uint32_t>(frames);
    }
    alignas(32) std::array<float, kMaxBlock> mod;
    for (int o = firstVectorOp; o >= 0; --o) {
        const auto oi = static_cast<std::size_t>(o);
        Operator& op = m_ops[oi];
        float* dst = m_out[oi].data();
        const std::uint32_t advance = m_inc[oi] * static_cast<std::uint32_t>(frames);
        if (m_silent[oi]) {
            std::fill_n(dst, frames, 0.0f);
            op.phase += advance;
            if (o == alg.feedbackTo)
                m_feedback = {};
            continue;
        }
        // One modulator (the usual case) is read where it is; several are summed first.
        const float* modIn = nullptr;
        int modulators = 0;
        for (std::size_t m = 0; m < 6; ++m) {
            if ((alg.modulators[oi] & (1u << m)) == 0)
                continue;
            const float* src = m_out[m].data();
            if (modulators == 0) {
                modIn = src;
            } else {
                if (modulators == 1) {
                    std::copy_n(modIn, frames, mod.data());
                    modIn = mod.data();
                }
                for (int s = 0; s < frames; ++s)
                    mod[static_cast<std::size_t>(s)] += src[s];
            }
            ++modulators;
        }
        if (modIn)
            renderOperator(dst, modIn, kModulationCycles, m_gain[oi].data(), op.phase, m_inc[oi], frames);
        else
            renderCarrierOnly(dst, m_gain[oi].data(), op.phase, m_inc[oi], frames);
        op.phase += advance;
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

} // namespace toneloft::synth
