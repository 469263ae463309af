#include "voice/VoiceParameterTable.h"

#include "common/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace toneloft {
namespace {

// Operator 6's block; the other operators swap the digit (see buildRows).
struct OperatorRow {
    const char* title;
    const char* shortTitle;
    int max;
    enum Section { Env, LevSc, OpMisc, Osc } section;
    const char* opGroup; // for Env rows the stem before " " + digit
    int proxyField;
    bool byOscMode;
    const char* randomGroup;
};

constexpr std::array<OperatorRow, 21> operatorBlock{{
    {"OP6 EG Rate 1  ", "R1", 99, OperatorRow::Env, "EG Rate", 0, false, "EG Rate"},
    {"OP6 EG Rate 2  ", "R2", 99, OperatorRow::Env, "EG Rate", 0, false, "EG Rate"},
    {"OP6 EG Rate 3  ", "R3", 99, OperatorRow::Env, "EG Rate", 0, false, "EG Rate"},
    {"OP6 EG Rate 4  ", "R4", 99, OperatorRow::Env, "EG Rate", 0, false, "EG Rate"},
    {"OP6 EG Level 1 ", "L1", 99, OperatorRow::Env, "EG Level", 0, false, "EG Level"},
    {"OP6 EG Level 2 ", "L2", 99, OperatorRow::Env, "EG Level", 0, false, "EG Level"},
    {"OP6 EG Level 3 ", "L3", 99, OperatorRow::Env, "EG Level", 0, false, "EG Level"},
    {"OP6 EG Level 4 ", "L4", 99, OperatorRow::Env, "EG Level", 0, false, "EG Level"},
    {"OP6 KeyLevScBP ", "BPoint", 99, OperatorRow::LevSc, "Key Lev Scalg", 10, false, "EG Level Scaling"},
    {"OP6 KeyLevScLD ", "LDepth", 99, OperatorRow::LevSc, "Key Lev Scalg", 0, false, "EG Level Scaling"},
    {"OP6 KeyLevScRD ", "RDepth", 99, OperatorRow::LevSc, "Key Lev Scalg", 0, false, "EG Level Scaling"},
    {"OP6 KeyLevScLC ", "LCurve", 3, OperatorRow::LevSc, "Key Lev Scalg", 1, false, "EG Level Scaling"},
    {"OP6 KeyLevScRC ", "RCurve", 3, OperatorRow::LevSc, "Key Lev Scalg", 1, false, "EG Level Scaling"},
    {"OP6 Key RateSC ", "KRS", 7, OperatorRow::OpMisc, "KRS", 0, false, "Sensitivity"},
    {"OP6 AMS        ", "AMS", 3, OperatorRow::OpMisc, "AMS", 0, false, "Sensitivity"},
    {"OP6 KVS        ", "KVS", 7, OperatorRow::OpMisc, "KVS", 0, false, "Sensitivity"},
    {"OP6 Output Lev ", "Output", 99, OperatorRow::OpMisc, "Output", 0, false, "Output Level"},
    {"OP6 Osc Mode   ", "Mode", 1, OperatorRow::Osc, "Oscillator", 2, false, "Oscillator"},
    {"OP6 Osc Freq C ", "Coarse", 31, OperatorRow::Osc, "Oscillator", 0, true, "Oscillator"},
    {"OP6 Osc Freq F ", "Fine", 99, OperatorRow::Osc, "Oscillator", 0, true, "Oscillator"},
    {"OP6 Osc Detune ", "Detune", 14, OperatorRow::Osc, "Oscillator", 5, false, "Oscillator"},
}};

struct VoiceWideRow {
    const char* title;
    const char* shortTitle;
    int max;
    const char* subGroup;
    int proxyField;
    const char* randomGroup;
};

// Offsets 126..144.
constexpr std::array<VoiceWideRow, 19> voiceWideRows{{
    {"PEG Rate 1     ", "R1", 99, "PitchEG", 0, "Pitch EG Rate"},
    {"PEG Rate 2     ", "R2", 99, "PitchEG", 0, "Pitch EG Rate"},
    {"PEG Rate 3     ", "R3", 99, "PitchEG", 0, "Pitch EG Rate"},
    {"PEG Rate 4     ", "R4", 99, "PitchEG", 0, "Pitch EG Rate"},
    {"PEG Levl 1     ", "L1", 99, "PitchEG", 0, "Pitch EG Level"},
    {"PEG Levl 2     ", "L2", 99, "PitchEG", 0, "Pitch EG Level"},
    {"PEG Levl 3     ", "L3", 99, "PitchEG", 0, "Pitch EG Level"},
    {"PEG Levl 4     ", "L4", 99, "PitchEG", 0, "Pitch EG Level"},
    {"Algorithm. Sel ", "Alg", 31, "Algorithm", 0, "Algorithm"},
    {"Feedback       ", "Fback", 7, "Misc", 0, "Feedback"},
    {"Osc.Key Sync   ", "OscKS", 1, "Misc", 6, "Oscillator Key Sync"},
    {"LFO Speed      ", "Speed", 99, "LFO", 0, "LFO"},
    {"LFO Delay      ", "Delay", 99, "LFO", 0, "LFO"},
    {"LFO PMD        ", "PMD", 99, "LFO", 0, "LFO"},
    {"LFO AMD        ", "AMD", 99, "LFO", 0, "LFO"},
    {"LFO KeySnc     ", "KeySnc", 1, "LFO", 7, "LFO"},
    {"LFO Wave       ", "Wave", 4, "LFO", 8, "LFO"},
    {"LFO PMS        ", "PMS", 7, "LFO", 0, "LFO"},
    {"Transpose      ", "Trans", 48, "Misc", 9, "Transpose"},
}};

constexpr int TitleLength = 15;
constexpr int NameLength = 10;
constexpr int NoteEntryLength = 4;
constexpr int WaveSliceLength = 9;
constexpr std::string_view waveNames = "Triangle Saw Down Saw Up   Sine     S/Hold";

std::vector<VoiceParameter> buildRows()
{
    std::vector<VoiceParameter> rows;
    rows.reserve(VoiceParameterTable::RowCount);
    for (int op = 6; op >= 1; --op) {
        const std::string digit(1, static_cast<char>('0' + op));
        for (const OperatorRow& r : operatorBlock) {
            VoiceParameter p;
            p.title = "OP" + digit + std::string(r.title).substr(3);
            p.shortTitle = r.shortTitle;
            p.max = r.max;
            p.group = "Operator";
            switch (r.section) {
            case OperatorRow::Env:
                p.subGroup = "Operator " + digit;
                p.opGroup = std::string(r.opGroup) + " " + digit;
                break;
            case OperatorRow::LevSc:
                p.subGroup = "LevSc" + digit;
                p.opGroup = r.opGroup;
                break;
            case OperatorRow::OpMisc:
                p.subGroup = "OpMisc" + digit;
                p.opGroup = r.opGroup;
                break;
            case OperatorRow::Osc:
                p.subGroup = "Operator " + digit;
                p.opGroup = r.opGroup;
                break;
            }
            p.randomGroup = r.randomGroup;
            p.proxyField = r.proxyField;
            p.proxyByOscMode = r.byOscMode;
            p.operatorNumber = op;
            rows.push_back(std::move(p));
        }
    }
    for (const VoiceWideRow& r : voiceWideRows) {
        VoiceParameter p;
        p.title = r.title;
        p.shortTitle = r.shortTitle;
        p.max = r.max;
        p.group = "Non-Operator";
        p.subGroup = r.subGroup;
        p.opGroup = "Not Applicable";
        p.randomGroup = r.randomGroup;
        p.proxyField = r.proxyField;
        rows.push_back(std::move(p));
    }
    for (int n = 1; n <= NameLength; ++n) {
        VoiceParameter p;
        p.title = "Name " + std::to_string(n);
        p.title.resize(TitleLength, ' ');
        p.max = 99; // a name character counts 0..9, never outside
        p.group = "Non-Operator";
        p.subGroup = "Name";
        p.opGroup = "Not Applicable";
        rows.push_back(std::move(p));
    }
    return rows;
}

const std::vector<VoiceParameter>& rows()
{
    static const std::vector<VoiceParameter> table = buildRows();
    return table;
}

// 100 entries of 4 characters: A-1, A#-1, B-1, then C 0 .. B 7, then C 8.
std::string buildNoteTable()
{
    std::string notes = "A-1 A#-1B-1 ";
    const std::string_view octaveRun = "C 0 C#0 D 0 D#0 E 0 F 0 F#0 G 0 G#0 A 0 A#0 B 0 ";
    for (char octave = '0'; octave <= '7'; ++octave) {
        std::string run(octaveRun);
        for (std::size_t i = 2; i < run.size(); i += NoteEntryLength)
            run[i] = octave;
        notes += run;
    }
    notes += "C 8 ";
    return notes;
}

const std::string& noteTable()
{
    static const std::string table = buildNoteTable();
    return table;
}

// Fixed-frequency fine steps in thousandths: 1000 x 10^(v/100), rounded.
const std::array<int, VoiceParameterTable::ProxyRowCount>& fixedFineThousandths()
{
    static const auto table = [] {
        std::array<int, VoiceParameterTable::ProxyRowCount> t{};
        for (std::size_t v = 0; v < t.size(); ++v) {
            const double exponent = static_cast<double>(v) / 100.0;
            t[v] = static_cast<int>(std::lround(1000.0 * std::pow(10.0, exponent)));
        }
        return t;
    }();
    return table;
}

} // namespace

