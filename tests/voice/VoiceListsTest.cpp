#include "support/SessionFixture.h"

#include <filesystem>

namespace toneloft {
namespace {

using test::SessionFixture;
using test::makeVoiceFile;

class Recorder : public SessionObserver {
public:
    std::vector<std::string> events;
    void listAdded(VoiceList& l) override { events.push_back("added " + l.ID); }
    void listLoaded(VoiceList& l) override { events.push_back("loaded " + l.ID); }
    void listRemoved(VoiceList& l) override { events.push_back("removed " + l.ID); }
    void listCommandsEnabled(bool on) override { events.push_back(on ? "commands on" : "commands off"); }
};

using VoiceLists = SessionFixture;

TEST_F(VoiceLists, KeysCountUpAndAreNeverReused)
{
    auto a = openNew("a.syx", 3, 32);
    auto b = openNew("b.syx", 3, 32);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->ID, "L0001");
    EXPECT_EQ(b->ID, "L0002");
    a->names().FileClose(*a);
    EXPECT_EQ(session.colVoiceLists().count(), 1);
    EXPECT_EQ(session.colVoiceLists().NextFileNo(), 3);
    auto c = openNew("c.syx", 3, 32);
    EXPECT_EQ(c->ID, "L0003");
    EXPECT_EQ(session.colVoiceLists().indexOf("L0003"), 2);
}

TEST_F(VoiceLists, IdentityComesFromTheFileName)
{
    auto list = openNew("bank.syx", 3, 40);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->FileName, dir.file("bank.syx"));
    EXPECT_EQ(list->FileTitle, "bank.syx");
    EXPECT_EQ(list->FilePath, dir.folder());
    EXPECT_EQ(list->FileType, 3);
    EXPECT_EQ(list->voiceCount(), 40);
    EXPECT_EQ(session.colVoiceLists().FileType(), 3);
    EXPECT_FALSE(list->isChanged());
    EXPECT_EQ(clsVoiceLists::GetFileTitle("C:\\dx\\x.syx"), "x.syx");
    EXPECT_EQ(clsVoiceLists::GetFileTitle("plain"), "plain");
}

