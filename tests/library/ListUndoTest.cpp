#include "library/DragData.h"
#include "library/ListEditing.h"
#include "library/SortFind.h"
#include "support/SessionFixture.h"
#include "voice/VoiceListHistory.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace toneloft {
namespace {

// Two saved lists: "a" (40 unpacked voices, names in reverse order so that a
// sort moves them) and "b" (5 voices).
class ListUndoTest : public test::SessionFixture {
public:
    void SetUp() override
    {
        ByteString image;
        for (int i = 40; i >= 1; --i)
            image += test::makeVoice("A" + std::to_string(100 + i), i);
        a = open(dir.write("a.dat", image));
        b = openNew("b.dat", 0, 5);
        ASSERT_TRUE(a && b);
        a->mark = a->imageCrc(); // as saved
        b->mark = b->imageCrc();
    }
    void select(VoiceList& list, std::vector<long> voices)
    {
        list.tracker.reset(0, list.voiceCount());
        for (long v : voices)
            list.tracker.add(v, v);
    }
    std::string dragOf(VoiceList& list, std::vector<long> voices)
    {
        select(list, voices);
        return DragData::fromSelection(list).text();
    }

    std::shared_ptr<VoiceList> a;
    std::shared_ptr<VoiceList> b;
    VoiceListViewState viewA; // the lists' windows
    VoiceListViewState viewB;
};

struct Edit {
    const char* name;
    // Makes the edit; both lists may change.
    std::function<void(ListUndoTest&, VoiceList& a, VoiceList& b)> apply;
    const char* label; // of the step in a's history
};

class ListUndoEdits : public ListUndoTest, public ::testing::WithParamInterface<Edit> {};

// Every edit comes back byte for byte with Undo, and again with Redo; undone
// to the saved state the list is unchanged again.
TEST_P(ListUndoEdits, UndoRestoresBytesAndRedoRepeats)
{
    const ByteArray before = a->image();
    const ByteArray beforeB = b->image();
    ASSERT_FALSE(a->isChanged());
    GetParam().apply(*this, *a, *b);
    const ByteArray after = a->image();
    ASSERT_NE(after, before);
    EXPECT_TRUE(a->isChanged());
    ASSERT_TRUE(a->history.canUndo(*a));
    EXPECT_EQ(a->history.undoSteps(), 1u);
    EXPECT_EQ(a->history.undoLabel(), GetParam().label);

    EXPECT_TRUE(a->history.undo(*a));
    EXPECT_EQ(a->image(), before);
    EXPECT_EQ(a->voiceCount(), 40);
    EXPECT_FALSE(a->isChanged());
    EXPECT_FALSE(a->history.canUndo(*a));
    ASSERT_TRUE(a->history.canRedo(*a));

    EXPECT_TRUE(a->history.redo(*a));
    EXPECT_EQ(a->image(), after);
    EXPECT_TRUE(a->isChanged());
    EXPECT_TRUE(a->history.undo(*a));
    EXPECT_EQ(a->image(), before);
    // The other list keeps its own history: undoing there is a step of its own.
    if (b->history.canUndo(*b)) {
        EXPECT_TRUE(b->history.undo(*b));
        EXPECT_EQ(b->image(), beforeB);
        EXPECT_FALSE(b->isChanged());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ListUndoEdits,
    ::testing::Values(
        Edit{"Delete", [](ListUndoTest& fx, VoiceList& a, VoiceList&) {
                 fx.select(a, {1, 7, 33, 40});
                 EXPECT_TRUE(ListEditing::EditDelete(a));
             }, "Delete"},
        Edit{"DeleteAll", [](ListUndoTest& fx, VoiceList& a, VoiceList&) {
                 a.tracker.add(1, 40);
                 (void)fx;
                 EXPECT_TRUE(ListEditing::EditDelete(a));
                 EXPECT_EQ(a.voiceCount(), 0);
             }, "Delete"},
        Edit{"Cut", [](ListUndoTest& fx, VoiceList& a, VoiceList&) {
                 fx.select(a, {2, 3});
                 EXPECT_TRUE(ListEditing::EditCut(a));
             }, "Cut"},
        Edit{"PasteFromOtherList", [](ListUndoTest& fx, VoiceList& a, VoiceList& b) {
                 fx.select(b, {1, 2, 3});
                 EXPECT_TRUE(ListEditing::EditCopy(b));
                 fx.viewA.currentVoice = 5;
                 EXPECT_TRUE(ListEditing::EditPaste(a, fx.viewA));
             }, "Paste"},
        Edit{"Sort", [](ListUndoTest&, VoiceList& a, VoiceList&) { SortFind::SortVoiceList(a); }, "Sort"},
        Edit{"Rename", [](ListUndoTest&, VoiceList& a, VoiceList&) {
                 EXPECT_TRUE(ListEditing::renameVoice(a, 12, "NEW NAME"));
             }, "Rename"},
        Edit{"DragMoveWithinList", [](ListUndoTest& fx, VoiceList& a, VoiceList&) {
                 const std::string drag = fx.dragOf(a, {2, 3});
                 EXPECT_TRUE(ListEditing::dropVoices(a, fx.viewA, 10, drag, false));
             }, "Move"},
        Edit{"DragMoveToOtherList", [](ListUndoTest& fx, VoiceList& a, VoiceList& b) {
                 const std::string drag = fx.dragOf(a, {4, 35});
                 EXPECT_TRUE(ListEditing::dropVoices(b, fx.viewB, 2, drag, false));
                 EXPECT_EQ(b.voiceCount(), 7);
             }, "Move"},
        Edit{"DragCopyFromOtherList", [](ListUndoTest& fx, VoiceList& a, VoiceList& b) {
                 const std::string drag = fx.dragOf(b, {5});
                 EXPECT_TRUE(ListEditing::dropVoices(a, fx.viewA, 40, drag, true));
                 EXPECT_EQ(b.voiceCount(), 5);
             }, "Copy"}),
    [](const ::testing::TestParamInfo<Edit>& edit) { return std::string(edit.param.name); });

// The sort moves the window to the bank of the first selected voice (A107 and
// A105 of the reversed list sort to 7 and 5: bank 1); undo gives back bank 2
// and the selection, redo the sorted ones.
TEST_F(ListUndoTest, UndoGivesBackTheSelectionAndBankOfTheTimeBefore)
{
    select(*a, {34, 36});
    viewA.bank = 2;
    SortFind::SortVoiceList(*a, &viewA);
    EXPECT_EQ(a->tracker.selected(), (std::vector<long>{5, 7}));
    EXPECT_EQ(viewA.bank, 1);
    long bank = viewA.bank;
    ASSERT_TRUE(a->history.undo(*a, &bank));
    EXPECT_EQ(a->tracker.selected(), (std::vector<long>{34, 36}));
    EXPECT_EQ(a->tracker.TotalSelections(), 2);
    EXPECT_EQ(bank, 2);
    ASSERT_TRUE(a->history.redo(*a, &bank));
    EXPECT_EQ(a->tracker.selected(), (std::vector<long>{5, 7}));
    EXPECT_EQ(bank, 1);
}

// A delete cannot tell the bank on screen; the window gives it when it hears
// of the change, and undo puts it back within the restored list.
TEST_F(ListUndoTest, AStepWithoutItsBankTakesTheOneTheWindowNotes)
{
    select(*a, {33, 34, 35, 36, 37, 38, 39, 40});
    ASSERT_TRUE(ListEditing::EditDelete(*a));
    a->history.noteBankBefore(2);
    a->history.noteBankBefore(1); // only an unknown bank is filled
    long bank = 1;
    ASSERT_TRUE(a->history.undo(*a, &bank));
    EXPECT_EQ(bank, 2);
    EXPECT_EQ(a->voiceCount(), 40);
}

TEST_F(ListUndoTest, OnlyEditsThatChangeSomethingAreSteps)
{
    EXPECT_FALSE(ListEditing::EditDelete(*a)); // nothing selected
    EXPECT_TRUE(ListEditing::renameVoice(*a, 3, nameAt(*a, 3)));
    EXPECT_FALSE(ListEditing::renameVoice(*a, 41, "OUTSIDE"));
    select(*a, {3});
    const std::string drag = DragData::fromSelection(*a).text();
    EXPECT_FALSE(ListEditing::dropVoices(*a, viewA, 3, drag, false)); // onto itself
    EXPECT_FALSE(a->history.canUndo(*a));
    EXPECT_FALSE(a->history.undo(*a));
}

TEST_F(ListUndoTest, ANewEditAfterUndoDropsTheRedo)
{
    ASSERT_TRUE(ListEditing::renameVoice(*a, 1, "FIRST"));
    ASSERT_TRUE(ListEditing::renameVoice(*a, 2, "SECOND"));
    ASSERT_TRUE(a->history.undo(*a));
    EXPECT_TRUE(a->history.canRedo(*a));
    ASSERT_TRUE(ListEditing::renameVoice(*a, 3, "THIRD"));
    EXPECT_FALSE(a->history.canRedo(*a));
    EXPECT_EQ(a->history.undoSteps(), 2u);
    ASSERT_TRUE(a->history.undo(*a));
    ASSERT_TRUE(a->history.undo(*a));
    EXPECT_EQ(nameAt(*a, 1), "A140      ");
    EXPECT_EQ(nameAt(*a, 2), "A139      ");
    EXPECT_EQ(nameAt(*a, 3), "A138      ");
}

TEST_F(ListUndoTest, UndoAfterASaveLeavesTheListChanged)
{
    ASSERT_TRUE(ListEditing::renameVoice(*a, 1, "SAVED"));
    a->mark = a->imageCrc(); // saved with the new name
    EXPECT_FALSE(a->isChanged());
    ASSERT_TRUE(a->history.undo(*a));
    EXPECT_TRUE(a->isChanged());
    ASSERT_TRUE(a->history.redo(*a));
    EXPECT_FALSE(a->isChanged());
}

TEST_F(ListUndoTest, StepsOfAnotherLayoutAreDropped)
{
    ASSERT_TRUE(ListEditing::renameVoice(*a, 1, "UNPACKED"));
    a->FileType = 2; // as a Save As in the packed layout leaves it
    EXPECT_FALSE(a->history.canUndo(*a));
    EXPECT_FALSE(a->history.undo(*a));
    EXPECT_EQ(a->history.undoSteps(), 0u);
    EXPECT_EQ(nameAt(*a, 1), "UNPACKED  ");
}

TEST_F(ListUndoTest, OldestStepsGoPastTheLimit)
{
    for (std::size_t i = 0; i < VoiceListHistory::kMaxSteps + 5; ++i)
        ASSERT_TRUE(ListEditing::renameVoice(*a, 1, "N" + std::to_string(i)));
    EXPECT_EQ(a->history.undoSteps(), VoiceListHistory::kMaxSteps);
    while (a->history.undo(*a)) {
    }
    // The first five renames can no longer be undone.
    EXPECT_EQ(nameAt(*a, 1), "N4        ");
}

} // namespace
} // namespace toneloft
