#include "support/CliRun.h"
#include "support/TempDir.h"
#include "support/VoiceFiles.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace toneloft {
namespace {

using test::CliRun;

CliRun generate(const std::string& args, const test::TempDir& dir)
{
    return test::runCli("generate " + args, dir);
}

// Two voices that differ in every parameter that has room to.
ByteString sourceVoice(int which)
{
    ByteString v = MakeInitVoice();
    v[0] = toChar(which == 1 ? 10 : 50);    // operator 6 rate 1
    v[144] = toChar(which == 1 ? 12 : 36);  // transpose
    v[137] = toChar(which == 1 ? 5 : 95);   // LFO speed
    v.replace(145, 10, which == 1 ? "FIRST     " : "SECOND    ");
    return v;
}

class CliGenerateTest : public ::testing::Test {
protected:
    CliGenerateTest()
    {
        packed = dir.write("src.bin", Pack(sourceVoice(1)) + Pack(sourceVoice(2)));
    }
    test::TempDir dir;
    std::string packed;
};

TEST_F(CliGenerateTest, OneSourceAtVarianceZeroCopiesItIntoTheSourcesLayout)
{
    const CliRun r = generate("\"" + packed + ":2\" --count 3 --variance 0 -o \"" + dir.file("out.bin") + "\"", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const ByteString out = test::TempDir::read(dir.file("out.bin"));
    ASSERT_EQ(out.size(), 3u * 128u); // the source's packed layout
    for (int k = 1; k <= 3; ++k) {
        const ByteString voice = Unpack(out.substr(static_cast<std::size_t>(k - 1) * 128, 128));
        EXPECT_EQ(voice.substr(0, 145), sourceVoice(2).substr(0, 145));
        EXPECT_EQ(voice.substr(145), "RandVc " + std::to_string(k) + "  ");
    }
    EXPECT_NE(r.out.find("\ttype=2\tvoices=3\tbytes=384"), std::string::npos) << r.out;
}

TEST_F(CliGenerateTest, OnlyTheGivenGroupsVaryAndTheSeedRepeats)
{
    // Group 43 (transpose) alone at full variance: 12 to 36, the rest the first source's.
    const std::string args = "\"" + packed + ":1\" \"" + packed + ":2\" --count 200 --variance 100 --groups 43 "
                             "--seed 11 --type 0 -o ";
    ASSERT_EQ(generate(args + "\"" + dir.file("a.dat") + "\"", dir).status, 0);
    ASSERT_EQ(generate(args + "\"" + dir.file("b.dat") + "\"", dir).status, 0);
    const ByteString a = test::TempDir::read(dir.file("a.dat"));
    ASSERT_EQ(a.size(), 200u * 155u);
    EXPECT_EQ(a, test::TempDir::read(dir.file("b.dat")));
    std::set<int> transposes;
    for (std::size_t at = 0; at < a.size(); at += 155) {
        EXPECT_EQ(a.substr(at, 144), sourceVoice(1).substr(0, 144));
        const int t = byteAt(a, at + 144);
        EXPECT_GE(t, 12);
        EXPECT_LE(t, 36);
        transposes.insert(t);
    }
    EXPECT_GT(transposes.size(), 20u);
}

TEST_F(CliGenerateTest, BadRequestsWriteNothing)
{
    const std::string out = dir.file("out.dat");
    struct Case {
        std::string args;
        int status;
        const char* says;
    };
    const std::string src = "\"" + packed + ":1\"";
    for (const Case& c : {Case{src + " --count 2 --variance 50", 2, "-o OUT"},
                          Case{src + " --count 0 --variance 50 -o \"" + out + "\"", 2, "--count"},
                          Case{src + " --count 2 --variance 101 -o \"" + out + "\"", 2, "--variance"},
                          Case{src + " --count 2 --variance 5 --groups 1,44 -o \"" + out + "\"", 2, "--groups"},
                          Case{"\"" + packed + ":3\" --count 2 --variance 5 -o \"" + out + "\"", 1, "no voice 3"},
                          Case{"\"" + packed + "\" --count 2 --variance 5 -o \"" + out + "\"", 2, "FILE:VOICE"},
                          Case{src + " " + src + " --count 2 --variance 5 -o \"" + out + "\"", 2, "given twice"},
                          Case{src + " --count 5 --variance 5 --type 3 -o \"" + out + "\"", 1, "whole banks"},
                          Case{"\"" + dir.file("none.syx") + ":1\" --count 2 --variance 5 -o \"" + out + "\"", 1, ""}}) {
        const CliRun r = generate(c.args, dir);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.args;
    }
    // An existing file stays as it is without --yes.
    dir.write("out.dat", "keep");
    EXPECT_EQ(generate(src + " --count 2 --variance 5 -o \"" + out + "\"", dir).status, 1);
    EXPECT_EQ(test::TempDir::read(out), "keep");
    EXPECT_EQ(generate(src + " --count 2 --variance 5 -o \"" + out + "\" --yes", dir).status, 0);
    EXPECT_EQ(std::filesystem::file_size(out), 256u);
}

} // namespace
} // namespace toneloft
