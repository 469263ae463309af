#include "support/CliRun.h"
#include "support/TempDir.h"
#include "support/VoiceFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace toneloft {
namespace batch {

namespace fs = std::filesystem;

using test::CliRun;

constexpr auto cli = test::runCli;
constexpr auto q = test::shellQuoted;

// Unpacked voices (type 0) of these names; equal names get equal data.
std::string voices(const std::vector<std::string>& names)
{
    std::string image;
    for (const auto& n : names)
        image += test::makeVoice(n, static_cast<int>(n.size()) + n[0]);
    return image;
}

std::vector<std::string> namesIn(const std::string& bytes)
{
    std::vector<std::string> out;
    for (std::size_t at = 0; at + 155 <= bytes.size(); at += 155)
        out.push_back(bytes.substr(at + 145, 10));
    return out;
}

TEST(BatchCli, DedupeReadsSeveralFilesAsOneListInOrder)
{
    test::TempDir dir;
    const std::string a = dir.write("a.dat", voices({"ONE", "TWO", "ONE"}));
    const std::string b = dir.write("b.dat", voices({"TWO", "THREE"}));
    const CliRun r = cli("dedupe " + q(a) + " " + q(b) + " --rule 2 -o " + q(dir.file("out.dat")) + " --removed " +
                          q(dir.file("gone.dat")),
                      dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("voices=5\tkept=3\tremoved=2\tfound=2\ttype=0"), std::string::npos) << r.out;
    EXPECT_EQ(namesIn(test::TempDir::read(dir.file("out.dat"))),
              (std::vector<std::string>{"ONE       ", "TWO       ", "THREE     "}));
    EXPECT_EQ(namesIn(test::TempDir::read(dir.file("gone.dat"))),
              (std::vector<std::string>{"ONE       ", "TWO       "}));
    // The sources are untouched.
    EXPECT_EQ(test::TempDir::read(a), voices({"ONE", "TWO", "ONE"}));
}

TEST(BatchCli, DedupeWritesTheLayoutAsked)
{
    test::TempDir dir;
    const std::string a = dir.write("a.syx", test::makeVoiceFile(3, 40));
    const CliRun r = cli("dedupe " + q(a) + " --rule 0 --type 0 -o " + q(dir.file("out.dat")), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fs::file_size(dir.file("out.dat")), 40u * 155u);
    // The packed file round-trips into the same voices, unpacked.
    EXPECT_EQ(test::TempDir::read(dir.file("out.dat")), test::makeVoiceFile(0, 40));
}

TEST(BatchCli, DedupeSelectionRangeAndRefusals)
{
    test::TempDir dir;
    const std::string a = dir.write("a.dat", voices({"ONE", "TWO", "ONE", "TWO"}));
    // Only voice 4 searched: it removes the earlier TWO.
    CliRun r = cli("dedupe " + q(a) + " --rule 0 --range selection --select 4 -o " + q(dir.file("o.dat")), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(namesIn(test::TempDir::read(dir.file("o.dat"))),
              (std::vector<std::string>{"ONE       ", "ONE       ", "TWO       "}));
    r = cli("dedupe " + q(a) + " --rule 7 -o x", dir);
    EXPECT_EQ(r.status, 2);
    r = cli("dedupe " + q(a) + " --rule 1 -o " + q(dir.file("o.dat")), dir);
    EXPECT_EQ(r.status, 1); // exists, no --yes
    EXPECT_NE(r.err.find("give --yes"), std::string::npos);
}

TEST(BatchCli, GroupWritesAFilePerMatchingGroup)
{
    test::TempDir dir;
    fs::create_directories(dir.path() / "out");
    const std::string a = dir.write("a.dat", voices({"BASS 1", "EL.BASS", "PIANO"}));
    const std::string b = dir.write("b.dat", voices({"BASSIC", "EP 1"}));
    const CliRun r = cli("group " + q(a) + " " + q(b) + " --group \"*BASS*\" --group \"PIANO*|EP*\" --group \"ORGAN*\" -o " +
                          q(dir.file("out")),
                      dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(namesIn(test::TempDir::read(dir.file("out/BASS 1.dat"))),
              (std::vector<std::string>{"BASS 1    ", "EL.BASS   ", "BASSIC    "}));
    EXPECT_EQ(namesIn(test::TempDir::read(dir.file("out/PIANO and EP 2.dat"))),
              (std::vector<std::string>{"PIANO     ", "EP 1      "}));
    EXPECT_FALSE(fs::exists(dir.file("out/ORGAN 3.dat")));
    EXPECT_NE(r.out.find("voices=5\tfiles=2\tmoved=0\tleft=5"), std::string::npos) << r.out;
}

TEST(BatchCli, GroupMoveSavesTheSourceAndBadPatternWritesNothing)
{
    test::TempDir dir;
    const std::string a = dir.write("a.dat", voices({"BASS 1", "PIANO", "BASSOON"}));
    CliRun r = cli("group " + q(a) + " --group \"BASS*\" --group \"B*SS\"", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Search String Invalid\nError in the following search string : B*SS\n", 0), 0u) << r.err;
    EXPECT_FALSE(fs::exists(dir.file("BASS 1.dat")));

    r = cli("group " + q(a) + " --group \"BASS*\" --move", dir);
    EXPECT_EQ(r.status, 1); // --move needs --yes
    r = cli("group " + q(a) + " --group \"BASS*\" --group \"*S*\" --move --yes", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(namesIn(test::TempDir::read(dir.file("BASS 1.dat"))),
              (std::vector<std::string>{"BASS 1    ", "BASSOON   "}));
    EXPECT_FALSE(fs::exists(dir.file("S 2.dat"))); // PIANO has no S; the BASS voices had gone
    EXPECT_EQ(namesIn(test::TempDir::read(a)), std::vector<std::string>{"PIANO     "});
}

} // namespace batch
} // namespace toneloft
