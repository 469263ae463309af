#include "support/Corpus.h"
#include "support/SessionFixture.h"

#include "common/Crc32.h"
#include "voice/VoiceColumn.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceListHistory.h"
#include "voice/VoicePacking.h"

#include <algorithm>
#include <cstdio>

namespace toneloft {
namespace {

using test::SessionFixture;

// The key texts as the table shows them, worked out here: the number in
// decimal with a blank before it unless it is negative; the checksum by the
// DX7 rule (the bytes summed, negated, low 7 bits).
std::string keyText(long long n)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, n < 0 ? "%lld" : " %lld", n);
    return buffer;
}

std::string checksumText(std::string_view bytes)
{
    unsigned sum = 0;
    for (const char c : bytes)
        sum += static_cast<unsigned char>(c);
    return keyText((128 - sum % 128) % 128);
}

struct Keys {
    std::string crcAll, crcExName, checksumAll, checksumExName;
    bool operator==(const Keys&) const = default;
};

Keys expectedKeys(std::string_view stored)
{
    const std::string_view exName = stored.substr(0, stored.size() - 10);
    return {keyText(CalcCRC32(stored)), keyText(CalcCRC32(exName)), checksumText(stored), checksumText(exName)};
}

Keys shownKeys(const Recordset& row)
{
    return {row.text(clsVoiceNames::kCRCAll), row.text(clsVoiceNames::kCRCExName),
            row.text(clsVoiceNames::kChecksumAll), row.text(clsVoiceNames::kChecksumExName)};
}

class VoiceColumnTest : public SessionFixture {
protected:
    std::unique_ptr<Recordset> build(const ByteString& image, int fileType)
    {
        clsVoiceNames names(session);
        bool cleaned = false;
        return names.BuildVoiceNameTable(toByteArray(image), fileType, cleaned);
    }
};

// Keys worked out apart from this program (zlib's crc32, the checksum summed by
// hand) for two voices of a real bank and one made-up unpacked voice.
TEST_F(VoiceColumnTest, KeyFieldsShowTheKeysOfEachStoredVoice)
{
    TONELOFT_REQUIRE_CORPUS();
    const ByteString bank = test::TempDir::read((test::corpusDir() / "CART1A.SYX").string());
    ASSERT_GE(bank.size(), kBankMessageSize);
    ByteString pattern;
    for (int i = 0; i < 145; ++i)
        pattern += toChar((i * 7) % 100);
    pattern += "PATTERN 42";

    struct Case {
        int fileType;
        ByteString image;
        std::size_t row;
        Keys keys;
    };
    const ByteString packed = bank.substr(kSysexHeaderSize, kBankDataSize);
    for (const Case& c : {Case{3, packed, 1, {" 873994016", " 1394790467", " 44", " 88"}},
                          Case{3, packed, 32, {"-1827700356", " 16146475", " 121", " 89"}},
                          Case{0, test::makeVoice("BEFORE") + pattern, 2, {"-276729095", "-1644043617", " 52", " 88"}}}) {
        SCOPED_TRACE(c.row);
        auto table = build(c.image, c.fileType);
        table->setAbsolutePosition(static_cast<long>(c.row));
        EXPECT_EQ(shownKeys(*table), c.keys);

        const VoiceColumn* column = VoiceColumn::of(*table);
        ASSERT_TRUE(column);
        const std::size_t stride = c.fileType >= 2 ? 128 : 155;
        EXPECT_EQ(column->stride(), stride);
        const std::string_view expected = std::string_view(c.image).substr((c.row - 1) * stride, stride);
        EXPECT_EQ(column->stored(table->currentSlot()), expected);
        const auto voice = column->voice(table->currentSlot());
        ASSERT_TRUE(voice);
        EXPECT_EQ(voice->stored(*voiceLayoutOf(c.fileType)), expected);
        EXPECT_EQ(voice->keys().crcAll, CalcCRC32(expected));
    }
}

// Every voice of every row, in both widths, against keys worked out from its bytes.
TEST_F(VoiceColumnTest, EveryRowsKeysAndBytesFollowItsVoice)
{
    for (const int type : {0, 1, 2, 3}) {
        SCOPED_TRACE(type);
        const ByteString image = test::makeVoiceFile(type == 1 ? 0 : type == 3 ? 2 : type, 40);
        auto table = build(image, type);
        const std::size_t size = type >= 2 ? 128 : 155;
        long row = 0;
        for (table->moveFirst(); !table->eof(); table->moveNext(), ++row) {
            const std::string_view voice = std::string_view(image).substr(static_cast<std::size_t>(row) * size, size);
            ASSERT_EQ(shownKeys(*table), expectedKeys(voice)) << "row " << row + 1;
            ASSERT_EQ(table->text(clsVoiceNames::kData), voice.substr(0, size - 10));
        }
        EXPECT_EQ(row, 40);
        ByteArray back;
        ASSERT_TRUE(clsVoiceNames(session).ConvertVariantArraytoByteArray(type, *table, back, 40));
        EXPECT_EQ(toByteString(back), image);
    }
}

