#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace toneloft::synth {

// A DX7 voice decoded from its 155 unpacked bytes, every value clamped to its
// range. Operators are indexed 0..5 for operators 1..6.
struct PatchOperator {
    std::array<int, 4> rates{99, 99, 99, 99};
    std::array<int, 4> levels{99, 99, 99, 0};
    int breakPoint = 0;  // 0..99, key 21 + value
    int leftDepth = 0;
    int rightDepth = 0;
    int leftCurve = 0;   // 0 -LIN, 1 -EXP, 2 +EXP, 3 +LIN
    int rightCurve = 0;
    int rateScaling = 0; // 0..7
    int ampModSens = 0;  // 0..3
    int velocitySens = 0; // 0..7
    int outputLevel = 0;
    bool fixed = false;
    int coarse = 1;      // 0..31
    int fine = 0;        // 0..99
    int detune = 7;      // 0..14, 7 none
};

struct Patch {
    static constexpr std::size_t kSize = 155;
    static constexpr int kOperatorMaskParameter = 155;

    std::array<PatchOperator, 6> ops{};
    std::array<int, 4> pitchRates{99, 99, 99, 99};
    std::array<int, 4> pitchLevels{50, 50, 50, 50};
    int algorithm = 0;  // 0..31
    int feedback = 0;   // 0..7
    bool oscSync = true;
    int lfoSpeed = 35;
    int lfoDelay = 0;
    int lfoPitchDepth = 0;
    int lfoAmpDepth = 0;
    bool lfoSync = true;
    int lfoWave = 0;    // 0..5
    int pitchModSens = 3;
    int transpose = 24; // 24 = none
    std::uint8_t operatorMask = 0x3F; // bit 5 = operator 1, bit 0 = operator 6

    // Fewer than 155 bytes leave the rest at INIT VOICE values.
    void decode(std::span<const std::uint8_t> voice);
    // Parameter 0..154 of the unpacked layout, or 155 for the operator on/off mask.
    void setParameter(int number, int value);
    std::array<std::uint8_t, kSize> bytes{};

    bool operatorOn(int op) const { return (operatorMask & (0x20 >> op)) != 0; }
};

// The 155 bytes of INIT VOICE.
std::array<std::uint8_t, Patch::kSize> initVoiceBytes();

} // namespace toneloft::synth
