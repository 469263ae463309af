#include "voice/clsVoiceData.h"

#include "common/Crc32.h"
#include "support/Corpus.h"
#include "support/ScriptedUi.h"
#include "voice/VoicePacking.h"
#include "voice/VoiceParameterTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace toneloft {
namespace {

using test::ScriptedUi;
using M = clsVoiceData::GetVoiceMode;
using T = VoiceParameterTable;

constexpr int KvsOp6 = 15;
constexpr int LfoWave = 142;
constexpr int ModeOp5 = 21 + 17;

// Every value in range and neighbouring rows different, so a row written to
// the wrong place shows.
ByteString validVoice(const std::string& name = "Brass 1 A9")
{
    ByteString v;
    for (int i = 0; i < T::DataRowCount; ++i)
        v.push_back(toChar((i * 7 + 3) % (T::row(i).max + 1)));
    return v + name;
}

Recordset namesTable(const std::vector<ByteString>& voices)
{
    Recordset rs;
    rs.appendField("Data", Recordset::FieldType::Text, 145);
    rs.appendField("Names", Recordset::FieldType::Text, 10, true);
    rs.open();
    for (const ByteString& v : voices) {
        rs.addNew();
        rs.setValue("Data", v.substr(0, v.size() - 10));
        rs.setValue("Names", v.substr(v.size() - 10));
        rs.update();
    }
    rs.moveFirst();
    return rs;
}

std::string cell(Recordset& rs, long row, const char* field = "Value")
{
    rs.setAbsolutePosition(row);
    return rs.text(field);
}

std::string fieldNames(const Recordset& rs)
{
    std::string names;
    for (int i = 0; i < rs.fieldCount(); ++i)
        names += rs.field(i).name + "|";
    return names;
}

class VoiceData : public ::testing::Test {
protected:
    ScriptedUi ui;
    clsVoiceData data{ui};
    Recordset& vd = data.voiceData();
};

TEST_F(VoiceData, TablesHaveTheirFieldsInOrder)
{
    EXPECT_EQ(fieldNames(vd), "ParamID|Title|ShortTitle|Value|Min.|Max.|Group|SubGroup|OpGroup|"
                              "EGChartXVal|EGChartKoffXVal|ProxyFieldID|ProxyVal|RandomGroup|");
    EXPECT_EQ(fieldNames(data.proxyData()),
              "ParamID|Level Scaling|Osc.Mode|Fixed Freq.Fine|Freq.Ratio Fine|Detune|OscKeySync|"
              "LFOKeySync|LFOWave|Transpose|BreakPoint|");
    EXPECT_EQ(vd.pageSize(), 20);
    EXPECT_EQ(data.GetDataMember("VoiceData"), &vd);
    EXPECT_EQ(data.GetDataMember("ProxyData"), &data.proxyData());
    EXPECT_EQ(data.GetDataMember("voicedata"), nullptr);
}

// Name characters of every kind go in as they are and never raise the question.
TEST_F(VoiceData, LoadThenPutGivesTheVoiceBack)
{
    const ByteString voice = validVoice(std::string("Zz9~ ", 5) + '\0' + "\xFF\x80" + "0.");
    Recordset names = namesTable({voice});
    ByteString loaded;
    std::int32_t crc = 0;
    ASSERT_TRUE(data.GetVoiceData(names, 1, 1, M::LoadTable, 0, loaded, crc));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_GE(ui.maxBusyDepth, 1);
    EXPECT_EQ(ui.busyDepth, 0);
    ASSERT_EQ(vd.recordCount(), 155);
    EXPECT_EQ(vd.absolutePosition(), 1);
    EXPECT_EQ(crc, CalcCRC32(voice));
    EXPECT_EQ(cell(vd, 1, "OpGroup"), "EG Rate 6      ");
    EXPECT_EQ(cell(vd, 9, "ParamID"), "9   ");
    EXPECT_EQ(cell(vd, 143, "ProxyFieldID"), "8  ");
    EXPECT_EQ(cell(vd, 143, "Max."), "4");
    EXPECT_EQ(cell(vd, 143, "ProxyVal"), "Not Set");
    EXPECT_EQ(cell(vd, 16), std::to_string(byteAt(voice, 15)));

    ByteString out;
    std::int32_t outCrc = 0;
    data.PutVoiceDataInString(vd, out, 1, true, outCrc);
    EXPECT_EQ(out, voice);
    EXPECT_EQ(outCrc, crc);
    data.PutVoiceDataInString(vd, out, 2, true, outCrc);
    EXPECT_EQ(out, Pack(voice));
    EXPECT_EQ(outCrc, crc); // always of the unpacked voice

    auto grid = vd.clone(); // a filtered cursor still gives every row
    ASSERT_TRUE(grid->setFilter("SubGroup = 'LFO'"));
    data.PutVoiceDataInString(*grid, out, 3, false, outCrc);
    EXPECT_EQ(out, voice);

    clsVoiceData empty(ui);
    empty.PutVoiceDataInString(empty.voiceData(), out, 0, false, outCrc);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(outCrc, 0);
}

TEST_F(VoiceData, OutOfRangeValueAsksWithTheExactText)
{
    ByteString voice = validVoice();
    voice[KvsOp6] = 8;
    ASSERT_TRUE(data.loadVoice(voice));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.lastBox().text,
              "The value for OP6 KVS         (8)  is outside the permitted range ( 0 to 7 )\r\n"
              " If you continue the value will be reset to  7.\r\n"
              " OK to continue loading this voice ?");
    EXPECT_EQ(ui.lastBox().title, "Error in Voice Data");
    EXPECT_EQ(ui.lastBox().icon, MsgIcon::Information);
    EXPECT_EQ(ui.lastBox().buttons, MsgButtons::YesNo);
}

