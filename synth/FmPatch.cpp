#include "synth/FmPatch.h"

#include <algorithm>

namespace toneloft::synth {

namespace {

// Operator blocks of 21 bytes, operator 6 first.
constexpr int kOpBlock = 21;

// Largest value of each byte of an operator block and of the voice-wide part.
constexpr std::array<int, kOpBlock> kOpMax{99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 3, 3, 7, 3, 7, 99, 1, 31, 99, 14};
constexpr std::array<int, 19> kVoiceMax{99, 99, 99, 99, 99, 99, 99, 99, 31, 7, 1, 99, 99, 99, 99, 1, 5, 7, 48};

int clampByte(std::uint8_t b, int max)
{
    return std::min<int>(b, max);
}

} // namespace

std::array<std::uint8_t, Patch::kSize> initVoiceBytes()
{
    std::array<std::uint8_t, Patch::kSize> v{};
    for (int block = 0; block < 6; ++block) {
        std::uint8_t* op = v.data() + block * kOpBlock;
        for (int i = 0; i < 4; ++i)
            op[i] = 99;  // rates
        op[4] = op[5] = op[6] = 99; // levels 1..3
        op[7] = 0;
        op[16] = block == 5 ? 99 : 0; // output level: only operator 1 sounds
        op[18] = 1;                   // coarse
        op[20] = 7;                   // detune
    }
    std::uint8_t* voice = v.data() + 126;
    for (int i = 0; i < 4; ++i) {
        voice[i] = 99;     // pitch EG rates
        voice[4 + i] = 50; // pitch EG levels
    }
    voice[10] = 1;  // osc sync
    voice[11] = 35; // LFO speed
    voice[15] = 1;  // LFO sync
    voice[17] = 3;  // pitch mod sensitivity
    voice[18] = 24; // transpose
    const char name[] = "INIT VOICE";
    for (int i = 0; i < 10; ++i)
        v[static_cast<std::size_t>(145 + i)] = static_cast<std::uint8_t>(name[i]);
    return v;
}

void Patch::decode(std::span<const std::uint8_t> voice)
{
    bytes = initVoiceBytes();
    std::copy_n(voice.begin(), std::min(voice.size(), kSize), bytes.begin());
    for (int number = 0; number < 145; ++number)
        setParameter(number, bytes[static_cast<std::size_t>(number)]);
}

void Patch::setParameter(int number, int value)
{
    if (number == kOperatorMaskParameter) {
        operatorMask = static_cast<std::uint8_t>(value & 0x3F);
        return;
    }
    if (number < 0 || number >= static_cast<int>(kSize))
        return;
    const auto raw = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    bytes[static_cast<std::size_t>(number)] = raw;
    if (number < 6 * kOpBlock) {
        PatchOperator& op = ops[static_cast<std::size_t>(5 - number / kOpBlock)];
        const int field = number % kOpBlock;
        const int v = clampByte(raw, kOpMax[static_cast<std::size_t>(field)]);
        switch (field) {
        case 0: case 1: case 2: case 3: op.rates[static_cast<std::size_t>(field)] = v; break;
        case 4: case 5: case 6: case 7: op.levels[static_cast<std::size_t>(field - 4)] = v; break;
        case 8: op.breakPoint = v; break;
        case 9: op.leftDepth = v; break;
        case 10: op.rightDepth = v; break;
        case 11: op.leftCurve = v; break;
        case 12: op.rightCurve = v; break;
        case 13: op.rateScaling = v; break;
        case 14: op.ampModSens = v; break;
        case 15: op.velocitySens = v; break;
        case 16: op.outputLevel = v; break;
        case 17: op.fixed = v != 0; break;
        case 18: op.coarse = v; break;
        case 19: op.fine = v; break;
        default: op.detune = v; break;
        }
        return;
    }
    if (number >= 145)
        return; // the name
    const int field = number - 126;
    const int v = clampByte(raw, kVoiceMax[static_cast<std::size_t>(field)]);
    switch (field) {
    case 0: case 1: case 2: case 3: pitchRates[static_cast<std::size_t>(field)] = v; break;
    case 4: case 5: case 6: case 7: pitchLevels[static_cast<std::size_t>(field - 4)] = v; break;
    case 8: algorithm = v; break;
    case 9: feedback = v; break;
    case 10: oscSync = v != 0; break;
    case 11: lfoSpeed = v; break;
    case 12: lfoDelay = v; break;
    case 13: lfoPitchDepth = v; break;
    case 14: lfoAmpDepth = v; break;
    case 15: lfoSync = v != 0; break;
    case 16: lfoWave = v; break;
    case 17: pitchModSens = v; break;
    default: transpose = v; break;
    }
}

} // namespace toneloft::synth
