#pragma once

#include <iosfwd>
#include <string>

namespace toneloft::cli {

// The first argument that is not an option: the command ("" when there is none).
std::string CommandWord(int argc, char** argv);

// toneloft-cli generate SOURCE... --count N --variance R [--seed S]
//   [--groups G,G,...] [--type N] -o OUT [--yes|--no] [--verbose]
// Makes N voices from the source voices (FILE:VOICE, voices numbered from 1) as
// the patch generator does and writes them to OUT. Exit 0, 1 when a file was
// refused or not written, 2 for a usage error.
int RunGenerate(int argc, char** argv, const std::string& programDirectory, std::ostream& out);

} // namespace toneloft::cli
