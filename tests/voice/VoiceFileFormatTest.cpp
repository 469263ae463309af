#include "voice/InitVoice.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoicePacking.h"

#include "support/Corpus.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <numeric>

namespace toneloft {
namespace {

using test::ScriptedUi;
using test::TempDir;

const std::string kBankHeader("\xF0\x43\x00\x09\x20\x00", 6);

// n distinct voices back to back; byte i of voice v is (v + i) % 100, never F7.
ByteString voices(std::size_t n, std::size_t size)
{
    ByteString s;
    for (std::size_t v = 0; v < n; ++v)
        for (std::size_t i = 0; i < size; ++i)
            s.push_back(toChar(static_cast<int>((v + i) % 100)));
    return s;
}

// Data bytes plus checksum of one message; a right checksum makes it a multiple of 128.
int dataSum(std::string_view message)
{
    return std::accumulate(message.begin() + 6, message.end() - 1, 0,
                           [](int a, char c) { return a + static_cast<unsigned char>(c); });
}

struct Loaded {
    bool ok = false;
    ByteArray image;
    std::int32_t crc = 0;
    ScriptedUi ui;
};

// Opening as the program does: the integrity check decides the type, then the file is read.
void load(Loaded& r, const std::string& path, bool keepStripped = true)
{
    std::string name = path;
    int type = -1;
    if (CheckFileIntegrity(r.ui, name, type, false, "") == 0)
        r.ok = GetFileByt(r.ui, path, "T.syx", type, r.image, r.crc, keepStripped);
}

class VoiceFileFormatTypes : public testing::TestWithParam<std::pair<long long, int>> {};

TEST_P(VoiceFileFormatTypes, AreDecidedByLengthInTheOrder0213)
{
    EXPECT_EQ(GetFileType(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Lengths, VoiceFileFormatTypes,
                         testing::Values(std::pair{4104LL, 3}, std::pair{4096LL, 2}, std::pair{163LL * 155, 0},
                                         std::pair{4200LL, 3}, std::pair{4196LL, -3}, std::pair{120LL, 3},
                                         std::pair{326LL, 1}, std::pair{163LL * 128, 2}, std::pair{-155LL, -3}));

TEST(VoiceFileFormat, FramingMakesWholeMessagesAndCutsTheLastBankShort)
{
    const ByteString single = AddWrapper(voices(1, 155), 1);
    ASSERT_EQ(single.size(), 163u);
    EXPECT_EQ(single.substr(0, 6), std::string("\xF0\x43\x00\x00\x01\x1B", 6));
    EXPECT_EQ(byteAt(single, 162), 0xF7);
    EXPECT_EQ(dataSum(single) % 128, 0);
    ByteString sumIs256(155, '\0');
    sumIs256[0] = sumIs256[1] = toChar(0x7F);
    sumIs256[2] = toChar(0x02);
    EXPECT_EQ(byteAt(AddWrapper(sumIs256, 1), 161), 0);

    ScriptedUi ui;
    const ByteString file = toByteString(FrameVoiceImage(toByteArray(voices(40, 128)), 3, ui));
    ASSERT_EQ(file.size(), 5136u);
    EXPECT_EQ(file.substr(0, 6), kBankHeader);
    EXPECT_EQ(file.substr(4104, 6), kBankHeader);
    EXPECT_EQ(dataSum(file.substr(0, 4104)) % 128, 0);
    EXPECT_EQ(dataSum(file.substr(4104)) % 128, 0);

    EXPECT_EQ(FrameVoiceImage(toByteArray(voices(33, 155)), 1, ui).size(), 33u * 163);
    ASSERT_EQ(ui.statuses.size(), 2u);
    EXPECT_EQ(ui.statuses[0].text, "Please wait - adding sysex wrappers to voice  1 of  33  ");
    EXPECT_EQ(ui.statuses[1].text, "Please wait - adding sysex wrappers to voice  33 of  33  ");
}

TEST(VoiceFileFormat, StripHeadersKeepsWholeVoicesAndCanChangeTheType)
{
    const ByteString three = voices(3, 155);
    const ByteString framed = AddWrapper(three.substr(0, 155), 1) + AddWrapper(three.substr(155, 155), 1) +
                              AddWrapper(three.substr(310), 1);
    int type = 1;
    EXPECT_EQ(stripheaders(framed, type, true), three);
    EXPECT_EQ(type, 0);
    type = 3;
    EXPECT_EQ(stripheaders(AddWrapper(voices(32, 128), 3).substr(0, 3000), type, true), voices(23, 128));
    EXPECT_EQ(type, 2);
}

TEST(VoiceFileFormat, RestructuringConvertsEveryVoiceBankByBank)
{
    ScriptedUi ui;
    const ByteString unpacked = voices(40, 155);
    ByteArray image = toByteArray(unpacked + "xyz"); // a stray tail is dropped
    ASSERT_TRUE(RestructureFileBufferByt(ui, image, 0, 3));
    ASSERT_EQ(image.size(), 40u * 128);
    EXPECT_EQ(toByteString(image).substr(39 * 128), Pack(unpacked.substr(39 * 155)));
    EXPECT_TRUE(ui.sawStatus("Please Wait - Changing file type  "));
    EXPECT_TRUE(ui.sawStatus("Please Wait - Converting Bank 2 of 2  "));
    EXPECT_FALSE(ui.statuses.back().visible);
    EXPECT_EQ(ui.busyDepth, 0);

    ASSERT_TRUE(RestructureFileBufferByt(ui, image, 2, 1));
    EXPECT_EQ(toByteString(image).substr(0, 155), Unpack(Pack(unpacked.substr(0, 155))));
    const ByteArray before = image;
    EXPECT_TRUE(RestructureFileBufferByt(ui, image, 1, 0));
    EXPECT_FALSE(RestructureFileBufferByt(ui, image, -3, 2));
    EXPECT_EQ(image, before);
}

struct IntegrityCase {
    const char* name;
    std::string file; // "" tests the buffer (contents); "+x" writes file x, "x" names a missing one
    ByteString contents;
    int code, type;
    std::string text; // "@" stands for the file name; "" means no box
};

class VoiceFileFormatIntegrity : public testing::TestWithParam<IntegrityCase> {};

TEST_P(VoiceFileFormatIntegrity, GivesTheCodeAndItsMessage)
{
    const IntegrityCase& c = GetParam();
    TempDir dir;
    const std::string given = c.file.empty() ? "" : c.file[0] == '+' ? dir.write(c.file.substr(1), c.contents)
                                                                      : dir.file(c.file);
    const std::string_view buffer = c.file.empty() ? std::string_view(c.contents) : "";
    for (bool quiet : {false, true}) {
        ScriptedUi ui;
        std::string name = given;
        int type = 99;
        EXPECT_EQ(CheckFileIntegrity(ui, name, type, quiet, buffer), c.code);
        EXPECT_EQ(type, c.type);
        if (quiet || c.text.empty()) {
            EXPECT_TRUE(ui.boxes.empty());
            continue;
        }
        std::string text = c.text;
        if (const auto at = text.find('@'); at != std::string::npos)
            text.replace(at, 1, given);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.lastBox().text, text);
        EXPECT_EQ(ui.lastBox().title, "Error Opening File");
        EXPECT_EQ(ui.lastBox().icon, MsgIcon::Exclamation);
        EXPECT_EQ(ui.lastBox().buttons, MsgButtons::OKCancel);
        EXPECT_EQ(name == "The buffer ", c.file.empty() && c.contents.empty());
    }
}

const ByteString kSyHead = std::string("\xF0\x43\x00\x7A\x00\x00LM  8101VC", 16) + ByteString(4080, '\0');

INSTANTIATE_TEST_SUITE_P(
    Cases, VoiceFileFormatIntegrity,
    testing::Values(
        IntegrityCase{"Missing", "a.syx", "", -1, -1, "Can't find @"},
        IntegrityCase{"MissingInit", "DXInit.dat", "", -1, -1, "The source file DXInit.dat can't be found"},
        IntegrityCase{"Empty", "+e.syx", "", -2, -1, "@ is empty"},
        IntegrityCase{"NotDx", "+n.syx", ByteString(4196, 'x'), -3, -1, "@ does not contain DX7 voice data "},
        IntegrityCase{"Sy", "+sy.syx", kSyHead, -5, -1, "@ is a SY format file "},
        IntegrityCase{"SyTagOnly", "+b.syx", "\xF0\x42" + kSyHead.substr(2), 0, 2, ""},
        IntegrityCase{"EmptyBuffer", "", "", -2, -1, "No data in sysex message"},
        IntegrityCase{"OddBuffer", "", ByteString(1650, 'x'), -3, -1, "Invalid sysex message received ( 1650) bytes."},
        IntegrityCase{"SyBuffer", "", kSyHead, 0, 2, ""}, IntegrityCase{"Single", "", ByteString(163, 'x'), 0, 1, ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(VoiceFileFormat, GetFileRefusesWhatIsNotVoiceData)
{
    TempDir dir;
    Loaded tiny, notBulk, other;
    load(tiny, dir.write("tiny.syx", ByteString(120, 'x')));
    EXPECT_FALSE(tiny.ok);
    EXPECT_EQ(tiny.ui.lastBox().text, "No voice data found in T.syx\r\nPlease select another file");
    EXPECT_EQ(tiny.ui.lastBox().title, "Empty File");

    ByteString bank = AddWrapper(voices(32, 128), 3);
    bank[3] = toChar(0x08);
    load(notBulk, dir.write("b.syx", bank));
    EXPECT_FALSE(notBulk.ok);
    EXPECT_EQ(notBulk.ui.lastBox().text,
              "T.syx cannot be loaded as it does not contain DX format voice data.\r\nPlease select another file");
    EXPECT_EQ(notBulk.ui.lastBox().title, "Invalid file type");
    EXPECT_EQ(notBulk.ui.lastBox().icon, MsgIcon::Critical);

    EXPECT_FALSE(GetFileByt(other.ui, dir.file("gone.syx"), "T.syx", 3, other.image, other.crc, true));
    EXPECT_EQ(other.ui.lastBox().text, "Couldn't open " + dir.file("gone.syx"));
    EXPECT_EQ(other.ui.busyDepth, 0);
}

TEST(VoiceFileFormat, GetFileStripsMessagesWhateverTheirChecksumAndDevice)
{
    TempDir dir;
    const ByteString unpacked = voices(3, 155);
    ByteString single;
    for (std::size_t v = 0; v < 3; ++v)
        single += AddWrapper(unpacked.substr(v * 155, 155), 1);
    single[2] = toChar(0x05);
    single[161] = toChar(byteAt(single, 161) ^ 1);
    Loaded r, asIs;
    load(r, dir.write("s.syx", single));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(toByteString(r.image), unpacked);
    EXPECT_TRUE(r.ui.sawStatus("Please Wait - reading " + dir.file("s.syx") + "  "));
    EXPECT_FALSE(r.ui.statuses.back().visible);

    load(asIs, dir.file("s.syx"), false);
    EXPECT_EQ(toByteString(asIs.image), single);
    EXPECT_EQ(asIs.crc, r.crc);
}

class VoiceFileFormatCutBank : public testing::TestWithParam<std::pair<std::size_t, std::size_t>> {};

// A second bank message of 8 voices cut to a length; the voices kept from it.
TEST_P(VoiceFileFormatCutBank, KeepsOnlyTheWholeVoicesItHolds)
{
    const auto [length, kept] = GetParam();
    TempDir dir;
    const ByteString file = AddWrapper(voices(40, 128).substr(0, 4096), 3) +
                            AddWrapper(voices(40, 128).substr(4096), 3).substr(0, length);
    Loaded r;
    ASSERT_TRUE(GetFileByt(r.ui, dir.write("cut.syx", file), "cut.syx", 3, r.image, r.crc, true));
    EXPECT_EQ(toByteString(r.image), voices(32 + kept, 128));
}

INSTANTIATE_TEST_SUITE_P(Lengths, VoiceFileFormatCutBank,
                         testing::Values(std::pair<std::size_t, std::size_t>{1032, 8}, // whole, with sum and F7
                                         std::pair<std::size_t, std::size_t>{6 + 4 * 128, 4}, // cut after a voice
                                         std::pair<std::size_t, std::size_t>{6 + 4 * 128 + 80, 4},
                                         std::pair<std::size_t, std::size_t>{96, 0}));

TEST(InitVoice, BankFileHoldsOneBankOfInitVoicesAndIsBuiltBesideThePrograms)
{
    const ByteString bank = MakeInitBankFile();
    ASSERT_EQ(bank.size(), 4104u);
    EXPECT_EQ(bank.substr(0, 6), kBankHeader);
    EXPECT_EQ(dataSum(bank) % 128, 0);
    for (std::size_t v = 0; v < 32; ++v)
        EXPECT_EQ(Unpack(bank.substr(6 + v * 128, 128)), MakeInitVoice());
    const auto built = std::filesystem::path(TONELOFT_CLI_PATH).parent_path() / "DXInit.dat";
    EXPECT_EQ(TempDir::read(built.string()), bank);
}

TEST(VoiceFileFormat, CleanVoiceNameBlanksWhatCannotBeShown)
{
    bool changed = true;
    EXPECT_EQ(CleanVoiceName("BRASS   1 ", changed), "BRASS   1 ");
    EXPECT_FALSE(changed);
    EXPECT_EQ(CleanVoiceName("A\x7F" "B'C\x1F\xC8" "DEF", changed), "A B C  DEF");
    EXPECT_TRUE(changed);
    EXPECT_EQ(CleanVoiceName(std::string("\0PIANO    ", 10), changed), "PIANO    ");
    EXPECT_EQ(CleanVoiceName("'TIS ORGAN", changed), "TIS ORGAN");
}

TEST(VoiceFileFormat, WriteReplacesTheFileInOneStepOrLeavesAllAlone)
{
    TempDir dir;
    const std::string path = dir.write("v.dat", "old");
    const ByteArray bytes{1, 2, 3, 0xF7};
    ByteArray back;
    ASSERT_TRUE(WriteFileReplacing(path, bytes));
    ASSERT_TRUE(ReadWholeFile(path, back));
    EXPECT_EQ(back, bytes);
    std::filesystem::create_directory(dir.path() / "sub");
    const std::string keep = dir.write("sub/keep.dat", "keep");
    std::string reason;
    EXPECT_FALSE(WriteFileReplacing(dir.file("sub"), bytes, &reason));
    EXPECT_EQ(reason, "Is a directory"); // the rename over a folder
    EXPECT_FALSE(WriteFileReplacing(dir.file("nowhere/x.dat"), bytes, &reason));
    EXPECT_EQ(reason, "No such file or directory");
    EXPECT_EQ(TempDir::read(keep), "keep");
    EXPECT_FALSE(ReadWholeFile(dir.file("none.dat"), back));
    EXPECT_FALSE(ReadWholeFile(dir.file("sub"), back));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2); // no leftovers
}

// Every real file is opened, or refused by the length test (-3) or by its header (-1).
class VoiceFileFormatCorpus : public testing::TestWithParam<std::pair<const char*, int>> {};

TEST_P(VoiceFileFormatCorpus, OpensOrIsRefusedByTheRules)
{
    TONELOFT_REQUIRE_CORPUS();
    const auto [file, voiceCount] = GetParam();
    const std::string path = (test::corpusDir() / file).string();
    Loaded r;
    load(r, path);
    EXPECT_EQ(r.ok, voiceCount >= 0);
    if (voiceCount == -3)
        EXPECT_EQ(r.ui.lastBox().text, path + " does not contain DX7 voice data ");
    else if (voiceCount == -1)
        EXPECT_EQ(r.ui.lastBox().title, "Invalid file type");
    else
        EXPECT_TRUE(r.image.size() == static_cast<std::size_t>(voiceCount) * 128 ||
                    r.image.size() == static_cast<std::size_t>(voiceCount) * 155);

    // The same bytes already in memory (the buffer check, then the checks after
    // reading) give the same image, CRC and message.
    ByteArray content;
    ASSERT_TRUE(ReadWholeFile(path, content));
    ScriptedUi ui;
    std::string noFile;
    int type = -1;
    const std::string_view text(reinterpret_cast<const char*>(content.data()), content.size());
    ASSERT_EQ(CheckFileIntegrity(ui, noFile, type, true, text) == 0, voiceCount != -3);
    if (voiceCount == -3)
        return;
    ByteArray image;
    std::int32_t crc = 0;
    EXPECT_EQ(GetContentByt(ui, "T.syx", type, std::move(content), image, crc, true), r.ok);
    EXPECT_EQ(image, r.image);
    EXPECT_EQ(crc, r.crc);
    EXPECT_EQ(ui.boxes.empty(), r.ui.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, VoiceFileFormatCorpus,
    testing::Values(std::pair{"001.syx", 1}, std::pair{"043.syx", 32}, std::pair{"BANGERS.SYX", 32},
                    std::pair{"BublClap.syx", 1}, std::pair{"CART1A.SYX", 64}, std::pair{"DUITSL.SYX", 32},
                    std::pair{"DX7-Cfshpd-Drum-Voices.syx", 32}, std::pair{"DX7IIFDPerf.SYX", -3},
                    std::pair{"DX7SCartridgeA.syx", 32}, std::pair{"DX7SK95.SYX", 33}, std::pair{"EFFECT-2.SYX", 40},
                    std::pair{"Keys.syx", 32}, std::pair{"ORG_CLAV.SYX", 32}, std::pair{"ORTEGA12.SYX", 32},
                    std::pair{"PA-Decoder.syx", 1024}, std::pair{"ROM1A.syx", 32}, std::pair{"ROM4A.syx", 32},
                    std::pair{"STOCK.SYX", 4}, std::pair{"TX7FactoryA-Tape.syx", 32},
                    std::pair{"TX802BankA1.SYX", 32}, std::pair{"TX802_Blank_Voices.syx", -3},
                    std::pair{"VRC-1001_DECAY group_A(1-32).syx", 32}, std::pair{"WARM3A.SYX", -1},
                    std::pair{"dx7bank.syx", -1}, std::pair{"dx7ii-bank-B.syx", -3}));

} // namespace
} // namespace toneloft