struct ClampCase {
    int index;
    int byte;
    int stored;
    const char* inBox;
};

class VoiceDataClamp : public VoiceData, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(VoiceDataClamp, YesStoresTheLimitAndGoesOn)
{
    const ClampCase& c = GetParam();
    ByteString voice = validVoice();
    voice[static_cast<std::size_t>(c.index)] = toChar(c.byte);
    ui.answers.push_back(MsgResult::Yes);
    ASSERT_TRUE(data.loadVoice(voice));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.lastBox().text.find(c.inBox), std::string::npos) << ui.lastBox().text;
    EXPECT_EQ(cell(vd, c.index + 1), std::to_string(c.stored));

    ByteString back;
    std::int32_t crc = 0;
    data.PutVoiceDataInString(vd, back, 0, false, crc);
    voice[static_cast<std::size_t>(c.index)] = toChar(c.stored);
    EXPECT_EQ(back, voice); // every later row was still filled
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VoiceDataClamp,
    ::testing::Values(ClampCase{KvsOp6, 8, 7, "OP6 KVS         (8)"},
                      ClampCase{LfoWave, 5, 4,
                                "( 0 to 4 )\r\n If you continue the value will be reset to  4."},
                      ClampCase{105 + 16, 0xC1, 99, "OP1 Output Lev  (193)"},
                      ClampCase{144, 49, 48, "Transpose       (49)"},
                      ClampCase{ModeOp5, 2, 1, "OP5 Osc Mode    (2)"}));

TEST_F(VoiceData, NoStopsWithTheRowsReadSoFar)
{
    ByteString voice = validVoice();
    voice[21 + 15] = 9; // operator 5 KVS
    voice[LfoWave] = 6; // never reached
    ui.answers = {MsgResult::No, MsgResult::No};
    Recordset names = namesTable({voice});
    ByteString out;
    std::int32_t crc = 7;
    EXPECT_FALSE(data.GetVoiceData(names, 1, 0, M::LoadTable, 0, out, crc));
    EXPECT_EQ(crc, 0);
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_EQ(vd.recordCount(), 37);
    EXPECT_EQ(cell(vd, 37), "9");

    Recordset* table = &vd;
    std::string mode;
    EXPECT_FALSE(data.GetVoiceData(names, 1, 0, table, crc, mode, 0));
    EXPECT_EQ(table, nullptr);
}

TEST_F(VoiceData, ReloadOverwritesInPlace)
{
    ByteString second(155, '\0');
    second.replace(145, 10, "Second    ");
    ASSERT_TRUE(data.loadVoice(validVoice()));
    ASSERT_TRUE(data.loadVoice(second));
    EXPECT_EQ(vd.recordCount(), 155);
    EXPECT_EQ(cell(vd, 143), "0");
    EXPECT_EQ(cell(vd, 146), "S");

    // A table left short by a stopped load is filled up again.
    ByteString bad = validVoice();
    bad[10] = 100;
    ui.answers.push_back(MsgResult::No);
    clsVoiceData fresh(ui);
    EXPECT_FALSE(fresh.loadVoice(bad));
    EXPECT_EQ(fresh.voiceData().recordCount(), 11);
    ASSERT_TRUE(fresh.loadVoice(second));
    EXPECT_EQ(fresh.voiceData().recordCount(), 155);
    EXPECT_EQ(cell(fresh.voiceData(), 11), "0");
}

TEST_F(VoiceData, FrequencyRowsFollowTheirOwnOperatorsMode)
{
    for (int op6Mode : {0, 1}) {
        ByteString voice = validVoice();
        voice[17] = toChar(op6Mode);
        voice[ModeOp5] = 1;
        voice[42 + 17] = 0;
        ASSERT_TRUE(data.loadVoice(voice));
        EXPECT_EQ(cell(vd, 21 + 19, "ProxyFieldID"), "3  "); // operator 5 coarse
        EXPECT_EQ(cell(vd, 21 + 20, "ProxyFieldID"), "3  "); // and fine
        EXPECT_EQ(cell(vd, 42 + 19, "ProxyFieldID"), "4  ");
        EXPECT_EQ(cell(vd, 19, "ProxyFieldID"), op6Mode == 1 ? "3  " : "4  ");
    }
}

struct ModeCase {
    int fileType;
    int wanted;
    bool expectPacked;
};

