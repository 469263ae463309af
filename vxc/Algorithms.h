#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace toneloft::vxc {

// Operators are numbered 1..6 on both instruments; index 0 of every array is unused.
using OperatorMask = std::uint8_t; // bit n set: operator n

struct Topology {
    OperatorMask carriers = 0;
    std::array<OperatorMask, 7> modulators{}; // modulators[n]: operators modulating operator n
    int feedbackOperator = 0;                 // 0 when there is none
};

// The 32 DX7 algorithms as drawn on the instrument's panel. Algorithms 4 and 6
// feed back through a loop (6 -> 4 and 6 -> 5); they are listed with operator 6
// feeding itself, which is what a one-operator feedback can hold.
const Topology& DxAlgorithm(int number); // 1..32

struct AlgorithmMapping {
    int syAlgorithm = 0;                    // 1..45
    std::array<int, 7> syOperator{};        // syOperator[dx op] = SY op
    bool exact = false;                     // the SY77 preset is the DX7 algorithm
    bool syTopologyKnown = false;           // routing bytes describe the SY preset
    Topology syTopology;                    // the routing written into the voice
    std::string note;                       // what was approximated, empty when exact
};

// The SY77 AFM preset for a DX7 algorithm (1..32) with its operator renumbering.
AlgorithmMapping MapAlgorithm(int dxAlgorithm);

// A topology seen through a renumbering of its operators.
Topology Renumber(const Topology& t, const std::array<int, 7>& map);

} // namespace toneloft::vxc
