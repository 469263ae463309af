#pragma once

#include "common/ByteString.h"

namespace toneloft {

// The synthesiser as the voice lists and editors see it: whether anything can
// be sent, and the two things they send. The MIDI layer implements it while
// the program runs; without one nothing is sent.
class SynthLink {
public:
    virtual ~SynthLink() = default;
    virtual bool outputOpen() const = 0;
    // voice: the unpacked 155-byte voice, sent as a single-voice dump; then
    // the audition arpeggio when playScale is set.
    virtual void sendVoice(const ByteString& voice, bool playScale) = 0;
    // parameter: the 1-based row of the voice parameter table (146-155 are
    // the name characters); value the byte sent.
    virtual void sendParameter(int parameter, int value) = 0;

    // The voice editor's sends. A parameter change (parameter 156: the operator
    // on/off mask), then a test note 60 (playNote) or the audition scale (playScale).
    virtual void sendParameterChange(int parameter, int value, bool playNote, bool playScale)
    {
        (void)playNote;
        (void)playScale;
        sendParameter(parameter, value);
    }
    // The audition scale alone.
    virtual void playScale() {}
    // A short test note (on, a moment, off), and a note-off on its own (velocity 0).
    virtual void playTestNote(int note) { (void)note; }
    virtual void noteOff(int note) { (void)note; }
};

} // namespace toneloft