// Writes through the table (as rename, paste and storing a voice make them)
// change the stored voice and its keys; a clone made before sees them; the key
// fields cannot be written.
TEST_F(VoiceColumnTest, WritesThroughTheTableReachTheVoiceAndItsKeys)
{
    for (const int type : {0, 2}) {
        SCOPED_TRACE(type);
        const std::size_t size = type >= 2 ? 128 : 155;
        const ByteString image = test::makeVoiceFile(type, 4);
        auto table = build(image, type);
        auto clone = table->clone();
        const VoiceColumn& column = *VoiceColumn::of(*table);

        ByteString replacement = test::makeVoice("STRINGS", 9);
        if (type >= 2)
            replacement = Pack(replacement);
        table->setAbsolutePosition(2);
        const Keys before = shownKeys(*table);
        table->setValue(clsVoiceNames::kData, replacement.substr(0, size - 10));
        table->setValue(clsVoiceNames::kNames, std::string("NEW NAME"));
        table->setValue(clsVoiceNames::kCRCAll, std::string(" 1"));
        table->update();
        ByteString expected = replacement.substr(0, size - 10) + "NEW NAME  ";
        EXPECT_NE(shownKeys(*table), before);
        EXPECT_EQ(shownKeys(*table), expectedKeys(expected));
        EXPECT_EQ(column.stored(table->currentSlot()), expected);
        EXPECT_EQ(column.keys(table->currentSlot()).crcAll, CalcCRC32(expected));

        clone->setAbsolutePosition(2);
        EXPECT_EQ(clone->text(clsVoiceNames::kNames), "NEW NAME  ");
        EXPECT_EQ(shownKeys(*clone), expectedKeys(expected));
        clone->setAbsolutePosition(3);
        EXPECT_EQ(shownKeys(*clone), expectedKeys(std::string_view(image).substr(2 * size, size)));

        // Data of another width is kept as written; the row then holds no voice.
        table->setValue(clsVoiceNames::kData, std::string("SHORT"));
        EXPECT_EQ(table->text(clsVoiceNames::kData), "SHORT");
        EXPECT_EQ(shownKeys(*table), expectedKeys("SHORTNEW NAME  "));
        EXPECT_FALSE(column.voice(table->currentSlot()));
        ByteArray back;
        clsVoiceNames(session).ConvertVariantArraytoByteArray(type, *table, back, 4);
        ASSERT_EQ(back.size(), 4 * size);
        EXPECT_EQ(toByteString(back).substr(size, size), "SHORT" + std::string(size - 15, '\0') + "NEW NAME  ");
    }
}

// Rows added and deleted through the table; the table closed and filled again.
TEST_F(VoiceColumnTest, AddedDeletedAndReopenedRows)
{
    const ByteString image = test::makeVoiceFile(0, 3);
    auto table = build(image, 0);
    table->setAbsolutePosition(2);
    table->deleteCurrent();
    table->addNew();
    EXPECT_EQ(table->value(clsVoiceNames::kData), Recordset::Value());
    EXPECT_EQ(table->text(clsVoiceNames::kNames), "          ");
    EXPECT_EQ(shownKeys(*table), expectedKeys("          "));
    const ByteString added = test::makeVoice("ADDED", 3);
    table->setValue(clsVoiceNames::kData, added.substr(0, 145));
    table->setValue(clsVoiceNames::kNames, added.substr(145));
    ByteArray back;
    clsVoiceNames(session).ConvertVariantArraytoByteArray(0, *table, back, 3);
    EXPECT_EQ(toByteString(back), image.substr(0, 155) + image.substr(310) + added);

    table->close();
    table->open();
    EXPECT_EQ(table->recordCount(), 0);
    ASSERT_TRUE(VoiceColumn::of(*table));
    table->addNew();
    table->setValue(clsVoiceNames::kData, added.substr(0, 145));
    table->setValue(clsVoiceNames::kNames, added.substr(145));
    EXPECT_EQ(shownKeys(*table), expectedKeys(added));
}

