#include "voice/VoiceFileContent.h"

#include "voice/VoiceFileFormat.h"
#include "voice/VoicePacking.h"
#include "voice/VoiceParameterTable.h"

#include <algorithm>
#include <array>
#include <vector>

namespace toneloft {

namespace {

constexpr std::uint8_t kSysexStart = 0xF0;
constexpr std::uint8_t kSysexEnd = 0xF7;
constexpr std::uint8_t kYamahaId = 0x43;
constexpr std::size_t kNameOffset = 145; // in an unpacked voice
constexpr std::size_t kPackedNameOffset = 118;

// The length rule, one layout at a time (see GetFileType).
bool lengthFits(std::size_t length, int fileType)
{
    switch (fileType) {
    case 0: return length % kUnpackedVoiceSize == 0;
    case 1: return length % kSingleMessageSize == 0;
    case 2: return length % kPackedVoiceSize == 0;
    case 3: return (length % kBankDataSize) % 8 == 0;
    default: return false;
    }
}

// F0 43 0n and the format byte: 09 for a bank, 00 01 1B for a single voice.
bool bankHeaderAt(std::span<const std::uint8_t> c, std::size_t p)
{
    return p + kSysexHeaderSize <= c.size() && c[p] == kSysexStart && c[p + 1] == kYamahaId &&
           (c[p + 2] & 0xF0) == 0 && c[p + 3] == 0x09;
}

bool singleHeaderAt(std::span<const std::uint8_t> c, std::size_t p)
{
    return p + kSysexHeaderSize <= c.size() && c[p] == kSysexStart && c[p + 1] == kYamahaId &&
           (c[p + 2] & 0xF0) == 0 && c[p + 3] == 0x00 && c[p + 4] == 0x01 && c[p + 5] == 0x1B;
}

// count data bytes from p, all below 128 (a status byte ends a message early).
bool dataBytesAt(std::span<const std::uint8_t> c, std::size_t p, std::size_t count)
{
    if (p + count > c.size())
        return false;
    return std::all_of(c.begin() + static_cast<std::ptrdiff_t>(p),
                       c.begin() + static_cast<std::ptrdiff_t>(p + count),
                       [](std::uint8_t b) { return b < 0x80; });
}

bool nameByteBad(std::uint8_t b)
{
    return b < 32 || b > 126;
}

bool valueBad(std::size_t param, unsigned value)
{
    if (param >= kNameOffset)
        return nameByteBad(static_cast<std::uint8_t>(value));
    const VoiceParameter& row = VoiceParameterTable::row(static_cast<int>(param));
    return static_cast<int>(value) < row.min || static_cast<int>(value) > row.max;
}

std::size_t unpackedOutOfRange(std::span<const std::uint8_t> voice)
{
    std::size_t bad = 0;
    for (std::size_t i = 0; i < kUnpackedVoiceSize; ++i)
        bad += valueBad(i, voice[i]) ? 1u : 0u;
    return bad;
}

std::size_t packedOutOfRange(std::span<const std::uint8_t> voice)
{
    const PackingMapTable& map = PackingMap();
    std::size_t bad = 0;
    for (std::size_t k = 0; k < kPackedVoiceSize; ++k) {
        const unsigned byte = voice[k];
        if (k >= kPackedNameOffset) {
            bad += nameByteBad(static_cast<std::uint8_t>(byte)) ? 1u : 0u;
            continue;
        }
        if (byte > 0x7F)
            ++bad;
        unsigned used = 0;
        for (const PackField& f : map[k].fields) {
            if (f.param < 1)
                continue;
            unsigned value = byte;
            if (f.firstBit > 0) {
                const unsigned mask = (1u << static_cast<unsigned>(f.lastBit - f.firstBit + 1)) - 1u;
                value = (byte >> static_cast<unsigned>(f.firstBit - 1)) & mask;
                used |= mask << static_cast<unsigned>(f.firstBit - 1);
            } else {
                used = 0xFF;
            }
            bad += valueBad(static_cast<std::size_t>(f.param - 1), value) ? 1u : 0u;
        }
        if ((byte & ~used & 0x7F) != 0)
            ++bad;
    }
    return bad;
}

} // namespace

bool HoldsWholeMessages(std::span<const std::uint8_t> content, int fileType)
{
    if (fileType != 1 && fileType != 3)
        return false;
    const std::size_t size = fileType == 1 ? kSingleMessageSize : kBankMessageSize;
    if (content.empty() || content.size() % size != 0)
        return false;
    for (std::size_t p = 0; p < content.size(); p += size) {
        const bool header = fileType == 1 ? singleHeaderAt(content, p) : bankHeaderAt(content, p);
        if (!header || content[p + size - 1] != kSysexEnd)
            return false;
    }
    return true;
}

std::size_t CountValuesOutOfRange(std::span<const std::uint8_t> image, int rawType)
{
    if (rawType != 0 && rawType != 2)
        return 0;
    const std::size_t size = rawType == 0 ? kUnpackedVoiceSize : kPackedVoiceSize;
    std::size_t bad = 0;
    for (std::size_t p = 0; p + size <= image.size(); p += size)
        bad += rawType == 0 ? unpackedOutOfRange(image.subspan(p, size)) : packedOutOfRange(image.subspan(p, size));
    return bad;
}

int FileTypeOfContent(std::span<const std::uint8_t> content)
{
    const std::size_t length = content.size();
    const auto lengthType = GetFileType(static_cast<long long>(length));
    std::array<bool, 4> fits{};
    int fitting = 0;
    for (int t = 0; t < 4; ++t) {
        fits[static_cast<std::size_t>(t)] = lengthFits(length, t);
        fitting += fits[static_cast<std::size_t>(t)] ? 1 : 0;
    }
    if (length == 0 || fitting <= 1)
        return lengthType;
    if (fits[3] && HoldsWholeMessages(content, 3))
        return 3;
    if (fits[1] && HoldsWholeMessages(content, 1))
        return 1;
    if (fits[0] && fits[2])
        return CountValuesOutOfRange(content, 2) < CountValuesOutOfRange(content, 0) ? 2 : 0;
    if (fits[0])
        return 0;
    if (fits[2])
        return 2;
    return lengthType;
}

VoicesFound FindVoicesInside(std::span<const std::uint8_t> content)
{
    // The messages first, each as it stands; packing waits until the layout is known.
    struct Found {
        std::size_t at;
        bool bank;
    };
    std::vector<Found> found;
    std::size_t p = 0;
    while (p < content.size()) {
        if (bankHeaderAt(content, p) && dataBytesAt(content, p + kSysexHeaderSize, kBankDataSize)) {
            found.push_back({p + kSysexHeaderSize, true});
            p += kSysexHeaderSize + kBankDataSize;
        } else if (singleHeaderAt(content, p) && dataBytesAt(content, p + kSysexHeaderSize, kUnpackedVoiceSize)) {
            found.push_back({p + kSysexHeaderSize, false});
            p += kSysexHeaderSize + kUnpackedVoiceSize;
        } else {
            ++p;
        }
    }

    VoicesFound out;
    if (found.empty())
        return out;
    const bool packed = std::any_of(found.begin(), found.end(), [](const Found& f) { return f.bank; });
    out.fileType = packed ? 2 : 0;
    for (const Found& f : found) {
        if (f.bank) {
            out.image.insert(out.image.end(), content.begin() + static_cast<std::ptrdiff_t>(f.at),
                             content.begin() + static_cast<std::ptrdiff_t>(f.at + kBankDataSize));
            out.voiceCount += kBankDataSize / kPackedVoiceSize;
            continue;
        }
        const auto voice = content.subspan(f.at, kUnpackedVoiceSize);
        if (packed) {
            std::array<std::uint8_t, kPackedVoiceSize> one{};
            packVoice(std::span<const std::uint8_t, kUnpackedVoiceSize>(voice.data(), kUnpackedVoiceSize), one);
            out.image.insert(out.image.end(), one.begin(), one.end());
        } else {
            out.image.insert(out.image.end(), voice.begin(), voice.end());
        }
        ++out.voiceCount;
    }
    return out;
}

} // namespace toneloft
