#include "synth/FmTables.h"

#include <algorithm>
#include <cmath>

namespace toneloft::synth {

namespace {

// Output levels 0..19 are attenuated more steeply than the linear part above.
constexpr std::array<std::uint8_t, 20> kLowOutputLevels{
    127, 122, 118, 114, 110, 107, 104, 102, 100, 98, 96, 94, 92, 90, 88, 86, 85, 84, 82, 81};

// Exponential level scaling curve, distances 0..28 (255 beyond).
constexpr std::array<std::uint8_t, 29> kExpCurve{
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 14, 16, 19, 23, 28, 33, 39, 47, 57, 67, 80, 95, 113, 134, 160, 190, 224, 255};

// Velocity: MIDI velocity / 4 -> the instrument's inverted velocity (110 soft .. 0 hard).
// Fitted through the levels the firmware chain gives at velocities 1, 32, 64, 96, 100 and 127.
constexpr std::array<std::uint8_t, 32> kVelocityIndex{
    110, 104, 97, 91, 84, 78, 71, 65, 58, 55, 51, 48, 44, 41, 37, 34,
    30, 28, 26, 24, 22, 20, 18, 16, 14, 10, 8, 7, 5, 3, 2, 0};

// Inverted velocity / 4 -> velocity scale.
constexpr std::array<std::uint8_t, 32> kVelocityScale{
    0, 4, 12, 21, 30, 40, 46, 52, 58, 64, 70, 76, 82, 88, 94, 100,
    103, 106, 109, 112, 114, 116, 118, 120, 122, 124, 126, 128, 130, 131, 132, 133};

// Pitch envelope levels 0..19 and 86..99; 20..85 run 98..163.
constexpr std::array<std::uint8_t, 20> kPegLow{
    0, 12, 24, 33, 43, 52, 60, 67, 72, 76, 79, 82, 85, 87, 89, 91, 93, 95, 96, 97};
constexpr std::array<std::uint8_t, 14> kPegHigh{
    166, 168, 171, 174, 177, 181, 186, 193, 201, 210, 220, 231, 243, 255};

constexpr std::array<std::uint8_t, 100> kPegRate{
    1, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11,
    12, 12, 13, 13, 14, 14, 15, 16, 16, 17, 18, 18, 19, 20, 21, 22, 23, 24, 25, 26,
    27, 28, 30, 31, 33, 34, 36, 37, 38, 39, 41, 42, 44, 46, 47, 49, 51, 53, 54, 56,
    58, 60, 62, 64, 66, 68, 70, 72, 74, 76, 79, 82, 85, 88, 91, 94, 98, 102, 106, 110,
    115, 120, 125, 130, 135, 141, 147, 153, 159, 165, 171, 178, 185, 193, 202, 211, 232, 243, 254, 255};

constexpr std::array<std::uint8_t, 8> kPms{0, 10, 20, 33, 55, 92, 153, 255};

// Measured equal-level segment times (rate, seconds); above rate 76 they are
// 20 * (99 - rate) samples at 44.1 kHz.
struct StaticPoint {
    int rate;
    double seconds;
};
constexpr std::array<StaticPoint, 9> kStatic{{{0, 40.0}, {10, 13.25}, {20, 5.0}, {30, 1.4}, {40, 0.5},
                                               {50, 0.15}, {60, 0.051}, {70, 0.019}, {76, 0.010}}};

} // namespace

int outputLevelAttenuation(int level)
{
    level = std::clamp(level, 0, 99);
    return level < 20 ? kLowOutputLevels[static_cast<std::size_t>(level)] : 99 - level;
}

int scalingCurve(bool exponential, int distance)
{
    distance = std::max(0, distance);
    if (exponential)
        return distance < static_cast<int>(kExpCurve.size()) ? kExpCurve[static_cast<std::size_t>(distance)] : 255;
    if (distance <= 21)
        return 8 * distance;
    if (distance == 22)
        return 178; // the firmware's table has 178 here, not 176
    return std::min(255, 184 + 8 * (distance - 23));
}

int velocityLevel(int midiVelocity, int sensitivity)
{
    const int v = std::clamp(midiVelocity, 0, 127);
    const int kvs = std::clamp(sensitivity, 0, 7);
    const int inverted = kVelocityIndex[static_cast<std::size_t>(v >> 2)];
    const int scale = kVelocityScale[static_cast<std::size_t>(inverted >> 2)];
    return 15 - 2 * kvs + ((kvs * scale) >> 3);
}

double pitchEnvelopeSemitones(int level)
{
    level = std::clamp(level, 0, 99);
    int t = 0;
    if (level < 20)
        t = kPegLow[static_cast<std::size_t>(level)];
    else if (level <= 85)
        t = 98 + (level - 20);
    else
        t = kPegHigh[static_cast<std::size_t>(level - 86)];
    return (t - 128) * 0.375;
}

int pitchEnvelopeRateUnits(int rate)
{
    return kPegRate[static_cast<std::size_t>(std::clamp(rate, 0, 99))];
}

double lfoFrequency(int speed)
{
    speed = std::clamp(speed, 0, 99);
    int a = (660 * speed) >> 8;
    if (a == 0)
        a = 1;
    const int m = a < 160 ? 11 : 11 + ((a - 160) >> 2);
    return a * m * kLfoTickRate / 65536.0;
}

int pitchModSensitivity(int pms)
{
    return kPms[static_cast<std::size_t>(std::clamp(pms, 0, 7))];
}

double decayStepsPerSecond(int qrate)
{
    qrate = std::clamp(qrate, 0, 63);
    return (4 + (qrate & 3)) * std::ldexp(1.0, qrate >> 2) / 16384.0 * kChipRate;
}

double staticSegmentSeconds(int rate)
{
    rate = std::clamp(rate, 0, 99);
    if (rate > 76)
        return 20.0 * (99 - rate) / 44100.0;
    for (std::size_t i = 1; i < kStatic.size(); ++i) {
        if (rate <= kStatic[i].rate) {
            const StaticPoint& a = kStatic[i - 1];
            const StaticPoint& b = kStatic[i];
            const double f = static_cast<double>(rate - a.rate) / (b.rate - a.rate);
            return std::exp(std::log(a.seconds) + f * (std::log(b.seconds) - std::log(a.seconds)));
        }
    }
    return kStatic.back().seconds;
}

double carrierCompensation(int carriers)
{
    static constexpr std::array<double, 7> kCom{0.0, 0.0, 1.0, 1.625, 2.0, 2.375, 2.625};
    return kCom[static_cast<std::size_t>(std::clamp(carriers, 0, 6))];
}

} // namespace toneloft::synth
