// toneloft-cli --scan: the voices inside files the rules refuse.
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

using ScanRun = test::CliRun;

ScanRun cli(const std::string& args)
{
    static const test::TempDir errors; // standard error is not looked at here
    return test::runCli(args, errors);
}

constexpr auto quoted = test::shellQuoted;

// The 32 names of a bank message, read here from its layout: 6 header bytes,
// then 128 bytes a voice, the name in the last 10.
std::string namesOfBank(const std::string& bank)
{
    std::string out;
    for (int v = 0; v < 32; ++v)
        out += std::to_string(v + 1) + "\t" + bank.substr(6 + static_cast<std::size_t>(v) * 128 + 118, 10) + "\n";
    return out;
}

const std::string kRoland("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x41\xF7", 11);

TEST(CliScan, RecoversABankBehindAHeaderAndBetweenOtherMakersMessages)
{
    TONELOFT_REQUIRE_CORPUS();
    test::TempDir dir;
    const std::string bank = test::TempDir::read((test::corpusDir() / "ROM1A.syx").string());
    std::string header(128, '\0');
    header.replace(0, 16, "Sysex Manager-1 ");
    const std::string behind = dir.write("behind.syx", header + bank);
    const std::string between = dir.write("between.syx", kRoland + bank + kRoland + kRoland);

    for (const std::string& file : {behind, between}) {
        SCOPED_TRACE(file);
        // Without --scan the file is refused as before.
        EXPECT_EQ(cli("names " + quoted(file)).status, 1);
        const ScanRun names = cli("names --scan " + quoted(file));
        EXPECT_EQ(names.status, 0);
        EXPECT_EQ(names.out, namesOfBank(bank));

        const ScanRun info = cli("info --scan " + quoted(file));
        EXPECT_EQ(info.status, 0);
        EXPECT_NE(info.out.find("\tvoices=32\tbanks=1\t"), std::string::npos) << info.out;

        // Converted back to a bank message: the bank as it was.
        const std::string out = dir.file("out.syx");
        fs::remove(out);
        const ScanRun convert = cli("convert --scan " + quoted(file) + " --type 3 -o " + quoted(out));
        EXPECT_EQ(convert.status, 0) << convert.out;
        EXPECT_TRUE(test::TempDir::read(out) == bank);
    }
    // Nothing is left behind beside the CLI, and the originals are untouched.
    for (const auto& entry : fs::directory_iterator(fs::path(TONELOFT_CLI_PATH).parent_path()))
        EXPECT_EQ(entry.path().filename().string().rfind("Found in", 0), std::string::npos) << entry.path();
    EXPECT_EQ(test::TempDir::read(behind), header + bank);
}

} // namespace
} // namespace toneloft
