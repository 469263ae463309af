#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft::vxc {

// One SY77 1AFM voice message, offsets from F0:
//   0-3 F0 43 0n 7A · 4-5 byte count (7 bits each, from offset 6 to the last data
//   byte) · 6-15 "LM  8101VC" · 16-29 zero · 30 memory type · 31 memory number ·
//   32-463 voice data · 464 checksum · 465 F7
constexpr std::size_t kSyVoiceSize = 466;
constexpr std::size_t kSyCountedFirst = 6;
constexpr std::size_t kSyChecksumOffset = 464;
constexpr std::string_view kSyVoiceTag = "LM  8101VC";
constexpr std::size_t kSyMemoryType = 30;
constexpr std::size_t kSyMemoryNumber = 31;
constexpr std::size_t kSyElementMode = 32;
constexpr std::size_t kSyName = 33;
constexpr std::size_t kSyNoteShift = 100; // element mixer note shift, 64 = none
constexpr std::size_t kSyOperators = 107; // six blocks of 45 bytes, operator 6 first
constexpr std::size_t kSyOperatorSize = 45;
constexpr std::size_t kSyAlgorithm = 377; // 0..44 for algorithms 1..45

using SyVoice = std::array<std::uint8_t, kSyVoiceSize>;

// The template must be one 466-byte 1AFM voice message (element mode 0 or 3).
bool IsUsableTemplate(std::span<const std::uint8_t> bytes);

// (-sum of offsets 6..463) AND 7Fh.
std::uint8_t SyChecksum(std::span<const std::uint8_t, kSyVoiceSize> message);

// Offset of SY operator op (1..6) in the message.
constexpr std::size_t SyOperatorOffset(int op)
{
    return kSyOperators + static_cast<std::size_t>(6 - op) * kSyOperatorSize;
}

// Converts one unpacked DX7 voice (155 bytes) into an SY77 1AFM poly voice for
// internal memory slot memoryNumber (0..63). Every byte not converted comes from
// the template. Each approximation made is appended to notes, one line each.
SyVoice ConvertVoice(std::span<const std::uint8_t, 155> dx, const SyVoice& syTemplate,
                     int memoryNumber, std::vector<std::string>& notes);

} // namespace toneloft::vxc
