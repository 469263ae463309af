#include "support/EndedProcess.h"
#include "support/SessionFixture.h"

#include "common/FileReplacing.h"
#include "voice/VoiceFileFormat.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace toneloft {
namespace {

namespace fs = std::filesystem;
using Outcome = clsVoiceNames::SaveOutcome;

// The hidden files our saves leave while they run, in folder.
std::vector<std::string> saveLeftovers(const fs::path& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".toneloft-save-") != std::string::npos)
            found.push_back(entry.path().filename().string());
    return found;
}

using test::pidOfEndedProcess;

fs::perms permsOf(const std::string& path)
{
    return fs::status(path).permissions() & fs::perms::mask;
}

class SafeSave : public test::SessionFixture {
protected:
    // A 32-voice bank list opened from name, with its first voice renamed.
    std::shared_ptr<VoiceList> changedList(const std::string& name)
    {
        auto list = openNew(name, 3, 32);
        if (list) {
            list->rsmfimage().moveFirst();
            list->rsmfimage().setValue("Names", std::string("CHANGED   "));
            session.setActive(list.get(), nullptr);
        }
        return list;
    }
    // File > Save, the dialog answered with the list's own name, the layout kept.
    Outcome save(VoiceList& list, const std::string& folder, const std::string& title)
    {
        ui.fileAnswers.push_back(test::ScriptedUi::chose(folder, {title}));
        ui.formatAnswers.push_back(list.FileType);
        return list.names().SaveList(false, nullptr);
    }
};