// Filters, sorts and finds read the column's texts as they read any others.
TEST_F(VoiceColumnTest, FiltersAndFindsOnTheServedFields)
{
    TONELOFT_REQUIRE_CORPUS();
    const ByteString bank = test::TempDir::read((test::corpusDir() / "CART1A.SYX").string());
    const ByteString packed = bank.substr(kSysexHeaderSize, kBankDataSize);
    auto table = build(packed, 3);
    long brass = 0;
    for (std::size_t v = 0; v < 32; ++v)
        brass += packed.compare(v * 128 + 118, 5, "BRASS") == 0 ? 1 : 0;
    ASSERT_GT(brass, 0);

    struct Case {
        std::string criteria;
        long rows;
    };
    for (const Case& c : {Case{"Names LIKE 'BRASS*'", brass}, Case{"CRCAll = ' 873994016'", 1},
                          Case{"CRCAll = 873994016", 1}, Case{"CRCExName = '-1' OR ChecksumAll = ' 121'", 1},
                          Case{"CRCAll = ' 1394790467'", 0}}) {
        SCOPED_TRACE(c.criteria);
        auto rows = table->clone();
        ASSERT_TRUE(rows->setFilter(c.criteria)) << rows->lastError();
        EXPECT_EQ(rows->recordCount(), c.rows);
    }
    auto rows = table->clone();
    ASSERT_TRUE(rows->find("CRCExName = ' 16146475'"));
    EXPECT_EQ(rows->absolutePosition(), 32);
    // A text field sorts as text: " 96" after " 121".
    std::string highest;
    for (std::size_t v = 0; v < 32; ++v)
        highest = std::max(highest, checksumText(std::string_view(packed).substr(v * 128, 128)));
    ASSERT_TRUE(rows->setSort("ChecksumAll DESC"));
    EXPECT_EQ(rows->text(clsVoiceNames::kChecksumAll), highest);
}

// A table filled as text (a copy, a table given back) takes a column with its
// texts unchanged, and gives them back when the column goes.
TEST_F(VoiceColumnTest, AttachingAndDetachingKeepsTheTexts)
{
    const ByteString image = test::makeVoiceFile(2, 3);
    auto built = build(image, 2);
    clsVoiceNames names(session);
    auto copy = names.CopyRecordset(*built, -1, 3, true);
    ASSERT_TRUE(copy);
    ASSERT_FALSE(VoiceColumn::of(*copy));
    EXPECT_EQ(copy->text(clsVoiceNames::kCRCAll), built->text(clsVoiceNames::kCRCAll));

    copy->setAbsolutePosition(2);
    copy->setValue(clsVoiceNames::kNames, std::string("RENAMED"));
    const VoiceColumn& column = VoiceColumn::attachTo(*copy, VoiceLayout::Packed);
    copy->setAbsolutePosition(2);
    const ByteString second = image.substr(128, 118) + "RENAMED   ";
    EXPECT_EQ(column.stored(copy->currentSlot()), second);
    EXPECT_EQ(shownKeys(*copy), expectedKeys(second));

    copy->attachColumnSource(nullptr);
    copy->setAbsolutePosition(2);
    EXPECT_EQ(copy->text(clsVoiceNames::kData), image.substr(128, 118));
    EXPECT_EQ(copy->text(clsVoiceNames::kNames), "RENAMED   ");
    EXPECT_EQ(shownKeys(*copy), expectedKeys(second));
}

// The list's voices, typed, and undo over a rename: the key texts come back
// with the voice.
TEST_F(VoiceColumnTest, ListVoicesAndUndo)
{
    auto list = openNew("list.syx", 2, 5);
    ASSERT_TRUE(list);
    const ByteString file = test::makeVoiceFile(2, 5);
    const auto third = list->voice(3);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->packed(), file.substr(256, 128));
    EXPECT_FALSE(list->voice(6));

    auto rows = list->rsmfimage().clone();
    rows->setAbsolutePosition(3);
    const Keys before = shownKeys(*rows);
    {
        ListEditStep step(*list, "Rename");
        rows->setValue(clsVoiceNames::kNames, std::string("OTHER"));
        step.commit();
    }
    EXPECT_NE(shownKeys(*rows), before);
    ASSERT_TRUE(list->history.undo(*list));
    auto again = list->rsmfimage().clone();
    again->setAbsolutePosition(3);
    EXPECT_EQ(shownKeys(*again), before);
    EXPECT_EQ(toByteString(list->image()), file);
}

} // namespace
} // namespace toneloft
