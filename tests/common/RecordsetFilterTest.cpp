#include "common/Recordset.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace toneloft {
namespace {

using Type = Recordset::FieldType;

struct Voice {
    const char* id;
    const char* name;
    const char* subGroup;
    const char* opGroup;
    std::optional<std::string> crc; // nullopt stays Null
    const char* checksum;
    bool del;
    const char* min;
    int level;
    float ratio;
};

// Shaped like the voice-name and voice-parameter tables the program filters.
const Voice kVoices[] = {
    {"1", "PIANO 1", "PitchEG", "EG Rate 3", "-12345", "17", false, "0", 5, 0.5f},
    {"2", "BASS 1", "Operator 3", "Oscillator", "-12345", "17", true, "1", 10, 1.1f},
    {"3", "STRINGS", "Operator 3", "EG Level 3", "777", "18", false, "0", -3, 2.0f},
    {"4", "BRASS", "Operator 2", "Oscillator", "-12345", "17", false, "2", 10, 0.25f},
    {"5", "EL.BASS", "LevSc3", "EG Rate 3", "12", "17", true, "0", 99, 1.1f},
    {"6", "piano 1", "PitchEG", "EG Level 2", "-12345", "17", false, "0", 7, 3.5f},
    {"7", "O'HARA", "OpMisc3", "Sensitivity", std::nullopt, "16", false, "1", 0, 0.0f},
    {"8", "BASSIC", "Operator 3", "Oscillator", "-12345", "19", true, "1", 5, 1.1f},
};

class FilterTable {
public:
    FilterTable()
    {
        rs.appendField("ID", Type::Text, 10);
        rs.appendField("Names", Type::Text, 10, true);
        rs.appendField("SubGroup", Type::Text, 15, true);
        rs.appendField("OpGroup", Type::Text, 15, true);
        rs.appendField("CRCAll", Type::Text, 15);
        rs.appendField("ChecksumAll", Type::Text, 15);
        rs.appendField("DelSelected", Type::Boolean);
        rs.appendField("Min.", Type::Text, 5);
        rs.appendField("Level", Type::Long);
        rs.appendField("Ratio", Type::Single);
        rs.open();
        for (const Voice& v : kVoices) {
            rs.addNew();
            rs.setValue("ID", std::string(v.id));
            rs.setValue("Names", std::string(v.name));
            rs.setValue("SubGroup", std::string(v.subGroup));
            rs.setValue("OpGroup", std::string(v.opGroup));
            if (v.crc)
                rs.setValue("CRCAll", *v.crc);
            rs.setValue("ChecksumAll", std::string(v.checksum));
            rs.setValue("DelSelected", v.del);
            rs.setValue("Min.", std::string(v.min));
            rs.setValue("Level", std::int32_t{v.level});
            rs.setValue("Ratio", v.ratio);
            rs.update();
        }
        rs.moveFirst();
    }

    std::string ids()
    {
        std::string out;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            out += rs.text("ID");
        return out;
    }

