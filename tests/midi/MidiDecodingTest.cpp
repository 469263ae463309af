#include "midi/MidiDecoding.h"

#include <gtest/gtest.h>

namespace toneloft {
namespace {

using Slot = MidiMessageRecord;

TEST(NoteName, OctavesStartTwoBelowZero)
{
    EXPECT_EQ(NoteName(0), "C-2");
    EXPECT_EQ(NoteName(11), "B-2");
    EXPECT_EQ(NoteName(12), "C-1");
    EXPECT_EQ(NoteName(60), "C3");
    EXPECT_EQ(NoteName(61), "C#3");
    EXPECT_EQ(NoteName(127), "G8");
    EXPECT_EQ(NoteName(128), "");
    EXPECT_EQ(NoteName(-1), "");
}

struct ShortCase {
    std::uint32_t word;
    const char* message;
    const char* data1Title;
    const char* data1;
    const char* data2Title;
    const char* data2;
    const char* channel;
};

class DecodeShort : public testing::TestWithParam<ShortCase> {};

TEST_P(DecodeShort, FillsTheMonitorSlots)
{
    const auto& c = GetParam();
    MidiMessageRecord r;
    ASSERT_TRUE(DecodeShortMessage(r, MidiEventKind::ShortData, c.word, 1234, "in", "out"));
    EXPECT_EQ(r[Slot::Message], c.message);
    EXPECT_EQ(r[Slot::Data1Title], c.data1Title);
    EXPECT_EQ(r[Slot::Data1], c.data1);
    EXPECT_EQ(r[Slot::Data2Title], c.data2Title);
    EXPECT_EQ(r[Slot::Data2], c.data2);
    EXPECT_EQ(r[Slot::Channel], c.channel);
    EXPECT_EQ(r[Slot::Type], "Short");
    EXPECT_EQ(r[Slot::Timestamp], " 1234");
    EXPECT_EQ(r[Slot::RawMessage], " " + std::to_string(c.word));
    ASSERT_EQ(r[Slot::Status].size(), 1u);
    EXPECT_EQ(static_cast<unsigned char>(r[Slot::Status][0]), c.word & 0xFF);
}

INSTANTIATE_TEST_SUITE_P(
    Events, DecodeShort,
    testing::Values(
        ShortCase{0x403C90, "Note C3 On", "Velocity ", " 64", "", "", "1"},
        ShortCase{0x003C90, "Note C3 Off", "Velocity ", " 0", "", "", "1"}, // velocity 0
        ShortCase{0x207F8F, "Note G8 Off", "Velocity ", " 32", "", "", "16"},
        ShortCase{0x1000A2, "Aftertouch C-2", "Velocity ", " 16", "", "", "3"},
        ShortCase{0x5001B0, "Modulation Wheel", "Value", " 80", "", "", "1"},
        ShortCase{0x5007B0, "Controller Change", "ID", " 7", "Value", " 80", "1"},
        ShortCase{0x0206B4, "Data Entry", "Value", " 2", "", "", "5"},
        ShortCase{0x7F60B0, "Yes Button pressed", "Value", " 127", "", "", "1"},
        ShortCase{0x0061B0, "No Button pressed", "Value", " 0", "", "", "1"},
        ShortCase{0x0005C1, "Program Change", "Number ", " 5", "", "", "2"},
        ShortCase{0x0040D0, "Channel Aftertouch", "Value", " 64", "", "", "1"},
        ShortCase{0x4000E0, "PitchBend", "LSB ", " 0", "MSB ", " 64", "1"},
        ShortCase{0x0003F1, "MTC Quarterframe", "Value ", " 3", "", "", "2"},
        ShortCase{0x0201F2, "Song Position Pointer", "LSB Value ", " 1", "MSB Value ", " 2", "3"},
        ShortCase{0x0004F3, "Song Select", "Value ", " 4", "", "", "4"},
        ShortCase{0x0000F6, "Undefined System Common message received", "", "", "", "", "7"}));

TEST(DecodeShortStatus, DeviceNoticesAndErrors)
{
    MidiMessageRecord r;
    ASSERT_TRUE(DecodeShortMessage(r, MidiEventKind::InputOpened, 0, 0, "Keys", "Synth"));
    EXPECT_EQ(r[Slot::Message], "Keys opened for input. ");
    ASSERT_TRUE(DecodeShortMessage(r, MidiEventKind::OutputOpened, 0, 0, "Keys", "Synth"));
    EXPECT_EQ(r[Slot::Message], "Synth opened for output. ");
    ASSERT_TRUE(DecodeShortMessage(r, MidiEventKind::OutputDone, 0, 0, "", ""));
    EXPECT_EQ(r[Slot::Message], "Midi output completed");
    ASSERT_TRUE(DecodeShortMessage(r, MidiEventKind::Unknown, 0, 0, "", ""));
    EXPECT_EQ(r[Slot::Message], "Unrecognised MIDI Message");

    ASSERT_TRUE(DecodeShortMessage(r, MidiEventKind::ShortError, 0x020193, 0, "", ""));
    EXPECT_EQ(r[Slot::Message], "Bad MIDI Message:Status  147 Data1  1 Data2  2");
    EXPECT_EQ(r[Slot::Channel], " 4");
    EXPECT_FALSE(DecodeShortMessage(r, MidiEventKind::ShortError, 0xF7, 0, "", ""));
}

} // namespace
} // namespace toneloft
