#include "library/PatchGrouping.h"

#include "support/SessionFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace toneloft {
namespace {

class CancelProgress : public SearchProgress {
public:
    bool takeCancelRequest() override { return cancel; }
    void GroupStatus(const toneloft::GroupStatus& s) override { statuses.push_back(s); }
    bool cancel = false;
    std::vector<toneloft::GroupStatus> statuses;
};

class PatchGroupingTest : public test::SessionFixture {
protected:
    std::shared_ptr<VoiceList> openNames(const std::vector<std::string>& voiceNames, const std::string& file = "src.dat")
    {
        ByteString image;
        for (std::size_t i = 0; i < voiceNames.size(); ++i)
            image += test::makeVoice(voiceNames[i], static_cast<int>(i) + 1);
        return open(dir.write(file, image));
    }
    static PatchGrouping::Options groups(std::vector<std::pair<std::string, std::string>> patterns, bool move = false)
    {
        PatchGrouping::Options o;
        for (std::size_t i = 0; i < patterns.size(); ++i)
            o.groups[i] = {true, patterns[i].first, patterns[i].second};
        o.move = move;
        return o;
    }
    // The names in a written file (unpacked, 155 bytes a voice).
    static std::vector<std::string> namesIn(const std::string& path)
    {
        const std::string bytes = test::TempDir::read(path);
        std::vector<std::string> out;
        for (std::size_t at = 0; at + 155 <= bytes.size(); at += 155)
            out.push_back(bytes.substr(at + 145, 10));
        return out;
    }
    CancelProgress progress;
};

struct PatternCase {
    const char* pattern;
    bool valid;
    const char* reasonStart;
};

class PatternRuleTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternRuleTest, WildcardsOnlyAtTheEndOrBothEnds)
{
    const PatternCase& c = GetParam();
    std::string reason;
    EXPECT_EQ(PatchGrouping::patternValid(c.pattern, reason), c.valid) << c.pattern;
    if (!c.valid) {
        EXPECT_EQ(reason.rfind(c.reasonStart, 0), 0u) << reason;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, PatternRuleTest,
    ::testing::Values(PatternCase{"BASS*", true, ""}, PatternCase{"*BASS*", true, ""}, PatternCase{"%PNO%", true, ""},
                      PatternCase{"BASS", true, ""}, PatternCase{"*", true, ""},
                      PatternCase{"B*SS", false, "The wildcard character has been incorrectly used."},
                      PatternCase{"*BASS", false, "The wildcard character has been incorrectly used."},
                      PatternCase{"*B*SS", false, "The wildcard character has been incorrectly used."},
                      PatternCase{"*B*S*", false, "You have entered more than two wildcard characters"}),
    [](const auto& param) { return "case" + std::to_string(param.index); });

TEST_F(PatchGroupingTest, BadPatternRefusedBeforeAnySearch)
{
    auto list = openNames({"BASS 1", "BRASS"});
    ASSERT_TRUE(list);
    bool extend = true;
    const std::size_t statusesBefore = ui.statuses.size();
    const auto r = PatchGrouping::Search(*list, groups({{"BASS*", ""}, {"B*SS", ""}}), progress, extend);
    EXPECT_EQ(r.filesCreated, 0);
    EXPECT_FALSE(extend);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "Search String Invalid");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ui.boxes[0].text.rfind("Error in the following search string : B*SS\r\n\r\n"
                                     "The wildcard character has been incorrectly used.",
                                     0),
              0u);
    EXPECT_NE(ui.boxes[0].text.find("Please correct the search string : "), std::string::npos);
    // Nothing was searched or written.
    EXPECT_EQ(ui.statuses.size(), statusesBefore);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2); // DXInit.dat, src.dat
}

