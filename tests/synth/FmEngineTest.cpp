// The engine against published DX7 test vectors, measured from its sound.
#include "SoundAnalysis.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace toneloft::synth::test {
namespace {

constexpr double kRate = 48000.0;

// Pitch of a voice's held note, measured over 0.5 s after 0.1 s of settling.
double heldPitch(const TestVoice& v, int key, double rate = kRate)
{
    FmEngine engine = playing(v, key, rate);
    renderSeconds(engine, 0.1);
    const auto sound = renderSeconds(engine, 0.5);
    return zeroCrossingHz(sound, rate);
}

// Level of a voice's held note: RMS over 0.2 s after 0.1 s of settling.
double heldRms(const TestVoice& v, int key, int velocity = 100)
{
    FmEngine engine = playing(v, key, kRate, velocity);
    renderSeconds(engine, 0.1);
    return rms(renderSeconds(engine, 0.2));
}

TEST(FmEngine, InitVoiceAtKey69IsA440HzSineAtAnySampleRate)
{
    for (const double rate : {44100.0, 48000.0, 96000.0}) {
        const double hz = heldPitch(TestVoice{}, 69, rate);
        EXPECT_NEAR(hz, 440.0, 440.0 * 0.0005) << rate;
    }
    FmEngine engine(kRate);
    engine.noteOn(69, 100);
    renderSeconds(engine, 0.1);
    const auto sound = renderSeconds(engine, 0.5);
    // A pure sine: nothing at the second and third partials.
    const double fundamental = partial(sound, 440.0, kRate);
    EXPECT_LT(partial(sound, 880.0, kRate), fundamental * 1e-3);
    EXPECT_LT(partial(sound, 1320.0, kRate), fundamental * 1e-3);
    // About 11.7 dB below an operator's full scale (1.0): peak 0.26.
    EXPECT_NEAR(decibels(fundamental), -11.7, 0.5);
}

TEST(FmEngine, InitVoiceLevelDoesNotDependOnVelocity)
{
    EXPECT_NEAR(decibels(heldRms(TestVoice{}, 69, 127) / heldRms(TestVoice{}, 69, 20)), 0.0, 0.01);
}

TEST(FmEngine, KeysFollowEqualTemperamentFromA440)
{
    EXPECT_NEAR(heldPitch(TestVoice{}, 60), 261.63, 261.63 * 0.0005);
    EXPECT_NEAR(heldPitch(TestVoice{}, 81), 880.0, 880.0 * 0.0005);
    EXPECT_NEAR(heldPitch(TestVoice{}, 45), 110.0, 110.0 * 0.0005);
}

struct RatioCase {
    int coarse;
    int fine;
    double factor;
};

class RatioFrequency : public ::testing::TestWithParam<RatioCase> {};

TEST_P(RatioFrequency, MultipliesTheKeysFrequency)
{
    TestVoice v;
    v.op(1, kCoarse, GetParam().coarse);
    v.op(1, kFine, GetParam().fine);
    const double expected = 440.0 * GetParam().factor;
    EXPECT_NEAR(heldPitch(v, 69), expected, expected * 0.001);
}

INSTANTIATE_TEST_SUITE_P(CoarseAndFine, RatioFrequency,
                         ::testing::Values(RatioCase{0, 0, 0.5}, RatioCase{1, 50, 1.5}, RatioCase{2, 0, 2.0},
                                           RatioCase{3, 0, 3.0}, RatioCase{0, 50, 0.75}, RatioCase{1, 99, 1.99}));

struct FixedCase {
    int coarse;
    int fine;
    double hz;
};

class FixedFrequency : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FixedFrequency, IgnoresTheKey)
{
    TestVoice v;
    v.op(1, kMode, 1);
    v.op(1, kCoarse, GetParam().coarse);
    v.op(1, kFine, GetParam().fine);
    for (const int key : {36, 69, 96}) {
        FmEngine engine = playing(v, key);
        renderSeconds(engine, 0.1);
        // At least four cycles of the slowest tone.
        const auto sound = renderSeconds(engine, std::max(0.5, 4.5 / GetParam().hz));
        EXPECT_NEAR(zeroCrossingHz(sound, kRate), GetParam().hz, GetParam().hz * 0.01) << "key " << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Decades, FixedFrequency,
                         ::testing::Values(FixedCase{0, 0, 1.0}, FixedCase{1, 0, 10.0}, FixedCase{2, 0, 100.0},
                                           FixedCase{3, 0, 1000.0}, FixedCase{2, 50, 316.23}, FixedCase{7, 0, 1000.0}));

TEST(FmEngine, TransposeAndPitchBendMoveRatioOperators)
{
    TestVoice up;
    up.set(kTranspose, 36); // one octave up
    EXPECT_NEAR(heldPitch(up, 69), 880.0, 880.0 * 0.0005);

    FmEngine engine(kRate);
    engine.noteOn(69, 100);
    engine.setPitchBend(8191);
    renderSeconds(engine, 0.1);
    // Full bend: two semitones.
    const double bent = 440.0 * std::exp2(2.0 / 12.0 * 8191.0 / 8192.0);
    EXPECT_NEAR(zeroCrossingHz(renderSeconds(engine, 0.5), kRate), bent, bent * 0.0005);
}

// Levels of output level pairs: 0.7526 dB per step above 20, the firmware's
// table below.
struct LevelCase {
    int louder;
    int softer;
    double db;
};

class OutputLevel : public ::testing::TestWithParam<LevelCase> {};

TEST_P(OutputLevel, StepsAsTheTable)
{
    TestVoice a;
    a.op(1, kOutputLevel, GetParam().louder);
    TestVoice b;
    b.op(1, kOutputLevel, GetParam().softer);
    EXPECT_NEAR(decibels(heldRms(a, 69) / heldRms(b, 69)), GetParam().db, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Steps, OutputLevel,
                         ::testing::Values(LevelCase{99, 98, 0.7526}, LevelCase{98, 97, 0.7526}, LevelCase{90, 80, 7.526},
                                           LevelCase{50, 20, 22.58}, LevelCase{21, 20, 0.7526},
                                           LevelCase{20, 19, 2 * 0.7526}, LevelCase{19, 10, 15 * 0.7526},
                                           LevelCase{10, 5, 11 * 0.7526}));

// Velocity against KVS 0, in dB (positive: softer) from the firmware's chain.
struct VelocityCase {
    int velocity;
    int kvs;
    double db;
};

class Velocity : public ::testing::TestWithParam<VelocityCase> {};

TEST_P(Velocity, ScalesTheOperatorLevel)
{
    // Output level 90 keeps the loudest velocities clear of the level's limit.
    TestVoice sensitive;
    sensitive.op(1, kOutputLevel, 90);
    sensitive.op(1, kKvs, GetParam().kvs);
    TestVoice plain;
    plain.op(1, kOutputLevel, 90);
    const double ref = heldRms(plain, 69, GetParam().velocity);
    EXPECT_NEAR(decibels(ref / heldRms(sensitive, 69, GetParam().velocity)), GetParam().db, 0.45);
}

INSTANTIATE_TEST_SUITE_P(Table, Velocity,
                         ::testing::Values(VelocityCase{1, 7, 36.9}, VelocityCase{32, 7, 25.6}, VelocityCase{64, 7, 11.7},
                                           VelocityCase{64, 4, 6.8}, VelocityCase{96, 7, 1.5},
                                           VelocityCase{100, 7, -1.5}, VelocityCase{127, 7, -5.3},
                                           VelocityCase{127, 1, -0.8}, VelocityCase{32, 3, 10.9}));

TEST(FmEngine, LinearLevelScalingFallsAboutSixDecibelsPerThreeKeys)
{
    TestVoice v;
    v.op(1, kBreakPoint, 39); // C3, key 60
    v.op(1, kRightDepth, 99);
    v.op(1, kRightCurve, 0);  // -LIN
    v.op(1, kLeftDepth, 99);
    v.op(1, kLeftCurve, 3);   // +LIN: nothing to gain at full level
    const double atBreak = heldRms(v, 60);
    EXPECT_NEAR(decibels(atBreak / heldRms(v, 72)), 4 * 6.0, 1.0);
    EXPECT_NEAR(decibels(atBreak / heldRms(v, 63)), 5.3, 0.5);
    EXPECT_NEAR(decibels(atBreak / heldRms(v, 58)), 0.0, 0.05); // the break point's own group
    EXPECT_NEAR(decibels(atBreak / heldRms(v, 48)), 0.0, 0.05);
}

// Time for a held operator to fall from -10 to -50 dB below its start at a
// decay rate, against the published law (99 -> 0, 90.3 dB, in 1.25 s at rate
// 50 and 5.6 ms at rate 99).
double fortyDecibelSeconds(int rate, double sampleRate, std::size_t window)
{
    TestVoice v;
    v.op(1, kMode, 1);
    v.op(1, kCoarse, 3);
    v.op(1, kFine, 99); // 9772 Hz, many cycles per window
    v.op(1, kR2, rate);
    v.op(1, kL2, 0);
    v.op(1, kL3, 0);
    FmEngine engine = playing(v, 69, sampleRate);
    const auto sound = renderSeconds(engine, 2.0);
    const auto env = peakEnvelope(sound, window);
    const auto peak = std::max_element(env.begin(), env.end());
    const double top = *peak;
    std::size_t at10 = 0;
    std::size_t at50 = 0;
    for (auto i = static_cast<std::size_t>(peak - env.begin()); i < env.size(); ++i) {
        if (at10 == 0 && env[i] < top * std::pow(10.0, -10.0 / 20.0))
            at10 = i;
        if (at50 == 0 && env[i] < top * std::pow(10.0, -50.0 / 20.0))
            at50 = i;
    }
    return static_cast<double>((at50 - at10) * window) / sampleRate;
}

TEST(FmEngine, DecayTimesFollowTheRateLaw)
{
    EXPECT_NEAR(fortyDecibelSeconds(50, kRate, 48), 1.25 * 40.0 / 90.3, 1.25 * 40.0 / 90.3 * 0.1);
    EXPECT_NEAR(fortyDecibelSeconds(99, 192000.0, 20), 0.0056 * 40.0 / 90.3, 0.0056 * 40.0 / 90.3 * 0.1);
}

// LFO frequency from a square wave on amplitude: time between the first and
// last switch of the level.
double lfoHz(int speed, double seconds)
{
    const double rate = 16000.0;
    TestVoice v;
    v.op(1, kMode, 1);
    v.op(1, kCoarse, 3); // 1000 Hz
    v.op(1, kAms, 3);
    v.set(kLfoSpeed, speed);
    v.set(kAmd, 99);
    v.set(kLfoWave, 3); // square
    FmEngine engine = playing(v, 69, rate);
    const auto env = peakEnvelope(renderSeconds(engine, seconds), 16); // 1 ms windows
    const double threshold = 0.26 * 0.1;                                // -20 dB
    std::vector<double> switches;
    for (std::size_t i = 6; i < env.size(); ++i)
        if ((env[i - 1] > threshold) != (env[i] > threshold))
            switches.push_back(static_cast<double>(i));
    if (switches.size() < 3)
        return 0.0;
    const double span = (switches.back() - switches.front()) * 16.0 / rate;
    return static_cast<double>(switches.size() - 1) / 2.0 / span;
}

TEST(FmEngine, LfoSpeedsMatchTheMeasuredTable)
{
    EXPECT_NEAR(lfoHz(0, 40.0), 0.0625, 0.0625 * 0.03);
    EXPECT_NEAR(lfoHz(50, 4.0), 8.0, 8.0 * 0.03);
    EXPECT_NEAR(lfoHz(99, 2.0), 49.26, 49.26 * 0.03);
}

TEST(FmEngine, LfoPitchModulationAtFullSensitivityIsAboutTwelveSemitones)
{
    TestVoice v;
    v.set(kLfoSpeed, 5);
    v.set(kPmd, 99);
    v.set(kPms, 7);
    v.set(kLfoWave, 3); // square: a held level for 0.6 s
    FmEngine engine = playing(v);
    renderSeconds(engine, 0.05);
    const double shifted = zeroCrossingHz(renderSeconds(engine, 0.3), kRate);
    // +127 or -128 of the wave: 11.77 or 11.96 semitones away.
    EXPECT_NEAR(std::abs(12.0 * std::log2(shifted / 440.0)), 11.86, 0.25);
}

class PitchEnvelopeLevel : public ::testing::TestWithParam<std::pair<int, double>> {};

TEST_P(PitchEnvelopeLevel, ShiftsTheNote)
{
    TestVoice v;
    for (int i = 0; i < 4; ++i)
        v.set(kPegL1 + i, GetParam().first);
    const double expected = 440.0 * std::exp2(GetParam().second / 12.0);
    EXPECT_NEAR(heldPitch(v, 69), expected, expected * 0.002);
}

INSTANTIATE_TEST_SUITE_P(Range, PitchEnvelopeLevel,
                         ::testing::Values(std::pair{0, -48.0}, std::pair{99, 47.625}, std::pair{50, 0.0},
                                           std::pair{58, 3.0}, std::pair{17, -12.375}));

TEST(FmEngine, PitchEnvelopeSweepsFromLevel4)
{
    TestVoice v;
    v.set(kPegL1 + 3, 0); // starts four octaves down ...
    v.set(kPegR1, 99);    // ... and sweeps up to level 1 (50) in about 0.33 s
    FmEngine engine = playing(v);
    const double start = zeroCrossingHz(renderSeconds(engine, 0.02), kRate);
    EXPECT_LT(start, 440.0 / 8.0);
    renderSeconds(engine, 0.4);
    EXPECT_NEAR(zeroCrossingHz(renderSeconds(engine, 0.2), kRate), 440.0, 0.5);
}

TEST(FmEngine, InitVoiceNoteOnAndOffAreCleanAndFinite)
{
    FmEngine engine(kRate);
    std::vector<float> sound(static_cast<std::size_t>(kRate * 0.05), 0.0f);
    engine.noteOn(69, 100);
    auto on = renderSeconds(engine, 0.5);
    engine.noteOff(69);
    auto off = renderSeconds(engine, 0.5);
    sound.insert(sound.end(), on.begin(), on.end());
    sound.insert(sound.end(), off.begin(), off.end());
    double worstStep = 0.0;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        ASSERT_TRUE(std::isfinite(sound[i])) << i;
        ASSERT_TRUE(sound[i] == 0.0f || std::abs(sound[i]) >= FLT_MIN) << "denormal at " << i;
        // A click is a break in the waveform's slope: the second difference of
        // a 440 Hz sine at this level stays near -61 dBFS.
        if (i >= 2)
            worstStep = std::max(worstStep, static_cast<double>(std::abs(sound[i] - 2 * sound[i - 1] + sound[i - 2])));
    }
    EXPECT_LT(decibels(worstStep), -40.0);
    // Released at rate 99 to level 0: silent and the voice free again.
    EXPECT_EQ(rms(std::span(off).subspan(off.size() / 2)), 0.0);
    EXPECT_EQ(engine.activeVoices(), 0);
}

TEST(FmEngine, SeventeenthNoteStealsTheOldest)
{
    FmEngine engine(kRate);
    for (int k = 0; k < 16; ++k)
        engine.noteOn(40 + k, 100);
    renderSeconds(engine, 0.1);
    engine.noteOn(93, 100); // 1760 Hz
    renderSeconds(engine, 0.05);
    const auto sound = renderSeconds(engine, 0.5);
    EXPECT_GT(partial(sound, 1760.0, kRate), 0.1);
    EXPECT_LT(partial(sound, 440.0 * std::exp2((40 - 69) / 12.0), kRate), 0.01); // key 40 is gone
    EXPECT_GT(partial(sound, 440.0 * std::exp2((41 - 69) / 12.0), kRate), 0.1);  // key 41 stays
}

TEST(FmEngine, ParameterChangesReachSoundingNotes)
{
    FmEngine engine(kRate);
    engine.noteOn(69, 100);
    renderSeconds(engine, 0.1);
    engine.setParameter(5 * 21 + kCoarse, 2); // operator 1 coarse 2
    renderSeconds(engine, 0.05);
    EXPECT_NEAR(zeroCrossingHz(renderSeconds(engine, 0.3), kRate), 880.0, 0.5);

    engine.setParameter(Patch::kOperatorMaskParameter, 0x1F); // operator 1 off
    renderSeconds(engine, 0.01);
    EXPECT_EQ(rms(renderSeconds(engine, 0.1)), 0.0);
    engine.setParameter(Patch::kOperatorMaskParameter, 0x3F);
    renderSeconds(engine, 0.01);
    EXPECT_GT(rms(renderSeconds(engine, 0.1)), 0.15);

    engine.setParameter(5 * 21 + kOutputLevel, 90); // 6.8 dB softer, still sounding
    renderSeconds(engine, 0.05);
    EXPECT_NEAR(decibels(0.2612 / std::sqrt(2.0) / rms(renderSeconds(engine, 0.1))), 6.8, 0.3);
}

TEST(FmEngine, ModWheelAddsVibrato)
{
    TestVoice v;
    v.set(kPms, 7);
    v.set(kLfoWave, 3);
    v.set(kLfoSpeed, 5);
    FmEngine engine = playing(v);
    renderSeconds(engine, 0.05);
    EXPECT_NEAR(zeroCrossingHz(renderSeconds(engine, 0.2), kRate), 440.0, 0.3);
    engine.controlChange(1, 127);
    renderSeconds(engine, 0.01);
    const double shifted = zeroCrossingHz(renderSeconds(engine, 0.2), kRate);
    EXPECT_GT(std::abs(12.0 * std::log2(shifted / 440.0)), 6.0);
}

// Level scaling right of a break point at C3 (key 60), output level 80 so
// that the rising curves have room: dB louder (negative) or softer at a key,
// from the firmware's curve tables at depth 99.
struct CurveCase {
    int curve;
    int key;
    double db;
};

class LevelScalingCurve : public ::testing::TestWithParam<CurveCase> {};

TEST_P(LevelScalingCurve, FollowsTheCurveTable)
{
    TestVoice v;
    v.op(1, kOutputLevel, 80);
    v.op(1, kBreakPoint, 39);
    v.op(1, kRightDepth, 99);
    v.op(1, kRightCurve, GetParam().curve);
    TestVoice flat;
    flat.op(1, kOutputLevel, 80);
    EXPECT_NEAR(decibels(heldRms(flat, GetParam().key) / heldRms(v, GetParam().key)), GetParam().db, 0.05);
}

// Distances in groups of three keys: 63 is 1, 72 is 4, 90 is 10; EXP 1, 4, 11
// and LIN 8, 32, 80 (times 255/256, in 0.7526 dB units, floored); a rising
// curve stops at the output level's own attenuation (19 units at level 80).
INSTANTIATE_TEST_SUITE_P(Curves, LevelScalingCurve,
                         ::testing::Values(CurveCase{1, 63, 0.0}, CurveCase{1, 72, 3 * 0.7526},
                                           CurveCase{1, 90, 10 * 0.7526}, CurveCase{0, 72, 31 * 0.7526},
                                           CurveCase{2, 72, -3 * 0.7526}, CurveCase{3, 63, -7 * 0.7526},
                                           CurveCase{3, 90, -19 * 0.7526}));

TEST(FmEngine, RateScalingShortensHighNotes)
{
    // Seconds to fall 40 dB at decay rate 50, on a fixed 1 kHz tone so that
    // the key changes nothing but the rate.
    auto decaySeconds = [](int key) {
        TestVoice v;
        v.op(1, kMode, 1);
        v.op(1, kCoarse, 3);
        v.op(1, kR2, 50);
        v.op(1, kL2, 0);
        v.op(1, kL3, 0);
        v.op(1, kRateScaling, 7);
        FmEngine engine = playing(v, key);
        const auto env = peakEnvelope(renderSeconds(engine, 1.0), 48);
        const auto top = *std::max_element(env.begin(), env.end());
        const auto quiet = std::find_if(env.begin(), env.end(), [top](double e) { return e < top * 0.01; });
        return static_cast<double>(quiet - env.begin()) * 0.001;
    };
    // Key 21 is below the scaling's reach; key 96 adds 21 to the rate's
    // quantised value: 5/4 * 2^5, 40 times faster.
    const double low = decaySeconds(21);
    const double high = decaySeconds(96);
    EXPECT_NEAR(low, 40.0 / 72.2, 0.03);
    EXPECT_NEAR(low / high, 40.0, 6.0);
}

TEST(FmEngine, OscillatorKeySyncStartsEveryNoteAtPhaseZero)
{
    auto secondNoteStart = [](bool sync) {
        TestVoice v;
        v.set(kOscSync, sync ? 1 : 0);
        FmEngine engine = playing(v);
        renderSeconds(engine, 0.1037);
        engine.noteOff(69);
        renderSeconds(engine, 0.2); // released and free again
        engine.noteOn(69, 100);
        return renderSeconds(engine, 0.01);
    };
    FmEngine fresh(kRate);
    fresh.noteOn(69, 100);
    const auto first = renderSeconds(fresh, 0.01);
    const auto synced = secondNoteStart(true);
    const auto free = secondNoteStart(false);
    double syncedDiff = 0.0;
    double freeDiff = 0.0;
    for (std::size_t i = 0; i < first.size(); ++i) {
        syncedDiff = std::max(syncedDiff, static_cast<double>(std::abs(synced[i] - first[i])));
        freeDiff = std::max(freeDiff, static_cast<double>(std::abs(free[i] - first[i])));
    }
    EXPECT_LT(syncedDiff, 1e-6);
    EXPECT_GT(freeDiff, 0.05);
}

TEST(FmEngine, LfoDelayHoldsTheModulationBack)
{
    TestVoice v;
    v.op(1, kAms, 3);
    v.set(kAmd, 99);
    v.set(kLfoSpeed, 60);
    v.set(kLfoWave, 3); // square: full depth or none
    v.set(kLfoDelay, 99); // 2.75 s, then 0.69 s of fade-in
    FmEngine engine = playing(v);
    renderSeconds(engine, 0.1);
    const auto early = peakEnvelope(renderSeconds(engine, 2.0), 480);
    const auto [eMin, eMax] = std::minmax_element(early.begin(), early.end());
    EXPECT_LT(decibels(*eMax / *eMin), 0.5) << "no modulation during the delay";
    renderSeconds(engine, 2.0);
    const auto late = peakEnvelope(renderSeconds(engine, 1.0), 480);
    const auto [lMin, lMax] = std::minmax_element(late.begin(), late.end());
    EXPECT_GT(decibels(*lMax / *lMin), 20.0) << "full modulation after it";
}

TEST(FmEngine, SampleAndHoldStepsToManyLevels)
{
    TestVoice v;
    v.set(kPmd, 99);
    v.set(kPms, 4);
    v.set(kLfoSpeed, 30); // 4.8 Hz
    v.set(kLfoWave, 5);
    FmEngine engine = playing(v);
    std::vector<int> pitches;
    for (int i = 0; i < 24; ++i) {
        const double hz = zeroCrossingHz(renderSeconds(engine, 1.0 / 9.6), kRate); // two looks per step
        pitches.push_back(static_cast<int>(std::lround(12.0 * std::log2(hz / 440.0) * 4.0)));
    }
    std::sort(pitches.begin(), pitches.end());
    const auto distinct = std::unique(pitches.begin(), pitches.end()) - pitches.begin();
    EXPECT_GE(distinct, 6);
}

} // namespace
} // namespace toneloft::synth::test
