#include "voice/InitVoice.h"
#include "voice/VoicePacking.h"

#include <gtest/gtest.h>

#include <random>

namespace toneloft {
namespace {

// Highest value of each parameter: by offset within an operator block, then voice-wide 126..144.
constexpr int kOpMax[21] = {99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 3, 3, 7, 3, 7, 99, 1, 31, 99, 14};
constexpr int kVoiceMax[19] = {99, 99, 99, 99, 99, 99, 99, 99, 31, 7, 1, 99, 99, 99, 99, 1, 4, 7, 48};

TEST(VoicePacking, InRangeVoicesSurviveARoundTripInBothForms)
{
    std::mt19937 rng(1234);
    std::vector<ByteString> voices{MakeInitVoice()};
    for (int n = 0; n < 200; ++n) {
        ByteString v(155, ' ');
        for (std::size_t i = 0; i < 155; ++i) {
            const int max = i < 126 ? kOpMax[i % 21] : i < 145 ? kVoiceMax[i - 126] : 126;
            v[i] = toChar(std::uniform_int_distribution<int>(i < 145 ? 0 : 32, max)(rng));
        }
        voices.push_back(v);
    }
    for (const ByteString& v : voices) {
        const ByteString packed = Pack(v);
        ASSERT_EQ(packed.size(), 128u);
        EXPECT_EQ(Unpack(packed), v);
        ByteArray packedBytes, unpackedBytes;
        ASSERT_TRUE(PackByt(toByteArray(v), packedBytes));
        EXPECT_EQ(toByteString(packedBytes), packed);
        ASSERT_TRUE(UnpackByt(packedBytes, unpackedBytes));
        EXPECT_EQ(toByteString(unpackedBytes), v);
    }
}

// One unpacked byte set in an otherwise zero voice, and the one packed byte it lands in.
struct PackCase {
    int unpackedOffset, value, packedOffset, packedByte;
};

class VoicePackingOneField : public testing::TestWithParam<PackCase> {};

TEST_P(VoicePackingOneField, LandsInItsBitsOnly)
{
    const PackCase c = GetParam();
    ByteString v(155, '\0');
    v[static_cast<std::size_t>(c.unpackedOffset)] = toChar(c.value);
    ByteString want(128, '\0');
    want[static_cast<std::size_t>(c.packedOffset)] = toChar(c.packedByte);
    EXPECT_EQ(toByteArray(Pack(v)), toByteArray(want));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, VoicePackingOneField,
    testing::Values(PackCase{0, 99, 0, 99}, PackCase{11, 3, 11, 0x03}, PackCase{12, 2, 11, 0x08}, // curves
                    PackCase{13, 5, 12, 0x05}, PackCase{20, 14, 12, 0x70},   // rate scaling, detune
                    PackCase{14, 3, 13, 0x03}, PackCase{15, 7, 13, 0x1C},    // AMS, key velocity
                    PackCase{17, 1, 15, 0x01}, PackCase{18, 31, 15, 0x3E},   // osc mode, coarse
                    PackCase{61, 77, 50, 77}, PackCase{121, 99, 99, 99},     // op4 fine, op1 output
                    PackCase{125, 9, 97, 0x48}, PackCase{133, 50, 109, 50},  // op1 detune, PEG L4
                    PackCase{134, 31, 110, 31}, PackCase{135, 7, 111, 0x07}, PackCase{136, 1, 111, 0x08},
                    PackCase{141, 1, 116, 0x01}, PackCase{142, 4, 116, 0x08}, PackCase{143, 7, 116, 0x70},
                    PackCase{144, 48, 117, 48}, PackCase{154, 0xE9, 127, 0xE9}, // name keeps 8 bits
                    PackCase{13, 8 + 5, 12, 0x05}, PackCase{143, 0xFF, 116, 0x70})); // too wide: masked

TEST(VoicePacking, UnlistedBitsPackAsZero)
{
    const ByteString packed = Pack(ByteString(155, toChar(0xFF)));
    for (std::size_t block = 0; block < 6 * 17; block += 17) {
        EXPECT_EQ(byteAt(packed, block + 11), 0x0F);
        EXPECT_EQ(byteAt(packed, block + 12), 0x7F);
        EXPECT_EQ(byteAt(packed, block + 13), 0x1F);
        EXPECT_EQ(byteAt(packed, block + 15), 0x3F);
    }
    EXPECT_EQ(byteAt(packed, 110), 0xFF);
    EXPECT_EQ(byteAt(packed, 111), 0x0F);
    EXPECT_EQ(byteAt(packed, 116), 0x7F);
}

// One packed byte set in an otherwise zero voice, and what it unpacks to.
struct UnpackCase {
    int packedOffset, packedByte;
    std::vector<std::pair<int, int>> expected; // unpacked offset, value
};

class VoicePackingOneByte : public testing::TestWithParam<UnpackCase> {};

TEST_P(VoicePackingOneByte, GivesItsFieldsAndNothingElse)
{
    const UnpackCase& c = GetParam();
    ByteString packed(128, '\0');
    packed[static_cast<std::size_t>(c.packedOffset)] = toChar(c.packedByte);
    ByteString want(155, '\0');
    for (auto [offset, value] : c.expected)
        want[static_cast<std::size_t>(offset)] = toChar(value);
    EXPECT_EQ(toByteArray(Unpack(packed)), toByteArray(want));
}

INSTANTIATE_TEST_SUITE_P(Bytes, VoicePackingOneByte,
                         testing::Values(UnpackCase{12, 0x7F, {{13, 7}, {20, 15}}},
                                         UnpackCase{116, 0xFF, {{141, 1}, {142, 7}, {143, 7}}},
                                         UnpackCase{0, 0xC1, {{0, 193}}}, UnpackCase{117, 0xC1, {{144, 193}}},
                                         UnpackCase{11, 0xFF, {{11, 3}, {12, 3}}},
                                         UnpackCase{100, 0xFF, {{122, 1}, {123, 31}}}, // op1 mode, coarse
                                         UnpackCase{111, 0xFF, {{135, 7}, {136, 1}}}));

TEST(VoicePacking, WrongSizesAreRefusedAndLeaveTheOutputAlone)
{
    EXPECT_TRUE(Unpack(ByteString(127, 'a')).empty());
    EXPECT_TRUE(Unpack(ByteString(129, 'a')).empty());
    EXPECT_TRUE(Pack(ByteString(154, 'a')).empty());
    ByteArray out{1, 2, 3};
    EXPECT_FALSE(UnpackByt(ByteArray(127), out));
    EXPECT_FALSE(UnpackByt(ByteArray(129), out));
    EXPECT_FALSE(PackByt(ByteArray(156), out));
    EXPECT_EQ(out, (ByteArray{1, 2, 3}));
}

} // namespace
} // namespace toneloft
