#include "voice/clsVoiceNames.h"

#include "common/Crc32.h"
#include "voice/PartialBank.h"
#include "common/FileReplacing.h"
#include "voice/Session.h"
#include "voice/VoiceFileContent.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/VoicePacking.h"
#include "voice/VoiceStore.h"
#include "voice/clsVoiceLists.h"

#include <filesystem>

namespace toneloft {

namespace {

constexpr const char* kInitFileTitle = "DXInit.dat";

void deleteFile(const std::string& fileName)
{
    std::error_code ec;
    std::filesystem::remove(fileName, ec);
}

} // namespace

bool clsVoiceNames::FileSave(bool saveAs, VoiceList* givenList)
{
    const SaveOutcome outcome = SaveList(saveAs, givenList);
    return outcome == SaveOutcome::Saved || outcome == SaveOutcome::NotNeeded;
}

clsVoiceNames::SaveOutcome clsVoiceNames::SaveList(bool saveAs, VoiceList* givenList)
{
    UiServices& ui = m_session.ui();
    const bool listGiven = givenList != nullptr;
    VoiceList* list = givenList;
    if (!list) {
        const CurrentVoiceList current = GetCurrentVoiceListAndEditor();
        if (!current.list) {
            ui.MsgBox("Please select a voice list ", "No voice list selection");
            return SaveOutcome::Failed;
        }
        list = current.list;
        if (current.editorActive)
            SaveVoice(m_session, true, current.editor);
    }
    // The list may be closed along the way (another list of the chosen name); keep it alive.
    const auto keep = m_session.colVoiceLists().Item(list->ID);

    ShowStatus(ui, "Please wait");
    ByteArray image = list->image();
    std::int32_t crc = image.empty() ? VoiceList::kEmptyImageCrc : CalcCRC32(image);
    ShowStatus(ui, "", 0, 0);

    if (list->rsmfimage().recordCount() == 0) {
        const MsgResult answer = ui.MsgBox(
            list->FileTitle + " contains no patches.\r\n" +
                (listGiven ? "Do you want to save it as an empty file ?"
                           : "Are you sure you want to save it as an empty file ?"),
            "Empty File", MsgIcon::Exclamation, MsgButtons::YesNoCancel);
        if (answer == MsgResult::No)
            return SaveOutcome::Declined;
        if (answer != MsgResult::Yes)
            return SaveOutcome::Cancelled;
    }

    if (crc == list->mark && !saveAs)
        return SaveOutcome::NotNeeded;

    SaveTarget target;
    const SaveOutcome chosen = chooseSaveFile(*list, listGiven, target);
    if (chosen != SaveOutcome::Saved)
        return chosen;
    int type = list->FileType;
    if (!chooseSaveLayout(*list, image, crc, type))
        return SaveOutcome::Cancelled;
    bool filled = false;
    if (type == 3) {
        const long voices = static_cast<long>(image.size() / kPackedVoiceSize);
        switch (AskPartialBank(ui, target.fileTitle, voices)) {
        case PartialBankChoice::Cancel: return SaveOutcome::Cancelled;
        case PartialBankChoice::Fill:
            // The list takes the added voices too, so that it stays what its file holds.
            filled = FillLastBank(image) > 0;
            crc = CalcCRC32(image);
            break;
        case PartialBankChoice::KeepShort: break;
        }
    }

    const bool framed = type == 1 || type == 3;
    if (!SaveVoiceDataToFileByt(&image, target.fileName, type, framed, {}, target.fileTitle,
                                FileAttributes::Normal))
        return SaveOutcome::Failed;

    // Written: only now does the list take its new name and layout, and a
    // temporary file it came from go.
    if (target.deleteOldFile)
        deleteFile(list->FileName);
    if (list->FileTitle == Session::kPatchGenTitle && target.fileName != list->FileName)
        m_session.notify([](SessionObserver& o) { o.patchGeneratorListReleased(); });
    list->FileName = target.fileName;
    list->FileTitle = target.fileTitle;
    list->FilePath = target.fileName.substr(0, target.fileName.size() - target.fileTitle.size());
    if (filled || IsPackedType(type) != IsPackedType(list->FileType)) {
        bool anyCleaned = false;
        list->setRsmfimage(BuildVoiceNameTable(image, type, anyCleaned));
    }
    // The layout written, not one guessed from the length: the rows' Data width follows it.
    list->FileType = type;
    const bool wasNew = list->mark == VoiceList::kNeverSaved;
    list->mark = crc;
    if (wasNew || saveAs)
        list->caption = list->FileTitle;
    m_session.notify([&](SessionObserver& o) { o.listChanged(*list); });
    return SaveOutcome::Saved;
}

clsVoiceNames::SaveOutcome clsVoiceNames::chooseSaveFile(VoiceList& list, bool listGiven, SaveTarget& target)
{
    UiServices& ui = m_session.ui();
    const bool needsNewName = list.needsNewName();
    if (listGiven) {
        const std::string reason = needsNewName ? list.FileTitle + " must be saved under a different name"
                                                : list.FileTitle + " has changed";
        const MsgResult answer =
            ui.MsgBox(reason + "\r\nOK to save ?", "Save File", MsgIcon::None, MsgButtons::YesNoCancel);
        if (answer == MsgResult::No) {
            if (needsNewName && list.FileTitle != kInitFileTitle)
                deleteFile(list.FileName);
            return SaveOutcome::Declined;
        }
        if (answer != MsgResult::Yes)
            return SaveOutcome::Cancelled;
    }

    FileChoice choice;
    for (;;) {
        choice = needsNewName ? GetFileName("Save DX7 Voice Data File ", DialogMode::Save)
                              : GetFileName("Save DX7 Voice Data File ", DialogMode::Save, list.FileName,
                                            list.FileTitle);
        if (!choice.chosen)
            return SaveOutcome::Cancelled;
        // The init file is never overwritten, whichever list is saved.
        if ((needsNewName && choice.fileName == list.FileName) || choice.fileName == m_session.initFilePath()) {
            ui.MsgBox("Please save " + list.FileTitle + " under a different name ", "Invalid File Name",
                      MsgIcon::Critical);
            continue;
        }
        break;
    }

    if (!replaceOtherOpenList(choice.fileName, choice.fileTitle, list))
        return SaveOutcome::Cancelled;

    target.fileName = choice.fileName;
    target.fileTitle = choice.fileTitle;
    target.deleteOldFile = needsNewName && list.FileTitle != kInitFileTitle && choice.fileName != list.FileName;
    return SaveOutcome::Saved;
}

bool clsVoiceNames::replaceOtherOpenList(const std::string& chosenName, const std::string& chosenTitle,
                                         VoiceList& list)
{
    std::shared_ptr<VoiceList> other;
    for (const auto& open : m_session.colVoiceLists().NewEnum())
        if (open.get() != &list && open->FileName == chosenName)
            other = open;
    if (!other)
        return true;

    UiServices& ui = m_session.ui();
    if (VoiceEditor* editor = m_session.activeEditor())
        SaveVoice(m_session, false, editor);
    if (!other->isChanged()) {
        const MsgResult answer =
            ui.MsgBox("You already have a file open with the name " + chosenName + "\r\n" +
                          "Are you sure you want to replace " + chosenTitle + " ?",
                      "File Open", MsgIcon::Exclamation, MsgButtons::YesNoCancel);
        if (answer != MsgResult::Yes)
            return false;
    } else {
        const MsgResult answer =
            ui.MsgBox("You already have a file open with the name " + chosenName + "\r\n" +
                          "Changes have been made to the file since it was last saved. \r\n\r\n" +
                          "Are you sure you want to replace " + chosenTitle + " ?",
                      "Unsaved Changes", MsgIcon::Exclamation, MsgButtons::YesNoCancel);
        if (answer != MsgResult::Yes)
            return false;
        other->mark = other->imageCrc();
    }
    return other->requestClose(false);
}

bool clsVoiceNames::chooseSaveLayout(VoiceList& list, ByteArray& image, std::int32_t& crc, int& type)
{
    const std::optional<int> chosen = m_session.ui().chooseSaveFormat(list.FileType);
    if (!chosen || *chosen < 0 || *chosen > 3)
        return false;
    m_session.chosenSaveFormat = *chosen;
    if (*chosen != list.FileType) {
        if (!RestructureFileBufferByt(m_session.ui(), image, list.FileType, *chosen))
            return false;
        crc = image.empty() ? VoiceList::kEmptyImageCrc : CalcCRC32(image);
    }
    type = *chosen;
    return true;
}

bool clsVoiceNames::SaveVoiceDataToFileByt(const ByteArray* buffer, const std::string& fileName, int fileType,
                                           bool framing, std::string_view dataText, std::string fileTitle,
                                           FileAttributes attributes)
{
    UiServices& ui = m_session.ui();
    if (fileTitle.empty())
        fileTitle = fileName;
    ShowStatus(ui, "Please Wait - Saving " + fileTitle);

    ByteArray data;
    if (buffer) {
        data = *buffer;
    } else {
        if (dataText.empty()) {
            ShowStatus(ui, "", 0, 0);
            return true; // nothing to write is no failure
        }
        data.assign(dataText.begin(), dataText.end());
    }

    if (fileType < 0) {
        fileType = FileTypeOfContent(data);
        if (fileType == -3) {
            ShowStatus(ui, "", 0, 0);
            ui.MsgBox("The data is not in a recognisable DX file format ", "Invalid FileFormat", MsgIcon::Critical);
            return false;
        }
    }
    if (framing && (fileType == 1 || fileType == 3))
        data = FrameVoiceImage(data, fileType, ui);

    // Hidden files have no portable meaning here; the attribute only documents intent.
    (void)attributes;
    // A user who took away a file's write permission meant it: ask first.
    if (IsReadOnlyFile(ResolveSaveTarget(fileName))) {
        ShowStatus(ui, "", 0, 0);
        const MsgResult answer = ui.MsgBox(fileTitle + " is read-only.\r\nDo you want to replace it ?",
                                           "Read-Only File", MsgIcon::Exclamation, MsgButtons::YesNo);
        if (answer != MsgResult::Yes)
            return false;
    }
    std::string reason;
    const bool ok = WriteFileReplacing(fileName, data, &reason);
    ShowStatus(ui, "", 0, 0);
    if (!ok) {
        ui.log("Couldn't write " + fileName + ": " + reason);
        // The box's text first, as ever; the system's reason on a line of its own.
        ui.MsgBox("Couldn't open " + fileName + "\r\n\r\n" + reason, "File Access Error", MsgIcon::Exclamation);
        return false;
    }
    return true;
}

void clsVoiceNames::FileClose(VoiceList& list)
{
    const auto keep = m_session.colVoiceLists().Item(list.ID);
    m_session.colVoiceLists().Delete(list.ID);
    if (list.mark == VoiceList::kNeverSaved && list.FileTitle != kInitFileTitle)
        deleteFile(list.FileName);
}

} // namespace toneloft
