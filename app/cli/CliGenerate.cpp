#include "app/cli/CliGenerate.h"

#include "app/cli/CliUi.h"
#include "voice/Session.h"
#include "editor/PatchGenTree.h"
#include "editor/RandomiseVoices.h"
#include "editor/clsPatchGenerator.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/VoicePacking.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <ostream>
#include <vector>

namespace toneloft::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "Usage: toneloft-cli generate SOURCE... --count N --variance R [--seed S]\n"
    "                            [--groups G,G,...] [--type N] -o OUT [--yes|--no]\n"
    "  SOURCE     FILE:VOICE, the voice numbered from 1 in its file\n"
    "  --count    how many voices to make (1 or more)\n"
    "  --variance 0 keeps the first source's values, 100 uses the whole range\n"
    "  --seed     a number: the same seed makes the same voices\n"
    "  --groups   the parameter groups (1-43) that vary, for every source; default all\n"
    "  --type     the layout of OUT (0-3); default that of the first source's file\n";

struct Request {
    struct Source {
        std::string file;
        long voice = 0;
    };
    std::vector<Source> sources;
    long count = 0;
    int variance = -1;
    std::optional<std::uint64_t> seed;
    std::vector<int> groups;
    int type = -1;
    std::string output;
    bool yes = false;
    bool no = false;
    bool verbose = false;
};

int usage(const std::string& problem)
{
    std::cerr << "toneloft-cli: " << problem << "\n" << kUsage;
    return 2;
}

template <typename T>
bool number(const std::string& text, T& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    return first != last && ec == std::errc() && end == last;
}

// Empty on success, else what is wrong.
std::string parse(int argc, char** argv, Request& r)
{
    bool commandSeen = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc)
                return false;
            into = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--yes") {
            r.yes = true;
        } else if (arg == "--no") {
            r.no = true;
        } else if (arg == "--verbose") {
            r.verbose = true;
        } else if (arg == "--count") {
            if (!value(v) || !number(v, r.count) || r.count < 1)
                return "--count takes a number of voices, 1 or more";
        } else if (arg == "--variance") {
            if (!value(v) || !number(v, r.variance) || r.variance < 0 || r.variance > 100)
                return "--variance takes a percentage from 0 to 100";
        } else if (arg == "--seed") {
            std::uint64_t seed = 0;
            if (!value(v) || !number(v, seed))
                return "--seed takes a whole number";
            r.seed = seed;
        } else if (arg == "--type") {
            if (!value(v) || !number(v, r.type) || r.type < 0 || r.type > 3)
                return "--type takes a layout from 0 to 3";
        } else if (arg == "-o") {
            if (!value(r.output) || r.output.empty())
                return "-o needs a file name";
        } else if (arg == "--groups") {
            if (!value(v))
                return "--groups needs group numbers";
            std::size_t at = 0;
            while (at <= v.size()) {
                const std::size_t comma = std::min(v.find(',', at), v.size());
                int g = 0;
                if (!number(v.substr(at, comma - at), g) || g < 1 || g > PatchGenTree::kGroupCount)
                    return "--groups takes group numbers from 1 to 43, separated by commas";
                r.groups.push_back(g);
                at = comma + 1;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + arg;
        } else if (!commandSeen) {
            commandSeen = true; // "generate"
        } else {
            const auto colon = arg.rfind(':');
            long voice = 0;
            if (colon == std::string::npos || colon == 0 || !number(arg.substr(colon + 1), voice) || voice < 1)
                return "a source is FILE:VOICE with the voice numbered from 1: " + arg;
            r.sources.push_back({arg.substr(0, colon), voice});
        }
    }
    if (r.yes && r.no)
        return "--yes and --no exclude each other";
    if (r.sources.empty())
        return "generate needs at least one source voice";
    if (r.count < 1 || r.variance < 0 || r.output.empty())
        return "generate needs --count N, --variance R and -o OUT";
    return {};
}

} // namespace