const VoiceParameter& VoiceParameterTable::row(int index)
{
    return rows()[static_cast<std::size_t>(std::clamp(index, 0, RowCount - 1))];
}

int VoiceParameterTable::oscModeRowOf(int index)
{
    if (index < 0 || index >= 6 * OperatorBlockSize)
        return -1;
    return index / OperatorBlockSize * OperatorBlockSize + OscModeOffset;
}

int VoiceParameterTable::proxyField(int index, int oscMode)
{
    if (index < 0 || index >= RowCount)
        return 0;
    const VoiceParameter& p = row(index);
    if (p.proxyByOscMode)
        return oscMode == 1 ? 3 : 4;
    return p.proxyField;
}

int VoiceParameterTable::proxyFieldForVoice(int index, std::string_view voice)
{
    const int modeRow = oscModeRowOf(index);
    int mode = 0;
    if (modeRow >= 0 && static_cast<std::size_t>(modeRow) < voice.size())
        mode = static_cast<unsigned char>(voice[static_cast<std::size_t>(modeRow)]);
    return proxyField(index, mode);
}

std::string VoiceParameterTable::proxyFieldId(int field)
{
    return field == 0 ? std::string() : std::to_string(field);
}

std::string VoiceParameterTable::proxyColumnName(int column)
{
    static constexpr std::array<const char*, ProxyColumnCount> names{
        "Level Scaling", "Osc.Mode", "Fixed Freq.Fine", "Freq.Ratio Fine", "Detune",
        "OscKeySync", "LFOKeySync", "LFOWave", "Transpose", "BreakPoint"};
    if (column < 1 || column > ProxyColumnCount)
        return {};
    return names[static_cast<std::size_t>(column - 1)];
}

