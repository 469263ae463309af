#pragma once

#include "vxc/VoiceConverter.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
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

// The same from the file's text, lines ending in LF or CR LF.
bool ParseSettingsText(std::string_view text, Settings& settings, int& code);

// One unpacked DX7 voice.
using DxVoice = std::array<std::uint8_t, 155>;

// The voices of a source, unpacked, or nullopt when its bytes do not match its
// type: types 0-2 hold any whole number of voices (a trailing part is
// dropped), type 3 whole banks only; nullopt as well when it holds no voice.
std::optional<std::vector<DxVoice>> ReadSourceVoices(std::string_view source, int type);

// The conversion in memory: each output file's bytes (as OutputFileNames names
// them) and the report of approximations. No files at all when the voices
// would need more than the 1,000 files three digits can number.
struct Conversion {
    std::vector<std::string> files;
    std::string report;
};
Conversion ConvertVoices(const Settings& settings, const std::vector<DxVoice>& voices, const SyVoice& syTemplate);

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