TEST_F(VoiceLists, ReopeningAnOpenFileRevertsOnYesOnly)
{
    const std::string path = dir.write("a.syx", makeVoiceFile(3, 32, "OLD"));
    auto first = open(path);
    ASSERT_TRUE(first);
    dir.write("a.syx", makeVoiceFile(3, 32, "NEW"));

    ui.answers.push_back(MsgResult::No);
    EXPECT_EQ(open(path), nullptr);
    EXPECT_EQ(ui.lastBox().title, "File already open");
    EXPECT_EQ(ui.lastBox().text, "You already have a file open with this name.\r\nRevert to last saved version ?");
    EXPECT_EQ(ui.lastBox().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(session.colVoiceLists().count(), 1);

    ui.answers.push_back(MsgResult::Yes);
    auto again = open(path);
    ASSERT_TRUE(again);
    EXPECT_EQ(session.colVoiceLists().count(), 1);
    EXPECT_EQ(nameAt(*again, 1), "NEW1      ");
}

TEST_F(VoiceLists, NamesDifferingInCaseAreDifferentFiles)
{
    auto a = openNew("bank.syx", 3, 32);
    auto b = openNew("BANK.syx", 3, 32);
    EXPECT_TRUE(a && b);
    EXPECT_EQ(session.colVoiceLists().count(), 2);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(VoiceLists, ObserversHearOfListsAndCommandEnabling)
{
    Recorder rec;
    session.addObserver(&rec);
    auto a = openNew("a.syx", 3, 32);
    auto b = openNew("b.syx", 3, 32);
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(session.patchSources.hasRoot);
    ASSERT_EQ(session.patchSources.files.size(), 2u);
    EXPECT_EQ(session.patchSources.files[1].key, "L0002");
    EXPECT_EQ(session.patchSources.files[1].text, "b.syx");
    a->names().FileClose(*a);
    b->names().FileClose(*b);
    EXPECT_FALSE(session.patchSources.hasRoot);
    EXPECT_TRUE(session.patchSources.files.empty());
    session.removeObserver(&rec);
    const std::vector<std::string> expected = {"commands on", "added L0001", "loaded L0001", "added L0002",
                                               "loaded L0002", "removed L0001", "removed L0002", "commands off"};
    EXPECT_EQ(rec.events, expected);
}

TEST_F(VoiceLists, AFailedFileLeavesNoListAndTheOthersOpen)
{
    dir.write("one.syx", makeVoiceFile(3, 32));
    dir.write("two.syx", "");
    dir.write("three.syx", makeVoiceFile(1, 3));
    ui.fileAnswers.push_back(test::ScriptedUi::chose(dir.folder(), {"one.syx", "two.syx", "three.syx"}));
    clsVoiceNames(session).OpenMultipleFiles();
    ASSERT_EQ(session.colVoiceLists().count(), 2);
    EXPECT_EQ(session.colVoiceLists().at(1)->FileTitle, "one.syx");
    EXPECT_EQ(session.colVoiceLists().at(2)->FileTitle, "three.syx");
    EXPECT_EQ(session.colVoiceLists().at(2)->voiceCount(), 3);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, dir.file("two.syx") + " is empty");
    EXPECT_EQ(session.DataDirectory(), dir.folder());
    const auto& request = ui.fileRequests.at(0);
    EXPECT_EQ(request.title, "Open DX7 Voice Data File");
    EXPECT_TRUE(request.multiSelect);
    EXPECT_EQ(request.defaultExtension, "dat");
    EXPECT_EQ(request.filters.at(0).patterns, "*.dat;*.syx;*.dx7;*.32");
    EXPECT_EQ(request.helpTopic, "::/dlg_MainWindow.htm#FileOpen");
}

TEST_F(VoiceLists, ASelectionTooLongForTheDialogOpensNothing)
{
    std::vector<std::string> names;
    for (int i = 0; i < 60; ++i)
        names.push_back("a rather long voice file name number " + std::to_string(i) + ".syx");
    ui.fileAnswers.push_back(test::ScriptedUi::chose(dir.folder(), names));
    clsVoiceNames(session).OpenMultipleFiles();
    EXPECT_EQ(session.colVoiceLists().count(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Too many files selected");
}

TEST_F(VoiceLists, CleanedNamesAreWarnedAboutOnceAndTheFileStaysAsItWas)
{
    ByteString file = makeVoiceFile(0, 2);
    file[145] = '\0';       // first name byte: the name loses its first character
    file[155 + 149] = 0x7F; // inside the second name
    const std::string path = dir.write("odd.dat", file);
    auto list = open(path);
    ASSERT_TRUE(list);
    EXPECT_EQ(nameAt(*list, 1), "OICE1     ");
    EXPECT_EQ(nameAt(*list, 2), "VOIC 2    ");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "Invalid Voice Name Characters");
    EXPECT_EQ(ui.boxes[0].text,
              "Some of the voice names in odd.dat contain invalid characters that cannot be displayed.\r\n\r\n"
              "\t\tThese have been replaced with spaces.\r\n\r\n"
              "If you do not want to make these changes permanent, close the file now without saving it");
    EXPECT_EQ(test::TempDir::read(path), file);
    EXPECT_TRUE(list->isChanged());
}

TEST_F(VoiceLists, LoadingShowsBankProgress)
{
    auto list = openNew("big.syx", 3, 70);
    ASSERT_TRUE(list);
    EXPECT_TRUE(ui.sawStatus("Setting up database for bank 1  "));
    EXPECT_TRUE(ui.sawStatus("Setting up database for bank 3  "));
    EXPECT_FALSE(ui.sawStatus("Setting up database for bank 4  "));
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(VoiceLists, PatchViewsAreNumberedTemporaryFiles)
{
    const ByteString bank = makeVoiceFile(3, 32);
    clsVoiceNames names(session);
    auto first = names.InitPatchView(bank);
    auto second = names.InitPatchView(bank);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->FileTitle, "DX Setup  1.dat");
    EXPECT_EQ(second->FileTitle, "DX Setup  2.dat");
    EXPECT_TRUE(std::filesystem::exists(dir.file("DX Setup  1.dat")));
    EXPECT_EQ(test::TempDir::read(dir.file("DX Setup  2.dat")), bank);
    EXPECT_TRUE(first->needsNewName());
    first->names().FileClose(*first);
    EXPECT_FALSE(std::filesystem::exists(dir.file("DX Setup  1.dat")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("DX Setup  2.dat")));
}

TEST_F(VoiceLists, CopyRecordsetAppendsOrMakesANewTable)
{
    auto list = openNew("a.syx", 3, 10);
    ASSERT_TRUE(list);
    clsVoiceNames names(session);
    auto top = names.CopyRecordset(list->rsmfimage(), -1, 4, true);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->recordCount(), 4);
    EXPECT_EQ(top->text("Names"), "VOICE1    ");
    EXPECT_EQ(top->text("Data").size(), 118u);

    EXPECT_TRUE(names.CopyRecordset(list->rsmfimage(), *top, 9, 5, false));
    EXPECT_EQ(top->recordCount(), 6); // only rows 9 and 10 exist
    EXPECT_EQ(top->absolutePosition(), 1);
    top->moveLast();
    EXPECT_EQ(top->text("Names"), "VOICE10   ");
    EXPECT_EQ(top->text("ID"), "10");
}

TEST_F(VoiceLists, CollectionIdsAreSetOnce)
{
    session.colVoiceLists().setID("main");
    session.colVoiceLists().setID("other");
    EXPECT_EQ(session.colVoiceLists().ID(), "main");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Error: VoiceList form ID already set");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Critical);

    clsVoiceEditors editors;
    editors.setID(ui, "e");
    editors.setID(ui, "f");
    EXPECT_EQ(editors.ID(), "e");
    EXPECT_EQ(ui.lastBox().text, "Error: VoiceEditor form ID already set");
    auto editor = editors.Add("E0012", 3);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->number(), 12);
    EXPECT_EQ(editors.Add("E0012", 4), nullptr);
}

TEST_F(VoiceLists, TheDataDirectoryPrefersADataFolderWithVoiceFiles)
{
    session.findDataDirectory();
    EXPECT_EQ(session.DataDirectory(), dir.folder());
    std::filesystem::create_directories(dir.path() / "Data");
    session.findDataDirectory();
    EXPECT_EQ(session.DataDirectory(), dir.folder());
    dir.write("Data/readme.txt", "not a voice file");
    dir.write("ROM1A.dat", makeVoiceFile(3, 32)); // beside the folder, not in it
    session.findDataDirectory();
    EXPECT_EQ(session.DataDirectory(), dir.folder());
    dir.write("Data/some.DAT", makeVoiceFile(3, 32));
    session.findDataDirectory();
    EXPECT_EQ(session.DataDirectory(), (dir.path() / "Data" / "").string());
}

} // namespace
} // namespace toneloft
