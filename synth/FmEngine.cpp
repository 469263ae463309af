#include "synth/FmEngine.h"

#include "synth/FmTables.h"

#include <algorithm>
#include <cmath>

namespace toneloft::synth {

FmEngine::FmEngine(double sampleRate)
{
    const auto init = initVoiceBytes();
    m_patch.decode(init);
    setSampleRate(sampleRate);
    configureLfo();
}

void FmEngine::setSampleRate(double sampleRate)
{
    m_sampleRate = sampleRate > 1000.0 ? sampleRate : 48000.0;
    for (FmVoice& v : m_voices)
        v.setSampleRate(m_sampleRate);
}

void FmEngine::configureLfo()
{
    m_lfo.configure(m_patch.lfoSpeed, m_patch.lfoDelay, m_patch.lfoPitchDepth, m_patch.lfoAmpDepth, m_patch.lfoSync,
                    m_patch.lfoWave);
}

void FmEngine::loadVoice(std::span<const std::uint8_t> voice)
{
    const std::uint8_t mask = m_patch.operatorMask;
    m_patch.decode(voice);
    m_patch.operatorMask = mask;
    configureLfo();
    for (FmVoice& v : m_voices)
        v.refresh(m_patch);
}

void FmEngine::setParameter(int number, int value)
{
    m_patch.setParameter(number, value);
    if (number >= 137 && number <= 142)
        configureLfo();
    else if (number < 145)
        for (FmVoice& v : m_voices)
            v.refresh(m_patch);
}

void FmEngine::noteOn(int key, int velocity)
{
    if (key < 0 || key > 127)
        return;
    if (velocity <= 0) {
        noteOff(key);
        return;
    }
    // A free voice, else the oldest released one, else the oldest of all.
    FmVoice* chosen = nullptr;
    for (FmVoice& v : m_voices) {
        if (!v.active()) {
            chosen = &v;
            break;
        }
    }
    auto oldest = [this](bool releasedOnly) {
        FmVoice* best = nullptr;
        for (FmVoice& v : m_voices) {
            if (releasedOnly && (v.keyDown() || v.sustained()))
                continue;
            if (best == nullptr || v.startedAt() < best->startedAt())
                best = &v;
        }
        return best;
    };
    if (chosen == nullptr)
        chosen = oldest(true);
    if (chosen == nullptr)
        chosen = oldest(false);
    chosen->setStartedAt(++m_noteCounter);
    chosen->start(m_patch, key, velocity);
    m_lfo.keyOn();
}

void FmEngine::noteOff(int key)
{
    for (FmVoice& v : m_voices) {
        if (v.active() && v.keyDown() && v.key() == key) {
            if (m_sustain)
                v.hold();
            else
                v.release();
        }
    }
}

void FmEngine::setSustain(bool down)
{
    m_sustain = down;
    if (down)
        return;
    for (FmVoice& v : m_voices) {
        if (v.active() && v.sustained())
            v.release();
    }
}

void FmEngine::setPitchBend(int value)
{
    m_bend = std::clamp(value, -8192, 8191);
}

void FmEngine::setModWheel(int value)
{
    m_wheel = std::clamp(value, 0, 127);
}

void FmEngine::controlChange(int controller, int value)
{
    switch (controller) {
    case 1: setModWheel(value); break;
    case 64: setSustain(value >= 64); break;
    case 120: allSoundOff(); break;
    case 123: allNotesOff(); break;
    default: break;
    }
}

void FmEngine::allNotesOff()
{
    m_sustain = false;
    for (FmVoice& v : m_voices) {
        if (v.active() && (v.keyDown() || v.sustained()))
            v.release();
    }
}

void FmEngine::allSoundOff()
{
    m_sustain = false;
    for (FmVoice& v : m_voices)
        v.stop();
}

int FmEngine::activeVoices() const
{
    return static_cast<int>(std::count_if(m_voices.begin(), m_voices.end(), [](const FmVoice& v) { return v.active(); }));
}

void FmEngine::render(float* out, std::size_t frames)
{
    while (frames > 0) {
        const int n = static_cast<int>(std::min<std::size_t>(frames, FmVoice::kMaxBlock));
        renderBlock(out, n);
        out += n;
        frames -= static_cast<std::size_t>(n);
    }
}

void FmEngine::renderBlock(float* out, int frames)
{
    std::fill_n(out, frames, 0.0f);
    m_lfo.advance(frames / m_sampleRate);

    // Depths 0..255: the LFO's after its delay, plus the wheel's.
    const double wheel = ((660 * kWheelRange) >> 8) * m_wheel / 127.0;
    const double pitchDepth = std::min(255.0, m_lfo.pitchDepth() + wheel);
    const double ampDepth = std::min(255.0, m_lfo.ampDepth());
    const int lfo = m_lfo.value();
    const int pms = pitchModSensitivity(m_patch.pitchModSens);

    BlockControl control;
    // Peak at PMS 7 and full depth: 126 * 255 / 32768 octave, about 11.8 semitones.
    control.pitchOctaves = static_cast<double>((lfo * pms) >> 8) * pitchDepth / 32768.0
                           + m_bend / 8192.0 * kBendRangeSemitones / 12.0;
    control.ampMod = static_cast<int>(ampDepth * (127 - lfo) / 256.0);

    std::array<FmVoice::FeedbackJob, kVoices> jobs{};
    std::array<bool, kVoices> sounding{};
    std::array<bool, kVoices> batched{};
    std::size_t jobCount = 0;
    for (std::size_t i = 0; i < m_voices.size(); ++i) {
        sounding[i] = m_voices[i].prepare(m_patch, control, frames);
        if (sounding[i])
            batched[i] = m_voices[i].feedbackJob(m_patch, jobs[jobCount]);
        if (batched[i])
            ++jobCount;
    }
    FmVoice::renderFeedback(std::span(jobs.data(), jobCount), m_patch.algorithm, m_patch.feedback, frames);
    for (std::size_t i = 0; i < m_voices.size(); ++i)
        if (sounding[i])
            m_voices[i].finish(m_patch, out, batched[i]);
}

} // namespace toneloft::synth
