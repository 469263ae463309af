#pragma once

#include "support/TempDir.h"

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace toneloft::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs toneloft-cli with the arguments (already quoted), capturing both streams;
// standard error goes through a file in the test's folder.
inline CliRun runCli(const std::string& args, const TempDir& dir)
{
    const std::string errFile = dir.file("stderr.txt");
    const std::string command = std::string("\"") + TONELOFT_CLI_PATH + "\" " + args + " 2>\"" + errFile + "\"";
    CliRun r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buf{};
    std::size_t n = 0;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.out.append(buf.data(), n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = TempDir::read(errFile);
    return r;
}

// A path or text in double quotes for the shell.
inline std::string shellQuoted(const std::string& s)
{
    return "\"" + s + "\"";
}

} // namespace toneloft::test
