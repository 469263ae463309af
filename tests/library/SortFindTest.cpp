#include "library/SortFind.h"

#include "support/SessionFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace toneloft {
namespace {

using Direction = SortFind::Direction;

class SortFindTest : public test::SessionFixture {
protected:
    // An unpacked list of these names; each voice's seed is its position.
    std::shared_ptr<VoiceList> openNames(const std::string& file, const std::vector<std::string>& voiceNames)
    {
        ByteString image;
        for (std::size_t i = 0; i < voiceNames.size(); ++i)
            image += test::makeVoice(voiceNames[i], static_cast<int>(i) + 1);
        return open(dir.write(file, image));
    }
    std::vector<std::string> namesAndData(VoiceList& list)
    {
        std::vector<std::string> out;
        auto rows = list.rsmfimage().clone();
        for (rows->moveFirst(); !rows->eof(); rows->moveNext())
            out.push_back(rows->text(clsVoiceNames::kNames) + rows->text(clsVoiceNames::kData));
        return out;
    }
};

TEST_F(SortFindTest, SortIsByNameStableAndIdempotent)
{
    auto list = openNames("s.dat", {"PIANO", "BASS", "piano", "ALPHA", "BASS", "PIANO"});
    ASSERT_TRUE(list);
    const auto before = namesAndData(*list);
    list->tracker.add(4, 0); // ALPHA
    list->tracker.add(6, 0); // the second PIANO
    VoiceListViewState view;
    view.bank = 3;
    SortFind::SortVoiceList(*list, &view);
    const auto after = namesAndData(*list);
    ASSERT_EQ(after.size(), 6u);
    EXPECT_EQ(after[0], before[3]);
    EXPECT_EQ(after[1], before[1]); // the two BASS voices keep their order
    EXPECT_EQ(after[2], before[4]);
    EXPECT_EQ(after[3], before[0]); // equal names ignoring case keep their order
    EXPECT_EQ(after[4], before[2]);
    EXPECT_EQ(after[5], before[5]);
    EXPECT_EQ(list->voiceCount(), 6);
    // The selection follows the voices to their new numbers.
    EXPECT_EQ(list->tracker.selected(), (std::vector<long>{1, 6}));
    EXPECT_EQ(list->tracker.TotalSelections(), 2);
    EXPECT_EQ(view.bank, 1); // the first selected voice's
    EXPECT_TRUE(ui.sawStatus("Please Wait - Sorting s.dat  "));

    SortFind::SortVoiceList(*list);
    EXPECT_EQ(namesAndData(*list), after);
}

TEST_F(SortFindTest, FindAcrossTwoListsCurrentListFirst)
{
    auto first = openNames("a.dat", {"ONE", "TARGET", "TWO"});
    auto second = openNames("b.dat", {"TARGET", "X"});
    ASSERT_TRUE(first && second);
    auto r = SortFind::FindVoice(session, 1, 0, true, false, Direction::Down, "TARGET");
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.list, first.get());
    EXPECT_EQ(r.voice, 2);

    r = SortFind::FindVoice(session, 1, r.voice, true, false, Direction::Down, "TARGET");
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.list, second.get());
    EXPECT_EQ(r.voice, 1);

    r = SortFind::FindVoice(session, 2, 1, true, false, Direction::Up, "target");
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.list, first.get());
    EXPECT_EQ(r.voice, 2);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SortFindTest, CurrentListOnlyAndDownFromTheLastVoiceIsNotFound)
{
    auto first = openNames("a.dat", {"ONE", "TWO"});
    auto second = openNames("b.dat", {"ONE"});
    ASSERT_TRUE(first && second);
    const auto r = SortFind::FindVoice(session, 1, 2, false, false, Direction::Down, "ONE");
    EXPECT_FALSE(r.found);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.lastBox().text, "Search complete \r\nONE not found.");
    EXPECT_EQ(ui.lastBox().title, "Find");
    EXPECT_EQ(ui.lastBox().buttons, MsgButtons::OK);

    EXPECT_TRUE(SortFind::FindVoice(session, 1, 0, false, false, Direction::All, "ONE").found);
    // All goes on after the voice given: past the last, nothing is left in this list.
    EXPECT_FALSE(SortFind::FindVoice(session, 1, 1, false, false, Direction::All, "ONE").found);
    const auto next = SortFind::FindVoice(session, 1, 1, true, false, Direction::All, "ONE");
    EXPECT_TRUE(next.found);
    EXPECT_EQ(next.list, second.get());
    EXPECT_EQ(next.voice, 1);
    EXPECT_FALSE(SortFind::FindVoice(session, 1, 1, false, false, Direction::Up, "ONE").found);
}

TEST_F(SortFindTest, PatternsMatchBlankPaddedNames)
{
    auto list = openNames("p.dat", {"E.PIANO 1", "BASS 2", "SYNBASS"});
    ASSERT_TRUE(list);
    auto r = SortFind::FindVoice(session, 1, 0, false, true, Direction::Down, "*BASS*");
    EXPECT_EQ(r.voice, 2);
    r = SortFind::FindVoice(session, 1, 2, false, true, Direction::Down, "*BASS*");
    EXPECT_EQ(r.voice, 3);
    r = SortFind::FindVoice(session, 1, 0, false, true, Direction::Down, "SYN*");
    EXPECT_EQ(r.voice, 3);
    // Without a trailing * the whole padded name must match.
    EXPECT_FALSE(SortFind::FindVoice(session, 1, 0, false, true, Direction::Down, "SYNBASS").found);
    EXPECT_TRUE(SortFind::FindVoice(session, 1, 0, false, false, Direction::Down, "SYNBASS").found);
}

TEST_F(SortFindTest, EmbeddedWildcardIsRefusedWithItsMessage)
{
    auto list = openNames("w.dat", {"BASS"});
    ASSERT_TRUE(list);
    EXPECT_FALSE(SortFind::FindVoice(session, 1, 0, true, true, Direction::All, "B*SS").found);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.lastBox().title, "Invalid Search String");
    EXPECT_EQ(ui.lastBox().text,
              "The search string B*SS contains invalid pattern search characters.\r\n"
              " The wildcard * character can only be used at the end of a search string or \r\n"
              "together both at the beginning or end of a string (eg BAS* or *AS*).\r\n"
              "Embedded wildcards (eg B*SS) are not allowed.");
    // Without pattern matching the star is an ordinary character.
    EXPECT_FALSE(SortFind::FindVoice(session, 1, 0, false, false, Direction::Down, "B*SS").found);
    EXPECT_EQ(ui.lastBox().title, "Find");
}

TEST_F(SortFindTest, QuoteInTheTextIsSearchedForNotAnError)
{
    auto list = openNames("q.dat", {"ROCK N", "ROLL"});
    ASSERT_TRUE(list);
    EXPECT_FALSE(SortFind::FindVoice(session, 1, 0, false, false, Direction::Down, "ROCK'N").found);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.lastBox().title, "Find");
    EXPECT_TRUE(SortFind::FindVoice(session, 1, 0, false, true, Direction::Down, "ROCK*").found);
}

} // namespace
} // namespace toneloft
