#pragma once

#include <array>
#include <cstdint>

namespace toneloft::synth {

// How the six operators of one algorithm are wired. Operators are indexed
// 0..5 for operators 1..6; bit i of a mask is operator i + 1. Every
// modulator has a higher number than the operator it modulates, so computing
// operator 6 down to 1 finds each input ready.
struct Algorithm {
    std::array<std::uint8_t, 6> modulators{}; // per operator: the operators feeding its phase
    std::uint8_t carriers = 0;                // operators summed to the output
    int feedbackFrom = 0;                     // operator index whose output is fed back
    int feedbackTo = 0;                       // operator index that receives it
    int carrierCount = 0;
};

// Algorithm 0..31 (shown 1..32); a number outside is clamped.
const Algorithm& algorithm(int number);

} // namespace toneloft::synth
