#pragma once

#include "common/ByteString.h"
#include "common/RecordsetColumnSource.h"
#include "voice/Voice.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace toneloft {

class Recordset;

// The voices of a voice-name table, by row slot: each as its list stores it
// (128 bytes packed, 155 unpacked, back to back one stride apart) with its
// keys. Attached to the table, it serves the fields Data (the stored voice
// without its name), Names (the last 10 bytes) and the four key fields, whose
// texts are the numbers as a duplicate search compares them: " 123", "-45"
// (a blank before a number that is not negative). Writes to the key fields are
// ignored: they follow Data and Names.
//
// A voice's keys are taken when first asked for (a key field read, keys(),
// voice()) and kept until a write changes the voice: opening a file does not
// pay for them, a duplicate search takes them once.
//
// A row whose Data is not one voice's width for the layout (a new row before
// its Data is set, a text of another length) keeps that text as it is: its
// keys are those of that text followed by its name, and it has no voice.
class VoiceColumn final : public RecordsetColumnSource {
public:
    // The fields are found by name in the table (a voice-name table).
    VoiceColumn(VoiceLayout layout, const Recordset& table);

    // Attaches a column of this layout to a voice-name table unless one of the
    // same width is attached already; the rows keep their texts.
    static VoiceColumn& attachTo(Recordset& table, VoiceLayout layout);
    // The column attached to a table; null when it has none.
    static VoiceColumn* of(const Recordset& table);

    VoiceLayout layout() const { return m_layout; }
    std::size_t stride() const { return m_stride; }
    std::size_t slotCount() const { return m_whole.size(); }

    // The voices of a whole image (stride bytes each; a short tail is left
    // out), for the slots the table adds next: each row the table then adds
    // takes the next of them as its Data and Names. No copy is made when the
    // column is still empty.
    void putImage(ByteArray&& image);

    bool hasVoice(std::uint32_t slot) const;
    std::optional<Voice> voice(std::uint32_t slot) const;
    // The bytes of the slot's voice as stored; empty when it has no voice.
    std::string_view stored(std::uint32_t slot) const;
    const Voice::Keys& keys(std::uint32_t slot) const;
    // The slot's voice as stored; for a row without a voice, its Data cut or
    // padded with zero bytes to the layout's width, then its name.
    void appendStored(std::uint32_t slot, ByteArray& out) const;

    bool serves(std::size_t field) const override;
    std::string_view text(std::uint32_t slot, std::size_t field) const override;
    void setText(std::uint32_t slot, std::size_t field, std::string_view text) override;
    void rowAdded(std::uint32_t slot) override;
    void reset() override;
    void reserve(std::size_t rows) override;

private:
    static constexpr std::size_t kKeyFields = 4; // CRCAll, CRCExName, ChecksumAll, ChecksumExName
    // A key's text; its length in the last byte.
    using KeyText = std::array<char, 12>;

    std::string_view dataText(std::uint32_t slot) const;
    std::string_view nameText(std::uint32_t slot) const;
    void takeKeys(std::uint32_t slot, const Voice::Keys& keys) const;
    void refreshKeys(std::uint32_t slot) const;
    int keyIndex(std::size_t field) const;

    VoiceLayout m_layout;
    std::size_t m_stride;
    std::size_t m_dataSize;
    int m_dataField = -1;
    int m_namesField = -1;
    std::array<int, kKeyFields> m_keyFields{};

    ByteArray m_bytes;                   // slotCount() * stride
    std::vector<std::uint8_t> m_whole;   // by slot: 1 when its bytes hold a voice
    std::unordered_map<std::uint32_t, std::string> m_otherData; // Data of rows without a voice
    // Taken when first asked after a change (reads are const to the table).
    mutable std::vector<Voice::Keys> m_keys;
    mutable std::vector<KeyText> m_keyTexts; // kKeyFields per slot
    mutable std::vector<std::uint8_t> m_stale; // by slot: keys to be taken again
};

} // namespace toneloft