std::string VoiceParameterTable::proxyText(int column, int v)
{
    if (v < 0 || v >= ProxyRowCount)
        return {};
    const auto pick = [v](std::initializer_list<const char*> texts) -> std::string {
        if (static_cast<std::size_t>(v) >= texts.size())
            return {};
        return texts.begin()[v];
    };
    switch (column) {
    case 1: return pick({"-LIN", "-EXP", "+EXP", "+LIN"});
    case 2: return pick({"Ratio", "Fixed"});
    case 3: {
        // Single precision, so the text ends after 7 significant digits (" 7.71").
        const double thousandths = fixedFineThousandths()[static_cast<std::size_t>(v)];
        return Str(static_cast<float>(thousandths / 1000.0 - 1.0));
    }
    case 4: return Str(static_cast<double>(v) / 100.0);
    case 5: return v <= 14 ? Str(v - 7) : std::string();
    case 6:
    case 7: return pick({"Off", "On"});
    case 8: return lfoWaveName(v);
    case 9: return v <= 48 ? noteName(v + 15) : std::string(); // C 1 .. C 5
    case 10: return noteName(v);
    default: return {};
    }
}

std::string VoiceParameterTable::displayText(int field, std::string_view valueText)
{
    if (field == 0)
        return std::string(valueText);
    const long v = numericValue(valueText);
    if (v < 0 || v >= ProxyRowCount)
        return {};
    return proxyText(field, static_cast<int>(v));
}

std::string VoiceParameterTable::noteName(int entry)
{
    if (entry < 0 || entry >= ProxyRowCount)
        return {};
    return noteTable().substr(static_cast<std::size_t>(entry * NoteEntryLength), NoteEntryLength);
}

std::string VoiceParameterTable::lfoWaveName(int wave)
{
    if (wave < 0 || wave > 4)
        return {};
    const auto start = static_cast<std::size_t>(wave * WaveSliceLength);
    return std::string(waveNames.substr(start, WaveSliceLength));
}

long VoiceParameterTable::numericValue(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long n = 0;
    // Value texts are at most 5 characters; the cap keeps junk from overflowing.
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && n < 100000000; ++i)
        n = n * 10 + (text[i] - '0');
    return negative ? -n : n;
}

} // namespace toneloft
