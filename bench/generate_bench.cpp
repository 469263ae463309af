// Patch generator speed: 1,000 voices from 10 source voices, as the dialog makes
// them (sources read from the tree for every voice) and as toneloft-cli generate
// makes them. The event loop is stood in for by a turn that costs 50 us, and
// the number of turns is reported: the generator turns it on a time budget, not
// once per parameter and source (which would be 1,450 turns a voice).
//
//   toneloft-generate-bench [BANK_FILE]   (default: a bank of init voices)

#include "BenchSupport.h"
#include "voice/Session.h"
#include "editor/PatchGenTree.h"
#include "editor/clsPatchGenerator.h"
#include "voice/InitVoice.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace fs = std::filesystem;
using namespace toneloft::bench;

int main(int argc, char** argv)
{
    const fs::path work = fs::temp_directory_path() / "toneloft-generate-bench";
    fs::create_directories(work);
    std::string bank = argc > 1 ? argv[1] : (work / "init.syx").string();
    if (argc <= 1) {
        const std::string bytes = toneloft::MakeInitBankFile();
        std::ofstream(bank, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    // A turn of the event loop costs 50 us.
    SilentUi ui;
    ui.onEvents = [] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(50);
        while (std::chrono::steady_clock::now() < until) {
        }
    };
    toneloft::Session session(ui, work.string());
    toneloft::clsVoiceNames names(session);
    auto list = names.CreateVoiceListandFileImage(fs::absolute(bank).string(), false);
    if (!list || list->voiceCount() < 10) {
        std::cerr << "need a file of at least 10 voices\n";
        return 1;
    }
    toneloft::PatchGenTree tree;
    tree.addFile(list->ID, list->FileTitle);
    for (long v = 1; v <= 10; ++v)
        tree.setChecked(*tree.addVoice(list->ID, v, std::to_string(v)), true);

    toneloft::clsPatchGenerator generator(session, 1);
    bool cancel = false;
    generator.CancelStatus = [&](bool& c) { c = cancel; };
    const auto start = std::chrono::steady_clock::now();
    long made = 0;
    for (int i = 0; i < 1000; ++i)
        made += generator.CreateNewPatch(tree, 70).size() == 145 ? 1 : 0;
    const double inProcess = secondsSince(start);
    std::printf("in process: %ld voices from 10 sources in %.3f s (%.1f us a voice), %ld event-loop turns\n", made,
                inProcess, inProcess * 1e6 / 1000, ui.events);

    std::string command = std::string("\"") + TONELOFT_CLI_PATH + "\" generate";
    for (int v = 1; v <= 10; ++v)
        command += " \"" + fs::absolute(bank).string() + ":" + std::to_string(v) + "\"";
    command += " --count 1000 --variance 70 --seed 1 --type 0 --yes -o \"" + (work / "out.dat").string() + "\" >/dev/null";
    const auto cliStart = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    std::printf("toneloft-cli generate: 1000 voices from 10 sources in %.3f s (status %d)\n", secondsSince(cliStart),
                status);
    fs::remove_all(work);
    return 0;
}
