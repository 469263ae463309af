#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace toneloft::cli {

struct Options {
    bool json = false;
    bool yes = false;
    bool no = false;
    bool verbose = false;
    bool scan = false;         // open the DX7 voices found inside a file the rules refuse
    int type = -1;             // convert: the layout to write
    std::string output;        // convert: -o
    std::vector<std::string> files;
};

// Exit codes: 0 success, 1 a command that ran and found a problem (check) or
// refused a file, 2 a usage error.
int RunInfo(const Options& options, const std::string& programDirectory, std::ostream& out);
int RunNames(const Options& options, const std::string& programDirectory, std::ostream& out);
int RunConvert(const Options& options, const std::string& programDirectory, std::ostream& out);
int RunCheck(const Options& options, const std::string& programDirectory, std::ostream& out);

} // namespace toneloft::cli
