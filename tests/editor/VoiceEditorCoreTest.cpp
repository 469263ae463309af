#include "EditorFixture.h"

#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"

#include <gtest/gtest.h>

#include <cctype>
#include <numeric>
#include <vector>

namespace toneloft::test {
namespace {

using Send = RecordingSynth::Send;
using Kind = EditorElement::Kind;

std::vector<int> range(int first, int count)
{
    std::vector<int> v(static_cast<std::size_t>(count));
    std::iota(v.begin(), v.end(), first);
    return v;
}

// --- which rows each grid shows -------------------------------------------------

struct GridCase {
    int grid;
    std::vector<int> params;
};

class GridRows : public EditorFixture, public ::testing::WithParamInterface<GridCase> {};

TEST_P(GridRows, ShowTheirSectionInTableOrder)
{
    const GridCase& c = GetParam();
    std::vector<int> shown;
    for (int r = 0; r < editor->gridRowCount(c.grid); ++r)
        shown.push_back(editor->paramIdAt(c.grid, r));
    EXPECT_EQ(shown, c.params);
    EXPECT_EQ(editor->gridRows(c.grid).recordCount(), static_cast<long>(c.params.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Editor, GridRows,
    ::testing::Values(GridCase{0, range(127, 8)},                        // pitch EG
                      GridCase{3, range(opParam(3, 0), 8)},              // EG of operator 3
                      GridCase{9, range(opParam(3, 8), 5)},              // level scaling 3
                      GridCase{12, range(opParam(6, 8), 5)},             // level scaling 6
                      GridCase{13, range(opParam(1, 17), 4)},            // oscillator 1
                      GridCase{15, range(opParam(3, 17), 4)},            // oscillator 3
                      GridCase{21, range(opParam(3, 13), 4)},            // sensitivity 3
                      GridCase{25, range(138, 7)},                       // LFO
                      GridCase{26, std::vector<int>{136, 137, 145}}));  // Misc

TEST(EditorGridFilters, EnvelopeFilterNamesBothGroupsWithTheBlankBeforeTheDigit)
{
    EXPECT_EQ(EditorGrids::filterText(3), "OpGroup = 'EG Rate 3' OR OpGroup = 'EG Level 3'");
    EXPECT_EQ(EditorGrids::filterText(9), "SubGroup = 'LevSc3'");
    EXPECT_EQ(EditorGrids::filterText(15), "OpGroup = 'Oscillator' AND SubGroup = 'Operator 3'");
    EXPECT_EQ(EditorGrids::panelTitle(0), "Non Operator");
    EXPECT_EQ(EditorGrids::panelTitle(4), "Operator 4");
}

// --- typed entry --------------------------------------------------------------------

struct TypedCase {
    const char* what;
    int grid;
    int param;
    const char* text;
    bool accepted;
    int valueAfter;
};

class TypedEntry : public EditorFixture, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedEntry, TakesNumbersAndDisplayTextsWithinRange)
{
    const TypedCase& c = GetParam();
    const ByteString before = editor->voice();
    EXPECT_EQ(editor->TypedEntry(c.grid, rowOf(*editor, c.grid, c.param), c.text), c.accepted);
    EXPECT_EQ(editor->value(c.param), c.valueAfter);
    if (c.accepted) {
        // The typed value goes the spin's way: one change, with its test note.
        EXPECT_EQ(synth.parameters, (std::vector<Send>{{c.param, c.valueAfter, true, false}}));
    } else {
        EXPECT_EQ(editor->voice(), before);
        EXPECT_EQ(synth.sends(), 0u);
        EXPECT_FALSE(editor->canUndo());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Editor, TypedEntry,
    ::testing::Values(TypedCase{"100 into a max-99 row", 1, opParam(1, 0), "100", false, 99},
                      TypedCase{"a number", 1, opParam(1, 4), "42", true, 42},
                      TypedCase{"the number the text starts with", 1, opParam(1, 5), " 17 steps", true, 17},
                      TypedCase{"no number", 1, opParam(1, 7), "abc", false, 0},
                      TypedCase{"below the minimum", 1, opParam(1, 7), "-1", false, 0},
                      TypedCase{"+EXP", 7, opParam(1, 11), "+EXP", true, 2},
                      TypedCase{"EXP", 7, opParam(1, 11), "EXP", false, 0},
                      TypedCase{"a curve with blanks", 7, opParam(1, 12), " +LIN ", true, 3},
                      TypedCase{"a break point note", 7, opParam(1, 8), "C 3", true, 39},
                      TypedCase{"an LFO wave", 25, 143, "Sine", true, 3},
                      TypedCase{"an empty text", 25, 143, "", false, 0},
                      TypedCase{"a wave past the list", 25, 143, "S/Hold", true, 4},
                      TypedCase{"transpose", 26, 145, "C 4", true, 36},
                      TypedCase{"detune", 13, opParam(1, 20), "-7", true, 0},
                      TypedCase{"AMS above 3", 19, opParam(1, 14), "4", false, 0},
                      TypedCase{"oscillator mode", 13, opParam(1, 17), "Fixed", true, 1}),
    [](const ::testing::TestParamInfo<TypedCase>& testCase) {
        std::string name;
        for (const char* p = testCase.param.what; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

// --- typed frequencies ----------------------------------------------------------------

struct FrequencyCase {
    int mode;
    bool onFine;
    const char* text;
    bool accepted;
    int coarse;
    int fine;
};

class TypedFrequency : public EditorFixture, public ::testing::WithParamInterface<FrequencyCase> {};

TEST_P(TypedFrequency, SetsCoarseAndFineTogether)
{
    const FrequencyCase& c = GetParam();
    constexpr int g = 15; // operator 3
    const int mode = opParam(3, 17), coarse = opParam(3, 18), fine = opParam(3, 19);
    ASSERT_TRUE(editor->SetValues({{mode, c.mode}, {coarse, 7}, {fine, 13}}));
    synth.clear();

    const int row = rowOf(*editor, g, c.onFine ? fine : coarse);
    EXPECT_EQ(editor->TypedEntry(g, row, c.text), c.accepted);
    EXPECT_EQ(editor->value(coarse), c.accepted ? c.coarse : 7);
    EXPECT_EQ(editor->value(fine), c.accepted ? c.fine : 13);
    if (c.accepted) {
        // Both rows reach the instrument; the cursor's row with the test note.
        const Send other = c.onFine ? Send{coarse, c.coarse, false, false} : Send{fine, c.fine, false, false};
        const Send cursor = c.onFine ? Send{fine, c.fine, true, false} : Send{coarse, c.coarse, true, false};
        EXPECT_EQ(synth.parameters, (std::vector<Send>{other, cursor}));
        EXPECT_EQ(editor->gridText(g, rowOf(*editor, g, coarse)), editor->frequencyText(3));
        // The two rows are one edit.
        ASSERT_TRUE(editor->Undo());
        EXPECT_EQ(editor->value(coarse), 7);
        EXPECT_EQ(editor->value(fine), 13);
    } else {
        EXPECT_EQ(synth.sends(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Editor, TypedFrequency,
                         ::testing::Values(FrequencyCase{1, true, "1023 Hz", true, 3, 1},
                                           FrequencyCase{1, false, "1023Hz", true, 3, 1},
                                           FrequencyCase{1, true, "10.23", true, 1, 1},
                                           FrequencyCase{1, true, "9772", true, 3, 99},
                                           FrequencyCase{1, true, "1024 Hz", false, 0, 0},
                                           FrequencyCase{1, false, "9773", false, 0, 0},
                                           FrequencyCase{0, true, "0.5", true, 0, 0},
                                           FrequencyCase{0, false, "0.4", false, 0, 0},
                                           FrequencyCase{0, false, "1", true, 1, 0},
                                           FrequencyCase{0, true, "3.03", true, 3, 1},
                                           FrequencyCase{0, true, "61.69", true, 31, 99},
                                           FrequencyCase{0, true, "62", false, 0, 0}));

// --- spin, display texts, Ctrl ------------------------------------------------------------

TEST_F(EditorFixture, SpinOnTheMiscGridsThirdRowChangesTranspose)
{
    const int before138 = editor->value(138);
    ASSERT_TRUE(editor->SpinChange(26, 2, 30));
    EXPECT_EQ(editor->value(145), 30);
    EXPECT_EQ(editor->value(138), before138);
    EXPECT_EQ(synth.parameters, (std::vector<Send>{{145, 30, true, false}}));
    EXPECT_EQ(editor->gridText(26, 2), "F#3 "); // note table entry 45
    EXPECT_EQ(editor->CurrentGridID, 26);
    EXPECT_EQ(editor->CurrentGridRow, 2);

    // What the spin takes beside that row, and the row a grid model's edit names.
    const auto spin = editor->spinFor(26, 2);
    ASSERT_TRUE(spin);
    EXPECT_EQ(spin->min, 0);
    EXPECT_EQ(spin->max, 48);
    EXPECT_EQ(spin->value, 30);
    EXPECT_EQ(spin->tag, 26);
    EXPECT_FALSE(editor->spinFor(26, 3));
    Recordset& rows = editor->gridRows(26);
    rows.setAbsolutePosition(3);
    EXPECT_EQ(editor->gridRowOfBookmark(26, rows.bookmark()), 2);
    EXPECT_EQ(editor->gridRowOfBookmark(25, rows.bookmark()), -1);
}

TEST_F(EditorFixture, SpinRefusesValuesOutsideTheRowAndWhileEventsAreSuppressed)
{
    const ByteString before = editor->voice();
    EXPECT_FALSE(editor->SpinChange(1, 0, 100));
    EXPECT_FALSE(editor->SpinChange(19, 1, 4)); // AMS 0..3
    EXPECT_FALSE(editor->SpinChange(27, 0, 1)); // no grid 27
    session.eventsSuppressed = true;
    EXPECT_FALSE(editor->SpinChange(1, 0, 50));
    session.eventsSuppressed = false;
    EXPECT_EQ(editor->voice(), before);
    EXPECT_EQ(synth.sends(), 0u);
}

TEST_F(EditorFixture, SwitchingToFixedShowsHertzOnCoarseAndFineAtOnce)
{
    constexpr int g = 13; // operator 1: coarse 1, fine 0
    EXPECT_EQ(editor->gridText(g, 1), "1.0");
    EXPECT_EQ(editor->gridText(g, 2), "1.0");
    EXPECT_EQ(editor->gridText(g, 0), "Ratio");
    ASSERT_TRUE(editor->SpinChange(g, 0, 1));
    EXPECT_EQ(editor->gridText(g, 0), "Fixed");
    EXPECT_EQ(editor->gridText(g, 1), "10.00 Hz");
    EXPECT_EQ(editor->gridText(g, 2), "10.00 Hz");
    ASSERT_TRUE(editor->SpinChange(g, 2, 99));
    EXPECT_EQ(editor->gridText(g, 1), "97.72 Hz");
    EXPECT_EQ(editor->gridText(g, 3), " 0"); // detune 7 is the centre
}

TEST_F(EditorFixture, CtrlHeldStoresButSendsNothing)
{
    editor->modCtrlKey = true;
    ASSERT_TRUE(editor->SpinChange(1, 0, 12));
    ASSERT_TRUE(editor->AlgorithmChange(7));
    ASSERT_TRUE(editor->ResetVoice());
    editor->PlayScale();
    EXPECT_EQ(synth.sends(), 0u);
    EXPECT_EQ(synth.scales, 0);
    ASSERT_TRUE(editor->Undo()); // Ctrl is down for Ctrl+Z: undo sends all the same
    EXPECT_EQ(synth.voices.size(), 1u);
    EXPECT_EQ(editor->value(opParam(1, 0)), 12);
}

// --- operators, algorithm, name ------------------------------------------------------------

// Operator 1 is bit 32 and operator 6 bit 1, as the instrument reads parameter
// 156: operator 3 off from all on is 63 - 8.
TEST_F(EditorFixture, OperatorThreeOffClearsItsBitInParameter156)
{
    ASSERT_TRUE(editor->ToggleOperator(3));
    EXPECT_EQ(editor->OperatorStatus(), 55);
    EXPECT_FALSE(editor->operatorOn(3));
    EXPECT_TRUE(editor->operatorOn(2));
    EXPECT_TRUE(editor->operatorOn(4));
    ASSERT_TRUE(editor->ToggleOperator(1));
    EXPECT_EQ(synth.parameters, (std::vector<Send>{{156, 55, false, true}, {156, 23, false, true}}));
    ASSERT_TRUE(editor->ToggleOperator(3));
    EXPECT_EQ(editor->OperatorStatus(), 31);
    EXPECT_FALSE(editor->canUndo()); // the mask is not part of the voice

    synth.open = false;
    synth.clear();
    EXPECT_FALSE(editor->ToggleOperator(4));
    EXPECT_EQ(editor->OperatorStatus(), 31);
    EXPECT_EQ(synth.sends(), 0u);
}

TEST_F(EditorFixture, AlgorithmChangeStoresSendsAndCaptions)
{
    EXPECT_EQ(editor->AlgorithmCaption(), "  Algorithm  1  ");
    ASSERT_TRUE(editor->AlgorithmChange(31));
    EXPECT_EQ(editor->value(135), 31);
    EXPECT_EQ(editor->AlgorithmCaption(), "  Algorithm  32  ");
    EXPECT_EQ(editor->displayText(135), "32");
    EXPECT_EQ(synth.parameters, (std::vector<Send>{{135, 31, false, true}}));
    EXPECT_FALSE(editor->AlgorithmChange(32));
    EXPECT_EQ(editor->value(135), 31);
}

TEST_F(EditorFixture, NameChangeWritesTenCharactersAndTheCaption)
{
    ASSERT_TRUE(editor->VoiceNameChange("E.PIANO"));
    EXPECT_EQ(editor->voiceName(), "E.PIANO   ");
    EXPECT_EQ(editor->caption(), "E.PIANO");
    EXPECT_EQ(editor->editor().caption, "E.PIANO");
    EXPECT_EQ(editor->displayText(146), "E");
    EXPECT_FALSE(editor->VoiceNameChange("BAD\x01NAME"));
    EXPECT_FALSE(editor->VoiceNameChange("CAF\xc3\xa9"));
    EXPECT_EQ(editor->voiceName(), "E.PIANO   ");
    ASSERT_TRUE(editor->Undo());
    EXPECT_EQ(editor->voiceName(), "VOICE2    ");
    EXPECT_EQ(editor->caption(), "VOICE2");
}

// --- copying groups ----------------------------------------------------------------------

TEST_F(EditorFixture, EnvelopeOfOperator2OntoOperator5CopiesEightValues)
{
    std::vector<ParameterEdit> values;
    for (int j = 0; j < 8; ++j)
        values.push_back({opParam(2, j), 10 + j});
    ASSERT_TRUE(editor->SetValues(values));
    const ByteString before = editor->voice();
    synth.clear();

    EXPECT_FALSE(editor->CopyVoiceElementData(editor->element(Kind::Grid, 2), editor->element(Kind::Grid, 11)));
    EXPECT_EQ(editor->voice(), before);

    ASSERT_TRUE(editor->CopyVoiceElementData(editor->element(Kind::Grid, 2), editor->element(Kind::Grid, 5)));
    ByteString expected = before;
    for (int j = 0; j < 8; ++j)
        expected[static_cast<std::size_t>(opParam(5, j) - 1)] = toChar(10 + j);
    EXPECT_EQ(editor->voice(), expected);
    EXPECT_EQ(synth.voices, std::vector<ByteString>{expected});

    ASSERT_TRUE(editor->Undo());
    EXPECT_EQ(editor->voice(), before);
}

TEST_F(EditorFixture, AnOperatorLabelCopiesAll21Rows)
{
    std::vector<ParameterEdit> values;
    for (int j = 0; j < 21; ++j)
        values.push_back({opParam(4, j), j == 17 ? 1 : j % 4});
    ASSERT_TRUE(editor->SetValues(values));
    const ByteString before = editor->voice();
    ASSERT_TRUE(editor->CopyVoiceElementData(editor->element(Kind::Label, 4), editor->element(Kind::Label, 1)));
    const ByteString after = editor->voice();
    EXPECT_EQ(after.substr(static_cast<std::size_t>(opParam(1, 0) - 1), 21),
              before.substr(static_cast<std::size_t>(opParam(4, 0) - 1), 21));
    EXPECT_EQ(after.substr(0, 105), before.substr(0, 105)); // operators 6 to 2 untouched
    EXPECT_EQ(editor->gridText(13, 0), "Fixed");
}

TEST_F(EditorFixture, AGraphCopiesItsGroupFromAnotherEditorOfAnotherList)
{
    auto other = openNew("other.dat", 3, 2);
    ASSERT_TRUE(other);
    auto source = openCore(*other, 1);
    ASSERT_TRUE(source);
    std::vector<ParameterEdit> values;
    for (int j = 8; j <= 12; ++j)
        values.push_back({opParam(6, j), j == 11 || j == 12 ? 2 : 40 + j});
    ASSERT_TRUE(source->SetValues(values));

    ASSERT_TRUE(editor->CopyVoiceElementData(source->element(Kind::Graph, 12), editor->element(Kind::Graph, 7)));
    for (int j = 8; j <= 12; ++j)
        EXPECT_EQ(editor->value(opParam(1, j)), source->value(opParam(6, j))) << j;
    EXPECT_EQ(editor->gridText(7, 3), "+EXP");
    // The target must be this editor.
    EXPECT_FALSE(editor->CopyVoiceElementData(editor->element(Kind::Graph, 7), source->element(Kind::Graph, 12)));
}

// --- undo and redo ------------------------------------------------------------------

TEST_F(EditorFixture, EveryKindOfEditUndoesAndRedoesInOrder)
{
    std::vector<ByteString> states{editor->voice()};
    auto step = [&](bool ok) {
        ASSERT_TRUE(ok);
        states.push_back(editor->voice());
    };
    step(editor->SpinChange(3, 1, 55));
    step(editor->TypedEntry(9, 3, "+LIN"));
    editor->beginEditGroup();
    ASSERT_TRUE(editor->SetValues({{opParam(4, 0), 10}, {opParam(4, 4), 90}}));
    ASSERT_TRUE(editor->SetValues({{opParam(4, 0), 20}, {opParam(4, 4), 80}}));
    EXPECT_FALSE(editor->canUndo()); // not while a drag is open
    editor->endEditGroup();
    states.push_back(editor->voice());
    step(editor->AlgorithmChange(21));
    step(editor->VoiceNameChange("ZZ"));
    step(editor->CopyVoiceElementData(editor->element(Kind::Grid, 3), editor->element(Kind::Grid, 6)));
    step(editor->ResetVoice());
    EXPECT_EQ(editor->undoLabel(), "Reset");

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(editor->Undo()) << i;
        EXPECT_EQ(editor->voice(), states[i - 1]) << i;
    }
    EXPECT_FALSE(editor->canUndo());
    EXPECT_EQ(editor->caption(), "VOICE2");
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(editor->Redo()) << i;
        EXPECT_EQ(editor->voice(), states[i]) << i;
    }
    EXPECT_FALSE(editor->canRedo());

    // A new edit after an undo drops what could be redone.
    ASSERT_TRUE(editor->Undo());
    ASSERT_TRUE(editor->SpinChange(1, 0, 1));
    EXPECT_FALSE(editor->canRedo());
}

TEST_F(EditorFixture, UndoSendsWhatItChangesAndRefreshesTexts)
{
    std::vector<EditorRefresh> refreshes;
    editor->onRefresh = [&](const EditorRefresh& r) { refreshes.push_back(r); };
    ASSERT_TRUE(editor->SpinChange(13, 0, 1)); // operator 1 fixed
    synth.clear();
    refreshes.clear();
    ASSERT_TRUE(editor->Undo());
    EXPECT_EQ(synth.parameters, (std::vector<Send>{{opParam(1, 17), 0, false, false}}));
    EXPECT_EQ(editor->gridText(13, 1), "1.0");
    ASSERT_EQ(refreshes.size(), 1u);
    EXPECT_EQ(refreshes[0].grids, std::vector<int>{13});
}

// --- reset, saving, closing, activation --------------------------------------------------------

TEST_F(EditorFixture, TheListsResetQuestionGoesThroughTheEditor)
{
    const ByteString saved = editor->voice();
    ASSERT_TRUE(editor->SpinChange(1, 0, 3));
    std::vector<EditorRefresh> refreshes;
    editor->onRefresh = [&](const EditorRefresh& r) { refreshes.push_back(r); };
    ASSERT_TRUE(list->resetEditor(VoiceList::editorKey(2)));
    EXPECT_EQ(editor->voice(), saved);
    ASSERT_EQ(refreshes.size(), 1u);
    EXPECT_TRUE(refreshes[0].all);
    EXPECT_EQ(synth.voices.back(), saved);
    EXPECT_EQ(editor->gridText(7, 0), "A-1 "); // texts filled again after the reload
    ASSERT_TRUE(editor->Undo());
    EXPECT_EQ(editor->value(opParam(1, 0)), 3);
}

TEST_F(EditorFixture, SavingWritesIntoTheListWhichThenCountsAsChanged)
{
    EXPECT_EQ(editor->SaveVoice(false), VoiceEditorCore::SaveResult::Unchanged);
    ASSERT_TRUE(editor->VoiceNameChange("SAVED"));
    ASSERT_TRUE(editor->SpinChange(25, 0, 77));
    EXPECT_TRUE(editor->isChanged());
    EXPECT_FALSE(list->isChanged());
    EXPECT_EQ(editor->SaveVoice(false), VoiceEditorCore::SaveResult::Saved);
    EXPECT_EQ(nameAt(*list, 2), "SAVED     ");
    EXPECT_TRUE(list->isChanged());
    EXPECT_FALSE(editor->isChanged());
    EXPECT_TRUE(ui.boxes.empty());

    ASSERT_TRUE(editor->SpinChange(25, 0, 78));
    ui.answers.push_back(MsgResult::No);
    EXPECT_EQ(editor->SaveVoice(true), VoiceEditorCore::SaveResult::Declined);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "SAVED has changed\r\nSave Changes ?");
    EXPECT_EQ(ui.boxes[0].title, "Save Voice");
}

TEST_F(EditorFixture, ClosingAsksOnlyWhenChangedAndCancelKeepsTheEditor)
{
    EXPECT_TRUE(editor->QueryClose());
    EXPECT_TRUE(ui.boxes.empty());

    ASSERT_TRUE(editor->SpinChange(25, 0, 77));
    ui.answers = {MsgResult::Cancel, MsgResult::No, MsgResult::Yes};
    EXPECT_FALSE(editor->QueryClose());
    EXPECT_TRUE(editor->QueryClose());
    EXPECT_FALSE(list->isChanged()); // No drops the edit
    EXPECT_TRUE(editor->QueryClose());
    EXPECT_TRUE(list->isChanged()); // Yes stores it
    ASSERT_EQ(ui.boxes.size(), 3u);
    EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::YesNoCancel);
}

TEST_F(EditorFixture, ActivationSendsTheVoiceOnlyWithMidiOn)
{
    editor->Activate();
    EXPECT_EQ(synth.voices, std::vector<ByteString>{makeVoice("VOICE2", 2)});
    synth.open = false;
    editor->Activate();
    ASSERT_TRUE(editor->SpinChange(1, 0, 5));
    EXPECT_EQ(synth.sends(), 1u);
}

} // namespace
} // namespace toneloft::test
