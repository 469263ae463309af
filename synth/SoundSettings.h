#pragma once

#include <string>
#include <vector>

namespace toneloft::synth {

// The choices a user has over how the built-in instrument is heard: the audio
// output device (entry 0 of the list is "<None>", silence) and the volume.
class SoundSettings {
public:
    virtual ~SoundSettings() = default;

    // "<None>" first, then the system's output devices.
    virtual std::vector<std::string> outputDevices() = 0;
    // Index into outputDevices() of the device playing now, 0 for none.
    virtual int currentDevice() const = 0;
    // Plays through the device at the index (0: silence). False, and silence,
    // when the device cannot be opened; the reason is in problem().
    virtual bool selectDevice(int index) = 0;
    virtual std::string problem() const = 0;

    virtual int volume() const = 0; // 0..100
    virtual void setVolume(int percent) = 0;
};

} // namespace toneloft::synth
