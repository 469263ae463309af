#include "support/SessionFixture.h"
#include "voice/VoiceStore.h"

#include <algorithm>

namespace toneloft {
namespace {

using test::SessionFixture;
using test::makeVoice;
using test::makeVoiceFile;

class VoiceNameTable : public SessionFixture, public testing::WithParamInterface<int> {
protected:
    // The voices of the layout back to back, as a file of type 0 or 2 holds them.
    static ByteString imageOf(int fileType, int count) { return makeVoiceFile(fileType, count); }

    static std::size_t voiceSize(int fileType) { return fileType >= 2 ? 128 : 155; }
};

// Every row is its voice's bytes, whether the table copied the image or took it over.
TEST_P(VoiceNameTable, RowsAreTheImagesVoicesEitherWay)
{
    const int type = GetParam();
    const ByteString image = imageOf(type, 40);
    clsVoiceNames names(session);
    bool cleaned = true;
    ByteArray copied = toByteArray(image);
    auto fromSpan = names.BuildVoiceNameTable(std::span<const std::uint8_t>(copied), type, cleaned);
    EXPECT_FALSE(cleaned);
    std::fill(copied.begin(), copied.end(), std::uint8_t{0}); // the table must not depend on it
    auto taken = names.BuildVoiceNameTable(toByteArray(image), type, cleaned);

    const std::size_t size = voiceSize(type);
    for (Recordset* table : {fromSpan.get(), taken.get()}) {
        ASSERT_EQ(table->recordCount(), 40);
        table->moveFirst();
        for (std::size_t v = 0; v < 40; ++v, table->moveNext()) {
            const std::string_view voice = std::string_view(image).substr(v * size, size);
            ASSERT_EQ(table->text(clsVoiceNames::kID), std::to_string(v + 1));
            ASSERT_EQ(table->text(clsVoiceNames::kData), voice.substr(0, size - 10)) << "voice " << v + 1;
            ASSERT_EQ(table->text(clsVoiceNames::kNames), voice.substr(size - 10)) << "voice " << v + 1;
            ASSERT_EQ(table->value(clsVoiceNames::kDelSelected), Recordset::Value());
        }
    }
}

// A stored voice replaces its own bytes only: the voices loaded beside it and
// the file stay as they were.
TEST_P(VoiceNameTable, StoringAVoiceChangesThatVoiceAlone)
{
    const int type = GetParam();
    const ByteString file = imageOf(type, 40);
    const std::string path = dir.write("list.dat", file);
    auto list = open(path);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->FileType, type);

    const ByteString replacement = makeVoice("STRINGS", 77);
    for (const long position : {2L, 3L}) {
        ASSERT_TRUE(SaveVoiceData(list->rsmfimage(), type, position, replacement, false));
    }
    const ByteString stored = type >= 2 ? Pack(replacement) : replacement;
    const std::size_t size = voiceSize(type);
    ByteString expected = file;
    expected.replace(size, size, stored);
    expected.replace(2 * size, size, stored);
    EXPECT_EQ(toByteString(list->image()), expected);
    EXPECT_EQ(test::TempDir::read(path), file);
    EXPECT_EQ(nameAt(*list, 3), "STRINGS   ");
    EXPECT_EQ(nameAt(*list, 4), "VOICE4    ");
}

INSTANTIATE_TEST_SUITE_P(Layouts, VoiceNameTable, testing::Values(0, 2));

} // namespace
} // namespace toneloft
