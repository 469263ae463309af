#include "app/cli/CliShow.h"

#include "app/cli/CliUi.h"
#include "editor/VoiceEditorCore.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceList.h"
#include "voice/VoiceParameterTable.h"
#include "voice/clsVoiceNames.h"

#include <charconv>
#include <cstdio>
#include <iomanip>
#include <iostream>

namespace toneloft::cli {
namespace {

constexpr const char* kShowUsage =
    "Usage: toneloft-cli show FILE --voice N [--json]\n"
    "  voice N (1-based) of FILE as the voice editor shows it: the 155 parameters\n"
    "  (number, title, value, display text) and each operator's frequency.\n";

int usage(const std::string& problem)
{
    std::cerr << "toneloft-cli show: " << problem << "\n" << kShowUsage;
    return 2;
}

std::string trimRight(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

} // namespace

std::string JsonString(const std::string& s)
{
    std::string out = "\"";
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c > 0x7e) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
            out += code;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

int RunShow(int argc, char** argv, const std::string& programDirectory, std::ostream& out)
{
    std::string file;
    long voice = 0;
    bool json = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            out << kShowUsage;
            return 0;
        }
        if (arg == "--json") {
            json = true;
        } else if (arg == "--voice") {
            if (i + 1 >= argc)
                return usage("--voice needs a value");
            const std::string value = argv[++i];
            const char* end = value.data() + value.size();
            const auto [ptr, ec] = std::from_chars(value.data(), end, voice);
            if (ec != std::errc() || ptr != end || voice < 1)
                return usage("--voice takes a voice number from 1");
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage("unknown option " + arg);
        } else if (file.empty()) {
            file = arg;
        } else {
            return usage("takes one file");
        }
    }
    if (file.empty())
        return usage("needs a file");
    if (voice == 0)
        return usage("needs --voice N");

    // Range questions are answered Yes, as a user opening the editor would,
    // and reported on stderr.
    ConsoleUi console(ConsoleUi::Policy::FirstButton, false);
    CliUi ui(console);
    ui.muted = true;
    Session session(ui, programDirectory);
    clsVoiceNames names(session);
    auto list = names.CreateVoiceListandFileImage(file, false);
    if (!list) {
        std::cerr << "toneloft-cli show: " << file << " was not opened";
        if (!ui.boxes.empty())
            std::cerr << ": " << ui.messagesSince(0);
        std::cerr << "\n";
        return 1;
    }
    if (voice > list->voiceCount()) {
        std::cerr << "toneloft-cli show: " << file << " holds " << list->voiceCount() << " voices, not " << voice
                  << "\n";
        return 1;
    }
    const std::size_t mark = ui.boxes.size();
    auto handle = list->openEditor(voice);
    if (!handle) {
        std::cerr << "toneloft-cli show: voice " << voice << " of " << file << " could not be loaded\n";
        return 1;
    }
    if (ui.boxes.size() > mark)
        std::cerr << "toneloft-cli show: " << ui.messagesSince(mark) << "\n";
    VoiceEditorCore editor(session, handle);

    if (json) {
        out << "{\"name\": " << JsonString(editor.voiceName()) << ", \"parameters\": [";
        for (int p = 1; p <= VoiceParameterTable::RowCount; ++p) {
            out << (p > 1 ? ", " : "") << "{\"number\": " << p << ", \"title\": "
                << JsonString(trimRight(VoiceParameterTable::row(p - 1).title)) << ", \"value\": " << editor.value(p)
                << ", \"text\": " << JsonString(editor.displayText(p)) << "}";
        }
        out << "], \"operators\": [";
        for (int op = 1; op <= 6; ++op) {
            out << (op > 1 ? ", " : "") << "{\"operator\": " << op
                << ", \"frequency\": " << JsonString(editor.frequencyText(op)) << "}";
        }
        out << "]}\n";
        return 0;
    }

    out << "Voice " << voice << " of " << list->FileTitle << ": \"" << editor.voiceName() << "\"\n";
    for (int p = 1; p <= VoiceParameterTable::RowCount; ++p) {
        out << std::setw(3) << p << "  " << VoiceParameterTable::row(p - 1).title << "  " << std::setw(3)
            << editor.value(p) << "  " << editor.displayText(p) << "\n";
    }
    for (int op = 1; op <= 6; ++op)
        out << "Operator " << op << "  " << editor.frequencyText(op) << "\n";
    return 0;
}

} // namespace toneloft::cli
