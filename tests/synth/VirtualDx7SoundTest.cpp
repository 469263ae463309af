// The virtual DX7 sounds what it receives through the engine.
#include "SoundAnalysis.h"

#include "midi/VirtualDx7.h"
#include "synth/FmInstrument.h"
#include "voice/VoiceFileFormat.h"

#include <gtest/gtest.h>

namespace toneloft::synth::test {
namespace {

constexpr double kRate = 48000.0;

std::vector<float> listen(FmInstrument& instrument, double seconds)
{
    std::vector<float> out(static_cast<std::size_t>(seconds * kRate));
    instrument.render(out.data(), out.size());
    return out;
}

std::uint32_t word(int status, int data1, int data2)
{
    return static_cast<std::uint32_t>(status | (data1 << 8) | (data2 << 16));
}

std::string parameterChange(int channel, int parameter, int value)
{
    return {'\xF0', '\x43', static_cast<char>(0x10 | channel), static_cast<char>(parameter >> 7),
            static_cast<char>(parameter & 0x7F), static_cast<char>(value), '\xF7'};
}

TEST(VirtualDx7Sound, PlaysNotesOnItsChannelWithTheEditBuffer)
{
    FmInstrument instrument(kRate);
    VirtualDx7 dx7;
    dx7.setChannel(2);
    dx7.setInstrument(&instrument);

    TestVoice octave;
    octave.op(1, kCoarse, 2);
    const std::string voice(reinterpret_cast<const char*>(octave.bytes.data()), octave.bytes.size());
    dx7.receive(AddWrapper(voice, 1).replace(2, 1, 1, '\x02'));

    dx7.receiveShort(word(0x90, 69, 100)); // channel 1: not ours
    listen(instrument, 0.05);
    EXPECT_EQ(rms(listen(instrument, 0.1)), 0.0);

    dx7.receiveShort(word(0x92, 69, 100));
    listen(instrument, 0.05);
    EXPECT_NEAR(zeroCrossingHz(listen(instrument, 0.3), kRate), 880.0, 0.5);

    dx7.receive(parameterChange(2, 5 * 21 + kCoarse, 3)); // operator 1 coarse 3, while sounding
    listen(instrument, 0.05);
    EXPECT_NEAR(zeroCrossingHz(listen(instrument, 0.3), kRate), 1320.0, 0.7);

    dx7.receiveShort(word(0xE2, 0x7F, 0x7F)); // pitch bend fully up: two semitones
    listen(instrument, 0.05);
    EXPECT_NEAR(zeroCrossingHz(listen(instrument, 0.3), kRate), 1320.0 * std::exp2(8191.0 / 8192.0 / 6.0), 0.7);

    dx7.receive(parameterChange(2, 155, 0x1F)); // operator 1 off
    listen(instrument, 0.02);
    EXPECT_EQ(rms(listen(instrument, 0.1)), 0.0);
    dx7.receive(parameterChange(2, 155, 0x3F));

    dx7.receiveShort(word(0x92, 69, 0)); // note-on at velocity 0 ends the note
    listen(instrument, 0.1);
    EXPECT_EQ(rms(listen(instrument, 0.1)), 0.0);
}

TEST(VirtualDx7Sound, SustainPedalAndVolume)
{
    FmInstrument instrument(kRate);
    VirtualDx7 dx7;
    dx7.setInstrument(&instrument);
    dx7.receiveShort(word(0x90, 69, 100));
    dx7.receiveShort(word(0xB0, 64, 127));
    dx7.receiveShort(word(0x80, 69, 0));
    listen(instrument, 0.1);
    const double full = rms(listen(instrument, 0.2));
    EXPECT_GT(full, 0.15);
    instrument.setVolume(0.5f);
    EXPECT_NEAR(decibels(rms(listen(instrument, 0.2)) / full), -6.02, 0.05);
    dx7.receiveShort(word(0xB0, 64, 0));
    listen(instrument, 0.1);
    EXPECT_EQ(rms(listen(instrument, 0.1)), 0.0);
}

TEST(VirtualDx7Sound, SilentWithoutAnInstrument)
{
    VirtualDx7 dx7;
    dx7.receiveShort(word(0x90, 69, 100)); // nothing to play through: no crash, the note still recorded
    ASSERT_EQ(dx7.applied().size(), 1u);
    EXPECT_EQ(dx7.applied().front().kind, VirtualDx7::Applied::Kind::Note);
}

} // namespace
} // namespace toneloft::synth::test
