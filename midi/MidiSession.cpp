#include "midi/MidiSession.h"

#include "midi/clsMidiManagerData.h"
#include "voice/Session.h"

namespace toneloft {

MidiSession::MidiSession(Session& session, MidiBackend& backend, MidiStartupDialogs& dialogs,
                         MidiCommandHost* host)
    : m_session(session),
      m_devices(session.ui(), m_state, backend, host),
      m_lists(session),
      m_exchange(m_devices, &m_lists),
      m_startup(m_devices, m_exchange, dialogs, &m_lists),
      m_alive(std::make_shared<MidiSession*>(this))
{
    m_devices.setVoiceLists(&m_lists);
    m_session.setSynth(this);
    // Input arrives on the service's thread; it is handled on the interface thread.
    UiServices& ui = session.ui();
    std::weak_ptr<MidiSession*> alive = m_alive;
    m_devices.inputQueue().setNotifier([&ui, alive] {
        ui.post([alive] {
            if (const auto live = alive.lock())
                (*live)->dispatchInput();
        });
    });
}

MidiSession::~MidiSession()
{
    m_devices.inputQueue().setNotifier({});
    m_alive.reset();
    if (m_session.synth() == this)
        m_session.setSynth(nullptr);
    // Closing tells the host, so the windows showing this MIDI go while it
    // still exists; with nothing open it does nothing.
    m_devices.CloseMidiDevices();
}

bool MidiSession::outputOpen() const
{
    return m_state.outputOpen;
}

void MidiSession::sendVoice(const ByteString& voice, bool playScale)
{
    if (clsMidiManagerData* manager = m_devices.manager())
        manager->SendVoiceToMidi(voice, playScale);
}

void MidiSession::sendParameter(int parameter, int value)
{
    if (clsMidiManagerData* manager = m_devices.manager())
        manager->SendParametertoMIDI(parameter, value, false, false);
}

void MidiSession::sendParameterChange(int parameter, int value, bool playNote, bool playScale)
{
    if (clsMidiManagerData* manager = m_devices.manager())
        manager->SendParametertoMIDI(parameter, value, playNote, playScale);
}

void MidiSession::playScale()
{
    if (clsMidiManagerData* manager = m_devices.manager())
        manager->SendAScale();
}

void MidiSession::playTestNote(int note)
{
    m_devices.PlayTestNote(note);
}

void MidiSession::noteOff(int note)
{
    if (m_state.outputOpen)
        m_devices.SendShortMessage(0x90, note, 0);
}

} // namespace toneloft
