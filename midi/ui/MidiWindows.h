#pragma once

#include "midi/MidiCommandHost.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class QMdiSubWindow;

namespace toneloft {

class MidiSession;
class frmMIDIManager;
class frmStartup;

// The window side of the program's MIDI: the MIDI menu and toolbar buttons of
// the main window, the MIDI manager as a child window while a device is open,
// and the main window's MIDI commands and start-up wired to a MidiSession.
class MidiWindows : public QObject, public MidiCommandHost {
    Q_OBJECT

public:
    explicit MidiWindows(frmStartup& mainWindow);
    ~MidiWindows() override;
    MidiWindows(const MidiWindows&) = delete;
    MidiWindows& operator=(const MidiWindows&) = delete;

    // Gives the main window's MIDI commands, its start-up and its close to midi.
    void attach(MidiSession& midi);

    frmMIDIManager* managerWindow() const;

    void setCommandEnabled(MidiCommand command, bool enabled) override;
    void setCommandChecked(MidiCommand command, bool checked) override;
    void managerLoaded() override;
    void managerUnloaded() override;
    void showManager(ManagerWindowState state) override;
    void setManagerCaption(const std::string& caption) override;
    void monitorChanged() override;

private:
    void syncDevicesOpen();

    frmStartup& m_main;
    MidiSession* m_midi = nullptr;
    QPointer<frmMIDIManager> m_manager;
    QPointer<QMdiSubWindow> m_managerFrame;
    QTimer m_portWatch; // while a device is open: notices ports that vanish and return
};

} // namespace toneloft
