#include "library/VoiceListView.h"

#include "library/ListEditing.h"
#include "support/SessionFixture.h"

#include <gtest/gtest.h>

namespace toneloft {
namespace {

using View = VoiceListView;

TEST(VoiceListView, BanksAndClamping)
{
    EXPECT_EQ(View::clampBank(0, 96), 1);
    EXPECT_EQ(View::clampBank(3, 0), 1);
    EXPECT_EQ(View::bankLabel(1, 0), "File is empty");
}

struct CaptionCase {
    const char* file;
    long voices;
    const char* caption;
};

class VoiceListCaption : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(VoiceListCaption, CountWithBlankAndPlural)
{
    EXPECT_EQ(View::caption(GetParam().file, GetParam().voices), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(Counts, VoiceListCaption,
                         ::testing::Values(CaptionCase{"ROM1A.SYX", 33, "ROM1A [ 33 patches ]"},
                                           CaptionCase{"one.dat", 1, "one [ 1 patch ]"},
                                           CaptionCase{"two.dat", 2, "two [ 2 patches ]"},
                                           CaptionCase{"my.bank.syx", 32, "my.bank [ 32 patches ]"},
                                           CaptionCase{"my.bank.syx", 0, "my"},
                                           CaptionCase{"noext", 5, "noext [ 5 patches ]"}));

TEST(VoiceListView, VoiceUnderPoint)
{
    // Items 10 high, list 200 wide: column 2 starts at x = 100.
    EXPECT_EQ(View::GetVoiceNo(5, 0, 10, 200, 1, 64), 1);
    EXPECT_EQ(View::GetVoiceNo(99, 159, 10, 200, 1, 64), 16);
    EXPECT_EQ(View::GetVoiceNo(100, 0, 10, 200, 1, 64), 17);
    EXPECT_EQ(View::GetVoiceNo(150, 25, 10, 200, 2, 64), 51);
    EXPECT_EQ(View::GetVoiceNo(5, 0, 10, 200, 2, 33), 33);
    EXPECT_EQ(View::GetVoiceNo(5, 10, 10, 200, 2, 33), 0);  // below the last voice
    EXPECT_EQ(View::GetVoiceNo(5, 170, 10, 200, 1, 64), 0); // below row 16
    EXPECT_EQ(View::GetVoiceNo(5, 5, 0, 200, 1, 64), 0);    // no item height yet
    EXPECT_EQ(View::GetVoiceNumber(View::kPageDown, 3, 4), 69);
    EXPECT_EQ(View::GetVoiceNumber(13, 3, 4), 5);
}

TEST(VoiceListView, ReleaseRenamesOnlyASecondPlainLeftClick)
{
    EXPECT_TRUE(View::releaseMayRename(4, 4, 1, true, false, false));
    EXPECT_TRUE(View::releaseMayRename(4, 9, 3, true, false, false));
    EXPECT_FALSE(View::releaseMayRename(4, 9, 1, true, false, false)); // first click on it
    EXPECT_FALSE(View::releaseMayRename(4, 4, 1, false, false, false)); // right button
    EXPECT_FALSE(View::releaseMayRename(4, 4, 1, true, true, false));
    EXPECT_FALSE(View::releaseMayRename(4, 4, 1, true, false, true));
    EXPECT_FALSE(View::releaseMayRename(0, 0, 0, true, false, false));
}

struct KeyCase {
    int key;
    long bank;
    long voices;
    long expected;
};

class PagingKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(PagingKeys, MoveTheBankAndAreConsumed)
{
    const auto r = View::pagingKey(GetParam().key, GetParam().bank, GetParam().voices);
    EXPECT_EQ(r.bank, GetParam().expected);
    EXPECT_TRUE(r.consumed);
}

INSTANTIATE_TEST_SUITE_P(Keys, PagingKeys,
                         ::testing::Values(KeyCase{View::kPageDown, 1, 96, 2}, KeyCase{View::kPageDown, 3, 96, 3},
                                           KeyCase{View::kPageUp, 1, 96, 1}, KeyCase{View::kPageUp, 3, 96, 2},
                                           KeyCase{View::kEnd, 1, 96, 3}, KeyCase{View::kHome, 3, 96, 1},
                                           KeyCase{View::kLeft, 2, 96, 2}, KeyCase{View::kDown, 2, 96, 2},
                                           KeyCase{View::kPageDown, 1, 0, 1}));

TEST(PagingKeys, OtherKeysPassThrough)
{
    EXPECT_FALSE(View::pagingKey(65, 2, 96).consumed);
    EXPECT_FALSE(View::pagingKey(13, 2, 96).consumed);
}

TEST(VoiceListView, PropertiesSizeByLayout)
{
    EXPECT_EQ(View::byteSize(0, 33), 155 * 33);
    EXPECT_EQ(View::byteSize(1, 33), 163 * 33);
    EXPECT_EQ(View::byteSize(2, 33), 128 * 33);
    EXPECT_EQ(View::byteSize(3, 33), 128 * 33 + 16);
    EXPECT_EQ(View::byteSize(3, 32), 4104);
    EXPECT_EQ(View::layoutText(3), "Data is packed.Banks have sysex headers");
}

using VoiceListPage = test::SessionFixture;

TEST_F(VoiceListPage, ThirtyThreeVoicesShowTwoBanks)
{
    auto list = openNew("big.dat", 0, 33);
    ASSERT_TRUE(list);
    long bank = 5;
    VoiceListViewState view;
    const auto page = View::UpdateListBox(*list, view, bank);
    EXPECT_EQ(bank, 2);
    EXPECT_EQ(view.bank, 2);
    EXPECT_EQ(page.banks, 2);
    EXPECT_TRUE(page.scrollEnabled);
    EXPECT_EQ(page.label, "Bank 2 of 2");
    EXPECT_EQ(page.caption, "big [ 33 patches ]");
    ASSERT_EQ(page.names.size(), 1u);
    EXPECT_EQ(page.names[0], "VOICE33   ");

    long one = 1;
    View::UpdateListBox(*list, view, one);
    EXPECT_EQ(view.bank, 1);

    const auto props = View::properties(*list);
    EXPECT_EQ(props.size, "5,115 bytes");
    EXPECT_EQ(props.patches, "33");
    EXPECT_EQ(props.banks, "2");
}

TEST_F(VoiceListPage, SelectionIsDrawnFromTheTrackerAndEnablesCommands)
{
    auto list = openNew("sel.dat", 2, 40);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->tracker.count(), 40);
    EXPECT_FALSE(View::SetMenuAndToolbar(session, *list, true).cutCopyDelete);
    list->tracker.add(31, 34);
    long bank = 1;
    VoiceListViewState view;
    auto page = View::UpdateListBox(*list, view, bank);
    EXPECT_TRUE(page.anySelected);
    ASSERT_EQ(page.selected.size(), 32u);
    EXPECT_TRUE(page.selected[30]);
    EXPECT_FALSE(page.selected[29]);
    bank = 2;
    page = View::UpdateListBox(*list, view, bank);
    ASSERT_EQ(page.selected.size(), 8u);
    EXPECT_TRUE(page.selected[1]);
    EXPECT_FALSE(page.selected[2]);

    auto c = View::SetMenuAndToolbar(session, *list, true);
    EXPECT_TRUE(c.cutCopyDelete);
    EXPECT_FALSE(c.paste);
    ListEditing::EditCopy(*list);
    c = View::SetMenuAndToolbar(session, *list, true);
    EXPECT_TRUE(c.paste);
    c = View::SetMenuAndToolbar(session, *list, false);
    EXPECT_FALSE(c.paste || c.cutCopyDelete || c.always);
}

TEST_F(VoiceListPage, InitListMarksAResultRangeAndTellsObservers)
{
    struct Watcher : SessionObserver {
        int calls = 0;
        void selectionChanged(VoiceList&) override { ++calls; }
    } watcher;
    session.addObserver(&watcher);
    auto list = openNew("r.dat", 0, 70);
    ASSERT_TRUE(list);
    list->tracker.add(1, 0);
    VoiceListViewState view;
    View::InitList(*list, view, 9, true, 40, 45);
    EXPECT_EQ(list->tracker.selected(), (std::vector<long>{40, 41, 42, 43, 44, 45}));
    EXPECT_EQ(view.bank, 3);
    EXPECT_EQ(watcher.calls, 1);
    session.removeObserver(&watcher);
}

TEST_F(VoiceListPage, OneBankDisablesTheScrollBar)
{
    auto list = openNew("one.dat", 1, 1);
    ASSERT_TRUE(list);
    long bank = 1;
    VoiceListViewState view;
    EXPECT_FALSE(View::UpdateListBox(*list, view, bank).scrollEnabled);
}

} // namespace
} // namespace toneloft
