#include "common/Crc32.h"

#include "support/Corpus.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace toneloft {
namespace {

// Bit by bit, straight from the polynomial: the reference the table-driven
// code must agree with.
std::int32_t bitwiseCrc32(const std::uint8_t* p, std::size_t n)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return static_cast<std::int32_t>(~crc);
}

struct CrcVector {
    const char* text;
    std::uint32_t crc;
};

class Crc32Vector : public testing::TestWithParam<CrcVector> {};

TEST_P(Crc32Vector, MatchesPublishedValue)
{
    const std::string text = GetParam().text;
    const auto expected = static_cast<std::int32_t>(GetParam().crc);
    EXPECT_EQ(CalcCRC32(text), expected);
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    EXPECT_EQ(CalcCRC32(std::span<const std::uint8_t>(bytes)), expected);
}

INSTANTIATE_TEST_SUITE_P(Known, Crc32Vector, testing::Values(
    CrcVector{"", 0x00000000u},
    CrcVector{"a", 0xE8B7BE43u},
    CrcVector{"123456789", 0xCBF43926u},
    CrcVector{"The quick brown fox jumps over the lazy dog", 0x414FA339u}));

TEST(Crc32, CheckValueIsSigned)
{
    EXPECT_EQ(CalcCRC32("123456789"), -873187034);
}

// Every length up to a few blocks of eight, from every alignment, then a
// large image: the eight-at-a-time path and the byte tail must agree with the
// reference wherever the data start and end.
TEST(Crc32, AgreesWithBitwiseReferenceOnRandomData)
{
    std::mt19937 random(20240517u);
    std::vector<std::uint8_t> data(1 << 20);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(random());

    for (std::size_t offset = 0; offset < 8; ++offset)
        for (std::size_t length = 0; length <= 40; ++length)
            ASSERT_EQ(CalcCRC32(std::span<const std::uint8_t>(data.data() + offset, length)),
                      bitwiseCrc32(data.data() + offset, length))
                << "offset " << offset << " length " << length;

    EXPECT_EQ(CalcCRC32(std::span<const std::uint8_t>(data)), bitwiseCrc32(data.data(), data.size()));
    const std::string asText(data.begin(), data.end() - 3);
    EXPECT_EQ(CalcCRC32(asText), bitwiseCrc32(data.data(), data.size() - 3));
}

struct ChecksumCase {
    std::vector<std::uint8_t> data;
    std::uint8_t expected;
};

class SysexChecksumCase : public testing::TestWithParam<ChecksumCase> {};

TEST_P(SysexChecksumCase, IsNegatedSumLowSevenBits)
{
    const auto& c = GetParam();
    EXPECT_EQ(SysexChecksum(std::span<const std::uint8_t>(c.data)), c.expected);
    const std::string text(c.data.begin(), c.data.end());
    EXPECT_EQ(SysexChecksum(text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Sums, SysexChecksumCase, testing::Values(
    ChecksumCase{{}, 0x00},
    ChecksumCase{{0x01}, 0x7F},
    ChecksumCase{{0x7F, 0x01}, 0x00},
    ChecksumCase{{0x63, 0x63, 0x63}, 0x57},
    ChecksumCase{std::vector<std::uint8_t>(4096, 0x7F), 0x00},
    ChecksumCase{std::vector<std::uint8_t>(155, 0x01), 0x65}));

class SysexChecksumCorpus : public testing::TestWithParam<const char*> {};

// Real dumps: the byte before F7 is the checksum of the data after the 6-byte header.
TEST_P(SysexChecksumCorpus, MatchesRealDump)
{
    TONELOFT_REQUIRE_CORPUS();
    std::ifstream in(test::corpusDir() / GetParam(), std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(file.size(), 8u);
    const auto data = std::string_view(file).substr(6, file.size() - 8);
    EXPECT_EQ(SysexChecksum(data), static_cast<std::uint8_t>(file[file.size() - 2]));
}

INSTANTIATE_TEST_SUITE_P(Files, SysexChecksumCorpus,
                         testing::Values("001.syx", "BublClap.syx", "ROM1A.syx", "DUITSL.SYX"));

} // namespace
} // namespace toneloft
