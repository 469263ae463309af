#include "synth/rtaudio/DesktopSound.h"

#include <algorithm>
#include <cmath>

namespace toneloft::synth {

DesktopSound::DesktopSound()
{
    setVolume(m_volume);
}

void DesktopSound::start()
{
    if (m_started)
        return;
    m_started = true;
    m_devices = AudioOutput::devices();
    const auto fallback = std::find_if(m_devices.begin(), m_devices.end(), [](const auto& d) { return d.isDefault; });
    if (fallback != m_devices.end())
        selectDevice(static_cast<int>(fallback - m_devices.begin()) + 1);
}

std::vector<std::string> DesktopSound::outputDevices()
{
    m_started = true; // the user chooses from here on
    if (!m_output.isOpen())
        m_devices = AudioOutput::devices(); // the list cannot change under an open stream's index
    std::vector<std::string> names{"<None>"};
    for (const auto& d : m_devices)
        names.push_back(d.name);
    return names;
}

int DesktopSound::currentDevice() const
{
    return m_output.isOpen() ? m_current : 0;
}

bool DesktopSound::selectDevice(int index)
{
    if (index == m_current && m_output.isOpen())
        return true;
    m_output.close();
    m_current = 0;
    if (index <= 0 || index > static_cast<int>(m_devices.size()))
        return index == 0;
    m_instrument.allSoundOff();
    if (!m_output.open(m_instrument, {}, m_devices[static_cast<std::size_t>(index - 1)].id, "Toneloft"))
        return false;
    m_current = index;
    return true;
}

void DesktopSound::setVolume(int percent)
{
    m_volume = std::clamp(percent, 0, 100);
    // A fader's travel: -40 dB at 1 %, full at 100 %.
    const float gain = m_volume == 0 ? 0.0f : static_cast<float>(std::pow(10.0, (m_volume - 100) * 0.4 / 20.0));
    m_instrument.setVolume(gain);
}

} // namespace toneloft::synth