TEST_F(PatchGroupingTest, MissingPatternAndEmptySelectionAreRefused)
{
    auto list = openNames({"BASS 1"});
    bool extend = false;
    auto o = groups({{"", "  "}});
    PatchGrouping::Search(*list, o, progress, extend);
    EXPECT_EQ(ui.lastBox().text, "Please enter a search pattern ");
    EXPECT_EQ(ui.lastBox().title, "No Search Pattern");
    EXPECT_EQ(ui.lastBox().icon, MsgIcon::Information);

    o = groups({{"BASS*", ""}});
    o.selectionOnly = true;
    PatchGrouping::Search(*list, o, progress, extend);
    EXPECT_EQ(ui.lastBox().text, "Please select the voice patches in src.dat you want to use for this search");
    EXPECT_EQ(ui.lastBox().title, "No Voices Selected");
}

TEST_F(PatchGroupingTest, ContainsAgainstPrefixAndTheResultQuestion)
{
    auto list = openNames({"BASS 1", "EL.BASS", "BASSIC", "PIANO", "SYNBASS"});
    ASSERT_TRUE(list);
    bool extend = false;
    ui.answers = {MsgResult::No};
    const auto r = PatchGrouping::Search(*list, groups({{"*BASS*", ""}, {"BASS*", ""}}), progress, extend);
    ASSERT_EQ(r.files.size(), 2u);
    EXPECT_EQ(std::filesystem::path(r.files[0]).filename(), "BASS 1.dat");
    EXPECT_EQ(std::filesystem::path(r.files[1]).filename(), "BASS 2.dat");
    EXPECT_EQ(namesIn(r.files[0]),
              (std::vector<std::string>{"BASS 1    ", "EL.BASS   ", "BASSIC    ", "SYNBASS   "}));
    EXPECT_EQ(namesIn(r.files[1]), (std::vector<std::string>{"BASS 1    ", "BASSIC    "}));
    EXPECT_EQ(list->voiceCount(), 5); // copied
    EXPECT_EQ(ui.lastBox().title, "Extend Search");
    EXPECT_EQ(ui.lastBox().text,
              "Search results: 2 files created. \r\n\r\nWould you like to create some more Patch Groups from src.dat?");
    EXPECT_FALSE(extend);
    // Each file opened as a list of its own.
    EXPECT_EQ(session.colVoiceLists().count(), 3);
    EXPECT_TRUE(ui.sawStatus("Please wait - processing search 2 of 2  "));
}

TEST_F(PatchGroupingTest, MoveGivesAVoiceToTheFirstMatchingGroupOnly)
{
    auto list = openNames({"BASS 1", "PIANO", "BASSOON", "ORGAN"});
    ASSERT_TRUE(list);
    ui.answers = {MsgResult::No}; // keep the moves
    const auto r = PatchGrouping::GroupPatches(*list, groups({{"BASS*", ""}, {"*S*", "ORG*"}}, true), progress);
    ASSERT_EQ(r.files.size(), 2u);
    EXPECT_EQ(namesIn(r.files[0]), (std::vector<std::string>{"BASS 1    ", "BASSOON   "}));
    EXPECT_EQ(namesIn(r.files[1]), (std::vector<std::string>{"ORGAN     "}));
    EXPECT_EQ(std::filesystem::path(r.files[1]).filename(), "S and ORG 2.dat");
    EXPECT_EQ(list->voiceCount(), 1);
    EXPECT_EQ(ui.lastBox().title, "Restore Deletions");
    EXPECT_EQ(ui.lastBox().text,
              " Search Complete - would you like to restore the deletions you have made from src.dat?");
}

TEST_F(PatchGroupingTest, RestoreAfterMovePutsTheVoicesBack)
{
    auto list = openNames({"BASS 1", "PIANO"});
    ui.answers = {MsgResult::Yes};
    const auto r = PatchGrouping::GroupPatches(*list, groups({{"BASS*", ""}}, true), progress);
    EXPECT_TRUE(r.restored);
    EXPECT_EQ(list->voiceCount(), 2);
    EXPECT_EQ(nameAt(*list, 1), "BASS 1    ");
}

