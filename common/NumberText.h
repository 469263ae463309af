#pragma once

#include <string>

namespace toneloft {

// The program's number-to-text conversion: a leading blank before a number that
// is not negative, a minus sign otherwise, and no zero before the decimal point.
//   Str(144) == " 144", Str(-7) == "-7", Str(0.023f) == " .023", Str(0) == " 0"
// Single-precision values are written with up to 7 significant digits.
std::string Str(long long n);
std::string Str(int n);
std::string Str(double d);
std::string Str(float f);

// Str without its leading blank.
std::string StrTrim(long long n);

// Formats a number by one of the program's picture patterns:
//   "#,###,###,##0"  "  0.000"  "  0.0"  "##.0#"  "#.###"  "#.000"  "#0.00"
//   "##0.0"  "0000"  "#0:"  "#0.0"  "######"  "###0.0"  "#0.##"  " ##0"  "####"  "000"
// '0' is a digit always written, '#' a digit written only when significant, ','
// groups thousands, '.' is the decimal point; any other character is literal.
// Rounding is half away from zero. An empty pattern gives Str() without the blank.
std::string Format(double value, const std::string& pattern);

// "ddddd.ttttt": the short date, a full stop and the long time.
std::string FormatDateTime(long long secondsSinceEpoch);

} // namespace toneloft
