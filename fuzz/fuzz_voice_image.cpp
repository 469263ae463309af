// The buffer forms of the loader's rules: type by length and content, the
// integrity check of a buffer, stripping of received framing, the search for
// voices inside other data, and the voice-name table built straight from data.
#include "support/ScriptedUi.h"
#include "voice/Session.h"
#include "voice/VoiceFileContent.h"
#include "voice/VoiceFileFormat.h"
#include "voice/clsVoiceNames.h"

#include <cstdint>
#include <span>
#include <string>

using namespace toneloft;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    test::ScriptedUi ui;

    const int byContent = FileTypeOfContent(bytes);
    (void)HoldsWholeMessages(bytes, 1);
    (void)HoldsWholeMessages(bytes, 3);
    (void)CountValuesOutOfRange(bytes, 0);
    (void)CountValuesOutOfRange(bytes, 2);

    std::string noFile;
    int checkedType = -1;
    (void)CheckFileIntegrity(ui, noFile, checkedType, true, text);

    for (int type = 0; type <= 3; ++type) {
        int stripType = type;
        (void)stripheaders(text, stripType, type % 2 == 1);
    }

    Session session(ui, "/nonexistent");
    clsVoiceNames names(session);
    const VoicesFound found = FindVoicesInside(bytes);
    if (found.fileType >= 0) {
        bool cleaned = false;
        (void)names.BuildVoiceNameTable(std::span<const std::uint8_t>(found.image), found.fileType, cleaned);
    }
    if (byContent == 0 || byContent == 2) {
        bool cleaned = false;
        (void)names.BuildVoiceNameTable(bytes, byContent, cleaned);
    }
    return 0;
}
