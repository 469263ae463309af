#pragma once

#include <string>

namespace toneloft {

// The 27 small grids of a voice editor, each a filtered view of the voice's
// VoiceData table, and the seven panels they stand in.
//
//   grid 0          pitch envelope (8 rows)               panel 0
//   grid n (1..6)   envelope of operator n (8 rows)        panel n
//   grid n + 6      level scaling of operator n (5 rows)  panel n
//   grid n + 12     oscillator of operator n (4 rows)      panel n
//   grid n + 18     sensitivity of operator n (4 rows)     panel n
//   grid 25         LFO (7 rows)                           panel 0
//   grid 26         Misc: feedback, osc key sync, transpose panel 0
//
// Graphs share the index of the grid whose values they draw: envelope graphs
// 0..6, level-scaling graphs 7..12.
enum class GridKind { PitchEnvelope, Envelope, LevelScaling, Oscillator, Sensitivity, Lfo, Misc };

struct EditorGrid {
    int index = 0;
    GridKind kind = GridKind::PitchEnvelope;
    int panel = 0;          // 0 voice-wide, 1..6 operator
    int operatorNumber = 0; // 1..6; 0 for the voice-wide grids
    int rows = 0;
    std::string filter;      // the filter text on VoiceData
    std::string caption;     // "EG Rate/Level", "Oscillator", ...
    std::string valueColumn; // the second visible column: "Value" (envelopes) or "ProxyVal"
};

namespace EditorGrids {

inline constexpr int kGridCount = 27;
inline constexpr int kPanelCount = 7;
inline constexpr int kLfoGrid = 25;
inline constexpr int kMiscGrid = 26;

// The grid's description; index outside 0..26 is clamped.
const EditorGrid& grid(int index);
bool isGrid(int index);

// The filter text of grid g exactly as the editor sets it on its clone.
std::string filterText(int index);

// Panel title: "Non Operator" for 0, "Operator 3" for 3.
std::string panelTitle(int panel);

} // namespace EditorGrids

} // namespace toneloft
