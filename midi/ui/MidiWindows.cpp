#include "midi/ui/MidiWindows.h"

#include "library/ui/frmStartup.h"
#include "midi/MidiSession.h"
#include "midi/ui/frmMIDIManager.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace toneloft {

MidiWindows::MidiWindows(frmStartup& mainWindow) : m_main(mainWindow)
{
    m_portWatch.setInterval(1000);
    connect(&m_portWatch, &QTimer::timeout, this, [this] {
        if (m_midi)
            m_midi->devices().checkPorts();
    });
}

MidiWindows::~MidiWindows()
{
    delete m_managerFrame.data();
}

frmMIDIManager* MidiWindows::managerWindow() const
{
    return m_manager.data();
}

void MidiWindows::attach(MidiSession& midi)
{
    m_midi = &midi;
    m_main.setMidiInitialiser([this] {
        const int result = m_midi->InitialiseMidi();
        syncDevicesOpen();
        return result;
    });
    m_main.setMidiCloser([this] {
        m_midi->CloseMidiDevices();
        syncDevicesOpen();
    });
    Dx7Exchange& exchange = midi.exchange();
    MidiDeviceLayer& devices = midi.devices();
    m_main.setCommandHandler(MainCommand::MidiSendVoice, [&exchange] { exchange.SendCommand(0); });
    m_main.setCommandHandler(MainCommand::MidiSendBank, [&exchange] { exchange.SendCommand(1); });
    m_main.setCommandHandler(MainCommand::MidiSendFile, [&exchange] { exchange.SendCommand(2); });
    m_main.setCommandHandler(MainCommand::MidiReceiveVoice, [&exchange] { exchange.ReceiveCommand(0); });
    m_main.setCommandHandler(MainCommand::MidiReceiveBank, [&exchange] { exchange.ReceiveCommand(1); });
    m_main.setCommandHandler(MainCommand::MidiInputOn, [&devices] { devices.ToggleMidiInput(); });
    m_main.setCommandHandler(MainCommand::MidiShowManager, [&devices] { devices.ToggleMidiManager(); });
}

void MidiWindows::syncDevicesOpen()
{
    m_main.setMidiDevicesOpen(m_midi->state().inputOpen, m_midi->state().outputOpen);
}

void MidiWindows::setCommandEnabled(MidiCommand command, bool enabled)
{
    frmStartup::CommandState state = m_main.commandState();
    switch (command) {
    case MidiCommand::Send:
        state.sendMenu = enabled;
        state.sendVoiceAndBank = enabled;
        break;
    case MidiCommand::Receive: state.receiveMenu = enabled; break;
    case MidiCommand::Options: state.optionsMenu = enabled; break;
    case MidiCommand::MidiInputOn: state.midiInputOnEnabled = enabled; break;
    case MidiCommand::SendBankButton: state.sendBankButton = enabled; break;
    case MidiCommand::ReceiveBankButton: state.receiveBankButton = enabled; break;
    default: return; // the manager's own buttons and the randomiser's option live there
    }
    m_main.setCommandState(state);
}

void MidiWindows::setCommandChecked(MidiCommand command, bool checked)
{
    frmStartup::CommandState state = m_main.commandState();
    switch (command) {
    case MidiCommand::MidiInputOn: state.midiInputOnTicked = checked; break;
    case MidiCommand::ShowMidiManager: state.midiManagerTicked = checked; break;
    default: return;
    }
    m_main.setCommandState(state);
}

void MidiWindows::managerLoaded()
{
    if (!m_midi || m_manager)
        return;
    auto* window = new frmMIDIManager(m_midi->devices());
    m_manager = window;
    m_managerFrame = m_main.mdiArea()->addSubWindow(window);
    m_managerFrame->resize(560, 300);
    // Closing the window only hides it: it holds the input path.
    connect(window, &frmMIDIManager::closedByUser, this, [this] {
        if (m_managerFrame)
            m_managerFrame->hide();
        if (m_midi)
            m_midi->devices().setCommandChecked(MidiCommand::ShowMidiManager, false);
    });
    window->show();
    m_managerFrame->show();
    m_portWatch.start();
}

void MidiWindows::managerUnloaded()
{
    m_portWatch.stop();
    delete m_managerFrame.data();
    m_managerFrame = nullptr;
    m_manager = nullptr;
}

void MidiWindows::showManager(ManagerWindowState state)
{
    if (!m_managerFrame || !m_manager)
        return;
    switch (state) {
    case ManagerWindowState::Minimised:
        m_manager->show();
        m_managerFrame->showMinimized();
        break;
    case ManagerWindowState::Normal:
        m_manager->show();
        m_managerFrame->showNormal();
        m_managerFrame->raise();
        break;
    case ManagerWindowState::Hidden: m_managerFrame->hide(); break;
    }
}

void MidiWindows::setManagerCaption(const std::string& caption)
{
    if (m_manager)
        m_manager->setWindowTitle(QString::fromStdString(caption));
}

void MidiWindows::monitorChanged()
{
    if (m_manager)
        m_manager->monitorChanged();
}

} // namespace toneloft
