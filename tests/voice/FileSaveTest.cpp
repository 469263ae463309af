#include "support/SessionFixture.h"

#include "voice/VoiceFileFormat.h"

#include <filesystem>
#include <sys/stat.h>

namespace toneloft {
namespace {

namespace fs = std::filesystem;
using test::makeVoiceFile;
using Outcome = clsVoiceNames::SaveOutcome;

class FileSave : public test::SessionFixture {
protected:
    Outcome saveAs(VoiceList& list, const std::string& name, std::optional<int> format)
    {
        session.setActive(&list, nullptr);
        chooseSaveFile(name);
        ui.formatAnswers.push_back(format);
        return list.names().SaveList(true, nullptr);
    }
    static long long sizeOf(const std::string& p) { return static_cast<long long>(fs::file_size(p)); }
};

TEST_F(FileSave, SaveOnAnUnchangedListDoesNothingButSaveAsAsks)
{
    auto list = openNew("a.syx", 3, 32);
    ASSERT_TRUE(list);
    session.setActive(list.get(), nullptr);
    EXPECT_EQ(list->names().SaveList(false, nullptr), Outcome::NotNeeded);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.fileRequests.empty());

    EXPECT_EQ(list->names().SaveList(true, nullptr), Outcome::Cancelled); // the dialog was cancelled
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Save DX7 Voice Data File ");
    EXPECT_EQ(ui.fileRequests[0].initialFile, "a.syx");
    EXPECT_EQ(ui.fileRequests[0].helpTopic, "::/dlg_MainWindow.htm#FileSaveAs");
}

TEST_F(FileSave, WithNoListTheUserIsToldToPickOne)
{
    EXPECT_FALSE(clsVoiceNames(session).FileSave(false, nullptr));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Please select a voice list ");
    EXPECT_EQ(ui.boxes[0].title, "No voice list selection");
}

TEST_F(FileSave, FortyPackedVoicesAsBankMessages)
{
    auto list = openNew("forty.dat", 2, 40);
    ASSERT_TRUE(list);
    ui.answers.push_back(MsgResult::No); // keep the short last message
    ASSERT_EQ(saveAs(*list, "forty.syx", 3), Outcome::Saved);
    const ByteString bytes = test::TempDir::read(dir.file("forty.syx"));
    ASSERT_EQ(bytes.size(), 5136u);
    EXPECT_EQ(bytes.substr(4104, 6), ByteString("\xF0\x43\x00\x09\x20\x00", 6));
    EXPECT_EQ(byteAt(bytes, 5135), 0xF7);
    EXPECT_TRUE(ui.sawStatus("Please Wait - Checking File  "));
    EXPECT_TRUE(ui.sawStatus("Please Wait - Saving forty.syx  "));
    EXPECT_EQ(list->FileType, 3);
    EXPECT_EQ(list->FileTitle, "forty.syx");
    EXPECT_EQ(list->caption, "forty.syx");
    EXPECT_FALSE(list->isChanged());

    list->names().FileClose(*list);
    auto back = open(dir.file("forty.syx"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->voiceCount(), 40);
    EXPECT_EQ(nameAt(*back, 40), "VOICE40   ");
}

TEST_F(FileSave, SingleVoiceMessagesAndTheTypeTheLengthGives)
{
    auto two = openNew("two.dat", 0, 2);
    ASSERT_TRUE(two);
    ASSERT_EQ(saveAs(*two, "two.syx", 1), Outcome::Saved);
    EXPECT_EQ(sizeOf(dir.file("two.syx")), 326);
    EXPECT_EQ(two->FileType, 1);

    auto many = openNew("many.dat", 0, 155);
    ASSERT_TRUE(many);
    ASSERT_EQ(saveAs(*many, "many.syx", 1), Outcome::Saved);
    EXPECT_EQ(sizeOf(dir.file("many.syx")), 25265);
    // 25265 = 163 x 155 fits raw unpacked voices too: the messages inside decide.
    EXPECT_EQ(many->FileType, 1);
    EXPECT_TRUE(ui.sawStatus("Please wait - adding sysex wrappers to voice  33 of  155  "));
}

TEST_F(FileSave, ChangingLayoutClassRebuildsTheTable)
{
    auto list = openNew("raw.dat", 0, 33);
    ASSERT_TRUE(list);
    ui.answers.push_back(MsgResult::No);
    ASSERT_EQ(saveAs(*list, "packed.syx", 3), Outcome::Saved);
    EXPECT_EQ(list->FileType, 3);
    EXPECT_EQ(list->voiceCount(), 33);
    list->rsmfimage().moveFirst();
    EXPECT_EQ(list->rsmfimage().text("Data").size(), 118u);
    EXPECT_EQ(sizeOf(dir.file("packed.syx")), 4104 + 6 + 128 + 2);
    EXPECT_EQ(session.chosenSaveFormat, 3);
    EXPECT_EQ(ui.formatRequests.back(), 0);
}

TEST_F(FileSave, ABankSavedAgainAsABankStaysFramed)
{
    auto list = openNew("a.syx", 3, 64);
    ASSERT_TRUE(list);
    ASSERT_EQ(saveAs(*list, "b.syx", 3), Outcome::Saved);
    EXPECT_EQ(test::TempDir::read(dir.file("b.syx")), test::TempDir::read(dir.file("a.syx")));
}

TEST_F(FileSave, CancellingTheFormatStopsWithoutWriting)
{
    auto list = openNew("a.syx", 3, 32);
    ASSERT_TRUE(list);
    EXPECT_EQ(saveAs(*list, "b.syx", std::nullopt), Outcome::Cancelled);
    EXPECT_FALSE(fs::exists(dir.file("b.syx")));
}

TEST_F(FileSave, TheInitFileIsNeverSavedOver)
{
    auto fresh = open(session.initFilePath(), true);
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(fresh->needsNewName());
    const ByteString init = test::TempDir::read(session.initFilePath());
    session.setActive(fresh.get(), nullptr);
    chooseSaveFile("DXInit.dat");
    chooseSaveFile("mine.syx");
    EXPECT_EQ(fresh->names().SaveList(false, nullptr), Outcome::Saved);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Please save DXInit.dat under a different name ");
    EXPECT_EQ(ui.boxes[0].title, "Invalid File Name");
    EXPECT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_TRUE(ui.fileRequests[0].initialFile.empty()); // a new list has no name to start from
    EXPECT_EQ(test::TempDir::read(session.initFilePath()), init);
    EXPECT_EQ(fresh->FileTitle, "mine.syx");
    EXPECT_FALSE(fresh->needsNewName());

    // Closing a new list leaves the init file alone.
    auto other = open(session.initFilePath(), true);
    ASSERT_TRUE(other);
    ui.answers.push_back(MsgResult::No);
    EXPECT_TRUE(other->requestClose(true));
    EXPECT_TRUE(fs::exists(session.initFilePath()));
}

TEST_F(FileSave, ClosingAChangedListAsksAndHonoursTheAnswer)
{
    auto list = openNew("a.syx", 3, 32);
    ASSERT_TRUE(list);
    list->rsmfimage().moveFirst();
    list->rsmfimage().setValue("Names", std::string("CHANGED"));
    list->rsmfimage().update();
    ASSERT_TRUE(list->isChanged());

    ui.answers.push_back(MsgResult::Cancel);
    EXPECT_FALSE(list->requestClose(false));
    EXPECT_TRUE(session.CancelClose);
    EXPECT_EQ(session.colVoiceLists().count(), 1);
    EXPECT_EQ(ui.lastBox().text, "a.syx has changed\r\nOK to save ?");
    EXPECT_EQ(ui.lastBox().title, "Save File");
    EXPECT_EQ(ui.lastBox().icon, MsgIcon::None);

    const ByteString before = test::TempDir::read(dir.file("a.syx"));
    ui.answers.push_back(MsgResult::No);
    EXPECT_TRUE(list->requestClose(true));
    EXPECT_EQ(session.colVoiceLists().count(), 0);
    EXPECT_EQ(test::TempDir::read(dir.file("a.syx")), before);
}

TEST_F(FileSave, ClosingATemporaryListDeletesItsFile)
{
    const std::string path = dir.write("temp.dat", makeVoiceFile(3, 32));
    auto list = open(path, true);
    ASSERT_TRUE(list);
    ui.answers.push_back(MsgResult::No);
    EXPECT_TRUE(list->requestClose(true));
    EXPECT_EQ(ui.lastBox().text, "temp.dat must be saved under a different name\r\nOK to save ?");
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(FileSave, ReplacingAnotherOpenListAsksFirst)
{
    auto a = openNew("a.syx", 3, 32);
    auto b = openNew("b.syx", 3, 32);
    ASSERT_TRUE(a && b);
    ui.answers.push_back(MsgResult::No);
    EXPECT_EQ(saveAs(*a, "b.syx", 3), Outcome::Cancelled);
    EXPECT_EQ(ui.lastBox().title, "File Open");
    EXPECT_EQ(ui.lastBox().text, "You already have a file open with the name " + dir.file("b.syx") +
                                     "\r\nAre you sure you want to replace b.syx ?");
    EXPECT_EQ(session.colVoiceLists().count(), 2);

    b->rsmfimage().moveFirst();
    b->rsmfimage().setValue("Names", std::string("EDITED"));
    ui.answers.push_back(MsgResult::Yes);
    ASSERT_EQ(saveAs(*a, "b.syx", 3), Outcome::Saved);
    EXPECT_EQ(ui.lastBox().title, "Unsaved Changes");
    EXPECT_EQ(ui.lastBox().text, "You already have a file open with the name " + dir.file("b.syx") +
                                     "\r\nChanges have been made to the file since it was last saved. \r\n\r\n"
                                     "Are you sure you want to replace b.syx ?");
    EXPECT_EQ(session.colVoiceLists().count(), 1);
    EXPECT_EQ(session.colVoiceLists().at(1).get(), a.get());
    EXPECT_EQ(a->FileTitle, "b.syx");
}

TEST_F(FileSave, AnEmptyListAsksBeforeSavingNothing)
{
    auto list = openNew("a.syx", 3, 32);
    ASSERT_TRUE(list);
    list->rsmfimage().clearFilter();
    list->rsmfimage().deleteFiltered();
    list->setVoiceCount(0);
    session.setActive(list.get(), nullptr);
    ui.answers.push_back(MsgResult::No);
    EXPECT_EQ(list->names().SaveList(false, nullptr), Outcome::Declined);
    EXPECT_EQ(ui.lastBox().title, "Empty File");
    EXPECT_EQ(ui.lastBox().text, "a.syx contains no patches.\r\nAre you sure you want to save it as an empty file ?");

    chooseSaveFile("a.syx");
    ui.formatAnswers.push_back(3);
    ui.answers.push_back(MsgResult::Yes);
    EXPECT_EQ(list->names().SaveList(false, nullptr), Outcome::Saved);
    EXPECT_EQ(sizeOf(dir.file("a.syx")), 0);
    EXPECT_FALSE(list->isChanged());
}

TEST_F(FileSave, AFailedWriteKeepsTheOldFileAndTheChanges)
{
    auto list = openNew("a.syx", 3, 32);
    ASSERT_TRUE(list);
    list->rsmfimage().moveFirst();
    list->rsmfimage().setValue("Names", std::string("CHANGED"));
    session.setActive(list.get(), nullptr);
    ui.fileAnswers.push_back(test::ScriptedUi::chose(dir.folder() + "no such folder/", {"x.syx"}));
    ui.formatAnswers.push_back(3);
    EXPECT_EQ(list->names().SaveList(true, nullptr), Outcome::Failed);
    EXPECT_EQ(ui.lastBox().title, "File Access Error");
    const std::string target = dir.folder() + "no such folder/x.syx";
    EXPECT_EQ(ui.lastBox().text, "Couldn't open " + target + "\r\n\r\nNo such file or directory");
    ASSERT_EQ(ui.logLines.size(), 1u);
    EXPECT_EQ(ui.logLines[0], "Couldn't write " + target + ": No such file or directory");
    EXPECT_TRUE(list->isChanged());
    ui.answers.push_back(MsgResult::Yes);
    ui.fileAnswers.push_back(test::ScriptedUi::chose(dir.folder() + "no such folder/", {"x.syx"}));
    ui.formatAnswers.push_back(3);
    EXPECT_FALSE(list->requestClose(true)); // a close whose save failed keeps the list
}

TEST_F(FileSave, UnrecognisableDataIsRefused)
{
    clsVoiceNames names(session);
    EXPECT_FALSE(names.SaveVoiceDataToFileByt(nullptr, dir.file("x.dat"), -1, false, "abc", "", 
                                             clsVoiceNames::FileAttributes::Normal));
    EXPECT_EQ(ui.lastBox().text, "The data is not in a recognisable DX file format ");
    EXPECT_EQ(ui.lastBox().title, "Invalid FileFormat");
    EXPECT_FALSE(fs::exists(dir.file("x.dat")));
}

} // namespace
} // namespace toneloft
