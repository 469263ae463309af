#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace toneloft {

// The drawing of one of the 32 algorithms as the instrument's chart shows it:
// carriers side by side on the bottom row, each modulator above the operator it
// modulates, the output bus under the carriers and the feedback loop on the
// right of its operators. Routing comes from the sound engine's table, so the
// diagrams and the sound can never disagree.
//
// Units: one column per operator stack and one row per level, so a box centre
// is (column, row); row 0 is the top row.
struct DiagramPoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const DiagramPoint&, const DiagramPoint&) = default;
};

struct AlgorithmLayout {
    static constexpr double kBoxWidth = 0.6;
    static constexpr double kBoxHeight = 0.5;

    struct Box {
        int op = 0;        // 1..6, the caption
        double column = 0; // centre
        int row = 0;
    };
    struct Link {
        int from = 0; // the modulator
        int to = 0;   // the operator it modulates
        std::vector<DiagramPoint> line;
    };

    int algorithm = 0;               // 0..31, shown as 1..32
    std::array<Box, 6> boxes{};      // boxes[n - 1] is operator n
    std::vector<std::vector<int>> rows; // operators per row, top to bottom, left to right
    std::vector<int> carriers;       // left to right
    std::vector<Link> links;         // modulator to operator
    std::vector<std::vector<DiagramPoint>> outputLines; // carrier down to the bus, then the bus
    int feedbackFrom = 0;            // 1..6
    int feedbackTo = 0;              // 1..6; equal to feedbackFrom for a one-operator loop
    std::vector<DiagramPoint> feedbackLine;
    DiagramPoint topLeft;            // everything drawn lies within these
    DiagramPoint bottomRight;

    const Box& box(int op) const { return boxes[static_cast<std::size_t>(op - 1)]; }
    // The operator whose box holds the point; 0 when none does.
    int operatorAt(DiagramPoint p) const;
};

// Algorithm value 0..31 (a value outside is clamped).
const AlgorithmLayout& AlgorithmLayoutOf(int algorithm);

// The algorithm value of a patch generator voice node, "5 E.PIANO 1  (Alg 5)":
// the number after "(Alg", less one; nothing when there is no such number in 1..32.
std::optional<int> AlgorithmOfNodeText(std::string_view text);

} // namespace toneloft
