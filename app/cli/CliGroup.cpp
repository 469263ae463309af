#include "app/cli/CliBatch.h"

#include "app/cli/CliUi.h"
#include "voice/Session.h"
#include "library/PatchGrouping.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"

#include <filesystem>
#include <iostream>

namespace toneloft::cli {

namespace {

constexpr const char* kGroupUsage =
    "Usage: toneloft-cli group FILE... --group P [--group P ...] [--move] [-o DIR] [--yes]\n"
    "  Reads the FILEs as one list, in order, and writes one file per group that matched\n"
    "  (\"BASS 1.dat\", \"PNO and EP 2.dat\" ...) into DIR (default: beside the first FILE).\n"
    "  --group P   up to six; P is one name pattern or two joined by |, such as *BASS* or\n"
    "              PNO*|EP*; * or % may stand at the end, or at both ends\n"
    "  --move      the voices leave the source FILE, which is then saved (one FILE only;\n"
    "              needs --yes)\n"
    "  --yes       replace files that exist\n";

int usage(const std::string& problem)
{
    std::cerr << "toneloft-cli: " << problem << "\n" << kGroupUsage;
    return 2;
}

// The console shows a box's line breaks as they are.
std::string plainLines(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

} // namespace

int RunGroup(int argc, char** argv, const std::string& programDirectory)
{
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    PatchGrouping::Options options;
    options.openResults = false;
    options.askRestore = false;
    int groups = 0;
    bool yes = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--group" || arg == "-o") && i + 1 >= argc)
            return usage(arg + " needs a value");
        if (arg == "--group") {
            if (groups == PatchGrouping::kGroups)
                return usage("at most six groups");
            const std::string value = argv[++i];
            const auto bar = value.find('|');
            auto& g = options.groups[static_cast<std::size_t>(groups++)];
            g.ticked = true;
            g.pattern1 = value.substr(0, bar);
            g.pattern2 = bar == std::string::npos ? std::string() : value.substr(bar + 1);
            if (g.pattern1.size() > PatchGrouping::kMaxPatternLength ||
                g.pattern2.size() > PatchGrouping::kMaxPatternLength || g.pattern2.find('|') != std::string::npos)
                return usage("a group is one or two patterns of up to 10 characters: " + value);
        } else if (arg == "-o") {
            options.folder = argv[++i];
        } else if (arg == "--move") {
            options.move = true;
        } else if (arg == "--yes") {
            yes = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kGroupUsage;
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty())
        return usage("group needs a file");
    if (groups == 0)
        return usage("group needs at least one --group P");
    if (options.move && files.size() > 1)
        return usage("--move takes one FILE: the voices leave it and it is saved");

    // Refused before anything is read or written, with the program's own message.
    if (const auto refusal = PatchGrouping::checkGroups(options)) {
        std::cerr << refusal->title << "\n" << plainLines(refusal->text) << "\n";
        return 1;
    }
    if (options.move && !yes) {
        std::cerr << "toneloft-cli: --move rewrites " << files.front() << "; give --yes to allow it\n";
        return 1;
    }
    std::error_code ec;
    if (options.folder.empty())
        options.folder = fs::absolute(files.front()).parent_path().string();
    else
        options.folder = fs::absolute(options.folder).string();
    if (!fs::is_directory(options.folder, ec)) {
        std::cerr << "toneloft-cli: " << options.folder << " is not a folder\n";
        return 1;
    }

    // Without --yes an existing group file is kept and that group skipped.
    ConsoleUi console(yes ? ConsoleUi::Policy::AnswerYes : ConsoleUi::Policy::AnswerNo, false);
    CliUi ui(console);
    Session session(ui, programDirectory);
    const std::vector<std::string> absolute = [&] {
        std::vector<std::string> out;
        for (const auto& f : files)
            out.push_back(fs::absolute(f).string());
        return out;
    }();
    auto list = openAsOneList(session, absolute);
    if (!list)
        return 1;
    const long before = list->voiceCount();
    SearchProgress quiet;
    const auto result = PatchGrouping::GroupPatches(*list, options, quiet);
    for (const auto& file : result.files)
        std::cout << file << "\n";
    if (options.move && result.moved > 0) {
        CliUi& cliUi = ui;
        cliUi.saveFolder = withTrailingSeparator(fs::path(list->FileName).parent_path().string());
        cliUi.saveFile = list->FileTitle;
        const auto outcome = list->names().SaveList(false, list.get());
        if (outcome != clsVoiceNames::SaveOutcome::Saved) {
            std::cerr << "toneloft-cli: " << list->FileName << " was not saved\n";
            return 1;
        }
    }
    std::cout << "voices=" << before << "\tfiles=" << result.filesCreated << "\tmoved=" << result.moved
              << "\tleft=" << list->voiceCount() << "\n";
    return 0;
}

} // namespace toneloft::cli
