// Lengths that fit more than one layout: the bytes decide, so every file we
// write opens again as what it holds.
#include "support/Corpus.h"
#include "support/SessionFixture.h"

#include "voice/VoiceFileContent.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoicePacking.h"

#include <filesystem>

namespace toneloft {
namespace {

using Outcome = clsVoiceNames::SaveOutcome;

ByteString corpusFile(const char* name)
{
    return test::TempDir::read((test::corpusDir() / name).string());
}

// The 4096 data bytes of each bank message, back to back (the test's own
// reading of the bank layout: 6 header bytes, data, checksum, F7).
ByteString bankData(const ByteString& banks)
{
    ByteString out;
    for (std::size_t at = 0; at + 4104 <= banks.size(); at += 4104)
        out += banks.substr(at + 6, 4096);
    return out;
}

ByteString unpackAll(const ByteString& packed)
{
    ByteString out;
    for (std::size_t at = 0; at + 128 <= packed.size(); at += 128)
        out += Unpack(std::string_view(packed).substr(at, 128));
    return out;
}

std::span<const std::uint8_t> bytesOf(const ByteString& s)
{
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

struct ContentCase {
    const char* what;
    std::size_t length;
    int lengthType; // what the length alone gives
    int type;       // what the content gives
};

// Real voices from the 32 banks of PA-Decoder, made into each layout here.
ByteString contentFor(const ContentCase& c)
{
    const ByteString banks = corpusFile("PA-Decoder.syx");
    const ByteString packed = bankData(banks);
    const std::string what = c.what;
    if (what == "32 bank messages")
        return banks;
    if (what == "16 bank messages")
        return banks.substr(0, 16 * 4104);
    if (what == "155 raw packed voices")
        return packed.substr(0, 155 * 128);
    if (what == "128 raw unpacked voices")
        return unpackAll(packed.substr(0, 128 * 128));
    if (what == "128 single-voice messages") {
        const ByteString unpacked = unpackAll(packed.substr(0, 128 * 128));
        ByteString out;
        for (std::size_t v = 0; v < 128; ++v) {
            const std::string_view voice = std::string_view(unpacked).substr(v * 155, 155);
            unsigned sum = 0;
            for (char ch : voice)
                sum += static_cast<unsigned char>(ch);
            out += ByteString("\xF0\x43\x00\x00\x01\x1B", 6);
            out += voice;
            out += toChar(static_cast<int>((128 - sum % 128) % 128));
            out += toChar(0xF7);
        }
        return out;
    }
    return {};
}

class FileTypeByContent : public testing::TestWithParam<ContentCase> {};

TEST_P(FileTypeByContent, TheBytesDecideWhereTheLengthCannot)
{
    TONELOFT_REQUIRE_CORPUS();
    const ContentCase& c = GetParam();
    const ByteString content = contentFor(c);
    ASSERT_EQ(content.size(), c.length);
    EXPECT_EQ(GetFileType(static_cast<long long>(c.length)), c.lengthType);
    EXPECT_EQ(FileTypeOfContent(bytesOf(content)), c.type);

    // The same through the file check that opening runs.
    test::TempDir dir;
    std::string name = dir.write("f.syx", content);
    test::ScriptedUi ui;
    int type = -9;
    EXPECT_EQ(CheckFileIntegrity(ui, name, type, false, {}), 0);
    EXPECT_EQ(type, c.type);
    std::string noFile;
    EXPECT_EQ(CheckFileIntegrity(ui, noFile, type, true, content), 0);
    EXPECT_EQ(type, c.type);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FileTypeByContent,
    testing::Values(ContentCase{"32 bank messages", 131328, 2, 3}, ContentCase{"16 bank messages", 65664, 2, 3},
                    ContentCase{"128 single-voice messages", 20864, 2, 1},
                    ContentCase{"155 raw packed voices", 19840, 0, 2},
                    ContentCase{"128 raw unpacked voices", 19840, 0, 0}),
    [](const auto& param) {
        std::string n = param.param.what;
        for (char& ch : n)
            if (ch == ' ' || ch == '-')
                ch = '_';
        return n;
    });

TEST(FileTypeByContentRule, ALengthThatFitsOneLayoutKeepsTheLengthRule)
{
    // 4104 fits only type 3, whatever it holds; 4960 only types 0 and 3, and
    // without bank messages inside it is raw unpacked.
    const ByteString zeros4104(4104, '\0');
    EXPECT_EQ(FileTypeOfContent(bytesOf(zeros4104)), 3);
    const ByteString zeros4960(4960, '\0');
    EXPECT_EQ(FileTypeOfContent(bytesOf(zeros4960)), 0);
    const ByteString zeros4096(4096, '\0');
    EXPECT_EQ(FileTypeOfContent(bytesOf(zeros4096)), 2);
    EXPECT_EQ(FileTypeOfContent({}), 0);
}

TEST(FileTypeByContentRule, OutOfRangeCountsOfOneVoice)
{
    // An init-like voice: every value in range, name "ABCDEFGHIJ".
    ByteString v(155, '\0');
    v.replace(145, 10, "ABCDEFGHIJ");
    EXPECT_EQ(CountValuesOutOfRange(bytesOf(v), 0), 0u);
    v[134] = toChar(40);  // algorithm 0..31
    v[0] = toChar(100);   // EG rate 0..99
    v[150] = toChar(200); // a name byte
    EXPECT_EQ(CountValuesOutOfRange(bytesOf(v), 0), 3u);

    ByteString p(128, '\0');
    p.replace(118, 10, "ABCDEFGHIJ");
    EXPECT_EQ(CountValuesOutOfRange(bytesOf(p), 2), 0u);
    p[110] = toChar(32);    // algorithm 0..31
    p[11] = toChar(0x40);   // a bit no parameter uses (curves take bits 0..3)
    p[15] = toChar(0x80);   // not a data byte
    EXPECT_EQ(CountValuesOutOfRange(bytesOf(p), 2), 3u);
}

class SavedFilesReopen : public test::SessionFixture {
protected:
    Outcome saveAs(VoiceList& list, const std::string& name, int format)
    {
        session.setActive(&list, nullptr);
        chooseSaveFile(name);
        ui.formatAnswers.push_back(format);
        return list.names().SaveList(true, nullptr);
    }
    std::size_t dataWidth(VoiceList& list)
    {
        auto rows = list.rsmfimage().clone();
        rows->moveFirst();
        return rows->text(clsVoiceNames::kData).size();
    }
};

TEST_F(SavedFilesReopen, OneHundredTwentyEightVoicesAsSingleMessagesAndBackToTheBanks)
{
    TONELOFT_REQUIRE_CORPUS();
    // Four factory-clean banks: every bit of their packed bytes has a place in
    // the unpacked layout, so nothing is lost on the way.
    const ByteString banks = corpusFile("ROM1A.syx") + corpusFile("ROM4A.syx") +
                             corpusFile("VRC-1001_DECAY group_A(1-32).syx") +
                             corpusFile("DX7-Cfshpd-Drum-Voices.syx");
    auto list = open(dir.write("four.syx", banks));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->FileType, 3);
    ASSERT_EQ(saveAs(*list, "singles.syx", 1), Outcome::Saved);
    EXPECT_EQ(std::filesystem::file_size(dir.file("singles.syx")), 20864u);
    EXPECT_EQ(list->FileType, 1);
    EXPECT_EQ(dataWidth(*list), 145u);
    list->names().FileClose(*list);

    auto singles = open(dir.file("singles.syx"));
    ASSERT_TRUE(singles);
    EXPECT_EQ(singles->FileType, 1);
    EXPECT_EQ(singles->voiceCount(), 128);
    EXPECT_EQ(dataWidth(*singles), 145u);
    ASSERT_EQ(saveAs(*singles, "again.syx", 3), Outcome::Saved);
    EXPECT_EQ(singles->FileType, 3);
    EXPECT_EQ(dataWidth(*singles), 118u);
    const ByteString again = test::TempDir::read(dir.file("again.syx"));
    ASSERT_EQ(again.size(), banks.size());
    std::size_t firstDifference = 0;
    while (firstDifference < banks.size() && again[firstDifference] == banks[firstDifference])
        ++firstDifference;
    EXPECT_EQ(firstDifference, banks.size()) << "the banks differ first at byte " << firstDifference;
}

TEST_F(SavedFilesReopen, RawPackedAndManyBanksKeepTheirLayout)
{
    TONELOFT_REQUIRE_CORPUS();
    const ByteString all = corpusFile("PA-Decoder.syx");
    // 155 voices unpacked (24,025 bytes fits type 0 only), saved packed.
    auto list = open(dir.write("many.dat", unpackAll(bankData(all).substr(0, 155 * 128))));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->FileType, 0);
    ASSERT_EQ(saveAs(*list, "packed.dat", 2), Outcome::Saved);
    EXPECT_EQ(std::filesystem::file_size(dir.file("packed.dat")), 19840u);
    EXPECT_EQ(list->FileType, 2);
    EXPECT_EQ(dataWidth(*list), 118u);
    list->names().FileClose(*list);
    auto packed = open(dir.file("packed.dat"));
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed->FileType, 2);
    EXPECT_EQ(packed->voiceCount(), 155);

    // 16 banks: saved as bank messages they reopen as 512 voices in banks.
    auto sixteen = open(dir.write("sixteen.syx", all.substr(0, 16 * 4104)));
    ASSERT_TRUE(sixteen);
    EXPECT_EQ(sixteen->FileType, 3);
    EXPECT_EQ(sixteen->voiceCount(), 512);
    ASSERT_EQ(saveAs(*sixteen, "sixteen-again.syx", 3), Outcome::Saved);
    EXPECT_EQ(std::filesystem::file_size(dir.file("sixteen-again.syx")), 65664u);
    sixteen->names().FileClose(*sixteen);
    auto back = open(dir.file("sixteen-again.syx"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->FileType, 3);
    EXPECT_EQ(back->voiceCount(), 512);
}

} // namespace
} // namespace toneloft
