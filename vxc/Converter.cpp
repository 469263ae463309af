#include "vxc/Converter.h"

#include "vxc/VoiceConverter.h"

#include "voice/VoiceFileFormat.h"
#include "voice/VoicePacking.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>

namespace toneloft::vxc {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kExitCodeKey = "last exit code=";

bool readFile(const fs::path& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad())
        return false;
    bytes = s.str();
    return true;
}

// Lines without their ending; endings remembered so a rewrite keeps them.
std::vector<std::string> splitLines(const std::string& text, std::vector<std::string>* endings = nullptr)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string ending = "\n";
        if (end == std::string::npos) {
            end = text.size();
            ending.clear();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            ending = "\r" + ending;
        }
        lines.push_back(std::move(line));
        if (endings)
            endings->push_back(ending);
        start = end + 1;
    }
    return lines;
}

std::optional<std::string> valueOf(const std::vector<std::string>& lines, std::size_t index,
                                   std::string_view key)
{
    if (index >= lines.size() || lines[index].rfind(key, 0) != 0)
        return std::nullopt;
    return lines[index].substr(key.size());
}

int digit(const std::optional<std::string>& value, int max)
{
    if (!value || value->size() != 1 || (*value)[0] < '0' || (*value)[0] > '0' + max)
        return -1;
    return (*value)[0] - '0';
}

} // namespace

std::optional<std::vector<DxVoice>> ReadSourceVoices(std::string_view file, int type)
{
    std::vector<DxVoice> voices;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.data());
    auto addUnpacked = [&](const std::uint8_t* at) {
        auto& v = voices.emplace_back();
        std::copy(at, at + 155, v.begin());
    };
    auto addPacked = [&](const std::uint8_t* at) {
        auto& v = voices.emplace_back();
        unpackVoice(std::span<const std::uint8_t, kPackedVoiceSize>(at, kPackedVoiceSize), v);
    };
    auto isMessage = [&](std::size_t at, std::size_t size, std::uint8_t format) {
        return bytes[at] == 0xF0 && bytes[at + 1] == 0x43 && bytes[at + 3] == format &&
               bytes[at + size - 1] == 0xF7;
    };
    const std::size_t n = file.size();
    switch (type) {
    case 0:
        for (std::size_t at = 0; at + 155 <= n; at += 155)
            addUnpacked(bytes + at);
        break;
    case 1:
        if (n % kSingleMessageSize != 0)
            return std::nullopt;
        for (std::size_t at = 0; at < n; at += kSingleMessageSize) {
            if (!isMessage(at, kSingleMessageSize, 0x00))
                return std::nullopt;
            addUnpacked(bytes + at + kSysexHeaderSize);
        }
        break;
    case 2:
        for (std::size_t at = 0; at + kPackedVoiceSize <= n; at += kPackedVoiceSize)
            addPacked(bytes + at);
        break;
    case 3:
        if (n % kBankMessageSize != 0)
            return std::nullopt;
        for (std::size_t at = 0; at < n; at += kBankMessageSize) {
            if (!isMessage(at, kBankMessageSize, 0x09))
                return std::nullopt;
            for (std::size_t v = 0; v < 32; ++v)
                addPacked(bytes + at + kSysexHeaderSize + v * kPackedVoiceSize);
        }
        break;
    default: return std::nullopt;
    }
    if (voices.empty())
        return std::nullopt;
    return voices;
}

