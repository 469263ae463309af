#pragma once

#include "common/ByteString.h"

#include <string>

namespace toneloft {

class UiServices;

// A bank message carries 32 packed voices (4096 data bytes). A list whose
// voice count is not a multiple of 32 ends, framed as banks, in a short last
// message whose header still claims 4096 bytes; instruments refuse it.

// Voices the last bank lacks: 0 for whole banks and for an empty list.
long MissingVoicesInLastBank(long voices);

// Appends packed init voices to a packed image (128 bytes a voice) until its
// last bank is whole; returns how many were added.
long FillLastBank(ByteArray& packedImage);

enum class PartialBankChoice { Fill, KeepShort, Cancel };

// Asked once per save: Yes (the default) fills the last bank with init voices,
// No keeps the short message, Cancel stops the save.
PartialBankChoice AskPartialBank(UiServices& ui, const std::string& fileTitle, long voices);

} // namespace toneloft
