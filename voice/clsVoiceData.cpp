#include "voice/clsVoiceData.h"

#include "common/Crc32.h"
#include "common/NumberText.h"
#include "common/UiServices.h"
#include "voice/VoiceColumn.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoicePacking.h"
#include "voice/VoiceParameterTable.h"

#include <algorithm>

namespace toneloft {
namespace {

constexpr int TablePageSize = 20;
constexpr std::size_t UnpackedSize = VoiceParameterTable::RowCount; // 155
constexpr std::size_t PackedSize = 128;

using FieldType = Recordset::FieldType;

void buildVoiceDataFields(Recordset& rs)
{
    rs.appendField("ParamID", FieldType::Text, 4, true);
    rs.appendField("Title", FieldType::Text, 15);
    rs.appendField("ShortTitle", FieldType::Text, 6, true);
    rs.appendField("Value", FieldType::Text, 5);
    rs.appendField("Min.", FieldType::Text, 5);
    rs.appendField("Max.", FieldType::Text, 5);
    rs.appendField("Group", FieldType::Text, 15, true);
    rs.appendField("SubGroup", FieldType::Text, 15, true);
    rs.appendField("OpGroup", FieldType::Text, 15, true);
    rs.appendField("EGChartXVal", FieldType::Single);
    rs.appendField("EGChartKoffXVal", FieldType::Single);
    rs.appendField("ProxyFieldID", FieldType::Text, 3, true);
    rs.appendField("ProxyVal", FieldType::Text, 20);
    rs.appendField("RandomGroup", FieldType::Text, 20, true);
}

void buildProxyDataFields(Recordset& rs)
{
    rs.appendField("ParamID", FieldType::Text, 4, true);
    for (int c = 1; c <= VoiceParameterTable::ProxyColumnCount; ++c)
        rs.appendField(VoiceParameterTable::proxyColumnName(c), FieldType::Text, 20);
}

// A cursor over every row in table order, on the first row, whatever the
// caller's own cursor is filtered or sorted by.
std::unique_ptr<Recordset> wholeTable(const Recordset& rs)
{
    return rs.clone();
}

} // namespace

clsVoiceData::clsVoiceData(UiServices& ui) : m_ui(ui)
{
    buildVoiceDataFields(m_voiceData);
    m_voiceData.open();
    m_voiceData.setPageSize(TablePageSize);
    m_fields = {m_voiceData.fieldIndex("ParamID"),    m_voiceData.fieldIndex("Title"),
                m_voiceData.fieldIndex("ShortTitle"), m_voiceData.fieldIndex("Value"),
                m_voiceData.fieldIndex("Min."),       m_voiceData.fieldIndex("Max."),
                m_voiceData.fieldIndex("Group"),      m_voiceData.fieldIndex("SubGroup"),
                m_voiceData.fieldIndex("OpGroup"),    m_voiceData.fieldIndex("EGChartXVal"),
                m_voiceData.fieldIndex("EGChartKoffXVal"), m_voiceData.fieldIndex("ProxyFieldID"),
                m_voiceData.fieldIndex("ProxyVal"),   m_voiceData.fieldIndex("RandomGroup")};

    buildProxyDataFields(m_proxyData);
    m_proxyData.open();
    m_proxyData.setPageSize(TablePageSize);
}

Recordset* clsVoiceData::GetDataMember(std::string_view dataMember)
{
    if (dataMember == "VoiceData")
        return &m_voiceData;
    if (dataMember == "ProxyData")
        return &m_proxyData;
    return nullptr;
}

Recordset& clsVoiceData::InitProxyData()
{
    auto cursor = wholeTable(m_proxyData);
    for (int v = 0; v < VoiceParameterTable::ProxyRowCount; ++v) {
        if (cursor->eof())
            cursor->addNew();
        cursor->setValue(0, Str(v));
        for (int c = 1; c <= VoiceParameterTable::ProxyColumnCount; ++c)
            cursor->setValue(c, VoiceParameterTable::proxyText(c, v));
        cursor->update();
        cursor->moveNext();
    }
    m_proxyData.moveFirst();
    return m_proxyData;
}

bool clsVoiceData::confirmReset(int index, int value, int limit)
{
    const VoiceParameter& p = VoiceParameterTable::row(index);
    // Value, Min. and Max. are stored without a leading blank; the box adds its own.
    const std::string text = "The value for " + p.title + " (" + std::to_string(value) +
                             ")  is outside the permitted range (" + " " + std::to_string(p.min) +
                             " to" + " " + std::to_string(p.max) + " )" + "\r\n" +
                             " If you continue the value will be reset to " + " " +
                             std::to_string(limit) + "." + "\r\n" +
                             " OK to continue loading this voice ?";
    return m_ui.MsgBox(text, "Error in Voice Data", MsgIcon::Information, MsgButtons::YesNo) ==
           MsgResult::Yes;
}

bool clsVoiceData::loadVoice(std::string_view voice)
{
    if (voice.size() != UnpackedSize)
        return false;
    BusyPointer busy(m_ui);
    const VoiceDataFields& f = m_fields;
    auto cursor = wholeTable(m_voiceData);
    bool stopped = false;
    int oscMode = 0; // of the operator block being filled; its mode row precedes coarse/fine
    for (int i = 0; i < VoiceParameterTable::RowCount && !stopped; ++i) {
        const VoiceParameter& p = VoiceParameterTable::row(i);
        std::string value;
        if (i < VoiceParameterTable::DataRowCount) {
            int v = byteAt(voice, static_cast<std::size_t>(i));
            if (v > p.max || v < p.min) {
                const int limit = v > p.max ? p.max : p.min;
                if (confirmReset(i, v, limit))
                    v = limit;
                else
                    stopped = true; // the row still gets what was read, then we stop
            }
            if (i == VoiceParameterTable::oscModeRowOf(i))
                oscMode = v;
            value = std::to_string(v);
        } else {
            // Name characters go in as they are; the range check never applies.
            value.assign(1, voice[static_cast<std::size_t>(i)]);
        }

        if (cursor->eof())
            cursor->addNew();
        cursor->setValue(f.paramId, std::to_string(i + 1));
        cursor->setValue(f.title, p.title);
        cursor->setValue(f.shortTitle, p.shortTitle);
        cursor->setValue(f.value, std::move(value));
        cursor->setValue(f.min, std::to_string(p.min));
        cursor->setValue(f.max, std::to_string(p.max));
        cursor->setValue(f.group, p.group);
        cursor->setValue(f.subGroup, p.subGroup);
        cursor->setValue(f.opGroup, p.opGroup);
        cursor->setValue(f.egChartX, 0.0f);
        cursor->setValue(f.egChartKoffX, 0.0f);
        const int proxyField = VoiceParameterTable::proxyField(i, oscMode);
        cursor->setValue(f.proxyFieldId, VoiceParameterTable::proxyFieldId(proxyField));
        cursor->setValue(f.proxyVal, std::string("Not Set"));
        cursor->setValue(f.randomGroup, p.randomGroup);
        cursor->update();
        cursor->moveNext();
    }
    m_voiceData.moveFirst();
    return !stopped;
}

bool clsVoiceData::readVoice(Recordset& names, long position, ByteString& voice) const
{
    if (position < 1 || position > names.recordCount())
        return false;
    if (names.fieldIndex("Data") < 0 || names.fieldIndex("Names") < 0)
        return false;
    const long before = names.absolutePosition();
    const bool wasEof = names.eof();
    names.setAbsolutePosition(position);
    // Typed when the table keeps its voices so; a row without a whole voice as its texts.
    const VoiceColumn* column = VoiceColumn::of(names);
    const std::string_view stored = column ? column->stored(names.currentSlot()) : std::string_view();
    voice = stored.empty() ? names.text("Data") + names.text("Names") : ByteString(stored);
    // Leave the caller's cursor where it was.
    if (before >= 1)
        names.setAbsolutePosition(before);
    else
        names.setAbsolutePosition(wasEof ? names.recordCount() + 1 : 0);
    return true;
}

bool clsVoiceData::GetVoiceData(Recordset& names, long position, int fileType, GetVoiceMode mode,
                                int wantedLayout, ByteString& voiceOut, std::int32_t& crc)
{
    crc = 0;
    ByteString stored;
    if (!readVoice(names, position, stored))
        return false;

    const bool packedSource = IsPackedType(fileType);
    if (stored.size() != (packedSource ? PackedSize : UnpackedSize))
        return false;

    if (mode == GetVoiceMode::StringOnly) {
        if (packedSource)
            voiceOut = wantedLayout == 2 ? stored : Unpack(stored);
        else
            voiceOut = wantedLayout == 2 ? Pack(stored) : stored;
        return !voiceOut.empty();
    }

    ByteString unpacked = packedSource ? Unpack(stored) : std::move(stored);
    if (!loadVoice(unpacked))
        return false;
    crc = CalcCRC32(unpacked);
    voiceOut = std::move(unpacked);
    return true;
}

bool clsVoiceData::GetVoiceData(Recordset& names, long position, int fileType,
                                Recordset*& voiceData, std::int32_t& crc, std::string& mode,
                                int wantedLayout)
{
    ByteString voice;
    if (mode == StringOnlyMode) {
        if (!GetVoiceData(names, position, fileType, GetVoiceMode::StringOnly, wantedLayout, voice, crc))
            return false;
        mode = std::move(voice);
        return true;
    }
    const bool loaded =
        GetVoiceData(names, position, fileType, GetVoiceMode::LoadTable, wantedLayout, voice, crc);
    voiceData = loaded ? &m_voiceData : nullptr;
    return loaded;
}

void clsVoiceData::PutVoiceDataInString(const Recordset& voiceData, ByteString& voice, int fileType,
                                        bool pack, std::int32_t& crc) const
{
    voice.clear();
    crc = 0;
    const int valueField = voiceData.fieldIndex("Value");
    if (valueField < 0)
        return;
    auto cursor = wholeTable(voiceData);
    if (cursor->recordCount() < VoiceParameterTable::RowCount)
        return;

    voice.reserve(UnpackedSize);
    for (int i = 0; i < VoiceParameterTable::RowCount; ++i, cursor->moveNext()) {
        const std::string value = cursor->text(valueField);
        if (i < VoiceParameterTable::DataRowCount) {
            const long v = std::clamp(VoiceParameterTable::numericValue(value), 0L, 255L);
            voice.push_back(toChar(static_cast<int>(v)));
        } else {
            // An emptied name cell keeps the voice 155 bytes long.
            voice.push_back(value.empty() ? ' ' : value.front());
        }
    }
    crc = CalcCRC32(voice);
    if (IsPackedType(fileType) && pack)
        voice = Pack(voice);
}

ByteString clsVoiceData::Pack(std::string_view unpacked) const
{
    return toneloft::Pack(unpacked);
}

bool clsVoiceData::PackByt(std::span<const std::uint8_t> unpacked, ByteArray& packed) const
{
    return toneloft::PackByt(unpacked, packed);
}

ByteString clsVoiceData::Unpack(std::string_view packed) const
{
    return toneloft::Unpack(packed);
}

bool clsVoiceData::UnpackByt(std::span<const std::uint8_t> packed, ByteArray& unpacked) const
{
    return toneloft::UnpackByt(packed, unpacked);
}

void clsVoiceData::AddSourceFile(std::string fileName, std::string fileTitle, std::string filePath,
                                 std::string fileType)
{
    m_fileName = std::move(fileName);
    m_fileTitle = std::move(fileTitle);
    m_filePath = std::move(filePath);
    m_fileType = std::move(fileType);
}

} // namespace toneloft
