#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace toneloft::vxc {

// Exit codes, written into line 5 of vxc.ini as "last exit code=" and the code.
enum ExitCode : int {
    Completed = 0,
    NoSettings = 1,     // vxc.ini missing or unreadable
    NoFileName = 2,     // source or output name missing from vxc.ini
    NoTemplate = 3,     // syinit.dat missing (or not an SY77 1AFM voice)
    CannotOpen = 4,     // source cannot be read or output cannot be written
    ConversionError = 5 // the source is not what its type says, or no voice in it
};

constexpr const char* kSettingsFile = "vxc.ini";
constexpr const char* kTemplateFile = "syinit.dat";
constexpr int kVoicesPerOutputFile = 64; // two DX7 banks

struct Settings {
    int outputFileType = -1; // 0 one file, 1 one file per 64 voices
    int inputFileType = -1;  // 0..3
    std::string inputFileName;
    std::string outputFileName;
};

// The settings from the lines of vxc.ini; false with code 2 when a file name is
// missing, 5 when a type is not one digit in range.
bool ParseSettings(const std::vector<std::string>& lines, Settings& settings, int& code);

// Replaces line 5 with "last exit code=" and code; the other lines, and the
// file's line endings, stay as they were. False when the file cannot be written.
bool WriteExitCode(const std::filesystem::path& settingsFile, int code);

// The output files: with type 0 the named file; with type 1 the name without its
// last three characters followed by 000, 001 ... one per 64 voices.
std::vector<std::string> OutputFileNames(const Settings& settings, std::size_t voiceCount);

// The report of approximations, beside the output: its extension becomes ".vxc.txt".
std::filesystem::path ReportPath(const std::string& outputFileName);

// One run: settings from workingDirectory, the template from programDirectory.
// Writes the exit code into the settings (when they could be read) and returns it.
int RunConverter(const std::filesystem::path& workingDirectory,
                 const std::filesystem::path& programDirectory);

} // namespace toneloft::vxc
