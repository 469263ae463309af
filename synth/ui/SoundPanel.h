#pragma once

#include <QGroupBox>

class QComboBox;
class QLabel;
class QSlider;

namespace toneloft::synth {
class SoundSettings;
}

namespace toneloft {

// The built-in instrument's sound in the device dialogue: the audio output
// ("<None>" for silence) and the volume. The volume follows the slider at
// once; the device changes when the dialogue is confirmed (apply()).
class SoundPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit SoundPanel(synth::SoundSettings& sound, QWidget* parent = nullptr);

    // Opens the chosen device; a device that fails leaves silence and says so
    // on the panel, never in a message box.
    void apply();

    QComboBox* deviceList() const { return m_devices; }
    QSlider* volumeSlider() const { return m_volume; }
    QLabel* problemLabel() const { return m_problem; }

private:
    synth::SoundSettings& m_sound;
    QComboBox* m_devices;
    QSlider* m_volume;
    QLabel* m_problem;
};

} // namespace toneloft