class VoiceDataModes : public VoiceData, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(VoiceDataModes, StringOnlyGivesTheWantedLayout)
{
    const ModeCase& c = GetParam();
    const ByteString unpacked = validVoice();
    const ByteString stored = c.fileType >= 2 ? Pack(unpacked) : unpacked;
    Recordset names = namesTable({validVoice("Other     "), stored});
    ByteString out;
    std::int32_t crc = 0;
    ASSERT_TRUE(data.GetVoiceData(names, 2, c.fileType, M::StringOnly, c.wanted, out, crc));
    EXPECT_EQ(out, c.expectPacked ? Pack(unpacked) : unpacked);
    EXPECT_EQ(vd.recordCount(), 0);

    std::string mode(clsVoiceData::StringOnlyMode);
    Recordset* table = nullptr;
    EXPECT_TRUE(data.GetVoiceData(names, 2, c.fileType, table, crc, mode, c.wanted));
    EXPECT_EQ(mode, out);
}

INSTANTIATE_TEST_SUITE_P(Layouts, VoiceDataModes,
                         ::testing::Values(ModeCase{0, 0, false}, ModeCase{1, 2, true},
                                           ModeCase{1, 3, false}, ModeCase{2, 2, true},
                                           ModeCase{3, 3, false}, ModeCase{3, 0, false}));

TEST_F(VoiceData, PackedSourceLoadsUnpacked)
{
    const ByteString voice = validVoice();
    Recordset names = namesTable({Pack(voice)});
    ByteString out;
    std::int32_t crc = 0;
    ASSERT_TRUE(data.GetVoiceData(names, 1, 3, M::LoadTable, 0, out, crc));
    EXPECT_EQ(out, voice);
    EXPECT_EQ(crc, CalcCRC32(voice));
    EXPECT_EQ(cell(vd, 1), std::to_string(byteAt(voice, 0)));
}

TEST_F(VoiceData, BadPositionsAndVoicesFailSilently)
{
    const ByteString voice = validVoice();
    Recordset names = namesTable({voice, voice.substr(0, 150), voice});
    names.setAbsolutePosition(3);
    ByteString out;
    std::int32_t crc = 7;
    for (long position : {0L, -1L, 4L})
        EXPECT_FALSE(data.GetVoiceData(names, position, 0, M::LoadTable, 0, out, crc)) << position;
    EXPECT_EQ(crc, 0);
    EXPECT_FALSE(data.GetVoiceData(names, 2, 0, M::LoadTable, 0, out, crc)); // 150 bytes
    EXPECT_FALSE(data.GetVoiceData(names, 1, 2, M::StringOnly, 0, out, crc)); // 155 is not packed
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(vd.recordCount(), 0);
    EXPECT_EQ(names.absolutePosition(), 3);
}

TEST_F(VoiceData, ProxyDataRows)
{
    Recordset& pd = data.InitProxyData();
    ASSERT_EQ(&pd, &data.proxyData());
    data.InitProxyData(); // refills in place
    ASSERT_EQ(pd.recordCount(), 100);
    EXPECT_EQ(pd.absolutePosition(), 1);
    EXPECT_EQ(cell(pd, 95, "Fixed Freq.Fine"), " 7.71");
    EXPECT_EQ(cell(pd, 45, "Fixed Freq.Fine"), " 1.754");
    EXPECT_EQ(cell(pd, 3, "LFOWave"), "Saw Up   ");
    EXPECT_EQ(cell(pd, 5, "LFOWave"), "S/Hold");
    EXPECT_EQ(cell(pd, 100, "BreakPoint"), "C 8 ");
    EXPECT_EQ(cell(pd, 51, "Level Scaling"), "");
    EXPECT_EQ(cell(pd, 8, "ParamID"), " 7  ");
}

TEST_F(VoiceData, FactoryBankRoundTrips)
{
    TONELOFT_REQUIRE_CORPUS();
    std::ifstream in(test::corpusDir() / "ROM1A.syx", std::ios::binary);
    const ByteString file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(file.size(), 4104u);
    std::vector<ByteString> voices;
    for (std::size_t v = 0; v < 32; ++v)
        voices.push_back(file.substr(6 + v * 128, 128));
    Recordset names = namesTable(voices);

    for (long position = 1; position <= 32; ++position) {
        const std::size_t asked = ui.boxes.size();
        ByteString unpacked;
        std::int32_t crc = 0;
        ASSERT_TRUE(data.GetVoiceData(names, position, 3, M::LoadTable, 0, unpacked, crc));
        ByteString out;
        std::int32_t outCrc = 0;
        data.PutVoiceDataInString(vd, out, 3, true, outCrc);
        if (ui.boxes.size() == asked) {
            EXPECT_EQ(out, voices[static_cast<std::size_t>(position - 1)]) << position;
            EXPECT_EQ(outCrc, crc);
            continue;
        }
        // A value out of range was reset: what comes back now passes the check.
        const std::size_t afterLoad = ui.boxes.size();
        EXPECT_TRUE(data.loadVoice(Unpack(out)));
        EXPECT_EQ(ui.boxes.size(), afterLoad) << position;
    }
}

} // namespace
} // namespace toneloft
