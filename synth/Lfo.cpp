#include "synth/Lfo.h"

#include "synth/FmTables.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace toneloft::synth {

namespace {

// A quarter of a sine, 8-bit: round(127 * sin((i + 0.5) / 64 * pi / 2)).
std::array<std::int8_t, 64> makeQuarterSine()
{
    std::array<std::int8_t, 64> t{};
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = static_cast<std::int8_t>(std::lround(127.0 * std::sin((static_cast<double>(i) + 0.5) / 64.0 * 1.5707963267948966)));
    return t;
}

int depthScale(int value)
{
    return (660 * std::clamp(value, 0, 99)) >> 8;
}

} // namespace

Lfo::Lfo()
{
    configure(35, 0, 0, 0, true, 0);
    updateValue();
}

void Lfo::configure(int speed, int delay, int pitchDepth, int ampDepth, bool keySync, int wave)
{
    m_frequency = lfoFrequency(speed);
    m_increment = m_frequency / kLfoTickRate * 65536.0;
    m_delay = std::clamp(delay, 0, 99);
    const int a = 99 - m_delay;
    const int inc = (16 + (a & 15)) << (2 + (a >> 4));
    m_delayIncrement = inc;
    m_fadeStep = std::max(1, inc >> 8);
    m_pitchDepth = depthScale(pitchDepth);
    m_ampDepth = depthScale(ampDepth);
    m_keySync = keySync;
    m_wave = static_cast<Wave>(std::clamp(wave, 0, 5));
}

void Lfo::keyOn()
{
    if (m_keySync) {
        m_phase = 0x7FFF;
        updateValue();
    }
    if (m_delay != 0) {
        m_delayCounter = 0.0;
        m_fade = 0.0;
    }
}

void Lfo::advance(double seconds)
{
    const double ticks = seconds * kLfoTickRate;
    if (m_delayCounter < 65536.0) {
        m_delayCounter += m_delayIncrement * ticks;
        if (m_delayCounter >= 65536.0) {
            const double over = (m_delayCounter - 65536.0) / m_delayIncrement;
            m_delayCounter = 65536.0;
            m_fade = std::min(255.0, m_fadeStep * over);
        }
    } else if (m_fade < 255.0) {
        m_fade = std::min(255.0, m_fade + m_fadeStep * ticks);
    }
    m_phase += m_increment * ticks;
    if (m_phase >= 65536.0) {
        m_phase = std::fmod(m_phase, 65536.0);
        m_random = static_cast<std::uint8_t>(179 * m_random + 17);
    }
    updateValue();
}

void Lfo::updateValue()
{
    static const std::array<std::int8_t, 64> quarter = makeQuarterSine();
    const int p = static_cast<int>(m_phase) >> 8; // 0..255
    switch (m_wave) {
    case Wave::Triangle: m_value = (p < 128 ? 2 * p : 511 - 2 * p) - 128; break;
    case Wave::SawDown: m_value = 127 - p; break;
    case Wave::SawUp: m_value = p - 128; break;
    case Wave::Square: m_value = p < 128 ? 127 : -128; break;
    case Wave::Sine: {
        const int i = p & 63;
        const int q = p >> 6;
        const int v = quarter[static_cast<std::size_t>((q & 1) != 0 ? 63 - i : i)];
        m_value = q < 2 ? v : -v;
        break;
    }
    case Wave::SampleHold: m_value = m_random < 128 ? m_random : m_random - 256; break;
    }
}

} // namespace toneloft::synth