TEST_F(PatchGroupingTest, NoMatchesAndSelectionOnly)
{
    auto list = openNames({"BASS 1", "BASS 2", "PIANO"});
    bool extend = false;
    PatchGrouping::Search(*list, groups({{"ORGAN*", ""}}), progress, extend);
    EXPECT_EQ(ui.lastBox().text.rfind("No matches were found. \r\n\r\n", 0), 0u);

    list->tracker.add(2, 3);
    auto o = groups({{"BASS*", ""}});
    o.selectionOnly = true;
    const auto r = PatchGrouping::Search(*list, o, progress, extend);
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(namesIn(r.files[0]), std::vector<std::string>{"BASS 2    "});
}

TEST_F(PatchGroupingTest, ExistingFileAsksForAnotherName)
{
    auto list = openNames({"BASS 1"});
    dir.write("BASS 1.dat", "old");
    // An alternative name first; then the same name again, overwrite confirmed.
    ui.inputAnswers = {std::string("MyBass.dat")};
    auto r = PatchGrouping::GroupPatches(*list, groups({{"BASS*", ""}}), progress);
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(std::filesystem::path(r.files[0]).filename(), "MyBass.dat");
    EXPECT_EQ(ui.inputPrompts.at(0), "The file BASS 1.dat already exists.\r\n\r\n"
                                     "Please enter an alternative name or press OK to overwrite this file");
    EXPECT_EQ(test::TempDir::read(dir.file("BASS 1.dat")), "old");

    ui.inputAnswers = {std::string("BASS 1.dat")};
    ui.answers = {MsgResult::Yes};
    r = PatchGrouping::GroupPatches(*list, groups({{"BASS*", ""}}), progress);
    EXPECT_EQ(ui.boxes.at(0).text, "Are you sure you want to overwrite BASS 1.dat?");
    EXPECT_EQ(ui.boxes.at(0).title, "Overwrite existing file");
    EXPECT_EQ(namesIn(dir.file("BASS 1.dat")), std::vector<std::string>{"BASS 1    "});

    // Cancel in the input box: no file for that group.
    ui.inputAnswers = {std::nullopt};
    r = PatchGrouping::GroupPatches(*list, groups({{"BASS*", ""}}), progress);
    EXPECT_EQ(r.filesCreated, 0);
}

TEST_F(PatchGroupingTest, FileTitlesFromPatterns)
{
    using G = PatchGrouping::Group;
    EXPECT_EQ(PatchGrouping::groupFileTitle(G{true, "*BASS*", ""}, 1), "BASS 1.dat");
    EXPECT_EQ(PatchGrouping::groupFileTitle(G{true, "*", "**"}, 3), "Unknown 3.dat");
    EXPECT_EQ(PatchGrouping::groupFileTitle(G{true, "P_N\x01\xC8O*", ""}, 6), "PNO 6.dat");
    EXPECT_EQ(PatchGrouping::groupCondition(G{true, "A*", "B*"}), "(Names LIKE 'A*' OR Names LIKE 'B*')");
    EXPECT_EQ(PatchGrouping::groupCondition(G{true, "", "B*"}), "Names LIKE 'B*'");
    EXPECT_EQ(PatchGrouping::groupCondition(G{true, "", ""}), "NO PATTERN");
}

TEST_F(PatchGroupingTest, CancelConfirmedStopsAfterTheCurrentGroup)
{
    auto list = openNames({"BASS 1", "PIANO"});
    progress.cancel = true;
    ui.answers = {MsgResult::Yes};
    const auto r = PatchGrouping::GroupPatches(*list, groups({{"BASS*", ""}, {"PIANO*", ""}}), progress);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.filesCreated, 1);
    EXPECT_EQ(ui.boxes.at(0).text, "Are You sure you want to stop this search ?");
    EXPECT_EQ(ui.boxes.at(0).title, "Search Interrupted");
}

} // namespace
} // namespace toneloft