TEST_F(SafeSave, AKilledSaveLeavesTheOldFileOrTheNewOneNeverAMix)
{
    // Two contents of different lengths; every kill must leave one of them whole.
    const ByteArray first(300'000, 0x11);
    const ByteArray second(170'000, 0x22);
    const std::string path = dir.file("bank.syx");
    ASSERT_TRUE(WriteFileReplacing(path, first));
    const fs::path notes = dir.path() / "pending";
    SetPendingSaveFolder(notes.string());

    std::mt19937 random(20260612);
    int killedWhileWriting = 0;
    for (int round = 0; round < 200; ++round) {
        // The child says when it starts saving, so that a busy machine, slow to
        // schedule it, does not turn every kill into one before the first save.
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const char go = 1;
            (void)!::write(started[1], &go, 1);
            for (int n = 0;; ++n)
                WriteFileReplacing(path, n % 2 ? first : second);
        }
        ::close(started[1]);
        char go = 0;
        ASSERT_EQ(::read(started[0], &go, 1), 1);
        ::close(started[0]);
        ::usleep(std::uniform_int_distribution<unsigned>(0, 15000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        ByteArray now;
        ASSERT_TRUE(ReadWholeFile(path, now)) << "round " << round;
        ASSERT_TRUE(now == first || now == second) << "round " << round << ": " << now.size() << " bytes";
        if (!saveLeftovers(dir.path()).empty())
            ++killedWhileWriting;
        // The next start cleans up after the killed process, from its notes.
        CleanLeftoverSaves();
        ASSERT_TRUE(saveLeftovers(dir.path()).empty()) << "round " << round;
        ASSERT_TRUE(fs::is_empty(notes)) << "round " << round;
    }
    SetPendingSaveFolder({});
    EXPECT_GT(killedWhileWriting, 0); // some kills did land mid-write
}

TEST_F(SafeSave, LeftoversOfEndedProcessesAreRemovedAndNothingElse)
{
    const std::string dead = std::to_string(pidOfEndedProcess());
    const std::string mine = std::to_string(::getpid());
    const std::string parent = std::to_string(::getppid()); // runs: its save may be going on
    dir.write(".a.syx.toneloft-save-" + dead + "-1", "half");
    dir.write(".a.syx.toneloft-save-" + mine + "-7", "in progress");
    dir.write(".b.syx.toneloft-save-" + parent + "-2", "in progress");
    dir.write("c.syx.toneloft-save-" + dead + "-1", "not hidden: not ours");
    dir.write(".d.syx.toneloft-save-" + dead + "-x", "not ours");
    dir.write(".toneloft-save-" + dead + "-1", "");

    EXPECT_EQ(CleanLeftoverSaves(dir.path().string()), 2);
    EXPECT_FALSE(fs::exists(dir.file(".a.syx.toneloft-save-" + dead + "-1")));
    EXPECT_TRUE(fs::exists(dir.file(".a.syx.toneloft-save-" + mine + "-7")));
    EXPECT_TRUE(fs::exists(dir.file(".b.syx.toneloft-save-" + parent + "-2")));
    EXPECT_TRUE(fs::exists(dir.file("c.syx.toneloft-save-" + dead + "-1")));
    EXPECT_TRUE(fs::exists(dir.file(".d.syx.toneloft-save-" + dead + "-x")));

    // A note never removes a file that is not one of ours.
    const fs::path notes = dir.path() / "notes";
    SetPendingSaveFolder(notes.string());
    const std::string victim = dir.write("precious.syx", "keep");
    dir.write("notes/" + dead + "-3.pending", victim);
    EXPECT_EQ(CleanLeftoverSaves(), 0);
    EXPECT_EQ(test::TempDir::read(victim), "keep");
    EXPECT_TRUE(fs::is_empty(notes));
    SetPendingSaveFolder({});
}

TEST_F(SafeSave, AFullDiskLeavesTheOldFileAndSaysWhy)
{
    auto list = changedList("a.syx");
    ASSERT_TRUE(list);
    const std::string before = test::TempDir::read(dir.file("a.syx"));

    // A file size limit below the bank's 4,104 bytes fails the write part-way,
    // as a full disk does; the signal it raises is ignored for the test.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const Outcome outcome = save(*list, dir.folder(), "a.syx");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(outcome, Outcome::Failed);
    EXPECT_EQ(ui.lastBox().title, "File Access Error");
    EXPECT_EQ(ui.lastBox().text, "Couldn't open " + dir.file("a.syx") + "\r\n\r\nFile too large");
    EXPECT_EQ(test::TempDir::read(dir.file("a.syx")), before);
    EXPECT_TRUE(saveLeftovers(dir.path()).empty());
    EXPECT_TRUE(list->isChanged());
}

TEST_F(SafeSave, AReadOnlyFolderGivesTheMessageAndChangesNothing)
{
    // The save runs in a child that is an ordinary user even when the tests run
    // as root (who may write anywhere).
    auto list = changedList("a.syx");
    ASSERT_TRUE(list);
    const std::string before = test::TempDir::read(dir.file("a.syx"));
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir.file("a.syx"), fs::perms::others_read, fs::perm_options::add);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        const bool told = save(*list, dir.folder(), "a.syx") == Outcome::Failed &&
                          ui.lastBox().title == "File Access Error" &&
                          ui.lastBox().text == "Couldn't open " + dir.file("a.syx") + "\r\n\r\nPermission denied";
        ::_exit(told ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    fs::permissions(dir.path(), fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "cannot become an ordinary user";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save did not fail with the access message";
    EXPECT_EQ(test::TempDir::read(dir.file("a.syx")), before);
    EXPECT_TRUE(saveLeftovers(dir.path()).empty());
}

TEST_F(SafeSave, ThroughALinkTheTargetIsWrittenAndTheLinkStays)
{
    fs::create_directory(dir.path() / "real");
    const std::string target = dir.write("real/bank.syx", test::makeVoiceFile(3, 32));
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/bank.syx", dir.path() / "link.syx");
    fs::create_symlink("link.syx", dir.path() / "link2.syx"); // a chain of links

    auto list = open(dir.file("link2.syx"));
    ASSERT_TRUE(list);
    list->rsmfimage().moveFirst();
    list->rsmfimage().setValue("Names", std::string("VIA LINK  "));
    session.setActive(list.get(), nullptr);
    ASSERT_EQ(save(*list, dir.folder(), "link2.syx"), Outcome::Saved);

    EXPECT_TRUE(fs::is_symlink(dir.path() / "link2.syx"));
    EXPECT_EQ(fs::read_symlink(dir.path() / "link2.syx"), "link.syx");
    EXPECT_EQ(fs::read_symlink(dir.path() / "link.syx"), "real/bank.syx");
    EXPECT_EQ(test::TempDir::read(target).substr(6 + 118, 10), "VIA LINK  ");
    EXPECT_EQ(permsOf(target), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(saveLeftovers(dir.path() / "real").empty());
}

TEST_F(SafeSave, AReadOnlyFileIsReplacedOnlyAfterAsking)
{
    auto list = changedList("a.syx");
    ASSERT_TRUE(list);
    const std::string before = test::TempDir::read(dir.file("a.syx"));
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(dir.file("a.syx"), readOnly);

    ui.answers.push_back(MsgResult::No);
    EXPECT_NE(save(*list, dir.folder(), "a.syx"), Outcome::Saved);
    ASSERT_FALSE(ui.boxes.empty());
    EXPECT_EQ(ui.lastBox().text, "a.syx is read-only.\r\nDo you want to replace it ?");
    EXPECT_EQ(ui.lastBox().title, "Read-Only File");
    EXPECT_EQ(ui.lastBox().buttons, MsgButtons::YesNo);
    EXPECT_EQ(test::TempDir::read(dir.file("a.syx")), before);
    EXPECT_TRUE(list->isChanged());

    ui.answers.push_back(MsgResult::Yes);
    EXPECT_EQ(save(*list, dir.folder(), "a.syx"), Outcome::Saved);
    EXPECT_EQ(test::TempDir::read(dir.file("a.syx")).substr(6 + 118, 10), "CHANGED   ");
    EXPECT_EQ(permsOf(dir.file("a.syx")), readOnly); // still protected
    EXPECT_FALSE(list->isChanged());
}

TEST_F(SafeSave, AWritableFileIsReplacedWithoutAQuestionKeepingItsPermissions)
{
    auto list = changedList("a.syx");
    ASSERT_TRUE(list);
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;
    fs::permissions(dir.file("a.syx"), mode);
    EXPECT_EQ(save(*list, dir.folder(), "a.syx"), Outcome::Saved);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(permsOf(dir.file("a.syx")), mode);
}

} // namespace
} // namespace toneloft
