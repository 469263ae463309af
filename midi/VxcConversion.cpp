#include "midi/VxcConversion.h"

#include "common/NumberText.h"
#include "voice/VoiceFileFormat.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace toneloft {

namespace fs = std::filesystem;

namespace {

const std::string kCrLf = "\r\n";
constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);

std::string withSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != kSeparator)
        folder += kSeparator;
    return folder;
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::int64_t fileLength(const std::string& path)
{
    std::error_code ec;
    const auto size = fs::file_size(fs::path(path), ec);
    return ec ? 0 : static_cast<std::int64_t>(size);
}

void deleteFile(const std::string& path)
{
    std::error_code ec;
    if (fs::is_regular_file(fs::path(path), ec))
        fs::remove(fs::path(path), ec);
}

// The path form handed to the converter. There is no separate short form on
// this platform: the path itself, empty when the folder does not exist.
std::string shortFolder(const std::string& folder)
{
    std::error_code ec;
    return fs::is_directory(fs::path(folder), ec) ? folder : std::string();
}

// The number at the start of a text, 0 when there is none.
long long leadingNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long n = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && n < 1000000000LL)
        n = n * 10 + (text[i++] - '0');
    return negative ? -n : n;
}

const char* const kExitTexts[] = {
    "succeeded - all voices converted",
    "failed - couldn't find or open vxc.ini",
    "failed - couldn't get source or output filename from vxc.ini",
    "failed - couldn't find syinit.dat file",
    "failed - couldn't open source or destination file",
    "failed - an error occured whilst converting voices",
    "failed - VXC couldn't be located or loaded",
};

} // namespace

long long VxcBankSize(int sourceType)
{
    switch (sourceType) {
    case 0: return 4960;
    case 1: return 5216;
    case 2: return 4096;
    case 3: return 4104;
    default: return 0;
    }
}

int GetDXFileType(UiServices& ui, const std::string& path, int option, int& type, int& lastOutputNumber)
{
    std::string name = path;
    int fileType = -1;
    const int code = CheckFileIntegrity(ui, name, fileType, option != 0, {});
    type = code < 0 ? code : fileType;
    if (type >= 0 && type <= 3) {
        const long long length = fileLength(path);
        const long long perFile = 2 * VxcBankSize(type);
        lastOutputNumber = static_cast<int>(length / perFile - 1 + (length % perFile != 0 ? 1 : 0));
    }
    return type;
}

std::string VxcIniText(int outputFileType, int inputFileType, const std::string& inputName,
                       const std::string& outputName)
{
    const std::vector<std::string> lines{
        "output file type=" + std::to_string(outputFileType),
        "input file type=" + std::to_string(inputFileType),
        "input file name=" + inputName,
        "output file name=" + outputName,
        "last exit code=6",
        "",
        "Note: the following information explains the above settings",
        "",
        "You can edit the settings if you are using VXC as a standalone application",
        "but you are strongly advised to backup important files before editing the settings",
        "",
        "Format of VXC.ini file",
        "",
        "Output file type : 0 for single file output,1 for multiple. ",
        "Input file type : this specifies the type of voice data contained in the DX7 format file :",
        "",
        "  0: voices are unpacked - without headers   :155 bytes per voice , 4960 bytes per bank of 32 voices",
        "  1: voices are unpacked -    with headers   :163 bytes per voice , 5216 bytes per bank of 32 voices",
        "  2: voices are packed   -  without headers  :128 bytes per voice , 4096 bytes per bank of 32 voices",
        "  3: voices are packed   -      with header  :128 bytes per voice , 4104 bytes per bank of 32 voices (128*32)+ 8",
        "",
        "  VXC recognises type 0-2  DX7 files that have any number of voices, but will only recognise",
        "  type 3 files that contain an exact multiple of 32 voices, ie 4104 bytes.",
        "",
        "Input File Name : the full filename in 8.3 format - no quotes.",
        "Output File Name : the full filename in 8.3 format - no quotes.",
        "",
        "Exit codes are set when VXC completes as follows :",
        "0  VXC completed with no errors",
        "1  VXC couldn't find or open vxc.ini",
        "2  VXC couldn't get the source or output filename from vxc.ini",
        "3  VXC couldn't find syinit.dat file",
        "4  VXC couldn't open source or dest file",
        "5  An error occured whilst VXC was converting voices",
        "The following code indicates Sonolith could not locate or load VXC :",
        "6  Error locating or loading VXC.com",
    };
    std::string text;
    for (const auto& line : lines)
        text += line + kCrLf;
    return text;
}

bool Build_VXCini(const std::string& path, int outputFileType, int inputFileType,
                  const std::string& inputName, const std::string& outputName)
{
    const std::string text = VxcIniText(outputFileType, inputFileType, inputName, outputName);
    std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return static_cast<bool>(out);
}

std::string VxcExitCodeMessage(const std::string& fifthLine)
{
    const std::size_t equals = fifthLine.find('=');
    if (equals == std::string::npos)
        return "Conversion failed - unknown error";
    const std::string value = fifthLine.substr(equals + 1);
    const long long code = leadingNumber(value);
    if (code < 0 || code > 6)
        return "Conversion failed - invalid exit code (" + value + ")";
    return std::string("Conversion ") + kExitTexts[code];
}

