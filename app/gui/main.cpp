#include "voice/Session.h"
#include "editor/ui/RandomiseVoicesHost.h"
#include "editor/ui/VoiceEditorHost.h"
#include "midi/ui/frmVXCconversion.h"
#include "library/ui/ListWindowManager.h"
#include "library/ui/frmStartup.h"
#include "library/ui/frmVoiceList.h"
#include "midi/MidiBackendSet.h"
#include "midi/MidiSession.h"
#include "midi/VirtualDx7Backend.h"
#include "midi/ui/MidiWindows.h"
#include "midi/ui/QtMidiStartupDialogs.h"
#ifdef TONELOFT_HAVE_RTMIDI
#include "midi/rtmidi/RtMidiBackend.h"
#endif
#ifdef TONELOFT_HAVE_RTAUDIO
#include "synth/rtaudio/DesktopSound.h"
#endif

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Toneloft"));
    QApplication::setApplicationVersion(QStringLiteral(TONELOFT_VERSION));

    toneloft::frmStartup mainWindow;
    toneloft::Session session(mainWindow.ui(), QDir::toNativeSeparators(mainWindow.programDirectory()).toStdString());
    session.findDataDirectory(
        QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).toStdString());
    toneloft::ListWindowManager lists(session, mainWindow);
    toneloft::RandomiseVoicesHost patchGenerator(session, mainWindow, lists);
    toneloft::VoiceEditorHost editors(session, mainWindow, lists);
    toneloft::installVxcConversionCommand(mainWindow);

    // The MIDI devices: the system's ports, then the built-in virtual DX7, which
    // is what the device dialogue offers when nothing else is connected.
    toneloft::MidiBackendSet devices;
#ifdef TONELOFT_HAVE_RTMIDI
    toneloft::RtMidiBackend ports;
    devices.add(ports);
#endif
    toneloft::VirtualDx7Backend virtualDx7;
    devices.add(virtualDx7);
    toneloft::QtMidiStartupDialogs dialogs(&mainWindow);
#ifdef TONELOFT_HAVE_RTAUDIO
    // The virtual DX7 sounds through the default audio device; none, silence.
    toneloft::synth::DesktopSound sound;
    virtualDx7.instrument().setInstrument(&sound.instrument());
    dialogs.setSound(&sound);
#endif
    toneloft::MidiWindows midiWindows(mainWindow);
    toneloft::MidiSession midi(session, devices, dialogs, &midiWindows);
    midiWindows.attach(midi);

    // A single letter on the command line is a start-up option; anything longer
    // is a voice file to open as a list. --properties opens the last list's
    // properties panel.
    const QStringList arguments = QApplication::arguments();
    std::string options;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (arguments[i].size() == 1)
            options += arguments[i].toStdString();
    midi.startup().setCommandLine(options);

    if (!mainWindow.startUp())
        return 0;
    bool showProperties = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--properties"))
            showProperties = true;
        else if (arguments[i].size() > 1)
            lists.openFile(QDir::toNativeSeparators(QFileInfo(arguments[i]).absoluteFilePath()).toStdString());
    }
    if (showProperties)
        if (toneloft::frmVoiceList* active = lists.activeWindow())
            active->togglePropertiesPanel();
    return QApplication::exec();
}
