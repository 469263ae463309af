#include "library/DuplicateSearch.h"

#include "common/Banks.h"
#include "common/Crc32.h"
#include "support/Corpus.h"
#include "support/SessionFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace toneloft {
namespace {

using Rule = DuplicateSearch::Rule;
using Range = DuplicateSearch::Range;
using Method = DuplicateSearch::Method;
using Choice = SearchProgress::ContinueChoice;

// A progress double: records every status, presses Cancel when told, and
// answers the continue dialog from a queue (Continue when empty).
class RecordingProgress : public SearchProgress {
public:
    void open() override { isShown = true; ++opened; }
    void close() override { isShown = false; ++closed; }
    bool shown() const override { return isShown; }
    void SearchStatus(const DuplicateStatus& s) override { statuses.push_back(s); }
    bool takeCancelRequest() override
    {
        const bool c = cancelAfter > 0 && static_cast<long>(statuses.size()) >= cancelAfter;
        if (c)
            cancelAfter = 0;
        return c;
    }
    Choice continueSearch() override
    {
        ++continueAsked;
        if (choices.empty())
            return Choice::Continue;
        const Choice c = choices.front();
        choices.erase(choices.begin());
        return c;
    }
    bool isShown = false;
    int opened = 0;
    int closed = 0;
    int continueAsked = 0;
    long cancelAfter = 0;
    std::vector<Choice> choices;
    std::vector<DuplicateStatus> statuses;
};

// A voice of given name whose data differs by seed.
struct V {
    std::string name;
    int seed;
};

class DuplicateSearchTest : public test::SessionFixture {
protected:
    std::shared_ptr<VoiceList> openVoices(const std::vector<V>& voices, const std::string& file = "d.dat")
    {
        ByteString image;
        for (const V& v : voices)
            image += test::makeVoice(v.name, v.seed);
        return open(dir.write(file, image));
    }
    DuplicateSearch::Result search(VoiceList& list, Rule rule, bool autoDelete, Range range = Range::AllVoices,
                                   VoiceListViewState* view = nullptr)
    {
        DuplicateSearch::Options o;
        o.rule = rule;
        o.autoDelete = autoDelete;
        o.range = range;
        o.view = view;
        return DuplicateSearch::SearchDuplicates(list, o, progress);
    }
    std::vector<std::string> names(VoiceList& list)
    {
        std::vector<std::string> out;
        for (long v = 1; v <= list.voiceCount(); ++v)
            out.push_back(nameAt(list, v));
        return out;
    }
    RecordingProgress progress;
};

// The Part's comparison rules on pairs of voices: (first, second, rule, duplicate?).
struct PairCase {
    const char* what;
    V first;
    V second;
    Rule rule;
    bool duplicate;
};

class DuplicatePairTest : public DuplicateSearchTest, public ::testing::WithParamInterface<PairCase> {};

TEST_P(DuplicatePairTest, RuleDecides)
{
    const PairCase& c = GetParam();
    auto list = openVoices({c.first, c.second});
    ASSERT_TRUE(list);
    const auto r = search(*list, c.rule, true);
    EXPECT_EQ(r.found, c.duplicate ? 1 : 0) << c.what;
    EXPECT_EQ(list->voiceCount(), c.duplicate ? 1 : 2) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DuplicatePairTest,
    ::testing::Values(
        PairCase{"same data, other name, rule 3", {"PIANO", 7}, {"E.PIANO", 7}, Rule::CrcExName, true},
        PairCase{"same data, other name, rule 2", {"PIANO", 7}, {"E.PIANO", 7}, Rule::CrcAll, false},
        PairCase{"same name, other data, rule 0", {"BASS", 1}, {"BASS", 2}, Rule::NamesOnly, true},
        PairCase{"same name, other data, rule 1", {"BASS", 1}, {"BASS", 2}, Rule::Checksum, false},
        PairCase{"same name, other data, rule 2", {"BASS", 1}, {"BASS", 2}, Rule::CrcAll, false},
        PairCase{"same name, other data, rule 3", {"BASS", 1}, {"BASS", 2}, Rule::CrcExName, false},
        PairCase{"name case and trailing blanks", {"Brass", 3}, {"BRASS", 4}, Rule::NamesOnly, true},
        PairCase{"identical voices, rule 1", {"STRINGS", 5}, {"STRINGS", 5}, Rule::Checksum, true}),
    [](const auto& param) { return "case" + std::to_string(param.index); });

TEST_F(DuplicateSearchTest, Rule1EqualChecksumDifferentNamesIsNoDuplicate)
{
    // "AB" and "BA" sum to the same 7-bit checksum with the same data.
    auto list = openVoices({{"AB", 9}, {"BA", 9}});
    ASSERT_TRUE(list);
    const ByteString a = test::makeVoice("AB", 9);
    const ByteString b = test::makeVoice("BA", 9);
    ASSERT_EQ(SysexChecksum(std::string_view(a)), SysexChecksum(std::string_view(b)));
    const auto r = search(*list, Rule::Checksum, true);
    EXPECT_EQ(r.found, 0);
    EXPECT_EQ(ui.lastBox().title, "No Duplicates Found");
    EXPECT_EQ(ui.lastBox().text, "Search complete - no duplicates found d.dat");
}

TEST_F(DuplicateSearchTest, AutomaticDeletionAsksNothingAndSavesDelFile)
{
    auto list = openVoices({{"A", 1}, {"B", 2}, {"A", 1}, {"A", 1}, {"B", 2}, {"C", 3}});
    ASSERT_TRUE(list);
    const auto r = search(*list, Rule::CrcAll, true);
    EXPECT_EQ(r.found, 3);
    EXPECT_EQ(r.deleted, 3);
    EXPECT_EQ(r.marked, (std::vector<long>{3, 4, 5}));
    EXPECT_EQ(names(*list), (std::vector<std::string>{"A         ", "B         ", "C         "}));
    // No question during the search: the only box is the final one.
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "Duplicates Found/Deleted");
    EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_NE(ui.boxes[0].text.find("3 patches were removed from d.dat"), std::string::npos);
    EXPECT_EQ(progress.continueAsked, 0);
    // Yes: the removed voices as a new file beside the list, opened as a list.
    ASSERT_FALSE(r.removedFile.empty());
    EXPECT_EQ(std::filesystem::path(r.removedFile).filename().string(), "Del d 1.dat");
    EXPECT_EQ(test::TempDir::read(r.removedFile),
              test::makeVoice("A", 1) + test::makeVoice("A", 1) + test::makeVoice("B", 2));
    EXPECT_EQ(session.colVoiceLists().count(), 2);
    EXPECT_TRUE(ui.sawStatus("Please Wait - Backing up d.dat database.  "));
    EXPECT_TRUE(ui.sawStatus("Please wait - calculating CRC values  "));
    EXPECT_TRUE(ui.sawStatus("Please Wait - Deleting duplicate patches.  "));
    EXPECT_EQ(progress.opened, 1);
    EXPECT_EQ(progress.closed, 1);
}

