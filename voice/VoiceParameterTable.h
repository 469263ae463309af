#pragma once

#include <string>
#include <string_view>

namespace toneloft {

// One row of the voice parameter table. Rows are 0-based offsets into the
// 155-byte unpacked voice: six operator blocks of 21 (operator 6 first), then
// 19 voice-wide rows (126..144) and the ten name characters (145..154).
struct VoiceParameter {
    std::string title;      // always 15 characters, trailing blanks kept
    std::string shortTitle; // empty for the name rows
    int min = 0;
    int max = 0;
    std::string group;    // "Operator" or "Non-Operator"
    std::string subGroup; // "Operator 6", "LevSc6", "OpMisc6", "PitchEG", "LFO" ...
    std::string opGroup;  // "EG Rate 6", "Key Lev Scalg", ... or "Not Applicable"
    std::string randomGroup;
    int proxyField = 0;           // ProxyData column 1..10, 0 for none
    bool proxyByOscMode = false;  // frequency coarse/fine: column 3 (fixed) or 4 (ratio)
    int operatorNumber = 0;       // 1..6, 0 for voice-wide rows
};

// The static description of the 155 voice parameters and of the display texts
// (ProxyData columns) that stand in for some of their values.
class VoiceParameterTable {
public:
    static constexpr int RowCount = 155;
    static constexpr int DataRowCount = 145;   // rows 0..144 hold values; the rest is the name
    static constexpr int OperatorBlockSize = 21;
    static constexpr int OscModeOffset = 17;   // within an operator block
    static constexpr int ProxyColumnCount = 10;
    static constexpr int ProxyRowCount = 100;  // display texts for the values 0..99

    // Row 0..154; an index outside that range is clamped.
    static const VoiceParameter& row(int index);

    // Offset of the oscillator mode row of the operator that owns row index,
    // or -1 for voice-wide rows.
    static int oscModeRowOf(int index);

    // ProxyData column of a row, with its operator's oscillator mode (0 ratio, 1 fixed)
    // deciding coarse and fine. 0 when the value itself is shown.
    static int proxyField(int index, int oscMode);
    // The same, reading the oscillator mode from an unpacked voice (155 bytes);
    // a voice too short to hold the mode counts as ratio.
    static int proxyFieldForVoice(int index, std::string_view voice);
    // The ProxyFieldID text of a column: "" for 0, else the number ("3", "10").
    static std::string proxyFieldId(int proxyField);

    // Names of the ten ProxyData columns, 1..10; "" outside.
    static std::string proxyColumnName(int column);
    // Display text of value v in ProxyData column 1..10; "" where the column has
    // no text for v.
    static std::string proxyText(int column, int v);
    // The text shown for a value: the value text itself when proxyField is 0,
    // otherwise the column's text for the value's number.
    static std::string displayText(int proxyField, std::string_view valueText);

    // Entry 0..99 of the note table, 4 characters ("A-1 ", "C 3 ", "C 8 "); "" outside.
    static std::string noteName(int entry);
    // LFO wave 0..4 as its 9-character slice ("Saw Up   "); the last, "S/Hold", is
    // shorter. "" outside.
    static std::string lfoWaveName(int wave);

    // The number a Value text stands for: blanks skipped, optional sign, then the
    // leading digits. A name character that is not a digit counts as 0.
    static long numericValue(std::string_view text);
};

} // namespace toneloft
