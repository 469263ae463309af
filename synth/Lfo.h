#pragma once

#include <cstdint>

namespace toneloft::synth {

// The instrument's one LFO, shared by all notes. Values are the firmware's
// 8-bit signed wave (-128..127); depths 0..255 after the delay's fade-in.
class Lfo {
public:
    enum class Wave { Triangle, SawDown, SawUp, Square, Sine, SampleHold };

    Lfo();
    // speed, delay, pitch and amplitude depth 0..99; wave 0..5.
    void configure(int speed, int delay, int pitchDepth, int ampDepth, bool keySync, int wave);
    void keyOn();
    void advance(double seconds);

    int value() const { return m_value; }
    double frequency() const { return m_frequency; }
    // Depths 0..255 with the delay's fade applied.
    double pitchDepth() const { return m_pitchDepth * m_fade / 255.0; }
    double ampDepth() const { return m_ampDepth * m_fade / 255.0; }

private:
    void updateValue();

    double m_phase = 0.0;    // 0..65536
    double m_increment = 0.0; // phase per tick
    double m_frequency = 0.0;
    double m_delayCounter = 65536.0;
    double m_delayIncrement = 0.0;
    double m_fadeStep = 1.0;
    double m_fade = 255.0;
    int m_delay = 0;
    int m_pitchDepth = 0;
    int m_ampDepth = 0;
    bool m_keySync = false;
    Wave m_wave = Wave::Triangle;
    int m_value = 0;
    std::uint8_t m_random = 0;
};

} // namespace toneloft::synth
