#include "editor/VoiceEditorCore.h"

#include "midi/MidiSession.h"
#include "midi/ScriptedDialogs.h"
#include "midi/VirtualDx7Backend.h"
#include "support/SessionFixture.h"
#include "voice/VoiceEditor.h"

#include <gtest/gtest.h>

#include <memory>

namespace toneloft::test {
namespace {

using Applied = VirtualDx7::Applied;

// The editor over the program's MIDI with the virtual DX7 at the other end.
class EditorOnVirtualDx7 : public SessionFixture {
protected:
    EditorOnVirtualDx7() { ui.onEvents = [this](ScriptedUi&) { midi.devices().dispatchInput(); }; }

    void SetUp() override
    {
        ASSERT_EQ(midi.devices().OpenMidiDevices(0, 0), 0);
        midi.devices().dispatchInput();
        list = openNew("bank.dat", 3, 32);
        ASSERT_TRUE(list);
        editor = std::make_unique<VoiceEditorCore>(session, list->openEditor(7));
        ASSERT_TRUE(editor->isValid());
        editor->Activate();
        ASSERT_EQ(dx7.instrument().editBuffer(), editor->voice());
        dx7.instrument().clearApplied();
    }

    std::vector<Applied> parameterChanges() const
    {
        std::vector<Applied> out;
        for (const Applied& a : dx7.instrument().applied())
            if (a.kind == Applied::Kind::Parameter)
                out.push_back(a);
        return out;
    }

    VirtualDx7Backend dx7{[this] { return ui.now; }};
    ScriptedDialogs dialogs;
    MidiSession midi{session, dx7, dialogs};
    std::shared_ptr<VoiceList> list;
    std::unique_ptr<VoiceEditorCore> editor;
};

TEST_F(EditorOnVirtualDx7, EverySpinStepArrivesAsOneParameterChange)
{
    const struct {
        int grid, row, value;
    } steps[] = {{1, 0, 98}, {1, 0, 97}, {7, 3, 2}, {13, 1, 4}, {25, 5, 3}, {26, 2, 25}, {0, 7, 51}};
    for (const auto& s : steps) {
        dx7.instrument().clearApplied();
        const int p = editor->paramIdAt(s.grid, s.row);
        ASSERT_TRUE(editor->SpinChange(s.grid, s.row, s.value));
        const auto changes = parameterChanges();
        ASSERT_EQ(changes.size(), 1u) << "grid " << s.grid;
        EXPECT_EQ(changes[0].parameter, p - 1); // DX7 parameters count from 0
        EXPECT_EQ(changes[0].value, s.value);
    }
    EXPECT_EQ(dx7.instrument().editBuffer(), editor->voice());
}

TEST_F(EditorOnVirtualDx7, AfterEditsAndUndosTheEditBufferIsTheEditorsVoice)
{
    using Kind = EditorElement::Kind;
    ASSERT_TRUE(editor->SpinChange(3, 0, 20));
    ASSERT_TRUE(editor->TypedEntry(15, 0, "Fixed"));
    ASSERT_TRUE(editor->TypedEntry(15, 2, "102.3 Hz"));
    editor->beginEditGroup();
    ASSERT_TRUE(editor->SetValues({{(6 - 2) * 21 + 2, 5}, {(6 - 2) * 21 + 6, 60}}));
    editor->endEditGroup();
    ASSERT_TRUE(editor->AlgorithmChange(17));
    ASSERT_TRUE(editor->VoiceNameChange("UNDONE"));
    ASSERT_TRUE(editor->CopyVoiceElementData(editor->element(Kind::Label, 3), editor->element(Kind::Label, 6)));
    EXPECT_EQ(dx7.instrument().editBuffer(), editor->voice());

    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(editor->Undo());
    EXPECT_EQ(dx7.instrument().editBuffer(), editor->voice());
    ASSERT_TRUE(editor->Redo());
    ASSERT_TRUE(editor->ResetVoice());
    ASSERT_TRUE(editor->Undo());
    ASSERT_TRUE(editor->Undo());
    EXPECT_EQ(dx7.instrument().editBuffer(), editor->voice());
    EXPECT_EQ(editor->frequencyText(3), "102.3 Hz");

    // The on/off mask is the instrument's, not the voice's; bit 5 is operator 1.
    ASSERT_TRUE(editor->ToggleOperator(3));
    EXPECT_EQ(dx7.instrument().operatorMask(), 0x3F & ~(1 << (6 - 3)));
    EXPECT_EQ(dx7.instrument().editBuffer(), editor->voice());
}

} // namespace
} // namespace toneloft::test
