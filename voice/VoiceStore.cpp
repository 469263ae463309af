#include "voice/VoiceStore.h"

#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/VoicePacking.h"
#include "voice/clsVoiceData.h"
#include "voice/clsVoiceNames.h"

namespace toneloft {

bool SaveVoice(Session& session, bool ask, VoiceEditor* editor)
{
    UiServices& ui = session.ui();
    if (!editor) {
        editor = clsVoiceNames(session).GetCurrentVoiceListAndEditor().editor;
        if (!editor) {
            ui.MsgBox("Please select a voice to save ", "No voice list selected");
            return false;
        }
    }
    clsVoiceData* tables = editor->voiceData();
    if (!editor->list || !tables)
        return false;
    VoiceList& list = *editor->list;

    ByteString voice;
    std::int32_t crc = 0;
    tables->PutVoiceDataInString(tables->voiceData(), voice, list.FileType, false, crc);
    if (crc == editor->storedCrc)
        return true;
    if (crc == 0) {
        ui.MsgBox("Checksum error - voice is corrupted and can't be saved", "Error in voice data");
        return false;
    }
    if (ask) {
        const MsgResult answer = ui.MsgBox(editor->caption + " has changed\r\nSave Changes ?", "Save Voice",
                                           MsgIcon::None, MsgButtons::YesNoCancel);
        if (answer != MsgResult::Yes)
            return false;
    }
    ListEditStep step(list, "Save Voice");
    if (!SaveVoiceData(list.rsmfimage(), list.FileType, editor->voicePosition(), voice, false)) {
        ui.MsgBox("An error occured whilst saving the voice data", "Error saving voice data");
        return false;
    }
    step.commit();
    editor->storedCrc = crc;
    session.notify([&](SessionObserver& o) { o.listChanged(list); });
    return true;
}

bool SaveVoiceData(Recordset& names, int fileType, long position, std::string_view voice, bool append)
{
    const ByteString stored = IsPackedType(fileType) ? Pack(voice) : ByteString(voice);
    if (stored.size() < 10)
        return false;
    auto rows = names.clone();
    if (append) {
        rows->addNew();
        rows->setValue(clsVoiceNames::kID, std::to_string(rows->recordCount()));
        rows->setValue(clsVoiceNames::kDelSelected, false);
    } else {
        if (position < 1 || position > rows->recordCount())
            return false;
        rows->setAbsolutePosition(position);
    }
    rows->setValue(clsVoiceNames::kData, stored.substr(0, stored.size() - 10));
    rows->setValue(clsVoiceNames::kNames, stored.substr(stored.size() - 10));
    rows->update();
    return true;
}

} // namespace toneloft
