#include "common/Crc32.h"

#include <array>
#include <cstddef>

namespace toneloft {

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u; // IEEE 802.3, reflected

// Slicing by 8: table[0] is the classic byte table; table[k][b] is the CRC of
// byte b followed by k zero bytes, so eight bytes are folded in per step.
using SliceTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr SliceTables makeTables()
{
    SliceTables t{};
    for (std::uint32_t b = 0; b < 256; ++b) {
        std::uint32_t crc = b;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ kPolynomial : crc >> 1;
        t[0][b] = crc;
    }
    for (std::size_t k = 1; k < 8; ++k)
        for (std::size_t b = 0; b < 256; ++b)
            t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFFu];
    return t;
}

constexpr SliceTables kTables = makeTables();

std::uint32_t loadLittleEndian32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint32_t crcOf(const unsigned char* p, std::size_t n)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (; n >= 8; n -= 8, p += 8) {
        const std::uint32_t lo = loadLittleEndian32(p) ^ crc;
        const std::uint32_t hi = loadLittleEndian32(p + 4);
        crc = kTables[7][lo & 0xFFu] ^ kTables[6][(lo >> 8) & 0xFFu] ^
              kTables[5][(lo >> 16) & 0xFFu] ^ kTables[4][lo >> 24] ^
              kTables[3][hi & 0xFFu] ^ kTables[2][(hi >> 8) & 0xFFu] ^
              kTables[1][(hi >> 16) & 0xFFu] ^ kTables[0][hi >> 24];
    }
    for (; n > 0; --n, ++p)
        crc = (crc >> 8) ^ kTables[0][(crc ^ *p) & 0xFFu];
    return crc ^ 0xFFFFFFFFu;
}

std::uint8_t checksumOf(const unsigned char* p, std::size_t n)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum += p[i];
    return static_cast<std::uint8_t>((0u - sum) & 0x7Fu);
}

const unsigned char* bytesOf(std::string_view s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

} // namespace

std::int32_t CalcCRC32(std::string_view bytes)
{
    return static_cast<std::int32_t>(crcOf(bytesOf(bytes), bytes.size()));
}

std::int32_t CalcCRC32(std::span<const std::uint8_t> bytes)
{
    return static_cast<std::int32_t>(crcOf(bytes.data(), bytes.size()));
}

std::uint8_t SysexChecksum(std::string_view data)
{
    return checksumOf(bytesOf(data), data.size());
}

std::uint8_t SysexChecksum(std::span<const std::uint8_t> data)
{
    return checksumOf(data.data(), data.size());
}

} // namespace toneloft
