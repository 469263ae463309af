// A file opened as File Open opens it: the integrity check, the reading and
// stripping, the voice-name table, voices found inside refused data (--scan),
// every voice read back, converted to the other layout and framed for saving.
#include "common/Crc32.h"
#include "support/ScriptedUi.h"
#include "voice/Session.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceData.h"
#include "voice/clsVoiceNames.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace toneloft;
namespace fs = std::filesystem;

namespace {

const fs::path& scratchFile()
{
    // One file per process, in memory where /dev/shm exists, so the loader reads
    // from disk as it does for the user.
    static const fs::path path = [] {
        const fs::path folder = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        return folder / ("toneloft-fuzz-" + std::to_string(getpid()) + ".syx");
    }();
    return path;
}

void readEveryVoice(Session& session, VoiceList& list)
{
    clsVoiceData voice(session.ui());
    const long count = list.voiceCount();
    // Every voice as text; the first and the last into the editor's table with
    // its range check (loading them all costs much and finds nothing more).
    for (long position = 1; position <= count; ++position) {
        ByteString out;
        std::int32_t crc = 0;
        (void)voice.GetVoiceData(list.rsmfimage(), position, list.FileType,
                                 clsVoiceData::GetVoiceMode::StringOnly, 2, out, crc);
        if (position == 1 || position == count)
            (void)voice.GetVoiceData(list.rsmfimage(), position, list.FileType,
                                     clsVoiceData::GetVoiceMode::LoadTable, 0, out, crc);
    }
    ByteString past;
    std::int32_t crc = 0;
    (void)voice.GetVoiceData(list.rsmfimage(), count + 1, list.FileType,
                             clsVoiceData::GetVoiceMode::StringOnly, 0, past, crc);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    test::ScriptedUi ui;
    ui.tickMs = 1000; // status pauses end at once
    Session session(ui, fs::temp_directory_path().string());
    session.voicesInside = Session::VoicesInside::Open;

    std::string name = scratchFile().string();
    int type = -1;
    (void)CheckFileIntegrity(ui, name, type, true, {});

    clsVoiceNames names(session);
    auto list = names.CreateVoiceListandFileImage(scratchFile().string(), false);
    if (!list)
        return 0;
    readEveryVoice(session, *list);

    ByteArray image = list->image();
    const int otherLayout = IsPackedType(list->FileType) ? 1 : 3;
    ByteArray converted = image;
    if (RestructureFileBufferByt(ui, converted, list->FileType, otherLayout)) {
        const ByteArray framed = FrameVoiceImage(converted, otherLayout, ui);
        ByteString text(framed.begin(), framed.end());
        int strippedType = otherLayout;
        (void)stripheaders(text, strippedType, true);
    }
    if (list->needsNewName())
        names.FileClose(*list);
    return 0;
}
