// MidiDeviceLayer: the devices - listing, opening and closing the ports, noticing
// a port that went away, and the MIDI commands' state.

#include "midi/MidiDeviceLayer.h"

#include "common/NumberText.h"
#include "midi/MidiBackend.h"
#include "midi/clsMidiManagerData.h"

#include <utility>
#include <vector>

namespace toneloft {

namespace {

using Slot = MidiMessageRecord;

std::string trimRight(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

} // namespace

MidiDeviceLayer::MidiDeviceLayer(UiServices& ui, MidiState& state, MidiBackend& backend,
                                 MidiCommandHost* host)
    : m_ui(ui), m_state(state), m_backend(backend), m_host(host ? host : &m_nullHost)
{
}

MidiDeviceLayer::~MidiDeviceLayer()
{
    // Without the status texts of CloseMidiDevices: the program is going away.
    if (m_state.inputOpen) {
        m_backend.stopInput();
        m_backend.closeInput();
    }
    if (m_state.outputOpen)
        m_backend.closeOutput();
    m_state.inputOpen = false;
    m_state.outputOpen = false;
}

void MidiDeviceLayer::setCommandEnabled(MidiCommand c, bool on)
{
    m_enabled[index(c)] = on;
    m_host->setCommandEnabled(c, on);
}

void MidiDeviceLayer::setCommandChecked(MidiCommand c, bool on)
{
    m_checked[index(c)] = on;
    m_host->setCommandChecked(c, on);
}

void MidiDeviceLayer::monitorChanged()
{
    m_host->monitorChanged();
}

void MidiDeviceLayer::logRecord(bool replace)
{
    if (m_manager)
        m_manager->AddMessage(m_record, replace);
}

int MidiDeviceLayer::EnumerateMidiDevices(int& outCount, int& inCount)
{
    const int outputs = m_backend.outputCount();
    const int inputs = m_backend.inputCount();
    if (outputs <= 0 && inputs <= 0)
        return -1;

    m_state.outputList.assign(1, MidiState::kNone);
    m_state.inputList.assign(1, MidiState::kNone);
    m_state.outputListIds.assign(1, -2);
    m_state.inputListIds.assign(1, -2);
    m_state.outputListIndex = 0;
    m_state.inputListIndex = 0;
    outCount = 0;
    inCount = 0;
    m_state.mapperPresent = false;

    // Real devices first, the stand-ins after them; only real ones are counted.
    auto list = [this](int count, bool input, std::vector<std::string>& names,
                       std::vector<int>& ids, int& counter) {
        std::vector<std::pair<std::string, int>> standIns;
        for (int i = 0; i < count; ++i) {
            std::string name;
            const int rc = input ? m_backend.inputName(i, name) : m_backend.outputName(i, name);
            if (rc != 0) {
                m_ui.MsgBox(MidiErrorText(rc), "", MsgIcon::Exclamation, MsgButtons::OK);
                continue;
            }
            if (m_backend.isStandIn(i, input)) {
                standIns.emplace_back(trimRight(name), i);
                continue;
            }
            names.push_back(trimRight(name));
            ids.push_back(i);
            ++counter;
        }
        for (auto& [name, id] : standIns) {
            names.push_back(std::move(name));
            ids.push_back(id);
        }
    };
    list(outputs, false, m_state.outputList, m_state.outputListIds, outCount);
    list(inputs, true, m_state.inputList, m_state.inputListIds, inCount);
    m_state.outputListReal = outCount;
    m_state.inputListReal = inCount;

    if (outCount == 0 && inCount == 0)
        return -1;
    if (inCount == 0)
        return -2;
    if (outCount == 0)
        return m_state.mapperPresent ? -4 : -3;
    return 0;
}

void MidiDeviceLayer::loadManager()
{
    if (m_manager)
        return;
    m_manager = std::make_unique<clsMidiManagerData>(*this);
    m_manager->setVoiceLists(m_lists);
    m_manager->InitMidiGrid();
    m_state.receivedData = MidiState::kIdleData;
    setCommandChecked(MidiCommand::ShowMidiManager, true);
    m_host->managerLoaded();
    flushServiceLines();
}

void MidiDeviceLayer::setVoiceLists(MidiVoiceListLink* lists)
{
    m_lists = lists;
    if (m_manager)
        m_manager->setVoiceLists(lists);
}

void MidiDeviceLayer::unloadManager()
{
    if (!m_manager)
        return;
    m_host->managerUnloaded();
    m_manager.reset();
    setCommandChecked(MidiCommand::ShowMidiManager, false);
}

int MidiDeviceLayer::deviceNamed(int id, const std::string& name, bool input)
{
    if (name.empty() || id < 0)
        return id;
    const int count = input ? m_backend.inputCount() : m_backend.outputCount();
    auto nameOf = [&](int i) {
        std::string n;
        const int rc = input ? m_backend.inputName(i, n) : m_backend.outputName(i, n);
        return rc == 0 ? trimRight(n) : std::string();
    };
    if (id < count && nameOf(id) == name)
        return id;
    for (int i = 0; i < count; ++i)
        if (nameOf(i) == name)
            return i;
    return -1;
}

int MidiDeviceLayer::OpenMidiDevices(int outputId, int inputId)
{
    // The dialogue's choice is a name; the numbers may have moved since the lists were made.
    if (inputId != -2)
        inputId = deviceNamed(inputId, m_state.chosenInputName, true);
    if (outputId != -2)
        outputId = deviceNamed(outputId, m_state.chosenOutputName, false);
    m_state.chosenInputName.clear();
    m_state.chosenOutputName.clear();
    if (inputId == -1 || outputId == -1) {
        m_state.inputListIndex = 0;
        return -1;
    }
    if (inputId != -2) {
        loadManager();
        int rc = m_backend.openInput(inputId, m_queue);
        if (rc == 0) {
            rc = m_backend.startInput();
            if (rc != 0)
                m_backend.closeInput();
        }
        if (rc != 0) {
            m_state.inputListIndex = 0;
            unloadManager();
            return -1;
        }
        m_backend.inputName(inputId, m_state.inputDeviceName);
        m_state.inputDeviceName = trimRight(m_state.inputDeviceName);
        m_state.inputDeviceId = inputId;
        m_state.requestedDumpType = -1;
        setCommandEnabled(MidiCommand::Receive, true);
        setCommandEnabled(MidiCommand::Options, true);
        setCommandEnabled(MidiCommand::MidiInputOn, true);
        setCommandChecked(MidiCommand::MidiInputOn, true);
        setCommandEnabled(MidiCommand::ReceiveBankButton, true);
        setCommandEnabled(MidiCommand::ManagerReceiveButton, true);
        m_state.inputStartTime = m_ui.clock();
        m_state.inputOpen = true;
        m_inputRunning = true;
        m_queue.push({MidiEventKind::InputOpened, 0, {}, 0});
    }
    if (outputId != -2) {
        if (m_backend.openOutput(outputId) != 0)
            return -1;
        m_backend.outputName(outputId, m_state.outputDeviceName);
        m_state.outputDeviceName = trimRight(m_state.outputDeviceName);
        m_state.outputDeviceId = outputId;
        loadManager();
        setCommandEnabled(MidiCommand::Send, true);
        setCommandEnabled(MidiCommand::Options, true);
        setCommandEnabled(MidiCommand::SendBankButton, true);
        setCommandEnabled(MidiCommand::ManagerSendButton, true);
        setCommandEnabled(MidiCommand::RandomiserSend, true);
        m_state.outputOpen = true;
        m_queue.push({MidiEventKind::OutputOpened, 0, {}, 0});
    }
    if (!m_manager)
        return 0;
    m_host->showManager(ManagerWindowState::Minimised);
    if (m_state.inputOpen && m_state.outputOpen)
        ShowStatus(m_ui, "MIDI Input and Output Devices Opened - Initialisation pending", 250, 0);
    else if (m_state.outputOpen)
        ShowStatus(m_ui, "MIDI Output Device Opened", 250, 0);
    else
        ShowStatus(m_ui, "MIDI Input Device Opened", 250, 0);
    return 0;
}

void MidiDeviceLayer::reportPort(const std::string& text)
{
    ShowStatus(m_ui, text, 0, 1);
    m_record.clear();
    m_record[Slot::Message] = text;
    logRecord();
}

void MidiDeviceLayer::checkPorts()
{
    if (m_state.outputOpen) {
        const int now = deviceNamed(m_state.outputDeviceId, m_state.outputDeviceName, false);
        if (now < 0 && !m_outputLost) {
            m_outputLost = true;
            reportPort("Port no longer connected: " + m_state.outputDeviceName);
        } else if (now >= 0 && m_outputLost && m_backend.openOutput(now) == 0) {
            m_outputLost = false;
            m_state.outputDeviceId = now;
            reportPort("Port connected again: " + m_state.outputDeviceName);
        }
    }
    if (m_state.inputOpen) {
        const int now = deviceNamed(m_state.inputDeviceId, m_state.inputDeviceName, true);
        if (now < 0 && !m_inputLost) {
            m_inputLost = true;
            reportPort("Port no longer connected: " + m_state.inputDeviceName);
        } else if (now >= 0 && m_inputLost && m_backend.openInput(now, m_queue) == 0) {
            if (m_inputRunning)
                m_backend.startInput();
            m_inputLost = false;
            m_state.inputDeviceId = now;
            reportPort("Port connected again: " + m_state.inputDeviceName);
        }
    }
}

void MidiDeviceLayer::CloseMidiDevices()
{
    m_outputLost = false;
    m_inputLost = false;
    if (!m_state.inputOpen && !m_state.outputOpen)
        return;
    dispatchInput(); // what is still queued belongs in the monitor
    if (m_state.inputOpen) {
        m_backend.stopInput();
        m_inputRunning = false;
        ShowStatus(m_ui, "MIDI input stopped", 250, 0);
        m_backend.closeInput();
        m_queue.clear();
        m_record.clear();
        m_record[Slot::Message] = "MIDI Input Device Closed";
        logRecord();
        setCommandEnabled(MidiCommand::Receive, false);
        setCommandEnabled(MidiCommand::Options, false);
        setCommandEnabled(MidiCommand::MidiInputOn, false);
        setCommandChecked(MidiCommand::MidiInputOn, false);
        setCommandEnabled(MidiCommand::ReceiveBankButton, false);
        setCommandEnabled(MidiCommand::ManagerReceiveButton, false);
        m_state.inputOpen = false;
        m_state.inputDeviceId = -2;
    }
    if (m_state.outputOpen) {
        m_backend.closeOutput();
        m_record.clear();
        m_record[Slot::Message] = "MIDI Output Device Closed";
        logRecord();
        m_state.outputOpen = false;
        m_state.outputDeviceId = -2;
        setCommandEnabled(MidiCommand::Send, false);
        setCommandEnabled(MidiCommand::Options, false);
        setCommandEnabled(MidiCommand::SendBankButton, false);
        setCommandEnabled(MidiCommand::ManagerSendButton, false);
        setCommandEnabled(MidiCommand::RandomiserSend, false);
    }
    m_queue.clear();
    unloadManager();
    ShowStatus(m_ui, "MIDI input and output devices closed", 500, 0);
}

void MidiDeviceLayer::SetMidiMenus(bool enabled)
{
    setCommandEnabled(MidiCommand::Send, enabled);
    setCommandEnabled(MidiCommand::Receive, enabled);
    setCommandEnabled(MidiCommand::Options, enabled);
    if (!enabled)
        return;
    if (!m_state.inputOpen) {
        setCommandEnabled(MidiCommand::Receive, false);
        setCommandEnabled(MidiCommand::MidiInputOn, false);
    }
    if (!m_state.outputOpen)
        setCommandEnabled(MidiCommand::Send, false);
}

void MidiDeviceLayer::ToggleMidiManager()
{
    if (!m_manager)
        return;
    const bool shown = commandChecked(MidiCommand::ShowMidiManager);
    m_host->showManager(shown ? ManagerWindowState::Hidden : ManagerWindowState::Normal);
    setCommandChecked(MidiCommand::ShowMidiManager, !shown);
}

} // namespace toneloft
