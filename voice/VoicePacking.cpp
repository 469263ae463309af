#include "voice/VoicePacking.h"

#include <algorithm>

namespace toneloft {

namespace {

constexpr int kOperatorCount = 6;
constexpr int kUnpackedOperatorSize = 21;
constexpr int kPackedOperatorSize = 17;

constexpr PackField wholeByte(int offset)
{
    return {offset + 1, -1, -1};
}

constexpr PackField bits(int offset, int firstBit, int lastBit)
{
    return {offset + 1, firstBit, lastBit};
}

PackingMapTable buildPackingMap()
{
    PackingMapTable map{};
    for (std::size_t b = 0; b < map.size(); ++b)
        map[b].byteNumber = static_cast<int>(b) + 1;

    auto set = [&map](int packedOffset, PackField a, PackField b = {}, PackField c = {}) {
        map[static_cast<std::size_t>(packedOffset)].fields = {a, b, c};
    };

    // Operator blocks, operator 6 first: 17 packed bytes for 21 unpacked ones.
    for (int block = 0; block < kOperatorCount; ++block) {
        const int p = block * kPackedOperatorSize;
        const int u = block * kUnpackedOperatorSize;
        for (int k = 0; k <= 10; ++k) // EG rates, EG levels, break point, depths
            set(p + k, wholeByte(u + k));
        set(p + 11, bits(u + 11, 1, 2), bits(u + 12, 3, 4)); // left curve, right curve
        set(p + 12, bits(u + 13, 1, 3), bits(u + 20, 4, 7)); // rate scaling, detune
        set(p + 13, bits(u + 14, 1, 2), bits(u + 15, 3, 5)); // AMS, key velocity sens.
        set(p + 14, wholeByte(u + 16));                      // output level
        set(p + 15, bits(u + 17, 1, 1), bits(u + 18, 2, 6)); // osc mode, coarse
        set(p + 16, wholeByte(u + 19));                      // fine
    }

    for (int k = 0; k < 8; ++k) // pitch EG rates and levels
        set(102 + k, wholeByte(126 + k));
    set(110, wholeByte(134));                        // algorithm
    set(111, bits(135, 1, 3), bits(136, 4, 4));      // feedback, osc key sync
    for (int k = 0; k < 4; ++k)                      // LFO speed, delay, PMD, AMD
        set(112 + k, wholeByte(137 + k));
    set(116, bits(141, 1, 1), bits(142, 2, 4), bits(143, 5, 7)); // LFO sync, wave, PMS
    set(117, wholeByte(144));                        // transpose
    for (int k = 0; k < 10; ++k)                     // name
        set(118 + k, wholeByte(145 + k));
    return map;
}

constexpr unsigned fieldMask(const PackField& f)
{
    return (1u << static_cast<unsigned>(f.lastBit - f.firstBit + 1)) - 1u;
}

constexpr unsigned fieldShift(const PackField& f)
{
    return static_cast<unsigned>(f.firstBit - 1);
}

constexpr std::size_t paramIndex(const PackField& f)
{
    return static_cast<std::size_t>(f.param - 1);
}

} // namespace

const PackingMapTable& PackingMap()
{
    static const PackingMapTable map = buildPackingMap();
    return map;
}

void packVoice(std::span<const std::uint8_t, kUnpackedVoiceSize> in,
               std::span<std::uint8_t, kPackedVoiceSize> out)
{
    const PackingMapTable& map = PackingMap();
    for (std::size_t b = 0; b < kPackedVoiceSize; ++b) {
        const auto& fields = map[b].fields;
        if (fields[0].firstBit == -1) {
            out[b] = in[paramIndex(fields[0])];
            continue;
        }
        unsigned byte = 0;
        for (const PackField& f : fields) {
            if (f.param == -1)
                break;
            byte |= (unsigned{in[paramIndex(f)]} & fieldMask(f)) << fieldShift(f);
        }
        out[b] = static_cast<std::uint8_t>(byte);
    }
}

void unpackVoice(std::span<const std::uint8_t, kPackedVoiceSize> in,
                 std::span<std::uint8_t, kUnpackedVoiceSize> out)
{
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    const PackingMapTable& map = PackingMap();
    for (std::size_t b = 0; b < kPackedVoiceSize; ++b) {
        const auto& fields = map[b].fields;
        if (fields[0].firstBit == -1) {
            out[paramIndex(fields[0])] = in[b];
            continue;
        }
        for (const PackField& f : fields) {
            if (f.param == -1)
                break;
            out[paramIndex(f)] = static_cast<std::uint8_t>((unsigned{in[b]} >> fieldShift(f)) & fieldMask(f));
        }
    }
}

ByteString Pack(std::string_view unpacked155)
{
    if (unpacked155.size() != kUnpackedVoiceSize)
        return {};
    std::array<std::uint8_t, kUnpackedVoiceSize> in{};
    std::copy(unpacked155.begin(), unpacked155.end(), in.begin());
    std::array<std::uint8_t, kPackedVoiceSize> out{};
    packVoice(in, out);
    return ByteString(out.begin(), out.end());
}

bool PackByt(std::span<const std::uint8_t> unpacked, ByteArray& packed)
{
    if (unpacked.size() != kUnpackedVoiceSize)
        return false;
    ByteArray out(kPackedVoiceSize);
    packVoice(unpacked.first<kUnpackedVoiceSize>(), std::span<std::uint8_t, kPackedVoiceSize>(out));
    packed = std::move(out);
    return true;
}

ByteString Unpack(std::string_view packed)
{
    if (packed.size() != kPackedVoiceSize)
        return {};
    std::array<std::uint8_t, kPackedVoiceSize> in{};
    std::copy(packed.begin(), packed.end(), in.begin());
    std::array<std::uint8_t, kUnpackedVoiceSize> out{};
    unpackVoice(in, out);
    return ByteString(out.begin(), out.end());
}

bool UnpackByt(std::span<const std::uint8_t> packed, ByteArray& unpacked)
{
    if (packed.size() != kPackedVoiceSize)
        return false;
    ByteArray out(kUnpackedVoiceSize);
    unpackVoice(packed.first<kPackedVoiceSize>(), std::span<std::uint8_t, kUnpackedVoiceSize>(out));
    unpacked = std::move(out);
    return true;
}

} // namespace toneloft