TEST_F(DuplicateSearchTest, DuplicateReportedOnceAndQuestionTexts)
{
    auto list = openVoices({{"A", 1}, {"A", 1}, {"A", 1}, {"X", 2}, {"X", 2}});
    ASSERT_TRUE(list);
    ui.answers = {MsgResult::Yes, MsgResult::Yes, MsgResult::No};
    const auto r = search(*list, Rule::CrcAll, false);
    // Voice 1 finds 2 and 3; they are marked and not searched for themselves.
    ASSERT_GE(ui.boxes.size(), 3u);
    EXPECT_EQ(ui.boxes[0].title, "Matching patches found");
    EXPECT_EQ(ui.boxes[0].text,
              "2 matches forA were found with identical CRC values. \r\n\r\nOK to delete the matching patches ?");
    EXPECT_EQ(ui.boxes[1].title, "Matching patch found");
    EXPECT_EQ(ui.boxes[1].text,
              "1 match forX was found with  an identical CRC value. \r\n\r\nOK to delete the matching patch ?");
    EXPECT_EQ(r.found, 3);
    EXPECT_EQ(r.deleted, 3);
    EXPECT_EQ(progress.continueAsked, 2);
    EXPECT_EQ(ui.boxes[2].title, "Duplicates Found/Deleted");
    EXPECT_TRUE(r.removedFile.empty()); // answered No: the voices stay out, unsaved
    EXPECT_EQ(list->voiceCount(), 2);
}

TEST_F(DuplicateSearchTest, NoAnswersFindTheSameVoicesAgain)
{
    auto list = openVoices({{"A", 1}, {"A", 1}});
    ASSERT_TRUE(list);
    ui.answers = {MsgResult::No, MsgResult::No};
    const auto r = search(*list, Rule::NamesOnly, false);
    EXPECT_EQ(r.found, 2);
    EXPECT_EQ(r.deleted, 0);
    EXPECT_EQ(ui.boxes[0].text, "1 match forA was found \r\n\r\nOK to delete the matching patch ?");
    EXPECT_EQ(ui.lastBox().text, "Search complete - 2 duplicates  found.\r\n\r\nNo patches were deleted.");
    EXPECT_EQ(list->voiceCount(), 2);
}

