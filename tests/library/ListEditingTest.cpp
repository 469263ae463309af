#include "library/ListEditing.h"

#include "library/DragData.h"
#include "support/SessionFixture.h"
#include "voice/VoiceClipboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace toneloft {
namespace {

class ListEditingTest : public test::SessionFixture {
protected:
    std::shared_ptr<VoiceList> openNew(const std::string& name, int fileType, int voices,
                                       const std::string& prefix = "VOICE")
    {
        return open(dir.write(name, test::makeVoiceFile(fileType, voices, prefix)));
    }
    std::vector<std::string> names(VoiceList& list)
    {
        std::vector<std::string> out;
        auto rows = list.rsmfimage().clone();
        for (rows->moveFirst(); !rows->eof(); rows->moveNext())
            out.push_back(rows->text(clsVoiceNames::kNames));
        return out;
    }
    std::string dataAt(VoiceList& list, long position)
    {
        auto rows = list.rsmfimage().clone();
        rows->setAbsolutePosition(position);
        return rows->text(clsVoiceNames::kData);
    }
    static std::string padded(std::string name)
    {
        name.resize(10, ' ');
        return name;
    }
    VoiceListViewState view; // the target list's window
};

TEST_F(ListEditingTest, NothingSelectedFailsQuietly)
{
    auto list = openNew("a.dat", 0, 4);
    ASSERT_TRUE(list);
    EXPECT_FALSE(ListEditing::EditCopy(*list));
    EXPECT_FALSE(ListEditing::EditDelete(*list));
    EXPECT_FALSE(ListEditing::EditCut(*list));
    EXPECT_FALSE(ListEditing::EditPaste(*list, view));
    EXPECT_EQ(list->voiceCount(), 4);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ListEditingTest, ThreeVoicesPastedAtFiveOfThirtyTwo)
{
    auto source = openNew("src.dat", 0, 6, "SRC");
    auto list = openNew("dst.dat", 0, 32);
    ASSERT_TRUE(source && list);
    struct Watcher : SessionObserver {
        int clipboard = 0;
        int selection = 0;
        void clipboardChanged() override { ++clipboard; }
        void selectionChanged(VoiceList&) override { ++selection; }
    } watcher;
    session.addObserver(&watcher);
    source->tracker.add(2, 4);
    ASSERT_TRUE(ListEditing::EditCopy(*source));
    EXPECT_EQ(watcher.clipboard, 1);
    EXPECT_EQ(session.voiceClipboard().count, 3);

    view.currentVoice = 5;
    view.bank = 1;
    ASSERT_TRUE(ListEditing::EditPaste(*list, view));
    EXPECT_EQ(list->voiceCount(), 35);
    EXPECT_EQ(watcher.clipboard, 2);
    EXPECT_EQ(watcher.selection, 1);
    session.removeObserver(&watcher);
    const auto n = names(*list);
    ASSERT_EQ(n.size(), 35u);
    EXPECT_EQ(n[3], padded("VOICE4"));
    EXPECT_EQ(n[4], padded("SRC2"));
    EXPECT_EQ(n[6], padded("SRC4"));
    EXPECT_EQ(n[7], padded("VOICE5"));
    EXPECT_EQ(n[34], padded("VOICE32"));
    EXPECT_EQ(list->tracker.selected(), (std::vector<long>{5, 6, 7}));
    EXPECT_EQ(view.bank, 1);
    EXPECT_EQ(view.lastClickedVoice, 5);
    EXPECT_EQ(view.pastedCount, 3);
    // The data moved with the names.
    EXPECT_EQ(dataAt(*list, 8), test::makeVoice("VOICE5", 5).substr(0, 145));
    EXPECT_EQ(dataAt(*list, 5), dataAt(*source, 2));

    // Paste consumes the clipboard.
    EXPECT_TRUE(session.voiceClipboard().isEmpty());
    EXPECT_FALSE(ListEditing::EditPaste(*list, view));
    EXPECT_EQ(list->voiceCount(), 35);
}

TEST_F(ListEditingTest, PasteIntoEmptyListStartsAtOne)
{
    auto source = openNew("src.dat", 0, 3, "SRC");
    auto list = openNew("empty.dat", 0, 1);
    ASSERT_TRUE(source && list);
    list->tracker.add(1, 0);
    ASSERT_TRUE(ListEditing::EditDelete(*list));
    EXPECT_EQ(list->voiceCount(), 0);

    source->tracker.add(1, 3);
    ListEditing::EditCopy(*source);
    view.currentVoice = 0;
    ASSERT_TRUE(ListEditing::EditPaste(*list, view));
    EXPECT_EQ(names(*list), (std::vector<std::string>{padded("SRC1"), padded("SRC2"), padded("SRC3")}));
    EXPECT_EQ(list->tracker.selected(), (std::vector<long>{1, 2, 3}));
}

TEST_F(ListEditingTest, PasteBeyondBank1ShowsTheInsertBank)
{
    auto list = openNew("l.dat", 2, 70);
    ASSERT_TRUE(list);
    list->tracker.add(1, 0);
    ListEditing::EditCopy(*list);
    view.currentVoice = 64;
    ListEditing::EditPaste(*list, view);
    EXPECT_EQ(view.bank, 2);
    EXPECT_EQ(nameAt(*list, 64), padded("VOICE1"));
    EXPECT_EQ(nameAt(*list, 65), padded("VOICE64"));
}

TEST_F(ListEditingTest, DeleteKeepsDeletedRowsWhenAsked)
{
    auto list = openNew("d.dat", 0, 10);
    ASSERT_TRUE(list);
    list->tracker.add(3, 0);
    list->tracker.add(9, 10);
    Recordset deleted;
    ASSERT_TRUE(ListEditing::EditDelete(*list, true, nullptr, &deleted));
    EXPECT_EQ(list->voiceCount(), 7);
    EXPECT_EQ(list->tracker.count(), 7);
    EXPECT_EQ(list->tracker.TotalSelections(), 0);
    EXPECT_EQ(deleted.recordCount(), 3);
    deleted.moveLast();
    EXPECT_EQ(deleted.text(clsVoiceNames::kNames), padded("VOICE10"));
    EXPECT_EQ(nameAt(*list, 3), padded("VOICE4"));
}

TEST_F(ListEditingTest, CutThenPasteMovesVoices)
{
    auto list = openNew("c.dat", 0, 5);
    ASSERT_TRUE(list);
    list->tracker.add(1, 0);
    ASSERT_TRUE(ListEditing::EditCut(*list));
    EXPECT_EQ(list->voiceCount(), 4);
    view.currentVoice = 4;
    ListEditing::EditPaste(*list, view);
    EXPECT_EQ(names(*list), (std::vector<std::string>{padded("VOICE2"), padded("VOICE3"), padded("VOICE4"),
                                                      padded("VOICE1"), padded("VOICE5")}));
}

struct ConversionCase {
    int from;
    int to;
    std::size_t dataSize;
};

class PasteConversion : public ListEditingTest, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(PasteConversion, DataFollowsTheTargetLayout)
{
    const auto c = GetParam();
    auto source = openNew("from.dat", c.from, 2, "SRC");
    auto list = openNew("to.dat", c.to, 3);
    ASSERT_TRUE(source && list);
    source->tracker.add(1, 2);
    ListEditing::EditCopy(*source);
    view.currentVoice = 2;
    ListEditing::EditPaste(*list, view);
    ASSERT_EQ(list->voiceCount(), 5);
    const std::string expected = test::makeVoice("SRC2", 2).substr(0, 145);
    const std::string got = dataAt(*list, 3);
    EXPECT_EQ(got.size(), c.dataSize);
    EXPECT_EQ(got, c.dataSize == 145 ? expected : Pack(test::makeVoice("SRC2", 2)).substr(0, 118));
    EXPECT_EQ(nameAt(*list, 3), padded("SRC2"));
    EXPECT_EQ(ui.sawStatus("Please Wait - converting patches  "), (c.from >= 2) != (c.to >= 2));
    // The whole list still forms a valid image of its layout.
    EXPECT_EQ(list->image().size(), 5 * (c.to >= 2 ? 128u : 155u));
}

INSTANTIATE_TEST_SUITE_P(Layouts, PasteConversion,
                         ::testing::Values(ConversionCase{2, 0, 145}, ConversionCase{3, 1, 145},
                                           ConversionCase{0, 3, 118}, ConversionCase{1, 2, 118},
                                           ConversionCase{0, 1, 145}, ConversionCase{1, 0, 145},
                                           ConversionCase{2, 3, 118}));

TEST_F(ListEditingTest, MovingTwoVoicesOntoTenOfTheSameList)
{
    auto list = openNew("m.dat", 0, 12);
    ASSERT_TRUE(list);
    list->tracker.add(2, 3);
    const std::string text = DragData::fromSelection(*list).text();
    ASSERT_TRUE(ListEditing::dropVoices(*list, view, 10, text, false));
    EXPECT_EQ(list->voiceCount(), 12);
    EXPECT_EQ(nameAt(*list, 8), padded("VOICE2"));
    EXPECT_EQ(nameAt(*list, 9), padded("VOICE3"));
    EXPECT_EQ(nameAt(*list, 10), padded("VOICE10"));
    EXPECT_EQ(nameAt(*list, 2), padded("VOICE4"));
    EXPECT_EQ(list->tracker.selected(), (std::vector<long>{8, 9}));
}

TEST_F(ListEditingTest, SingleVoiceDroppedOnItselfChangesNothing)
{
    auto list = openNew("s.dat", 0, 5);
    ASSERT_TRUE(list);
    list->tracker.add(3, 0);
    const auto before = names(*list);
    EXPECT_FALSE(ListEditing::dropVoices(*list, view, 3, DragData::fromSelection(*list).text(), false));
    EXPECT_EQ(names(*list), before);
    EXPECT_EQ(list->tracker.selected(), std::vector<long>{3});
    EXPECT_TRUE(session.voiceClipboard().isEmpty());
}

TEST_F(ListEditingTest, DropBetweenListsMovesOrCopiesWithAlt)
{
    auto source = openNew("src.dat", 2, 4, "SRC");
    auto list = openNew("dst.dat", 0, 3);
    ASSERT_TRUE(source && list);
    source->tracker.add(1, 2);
    ASSERT_TRUE(ListEditing::dropVoices(*list, view, 2, DragData::fromSelection(*source).text(), true));
    EXPECT_EQ(source->voiceCount(), 4);
    EXPECT_EQ(list->voiceCount(), 5);
    EXPECT_EQ(nameAt(*list, 2), padded("SRC1"));
    EXPECT_EQ(dataAt(*list, 2).size(), 145u);

    source->tracker.reset(4, 4);
    ASSERT_TRUE(ListEditing::dropVoices(*list, view, 1, DragData::fromSelection(*source).text(), false));
    EXPECT_EQ(source->voiceCount(), 3);
    EXPECT_EQ(nameAt(*list, 1), padded("SRC4"));
}

TEST_F(ListEditingTest, DropsThatCannotBeMade)
{
    auto list = openNew("x.dat", 0, 5);
    ASSERT_TRUE(list);
    list->tracker.add(1, 0);
    const std::string text = DragData::fromSelection(*list).text();
    EXPECT_FALSE(ListEditing::dropVoices(*list, view, 0, text, false)); // no voice under the point
    EXPECT_FALSE(ListEditing::dropVoices(*list, view, 2, "0,L9999, 1, 1,:", false));
    EXPECT_FALSE(ListEditing::dropVoices(*list, view, 2, "0," + list->ID + ", 1, 6,:", false)); // beyond the source
    EXPECT_FALSE(ListEditing::dropVoices(*list, view, 2, "garbage", false));
    EXPECT_EQ(list->voiceCount(), 5);
    EXPECT_EQ(nameAt(*list, 1), padded("VOICE1"));
}

} // namespace
} // namespace toneloft
