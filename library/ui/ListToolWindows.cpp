#include "library/ui/ListToolWindows.h"

#include "voice/Session.h"
#include "library/ui/ListWindowManager.h"
#include "library/ui/PrintVoiceNames.h"
#include "library/ui/frmDuplicates.h"
#include "library/ui/frmGroupPatches.h"
#include "library/ui/frmStartup.h"
#include "library/ui/frmVoiceList.h"

#include <QAction>

namespace toneloft {

ListToolWindows::ListToolWindows(Session& session, frmStartup& mainWindow, ListWindowManager& lists)
    : QObject(&lists), m_session(session), m_main(mainWindow), m_lists(lists)
{
    m_main.setCommandHandler(MainCommand::EditFindDuplicates, [this] {
        frmVoiceList* w = m_lists.activeWindow();
        if (!w)
            return;
        frmDuplicates& d = duplicatesWindow();
        d.setList(&w->list());
        d.placeOver(m_main);
        d.show();
        d.raise();
        d.activateWindow();
    });
    m_main.setCommandHandler(MainCommand::EditGroupPatches, [this] {
        frmVoiceList* w = m_lists.activeWindow();
        if (!w)
            return;
        frmGroupPatches& g = groupWindow();
        g.setList(&w->list());
        g.show();
        g.raise();
        g.activateWindow();
    });
    m_main.setCommandHandler(MainCommand::FilePrintVoiceList, [this] {
        frmVoiceList* w = m_lists.activeWindow();
        PrintVoiceNames::Print(m_session, w ? &w->list() : nullptr, &m_main);
    });
    auto* preview = new QAction(QStringLiteral("Print Preview"), &m_main);
    preview->setObjectName(QStringLiteral("PrintPreview"));
    preview->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+P")));
    m_main.addAction(preview);
    connect(preview, &QAction::triggered, this, [this] {
        frmVoiceList* w = m_lists.activeWindow();
        PrintVoiceNames::Preview(m_session, w ? &w->list() : nullptr, &m_main);
    });
}

frmDuplicates& ListToolWindows::duplicatesWindow()
{
    if (!m_duplicates) {
        m_duplicates = new frmDuplicates(m_session, &m_main);
        m_duplicates->setViewStateOf(m_lists.viewStateOf());
    }
    return *m_duplicates;
}

frmGroupPatches& ListToolWindows::groupWindow()
{
    if (!m_group)
        m_group = new frmGroupPatches(m_session, &m_main);
    return *m_group;
}

} // namespace toneloft