TEST_F(DuplicateSearchTest, ChecksumQuestionAndCancelEndsTheSearch)
{
    auto list = openVoices({{"A", 1}, {"A", 1}, {"B", 2}, {"B", 2}});
    ASSERT_TRUE(list);
    ui.answers = {MsgResult::Cancel};
    const auto r = search(*list, Rule::Checksum, false);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(ui.boxes[0].text,
              "1 match forA was found with an identical checksum. \r\n\r\nOK to delete the matching patch ?");
    EXPECT_EQ(r.found, 1);
    EXPECT_EQ(list->voiceCount(), 4);
    EXPECT_EQ(progress.continueAsked, 0);
}

TEST_F(DuplicateSearchTest, ContinueDialogStopsOrRunsToTheEnd)
{
    const std::vector<V> voices{{"A", 1}, {"A", 1}, {"B", 2}, {"B", 2}, {"C", 3}, {"C", 3}};
    {
        auto list = openVoices(voices, "stop.dat");
        progress.choices = {Choice::Stop};
        const auto r = search(*list, Rule::CrcAll, false);
        EXPECT_TRUE(r.stopped);
        EXPECT_EQ(r.deleted, 1); // the Yes before the stop still counts
        EXPECT_EQ(list->voiceCount(), 5);
    }
    progress = RecordingProgress{};
    {
        auto list = openVoices(voices, "end.dat");
        progress.choices = {Choice::ContinueToEnd};
        const auto r = search(*list, Rule::CrcAll, false);
        EXPECT_FALSE(r.stopped);
        EXPECT_EQ(progress.continueAsked, 1);
        EXPECT_EQ(r.deleted, 3);
    }
}

TEST_F(DuplicateSearchTest, CancelInProgressWindowAsksAndStops)
{
    std::vector<V> voices;
    for (int i = 0; i < 600; ++i)
        voices.push_back({"V" + std::to_string(i % 300), i % 300});
    auto list = openVoices(voices);
    ASSERT_TRUE(list);
    progress.cancelAfter = 1;
    ui.answers = {MsgResult::Yes, MsgResult::No};
    const auto r = search(*list, Rule::CrcAll, true);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(ui.boxes[0].text, "Are you sure you want to stop this search ?");
    EXPECT_EQ(ui.boxes[0].title, "Search Interrupted");
    // Stopped after the first event turn of 256 voices: their 256 duplicates are marked.
    EXPECT_EQ(r.deleted, 256);
    EXPECT_EQ(progress.statuses.back().currentVoice, 256);
    EXPECT_EQ(progress.statuses.back().remaining, 600 - 256);
    EXPECT_EQ(progress.statuses.back().totalAtStart, 600);
    EXPECT_EQ(progress.statuses.back().totalNow, 600 - 256);
}

TEST_F(DuplicateSearchTest, SelectionRangeAndSingleVoiceTexts)
{
    auto list = openVoices({{"A", 1}, {"B", 2}, {"A", 1}, {"C", 3}});
    ASSERT_TRUE(list);
    // Nothing selected: refused before any work.
    auto r = search(*list, Rule::CrcAll, true, Range::Selection);
    EXPECT_FALSE(r.searched);
    EXPECT_EQ(ui.lastBox().text, "Please select a voice in d.dat to use in this search");
    EXPECT_EQ(ui.lastBox().title, "No Selection");
    EXPECT_EQ(ui.lastBox().icon, MsgIcon::Exclamation);
    EXPECT_EQ(progress.opened, 0);

    list->tracker.add(2, 0);
    r = search(*list, Rule::CrcAll, true, Range::Selection);
    EXPECT_EQ(ui.lastBox().text, "No duplicates of B were found.");
    EXPECT_EQ(ui.lastBox().title, "Search Result");

    // Voice 3 selected alone: the earlier voice 1 is its duplicate and goes.
    list->tracker.reset(3, list->voiceCount());
    ui.answers = {MsgResult::No};
    r = search(*list, Rule::CrcAll, true, Range::Selection);
    EXPECT_EQ(r.marked, std::vector<long>{1});
    EXPECT_EQ(names(*list), (std::vector<std::string>{"B         ", "A         ", "C         "}));
}

