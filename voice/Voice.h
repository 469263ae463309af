#pragma once

#include "common/ByteString.h"
#include "voice/VoicePacking.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace toneloft {

// How a list stores its voices; the numbers are the file types.
enum class VoiceLayout : int {
    Unpacked = 0,       // 155-byte voices back to back
    VoiceMessages = 1,  // 155-byte voices, each in a single-voice message
    Packed = 2,         // 128-byte voices back to back
    BankMessages = 3,   // 128-byte voices, 32 to a bank message
};

// The layout of a file type 0..3; nothing for any other number.
std::optional<VoiceLayout> voiceLayoutOf(int fileType);
constexpr int fileTypeOf(VoiceLayout layout) { return static_cast<int>(layout); }
// Packed layouts hold 128-byte voices. The one rule: IsPackedType follows it.
constexpr bool isPacked(VoiceLayout layout)
{
    return layout == VoiceLayout::Packed || layout == VoiceLayout::BankMessages;
}

// One voice as a value: its 155 unpacked parameter bytes (the last 10 are the
// name), with the keys a librarian compares voices by. The keys are those of
// the voice as its list stores it (packed or not: a list's Data and Names
// texts), taken once when the voice is made.
class Voice {
public:
    static constexpr std::size_t kNameSize = 10;

    struct Keys {
        std::int32_t crcAll = 0;         // CRC-32 of the stored voice
        std::int32_t crcExName = 0;      // of the stored voice without its name
        std::uint8_t checksumAll = 0;    // 7-bit checksum of the stored voice
        std::uint8_t checksumExName = 0; // and without its name
    };

    // The keys of the bytes a list stores for one voice (the last 10 being its name).
    static Keys keysOf(std::string_view stored);

    // From the bytes a list of this layout stores for one voice (155 or 128);
    // nothing when the length does not fit the layout.
    static std::optional<Voice> fromStored(std::string_view stored, VoiceLayout layout);
    static std::optional<Voice> fromUnpacked(std::string_view unpacked)
    {
        return fromStored(unpacked, VoiceLayout::Unpacked);
    }

    const std::array<std::uint8_t, kUnpackedVoiceSize>& bytes() const { return m_bytes; }
    ByteString unpacked() const;
    ByteString packed() const;
    // The voice as a list of that layout stores it.
    ByteString stored(VoiceLayout layout) const;
    // The 10 name characters as they are, blanks included.
    std::string_view name() const;

    VoiceLayout layout() const { return m_layout; }
    const Keys& keys() const { return m_keys; }

    friend bool operator==(const Voice& a, const Voice& b) { return a.m_bytes == b.m_bytes; }

private:
    friend class VoiceColumn; // hands out voices with the keys it keeps
    Voice() = default;
    static std::optional<Voice> make(std::string_view stored, VoiceLayout layout, const Keys& keys);
    std::array<std::uint8_t, kUnpackedVoiceSize> m_bytes{};
    VoiceLayout m_layout = VoiceLayout::Unpacked;
    Keys m_keys;
};

} // namespace toneloft