namespace {

std::string voiceName(const DxVoice& v)
{
    std::string name;
    for (std::size_t i = 145; i < 155; ++i)
        name += v[i] >= 32 && v[i] <= 126 ? static_cast<char>(v[i]) : ' ';
    return name;
}

// Written beside the target and renamed over it: a reader sees the old file
// or the whole new one, never a part.
bool writeAll(const fs::path& path, const std::string& bytes)
{
    fs::path part = path;
    part += ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ec;
            fs::remove(part, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(part, path, ec);
    if (ec)
        fs::remove(part, ec);
    return !ec;
}

fs::path resolve(const fs::path& workingDirectory, const std::string& name)
{
    const fs::path p(name);
    return p.is_absolute() ? p : workingDirectory / p;
}

int convert(const fs::path& workingDirectory, const fs::path& programDirectory, const Settings& settings)
{
    std::string templateBytes;
    if (!readFile(programDirectory / kTemplateFile, templateBytes))
        return NoTemplate;
    const auto* t = reinterpret_cast<const std::uint8_t*>(templateBytes.data());
    if (!IsUsableTemplate(std::span<const std::uint8_t>(t, templateBytes.size())))
        return NoTemplate;
    SyVoice syTemplate{};
    std::copy(t, t + kSyVoiceSize, syTemplate.begin());

    std::string source;
    const fs::path sourcePath = resolve(workingDirectory, settings.inputFileName);
    if (!fs::is_regular_file(sourcePath) || !readFile(sourcePath, source))
        return CannotOpen;
    const auto voices = ReadSourceVoices(source, settings.inputFileType);
    if (!voices)
        return ConversionError;

    const std::vector<std::string> names = OutputFileNames(settings, voices->size());
    // Every output must be writable before anything is written.
    for (const auto& name : names) {
        const fs::path p = resolve(workingDirectory, name);
        std::error_code ec;
        if (fs::equivalent(p, sourcePath, ec) || fs::is_directory(p, ec))
            return CannotOpen;
        if (!fs::is_directory(p.parent_path().empty() ? workingDirectory : p.parent_path(), ec))
            return CannotOpen;
    }

    const Conversion done = ConvertVoices(settings, *voices, syTemplate);
    if (done.files.empty())
        return ConversionError;
    // The report first and each output in one write: whoever watches the last
    // output's size sees it grow once, to its final length.
    const fs::path reportPath = resolve(workingDirectory, ReportPath(names.back()).string());
    if (!writeAll(reportPath, done.report))
        return CannotOpen;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (!writeAll(resolve(workingDirectory, names[i]), done.files[i]))
            return CannotOpen;
    return Completed;
}

} // namespace

bool ParseSettings(const std::vector<std::string>& lines, Settings& settings, int& code)
{
    const auto input = valueOf(lines, 2, "input file name=");
    const auto output = valueOf(lines, 3, "output file name=");
    if (!input || !output || input->empty() || output->empty()) {
        code = NoFileName;
        return false;
    }
    settings.inputFileName = *input;
    settings.outputFileName = *output;
    settings.outputFileType = digit(valueOf(lines, 0, "output file type="), 1);
    settings.inputFileType = digit(valueOf(lines, 1, "input file type="), 3);
    if (settings.outputFileType < 0 || settings.inputFileType < 0) {
        code = ConversionError;
        return false;
    }
    if (settings.outputFileType == 1 && settings.outputFileName.size() < 3) {
        code = NoFileName;
        return false;
    }
    code = Completed;
    return true;
}

bool ParseSettingsText(std::string_view text, Settings& settings, int& code)
{
    return ParseSettings(splitLines(std::string(text)), settings, code);
}

Conversion ConvertVoices(const Settings& settings, const std::vector<DxVoice>& voices, const SyVoice& syTemplate)
{
    const std::vector<std::string> names = OutputFileNames(settings, voices.size());
    Conversion done;
    if (settings.outputFileType == 1 && voices.size() > names.size() * kVoicesPerOutputFile)
        return done; // more files than three digits can number
    done.files.resize(names.size());
    std::ostringstream report;
    report << "DX7 to SY77 voice conversion\r\n"
           << "Source: " << settings.inputFileName << " (type " << settings.inputFileType << ", "
           << voices.size() << " voices)\r\n";
    for (std::size_t i = 0; i < voices.size(); ++i) {
        std::vector<std::string> notes;
        const int memory = static_cast<int>(i % kVoicesPerOutputFile);
        const std::size_t file = settings.outputFileType == 1 ? i / kVoicesPerOutputFile : 0;
        const SyVoice sy = ConvertVoice(voices[i], syTemplate, memory, notes);
        done.files[file].append(reinterpret_cast<const char*>(sy.data()), sy.size());
        report << "\r\nVoice " << (i + 1) << " \"" << voiceName(voices[i]) << "\" -> " << names[file]
               << ", memory " << (memory + 1) << ", SY77 algorithm " << (static_cast<int>(sy[kSyAlgorithm]) + 1)
               << "\r\n";
        for (const auto& n : notes)
            report << "  - " << n << "\r\n";
    }
    done.report = report.str();
    return done;
}

bool WriteExitCode(const fs::path& settingsFile, int code)
{
    std::string text;
    if (!readFile(settingsFile, text))
        return false;
    std::vector<std::string> endings;
    std::vector<std::string> lines = splitLines(text, &endings);
    while (lines.size() < 5) {
        if (!endings.empty() && endings.back().empty())
            endings.back() = "\r\n";
        lines.emplace_back();
        endings.emplace_back("\r\n");
    }
    lines[4] = std::string(kExitCodeKey) + std::to_string(code);
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i)
        out += lines[i] + endings[i];
    return writeAll(settingsFile, out);
}

std::vector<std::string> OutputFileNames(const Settings& settings, std::size_t voiceCount)
{
    if (settings.outputFileType != 1)
        return {settings.outputFileName};
    const std::string base = settings.outputFileName.substr(0, settings.outputFileName.size() - 3);
    const std::size_t count =
        std::max<std::size_t>(1, (voiceCount + kVoicesPerOutputFile - 1) / kVoicesPerOutputFile);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count && i < 1000; ++i) {
        std::string number = std::to_string(i);
        names.push_back(base + std::string(3 - number.size(), '0') + number);
    }
    return names;
}

fs::path ReportPath(const std::string& outputFileName)
{
    fs::path p(outputFileName);
    p.replace_extension(".vxc.txt");
    return p;
}

int RunConverter(const fs::path& workingDirectory, const fs::path& programDirectory)
{
    const fs::path settingsFile = workingDirectory / kSettingsFile;
    std::string text;
    if (!readFile(settingsFile, text))
        return NoSettings;
    Settings settings;
    int code = Completed;
    if (ParseSettings(splitLines(text), settings, code))
        code = convert(workingDirectory, programDirectory, settings);
    if (!WriteExitCode(settingsFile, code))
        return NoSettings;
    return code;
}

} // namespace toneloft::vxc
