#include "synth/PitchEnvelope.h"

#include "synth/FmTables.h"

#include <algorithm>
#include <cmath>

namespace toneloft::synth {

void PitchEnvelope::configure(const std::array<int, 4>& rates, const std::array<int, 4>& levels)
{
    for (std::size_t i = 0; i < 4; ++i) {
        m_target[i] = pitchEnvelopeSemitones(levels[i]);
        // The firmware moves the level by the table value, in 1/4096 octave,
        // on every second LFO tick.
        m_speed[i] = pitchEnvelopeRateUnits(rates[i]) * (kLfoTickRate / 2.0) / 4096.0 * 12.0;
    }
}

void PitchEnvelope::keyOn()
{
    m_level = m_target[3];
    m_segment = 0;
}

void PitchEnvelope::keyOff()
{
    m_segment = 3;
}

double PitchEnvelope::advance(double seconds)
{
    while (seconds > 0.0) {
        const auto s = static_cast<std::size_t>(m_segment);
        const double target = m_target[s];
        if (m_level == target) {
            if (m_segment >= 2)
                break;
            ++m_segment;
            continue;
        }
        const double need = std::abs(target - m_level) / m_speed[s];
        if (need > seconds) {
            m_level += (target > m_level ? m_speed[s] : -m_speed[s]) * seconds;
            seconds = 0.0;
        } else {
            m_level = target;
            seconds -= need;
        }
    }
    return m_level;
}

} // namespace toneloft::synth
