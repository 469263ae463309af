// frmStartup: start-up, the close sequence and help.
#include "library/ui/frmStartup.h"

#include "common/UiServices.h"
#include "common/ui/AboutWindow.h"
#include "common/ui/HelpTopics.h"
#include "common/ui/HelpWindow.h"
#include "common/ui/ToolbarIcons.h"
#include "common/ui/MdiChild.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSplashScreen>

namespace toneloft {

namespace {

constexpr int kSplashMs = 1500;
constexpr int kWelcomeMs = 500;

} // namespace

// --- Start-up and close -----------------------------------------------------

bool frmStartup::startUp()
{
    show();
    QSplashScreen splash(ToolbarIcons::splashPicture(QStringLiteral(TONELOFT_VERSION)));
    splash.setObjectName(QStringLiteral("SplashWindow"));
    splash.show();
    Pause(ui(), kSplashMs);
    splash.close();
    return runMidiDevices();
}

void frmStartup::setMidiCloser(std::function<void()> closer)
{
    m_midiCloser = std::move(closer);
}

void frmStartup::setMidiInitialiser(std::function<int()> initialiser)
{
    m_midiInitialiser = std::move(initialiser);
}

int frmStartup::startOffline()
{
    m_state.sendMenu = m_state.receiveMenu = m_state.optionsMenu = false;
    applyCommandState();
    ShowStatus(ui(), " Welcome to Toneloft - Press F1 for Help", kWelcomeMs, 0);
    return 0;
}

bool frmStartup::runMidiDevices()
{
    if (m_midiCloser)
        m_midiCloser();
    const int result = m_midiInitialiser ? m_midiInitialiser() : startOffline();
    if (result == -1) {
        close();
        return false;
    }
    return true;
}

bool frmStartup::closeSequence()
{
    for (QMdiSubWindow* w : voiceListWindows()) {
        QPointer<QMdiSubWindow> alive(w);
        if (alive && !alive->close())
            return false;
    }
    if ((m_state.midiInputOpen || m_state.midiOutputOpen) && m_midiCloser)
        m_midiCloser();
    if (m_help)
        m_help->close();
    if (m_about)
        m_about->close();
    return true;
}

void frmStartup::closeEvent(QCloseEvent* event)
{
    if (!closeSequence()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// --- Help -------------------------------------------------------------------

HelpWindow& frmStartup::helpWindow()
{
    if (!m_help) {
        m_help = new HelpWindow(HelpTopics::helpDirectory(), this);
        m_help->setWindowIcon(windowIcon());
    }
    return *m_help;
}

void frmStartup::openHelp(const QString& topic)
{
    HelpWindow& help = helpWindow();
    help.showTopic(topic);
    help.show();
    help.raise();
    help.activateWindow();
}

void frmStartup::helpRequested()
{
    const MdiChild* child = activeChild();
    const QString childTopic = child ? child->helpTopic() : QString();
    openHelp(childTopic.isEmpty() ? QString::fromLatin1(HelpTopics::kMainWindowTopic) : childTopic);
}

} // namespace toneloft
