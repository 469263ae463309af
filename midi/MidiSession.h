#pragma once

#include "common/SynthLink.h"
#include "midi/Dx7Exchange.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/MidiStartup.h"
#include "midi/MidiState.h"
#include "midi/SessionVoiceListLink.h"

#include <memory>
#include <string>

namespace toneloft {

class MidiBackend;
class MidiCommandHost;
class MidiStartupDialogs;
class Session;

// The program's MIDI, put together over one Session: the device layer on the
// given services, the DX7 exchange and the start-up, linked to the open voice
// lists, and the session's synthesiser while it lives. The windows supply the
// dialogues and the host that shows menus and the MIDI manager.
class MidiSession : public SynthLink {
public:
    MidiSession(Session& session, MidiBackend& backend, MidiStartupDialogs& dialogs,
                MidiCommandHost* host = nullptr);
    ~MidiSession() override;
    MidiSession(const MidiSession&) = delete;
    MidiSession& operator=(const MidiSession&) = delete;

    MidiState& state() { return m_state; }
    MidiDeviceLayer& devices() { return m_devices; }
    Dx7Exchange& exchange() { return m_exchange; }
    MidiStartup& startup() { return m_startup; }
    // The voice list windows' states, which the sends read (the selected voice, the bank shown).
    void setViewStateOf(VoiceListViewStateOf viewOf) { m_lists.setViewStateOf(std::move(viewOf)); }

    // The start-up (again for "MIDI &Devices..." after CloseMidiDevices):
    // 0 go on, -1 quit.
    int InitialiseMidi() { return m_startup.InitialiseMidi(); }
    void CloseMidiDevices() { m_devices.CloseMidiDevices(); }

    // Handles the input queued so far, on the user-interface thread. Each push
    // onto the input queue posts one of these through UiServices::post; tests
    // whose services cannot post call it from their event hook.
    void dispatchInput() { m_devices.dispatchInput(); }

    bool outputOpen() const override;
    void sendVoice(const ByteString& voice, bool playScale) override;
    void sendParameter(int parameter, int value) override;
    void sendParameterChange(int parameter, int value, bool playNote, bool playScale) override;
    void playScale() override;
    void playTestNote(int note) override;
    void noteOff(int note) override;

private:
    Session& m_session;
    MidiState m_state;
    MidiDeviceLayer m_devices;
    SessionVoiceListLink m_lists;
    Dx7Exchange m_exchange;
    MidiStartup m_startup;
    // Lets a post that arrives after this session has gone do nothing.
    std::shared_ptr<MidiSession*> m_alive;
};

} // namespace toneloft
