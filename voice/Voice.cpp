#include "voice/Voice.h"

#include "common/Crc32.h"

#include <algorithm>

namespace toneloft {

std::optional<VoiceLayout> voiceLayoutOf(int fileType)
{
    if (fileType < 0 || fileType > 3)
        return std::nullopt;
    return static_cast<VoiceLayout>(fileType);
}

Voice::Keys Voice::keysOf(std::string_view stored)
{
    // The name is the last 10 bytes in both forms.
    const std::string_view exName = stored.substr(0, stored.size() - std::min(stored.size(), kNameSize));
    Keys keys;
    keys.crcAll = CalcCRC32(stored);
    keys.crcExName = CalcCRC32(exName);
    keys.checksumAll = SysexChecksum(stored);
    keys.checksumExName = SysexChecksum(exName);
    return keys;
}

std::optional<Voice> Voice::fromStored(std::string_view stored, VoiceLayout layout)
{
    return make(stored, layout, keysOf(stored));
}

std::optional<Voice> Voice::make(std::string_view stored, VoiceLayout layout, const Keys& keys)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(stored.data());
    Voice v;
    v.m_layout = layout;
    if (isPacked(layout)) {
        if (stored.size() != kPackedVoiceSize)
            return std::nullopt;
        unpackVoice(std::span<const std::uint8_t, kPackedVoiceSize>(bytes, kPackedVoiceSize), v.m_bytes);
    } else {
        if (stored.size() != kUnpackedVoiceSize)
            return std::nullopt;
        std::copy_n(bytes, kUnpackedVoiceSize, v.m_bytes.begin());
    }
    v.m_keys = keys;
    return v;
}

ByteString Voice::unpacked() const
{
    return ByteString(reinterpret_cast<const char*>(m_bytes.data()), m_bytes.size());
}

ByteString Voice::packed() const
{
    ByteString out(kPackedVoiceSize, '\0');
    packVoice(m_bytes, std::span<std::uint8_t, kPackedVoiceSize>(reinterpret_cast<std::uint8_t*>(out.data()),
                                                                  kPackedVoiceSize));
    return out;
}

ByteString Voice::stored(VoiceLayout layout) const
{
    return isPacked(layout) ? packed() : unpacked();
}

std::string_view Voice::name() const
{
    return std::string_view(reinterpret_cast<const char*>(m_bytes.data()) + kUnpackedVoiceSize - kNameSize,
                            kNameSize);
}

} // namespace toneloft
