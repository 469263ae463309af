#include "midi/ui/QtMidiStartupDialogs.h"

#include "midi/ui/frmInitialisationMessage.h"
#include "midi/ui/frmMidiConfigure.h"
#include "midi/ui/frmMissingMIDIDevice.h"

namespace toneloft {

int QtMidiStartupDialogs::showMissingDevice(const MissingDeviceDialog& dialog)
{
    frmMissingMIDIDevice box(dialog, m_mainWindow);
    box.exec();
    return box.choice();
}

bool QtMidiStartupDialogs::showMidiConfigure(MidiConfigureDialog& dialog)
{
    frmMidiConfigure box(dialog, m_mainWindow, m_sound);
    const bool ok = box.exec() == QDialog::Accepted;
    // Cancel keeps what the lists show too: it is the selection remembered.
    box.readInto(dialog);
    return ok;
}

int QtMidiStartupDialogs::showInitialisationMessage(const std::string& testText)
{
    frmInitialisationMessage box(testText, m_mainWindow);
    box.exec();
    return box.choice();
}

} // namespace toneloft
