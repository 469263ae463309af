#pragma once

#include <ostream>
#include <string>

namespace toneloft::cli {

// toneloft-cli show FILE --voice N [--json]: voice N of FILE as the voice
// editor shows it, its 155 rows (number, title, value, display text) and each
// operator's frequency. args are the words after "show". Exit codes: 0 shown,
// 1 file refused or voice not loaded, 2 usage error.
int RunShow(int argc, char** argv, const std::string& programDirectory, std::ostream& out);

// s as a JSON string, quotes included. Bytes are taken as Latin-1: control
// characters, quotes, backslashes and bytes above 126 are escaped (\u00e9).
std::string JsonString(const std::string& s);

} // namespace toneloft::cli
