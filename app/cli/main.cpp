#include "app/cli/CliBatch.h"
#include "app/cli/CliCommands.h"
#include "app/cli/CliRender.h"
#include "app/cli/CliShow.h"
#include "app/cli/CliGenerate.h"
#include "app/cli/ConsoleUi.h"
#include "common/InstallPaths.h"
#include "voice/Session.h"

#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

constexpr const char* kUsage =
    "Usage: toneloft-cli [--yes|--no] [--verbose] COMMAND ...\n"
    "  info [--json] FILE...         file type, check code, voices, banks and image CRC\n"
    "  names FILE                    the voice names, numbered\n"
    "  convert FILE --type N -o OUT  save the voices in layout N (0-3) as Save As would\n"
    "  check FILE                    list every value outside its parameter's range\n"
    "  render FILE --voice N ... -o OUT.wav  play a voice into a WAV file (render --help)\n"
    "  show FILE --voice N [--json]  a voice's parameters and frequencies as the editor shows them\n"
    "  generate SOURCE... --count N --variance R [--seed S] [--groups G,...] [--type N] -o OUT\n"
    "                                new voices from FILE:VOICE sources (generate --help)\n"
    "  dedupe FILE... --rule N -o OUT remove duplicate voices (dedupe --help)\n"
    "  group FILE... --group P ...   write the voices matching name patterns to files (group --help)\n"
    "  --scan (info, names, convert) a refused file's whole DX7 bank and voice messages instead\n"
    "Layouts: 0 unpacked 155 bytes/voice, 1 unpacked with a message per voice (163),\n"
    "         2 packed 128 bytes/voice, 3 packed in 32-voice bank messages (4104).\n";

std::string programDirectory(const char* argv0)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exe = fs::canonical("/proc/self/exe", ec);
    if (ec)
        exe = fs::absolute(argv0, ec);
    return exe.parent_path().string();
}

// What killed saves left goes first, from the same places the desktop program
// cleans at its start; saves from here on note their hidden files there.
void cleanUpAfterKilledSaves(const std::string& programDirectory)
{
    toneloft::ConsoleUi quiet;
    toneloft::Session session(quiet, programDirectory);
    const std::string userFolder = toneloft::UserDataFolder();
    session.findDataDirectory(userFolder);
    toneloft::CleanUpAfterKilledSaves(userFolder, session.DataDirectory());
}

int usage(const std::string& problem)
{
    if (!problem.empty())
        std::cerr << "toneloft-cli: " << problem << "\n";
    std::cerr << kUsage;
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace toneloft::cli;
    cleanUpAfterKilledSaves(programDirectory(argv[0]));
    if (argc > 1 && std::string(argv[1]) == "render")
        return RunRender(argc - 2, argv + 2, programDirectory(argv[0]));
    if (argc > 1 && std::string(argv[1]) == "show")
        return RunShow(argc - 2, argv + 2, programDirectory(argv[0]), std::cout);
    if (CommandWord(argc, argv) == "generate")
        return RunGenerate(argc, argv, programDirectory(argv[0]), std::cout);
    Options options;
    std::string command;
    if (argc > 1 && std::strcmp(argv[1], "dedupe") == 0)
        return RunDedupe(argc - 2, argv + 2, programDirectory(argv[0]));
    if (argc > 1 && std::strcmp(argv[1], "group") == 0)
        return RunGroup(argc - 2, argv + 2, programDirectory(argv[0]));
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--yes") {
            options.yes = true;
        } else if (arg == "--no") {
            options.no = true;
        } else if (arg == "--scan") {
            options.scan = true;
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--type" || arg == "-o") {
            if (i + 1 >= argc)
                return usage(arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "-o") {
                options.output = value;
            } else {
                if (value.size() != 1 || value[0] < '0' || value[0] > '3')
                    return usage("--type takes a layout from 0 to 3");
                options.type = value[0] - '0';
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage("unknown option " + arg);
        } else if (command.empty()) {
            command = arg;
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.yes && options.no)
        return usage("--yes and --no exclude each other");
    if (command.empty())
        return usage("");
    if (options.files.empty())
        return usage(command + " needs a file");

    const std::string dir = programDirectory(argv[0]);
    if (command == "info")
        return RunInfo(options, dir, std::cout);
    if (options.files.size() != 1)
        return usage(command + " takes one file");
    if (command == "names")
        return RunNames(options, dir, std::cout);
    if (command == "check")
        return RunCheck(options, dir, std::cout);
    if (command == "convert") {
        if (options.type < 0 || options.output.empty())
            return usage("convert needs --type N and -o OUT");
        return RunConvert(options, dir, std::cout);
    }
    return usage("unknown command " + command);
}