std::string CommandWord(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.empty() || arg[0] != '-')
            return arg;
        if (arg == "--type" || arg == "-o")
            ++i; // skips the option's value
    }
    return {};
}

int RunGenerate(int argc, char** argv, const std::string& programDirectory, std::ostream& out)
{
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            out << kUsage;
            return 0;
        }
    Request request;
    if (const std::string problem = parse(argc, argv, request); !problem.empty())
        return usage(problem);

    ConsoleUi console(request.no    ? ConsoleUi::Policy::AnswerNo
                      : request.yes ? ConsoleUi::Policy::AnswerYes
                                    : ConsoleUi::Policy::FirstButton,
                      request.verbose);
    CliUi ui(console);
    Session session(ui, programDirectory);

    const fs::path target = fs::absolute(request.output);
    std::error_code ec;
    if (fs::exists(target, ec) && !request.yes) {
        std::cerr << "toneloft-cli: " << request.output << " exists; give --yes to replace it\n";
        return 1;
    }

    // Each file opens once as a list, as the program's lists would stand in the tree.
    PatchGenTree tree;
    std::map<std::string, std::shared_ptr<VoiceList>> lists;
    for (const auto& source : request.sources) {
        const std::string file = fs::absolute(source.file).string();
        auto& list = lists[file];
        if (!list) {
            clsVoiceNames names(session);
            list = names.CreateVoiceListandFileImage(file, false);
            if (!list)
                return 1;
            tree.addFile(list->ID, list->FileTitle);
        }
        if (source.voice > list->voiceCount()) {
            std::cerr << "toneloft-cli: " << source.file << " holds " << list->voiceCount() << " voices; there is no voice "
                      << source.voice << "\n";
            return 1;
        }
        PatchGenTree::Node* node = tree.addVoice(list->ID, source.voice, {});
        if (!node)
            return usage(source.file + ":" + std::to_string(source.voice) + " is given twice");
        if (request.groups.empty()) {
            tree.setChecked(*node, true);
        } else {
            for (int g : request.groups)
                tree.setChecked(*tree.groupNode(*node, g), true);
        }
    }
    const int type = request.type >= 0 ? request.type : lists[fs::absolute(request.sources.front().file).string()]->FileType;

    // A bank message holds 32 voices; a shorter last one would not read back as a bank.
    if (type == 3 && request.count % 32 != 0) {
        std::cerr << "toneloft-cli: layout 3 holds whole banks; give a --count that is a multiple of 32, "
                     "or another --type\n";
        return 1;
    }
    clsPatchGenerator generator(session, request.seed);
    const std::vector<clsPatchGenerator::Source> sources = generator.collectSources(tree);
    ByteArray image;
    image.reserve(static_cast<std::size_t>(request.count) * kUnpackedVoiceSize);
    for (long k = 1; k <= request.count; ++k) {
        const ByteString voice =
            generator.generate(sources, request.variance) + RandomiseVoices::voiceName(RandomiseVoices::kDefaultPrefix, k);
        if (voice.size() != kUnpackedVoiceSize) {
            std::cerr << "toneloft-cli: no voice could be made from the sources\n";
            return 1;
        }
        image.insert(image.end(), voice.begin(), voice.end());
    }
    if (IsPackedType(type) && !RestructureFileBufferByt(ui, image, 0, type))
        return 1;
    clsVoiceNames names(session);
    const bool framed = type == 1 || type == 3;
    if (!names.SaveVoiceDataToFileByt(&image, target.string(), type, framed, {}, target.filename().string(),
                                      clsVoiceNames::FileAttributes::Normal))
        return 1;
    const auto size = fs::file_size(target, ec);
    out << target.string() << "\ttype=" << type << "\tvoices=" << request.count << "\tbytes=" << (ec ? 0 : size)
        << "\n";
    return 0;
}

} // namespace toneloft::cli
