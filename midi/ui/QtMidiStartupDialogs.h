#pragma once

#include "midi/MidiStartupDialogs.h"

#include <QPointer>
#include <QWidget>

namespace toneloft {

// The start-up dialogues as modal Qt windows, centred on the main window.
class QtMidiStartupDialogs : public MidiStartupDialogs {
public:
    explicit QtMidiStartupDialogs(QWidget* mainWindow = nullptr) : m_mainWindow(mainWindow) {}
    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }

    int showMissingDevice(const MissingDeviceDialog& dialog) override;
    bool showMidiConfigure(MidiConfigureDialog& dialog) override;
    int showInitialisationMessage(const std::string& testText) override;

private:
    QPointer<QWidget> m_mainWindow;
};

} // namespace toneloft
