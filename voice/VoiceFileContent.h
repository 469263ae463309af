#pragma once

#include "common/ByteString.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace toneloft {

// The file type of content whose length fits more than one layout, found from
// the bytes themselves; for a length that fits one layout (or none) the length
// rule alone (GetFileType). Whole bank messages (F0 43 0n 09 .. .. + 4096 data
// + sum + F7, every 4104 bytes) are type 3, whole single-voice messages
// (F0 43 0n 00 01 1B + 155 data + sum + F7, every 163 bytes) type 1; between
// the two raw layouts, the one under which fewer values fall outside their
// ranges (a tie goes to the unpacked one, as the length rule does).
int FileTypeOfContent(std::span<const std::uint8_t> content);

// True when content is nothing but whole messages of type 1 or 3, back to back.
bool HoldsWholeMessages(std::span<const std::uint8_t> content, int fileType);

// Read as voices of raw type 0 (155 bytes) or 2 (128 bytes): how many values
// fall outside their parameter's range, name bytes outside 32..126 and, for
// packed voices, bytes above 127 or with bits no parameter uses included.
// A trailing part of a voice is not read.
std::size_t CountValuesOutOfRange(std::span<const std::uint8_t> image, int rawType);

// DX7 voices found in data the length and header rules refuse: every whole
// bank message (F0 43 0n 09, then 4096 data bytes below 128; the checksum and
// F7 may be missing) and every whole single-voice message (F0 43 0n 00 01 1B,
// then 155 data bytes below 128), in the order they come, with any bytes
// around them skipped. With a bank among them the voices come back packed
// (type 2), otherwise unpacked (type 0).
struct VoicesFound {
    int fileType = -1; // 0 or 2; -1 when nothing was found
    ByteArray image;   // the voices back to back
    std::size_t voiceCount = 0;
};
VoicesFound FindVoicesInside(std::span<const std::uint8_t> content);

} // namespace toneloft
