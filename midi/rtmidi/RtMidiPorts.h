#pragma once

#include <RtMidi.h>

#include <memory>

namespace toneloft {

// Stops delivery and closes an input port; RtMidi's complaints on the way out are
// of no use to anyone, so they are swallowed. The port object is released.
inline void closeRtMidiInput(std::unique_ptr<RtMidiIn>& in)
{
    if (!in)
        return;
    try {
        in->cancelCallback();
        in->closePort();
    } catch (const RtMidiError&) {
    }
    in.reset();
}

} // namespace toneloft
