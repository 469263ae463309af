// toneloft-cli render, run as a user runs it, its WAV file read back.
#include "SoundAnalysis.h"

#include "support/CliRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <string>

namespace toneloft::synth::test {
namespace {

namespace fs = std::filesystem;

struct Wav {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples;
};

Wav readWav(const std::string& path)
{
    Wav wav;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
        return wav;
    wav.rate = info.samplerate;
    wav.channels = info.channels;
    wav.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
    sf_read_float(file, wav.samples.data(), static_cast<sf_count_t>(wav.samples.size()));
    sf_close(file);
    return wav;
}

class RenderCli : public ::testing::Test {
protected:
    RenderCli()
    {
        // Two unpacked voices: INIT VOICE, and the same an octave up (coarse 2).
        TestVoice init;
        TestVoice octave;
        octave.op(1, kCoarse, 2);
        m_dir.write("two.syx", std::string(init.bytes.begin(), init.bytes.end()) +
                                   std::string(octave.bytes.begin(), octave.bytes.end()));
    }
    std::string file(const std::string& name) const { return m_dir.file(name); }
    int run(const std::string& args) const { return ::toneloft::test::runCli("render " + args, m_dir).status; }

    ::toneloft::test::TempDir m_dir;
};

TEST_F(RenderCli, WritesTheVoicesNoteAtItsPitchRateAndLength)
{
    ASSERT_EQ(run("\"" + file("two.syx") + "\" --voice 2 --rate 44100 --hold 0.5 --tail 0.25 -o \"" + file("a.wav") + "\""), 0);
    const Wav wav = readWav(file("a.wav"));
    EXPECT_EQ(wav.rate, 44100);
    EXPECT_EQ(wav.channels, 1);
    ASSERT_EQ(wav.samples.size(), 33075u); // 0.75 s
    const std::span held(wav.samples.data() + 4410, 13230);
    EXPECT_NEAR(zeroCrossingHz(held, 44100.0), 880.0, 880.0 * 0.0005);
    EXPECT_FALSE(fs::exists(file("a.wav.tmp")));
}

TEST_F(RenderCli, DefaultsAreKey69ForOneSecondAndOneOfRelease)
{
    ASSERT_EQ(run("\"" + file("two.syx") + "\" --voice 1 -o \"" + file("b.wav") + "\""), 0);
    const Wav wav = readWav(file("b.wav"));
    EXPECT_EQ(wav.rate, 48000);
    ASSERT_EQ(wav.samples.size(), 96000u);
    EXPECT_NEAR(zeroCrossingHz(std::span(wav.samples.data() + 4800, 38400), 48000.0), 440.0, 440.0 * 0.0005);
    EXPECT_EQ(rms(std::span(wav.samples.data() + 60000, 36000)), 0.0); // released
}

TEST_F(RenderCli, PlaysAChord)
{
    ASSERT_EQ(run("\"" + file("two.syx") + "\" --voice 1 --notes 57,64,69 --velocity 127 -o \"" + file("c.wav") + "\""), 0);
    const Wav wav = readWav(file("c.wav"));
    ASSERT_EQ(wav.samples.size(), 96000u);
    const std::span held(wav.samples.data() + 4800, 38400);
    for (const int key : {57, 64, 69})
        EXPECT_GT(partial(held, 440.0 * std::exp2((key - 69) / 12.0), 48000.0), 0.2) << key;
    EXPECT_LT(partial(held, 440.0 * std::exp2((60 - 69) / 12.0), 48000.0), 0.01);
}

TEST_F(RenderCli, RefusesBadArgumentsWithoutWritingAFile)
{
    const std::string in = "\"" + file("two.syx") + "\"";
    const std::string out = " -o \"" + file("d.wav") + "\"";
    EXPECT_EQ(run(in + " --voice 3" + out), 1);                 // only two voices
    EXPECT_EQ(run("\"" + file("none.syx") + "\" --voice 1" + out), 1);
    EXPECT_EQ(run(in + out), 2);                                // no voice
    EXPECT_EQ(run(in + " --voice 1 --note 128" + out), 2);
    EXPECT_EQ(run(in + " --voice 1 --notes 60,,64" + out), 2);
    EXPECT_EQ(run(in + " --voice 1 --velocity 0" + out), 2);
    EXPECT_EQ(run(in + " --voice 1 --hold -1" + out), 2);
    EXPECT_EQ(run(in + " --voice 1 --rate 100" + out), 2);
    EXPECT_EQ(run(in + " --voice 1"), 2);                       // no output
    EXPECT_FALSE(fs::exists(file("d.wav")));
}

} // namespace
} // namespace toneloft::synth::test
