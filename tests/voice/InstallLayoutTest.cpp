// Where the programs find their read-only files and where they write, in the
// build tree (everything beside the programs) and in an installation
// (<prefix>/bin and <prefix>/share/toneloft).

#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include "common/InstallPaths.h"
#include "voice/Session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace toneloft {
namespace {

namespace fs = std::filesystem;

class InstallLayout : public ::testing::Test {
protected:
    InstallLayout()
    {
        fs::create_directories(bin);
        fs::create_directories(share);
    }
    static void touch(const fs::path& file) { std::ofstream(file) << "x"; }

    test::TempDir prefix;
    fs::path bin = prefix.path() / "bin";
    fs::path share = prefix.path() / "share" / "toneloft";
    fs::path user = prefix.path() / "home" / "Toneloft"; // not there until needed
    test::ScriptedUi ui;
};

std::string folderOf(const fs::path& p) { return (p / "").string(); }

TEST_F(InstallLayout, BuildTreeFindsEverythingBesideTheProgramAndWritesThere)
{
    // Both present: the build tree's copy wins.
    touch(bin / "DXInit.dat");
    touch(share / "DXInit.dat");
    fs::create_directories(bin / "help");
    fs::create_directories(share / "help");

    EXPECT_EQ(FindInstalledFile(bin.string(), "DXInit.dat"), (bin / "DXInit.dat").string());
    EXPECT_EQ(FindInstalledFile(bin.string(), "help"), (bin / "help").string());
    EXPECT_FALSE(RunsInstalled(bin.string()));

    Session session(ui, bin.string());
    EXPECT_EQ(session.initFilePath(), (bin / "DXInit.dat").string());
    session.findDataDirectory(user.string());
    EXPECT_EQ(session.DataDirectory(), folderOf(bin));
    EXPECT_FALSE(fs::exists(user)) << "the user's folder is made only when it is used";
}

TEST_F(InstallLayout, InstalledProgramReadsTheShareFolderAndWritesToTheUsersFolder)
{
    touch(share / "DXInit.dat");
    touch(share / "syinit.dat");
    fs::create_directories(share / "help");

    const fs::path shared = prefix.path() / "share" / "toneloft";
    EXPECT_EQ(FindInstalledFile(bin.string(), "DXInit.dat"), (shared / "DXInit.dat").string());
    EXPECT_EQ(FindInstalledFile(bin.string(), "syinit.dat"), (shared / "syinit.dat").string());
    EXPECT_EQ(FindInstalledFile(bin.string(), "help"), (shared / "help").string());
    EXPECT_TRUE(RunsInstalled(bin.string()));

    Session session(ui, bin.string());
    EXPECT_EQ(session.initFilePath(), (shared / "DXInit.dat").string());
    session.findDataDirectory(user.string());
    EXPECT_EQ(session.DataDirectory(), folderOf(user));
    EXPECT_TRUE(fs::is_directory(user));
}

TEST_F(InstallLayout, TheUsersDataSubFolderFollowsTheSameRule)
{
    touch(share / "DXInit.dat");
    fs::create_directories(user / "Data");
    Session session(ui, bin.string());

    // An empty Data folder is not used ...
    session.findDataDirectory(user.string());
    EXPECT_EQ(session.DataDirectory(), folderOf(user));
    // ... one holding a .dat file is.
    touch(user / "Data" / "Bank.DAT");
    session.findDataDirectory(user.string());
    EXPECT_EQ(session.DataDirectory(), folderOf(user / "Data"));
}

TEST_F(InstallLayout, WithoutAUserFolderOrAnyDataTheProgramFolderStands)
{
    // Nothing anywhere: a missing DXInit.dat is reported where it is looked for first.
    Session bare(ui, bin.string());
    EXPECT_EQ(bare.initFilePath(), (bin / "DXInit.dat").string());
    EXPECT_FALSE(RunsInstalled(bin.string()));

    touch(share / "DXInit.dat");
    Session session(ui, bin.string());
    session.findDataDirectory();
    EXPECT_EQ(session.DataDirectory(), folderOf(bin));
}

TEST_F(InstallLayout, AReadOnlyProgramFolderSendsWritesToTheUsersFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into a read-only folder";
    touch(bin / "DXInit.dat"); // a copied build tree, not an installation
    ASSERT_EQ(::chmod(bin.c_str(), 0555), 0);
    EXPECT_FALSE(IsWritableFolder(bin.string()));
    Session session(ui, bin.string());
    session.findDataDirectory(user.string());
    EXPECT_EQ(session.DataDirectory(), folderOf(user));
    ::chmod(bin.c_str(), 0755);
}

} // namespace
} // namespace toneloft
