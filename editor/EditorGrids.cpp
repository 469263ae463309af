#include "editor/EditorGrids.h"

#include "common/NumberText.h"

#include <algorithm>
#include <array>

namespace toneloft {
namespace {

// "SubGroup = 'LevSc3'": a comparison as the editor writes it.
std::string comparison(const std::string& field, const std::string& group)
{
    return field + " = '" + group + "'";
}

EditorGrid makeGrid(int g)
{
    EditorGrid grid;
    grid.index = g;
    grid.valueColumn = "ProxyVal";
    if (g == 0) {
        grid.kind = GridKind::PitchEnvelope;
        grid.rows = 8;
        grid.filter = comparison("SubGroup", "PitchEG");
        grid.caption = "PEG Rate/Level";
        grid.valueColumn = "Value";
    } else if (g <= 6) {
        grid.kind = GridKind::Envelope;
        grid.operatorNumber = g;
        grid.rows = 8;
        // The blank before the digit is the one number-to-text puts there.
        grid.filter = comparison("OpGroup", "EG Rate" + Str(g)) + " OR " +
                      comparison("OpGroup", "EG Level" + Str(g));
        grid.caption = "EG Rate/Level";
        grid.valueColumn = "Value";
    } else if (g <= 12) {
        grid.kind = GridKind::LevelScaling;
        grid.operatorNumber = g - 6;
        grid.rows = 5;
        grid.filter = comparison("SubGroup", "LevSc" + StrTrim(g - 6));
        grid.caption = "Level Scaling";
    } else if (g <= 18) {
        grid.kind = GridKind::Oscillator;
        grid.operatorNumber = g - 12;
        grid.rows = 4;
        grid.filter = comparison("OpGroup", "Oscillator") + " AND " +
                      comparison("SubGroup", "Operator" + Str(g - 12));
        grid.caption = "Oscillator";
    } else if (g <= 24) {
        grid.kind = GridKind::Sensitivity;
        grid.operatorNumber = g - 18;
        grid.rows = 4;
        grid.filter = comparison("SubGroup", "OpMisc" + StrTrim(g - 18));
        grid.caption = "Sensitivity";
    } else if (g == EditorGrids::kLfoGrid) {
        grid.kind = GridKind::Lfo;
        grid.rows = 7;
        grid.filter = comparison("SubGroup", "LFO");
        grid.caption = "LFO";
    } else {
        grid.kind = GridKind::Misc;
        grid.rows = 3;
        grid.filter = comparison("SubGroup", "Misc");
        grid.caption = "Misc";
    }
    grid.panel = grid.operatorNumber;
    return grid;
}

const std::array<EditorGrid, EditorGrids::kGridCount>& grids()
{
    static const auto table = [] {
        std::array<EditorGrid, EditorGrids::kGridCount> t;
        for (int g = 0; g < EditorGrids::kGridCount; ++g)
            t[static_cast<std::size_t>(g)] = makeGrid(g);
        return t;
    }();
    return table;
}

} // namespace

namespace EditorGrids {

const EditorGrid& grid(int index)
{
    return grids()[static_cast<std::size_t>(std::clamp(index, 0, kGridCount - 1))];
}

bool isGrid(int index)
{
    return index >= 0 && index < kGridCount;
}

std::string filterText(int index)
{
    return grid(index).filter;
}

std::string panelTitle(int panel)
{
    return panel == 0 ? std::string("Non Operator") : "Operator " + StrTrim(panel);
}

} // namespace EditorGrids
} // namespace toneloft
