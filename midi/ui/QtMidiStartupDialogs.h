#pragma once

#include "midi/MidiStartupDialogs.h"

#include <QPointer>
#include <QWidget>

namespace toneloft::synth {
class SoundSettings;
}

namespace toneloft {

// The start-up dialogues as modal Qt windows, centred on the main window.
class QtMidiStartupDialogs : public MidiStartupDialogs {
public:
    explicit QtMidiStartupDialogs(QWidget* mainWindow = nullptr) : m_mainWindow(mainWindow) {}
    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }
    // The built-in instrument's sound, offered in the device dialogue.
    void setSound(synth::SoundSettings* sound) { m_sound = sound; }

    int showMissingDevice(const MissingDeviceDialog& dialog) override;
    bool showMidiConfigure(MidiConfigureDialog& dialog) override;
    int showInitialisationMessage(const std::string& testText) override;

private:
    QPointer<QWidget> m_mainWindow;
    synth::SoundSettings* m_sound = nullptr;
};

} // namespace toneloft
