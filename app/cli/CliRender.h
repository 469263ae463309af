#pragma once

#include <string>

namespace toneloft::cli {

// toneloft-cli render FILE --voice N [--note K | --notes K,K,...] [--velocity V]
// [--hold S] [--tail S] [--rate HZ] -o OUT.wav: one voice of a file played
// by the sound engine into a WAV file. args are the words after "render".
// Exit codes as the other commands: 0 written, 1 file refused or not written,
// 2 usage error.
int RunRender(int argc, char** argv, const std::string& programDirectory);

} // namespace toneloft::cli
