#pragma once

#include "synth/FmEngine.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Measurements taken from rendered sound only: pitch from interpolated zero
// crossings, level from RMS, partials from single DFT bins.
namespace toneloft::synth::test {

inline std::vector<float> renderSeconds(FmEngine& engine, double seconds)
{
    std::vector<float> out(static_cast<std::size_t>(seconds * engine.sampleRate()));
    engine.render(out.data(), out.size());
    return out;
}

// Mean frequency over the rising zero crossings of a stretch of sound.
inline double zeroCrossingHz(std::span<const float> x, double sampleRate)
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
    return count > 0 ? count * sampleRate / (last - first) : 0.0;
}

inline double rms(std::span<const float> x)
{
    double sum = 0.0;
    for (const float v : x)
        sum += static_cast<double>(v) * v;
    return x.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(x.size()));
}

inline double decibels(double ratio)
{
    return 20.0 * std::log10(ratio);
}

// Magnitude of the partial at hz (Hann-windowed DFT bin), as a peak amplitude.
inline double partial(std::span<const float> x, double hz, double sampleRate)
{
    double re = 0.0;
    double im = 0.0;
    double wsum = 0.0;
    const double n = static_cast<double>(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(i) / n);
        const double a = 2.0 * M_PI * hz * static_cast<double>(i) / sampleRate;
        re += w * x[i] * std::cos(a);
        im += w * x[i] * std::sin(a);
        wsum += w;
    }
    return 2.0 * std::hypot(re, im) / wsum;
}

// Largest |sample| over consecutive windows: a coarse amplitude envelope.
inline std::vector<double> peakEnvelope(std::span<const float> x, std::size_t window)
{
    std::vector<double> env;
    for (std::size_t i = 0; i + window <= x.size(); i += window) {
        double peak = 0.0;
        for (std::size_t k = i; k < i + window; ++k)
            peak = std::max(peak, static_cast<double>(std::abs(x[k])));
        env.push_back(peak);
    }
    return env;
}

// The 155 bytes of a voice built for a test: INIT VOICE with changes.
struct TestVoice {
    TestVoice() : bytes(initVoiceBytes()) {}
    // Operator n = 1..6, field offset within its 21-byte block.
    void op(int n, int field, int value) { bytes[static_cast<std::size_t>((6 - n) * 21 + field)] = static_cast<std::uint8_t>(value); }
    void set(int offset, int value) { bytes[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value); }
    std::array<std::uint8_t, 155> bytes;
};

// An engine at the sample rate with the voice loaded and key held.
inline FmEngine playing(const TestVoice& v, int key = 69, double sampleRate = 48000.0, int velocity = 100)
{
    FmEngine engine(sampleRate);
    engine.loadVoice(v.bytes);
    engine.noteOn(key, velocity);
    return engine;
}

// Offsets within an operator block and of the voice-wide bytes.
enum OpField { kR1 = 0, kR2 = 1, kR3 = 2, kR4 = 3, kL1 = 4, kL2 = 5, kL3 = 6, kL4 = 7, kBreakPoint = 8,
               kLeftDepth = 9, kRightDepth = 10, kLeftCurve = 11, kRightCurve = 12, kRateScaling = 13,
               kAms = 14, kKvs = 15, kOutputLevel = 16, kMode = 17, kCoarse = 18, kFine = 19, kDetune = 20 };
enum VoiceByte { kPegR1 = 126, kPegL1 = 130, kAlgorithm = 134, kFeedback = 135, kOscSync = 136, kLfoSpeed = 137,
                 kLfoDelay = 138, kPmd = 139, kAmd = 140, kLfoSync = 141, kLfoWave = 142, kPms = 143, kTranspose = 144 };

} // namespace toneloft::synth::test