void GetVXCExitCode(UiServices& ui, const std::string& settingsPath)
{
    std::ifstream in(fs::path(settingsPath), std::ios::binary);
    std::string line;
    for (int i = 0; i < 5; ++i) {
        line.clear();
        if (in)
            std::getline(in, line);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    ui.MsgBox(VxcExitCodeMessage(line), "VXC Conversion Failed", MsgIcon::Exclamation);
}

bool FindSubDirs(const std::string& parentPath, const std::string& name, bool& found)
{
    found = false;
    std::error_code ec;
    fs::directory_iterator it(fs::path(parentPath), ec);
    if (ec)
        return false;
    const std::string wanted = lower(name);
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            return false;
        const std::string entry = it->path().filename().string();
        if (entry == "." || entry == "..")
            continue;
        std::error_code dirEc;
        if (it->is_directory(dirEc) && lower(entry) == wanted) {
            found = true;
            break;
        }
    }
    return true;
}

VxcTextAction InterpretVxcText(const std::string& text, const std::vector<std::string>& fileList,
                               const std::string& currentFolder, int step)
{
    VxcTextAction a;
    if (text.empty())
        return a;
    if (std::find(fileList.begin(), fileList.end(), text) != fileList.end()) {
        a.kind = VxcTextAction::Kind::TakeFile;
        a.file = text;
        return a;
    }
    if (text.find_first_of("*?") != std::string::npos) {
        a.kind = VxcTextAction::Kind::SetPattern;
        a.pattern = text;
        return a;
    }
    if (text.find(':') != std::string::npos) {
        a.kind = VxcTextAction::Kind::ChangePlace;
        a.folder = text.substr(0, text.find(':'));
        return a;
    }
    const std::size_t last = text.rfind(kSeparator);
    if (last != std::string::npos) {
        a.kind = VxcTextAction::Kind::ChangeFolder;
        std::string folder = text.substr(0, last + 1);
        if (fs::path(folder).is_relative())
            folder = withSeparator(currentFolder) + folder;
        a.folder = withSeparator(fs::path(folder).lexically_normal().string());
        a.file = text.substr(last + 1);
        return a;
    }
    if (step == 1) {
        a.kind = VxcTextAction::Kind::TakeFile;
        a.file = text;
    }
    return a;
}

// --- The conversion ---------------------------------------------------------

VxcConversion::VxcConversion(UiServices& ui, ConverterProcess& process, std::string programDirectory,
                             std::string workingDirectory)
    : m_ui(ui), m_process(process), m_programDirectory(withSeparator(std::move(programDirectory))),
      m_workingDirectory(workingDirectory.empty() ? m_programDirectory : withSeparator(std::move(workingDirectory)))
{
    Reset();
    m_focusRequest = false;
}

std::string VxcConversion::settingsPath() const
{
    return m_workingDirectory + kVxcSettingsFile;
}

std::string VxcConversion::converterPath() const
{
    return m_programDirectory + kVxcProgram;
}

bool VxcConversion::takeFocusRequest()
{
    const bool r = m_focusRequest;
    m_focusRequest = false;
    return r;
}

bool VxcConversion::pathTooLong(const std::string& folder)
{
    const std::string s = shortFolder(folder);
    if (!s.empty() && s.size() <= kVxcMaxPathLength)
        return false;
    m_ui.MsgBox("The pathname is too long for VXC to process. Select/define a shorter path", kVxcCaption,
                MsgIcon::Critical);
    return true;
}

void VxcConversion::TakeFile(const std::string& folder, const std::string& name, int outputFileType)
{
    if (m_step == 0)
        TakeSourceFile(folder, name);
    else
        TakeOutputFile(folder, name, outputFileType);
}

bool VxcConversion::TakeSourceFile(const std::string& folder, const std::string& name)
{
    const std::string dir = withSeparator(folder);
    const std::string path = dir + name;
    int type = -1;
    int last = 0;
    if (GetDXFileType(m_ui, path, 1, type, last) < 0) {
        Reset();
        return false;
    }
    if (pathTooLong(dir)) {
        Reset();
        return false;
    }
    m_sourcePath = path;
    m_sourceShortPath = shortFolder(dir) + name;
    m_sourceTitle = name;
    m_sourceType = type;
    m_lastOutputNumber = last;
    m_sourceText = path;
    m_instruction = kVxcStep1Text;
    m_optionsEnabled = true;
    m_textBox = "*.dat";
    m_step = 1;
    return true;
}

