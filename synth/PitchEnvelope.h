#pragma once

#include <array>

namespace toneloft::synth {

// The pitch envelope of one note, in semitones (0 at level 50). At key-on it
// starts at level 4 and runs to levels 1, 2 and 3, holding 3; key-off runs to
// level 4.
class PitchEnvelope {
public:
    void configure(const std::array<int, 4>& rates, const std::array<int, 4>& levels);
    void keyOn();
    void keyOff();
    // Runs for a time; returns the shift in semitones at its end.
    double advance(double seconds);
    double semitones() const { return m_level; }

private:
    std::array<double, 4> m_target{};
    std::array<double, 4> m_speed{}; // semitones per second
    double m_level = 0.0;
    int m_segment = 3;
};

} // namespace toneloft::synth
