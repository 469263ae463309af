#pragma once

#include "common/ByteString.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace toneloft {

// A voice is 155 bytes unpacked (one parameter per byte) or 128 bytes packed
// (the layout inside a 32-voice bank, small parameters sharing a byte).
constexpr std::size_t kUnpackedVoiceSize = 155;
constexpr std::size_t kPackedVoiceSize = 128;

// One bit field of a packed byte: the unpacked parameter number (1..155) and
// its bits, counted from 1 (bit 1 is the least significant). A whole byte has
// firstBit == lastBit == -1; an unused field is -1 throughout.
struct PackField {
    int param = -1;
    int firstBit = -1;
    int lastBit = -1;
};

// The fields of one packed byte (number 1..128), in order of rising bit.
struct PackMapEntry {
    int byteNumber = 0;
    std::array<PackField, 3> fields{};
};

using PackingMapTable = std::array<PackMapEntry, kPackedVoiceSize>;

// Built on first use and shared by every caller.
const PackingMapTable& PackingMap();

// Packing masks each value to its field width, so a value too wide for its
// field never spills into a neighbour; whole-byte parameters keep all 8 bits
// both ways; unlisted bits pack as 0.

// 155 bytes in, 128 out; empty unless the input is exactly 155 bytes.
ByteString Pack(std::string_view unpacked155);
// False, and packed untouched, unless unpacked holds exactly 155 bytes.
bool PackByt(std::span<const std::uint8_t> unpacked, ByteArray& packed);

// 128 bytes in, 155 out; empty unless the input is exactly 128 bytes.
ByteString Unpack(std::string_view packed);
// False, and unpacked untouched, unless packed holds exactly 128 bytes.
bool UnpackByt(std::span<const std::uint8_t> packed, ByteArray& unpacked);

// Allocation-free forms for whole images: one voice from in to out.
void packVoice(std::span<const std::uint8_t, kUnpackedVoiceSize> in,
               std::span<std::uint8_t, kPackedVoiceSize> out);
void unpackVoice(std::span<const std::uint8_t, kPackedVoiceSize> in,
                 std::span<std::uint8_t, kUnpackedVoiceSize> out);

} // namespace toneloft
