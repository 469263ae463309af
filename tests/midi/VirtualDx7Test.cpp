#include "midi/VirtualDx7.h"

#include "common/Crc32.h"
#include "midi/Dx7Messages.h"
#include "voice/VoiceFileFormat.h"

#include <gtest/gtest.h>

namespace toneloft {
namespace {

using Kind = VirtualDx7::Applied::Kind;

ByteString voiceNamed(const std::string& name)
{
    VirtualDx7 dx7;
    ByteString voice = dx7.editBuffer();
    voice.replace(145, 10, (name + std::string(10, ' ')).substr(0, 10));
    voice[134] = toChar(21); // algorithm 22
    return voice;
}

TEST(VirtualDx7, AnswersDumpRequestsOnlyOnItsChannel)
{
    VirtualDx7 dx7;
    dx7.setChannel(4);
    EXPECT_TRUE(dx7.receive(DumpRequest(0, 9)).empty());
    EXPECT_TRUE(dx7.receive(DumpRequest(15, 0)).empty());

    const auto bank = dx7.receive(DumpRequest(4, 9));
    ASSERT_EQ(bank.size(), 1u);
    ASSERT_EQ(bank[0].size(), kBankMessageSize);
    EXPECT_EQ(byteAt(bank[0], 2), 0x04); // answers on its own channel
    EXPECT_EQ(byteAt(bank[0], 3), 0x09);
    EXPECT_EQ(SysexChecksum(std::string_view(bank[0]).substr(6, 4096)), byteAt(bank[0], 4102));
    EXPECT_EQ(bank[0].substr(6 + 118, 10), "TONELOFT01");
    EXPECT_EQ(bank[0].substr(6 + 31 * 128 + 118, 10), "TONELOFT32");

    const auto voice = dx7.receive(DumpRequest(4, 0));
    ASSERT_EQ(voice.size(), 1u);
    ASSERT_EQ(voice[0].size(), kSingleMessageSize);
    EXPECT_EQ(voice[0].substr(6, 155), dx7.editBuffer());
}

TEST(VirtualDx7, TakesAVoiceDumpAndRefusesAWrongChecksum)
{
    VirtualDx7 dx7;
    const ByteString voice = voiceNamed("BRASS   1");
    ByteString message = AddWrapper(voice, 1);
    ByteString broken = message;
    broken[161] = toChar((byteAt(broken, 161) + 1) & 0x7F);

    EXPECT_TRUE(dx7.receive(broken).empty());
    EXPECT_NE(dx7.editBuffer(), voice);
    ASSERT_EQ(dx7.applied().size(), 1u);
    EXPECT_EQ(dx7.applied()[0].kind, Kind::Refused);

    dx7.receive(message);
    EXPECT_EQ(dx7.editBuffer(), voice);
    EXPECT_EQ(dx7.applied().back().kind, Kind::Voice);
    EXPECT_EQ(dx7.applied().back().text, "BRASS   1 ");
}

TEST(VirtualDx7, TakesABankDumpIntoMemory)
{
    VirtualDx7 dx7;
    ByteString data(4096, toChar(0x11));
    ByteString message = AddWrapper(data, 3);
    dx7.receive(message);
    EXPECT_EQ(dx7.internalVoices(), data);
    EXPECT_EQ(dx7.bankDump(), message);

    message[4102] = toChar((byteAt(message, 4102) + 1) & 0x7F);
    message[10] = toChar(0x22);
    dx7.receive(message);
    EXPECT_EQ(dx7.internalVoices(), data);
    EXPECT_EQ(dx7.applied().back().kind, Kind::Refused);
}

TEST(VirtualDx7, IgnoresDumpsForAnotherChannel)
{
    VirtualDx7 dx7;
    dx7.setChannel(2);
    ByteString message = AddWrapper(voiceNamed("OTHER"), 1); // channel 1
    dx7.receive(message);
    EXPECT_TRUE(dx7.applied().empty());
    message[2] = toChar(2);
    dx7.receive(message);
    EXPECT_EQ(dx7.applied().back().kind, Kind::Voice);
}

struct ParameterCase {
    int parameter;
    int value;
    int kept = -1; // what the instrument keeps; -1: the value itself
};

class VirtualDx7Parameters : public testing::TestWithParam<ParameterCase> {};

TEST_P(VirtualDx7Parameters, AppliesToTheEditBuffer)
{
    const auto [parameter, sent, kept] = GetParam();
    const int value = kept < 0 ? sent : kept;
    VirtualDx7 dx7;
    dx7.receive(ParameterChange(parameter, sent));
    ASSERT_EQ(dx7.applied().size(), 1u);
    EXPECT_EQ(dx7.applied()[0].kind, Kind::Parameter);
    EXPECT_EQ(dx7.applied()[0].parameter, parameter);
    EXPECT_EQ(dx7.applied()[0].value, value);
    if (parameter == 155)
        EXPECT_EQ(dx7.operatorMask(), value);
    else
        EXPECT_EQ(byteAt(dx7.editBuffer(), static_cast<std::size_t>(parameter)), value);
}

INSTANTIATE_TEST_SUITE_P(Rows, VirtualDx7Parameters,
                         testing::Values(ParameterCase{0, 50}, ParameterCase{127, 99},
                                         ParameterCase{128, 3}, ParameterCase{134, 31},
                                         ParameterCase{154, 65}, ParameterCase{155, 0x15},
                                         // Beyond the range: held at its end, as a DX7 does.
                                         ParameterCase{134, 127, 31}, ParameterCase{0, 120, 99},
                                         ParameterCase{135, 9, 7}, ParameterCase{144, 100, 48}));

TEST(VirtualDx7, RefusesParameterChangesItCannotApply)
{
    VirtualDx7 dx7;
    const ByteString before = dx7.editBuffer();
    const unsigned char function[] = {0xF0, 0x43, 0x10, 0x08, 0x40, 0x01, 0xF7}; // group 2
    const unsigned char tooHigh[] = {0xF0, 0x43, 0x10, 0x01, 0x1C, 0x01, 0xF7};  // parameter 156
    const unsigned char longer[] = {0xF0, 0x43, 0x10, 0x00, 0x01, 0x01, 0x01, 0xF7};
    for (auto m : {ByteString(std::begin(function), std::end(function)),
                   ByteString(std::begin(tooHigh), std::end(tooHigh)),
                   ByteString(std::begin(longer), std::end(longer))})
        EXPECT_TRUE(dx7.receive(m).empty());
    EXPECT_EQ(dx7.editBuffer(), before);
    ASSERT_EQ(dx7.applied().size(), 3u);
    for (const auto& a : dx7.applied())
        EXPECT_EQ(a.kind, Kind::Refused);
}

TEST(VirtualDx7, SurvivesRubbish)
{
    VirtualDx7 dx7;
    const std::vector<ByteString> rubbish = {
        "", "\xF0", "\xF0\x43", "\xF0\x43\x20", ByteString("\xF0\x43\x00\x00\xF7", 5),
        "\xF0\x41\x20\x09\xF7", "\x90\x3C\x40", ByteString("\xF0\x43\x00\x09\x20\x00\xF7", 7)};
    for (const auto& m : rubbish)
        EXPECT_TRUE(dx7.receive(m).empty());
    EXPECT_TRUE(dx7.receive(ByteString(9000, toChar(0xF0))).empty());
}

TEST(VirtualDx7, TransmitsItsBankWhenTold)
{
    VirtualDx7 dx7;
    EXPECT_EQ(dx7.transmitBank(), dx7.bankDump());
    EXPECT_EQ(dx7.applied().back().kind, Kind::SentBank);
}

} // namespace
} // namespace toneloft
