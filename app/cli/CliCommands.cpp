#include "app/cli/CliCommands.h"

#include "app/cli/CliUi.h"
#include "common/Banks.h"
#include "common/Crc32.h"
#include "voice/Session.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/VoiceParameterTable.h"
#include "voice/clsVoiceData.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <ostream>

namespace toneloft::cli {

namespace {

namespace fs = std::filesystem;

ConsoleUi::Policy policyOf(const Options& o)
{
    if (o.no)
        return ConsoleUi::Policy::AnswerNo;
    return o.yes ? ConsoleUi::Policy::AnswerYes : ConsoleUi::Policy::FirstButton;
}

// Length of the well-formed UTF-8 sequence at s[i] (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 when the byte starts none.
std::size_t utf8SequenceAt(const std::string& s, std::size_t i)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = at(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > s.size() || at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    return length;
}

// A JSON string of s. File names on Linux are bytes: a byte that is not part of
// well-formed UTF-8 is written as \udcXX (XX the byte), the form Python's
// "surrogateescape" reads back to the very bytes; control characters are escaped.
std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    char buf[8];
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            const std::size_t length = utf8SequenceAt(s, i);
            if (length == 0) {
                std::snprintf(buf, sizeof buf, "\\udc%02x", u);
                out += buf;
                ++i;
            } else {
                out.append(s, i, length);
                i += length;
            }
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20 || u == 0x7F) {
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                out += buf;
            } else {
                out += c;
            }
        }
        ++i;
    }
    return out + "\"";
}

struct FileInfo {
    std::optional<int> type; // as opened (by length, or content where the length fits more than one layout); none when unreadable
    int code = 0;
    long voices = 0;
    long banks = 0;
    std::optional<std::int32_t> crc;
    std::string message;
};

// Opens the file as the program's File Open does and reports what happened.
FileInfo inspect(const std::string& file, const std::string& programDirectory, ConsoleUi& console, bool scan)
{
    FileInfo info;
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (!ec)
        info.type = GetFileType(static_cast<long long>(size));

    CliUi ui(console);
    ui.muted = true;
    Session session(ui, programDirectory);
    session.voicesInside = scan ? Session::VoicesInside::Open : Session::VoicesInside::Leave;
    std::string name = file;
    int type = -1;
    info.code = CheckFileIntegrity(ui, name, type, false, {});
    if (info.code != 0 && !(scan && info.code == -3)) {
        info.message = ui.messagesSince(0);
        return info;
    }
    if (info.code == 0)
        info.type = type;
    const std::size_t mark = ui.boxes.size();
    clsVoiceNames names(session);
    auto list = names.CreateVoiceListandFileImage(file, false);
    if (!list) {
        info.message = ui.messagesSince(info.code == 0 ? mark : 0);
        return info;
    }
    info.voices = list->voiceCount();
    info.banks = BankCount(info.voices);
    // The voices found inside: their layout, and no CRC of a file that was read as it is.
    if (list->needsNewName()) {
        info.type = list->FileType;
        info.crc = CalcCRC32(list->image());
        names.FileClose(*list);
    } else {
        info.crc = list->mark;
    }
    return info;
}

// What a command that works on one open list needs: the console, the seam and a session.
struct ListCommand {
    ListCommand(const Options& options, const std::string& programDirectory)
        : console(policyOf(options), options.verbose), ui(console), session(ui, programDirectory)
    {
        session.voicesInside = options.scan ? Session::VoicesInside::Open : Session::VoicesInside::Leave;
    }
    ~ListCommand()
    {
        // Voices found inside a file live in a file of their own until their list closes.
        for (const auto& list : session.colVoiceLists().NewEnum())
            if (list->needsNewName())
                list->names().FileClose(*list);
    }
    ListCommand(const ListCommand&) = delete;
    ListCommand& operator=(const ListCommand&) = delete;
    std::shared_ptr<VoiceList> open(const std::string& file)
    {
        clsVoiceNames names(session);
        return names.CreateVoiceListandFileImage(file, false);
    }
    ConsoleUi console;
    CliUi ui;
    Session session;
};

} // namespace

