// A file opened as File Open opens it, from its bytes: the integrity check,
// the stripping of its framing, the voice-name table, voices found inside
// refused data (--scan), every voice read back, converted to the other layout
// and framed for saving, and the framing stripped again.
#include "common/Crc32.h"
#include "support/ScriptedUi.h"
#include "voice/Session.h"
#include "voice/VoiceFileContent.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceData.h"
#include "voice/clsVoiceNames.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

using namespace toneloft;

namespace {

void readEveryVoice(UiServices& ui, Recordset& names, int fileType)
{
    clsVoiceData voice(ui);
    const long count = names.recordCount();
    // Every voice as text; the first into the editor's table with its range
    // check (filling the table is most of the cost, and one voice shows it).
    for (long position = 1; position <= count; ++position) {
        ByteString out;
        std::int32_t crc = 0;
        (void)voice.GetVoiceData(names, position, fileType, clsVoiceData::GetVoiceMode::StringOnly, 2, out,
                                 crc);
        if (position == 1)
            (void)voice.GetVoiceData(names, position, fileType, clsVoiceData::GetVoiceMode::LoadTable, 0,
                                     out, crc);
    }
    ByteString past;
    std::int32_t crc = 0;
    (void)voice.GetVoiceData(names, count + 1, fileType, clsVoiceData::GetVoiceMode::StringOnly, 0, past, crc);
}

// What saving does with an open list's image, in the other layout.
void convertAndFrame(UiServices& ui, VoiceList& list)
{
    const int otherLayout = IsPackedType(list.FileType) ? 1 : 3;
    ByteArray converted = list.image();
    if (!RestructureFileBufferByt(ui, converted, list.FileType, otherLayout))
        return;
    const ByteArray framed = FrameVoiceImage(converted, otherLayout, ui);
    const ByteString text(framed.begin(), framed.end());
    int strippedType = otherLayout;
    (void)stripheaders(text, strippedType, true);
}

void openAsList(Session& session, clsVoiceNames& names, ByteArray&& image, int fileType)
{
    bool cleaned = false;
    VoiceList list(session);
    list.FileType = fileType;
    list.setRsmfimage(names.BuildVoiceNameTable(std::move(image), fileType, cleaned));
    readEveryVoice(session.ui(), list.rsmfimage(), fileType);
    convertAndFrame(session.ui(), list);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    test::ScriptedUi ui;
    ui.tickMs = 1000; // status pauses end at once
    Session session(ui, "/nonexistent");
    clsVoiceNames names(session);

    std::string noFile;
    int type = -1;
    const int code = CheckFileIntegrity(ui, noFile, type, true, text);
    bool refused = code == -3;
    if (code == 0) {
        ByteArray image;
        std::int32_t crc = 0;
        if (GetContentByt(ui, "Fuzz.syx", type, ByteArray(bytes.begin(), bytes.end()), image, crc, true))
            openAsList(session, names, std::move(image), type);
        else
            refused = type == 1 || type == 3; // a message file with a foreign header
    }
    if (refused) {
        VoicesFound found = FindVoicesInside(bytes);
        if (found.voiceCount > 0)
            openAsList(session, names, std::move(found.image), found.fileType);
    }
    return 0;
}
