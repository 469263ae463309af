#pragma once

#include <string>

namespace toneloft {

// One element of an editor that can be dragged onto another of its kind to
// copy its parameters: an operator title label (index = panel 0..6), a grid
// (0..26) or a graph (0..12, the index of the grid it draws).
struct EditorElement {
    enum class Kind { Label, Grid, Graph };
    Kind kind = Kind::Grid;
    int index = 0;
    std::string listKey;   // the voice list of the editor the element is in ("L0001")
    std::string editorKey; // that editor's key in the list ("V12")
};

// The outcome of naming a source and a target.
struct SourceTarget {
    bool accepted = false;
    int sourceOpNo = 0; // 0 for voice-wide elements
    int targetOpNo = 0;
};

// The operator an element belongs to: a label's panel number; for a grid or
// graph with index i, ((i - 1) mod 6) + 1, and 0 for index 0.
int ElementOperator(const EditorElement& e);

// Whether source may be dropped on target. Refused: an element that does not
// exist (label above 6, grid above 26, graph above 12, negative); the same element (same
// kind, index, list and editor); different kinds; exactly one of the two
// operators 0; a target grid 25 or 26 other than the source's index; sources
// and targets whose (index - 1) / 6 (truncated toward zero) differ, i.e.
// groups of different sections.
SourceTarget GetSourceTargetID(const EditorElement& source, const EditorElement& target);

} // namespace toneloft
