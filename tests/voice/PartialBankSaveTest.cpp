// Saving a list whose voice count is not a multiple of 32 as bank messages:
// one question, the last bank filled with init voices unless the user keeps
// the short message.
#include "support/SessionFixture.h"

#include <filesystem>

namespace toneloft {
namespace {

namespace fs = std::filesystem;
using test::makeVoiceFile;
using Outcome = clsVoiceNames::SaveOutcome;

const ByteString kBankHeader("\xF0\x43\x00\x09\x20\x00", 6);

// The DX7 checksum: the data bytes and the checksum byte sum to a multiple of 128.
bool bankChecksumHolds(const ByteString& message)
{
    int sum = 0;
    for (std::size_t i = 6; i + 1 < message.size(); ++i)
        sum += byteAt(message, i);
    return sum % 128 == 0;
}

class PartialBankSave : public test::SessionFixture {
protected:
    Outcome saveAsBanks(VoiceList& list, const std::string& name)
    {
        session.setActive(&list, nullptr);
        chooseSaveFile(name);
        ui.formatAnswers.push_back(3);
        return list.names().SaveList(true, nullptr);
    }
    long questions() const
    {
        long n = 0;
        for (const auto& box : ui.boxes)
            n += box.title == "Partial Bank";
        return n;
    }
};

TEST_F(PartialBankSave, FillingIsTheDefaultAndTheFileReopensAsWholeBanks)
{
    auto list = openNew("forty.dat", 2, 40);
    ASSERT_TRUE(list);
    ASSERT_EQ(saveAsBanks(*list, "forty.syx"), Outcome::Saved);

    ASSERT_EQ(questions(), 1);
    EXPECT_EQ(ui.lastBox().text,
              "forty.syx holds 40 voices, so its last bank message would hold 8 voices instead of 32; "
              "many instruments refuse it.\r\nFill the last bank with 24 initial voices ?\r\n"
              "(No keeps the short last message.)");
    EXPECT_EQ(ui.lastBox().buttons, MsgButtons::YesNoCancel);

    const ByteString bytes = test::TempDir::read(dir.file("forty.syx"));
    ASSERT_EQ(bytes.size(), 2u * 4104u);
    for (std::size_t at : {std::size_t(0), std::size_t(4104)}) {
        EXPECT_EQ(bytes.substr(at, 6), kBankHeader) << at;
        EXPECT_EQ(byteAt(bytes, at + 4103), 0xF7) << at;
        EXPECT_TRUE(bankChecksumHolds(bytes.substr(at, 4104))) << at;
    }

    // The list shows what its file holds, and is saved.
    EXPECT_EQ(list->voiceCount(), 64);
    EXPECT_EQ(nameAt(*list, 41), "INIT VOICE");
    EXPECT_FALSE(list->isChanged());

    list->names().FileClose(*list);
    auto back = open(dir.file("forty.syx"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->voiceCount(), 64);
    EXPECT_EQ(back->FileType, 3);
    EXPECT_EQ(nameAt(*back, 40), "VOICE40   ");
    EXPECT_EQ(nameAt(*back, 41), "INIT VOICE");
    EXPECT_EQ(nameAt(*back, 64), "INIT VOICE");
}

TEST_F(PartialBankSave, NoKeepsTheShortMessageAndCancelWritesNothing)
{
    auto list = openNew("forty.dat", 2, 40);
    ASSERT_TRUE(list);
    ui.answers.push_back(MsgResult::Cancel);
    EXPECT_EQ(saveAsBanks(*list, "cancelled.syx"), Outcome::Cancelled);
    EXPECT_FALSE(fs::exists(dir.file("cancelled.syx")));
    EXPECT_EQ(list->voiceCount(), 40);
    EXPECT_EQ(list->FileTitle, "forty.dat");

    ui.answers.push_back(MsgResult::No);
    ASSERT_EQ(saveAsBanks(*list, "short.syx"), Outcome::Saved);
    EXPECT_EQ(questions(), 2);
    const ByteString bytes = test::TempDir::read(dir.file("short.syx"));
    ASSERT_EQ(bytes.size(), 4104u + 6 + 8 * 128 + 2);
    EXPECT_EQ(bytes.substr(4104, 6), kBankHeader);
    EXPECT_EQ(list->voiceCount(), 40);
    EXPECT_FALSE(list->isChanged());
}

// Which saves ask, and what the default answer writes.
struct SaveCase {
    int sourceType;
    int voices;
    int savedType;
    bool asked;
    std::size_t bytes;
};

class PartialBankCases : public PartialBankSave, public testing::WithParamInterface<SaveCase> {};

TEST_P(PartialBankCases, AskOnlyWhenBankMessagesWouldEndShort)
{
    const SaveCase c = GetParam();
    auto list = openNew("source.dat", c.sourceType, c.voices);
    ASSERT_TRUE(list);
    session.setActive(list.get(), nullptr);
    chooseSaveFile("out.syx");
    ui.formatAnswers.push_back(c.savedType);
    ASSERT_EQ(list->names().SaveList(true, nullptr), Outcome::Saved);
    EXPECT_EQ(questions(), c.asked ? 1 : 0);
    EXPECT_EQ(fs::file_size(dir.file("out.syx")), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Saves, PartialBankCases,
    testing::Values(SaveCase{3, 1, 3, true, 4104}, SaveCase{3, 33, 3, true, 2 * 4104},
                    SaveCase{0, 40, 3, true, 2 * 4104}, // packed on the way, then filled
                    SaveCase{3, 64, 3, false, 2 * 4104}, SaveCase{2, 40, 2, false, 40 * 128},
                    SaveCase{0, 40, 1, false, 40 * 163}));

} // namespace
} // namespace toneloft
