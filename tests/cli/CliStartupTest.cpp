// The command-line program cleans up after killed saves when it starts, from
// the same user data folder as the desktop program.
#include "common/InstallPaths.h"
#include "support/CliRun.h"
#include "support/EndedProcess.h"
#include "support/TempDir.h"
#include "support/VoiceFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace toneloft {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test; unset when value is empty.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value.empty())
            ::unsetenv(name);
        else
            ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

using test::pidOfEndedProcess;

struct FolderCase {
    const char* what;
    const char* xdg;
    const char* home;
    const char* expected;
};

class UserData : public ::testing::TestWithParam<FolderCase> {};

TEST_P(UserData, FolderFromTheEnvironment)
{
    const FolderCase& c = GetParam();
    ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(UserDataFolder(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, UserData,
    ::testing::Values(FolderCase{"Xdg", "/x/data", "/home/u", "/x/data/Toneloft/Toneloft"},
                      FolderCase{"Home", "", "/home/u", "/home/u/.local/share/Toneloft/Toneloft"},
                      FolderCase{"RelativeXdgIgnored", "data", "/home/u", "/home/u/.local/share/Toneloft/Toneloft"},
                      FolderCase{"Neither", "", "", ""}),
    [](const auto& p) { return std::string(p.param.what); });

TEST(CliStartup, LeftoversOfKilledSavesGoBeforeTheCommandRuns)
{
    test::TempDir dir;
    ScopedEnv xdg("XDG_DATA_HOME", dir.file("share"));
    const fs::path notes = fs::path(dir.file("share")) / "Toneloft" / "Toneloft" / "pending-saves";
    fs::create_directories(notes);
    fs::create_directories(dir.file("out"));

    // A save killed in another folder, and one of a process that still runs
    // (this test), each noted where the desktop program notes them.
    const std::string dead = std::to_string(pidOfEndedProcess());
    const std::string alive = std::to_string(::getpid());
    const std::string killed = dir.write("out/.a.syx.toneloft-save-" + dead + "-1", "half a bank");
    const std::string going = dir.write("out/.b.syx.toneloft-save-" + alive + "-1", "being written");
    dir.write("share/Toneloft/Toneloft/pending-saves/" + dead + "-1.pending", killed);
    dir.write("share/Toneloft/Toneloft/pending-saves/" + alive + "-1.pending", going);

    const std::string bank = dir.write("bank.syx", test::makeVoiceFile(3, 32));
    const test::CliRun r = test::runCli("info " + test::shellQuoted(bank), dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_FALSE(fs::exists(notes / (dead + "-1.pending")));
    EXPECT_TRUE(fs::exists(going));
    EXPECT_TRUE(fs::exists(notes / (alive + "-1.pending")));

    // Its own saves leave no note behind.
    const std::string out = dir.file("out/copy.syx");
    const test::CliRun c = test::runCli("convert " + test::shellQuoted(bank) + " --type 2 -o " + test::shellQuoted(out), dir);
    EXPECT_EQ(c.status, 0) << c.err;
    EXPECT_EQ(fs::file_size(out), 32u * 128u);
    std::size_t left = 0;
    for (const auto& entry : fs::directory_iterator(notes))
        left += entry.path().filename().string() != alive + "-1.pending";
    EXPECT_EQ(left, 0u);
}

} // namespace
} // namespace toneloft
