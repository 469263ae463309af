#include "support/SessionFixture.h"

#include "voice/VoiceEditor.h"
#include "voice/VoiceRecordset.h"
#include "voice/VoiceStore.h"
#include "voice/clsVoiceData.h"

namespace toneloft {
namespace {

// Editors are made by the list: they own a share of their tables and reach them
// only through it, whatever happens to the tables meanwhile.
class VoiceEditors : public test::SessionFixture {
protected:
    // Sets one parameter's Value text (1-based, as the table's ParamID; 146 is the
    // name's first character, held as the character itself) in the editor's table.
    static void setParameter(VoiceEditor& editor, int parameter, const std::string& value)
    {
        Recordset& table = editor.voiceData()->voiceData();
        table.setAbsolutePosition(parameter);
        ASSERT_EQ(table.number("ParamID"), parameter);
        table.setValue("Value", value);
        table.update();
    }
};

TEST_F(VoiceEditors, OneEditorPerVoiceAndOnlyForVoicesOfTheList)
{
    auto list = openNew("four.dat", 0, 4);
    ASSERT_TRUE(list);
    auto editor = list->openEditor(3);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->key(), "V3");
    EXPECT_EQ(editor->voicePosition(), 3);
    EXPECT_EQ(editor->caption, "VOICE3");
    EXPECT_EQ(editor->list, list.get());
    ASSERT_NE(editor->voiceData(), nullptr);
    EXPECT_EQ(editor->voiceData()->voiceData().recordCount(), 155);
    EXPECT_EQ(list->Editors.Item("V3"), editor);
    EXPECT_EQ(list->Recordsets.Item("V3"), editor->data);

    EXPECT_EQ(list->openEditor(3), nullptr);
    EXPECT_EQ(list->openEditor(0), nullptr);
    EXPECT_EQ(list->openEditor(5), nullptr);
    EXPECT_EQ(list->Editors.count(), 1);
    EXPECT_EQ(list->Recordsets.count(), 1);
    EXPECT_FALSE(list->resetEditor("V4"));

    EXPECT_TRUE(editor->requestClose());
    EXPECT_EQ(list->Editors.count(), 0);
    EXPECT_EQ(list->Recordsets.count(), 0);
}

// Reset to the saved version replaces the editor's tables; storing the voice
// afterwards must read the new ones (it read freed memory when the editor kept
// a pointer to the first tables).
TEST_F(VoiceEditors, ResetWhileAnEditorIsOpenThenStore)
{
    auto list = openNew("four.dat", 0, 4);
    ASSERT_TRUE(list);
    auto editor = list->openEditor(2);
    ASSERT_TRUE(editor);
    setParameter(*editor, 146, "Q");
    ASSERT_TRUE(list->resetEditor("V2"));
    // The unsaved edit is gone with the old tables.
    EXPECT_TRUE(SaveVoice(session, false, editor.get()));
    EXPECT_EQ(nameAt(*list, 2), "VOICE2    ");
    EXPECT_FALSE(list->isChanged());

    setParameter(*editor, 146, "Z");
    EXPECT_TRUE(SaveVoice(session, false, editor.get()));
    EXPECT_EQ(nameAt(*list, 2), "ZOICE2    ");
    EXPECT_TRUE(list->isChanged());
    EXPECT_TRUE(ui.boxes.empty());

    // The editor's share keeps its tables alive even when the list lets go of them.
    list->Recordsets.Remove("V2");
    ASSERT_NE(editor->voiceData(), nullptr);
    EXPECT_EQ(editor->voiceData()->voiceData().recordCount(), 155);
}

} // namespace
} // namespace toneloft
