#pragma once

#include "common/UiServices.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace toneloft {

// The converter program as the conversion sees it: started once per run, then
// stopped if it still runs. Implementations stop only the process they started.
class ConverterProcess {
public:
    virtual ~ConverterProcess() = default;
    // Starts program with no arguments and workingDirectory as its current
    // directory, without a window. False when it could not be started.
    virtual bool start(const std::string& program, const std::string& workingDirectory) = 0;
    // Stops the process started last if it still runs, and lets go of it.
    virtual void stopAndRelease() = 0;
};

constexpr const char* kVxcCaption = "VXC - DX7 to SY77 Voice Conversion";
constexpr const char* kVxcProgram = "vxc";
constexpr const char* kVxcSettingsFile = "vxc.ini";
constexpr const char* kVxcSourcePattern = "*.dat;*.syx;*.32;*.dx7";
constexpr const char* kVxcStep0Text =
    "1. Select or type in the title of a file containing DX7 voices, then click OK";
constexpr const char* kVxcStep1Text = "2. Select or type in the title of the output file, then click OK";
constexpr std::int64_t kVxcTimeLimitMs = 5000;
constexpr std::int64_t kVxcTickMs = 50;
constexpr std::size_t kVxcMaxPathLength = 60;

// The file's DX7 type (0..3), or the negative code of CheckFileIntegrity (-5 for
// SY voices); option 1 checks quietly, 0 shows the check's message. For a DX7
// type, lastOutputNumber = length / (2 * bank size) - 1, plus 1 when the
// division leaves a remainder: each output file takes two banks.
int GetDXFileType(UiServices& ui, const std::string& path, int option, int& type, int& lastOutputNumber);

// Bytes of one bank by source type: 4960, 5216, 4096, 4104; 0 for any other.
long long VxcBankSize(int sourceType);

// The converter's settings file: 36 lines, each ending in CRLF.
std::string VxcIniText(int outputFileType, int inputFileType, const std::string& inputName,
                       const std::string& outputName);
// Writes it as path (vxc.ini in the program directory); false when it cannot.
bool Build_VXCini(const std::string& path, int outputFileType, int inputFileType,
                  const std::string& inputName, const std::string& outputName);

// The message for the fifth line of vxc.ini: "Conversion " and the exit code's
// text, or "Conversion failed - unknown error" when the line holds no "=".
std::string VxcExitCodeMessage(const std::string& fifthLine);
// Reads vxc.ini's fifth line and reports it in the "VXC Conversion Failed" box.
void GetVXCExitCode(UiServices& ui, const std::string& settingsPath);

// True in found when parentPath holds a folder called name, letter case ignored.
// False when parentPath cannot be read.
bool FindSubDirs(const std::string& parentPath, const std::string& name, bool& found);

// What OK makes of the text box.
struct VxcTextAction {
    enum class Kind { TakeFile, SetPattern, ChangePlace, ChangeFolder, OpenSelectedFolder };
    Kind kind = Kind::OpenSelectedFolder;
    std::string folder; // ChangeFolder: the folder, with its trailing separator; ChangePlace: the place
    std::string file;   // TakeFile, ChangeFolder: the file named, possibly empty
    std::string pattern;
};
// A name in the file list is taken; "*" or "?" makes a pattern; ":" names a
// place (a volume); a path separator changes the folder and takes the file after
// the last one; in step 1 any other name is the new output file; else the folder
// list's selected entry is opened. Relative folders are taken from currentFolder.
VxcTextAction InterpretVxcText(const std::string& text, const std::vector<std::string>& fileList,
                               const std::string& currentFolder, int step);

// The two steps and the run, with what the window shows.
class VxcConversion {
public:
    // The converter runs from programDirectory; its settings file and working
    // folder are workingDirectory, the program directory when empty.
    VxcConversion(UiServices& ui, ConverterProcess& process, std::string programDirectory,
                  std::string workingDirectory = {});

    int step() const { return m_step; }
    const std::string& instruction() const { return m_instruction; }
    const std::string& sourceText() const { return m_sourceText; }
    const std::string& outputText() const { return m_outputText; }
    bool optionsEnabled() const { return m_optionsEnabled; }
    const std::string& textBoxText() const { return m_textBox; }
    const std::string& filePattern() const { return m_pattern; }
    void setFilePattern(const std::string& pattern) { m_pattern = pattern; }
    // Set after a run: the window selects the text box's text and focuses it.
    bool takeFocusRequest();
    // Called when what the window shows changes while a call is still working
    // (the output box before the converter starts).
    void setViewChanged(std::function<void()> changed) { m_viewChanged = std::move(changed); }

    const std::string& programDirectory() const { return m_programDirectory; }
    const std::string& workingDirectory() const { return m_workingDirectory; }
    std::string settingsPath() const;
    std::string converterPath() const;

    // Step 0: the source. False, back at step 0, when it was not accepted.
    bool TakeSourceFile(const std::string& folder, const std::string& name);
    // Step 1: the output, then the run; always ends at step 0. outputFileType 0
    // puts all voice sets in one file, 1 one file per set.
    void TakeOutputFile(const std::string& folder, const std::string& name, int outputFileType);
    // Either step, by the step the conversion is in.
    void TakeFile(const std::string& folder, const std::string& name, int outputFileType);
    // Cancel, and the end of every run.
    void Reset();

    // For tests: the state of the last run.
    int lastOutputNumber() const { return m_lastOutputNumber; }
    std::int64_t elapsedMs() const { return m_elapsed; }

private:
    void timerTick();
    void runConverter();
    bool pathTooLong(const std::string& folder);

    UiServices& m_ui;
    ConverterProcess& m_process;
    std::string m_programDirectory; // with its trailing separator
    std::string m_workingDirectory; // likewise

    int m_step = 0;
    std::string m_sourcePath, m_sourceShortPath, m_sourceTitle;
    int m_sourceType = -1;
    int m_lastOutputNumber = 0;
    std::string m_outputPath, m_outputShortPath;
    int m_outputFileType = 0;
    std::int64_t m_startTime = 0;
    std::int64_t m_elapsed = 0;
    std::int64_t m_outputSize = 0;
    std::int64_t m_finalSize = 0;
    bool m_finished = false;
    bool m_timerEnabled = false;
    bool m_processStarted = false;

    std::string m_instruction;
    std::string m_sourceText, m_outputText;
    bool m_optionsEnabled = false;
    std::string m_textBox;
    std::string m_pattern = kVxcSourcePattern;
    bool m_focusRequest = false;
    std::function<void()> m_viewChanged;
};

} // namespace toneloft
