// Whole DX7 messages inside files the rules refuse: found, offered, opened as a new list.
#include "support/SessionFixture.h"

#include "voice/VoiceFileContent.h"

#include <filesystem>

namespace toneloft {
namespace {

namespace fs = std::filesystem;

std::span<const std::uint8_t> bytesOf(const ByteString& s)
{
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Another maker's message (Roland, F0 41 ...) and a DX7II performance-like one.
const ByteString kRoland("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x41\xF7", 11);
const ByteString kOtherYamaha("\xF0\x43\x00\x7E\x0C\x6A\x4C\x4D\x20\x20\x38\x39\x35\x32\x50\x45\x01\xF7", 18);

struct InsideCase {
    const char* what;
    ByteString content;
    std::size_t voices;
    int fileType;
    const char* firstName; // of the voices found, as stored
};

ByteString header128()
{
    ByteString h(128, 'h');
    h.replace(0, 12, "LIBRARIAN v2");
    h[127] = toChar(0x80); // a byte no MIDI data byte can be
    return h;
}

class VoicesInside : public testing::TestWithParam<InsideCase> {};

TEST_P(VoicesInside, AreFoundWithWhateverSurroundsThem)
{
    const InsideCase& c = GetParam();
    const VoicesFound found = FindVoicesInside(bytesOf(c.content));
    EXPECT_EQ(found.voiceCount, c.voices);
    EXPECT_EQ(found.fileType, c.fileType);
    if (c.voices == 0)
        return;
    const std::size_t size = c.fileType == 2 ? 128 : 155;
    ASSERT_EQ(found.image.size(), c.voices * size);
    const std::string firstName(reinterpret_cast<const char*>(found.image.data()) + size - 10, 10);
    EXPECT_EQ(firstName, c.firstName);
}

INSTANTIATE_TEST_SUITE_P(
    Files, VoicesInside,
    testing::Values(
        InsideCase{"HeaderBeforeABank", header128() + test::makeVoiceFile(3, 32, "HB"), 32, 2, "HB1       "},
        InsideCase{"OtherMakersAround", kRoland + test::makeVoiceFile(3, 32, "OM") + kOtherYamaha + kRoland, 32, 2,
                   "OM1       "},
        InsideCase{"BankWithoutItsLastByte", test::makeVoiceFile(3, 32, "CUT").substr(0, 4103), 32, 2,
                   "CUT1      "},
        InsideCase{"BankCutInsideItsLastVoice", test::makeVoiceFile(3, 32).substr(0, 4100), 0, -1, ""},
        InsideCase{"SingleVoicesOnly", kRoland + test::makeVoiceFile(1, 3, "SV") + kRoland, 3, 0, "SV1       "},
        InsideCase{"ABankAndASingleVoiceArePacked", test::makeVoiceFile(1, 1, "ONE") + test::makeVoiceFile(3, 32),
                   33, 2, "ONE1      "},
        InsideCase{"AStatusByteInsideTheDataEndsIt",
                   test::makeVoiceFile(3, 32).substr(0, 100) + kRoland + test::makeVoiceFile(3, 32).substr(111),
                   0, -1, ""},
        InsideCase{"NothingButOthers", kRoland + kOtherYamaha, 0, -1, ""}),
    [](const auto& param) { return std::string(param.param.what); });

class VoicesInsideAFile : public test::SessionFixture {};

TEST_F(VoicesInsideAFile, AreOfferedAfterTheRefusalAndOpenAsANewList)
{
    const ByteString original = header128() + test::makeVoiceFile(3, 32, "HB");
    const std::string path = dir.write("librarian.syx", original);
    ui.answers.push_back(MsgResult::OK); // the refusal
    ui.answers.push_back(MsgResult::Yes); // open the voices found
    clsVoiceNames names(session);
    auto list = names.CreateVoiceListandFileImage(path, false);
    ASSERT_TRUE(list);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].title, "Invalid file type");
    EXPECT_EQ(ui.boxes[1].text, "librarian.syx holds 32 DX7 voices among other data.\r\n"
                                "Do you want to open them as a new voice list ?\r\n"
                                "(librarian.syx itself is not changed)");
    EXPECT_EQ(ui.boxes[1].buttons, MsgButtons::YesNo);
    EXPECT_EQ(list->voiceCount(), 32);
    EXPECT_EQ(list->FileType, 2);
    EXPECT_EQ(nameAt(*list, 32), "HB32      ");
    EXPECT_TRUE(list->needsNewName());
    EXPECT_NE(list->FileName, path);
    EXPECT_EQ(test::TempDir::read(path), original);

    // Its own file goes when the list closes; the original stays.
    const std::string own = list->FileName;
    EXPECT_TRUE(fs::exists(own));
    list->names().FileClose(*list);
    EXPECT_FALSE(fs::exists(own));
    EXPECT_EQ(test::TempDir::read(path), original);
}

TEST_F(VoicesInsideAFile, NoLeavesNothingOpenAndAFileWithoutVoicesAsksNothing)
{
    const std::string path = dir.write("mixed.syx", kRoland + test::makeVoiceFile(3, 32) + kRoland);
    ui.answers.push_back(MsgResult::OK);
    ui.answers.push_back(MsgResult::No);
    EXPECT_FALSE(clsVoiceNames(session).CreateVoiceListandFileImage(path, false));
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, path + " does not contain DX7 voice data ");
    EXPECT_EQ(ui.boxes[1].title, "Voices Found");
    EXPECT_EQ(session.colVoiceLists().count(), 0);
    EXPECT_EQ(fs::directory_iterator(dir.folder()) == fs::directory_iterator(), false);
    for (const auto& entry : fs::directory_iterator(dir.folder()))
        EXPECT_EQ(entry.path().filename().string().rfind("Found in", 0), std::string::npos);

    ui.boxes.clear();
    const std::string none = dir.write("none.syx", ByteString(4196, 'x'));
    EXPECT_FALSE(clsVoiceNames(session).CreateVoiceListandFileImage(none, false));
    EXPECT_EQ(ui.boxes.size(), 1u);
}

} // namespace
} // namespace toneloft
