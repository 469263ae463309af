#include "app/cli/CliBatch.h"

#include "app/cli/CliUi.h"
#include "voice/Session.h"
#include "library/DuplicateSearch.h"
#include "voice/VoiceList.h"

#include <filesystem>
#include <iostream>
#include <sstream>

namespace toneloft::cli {

namespace {

constexpr const char* kDedupeUsage =
    "Usage: toneloft-cli dedupe FILE... --rule 0-3 [--range all|selection|bank] -o OUT\n"
    "                    [--removed FILE] [--type N] [--select A-B,C...] [--bank N] [--yes]\n"
    "  Reads the FILEs as one list, in order, and removes the voices that duplicate an\n"
    "  earlier one (every duplicate found is removed; nothing is asked).\n"
    "  --rule 0 names only, 1 all data/checksum and name, 2 all data/CRC, 3 data except name/CRC\n"
    "  --range all (default), selection (--select, or else the voices of the second and later\n"
    "          FILEs), or bank (--bank, default 1) searched against the whole list\n"
    "  -o OUT  the kept voices, in the first FILE's layout unless --type N (0-3)\n"
    "  --removed FILE  the removed voices, in the same layout\n";

int usage(const std::string& problem)
{
    std::cerr << "toneloft-cli: " << problem << "\n" << kDedupeUsage;
    return 2;
}

// "1-32,40" into voice numbers; false when it does not read.
bool parseSelection(const std::string& text, std::vector<std::pair<long, long>>& ranges)
{
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        const auto dash = part.find('-');
        try {
            const long a = std::stol(part.substr(0, dash));
            const long b = dash == std::string::npos ? a : std::stol(part.substr(dash + 1));
            if (a < 1 || b < a)
                return false;
            ranges.emplace_back(a, b);
        } catch (...) {
            return false;
        }
    }
    return !ranges.empty();
}

} // namespace

int RunDedupe(int argc, char** argv, const std::string& programDirectory)
{
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    int rule = -1;
    int type = -1;
    long bank = 1;
    bool yes = false;
    std::string range = "all";
    std::string output;
    std::string removedFile;
    std::vector<std::pair<long, long>> selection;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue = arg == "--rule" || arg == "--range" || arg == "-o" || arg == "--removed" ||
                                arg == "--type" || arg == "--select" || arg == "--bank";
        if (takesValue && i + 1 >= argc)
            return usage(arg + " needs a value");
        if (arg == "--rule" || arg == "--type") {
            const std::string v = argv[++i];
            if (v.size() != 1 || v[0] < '0' || v[0] > '3')
                return usage(arg + " takes a number from 0 to 3");
            (arg == "--rule" ? rule : type) = v[0] - '0';
        } else if (arg == "--range") {
            range = argv[++i];
            if (range != "all" && range != "selection" && range != "bank")
                return usage("--range is all, selection or bank");
        } else if (arg == "-o") {
            output = argv[++i];
        } else if (arg == "--removed") {
            removedFile = argv[++i];
        } else if (arg == "--select") {
            if (!parseSelection(argv[++i], selection))
                return usage("--select takes voice numbers such as 1-32,40");
        } else if (arg == "--bank") {
            try {
                bank = std::stol(argv[++i]);
            } catch (...) {
                bank = 0;
            }
            if (bank < 1)
                return usage("--bank takes a bank number from 1");
        } else if (arg == "--yes") {
            yes = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kDedupeUsage;
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty())
        return usage("dedupe needs a file");
    if (rule < 0 || output.empty())
        return usage("dedupe needs --rule N and -o OUT");
    std::error_code ec;
    for (const std::string& target : {output, removedFile})
        if (!target.empty() && fs::exists(target, ec) && !yes) {
            std::cerr << "toneloft-cli: " << target << " exists; give --yes to replace it\n";
            return 1;
        }

    ConsoleUi console(yes ? ConsoleUi::Policy::AnswerYes : ConsoleUi::Policy::FirstButton, false);
    CliUi ui(console);
    Session session(ui, programDirectory);
    long fromFirst = 0;
    auto list = openAsOneList(session, files, &fromFirst);
    if (!list)
        return 1;

    DuplicateSearch::Options options;
    options.rule = static_cast<DuplicateSearch::Rule>(rule);
    options.autoDelete = true;
    options.offerRemovedFile = false;
    if (range == "selection") {
        options.range = DuplicateSearch::Range::Selection;
        if (selection.empty())
            list->tracker.add(fromFirst + 1, list->voiceCount());
        for (const auto& [a, b] : selection)
            list->tracker.add(a, b);
    }
    VoiceListViewState view;
    if (range == "bank") {
        options.range = DuplicateSearch::Range::Bank;
        view.bank = bank;
    }
    options.view = &view;
    const long before = list->voiceCount();
    SearchProgress quiet;
    const auto result = DuplicateSearch::SearchDuplicates(*list, options, quiet);
    if (!result.searched)
        return 1;

    const int outType = type >= 0 ? type : list->FileType;
    auto kept = list->rsmfimage().clone();
    if (!writeVoices(session, *kept, list->FileType, outType, fs::absolute(output).string()))
        return 1;
    if (!removedFile.empty() && result.removed &&
        !writeVoices(session, *result.removed, list->FileType, outType, fs::absolute(removedFile).string()))
        return 1;
    std::cout << "voices=" << before << "\tkept=" << list->voiceCount() << "\tremoved=" << result.deleted
              << "\tfound=" << result.found << "\ttype=" << outType << "\n";
    return 0;
}

} // namespace toneloft::cli
