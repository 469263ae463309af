#pragma once

#include "common/ByteString.h"

namespace toneloft {

// DX7 system-exclusive formats the program asks for.
constexpr int kDumpVoice = 0;      // one voice, the edit buffer
constexpr int kDumpBank = 9;       // 32 voices
constexpr int kDumpAnyMessage = 256; // a receive that takes any message; never requested

// F0 43 2n ff F7: n = channel 0-15, ff = format (00, 01, 02, 09 or 7D). Empty
// for any other format: no request exists for it.
ByteString DumpRequest(int channel, int format);

// F0 43 10 gg pp dd F7 for DX7 voice parameter P (0-155): gg = P >> 7,
// pp = P & 7F, dd = value & 7F. Always channel 1. Empty when P is out of range.
ByteString ParameterChange(int parameter, int value);

// The message with its channel nibble set to channel (0-15), for a Yamaha
// dump, parameter change or request (F0 43 0n / 1n / 2n ...); any other
// message comes back as it is. The program sends its voices, banks and
// parameter changes on the channel detection found, not always on channel 1.
ByteString OnChannel(ByteString message, int channel);

} // namespace toneloft
