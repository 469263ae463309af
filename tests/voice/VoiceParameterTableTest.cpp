#include "voice/VoiceParameterTable.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace toneloft {
namespace {

using T = VoiceParameterTable;

struct RowCase {
    int index;
    const char* title;
    const char* shortTitle;
    int max;
    const char* group;
    const char* subGroup;
    const char* opGroup;
    const char* randomGroup;
    int operatorNumber;
};

class VoiceParameterRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(VoiceParameterRows, DescribesTheRow)
{
    const RowCase& c = GetParam();
    const VoiceParameter& p = T::row(c.index);
    EXPECT_EQ(p.title, c.title);
    EXPECT_EQ(p.shortTitle, c.shortTitle);
    EXPECT_EQ(p.min, 0);
    EXPECT_EQ(p.max, c.max);
    EXPECT_EQ(p.group, c.group);
    EXPECT_EQ(p.subGroup, c.subGroup);
    EXPECT_EQ(p.opGroup, c.opGroup);
    EXPECT_EQ(p.randomGroup, c.randomGroup);
    EXPECT_EQ(p.operatorNumber, c.operatorNumber);
}

INSTANTIATE_TEST_SUITE_P(
    EveryOperatorAndTheVoiceWideRows, VoiceParameterRows,
    ::testing::Values(
        RowCase{0, "OP6 EG Rate 1  ", "R1", 99, "Operator", "Operator 6", "EG Rate 6", "EG Rate", 6},
        RowCase{25, "OP5 EG Level 1 ", "L1", 99, "Operator", "Operator 5", "EG Level 5", "EG Level", 5},
        RowCase{39, "OP5 Osc Freq C ", "Coarse", 31, "Operator", "Operator 5", "Oscillator", "Oscillator", 5},
        RowCase{50, "OP4 KeyLevScBP ", "BPoint", 99, "Operator", "LevSc4", "Key Lev Scalg", "EG Level Scaling", 4},
        RowCase{74, "OP3 KeyLevScLC ", "LCurve", 3, "Operator", "LevSc3", "Key Lev Scalg", "EG Level Scaling", 3},
        RowCase{70, "OP3 EG Level 4 ", "L4", 99, "Operator", "Operator 3", "EG Level 3", "EG Level", 3},
        RowCase{99, "OP2 KVS        ", "KVS", 7, "Operator", "OpMisc2", "KVS", "Sensitivity", 2},
        RowCase{107, "OP1 EG Rate 3  ", "R3", 99, "Operator", "Operator 1", "EG Rate 1", "EG Rate", 1},
        RowCase{122, "OP1 Osc Mode   ", "Mode", 1, "Operator", "Operator 1", "Oscillator", "Oscillator", 1},
        RowCase{126, "PEG Rate 1     ", "R1", 99, "Non-Operator", "PitchEG", "Not Applicable", "Pitch EG Rate", 0},
        RowCase{134, "Algorithm. Sel ", "Alg", 31, "Non-Operator", "Algorithm", "Not Applicable", "Algorithm", 0},
        RowCase{142, "LFO Wave       ", "Wave", 4, "Non-Operator", "LFO", "Not Applicable", "LFO", 0},
        RowCase{144, "Transpose      ", "Trans", 48, "Non-Operator", "Misc", "Not Applicable", "Transpose", 0},
        RowCase{154, "Name 10        ", "", 99, "Non-Operator", "Name", "Not Applicable", "", 0}));

TEST(VoiceParameterTable, SectionsHoldTheRowsTheEditorGridsShow)
{
    std::map<std::string, int> bySubGroup;
    for (int i = 0; i < T::RowCount; ++i) {
        EXPECT_EQ(T::row(i).title.size(), 15u) << "row " << i;
        ++bySubGroup[T::row(i).subGroup];
    }
    for (char d = '1'; d <= '6'; ++d) {
        EXPECT_EQ(bySubGroup[std::string("Operator ") + d], 12) << d; // 8 envelope + 4 oscillator
        EXPECT_EQ(bySubGroup[std::string("LevSc") + d], 5) << d;
        EXPECT_EQ(bySubGroup[std::string("OpMisc") + d], 4) << d;
    }
    EXPECT_EQ(bySubGroup["PitchEG"], 8);
    EXPECT_EQ(bySubGroup["LFO"], 7);
    EXPECT_EQ(bySubGroup["Misc"], 3);
    EXPECT_EQ(bySubGroup["Name"], 10);
}

TEST(VoiceParameterTable, NoteTableEntries)
{
    EXPECT_EQ(T::noteName(0), "A-1 ");
    EXPECT_EQ(T::noteName(1), "A#-1");
    EXPECT_EQ(T::noteName(39), "C 3 ");
    EXPECT_EQ(T::noteName(91), "E 7 ");
    EXPECT_EQ(T::noteName(99), "C 8 ");
    EXPECT_EQ(T::noteName(100), "");
}

TEST(VoiceParameterTable, ProxyFieldsAndTheFrequencyRowsOfEachOperator)
{
    for (int base = 0; base < 126; base += T::OperatorBlockSize) {
        EXPECT_EQ(T::proxyField(base + 18, 1), 3);
        EXPECT_EQ(T::proxyField(base + 19, 0), 4);
        EXPECT_EQ(T::proxyField(base + 17, 1), 2);
        EXPECT_EQ(T::proxyField(base + 8, 1), 10);
        EXPECT_EQ(T::proxyField(base + 12, 0), 1);
        EXPECT_EQ(T::proxyField(base + 16, 1), 0);
    }
    EXPECT_EQ(T::proxyField(136, 1), 6);
    EXPECT_EQ(T::proxyField(144, 0), 9);

    std::string voice(155, '\0');
    voice[21 + 17] = 1; // operator 5 fixed, operator 6 ratio
    EXPECT_EQ(T::proxyFieldForVoice(21 + 18, voice), 3);
    EXPECT_EQ(T::proxyFieldForVoice(18, voice), 4);
    EXPECT_EQ(T::proxyFieldForVoice(21 + 18, voice.substr(0, 30)), 4); // too short: ratio
}

struct ProxyCase {
    int column;
    int v;
    const char* text;
};

class ProxyTexts : public ::testing::TestWithParam<ProxyCase> {};

TEST_P(ProxyTexts, DisplayTextOfAValue)
{
    EXPECT_EQ(T::proxyText(GetParam().column, GetParam().v), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryColumn, ProxyTexts,
    ::testing::Values(ProxyCase{1, 3, "+LIN"}, ProxyCase{1, 4, ""}, ProxyCase{2, 1, "Fixed"},
                      ProxyCase{3, 0, " 0"}, ProxyCase{3, 1, " .023"}, ProxyCase{3, 99, " 8.772"},
                      ProxyCase{4, 1, " .01"}, ProxyCase{4, 29, " .29"}, ProxyCase{5, 0, "-7"},
                      ProxyCase{5, 14, " 7"}, ProxyCase{5, 15, ""}, ProxyCase{7, 1, "On"},
                      ProxyCase{7, 2, ""}, ProxyCase{8, 2, "Saw Up   "}, ProxyCase{8, 4, "S/Hold"},
                      ProxyCase{9, 48, "C 5 "}, ProxyCase{9, 49, ""}, ProxyCase{10, 0, "A-1 "},
                      ProxyCase{0, 1, ""}, ProxyCase{11, 1, ""}, ProxyCase{3, 100, ""}));

TEST(VoiceParameterTable, DisplayTextUsesTheValueOrItsColumn)
{
    EXPECT_EQ(T::displayText(0, "57"), "57");
    EXPECT_EQ(T::displayText(8, "2"), "Saw Up   ");
    EXPECT_EQ(T::displayText(5, " 14"), " 7");
    EXPECT_EQ(T::displayText(10, "120"), "");
    EXPECT_EQ(T::numericValue("-3"), -3);
    EXPECT_EQ(T::numericValue("5x"), 5);
    EXPECT_EQ(T::numericValue("A"), 0); // a letter of the name
    EXPECT_GT(T::numericValue("99999999999999999999"), 99999999); // capped, never wraps
}

} // namespace
} // namespace toneloft
