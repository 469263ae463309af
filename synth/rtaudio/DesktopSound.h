#pragma once

#include "synth/FmInstrument.h"
#include "synth/SoundSettings.h"
#include "synth/rtaudio/AudioOutput.h"

#include <string>
#include <vector>

namespace toneloft::synth {

// The desktop program's sound: the instrument the in-process virtual DX7
// plays, heard through the system's default output device once start() has
// run (when the virtual DX7 is first opened). Without a device the program is
// silent and says nothing.
class DesktopSound : public SoundSettings {
public:
    DesktopSound();
    // Opens the default output device, the first time only.
    void start();

    FmInstrument& instrument() { return m_instrument; }

    std::vector<std::string> outputDevices() override;
    int currentDevice() const override;
    bool selectDevice(int index) override;
    std::string problem() const override { return m_output.error(); }
    int volume() const override { return m_volume; }
    void setVolume(int percent) override;

private:
    FmInstrument m_instrument;
    AudioOutput m_output;
    std::vector<AudioOutput::Device> m_devices;
    int m_current = 0;
    int m_volume = 80;
    bool m_started = false;
};

} // namespace toneloft::synth
