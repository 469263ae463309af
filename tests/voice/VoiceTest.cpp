#include "support/Corpus.h"
#include "support/TempDir.h"

#include "voice/Voice.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoicePacking.h"

#include <gtest/gtest.h>

namespace toneloft {
namespace {

// The keys below were computed apart from this program (zlib's crc32, the
// checksum summed by hand in a script) over the bytes each list stores.

TEST(VoiceValue, KeysOfAnUnpackedVoice)
{
    ByteString bytes;
    for (int i = 0; i < 145; ++i)
        bytes += toChar((i * 7) % 100);
    bytes += "PATTERN 42";
    const auto v = Voice::fromStored(bytes, VoiceLayout::Unpacked);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->keys().crcAll, -276729095);
    EXPECT_EQ(v->keys().crcExName, -1644043617);
    EXPECT_EQ(v->keys().checksumAll, 52);
    EXPECT_EQ(v->keys().checksumExName, 88);
    EXPECT_EQ(v->name(), "PATTERN 42");
    EXPECT_EQ(v->unpacked(), bytes);
    EXPECT_EQ(v->stored(VoiceLayout::VoiceMessages), bytes);
    EXPECT_EQ(v->layout(), VoiceLayout::Unpacked);
}

TEST(VoiceValue, KeysAndFormsOfPackedVoicesFromARealBank)
{
    TONELOFT_REQUIRE_CORPUS();
    const ByteString bank = test::TempDir::read((test::corpusDir() / "CART1A.SYX").string());
    ASSERT_GE(bank.size(), kBankMessageSize);
    struct Expected {
        int index;
        const char* name;
        std::int32_t crcAll, crcExName;
        int checksumAll, checksumExName;
    };
    for (const Expected& e : {Expected{0, "BRASS   1 ", 873994016, 1394790467, 44, 88},
                              Expected{31, "TAKE OFF  ", -1827700356, 16146475, 121, 89}}) {
        SCOPED_TRACE(e.name);
        const ByteString packed = bank.substr(kSysexHeaderSize + 128 * static_cast<std::size_t>(e.index), 128);
        const auto v = Voice::fromStored(packed, VoiceLayout::BankMessages);
        ASSERT_TRUE(v);
        EXPECT_EQ(v->name(), e.name);
        EXPECT_EQ(v->keys().crcAll, e.crcAll);
        EXPECT_EQ(v->keys().crcExName, e.crcExName);
        EXPECT_EQ(v->keys().checksumAll, e.checksumAll);
        EXPECT_EQ(v->keys().checksumExName, e.checksumExName);
        // Both forms, and the same voice whichever form it was made from.
        EXPECT_EQ(v->packed(), packed);
        EXPECT_EQ(v->unpacked(), Unpack(packed));
        const auto same = Voice::fromUnpacked(v->unpacked());
        ASSERT_TRUE(same);
        EXPECT_EQ(*same, *v);
        EXPECT_EQ(same->stored(VoiceLayout::Packed), packed);
    }
}

TEST(VoiceValue, LengthsThatDoNotFitTheLayoutMakeNoVoice)
{
    const ByteString v155(155, '\x01');
    const ByteString v128(128, '\x01');
    EXPECT_FALSE(Voice::fromStored(v155, VoiceLayout::Packed));
    EXPECT_FALSE(Voice::fromStored(v128, VoiceLayout::Unpacked));
    EXPECT_FALSE(Voice::fromStored(ByteString(154, 'a'), VoiceLayout::VoiceMessages));
    EXPECT_FALSE(Voice::fromStored({}, VoiceLayout::BankMessages));
    EXPECT_TRUE(Voice::fromStored(v128, VoiceLayout::BankMessages));
}

TEST(VoiceValue, LayoutsAndThePackedRule)
{
    for (int type = -1; type <= 4; ++type) {
        SCOPED_TRACE(type);
        const auto layout = voiceLayoutOf(type);
        ASSERT_EQ(layout.has_value(), type >= 0 && type <= 3);
        if (!layout)
            continue;
        EXPECT_EQ(fileTypeOf(*layout), type);
        EXPECT_EQ(isPacked(*layout), type == 2 || type == 3);
        EXPECT_EQ(IsPackedType(type), isPacked(*layout));
        EXPECT_EQ(VoiceSizeOfType(type), isPacked(*layout) ? 128 : 155);
    }
}

} // namespace
} // namespace toneloft
