#pragma once

#include <string>

namespace toneloft {

// The program's number-to-text conversion: a leading blank before a number that
// is not negative, a minus sign otherwise, and no zero before the decimal point.
//   Str(144) == " 144", Str(-7) == "-7", Str(0.023f) == " .023", Str(0) == " 0"
// Single-precision values are written with up to 7 significant digits.
std::string Str(long long n);
std::string Str(int n);
inline std::string Str(long n) { return Str(static_cast<long long>(n)); }
std::string Str(double d);
std::string Str(float f);

// Str without its leading blank.
std::string StrTrim(long long n);

// Formats a number by one of the program's picture patterns:
//   "#,###,###,##0"  "  0.000"  "  0.0"  "##.0#"  "#.###"  "#.000"  "#0.00"
//   "##0.0"  "0000"  "#0:"  "#0.0"  "######"  "###0.0"  "#0.##"  " ##0"  "####"  "000"
// '0' is a digit always written, '#' a digit written only when significant, ','
// groups thousands, '.' is the decimal point; any other character is literal.
// Rounding is half away from zero, on the value's 15 significant decimal digits.
// Integer digits beyond the placeholders are still written (12345, "###" gives
// "12345"); a zero integer part under '#' alone is left out (0.75, "#.###" gives
// ".75"; 0, "####" gives ""); the point is always written (2, "#0.##" gives "2.").
// A negative value that does not round to zero gets a leading '-', before any
// literal. An empty pattern gives Str() without the blank.
std::string Format(double value, const std::string& pattern);

// "ddddd.ttttt": the short date, a full stop and the long time, in the local time
// zone, as day/month/four-digit year and 24-hour time: "05/12/2026.15:04:39".
std::string FormatDateTime(long long secondsSinceEpoch);

} // namespace toneloft
