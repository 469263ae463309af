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
                 EXPECT_FALSE(ListEditing::EditDelete(a));
             }, "Delete"},
        Edit{"DeleteAll", [](ListUndoTest& fx, VoiceList& a, VoiceList&) {
                 a.tracker.add(1, 40);
                 (void)fx;
                 EXPECT_FALSE(ListEditing::EditDelete(a));
                 EXPECT_EQ(a.voiceCount(), 0);
             }, "Delete"},
        Edit{"Cut", [](ListUndoTest& fx, VoiceList& a, VoiceList&) {
                 fx.select(a, {2, 3});
                 EXPECT_FALSE(ListEditing::EditCut(a));
             }, "Cut"},
        Edit{"PasteFromOtherList", [](ListUndoTest& fx, VoiceList& a, VoiceList& b) {
                 fx.select(b, {1, 2, 3});
                 EXPECT_FALSE(ListEditing::EditCopy(b));
                 a.currentVoice = 5;
                 EXPECT_FALSE(ListEditing::EditPaste(a));
             }, "Paste"},
        Edit{"Sort", [](ListUndoTest&, VoiceList& a, VoiceList&) { SortFind::SortVoiceList(a); }, "Sort"},
        Edit{"Rename", [](ListUndoTest&, VoiceList& a, VoiceList&) {
                 EXPECT_FALSE(ListEditing::renameVoice(a, 12, "NEW NAME"));
             }, "Rename"},
        Edit{"DragMoveWithinList", [](ListUndoTest& fx, VoiceList& a, VoiceList&) {
                 const std::string drag = fx.dragOf(a, {2, 3});
                 EXPECT_FALSE(ListEditing::dropVoices(a, 10, drag, false));
             }, "Move"},
        Edit{"DragMoveToOtherList", [](ListUndoTest& fx, VoiceList& a, VoiceList& b) {
                 const std::string drag = fx.dragOf(a, {4, 35});
                 EXPECT_FALSE(ListEditing::dropVoices(b, 2, drag, false));
                 EXPECT_EQ(b.voiceCount(), 7);
             }, "Move"},
        Edit{"DragCopyFromOtherList", [](ListUndoTest& fx, VoiceList& a, VoiceList& b) {
                 const std::string drag = fx.dragOf(b, {5});
                 EXPECT_FALSE(ListEditing::dropVoices(a, 40, drag, true));
                 EXPECT_EQ(b.voiceCount(), 5);
             }, "Copy"}),
    [](const ::testing::TestParamInfo<Edit>& edit) { return std::string(edit.param.name); });

TEST_F(ListUndoTest, UndoGivesBackTheSelectionAndBankOfTheTimeBefore)
{
    select(*a, {34, 36});
    a->bank = 2;
    ASSERT_FALSE(ListEditing::EditDelete(*a));
    EXPECT_EQ(a->tracker.TotalSelections(), 0);
    ASSERT_TRUE(a->history.undo(*a));
    EXPECT_EQ(a->tracker.selected(), (std::vector<long>{34, 36}));
    EXPECT_EQ(a->tracker.TotalSelections(), 2);
    EXPECT_EQ(a->bank, 2);
}

TEST_F(ListUndoTest, OnlyEditsThatChangeSomethingAreSteps)
{
    EXPECT_TRUE(ListEditing::EditDelete(*a)); // nothing selected
    EXPECT_FALSE(ListEditing::renameVoice(*a, 3, nameAt(*a, 3)));
    EXPECT_TRUE(ListEditing::renameVoice(*a, 41, "OUTSIDE"));
    select(*a, {3});
    const std::string drag = DragData::fromSelection(*a).text();
    EXPECT_TRUE(ListEditing::dropVoices(*a, 3, drag, false)); // onto itself
    EXPECT_FALSE(a->history.canUndo(*a));
    EXPECT_FALSE(a->history.undo(*a));
}

TEST_F(ListUndoTest, ANewEditAfterUndoDropsTheRedo)
{
    ASSERT_FALSE(ListEditing::renameVoice(*a, 1, "FIRST"));
    ASSERT_FALSE(ListEditing::renameVoice(*a, 2, "SECOND"));
    ASSERT_TRUE(a->history.undo(*a));
    EXPECT_TRUE(a->history.canRedo(*a));
    ASSERT_FALSE(ListEditing::renameVoice(*a, 3, "THIRD"));
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
    ASSERT_FALSE(ListEditing::renameVoice(*a, 1, "SAVED"));
    a->mark = a->imageCrc(); // saved with the new name
    EXPECT_FALSE(a->isChanged());
    ASSERT_TRUE(a->history.undo(*a));
    EXPECT_TRUE(a->isChanged());
    ASSERT_TRUE(a->history.redo(*a));
    EXPECT_FALSE(a->isChanged());
}

TEST_F(ListUndoTest, StepsOfAnotherLayoutAreDropped)
{
    ASSERT_FALSE(ListEditing::renameVoice(*a, 1, "UNPACKED"));
    a->FileType = 2; // as a Save As in the packed layout leaves it
    EXPECT_FALSE(a->history.canUndo(*a));
    EXPECT_FALSE(a->history.undo(*a));
    EXPECT_EQ(a->history.undoSteps(), 0u);
    EXPECT_EQ(nameAt(*a, 1), "UNPACKED  ");
}

TEST_F(ListUndoTest, OldestStepsGoPastTheLimit)
{
    for (std::size_t i = 0; i < VoiceListHistory::kMaxSteps + 5; ++i)
        ASSERT_FALSE(ListEditing::renameVoice(*a, 1, "N" + std::to_string(i)));
    EXPECT_EQ(a->history.undoSteps(), VoiceListHistory::kMaxSteps);
    while (a->history.undo(*a)) {
    }
    // The first five renames can no longer be undone.
    EXPECT_EQ(nameAt(*a, 1), "N4        ");
}

} // namespace
} // namespace toneloft
