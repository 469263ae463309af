#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace toneloft::modOscillator {

// The frequency an operator's oscillator rows show, from its mode (0 ratio,
// 1 fixed), coarse (0..31) and fine (0..99) values:
//   ratio: coarse x (1 + fine / 100), coarse 0 counting as 0.5;
//          "##.0#" ("1.0", "61.69"), or "#.###" for coarse 0 (".5", ".75")
//   fixed: 10^(coarse mod 4) x 10^(fine / 100) Hz, the fine factor taken to
//          three decimals; "1.000 Hz", "10.00 Hz", "102.3 Hz", "9772 Hz"
std::string FrequencyText(int mode, int coarse, int fine);

// The caption of the algorithm panel for algorithm value 0..31:
// "  Algorithm  1  " .. "  Algorithm  32  ".
std::string AlgorithmCaption(int algorithm);

struct CoarseFine {
    int coarse = 0;
    int fine = 0;
};

// A typed frequency or ratio read back into coarse and fine, for an operator
// in fixed mode (fixed = true) or ratio mode. A trailing "Hz" is optional;
// the number the text starts with must lie within 0.5 to 9772.
//   fixed: only the 100 frequencies of each decade, to four significant
//          digits ("1.023", "10.23", "102.3", "1023 Hz" -> coarse 3, fine 1);
//          a number between the decades' bands counts as coarse 0, fine 0
//   ratio: the first coarse 0..31, fine 0..99 (coarse before fine) whose ratio
//          is the number ("0.5" -> 0/0, "1" -> 1/0, "0.4" -> none)
// Nothing when no pair fits.
std::optional<CoarseFine> ParseTypedFrequency(std::string_view text, bool fixed);

// The number a typed text starts with: blanks, an optional sign, digits with an
// optional decimal point ("12abc" -> 12, " -3" -> -3). Nothing without a digit.
std::optional<double> LeadingNumber(std::string_view text);

} // namespace toneloft::modOscillator
