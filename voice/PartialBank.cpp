#include "voice/PartialBank.h"

#include "common/NumberText.h"
#include "common/UiServices.h"
#include "voice/InitVoice.h"
#include "voice/VoicePacking.h"

namespace toneloft {

namespace {

constexpr long kVoicesPerBankMessage = 32;

} // namespace

long MissingVoicesInLastBank(long voices)
{
    if (voices <= 0)
        return 0;
    const long inLastBank = voices % kVoicesPerBankMessage;
    return inLastBank == 0 ? 0 : kVoicesPerBankMessage - inLastBank;
}

long FillLastBank(ByteArray& packedImage)
{
    const long voices = static_cast<long>(packedImage.size() / kPackedVoiceSize);
    const long missing = MissingVoicesInLastBank(voices);
    if (missing == 0)
        return 0;
    const ByteString init = Pack(MakeInitVoice());
    // A stray partial voice at the end would shift every added voice; cut it first.
    packedImage.resize(static_cast<std::size_t>(voices) * kPackedVoiceSize);
    packedImage.reserve(packedImage.size() + static_cast<std::size_t>(missing) * kPackedVoiceSize);
    for (long i = 0; i < missing; ++i)
        for (const char c : init)
            packedImage.push_back(static_cast<std::uint8_t>(c));
    return missing;
}

PartialBankChoice AskPartialBank(UiServices& ui, const std::string& fileTitle, long voices)
{
    const long missing = MissingVoicesInLastBank(voices);
    if (missing == 0)
        return PartialBankChoice::KeepShort;
    const MsgResult answer = ui.MsgBox(
        fileTitle + " holds" + Str(voices) + " voices, so its last bank message would hold" +
            Str(kVoicesPerBankMessage - missing) + " voices instead of 32; many instruments refuse it.\r\n" +
            "Fill the last bank with" + Str(missing) + " initial voices ?\r\n" +
            "(No keeps the short last message.)",
        "Partial Bank", MsgIcon::Question, MsgButtons::YesNoCancel);
    switch (answer) {
    case MsgResult::Yes: return PartialBankChoice::Fill;
    case MsgResult::No: return PartialBankChoice::KeepShort;
    default: return PartialBankChoice::Cancel;
    }
}

} // namespace toneloft
