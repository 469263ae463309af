#include "support/CliRun.h"
#include "support/Corpus.h"
#include "support/TempDir.h"
#include "support/VoiceFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace toneloft {
namespace {

namespace fs = std::filesystem;

using test::CliRun;

constexpr auto cli = test::runCli;
constexpr auto quoted = test::shellQuoted;

TEST(Cli, InfoReportsOpenedAndRefusedFiles)
{
    test::TempDir dir;
    const std::string good = dir.write("good.syx", test::makeVoiceFile(3, 40));
    const std::string bad = dir.write("bad.syx", std::string(4196, 'x'));
    const CliRun r = cli("info --json " + quoted(good) + " " + quoted(bad) + " " + quoted(dir.file("none.syx")), dir);
    EXPECT_EQ(r.status, 1);
    const auto lines = r.out;
    EXPECT_NE(lines.find("{\"file\":\"" + good + "\",\"type\":3,\"code\":0,\"voices\":40,\"banks\":2,\"crc\":"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("{\"file\":\"" + bad + "\",\"type\":-3,\"code\":-3,\"voices\":0,\"banks\":0,\"crc\":null,"
                         "\"message\":\"" + bad + " does not contain DX7 voice data \"}"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("\"type\":null,\"code\":-1,"), std::string::npos) << lines;
    EXPECT_EQ(r.err, ""); // with --json the messages travel in the output only
}

TEST(Cli, InfoTextFormAndTheStatusOfAGoodRun)
{
    test::TempDir dir;
    const std::string good = dir.write("one.dat", test::makeVoiceFile(0, 1));
    const CliRun r = cli("info " + quoted(good), dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(good + "\ttype=0\tcode=0\tvoices=1\tbanks=1\tcrc=", 0), 0u) << r.out;
}

TEST(Cli, NamesAreCleanedAndNumbered)
{
    test::TempDir dir;
    ByteString file = test::makeVoiceFile(1, 2, "PIANO");
    file[6 + 145 + 2] = 0x7F;
    const CliRun r = cli("names " + quoted(dir.write("p.syx", file)), dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1\tPI NO1    \n2\tPIANO2    \n");
    EXPECT_NE(r.err.find("Invalid Voice Name Characters: Some of the voice names in p.syx"), std::string::npos);
}

TEST(Cli, ConvertWritesTheChosenLayoutAndNeverReplacesSilently)
{
    test::TempDir dir;
    const std::string source = dir.write("forty.dat", test::makeVoiceFile(0, 40));
    const std::string out = dir.file("forty.syx");
    // 40 voices: the last bank is filled with initial voices, as Save As offers;
    // --no keeps the short last message.
    CliRun r = cli("convert " + quoted(source) + " --type 3 -o " + quoted(out), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fs::file_size(out), 2u * 4104u);
    r = cli("--no convert " + quoted(source) + " --type 3 -o " + quoted(dir.file("short.syx")), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fs::file_size(dir.file("short.syx")), 5136u);

    r = cli("convert " + quoted(source) + " --type 1 -o " + quoted(out), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(fs::file_size(out), 2u * 4104u);
    r = cli("--yes convert " + quoted(source) + " --type 1 -o " + quoted(out), dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fs::file_size(out), 40u * 163u);
    EXPECT_EQ(test::TempDir::read(source), test::makeVoiceFile(0, 40)); // the source is never touched

    r = cli("convert " + quoted(source) + " --type 7 -o " + quoted(out), dir);
    EXPECT_EQ(r.status, 2);
}

TEST(Cli, CheckListsValuesOutsideTheirRanges)
{
    test::TempDir dir;
    ByteString voices = test::makeVoiceFile(0, 2);
    voices[155 + 15] = 8;  // voice 2, operator 6 key velocity sensitivity (0..7)
    voices[155 + 142] = 5; // voice 2, LFO wave (0..4)
    const std::string path = dir.write("odd.dat", voices);
    const CliRun r = cli("check " + quoted(path), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("voice 2 (VOICE2    ): OP6 KVS         = 8, outside 0 to 7\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("voice 2 (VOICE2    ): LFO Wave        = 5, outside 0 to 4\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("2 values outside their ranges in 1 of 2 voices"), std::string::npos);
    EXPECT_EQ(test::TempDir::read(path), voices);

    const CliRun clean = cli("check " + quoted(dir.write("ok.dat", test::makeVoiceFile(0, 3))), dir);
    EXPECT_EQ(clean.status, 0);
}

TEST(Cli, CorpusFilesOpenOrAreRefusedAsTheRulesSay)
{
    TONELOFT_REQUIRE_CORPUS();
    test::TempDir dir;
    struct Expect {
        const char* file;
        int code;
        long voices; // -1: refused after the check
    };
    const Expect expected[] = {
        {"ROM1A.syx", 0, 32},
        {"CART1A.SYX", 0, 64},          // two banks in one file
        {"STOCK.SYX", 0, 4},            // a bank cut short keeps its whole voices
        {"DX7SCartridgeA.syx", 0, 32},  // raw packed voices
        {"TX802BankA1.SYX", 0, 32},     // 4960 bytes read as raw unpacked voices
        {"001.syx", 0, 1},
        {"DX7IIFDPerf.SYX", -3, -1},
        {"dx7ii-bank-B.syx", -3, -1},   // one byte short of a bank
        {"WARM3A.SYX", 0, -1},          // bank-sized by length, but a single-voice header
        {"dx7bank.syx", 0, -1},         // format byte 04
    };
    for (const auto& e : expected) {
        const CliRun r = cli("info --json " + quoted((test::corpusDir() / e.file).string()), dir);
        SCOPED_TRACE(e.file);
        EXPECT_NE(r.out.find("\"code\":" + std::to_string(e.code) + ","), std::string::npos) << r.out;
        if (e.voices >= 0) {
            EXPECT_EQ(r.status, 0) << r.out;
            EXPECT_NE(r.out.find("\"voices\":" + std::to_string(e.voices) + ","), std::string::npos) << r.out;
        } else {
            EXPECT_EQ(r.status, 1) << r.out;
            EXPECT_NE(r.out.find("\"crc\":null"), std::string::npos) << r.out;
        }
    }
}

} // namespace
} // namespace toneloft
