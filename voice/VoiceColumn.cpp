#include "voice/VoiceColumn.h"

#include "common/Recordset.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>

namespace toneloft {

namespace {

constexpr char kBlank = ' ';

// A number as the key fields show it: a blank where a minus sign would stand.
void formatKey(std::array<char, 12>& out, long long n)
{
    char* begin = out.data();
    if (n >= 0)
        *begin++ = kBlank;
    const auto end = std::to_chars(begin, out.data() + out.size() - 1, n).ptr;
    out.back() = static_cast<char>(end - out.data());
}

} // namespace

VoiceColumn::VoiceColumn(VoiceLayout layout, const Recordset& table)
    : m_layout(layout),
      m_stride(isPacked(layout) ? kPackedVoiceSize : kUnpackedVoiceSize),
      m_dataSize(m_stride - Voice::kNameSize),
      m_dataField(table.fieldIndex(clsVoiceNames::kData)),
      m_namesField(table.fieldIndex(clsVoiceNames::kNames)),
      m_keyFields{table.fieldIndex(clsVoiceNames::kCRCAll), table.fieldIndex(clsVoiceNames::kCRCExName),
                  table.fieldIndex(clsVoiceNames::kChecksumAll), table.fieldIndex(clsVoiceNames::kChecksumExName)}
{
}

VoiceColumn& VoiceColumn::attachTo(Recordset& table, VoiceLayout layout)
{
    if (VoiceColumn* column = of(table); column && isPacked(column->layout()) == isPacked(layout))
        return *column;
    auto column = std::make_shared<VoiceColumn>(layout, table);
    table.attachColumnSource(column);
    return *column;
}

VoiceColumn* VoiceColumn::of(const Recordset& table)
{
    return dynamic_cast<VoiceColumn*>(table.columnSource());
}

bool VoiceColumn::serves(std::size_t field) const
{
    const auto f = static_cast<int>(field);
    return f == m_dataField || f == m_namesField || keyIndex(field) >= 0;
}

int VoiceColumn::keyIndex(std::size_t field) const
{
    const auto it = std::find(m_keyFields.begin(), m_keyFields.end(), static_cast<int>(field));
    return it == m_keyFields.end() ? -1 : static_cast<int>(it - m_keyFields.begin());
}

void VoiceColumn::reset()
{
    m_bytes.clear();
    m_whole.clear();
    m_otherData.clear();
    m_keys.clear();
    m_keyTexts.clear();
    m_stale.clear();
}

void VoiceColumn::reserve(std::size_t rows)
{
    m_bytes.reserve(rows * m_stride);
    m_whole.reserve(rows);
    m_keys.reserve(rows);
    m_keyTexts.reserve(rows * kKeyFields);
    m_stale.reserve(rows);
}

void VoiceColumn::putImage(ByteArray&& image)
{
    const std::size_t first = slotCount();
    const std::size_t voices = image.size() / m_stride;
    if (first == 0 && m_bytes.empty()) {
        m_bytes = std::move(image);
        m_bytes.resize(voices * m_stride);
    } else {
        m_bytes.insert(m_bytes.end(), image.begin(), image.begin() + static_cast<std::ptrdiff_t>(voices * m_stride));
    }
    const std::size_t total = first + voices;
    m_whole.resize(total, 1);
    m_keys.resize(total);
    m_keyTexts.resize(total * kKeyFields);
    // Keys are taken when first asked: opening a file need not pay for them.
    m_stale.resize(total, 1);
}

void VoiceColumn::rowAdded(std::uint32_t slot)
{
    if (slot < slotCount())
        return; // put ahead by putImage
    // A new row: no Data yet, a blank name.
    const std::size_t total = static_cast<std::size_t>(slot) + 1;
    m_bytes.resize(total * m_stride, 0);
    std::fill_n(m_bytes.end() - static_cast<std::ptrdiff_t>(Voice::kNameSize), Voice::kNameSize, kBlank);
    m_whole.resize(total, 0);
    m_keys.resize(total);
    m_keyTexts.resize(total * kKeyFields);
    m_stale.resize(total, 1);
}

bool VoiceColumn::hasVoice(std::uint32_t slot) const
{
    return slot < slotCount() && m_whole[slot] != 0;
}

std::string_view VoiceColumn::stored(std::uint32_t slot) const
{
    if (!hasVoice(slot))
        return {};
    return {reinterpret_cast<const char*>(m_bytes.data()) + static_cast<std::size_t>(slot) * m_stride, m_stride};
}

std::optional<Voice> VoiceColumn::voice(std::uint32_t slot) const
{
    if (!hasVoice(slot))
        return std::nullopt;
    return Voice::make(stored(slot), m_layout, keys(slot));
}

const Voice::Keys& VoiceColumn::keys(std::uint32_t slot) const
{
    static const Voice::Keys kNone;
    if (slot >= slotCount())
        return kNone;
    refreshKeys(slot);
    return m_keys[slot];
}

void VoiceColumn::appendStored(std::uint32_t slot, ByteArray& out) const
{
    if (slot >= slotCount())
        return;
    if (hasVoice(slot)) {
        const std::string_view bytes = stored(slot);
        out.insert(out.end(), bytes.begin(), bytes.end());
        return;
    }
    const std::string_view data = dataText(slot);
    const std::size_t kept = std::min(data.size(), m_dataSize);
    out.insert(out.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(kept));
    out.insert(out.end(), m_dataSize - kept, 0);
    const std::string_view name = nameText(slot);
    out.insert(out.end(), name.begin(), name.end());
}

std::string_view VoiceColumn::dataText(std::uint32_t slot) const
{
    if (m_whole[slot] != 0)
        return {reinterpret_cast<const char*>(m_bytes.data()) + static_cast<std::size_t>(slot) * m_stride, m_dataSize};
    const auto it = m_otherData.find(slot);
    return it == m_otherData.end() ? std::string_view() : std::string_view(it->second);
}

std::string_view VoiceColumn::nameText(std::uint32_t slot) const
{
    return {reinterpret_cast<const char*>(m_bytes.data()) + static_cast<std::size_t>(slot) * m_stride + m_dataSize,
            Voice::kNameSize};
}

void VoiceColumn::takeKeys(std::uint32_t slot, const Voice::Keys& keys) const
{
    m_keys[slot] = keys;
    KeyText* texts = &m_keyTexts[static_cast<std::size_t>(slot) * kKeyFields];
    formatKey(texts[0], keys.crcAll);
    formatKey(texts[1], keys.crcExName);
    formatKey(texts[2], keys.checksumAll);
    formatKey(texts[3], keys.checksumExName);
    m_stale[slot] = 0;
}

void VoiceColumn::refreshKeys(std::uint32_t slot) const
{
    if (m_stale[slot] == 0)
        return;
    if (m_whole[slot] != 0) {
        takeKeys(slot, Voice::keysOf(stored(slot)));
        return;
    }
    std::string bytes(dataText(slot));
    bytes += nameText(slot);
    takeKeys(slot, Voice::keysOf(bytes));
}

std::string_view VoiceColumn::text(std::uint32_t slot, std::size_t field) const
{
    if (slot >= slotCount())
        return {};
    const auto f = static_cast<int>(field);
    if (f == m_dataField)
        return dataText(slot);
    if (f == m_namesField)
        return nameText(slot);
    const int key = keyIndex(field);
    if (key < 0)
        return {};
    refreshKeys(slot);
    const KeyText& t = m_keyTexts[static_cast<std::size_t>(slot) * kKeyFields + static_cast<std::size_t>(key)];
    return {t.data(), static_cast<std::size_t>(t.back())};
}

void VoiceColumn::setText(std::uint32_t slot, std::size_t field, std::string_view text)
{
    if (slot >= slotCount())
        return;
    const auto f = static_cast<int>(field);
    std::uint8_t* at = m_bytes.data() + static_cast<std::size_t>(slot) * m_stride;
    if (f == m_dataField) {
        if (text.size() == m_dataSize) {
            std::memmove(at, text.data(), m_dataSize);
            m_whole[slot] = 1;
            m_otherData.erase(slot);
        } else {
            m_whole[slot] = 0;
            std::fill_n(at, m_dataSize, 0);
            m_otherData[slot] = std::string(text);
        }
    } else if (f == m_namesField) {
        const std::size_t n = std::min(text.size(), Voice::kNameSize);
        std::memmove(at + m_dataSize, text.data(), n);
        std::fill(at + m_dataSize + n, at + m_stride, static_cast<std::uint8_t>(kBlank));
    } else {
        return; // a key field: it follows Data and Names
    }
    m_stale[slot] = 1;
}

} // namespace toneloft
