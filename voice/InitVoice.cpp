#include "voice/InitVoice.h"

#include "voice/VoiceFileFormat.h"
#include "voice/VoicePacking.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace toneloft {

ByteString MakeInitVoice()
{
    // The firmware's init voice, unpacked layout (offsets from 0):
    //   each operator, 21 bytes, operator 6 first:
    //     EG rates 99 99 99 99, EG levels 99 99 99 0,
    //     break point 0, left/right depth 0, left/right curve 0 (-LIN),
    //     rate scaling 0, AMS 0, key velocity 0, output level 0 (99 for op 1),
    //     ratio mode, coarse 1, fine 0, detune 7 (centre)
    //   126..133 pitch EG rates 99 x4, levels 50 x4
    //   134 algorithm 0 (shown as 1), 135 feedback 0, 136 osc key sync on
    //   137..140 LFO speed 35, delay 0, PMD 0, AMD 0
    //   141 LFO key sync on, 142 wave 0 (triangle), 143 PMS 3
    //   144 transpose 24 (C3), 145..154 "INIT VOICE"
    constexpr std::array<std::uint8_t, 21> op{99, 99, 99, 99, 99, 99, 99, 0, 0, 0, 0,
                                              0,  0,  0,  0,  0,  0,  0,  1, 0, 7};
    constexpr std::size_t outputLevel = 16;
    constexpr std::array<std::uint8_t, 19> voiceWide{99, 99, 99, 99, 50, 50, 50, 50, 0, 0,
                                                     1,  35, 0,  0,  0,  1,  0,  3,  24};
    constexpr std::string_view name = "INIT VOICE";

    ByteString voice;
    voice.reserve(kUnpackedVoiceSize);
    for (int n = 6; n >= 1; --n) {
        for (std::size_t j = 0; j < op.size(); ++j) {
            const std::uint8_t value = (j == outputLevel && n == 1) ? std::uint8_t{99} : op[j];
            voice.push_back(toChar(value));
        }
    }
    for (std::uint8_t value : voiceWide)
        voice.push_back(toChar(value));
    voice.append(name);
    return voice;
}

ByteString MakeInitBankFile()
{
    const ByteString packed = Pack(MakeInitVoice());
    ByteString bank;
    bank.reserve(kBankDataSize);
    for (int i = 0; i < 32; ++i)
        bank += packed;
    return AddWrapper(bank, 3);
}

} // namespace toneloft
