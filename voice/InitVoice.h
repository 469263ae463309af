#pragma once

#include "common/ByteString.h"

namespace toneloft {

// The 155-byte unpacked voice a DX7 sets up on "voice init".
ByteString MakeInitVoice();

// 32 init voices packed and framed as one 4104-byte bank message: the
// template a new voice list starts from (DXInit.dat).
ByteString MakeInitBankFile();

} // namespace toneloft