    Recordset rs;
};

struct FilterCase {
    const char* criteria;
    const char* ids; // the IDs of the rows that pass, in table order
};

void PrintTo(const FilterCase& c, std::ostream* os)
{
    *os << '"' << c.criteria << '"';
}

class RecordsetFilterRows : public testing::TestWithParam<FilterCase> {};

TEST_P(RecordsetFilterRows, PassesExactlyTheseRows)
{
    FilterTable t;
    ASSERT_TRUE(t.rs.setFilter(GetParam().criteria)) << t.rs.lastError();
    EXPECT_EQ(t.rs.lastErrorCode(), Recordset::ErrorCode::None);
    EXPECT_EQ(t.rs.filterText(), GetParam().criteria);
    EXPECT_EQ(t.ids(), GetParam().ids);
    EXPECT_EQ(t.rs.recordCount(), static_cast<long>(std::string(GetParam().ids).size()));
}

INSTANTIATE_TEST_SUITE_P(AsTheProgramWritesThem, RecordsetFilterRows, testing::Values(
    FilterCase{"SubGroup = 'PitchEG'", "16"},
    FilterCase{"OpGroup = 'EG Rate 3' OR OpGroup = 'EG Level 3'", "135"},
    FilterCase{"OpGroup = 'Oscillator' AND SubGroup = 'Operator 3'", "28"},
    FilterCase{"CRCall = '-12345' AND Delselected = False", "146"},
    FilterCase{"ChecksumAll = '17' AND Names = 'PIANO 1   '", "16"},
    FilterCase{"(Names LIKE 'BAS*' OR Names LIKE '*STR*')", "238"},
    FilterCase{"Names like 'B%'", "248"},
    FilterCase{"DelSelected = True", "258"}));

INSTANTIATE_TEST_SUITE_P(TextRules, RecordsetFilterRows, testing::Values(
    FilterCase{"Names = 'piano 1'", "16"},        // case and trailing blanks ignored
    FilterCase{"Names = 'BASS'", ""},             // = is not a prefix test
    FilterCase{"Names = 'BRASS          '", "4"}, // a longer literal, blank-padded
    FilterCase{"ID = '3   '", "3"},
    FilterCase{"ID < '3 '", "12"},
    FilterCase{"Names <> 'PIANO 1'", "234578"},
    FilterCase{"Names > 'P'", "136"},
    FilterCase{"Names <= 'BASSIC'", "28"},
    FilterCase{"Names = 'O''HARA'", "7"},
    FilterCase{"CRCAll = ''", "7"},               // Null reads as empty text
    FilterCase{"OpGroup <> 'Oscillator'", "13567"},
    FilterCase{"ID = 3.0", "3"},                  // a number against text that reads as one
    FilterCase{"ID < 10", "12345678"}));          // numerically, not "2" > "10"

INSTANTIATE_TEST_SUITE_P(Like, RecordsetFilterRows, testing::Values(
    FilterCase{"Names LIKE 'PIANO 1'", ""},       // no wildcard: the whole padded value
    FilterCase{"Names LIKE 'piano 1   '", "16"},
    FilterCase{"ID LIKE '1'", "1"},
    FilterCase{"ID LIKE '12'", ""},
    FilterCase{"Names LIKE '*AS*'", "2458"},
    FilterCase{"Names LIKE '%as*'", "2458"},
    FilterCase{"Names LIKE 'EL.*'", "5"},
    FilterCase{"Names LIKE 'BASS 1    *'", "2"},
    FilterCase{"Names LIKE '*'", "12345678"},
    FilterCase{"Names LIKE '**'", "12345678"},
    FilterCase{"Names LIKE '*''*'", "7"}));

INSTANTIATE_TEST_SUITE_P(NumbersAndBooleans, RecordsetFilterRows, testing::Values(
    FilterCase{"Level > 5", "2456"},
    FilterCase{"Level >= 5", "124568"},
    FilterCase{"Level < 0", "3"},
    FilterCase{"Level <= 10 AND Level <> 5", "23467"},
    FilterCase{"Level = '10'", "24"},
    FilterCase{"Level = -3", "3"},
    FilterCase{"Ratio = 1.1", "258"},             // as a Single holds it
    FilterCase{"Ratio < .5", "47"},
    FilterCase{"DelSelected <> True", "13467"},
    FilterCase{"DelSelected = 0", "13467"},
    FilterCase{"DelSelected = 'true'", "258"},
    FilterCase{"DelSelected = FALSE", "13467"}));

INSTANTIATE_TEST_SUITE_P(Grammar, RecordsetFilterRows, testing::Values(
    FilterCase{"SubGroup='PitchEG'", "16"},
    FilterCase{"  subgroup   =   'pitcheg'  ", "16"},
    FilterCase{"((SubGroup = 'PitchEG'))", "16"},
    FilterCase{"[Min.] = '0'", "1356"},
    FilterCase{"min. <> '0'", "2478"},
    FilterCase{"[MIN.] = 1", "278"},
    // AND binds tighter than OR.
    FilterCase{"Names = 'BRASS' OR Names = 'STRINGS' AND DelSelected = True", "4"},
    FilterCase{"(Names = 'BRASS' OR Names = 'STRINGS') AND DelSelected = False", "34"},
    FilterCase{"DelSelected = True and Level = 5 or Names = 'BRASS'", "48"},
    FilterCase{"SubGroup = 'Operator 3' AND (Level < 0 OR Ratio > 1) AND Names LIKE 'BAS*'", "28"}));

struct RejectedCase {
    const char* criteria;
    Recordset::ErrorCode code;
};

void PrintTo(const RejectedCase& c, std::ostream* os)
{
    *os << '"' << c.criteria << '"';
}

class RecordsetFilterRejected : public testing::TestWithParam<RejectedCase> {};

TEST_P(RecordsetFilterRejected, KeepsThePreviousFilter)
{
    FilterTable t;
    ASSERT_TRUE(t.rs.setFilter("DelSelected = True"));
    t.rs.moveNext();
    const auto bookmark = t.rs.bookmark();

    EXPECT_FALSE(t.rs.setFilter(GetParam().criteria));
    EXPECT_EQ(t.rs.lastErrorCode(), GetParam().code) << t.rs.lastError();
    EXPECT_FALSE(t.rs.lastError().empty());
    EXPECT_EQ(t.rs.filterText(), "DelSelected = True");
    EXPECT_EQ(t.rs.bookmark(), bookmark);
    EXPECT_EQ(t.ids(), "258");
}

TEST_P(RecordsetFilterRejected, FindRefusesItTooAndStaysPut)
{
    FilterTable t;
    t.rs.setAbsolutePosition(3);
    EXPECT_FALSE(t.rs.find(GetParam().criteria));
    EXPECT_EQ(t.rs.lastErrorCode(), GetParam().code);
    EXPECT_EQ(t.rs.absolutePosition(), 3);
}

using Code = Recordset::ErrorCode;

INSTANTIATE_TEST_SUITE_P(Patterns, RecordsetFilterRejected, testing::Values(
    RejectedCase{"Names LIKE 'B*SS'", Code::BadPattern},
    RejectedCase{"Names LIKE '*AS'", Code::BadPattern},
    RejectedCase{"Names LIKE '%AS'", Code::BadPattern},
    RejectedCase{"Names LIKE 'B%S*'", Code::BadPattern},
    RejectedCase{"Names LIKE '*A*S*'", Code::BadPattern},
    RejectedCase{"Names LIKE '***'", Code::BadPattern},
    RejectedCase{"(Names LIKE 'BAS*' OR Names LIKE 'B*SS')", Code::BadPattern}));

INSTANTIATE_TEST_SUITE_P(Malformed, RecordsetFilterRejected, testing::Values(
    RejectedCase{"Nmes = 'X'", Code::UnknownField},
    RejectedCase{"[Names ] = 'X'", Code::UnknownField},
    RejectedCase{"Names = 'X", Code::Syntax},
    RejectedCase{"Names 'X'", Code::Syntax},
    RejectedCase{"Names == 'X'", Code::Syntax},
    RejectedCase{"Names = 'X' AND", Code::Syntax},
    RejectedCase{"Names = 'A' OR OR Names = 'B'", Code::Syntax},
    RejectedCase{"(Names = 'X'", Code::Syntax},
    RejectedCase{"Names = 'X')", Code::Syntax},
    RejectedCase{"Names = ", Code::Syntax},
    RejectedCase{"= 'X'", Code::Syntax},
    RejectedCase{"[Min. = '0'", Code::Syntax},
    RejectedCase{"Names = 'A' 'B'", Code::Syntax},
    RejectedCase{"Level = 1.2.3", Code::Syntax},
    RejectedCase{"Names = \"X\"", Code::Syntax},
    RejectedCase{"DelSelected > True", Code::TypeMismatch},
    RejectedCase{"DelSelected = 'maybe'", Code::TypeMismatch},
    RejectedCase{"Level LIKE '1*'", Code::TypeMismatch},
    RejectedCase{"Level = 'abc'", Code::TypeMismatch}));

TEST(RecordsetFilter, DeepNestingIsRefusedNotOverflowed)
{
    FilterTable t;
    const std::string deep = std::string(5000, '(') + "Level = 5" + std::string(5000, ')');
    EXPECT_FALSE(t.rs.setFilter(deep));
    EXPECT_EQ(t.rs.lastErrorCode(), Code::Syntax);
    const std::string fair = std::string(20, '(') + "Level = 5" + std::string(20, ')');
    ASSERT_TRUE(t.rs.setFilter(fair));
    EXPECT_EQ(t.ids(), "18");
}

TEST(RecordsetFilter, BlankTextClearsTheFilter)
{
    FilterTable t;
    ASSERT_TRUE(t.rs.setFilter("Level = 5"));
    EXPECT_TRUE(t.rs.isFiltered());
    EXPECT_TRUE(t.rs.setFilter("   "));
    EXPECT_FALSE(t.rs.isFiltered());
    EXPECT_EQ(t.ids(), "12345678");
}

TEST(RecordsetFilter, ABracketedNameMayHoldBlanks)
{
    Recordset rs;
    rs.appendField("Byte", Type::Text, 10, true);
    rs.appendField(" 1", Type::Text, 5);
    rs.appendField(" 2", Type::Text, 5);
    rs.open();
    for (int row = 0; row < 3; ++row) {
        rs.addNew();
        rs.setValue("Byte", std::int32_t{row * 16});
        rs.setValue(" 1", std::int32_t{240 + row});
        rs.setValue(" 2", std::int32_t{67});
    }
    ASSERT_TRUE(rs.setFilter("[ 1] = 241 AND [ 2] = '67'")) << rs.lastError();
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("Byte"), "16        ");
}

TEST(RecordsetFilter, EditedValuesCountWhenTheFilterIsSetAgain)
{
    FilterTable t;
    ASSERT_TRUE(t.rs.setFilter("DelSelected = True"));
    auto all = t.rs.clone();
    all->setAbsolutePosition(1);
    all->setValue("DelSelected", true);
    EXPECT_EQ(t.ids(), "258");
    ASSERT_TRUE(t.rs.setFilter("DelSelected = True"));
    EXPECT_EQ(t.ids(), "1258");
}

} // namespace
} // namespace toneloft
