#include "synth/OperatorEnvelope.h"

#include "synth/FmTables.h"

#include <algorithm>
#include <cmath>

namespace toneloft::synth {

namespace {

// A rising segment starts no quieter than 1716 steps above the floor.
constexpr double kAttackJump = 4095.0 - 1716.0;
// The chip's attack law runs 1.5x faster than TX7 rise times measured with a
// meter; the measurements win.
constexpr double kAttackScale = 0.665;

} // namespace

void OperatorEnvelope::configure(const std::array<int, 4>& rates, const std::array<int, 4>& levels, int rateBoost,
                                 int operatorLevel)
{
    for (std::size_t i = 0; i < 4; ++i) {
        const int rate = std::clamp(rates[i], 0, 99);
        const int q = std::min(63, ((rate * 41) >> 6) + std::max(0, rateBoost));
        m_speed[i] = decayStepsPerSecond(q);
        m_staticTime[i] = staticSegmentSeconds(rate);
        const int egLevel = outputLevelAttenuation(levels[i]) >> 1; // units of 64 steps
        m_target[i] = std::min(kFloorSteps, 64 * egLevel + 16 * operatorLevel);
    }
}

void OperatorEnvelope::reset()
{
    m_level = 4095.0;
    m_hold = 0.0;
    m_segment = 3;
}

void OperatorEnvelope::keyOn()
{
    startSegment(0);
}

void OperatorEnvelope::keyOff()
{
    startSegment(3);
}

bool OperatorEnvelope::finished() const
{
    return m_segment == 3 && m_hold <= 0.0 && m_level >= kFloorSteps;
}

void OperatorEnvelope::startSegment(int segment)
{
    m_segment = segment;
    const double target = m_target[static_cast<std::size_t>(segment)];
    m_hold = 0.0;
    if (segment > 0 && segment < 3 && target == m_target[static_cast<std::size_t>(segment - 1)]
        && std::abs(m_level - target) < 1.0)
        m_hold = m_staticTime[static_cast<std::size_t>(segment)];
    if (target < m_level)
        m_level = std::min(m_level, std::max(kAttackJump, target));
}

double OperatorEnvelope::advance(double seconds)
{
    while (seconds > 0.0) {
        if (m_hold > 0.0) {
            const double t = std::min(m_hold, seconds);
            m_hold -= t;
            seconds -= t;
            if (m_hold <= 0.0)
                startSegment(m_segment + 1);
            continue;
        }
        const auto s = static_cast<std::size_t>(m_segment);
        const double target = m_target[s];
        if (m_level == target) {
            if (m_segment >= 2)
                break; // level 3 holds while the key is down; level 4 until the next key-on
            startSegment(m_segment + 1);
            continue;
        }
        double stop = target;
        double speed = m_speed[s];
        if (m_level > target) {
            // Rising: the slope grows with the attenuation, band by band of 256 steps.
            const double band = std::floor((m_level - 1e-9) / 256.0);
            speed *= (band + 2.0) * kAttackScale;
            stop = std::max(target, band * 256.0);
        }
        const double need = std::abs(m_level - stop) / speed;
        if (need > seconds) {
            m_level += (stop > m_level ? speed : -speed) * seconds;
            seconds = 0.0;
        } else {
            m_level = stop;
            seconds -= need;
        }
    }
    return m_level;
}

} // namespace toneloft::synth
