#include "editor/RandomiseVoices.h"

#include "EditorFixture.h"
#include "common/Banks.h"
#include "voice/VoiceFileFormat.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace toneloft {
namespace {

using Node = PatchGenTree::Node;

using test::RecordingSynth;

class RandomiseVoicesTest : public test::SessionFixture {
protected:
    RandomiseVoicesTest() { session.setDataDirectory(dir.folder() + "data"); }

    void select(VoiceList& list, const std::vector<long>& voices)
    {
        list.tracker.reset(0, list.voiceCount());
        for (long v : voices)
            list.tracker.add(v, v);
        session.notify([&](SessionObserver& o) { o.selectionChanged(list); });
    }
    std::vector<std::string> voiceTexts(RandomiseVoices& rv)
    {
        std::vector<std::string> out;
        for (const Node* n : rv.tree().voices())
            out.push_back(n->text());
        return out;
    }
    // a.dat of count unpacked voices open, those voices selected, the node key ticked.
    std::shared_ptr<VoiceList> ticked(RandomiseVoices& rv, int count, const std::vector<long>& voices,
                                      const std::string& key)
    {
        auto a = openNew("a.dat", 0, count);
        select(*a, voices);
        rv.tick(key, true);
        return a;
    }
    std::string patchGenFile() const { return session.DataDirectory() + "PatchGen.dat"; }
    std::string nameAtEnd(VoiceList& list) { return nameAt(list, list.voiceCount()); }

