#include "editor/ui/RandomiseVoicesHost.h"

#include "editor/RandomiseVoices.h"
#include "editor/ui/frmRandomiseVoices.h"
#include "library/ui/ListWindowManager.h"
#include "library/ui/frmStartup.h"
#include "library/ui/frmVoiceList.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace toneloft {

RandomiseVoicesHost::RandomiseVoicesHost(Session& session, frmStartup& mainWindow, ListWindowManager& lists,
                                         std::optional<std::uint64_t> seed)
    : m_main(mainWindow), m_lists(lists), m_core(std::make_unique<RandomiseVoices>(session, seed))
{
    m_core->openVoice = [this](VoiceList& list, long voice) {
        if (frmVoiceList* w = m_lists.windowOf(list))
            w->LoadVoice(voice);
    };
    m_core->viewOf = m_lists.viewStateOf();
    m_main.setCommandHandler(MainCommand::ToolsPatchGenerator, [this] { showWindow(); });
    // A run in progress ends before the program does.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { m_core->stop(); });
}

RandomiseVoicesHost::~RandomiseVoicesHost()
{
    delete m_window.data();
}

frmRandomiseVoices& RandomiseVoicesHost::window()
{
    if (!m_window) {
        m_window = new frmRandomiseVoices(*m_core, &m_main);
        m_window->setWindowFlag(Qt::Tool);
        m_window->setShowVoice([this](const std::string& listKey, long voice) {
            for (frmVoiceList* w : m_lists.windows()) {
                if (w->list().ID != listKey)
                    continue;
                if (auto* frame = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
                    m_main.mdiArea()->setActiveSubWindow(frame);
                w->showVoice(voice);
                return;
            }
        });
    }
    return *m_window;
}

void RandomiseVoicesHost::showWindow()
{
    frmRandomiseVoices& w = window();
    w.show();
    w.raise();
    w.activateWindow();
}

} // namespace toneloft
