#include "voice/Session.h"
#include "common/InstallPaths.h"
#include "editor/ui/RandomiseVoicesHost.h"
#include "editor/ui/VoiceEditorHost.h"
#include "midi/ui/frmVXCconversion.h"
#include "common/ui/WindowPlacement.h"
#include "library/ui/ListWindowManager.h"
#include "library/ui/PreferencesHost.h"
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
    QApplication::setOrganizationName(QStringLiteral("Toneloft"));

    // Every window opens inside the screen; the main and help windows where they were.
    toneloft::WindowPlacement placement;
    placement.remember(QStringLiteral("frmStartup"), QStringLiteral("main"));
    placement.remember(QStringLiteral("HelpWindow"), QStringLiteral("help"));

    toneloft::frmStartup mainWindow;
    toneloft::Session session(mainWindow.ui(), QDir::toNativeSeparators(mainWindow.programDirectory()).toStdString());
    session.findDataDirectory(
        QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).toStdString());
    // What a killed save left goes now, as in the command-line program.
    toneloft::CleanUpAfterKilledSaves(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString(), session.DataDirectory());
    toneloft::ListWindowManager lists(session, mainWindow);
    toneloft::PreferencesHost preferences(mainWindow, lists);
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
    virtualDx7.setStandIn(true); // listed last, never counted as a connected synthesiser
    devices.add(virtualDx7);
    toneloft::QtMidiStartupDialogs dialogs(&mainWindow);
#ifdef TONELOFT_HAVE_RTAUDIO
    // The virtual DX7 sounds through the default audio device; none, silence.
    toneloft::synth::DesktopSound sound;
    virtualDx7.instrument().setInstrument(&sound.instrument());
    virtualDx7.onOutputOpened = [&sound] { sound.start(); };
    dialogs.setSound(&sound);
#endif
    toneloft::MidiWindows midiWindows(mainWindow);
    toneloft::MidiSession midi(session, devices, dialogs, &midiWindows);
    midi.setViewStateOf(lists.viewStateOf());
    midiWindows.attach(midi);
#ifdef TONELOFT_HAVE_RTMIDI
    // The MIDI libraries' own messages go to the MIDI monitor, not the terminal;
    // the route ends before the session does.
    toneloft::RtMidiBackend::setLog([&midi](const std::string& line) { midi.devices().logServiceMessage(line); });
    struct LogRoute {
        LogRoute() = default;
        LogRoute(const LogRoute&) = delete;
        LogRoute& operator=(const LogRoute&) = delete;
        ~LogRoute() { toneloft::RtMidiBackend::setLog({}); }
    } logRoute;
#endif

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
