#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace toneloft {

// CRC-32 of IEEE 802.3 (reflected polynomial EDB88320h, initial value and final
// exclusive-or FFFFFFFFh) returned as a signed 32-bit number.
std::int32_t CalcCRC32(std::string_view bytes);
std::int32_t CalcCRC32(std::span<const std::uint8_t> bytes);

// The DX7 message checksum: the data bytes summed, negated, low 7 bits kept.
std::uint8_t SysexChecksum(std::string_view data);
std::uint8_t SysexChecksum(std::span<const std::uint8_t> data);

} // namespace toneloft
