#pragma once

#include <array>
#include <cstdint>

// Numbers of the DX7's firmware and chips, in the units the engine uses.
// One "step" is 1/256 of a doubling (0.02352 dB) of attenuation.
namespace toneloft::synth {

// The chips run at 9.4265 MHz / 192; rates below are counted at this clock.
constexpr double kChipRate = 49096.0;

// Attenuation floor of an operator, in steps (about -96 dB).
constexpr int kFloorSteps = 4080;

// Output level 0..99 -> attenuation in units of 32 steps (127 at 0, 0 at 99).
int outputLevelAttenuation(int level);

// Keyboard level scaling curve value for a distance of d groups (0..255).
int scalingCurve(bool exponential, int distance);

// Velocity part of the operator level, in units of 16 steps; midiVelocity 1..127,
// sensitivity 0..7. 15 at sensitivity 0 whatever the velocity.
int velocityLevel(int midiVelocity, int sensitivity);

// Pitch envelope level 0..99 -> shift in semitones (-48 .. +47.625).
double pitchEnvelopeSemitones(int level);
// Pitch envelope rate 0..99 -> speed in 1/4096-octave units per half LFO tick.
int pitchEnvelopeRateUnits(int rate);

// LFO speed 0..99 -> frequency in Hz.
double lfoFrequency(int speed);
// LFO tick rate of the firmware, Hz.
constexpr double kLfoTickRate = 372.27;

// Pitch modulation sensitivity 0..7 -> factor 0..255.
int pitchModSensitivity(int pms);

// Decay speed of a quantised rate q (0..63), in steps per second.
double decayStepsPerSecond(int qrate);

// Time a segment whose target equals its start level still takes, seconds.
double staticSegmentSeconds(int rate);

// Number of carriers 1..6 -> their attenuation in doublings.
double carrierCompensation(int carriers);

} // namespace toneloft::synth
