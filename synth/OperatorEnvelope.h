#pragma once

#include <array>

namespace toneloft::synth {

// One operator's envelope generator. Its level is an attenuation in steps
// (1/256 doubling): 0 is full scale, kFloorSteps is silence. Segments 1..3
// run at key-on and hold at level 3; key-off runs segment 4 from wherever the
// level is. Falling segments move at a constant number of steps per second;
// rising ones first jump to about -56 dB and then speed up towards the quiet
// end, as the chip does.
class OperatorEnvelope {
public:
    // rates and levels 0..99; rateBoost is the keyboard rate scaling added to
    // the quantised rates (0..63); operatorLevel the level from output level,
    // keyboard scaling and velocity, in units of 16 steps. The running segment
    // continues towards its new target.
    void configure(const std::array<int, 4>& rates, const std::array<int, 4>& levels, int rateBoost,
                   int operatorLevel);

    void keyOn();
    void keyOff();
    // Silences at once (a fresh voice).
    void reset();

    // Runs the envelope for a time; returns the attenuation at its end.
    double advance(double seconds);

    double level() const { return m_level; }
    int segment() const { return m_segment; } // 0..3
    // Segment 4 has reached silence.
    bool finished() const;

private:
    void startSegment(int segment);

    std::array<double, 4> m_target{};      // steps
    std::array<double, 4> m_speed{};       // steps per second at the decay law
    std::array<double, 4> m_staticTime{};  // seconds an equal-level segment takes
    double m_level = 4095.0;
    double m_hold = 0.0;
    int m_segment = 3;
};

} // namespace toneloft::synth