int RunInfo(const Options& options, const std::string& programDirectory, std::ostream& out)
{
    ConsoleUi console(policyOf(options), options.verbose);
    int status = 0;
    for (const auto& file : options.files) {
        const FileInfo info = inspect(file, programDirectory, console, options.scan);
        const bool refused = !info.crc.has_value();
        if (refused)
            status = 1;
        if (options.json) {
            out << "{\"file\":" << jsonString(file)
                << ",\"type\":" << (info.type ? std::to_string(*info.type) : "null")
                << ",\"code\":" << info.code << ",\"voices\":" << info.voices
                << ",\"banks\":" << info.banks
                << ",\"crc\":" << (info.crc ? std::to_string(*info.crc) : "null")
                << ",\"message\":" << jsonString(info.message) << "}\n";
        } else {
            out << file << "\ttype=" << (info.type ? std::to_string(*info.type) : "-")
                << "\tcode=" << info.code << "\tvoices=" << info.voices << "\tbanks=" << info.banks
                << "\tcrc=" << (info.crc ? std::to_string(*info.crc) : "-");
            if (refused)
                out << "\tmessage=" << info.message;
            out << "\n";
        }
    }
    return status;
}

int RunNames(const Options& options, const std::string& programDirectory, std::ostream& out)
{
    ListCommand run(options, programDirectory);
    auto list = run.open(options.files.front());
    if (!list)
        return 1;
    auto rows = list->rsmfimage().clone();
    long n = 0;
    for (rows->moveFirst(); !rows->eof(); rows->moveNext())
        out << ++n << '\t' << rows->text(clsVoiceNames::kNames) << '\n';
    return 0;
}

int RunConvert(const Options& options, const std::string& programDirectory, std::ostream& out)
{
    ListCommand run(options, programDirectory);
    run.console.setSaveFormat(options.type);

    const fs::path target = fs::absolute(options.output);
    std::error_code ec;
    if (fs::exists(target, ec) && !options.yes) {
        std::cerr << "toneloft-cli: " << options.output << " exists; give --yes to replace it\n";
        return 1;
    }
    auto list = run.open(options.files.front());
    if (!list)
        return 1;
    run.session.setActive(list.get(), nullptr);
    run.ui.saveFolder = withTrailingSeparator(target.parent_path().string());
    run.ui.saveFile = target.filename().string();
    const auto outcome = list->names().SaveList(true, nullptr);
    if (outcome != clsVoiceNames::SaveOutcome::Saved)
        return 1;
    const auto size = fs::file_size(target, ec);
    out << list->FileName << "\ttype=" << list->FileType << "\tvoices=" << list->voiceCount()
        << "\tbytes=" << (ec ? 0 : size) << "\n";
    return 0;
}

int RunCheck(const Options& options, const std::string& programDirectory, std::ostream& out)
{
    ListCommand run(options, programDirectory);
    auto list = run.open(options.files.front());
    if (!list)
        return 1;

    clsVoiceData voiceData(run.ui);
    long problems = 0;
    long voicesWithProblems = 0;
    for (long v = 1; v <= list->voiceCount(); ++v) {
        ByteString voice;
        std::int32_t crc = 0;
        if (!voiceData.GetVoiceData(list->rsmfimage(), v, list->FileType, clsVoiceData::GetVoiceMode::StringOnly,
                                    0, voice, crc))
            continue;
        bool any = false;
        for (int row = 0; row < VoiceParameterTable::DataRowCount && static_cast<std::size_t>(row) < voice.size(); ++row) {
            const VoiceParameter& p = VoiceParameterTable::row(row);
            const int value = byteAt(voice, static_cast<std::size_t>(row));
            if (value >= p.min && value <= p.max)
                continue;
            any = true;
            ++problems;
            out << "voice " << v << " (" << voice.substr(VoiceParameterTable::DataRowCount, 10) << "): " << p.title
                << " = " << value << ", outside " << p.min << " to " << p.max << "\n";
        }
        if (any)
            ++voicesWithProblems;
    }
    out << problems << " values outside their ranges in " << voicesWithProblems << " of " << list->voiceCount()
        << " voices\n";
    return problems == 0 ? 0 : 1;
}

} // namespace toneloft::cli