    void SetUp() override { std::filesystem::create_directories(dir.folder() + "data"); }
};

TEST_F(RandomiseVoicesTest, TheTreeFollowsTheListsAndTheirSelections)
{
    RandomiseVoices rv(session, 1);
    EXPECT_EQ(rv.tree().root(), nullptr);
    auto a = openNew("a.dat", 2, 12);
    auto b = openNew("b.syx", 0, 3);
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(rv.tree().root());
    EXPECT_EQ(rv.tree().root()->text(), "Files");
    ASSERT_EQ(rv.tree().root()->children.size(), 2u);
    EXPECT_EQ(rv.tree().root()->children[1]->key, "L0002");
    EXPECT_EQ(rv.tree().root()->children[1]->text(), "b.syx");

    select(*a, {3, 1});
    ASSERT_EQ(voiceTexts(rv), (std::vector<std::string>{"1 VOICE1     (Alg 1)", "3 VOICE3     (Alg 1)"}));
    EXPECT_TRUE(rv.tree().find("L0001:3"));

    select(*a, {3});
    EXPECT_EQ(rv.tree().voiceCount(), 1);
    EXPECT_FALSE(rv.tree().find("L0001:1"));
    EXPECT_FALSE(rv.tree().find("opL0001:1"));

    // Ten voices at most, the first ten selected.
    select(*a, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    select(*b, {1});
    EXPECT_EQ(rv.tree().voiceCount(), 10);
    EXPECT_TRUE(rv.tree().find("L0001:10"));
    EXPECT_FALSE(rv.tree().find("L0001:11"));
    EXPECT_FALSE(rv.tree().find("L0002:1"));

    // A list that closes takes its voices along; the last takes the root.
    a->requestClose(false);
    EXPECT_EQ(rv.tree().voiceCount(), 0);
    select(*b, {1});
    EXPECT_EQ(voiceTexts(rv), std::vector<std::string>{"1 VOICE1     (Alg 1)"});
    b->requestClose(false);
    EXPECT_EQ(rv.tree().root(), nullptr);
    EXPECT_EQ(rv.tree().nodeCount(), 0);
}

TEST_F(RandomiseVoicesTest, GroupBoxesStandInTheirOrder)
{
    auto a = openNew("a.dat", 0, 4);
    RandomiseVoices rv(session, 1);
    select(*a, {2});
    const Node* voice = rv.tree().find("L0001:2");
    ASSERT_TRUE(voice);
    const long b = rv.tree().indexOf(voice);
    EXPECT_EQ(rv.tree().nodeAt(b + 1)->text(), "Operator");
    EXPECT_EQ(rv.tree().nodeAt(b + 2)->text(), "Non-Operator");
    EXPECT_EQ(rv.tree().nodeAt(b + 3)->text(), "Operator 1");
    EXPECT_EQ(rv.tree().nodeAt(b + 8)->text(), "Operator 6");
    struct Expected {
        int g;
        const char* text;
        const char* parent;
    };
    for (const Expected& e : {Expected{1, "EG Rate", "Operator 1"}, Expected{6, "Oscillator", "Operator 1"},
                              Expected{15, "EG Level Scaling", "Operator 3"}, Expected{34, "Output Level", "Operator 6"},
                              Expected{35, "Sensitivity", "Operator 6"}, Expected{37, "Algorithm", "Non-Operator"},
                              Expected{40, "LFO", "Non-Operator"}, Expected{43, "Transpose", "Non-Operator"}}) {
        const Node* box = rv.tree().groupNode(*voice, e.g);
        ASSERT_TRUE(box) << e.g;
        EXPECT_EQ(box, rv.tree().nodeAt(b + 8 + e.g));
        EXPECT_EQ(box->text(), e.text) << e.g;
        EXPECT_EQ(box->parent->text(), e.parent) << e.g;
    }
    EXPECT_EQ(rv.tree().nodeCount(), 1 + 1 + 52); // root, file, voice with its 51 boxes
}

TEST_F(RandomiseVoicesTest, TicksSpreadDownAndSettleUp)
{
    auto a = openNew("a.dat", 0, 4);
    RandomiseVoices rv(session, 1);
    select(*a, {1, 2});
    const Node* voice = rv.tree().find("L0001:1");
    const Node* op3 = rv.tree().find("op3:L0001:1");
    ASSERT_TRUE(voice && op3);
    for (int g = 13; g <= 18; ++g) {
        EXPECT_FALSE(op3->checked);
        rv.tick(rv.tree().groupNode(*voice, g)->key, true);
    }
    EXPECT_TRUE(op3->checked);
    EXPECT_FALSE(rv.tree().find("opL0001:1")->checked);
    rv.tick(rv.tree().groupNode(*voice, 16)->key, false);
    EXPECT_FALSE(op3->checked);

    // The list's box ticks both voices and all their boxes; the root follows.
    rv.tick("L0001", true);
    EXPECT_TRUE(rv.tree().root()->checked);
    EXPECT_TRUE(rv.tree().find("grp43:L0001:2")->checked);
    rv.tick("grp43:L0001:2", false);
    EXPECT_FALSE(rv.tree().find("nonopL0001:2")->checked);
    EXPECT_FALSE(rv.tree().find("L0001:2")->checked);
    EXPECT_FALSE(rv.tree().find("L0001")->checked);
    EXPECT_FALSE(rv.tree().root()->checked);
    EXPECT_TRUE(rv.tree().find("L0001:1")->checked);
}

TEST_F(RandomiseVoicesTest, TheLabelCountsSourcesAndOnlyTheFirstIsBase)
{
    auto a = openNew("a.dat", 0, 4);
    RandomiseVoices rv(session, 1);
    select(*a, {1, 2, 3});
    EXPECT_FALSE(rv.controls().startEnabled);
    EXPECT_FALSE(rv.controls().varianceEnabled);
    EXPECT_FALSE(rv.controls().loadEnabled);

    rv.tick("L0001:2", true);
    EXPECT_EQ(rv.controls().varianceLabel, "&Single Patch Variance");
    EXPECT_TRUE(rv.controls().startEnabled);
    EXPECT_EQ(voiceTexts(rv)[1], "2 VOICE2     (Alg 1) BASE");

    rv.tick("grp7:L0001:1", true);
    EXPECT_EQ(rv.controls().varianceLabel, "&Multiple Patch Variance");
    EXPECT_EQ(voiceTexts(rv), (std::vector<std::string>{"1 VOICE1     (Alg 1) BASE", "2 VOICE2     (Alg 1)",
                                                        "3 VOICE3     (Alg 1)"}));
    rv.tick("grp7:L0001:1", false);
    EXPECT_EQ(rv.controls().varianceLabel, "&Single Patch Variance");
    EXPECT_EQ(voiceTexts(rv)[0], "1 VOICE1     (Alg 1)");
    EXPECT_EQ(voiceTexts(rv)[1], "2 VOICE2     (Alg 1) BASE");
}

TEST_F(RandomiseVoicesTest, ContinuousNeedsMidiAndExcludesLoading)
{
    RandomiseVoices rv(session, 1);
    ticked(rv, 2, {1}, "L0001:1");
    EXPECT_FALSE(rv.controls().continuousEnabled);

    RecordingSynth synth;
    session.setSynth(&synth);
    rv.SetPatchGenControls();
    EXPECT_TRUE(rv.controls().continuousEnabled);
    rv.setLoadOnCreation(true);
    rv.setContinuous(true);
    EXPECT_FALSE(rv.loadOnCreation());
    EXPECT_FALSE(rv.controls().loadEnabled);
    rv.setLoadOnCreation(true);
    EXPECT_FALSE(rv.loadOnCreation());
    rv.setContinuous(false);
    EXPECT_TRUE(rv.controls().loadEnabled);
    session.setSynth(nullptr);
}

TEST_F(RandomiseVoicesTest, OnlyNumbersFromZeroToHundredSetTheVariance)
{
    RandomiseVoices rv(session, 1);
    rv.setVariance(40);
    struct Case {
        const char* text;
        bool taken;
        int variance;
    };
    for (const Case& c : {Case{"150", false, 40}, Case{"-1", false, 40}, Case{"abc", false, 40}, Case{"", false, 40},
                          Case{"7x", false, 40}, Case{"100", true, 100}, Case{"0", true, 0}, Case{" 75", true, 75}}) {
        EXPECT_EQ(rv.varianceTyped(c.text), c.taken) << c.text;
        EXPECT_EQ(rv.variance(), c.variance) << c.text;
    }
}

TEST_F(RandomiseVoicesTest, VoiceNamesCarryThePrefixAndTheCount)
{
    EXPECT_EQ(RandomiseVoices::voiceName("RandVc", 7), "RandVc 7  ");
    EXPECT_EQ(RandomiseVoices::voiceName("RandVc", 33), "RandVc 33 ");
    EXPECT_EQ(RandomiseVoices::voiceName("RandVc", 999), "RandVc 999");
    EXPECT_EQ(RandomiseVoices::voiceName("RandVc", 1234), "RandVc 123");
    EXPECT_EQ(RandomiseVoices::voiceName("Ab", 1), "Ab     1  ");
    EXPECT_EQ(RandomiseVoices::voiceName("LongPrefix", 2), "LongPr 2  ");
}

TEST_F(RandomiseVoicesTest, VoicesGoIntoPatchGenAndTheThirtyThirdIntoBankTwo)
{
    auto a = openNew("a.dat", 2, 3);
    ASSERT_TRUE(a);
    RandomiseVoices rv(session, 5);
    select(*a, {2});
    rv.tick("L0001:2", true);
    rv.setVariance(0);

    rv.start();
    auto list = rv.patchList();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->FileTitle, "PatchGen.dat");
    EXPECT_EQ(list->FileName, patchGenFile());
    EXPECT_EQ(list->mark, VoiceList::kNeverSaved);
    EXPECT_EQ(list->voiceCount(), 1);
    EXPECT_EQ(std::filesystem::file_size(patchGenFile()), 155u);
    // Variance 0 from one source: voice 2's parameters under a name of our own.
    const ByteString source = Unpack(test::makeVoiceFile(2, 3).substr(128, 128));
    const ByteString stored = test::TempDir::read(patchGenFile());
    EXPECT_EQ(stored.substr(0, 145), source.substr(0, 145));
    EXPECT_EQ(stored.substr(145), "RandVc 1  ");
    EXPECT_FALSE(rv.running());
    EXPECT_EQ(rv.controls().buttonCaption, "Start");

    VoiceListViewState view; // the list's window follows the new voices
    rv.viewOf = [&](const VoiceList& l) { return &l == list.get() ? &view : nullptr; };
    for (int i = 2; i <= 33; ++i)
        rv.start();
    EXPECT_EQ(list->voiceCount(), 33);
    EXPECT_EQ(view.bank, 2);
    EXPECT_EQ(BankOfVoice(33), 2);
    EXPECT_EQ(nameAtEnd(*list), "RandVc 33 ");
    EXPECT_EQ(std::filesystem::file_size(patchGenFile()), 33u * 155u);
    EXPECT_EQ(session.colVoiceLists().count(), 2);

    // Closing the list lets the next voice start a new one, counted from 1;
    // the never-saved file goes with it.
    ui.answers.push_back(MsgResult::No);
    ASSERT_TRUE(list->requestClose(false));
    EXPECT_FALSE(rv.patchList());
    EXPECT_FALSE(std::filesystem::exists(patchGenFile()));
    rv.start();
    ASSERT_TRUE(rv.patchList());
    EXPECT_NE(rv.patchList()->ID, list->ID);
    EXPECT_EQ(nameAtEnd(*rv.patchList()), "RandVc 1  ");
}

TEST_F(RandomiseVoicesTest, APatchGenFileTheUserOpenedIsAppendedToNotWrittenOver)
{
    const std::string before = test::makeVoiceFile(0, 2, "MINE");
    dir.write("data/PatchGen.dat", before);
    auto mine = open(patchGenFile());
    auto a = openNew("a.dat", 0, 2);
    ASSERT_TRUE(mine && a);
    RandomiseVoices rv(session, 5);
    select(*a, {1});
    rv.tick("L0002:1", true);
    rv.start();
    EXPECT_EQ(rv.patchList(), mine);
    EXPECT_EQ(mine->voiceCount(), 3);
    EXPECT_EQ(nameAtEnd(*mine), "RandVc 3  ");
    EXPECT_EQ(test::TempDir::read(patchGenFile()), before); // saved by the user, or not at all
    EXPECT_TRUE(mine->isChanged());
}

TEST_F(RandomiseVoicesTest, StopInTheFirstVoiceStoresNothing)
{
    RandomiseVoices rv(session, 5);
    ticked(rv, 2, {1, 2}, "L0001");
    ui.onEvents = [&](test::ScriptedUi&) { rv.stop(); };
    rv.start();
    ui.onEvents = nullptr;
    EXPECT_FALSE(rv.patchList());
    EXPECT_EQ(rv.generatedCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(patchGenFile()));
    EXPECT_EQ(session.colVoiceLists().count(), 1);
    EXPECT_FALSE(rv.running());
}

TEST_F(RandomiseVoicesTest, ContinuousRunsSendEachVoiceUntilStopped)
{
    RecordingSynth synth;
    session.setSynth(&synth);
    RandomiseVoices rv(session, 5);
    ticked(rv, 2, {1, 2}, "L0001");
    rv.setVariance(100);
    rv.setContinuous(true);

    std::vector<std::int64_t> sentAt;
    std::vector<std::string> captions;
    ui.onEvents = [&](test::ScriptedUi& u) {
        if (synth.voices.size() > sentAt.size()) {
            sentAt.push_back(u.now);
            captions.push_back(rv.controls().buttonCaption);
        }
        if (synth.voices.size() == 3)
            rv.stop();
    };
    rv.start();
    ui.onEvents = nullptr;

    ASSERT_EQ(synth.voices.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(synth.voices[i].size(), 155u);
        EXPECT_EQ(synth.voices[i].substr(145), RandomiseVoices::voiceName("RandVc", static_cast<long>(i + 1)));
        EXPECT_EQ(captions[i], "Stop");
    }
    // A second's wait between voices, on the scripted clock.
    ASSERT_EQ(sentAt.size(), 3u);
    EXPECT_GE(sentAt[1] - sentAt[0], 1000);
    EXPECT_LE(sentAt[1] - sentAt[0], 1010);
    EXPECT_EQ(rv.patchList()->voiceCount(), 3);
    EXPECT_EQ(rv.controls().buttonCaption, "Start");
    EXPECT_FALSE(rv.running());
    session.setSynth(nullptr);
}

TEST_F(RandomiseVoicesTest, AContinuousRunEndsWithTheMidiOutput)
{
    RecordingSynth synth;
    session.setSynth(&synth);
    RandomiseVoices rv(session, 5);
    ticked(rv, 2, {1}, "L0001:1");
    rv.setContinuous(true);
    ui.onEvents = [&](test::ScriptedUi&) {
        if (synth.voices.size() == 2)
            synth.open = false;
    };
    rv.start();
    ui.onEvents = nullptr;
    EXPECT_EQ(synth.voices.size(), 2u);
    EXPECT_EQ(rv.patchList()->voiceCount(), 2);
    EXPECT_FALSE(rv.running());
    EXPECT_EQ(rv.controls().buttonCaption, "Start");
    EXPECT_FALSE(rv.controls().continuousEnabled);
    session.setSynth(nullptr);
}

TEST_F(RandomiseVoicesTest, OffLineContinuousMakesOneVoiceAndLoadOpensIt)
{
    RandomiseVoices rv(session, 5);
    ticked(rv, 2, {1}, "L0001:1");
    std::vector<long> opened;
    rv.openVoice = [&](VoiceList& list, long voice) {
        EXPECT_EQ(list.FileTitle, "PatchGen.dat");
        opened.push_back(voice);
    };
    rv.setContinuous(true); // MIDI off: one voice all the same
    rv.start();
    EXPECT_EQ(rv.patchList()->voiceCount(), 1);
    EXPECT_TRUE(opened.empty());

    rv.setContinuous(false);
    rv.setLoadOnCreation(true);
    rv.start();
    rv.start();
    EXPECT_EQ(opened, (std::vector<long>{2, 3}));
}

TEST_F(RandomiseVoicesTest, GeneratedVoicesCanBeSourcesThemselves)
{
    RandomiseVoices rv(session, 5);
    ticked(rv, 2, {1}, "L0001:1");
    rv.start();
    auto list = rv.patchList();
    ASSERT_TRUE(list);
    select(*list, {1});
    rv.tick(list->ID + ":1", true);
    EXPECT_EQ(rv.controls().sourceVoices, 2);
    rv.start();
    // The new voice keeps the selection of the first.
    EXPECT_EQ(list->voiceCount(), 2);
    EXPECT_TRUE(list->tracker.isSelected(1));
    EXPECT_TRUE(rv.tree().find(list->ID + ":1"));
}

} // namespace
} // namespace toneloft
