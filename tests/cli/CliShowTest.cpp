#include "support/CliRun.h"
#include "support/Corpus.h"
#include "support/TempDir.h"
#include "support/VoiceFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace toneloft::test {
namespace {

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(CliShow, JsonHoldsEveryRowAndOperatorWithEscapedTexts)
{
    TempDir dir;
    ByteString voice = makeVoice("Q\"UOTE\\B", 0);
    voice[15] = toChar(8); // operator 6 KVS above its maximum of 7
    const std::string file = dir.write("one.syx", AddWrapper(voice, 1));
    const CliRun r = runCli("show " + shellQuoted(file) + " --voice 1 --json", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"name\": \"Q\\\"UOTE\\\\B  \", \"parameters\": [", 0), 0u) << r.out.substr(0, 80);
    EXPECT_EQ(count(r.out, "{\"number\": "), 155u);
    EXPECT_EQ(count(r.out, "{\"operator\": "), 6u);
    EXPECT_NE(r.out.find("{\"number\": 145, \"title\": \"Transpose\", \"value\": 24, \"text\": \"C 3 \"}"),
              std::string::npos);
    EXPECT_NE(r.out.find("{\"number\": 143, \"title\": \"LFO Wave\", \"value\": 0, \"text\": \"Triangle \"}"),
              std::string::npos);
    EXPECT_NE(r.out.find("{\"number\": 147, \"title\": \"Name 2\", \"value\": 34, \"text\": \"\\\"\"}"),
              std::string::npos);
    // The editor's range question, answered Yes: the value is shown clamped.
    EXPECT_NE(r.out.find("{\"number\": 16, \"title\": \"OP6 KVS\", \"value\": 7, \"text\": \"7\"}"),
              std::string::npos);
    EXPECT_NE(r.err.find("is outside the permitted range"), std::string::npos);
    EXPECT_NE(r.out.find("\"operators\": [{\"operator\": 1, \"frequency\": \"1.0\"}, "), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.size() - 5), "\"}]}\n");
}

TEST(CliShow, TextListsRowsAndFrequenciesOfARealBank)
{
    TONELOFT_REQUIRE_CORPUS();
    TempDir dir;
    const CliRun r = runCli("show " + shellQuoted((corpusDir() / "ROM1A.syx").string()) + " --voice 1", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Voice 1 of ROM1A.syx: \"BRASS   1 \"\n", 0), 0u);
    EXPECT_EQ(count(r.out, "\n"), 1u + 155u + 6u);
    EXPECT_NE(r.out.find("\n135  Algorithm. Sel    21  22\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nOperator 1  .5\n"), std::string::npos);
}

TEST(CliShow, RefusesBadUsageAndMissingVoices)
{
    TempDir dir;
    const std::string file = dir.write("two.dat", makeVoiceFile(0, 2));
    EXPECT_EQ(runCli("show " + shellQuoted(file), dir).status, 2);
    EXPECT_EQ(runCli("show " + shellQuoted(file) + " --voice 0", dir).status, 2);
    EXPECT_EQ(runCli("show " + shellQuoted(file) + " --voice x", dir).status, 2);
    EXPECT_EQ(runCli("show " + shellQuoted(file) + " --voice 3", dir).status, 1);
    EXPECT_EQ(runCli("show " + shellQuoted(dir.file("none.dat")) + " --voice 1", dir).status, 1);
}

} // namespace
} // namespace toneloft::test