TEST_F(DuplicateSearchTest, BankRangeSearchesTheBankOnScreenAgainstTheWholeList)
{
    std::vector<V> voices;
    for (int i = 1; i <= 64; ++i)
        voices.push_back({"V" + std::to_string(i), i});
    voices[40] = {"V5", 5};  // voice 41 in bank 2 copies voice 5 of bank 1
    voices[10] = {"V50", 50}; // voice 11 in bank 1 copies voice 50 of bank 2
    auto list = openVoices(voices);
    ASSERT_TRUE(list);
    VoiceListViewState view;
    view.bank = 2;
    auto r = search(*list, Rule::CrcAll, true, Range::Bank, &view);
    // Bank 2's voice 41 marks the earlier voice 5; bank 2's voice 50 marks voice 11.
    EXPECT_EQ(r.marked, (std::vector<long>{5, 11}));
}

TEST_F(DuplicateSearchTest, SortFirstSortsTheWholeList)
{
    auto list = openVoices({{"ZED", 1}, {"ALPHA", 2}, {"ZED", 1}});
    ASSERT_TRUE(list);
    DuplicateSearch::Options o;
    o.rule = Rule::NamesOnly;
    o.autoDelete = true;
    o.sortFirst = true;
    DuplicateSearch::SearchDuplicates(*list, o, progress);
    EXPECT_EQ(names(*list), (std::vector<std::string>{"ALPHA     ", "ZED       "}));
}

TEST_F(DuplicateSearchTest, RemovedFileNamesCountUp)
{
    dir.write("Del bank 1.dat", "x");
    EXPECT_EQ(std::filesystem::path(DuplicateSearch::removedFileName(dir.folder(), "bank.syx")).filename(),
              "Del bank 2.dat");
}

// Every real file, every rule and range: the indexed search marks what the
// filter search marks.
class DuplicateMethodsAgree : public DuplicateSearchTest, public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(DuplicateMethodsAgree, OnEveryCorpusFile)
{
    TONELOFT_REQUIRE_CORPUS();
    const auto rule = static_cast<Rule>(std::get<0>(GetParam()));
    const auto range = static_cast<Range>(std::get<1>(GetParam()));
    int files = 0;
    std::size_t totalMarked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::corpusDir())) {
        const std::string path = entry.path().string();
        std::string name = path;
        int type = -1;
        if (CheckFileIntegrity(ui, name, type, true, {}) != 0)
            continue;
        auto list = open(path);
        if (!list || list->voiceCount() == 0)
            continue;
        ++files;
        // A selection of every third voice, and the last bank.
        for (long v = 1; v <= list->voiceCount(); v += 3)
            list->tracker.add(v, 0);
        const auto voices = DuplicateSearch::rangeVoices(*list, range, BankCount(list->voiceCount()));
        std::map<Method, DuplicateSearch::Marks> results;
        for (Method m : {Method::Indexed, Method::FilterPerVoice}) {
            for (bool autoDelete : {true, false}) {
                DuplicateSearch::Options o;
                o.rule = rule;
                o.autoDelete = autoDelete;
                o.method = m;
                RecordingProgress p;
                ui.answers.clear(); // every question answered Yes
                const auto marks = DuplicateSearch::markDuplicates(session, list->rsmfimage(), voices, o, p);
                if (autoDelete)
                    results[m] = marks;
                else
                    EXPECT_EQ(marks.marked, results[Method::Indexed].marked) << path << " asked";
            }
        }
        EXPECT_EQ(results[Method::Indexed].marked, results[Method::FilterPerVoice].marked) << path;
        totalMarked += results[Method::Indexed].marked.size();
        EXPECT_EQ(results[Method::Indexed].found, results[Method::FilterPerVoice].found) << path;
        // The marks are in the table too.
        auto rows = list->rsmfimage().clone();
        long marked = 0;
        for (rows->moveFirst(); !rows->eof(); rows->moveNext())
            marked += rows->boolean(clsVoiceNames::kDelSelected) ? 1 : 0;
        EXPECT_EQ(marked, static_cast<long>(results[Method::Indexed].marked.size())) << path;
        list->requestClose();
    }
    EXPECT_GT(files, 15);
    // The real files do hold duplicates under every rule, so the comparison is not empty.
    if (range == Range::AllVoices) {
        EXPECT_GT(totalMarked, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(RulesAndRanges, DuplicateMethodsAgree,
                         ::testing::Combine(::testing::Range(0, 4), ::testing::Range(0, 3)),
                         [](const auto& param) {
                             return "rule" + std::to_string(std::get<0>(param.param)) + "_range" +
                                    std::to_string(std::get<1>(param.param));
                         });

} // namespace
} // namespace toneloft