void VxcConversion::TakeOutputFile(const std::string& folder, const std::string& name, int outputFileType)
{
    const std::string dir = withSeparator(folder);
    const std::string path = dir + name;
    m_outputFileType = outputFileType == 1 ? 1 : 0;

    if (m_outputFileType == 0) {
        int type = -1;
        int unused = 0;
        std::error_code ec;
        if (fs::exists(fs::path(path), ec)) {
            GetDXFileType(m_ui, path, 1, type, unused);
            MsgResult answer = MsgResult::Yes;
            if (type == -5)
                answer = m_ui.MsgBox("The file you have chosen contains SYxx voices. Do you want to replace it ? ",
                                     "Update voice file ?", MsgIcon::Question, MsgButtons::YesNo);
            else if (type >= 0 && type <= 4)
                answer = m_ui.MsgBox("This file already exists and appears to contain DX7 voices." + kCrLf +
                                         "Are you sure you want to overwrite this file ?",
                                     "DX7 Voice File", MsgIcon::Exclamation, MsgButtons::YesNo);
            if (answer == MsgResult::No) {
                Reset();
                return;
            }
        }
    }
    if (pathTooLong(dir)) {
        Reset();
        return;
    }
    m_outputPath = path;
    m_outputShortPath = shortFolder(dir) + name;
    const std::string base = name.substr(0, name.size() >= 3 ? name.size() - 3 : 0);
    m_outputText = m_outputFileType == 0 ? dir + name : dir + base + "001,002 etc. Multiple output files";

    if (m_sourceShortPath == m_outputShortPath) {
        m_ui.MsgBox("Can't convert to same file name - try again", kVxcCaption, MsgIcon::Exclamation);
        Reset();
        return;
    }

    if (m_outputFileType == 0) {
        deleteFile(m_outputShortPath);
    } else {
        const std::string shortBase = m_outputShortPath.substr(0, m_outputShortPath.size() - (name.size() - base.size()));
        for (int n = 0; n <= 999; ++n)
            deleteFile(shortBase + Format(n, "000"));
        m_outputShortPath = shortBase + Format(m_lastOutputNumber, "000");
    }
    if (!Build_VXCini(settingsPath(), m_outputFileType, m_sourceType, m_sourceShortPath, m_outputShortPath)) {
        m_ui.MsgBox("Couldn't write " + settingsPath(), kVxcCaption, MsgIcon::Exclamation);
        Reset();
        return;
    }
    runConverter();
    Reset();
}

void VxcConversion::runConverter()
{
    if (m_viewChanged)
        m_viewChanged();
    ShowStatus(m_ui, " Please wait while your DX7 voices are converted.", 0, 1);
    {
        BusyPointer busy(m_ui);
        m_processStarted = m_process.start(converterPath(), m_workingDirectory);

        m_startTime = m_ui.clock();
        m_elapsed = 0;
        m_outputSize = 0;
        m_finalSize = 0;
        m_finished = false;
        m_timerEnabled = true;
        std::int64_t lastTick = m_startTime;
        while (!m_finished && m_elapsed < kVxcTimeLimitMs) {
            m_ui.processEvents();
            const std::int64_t now = m_ui.clock();
            if (now - lastTick >= kVxcTickMs) {
                lastTick = now;
                timerTick();
            }
            m_elapsed = m_ui.clock() - m_startTime;
        }
        m_timerEnabled = false;
    }

    if (m_finished || m_finalSize > 0) {
        std::string result;
        if (m_outputFileType == 0)
            result = "SY77 format file : " + m_outputShortPath + " ( " + Str(static_cast<long long>(m_finalSize)) +
                     " bytes )";
        else
            result = "multiple SY77 format files ";
        ShowStatus(m_ui, m_sourceTitle + " converted to " + result, 1500, 0);
        m_ui.MsgBox("VXC created  " + result, "File conversion complete", MsgIcon::None);
    } else {
        GetVXCExitCode(m_ui, settingsPath());
    }
}

void VxcConversion::timerTick()
{
    if (!m_timerEnabled)
        return;
    m_elapsed = m_ui.clock() - m_startTime;
    if (m_outputSize < 1) {
        m_ui.processEvents();
        m_outputSize = fileLength(m_outputShortPath);
        ShowStatus(m_ui,
                   Format(static_cast<double>(m_elapsed) / 1000.0, "#0.##") + " secs elapsed. " +
                       m_outputShortPath + " is now " +
                       Format(static_cast<double>(m_outputSize) / 1000.0, "###0.0") + " kb",
                   0, 1);
        return;
    }
    const std::int64_t size = fileLength(m_outputShortPath);
    if (size == m_outputSize) {
        m_finished = true;
        m_finalSize = size;
    } else {
        m_outputSize = size;
    }
}

void VxcConversion::Reset()
{
    if (m_processStarted)
        m_process.stopAndRelease();
    m_processStarted = false;
    const bool several = m_step == 1 && m_outputFileType == 1 && !m_outputShortPath.empty();
    m_step = 0;
    m_sourcePath.clear();
    m_sourceShortPath.clear();
    m_sourceTitle.clear();
    m_sourceType = -1;
    m_outputPath.clear();
    m_outputShortPath.clear();
    m_finished = false;
    m_timerEnabled = false;
    if (several)
        m_pattern = "*.*";
    m_textBox = m_pattern;
    m_focusRequest = true;
    m_sourceText.clear();
    m_outputText.clear();
    m_optionsEnabled = false;
    m_instruction = kVxcStep0Text;
}

} // namespace toneloft
