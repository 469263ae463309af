#include "library/ui/ListWindowManager.h"

#include "library/ListEditing.h"
#include "library/SortFind.h"
#include "library/ui/ListToolWindows.h"
#include "library/ui/frmFind.h"
#include "library/ui/frmStartup.h"
#include "library/ui/frmVoiceList.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>

namespace toneloft {

ListWindowManager::ListWindowManager(Session& session, frmStartup& mainWindow)
    : m_session(session), m_main(mainWindow),
      m_files(std::make_unique<clsVoiceNames>(session))
{
    m_session.addObserver(this);
    installCommands();
    m_tools = new ListToolWindows(session, mainWindow, *this);
    m_main.setVoiceListWindowsProvider([this] {
        std::vector<QMdiSubWindow*> frames;
        for (const auto& list : m_session.colVoiceLists().NewEnum())
            if (QMdiSubWindow* frame = frameOf(list->ID))
                frames.push_back(frame);
        return frames;
    });
    connect(m_main.mdiArea(), &QMdiArea::subWindowActivated, this, &ListWindowManager::subWindowActivated);
    m_main.setOpenListCount(m_session.colVoiceLists().count());
}

ListWindowManager::~ListWindowManager()
{
    m_session.removeObserver(this);
}

void ListWindowManager::installCommands()
{
    m_main.setCommandHandler(MainCommand::FileNew, [this] {
        m_files->CreateVoiceListandFileImage(m_session.initFilePath(), true);
    });
    m_main.setCommandHandler(MainCommand::FileOpen, [this] { m_files->OpenMultipleFiles(); });
    // Without a list: the active one is saved, as the user asked, not as a
    // closing list is (no "OK to save ?" first, and a No never deletes a file).
    m_main.setCommandHandler(MainCommand::FileSave, [this] { m_files->FileSave(false, nullptr); });
    m_main.setCommandHandler(MainCommand::FileSaveAs, [this] { m_files->FileSave(true, nullptr); });
    m_main.setCommandHandler(MainCommand::FileExit, [this] {
        m_session.CancelClose = false;
        m_main.close();
    });
    m_main.setCommandHandler(MainCommand::EditCut, [this] {
        if (frmVoiceList* w = activeWindow())
            ListEditing::EditCut(w->list());
    });
    m_main.setCommandHandler(MainCommand::EditCopy, [this] {
        if (frmVoiceList* w = activeWindow())
            ListEditing::EditCopy(w->list());
    });
    m_main.setCommandHandler(MainCommand::EditPaste, [this] {
        if (frmVoiceList* w = activeWindow())
            ListEditing::EditPaste(w->list(), w->view());
    });
    m_main.setCommandHandler(MainCommand::EditDelete, [this] {
        if (frmVoiceList* w = activeWindow())
            ListEditing::EditDelete(w->list());
    });
    m_main.setCommandHandler(MainCommand::EditSort, [this] {
        if (frmVoiceList* w = activeWindow())
            SortFind::SortVoiceList(w->list(), &w->view());
    });
    m_main.setCommandHandler(MainCommand::EditFind, [this] {
        frmFind& find = findWindow();
        find.setListPosition(m_main.listPositionForFind());
        if (frmVoiceList* w = activeWindow())
            w->Text1()->hide();
        find.prepare();
        find.show();
        find.raise();
        find.activateWindow();
    });
    m_main.setCommandHandler(MainCommand::EditFindNext, [this] {
        frmFind& find = findWindow();
        if (find.listPosition() < 1)
            find.setListPosition(m_main.listPositionForFind());
        find.findNext();
    });
}

frmFind& ListWindowManager::findWindow()
{
    if (!m_find) {
        m_find = new frmFind(m_session, &m_main);
        connect(m_find, &frmFind::shownChanged, &m_main, &frmStartup::setFindNextEnabled);
        m_find->setShowFound([this](VoiceList& list, long voice) {
            frmVoiceList* w = windowOf(list);
            if (!w)
                return;
            if (QMdiSubWindow* frame = frameOf(list.ID))
                m_main.mdiArea()->setActiveSubWindow(frame);
            w->showVoice(voice);
            w->List1()->setFocus();
        });
        m_find->setRedraw([this](VoiceList& list) {
            if (frmVoiceList* w = windowOf(list))
                w->redraw();
        });
        m_find->setViewStateOf(viewStateOf());
    }
    return *m_find;
}

bool ListWindowManager::openFile(const std::string& fileName)
{
    return m_files->CreateVoiceListandFileImage(fileName, false) != nullptr;
}

VoiceListViewStateOf ListWindowManager::viewStateOf()
{
    return [this](const VoiceList& list) -> VoiceListViewState* {
        frmVoiceList* w = windowOf(list);
        return w ? &w->view() : nullptr;
    };
}

frmVoiceList* ListWindowManager::windowOf(const VoiceList& list) const
{
    const auto it = m_windows.find(list.ID);
    return it == m_windows.end() ? nullptr : it->second.data();
}

QMdiSubWindow* ListWindowManager::frameOf(const std::string& key) const
{
    const auto it = m_windows.find(key);
    if (it == m_windows.end() || !it->second)
        return nullptr;
    return qobject_cast<QMdiSubWindow*>(it->second->parentWidget());
}

std::vector<frmVoiceList*> ListWindowManager::windows() const
{
    std::vector<frmVoiceList*> result;
    for (const auto& list : m_session.colVoiceLists().NewEnum())
        if (frmVoiceList* w = windowOf(*list))
            result.push_back(w);
    return result;
}

frmVoiceList* ListWindowManager::activeWindow() const
{
    QMdiSubWindow* frame = m_main.mdiArea()->activeSubWindow();
    return frame ? qobject_cast<frmVoiceList*>(frame->widget()) : nullptr;
}

void ListWindowManager::setEditorWindows(VoiceEditorWindows* windows)
{
    m_editorWindows = windows;
    for (auto& [id, window] : m_windows)
        if (window)
            window->setEditorWindows(windows);
}

void ListWindowManager::subWindowActivated(QMdiSubWindow* window)
{
    frmVoiceList* now = window ? qobject_cast<frmVoiceList*>(window->widget()) : nullptr;
    if (!window)
        return; // the main window itself lost focus: the active child stays
    if (m_active && m_active != now)
        m_active->deactivated();
    m_active = now;
    if (now)
        now->activated();
    else
        m_session.setActive(nullptr, nullptr);
}

// --- What the core tells ------------------------------------------------------

void ListWindowManager::listAdded(VoiceList&)
{
    m_main.setOpenListCount(m_session.colVoiceLists().count());
}

void ListWindowManager::listLoaded(VoiceList& list)
{
    const auto shared = m_session.colVoiceLists().Item(list.ID);
    if (!shared || m_windows.count(list.ID))
        return;
    auto* window = new frmVoiceList(m_session, shared, m_main);
    window->setEditorWindows(m_editorWindows);
    m_windows[list.ID] = window;
    m_main.addChild(window);
    // addChild activates the window, but activation is not reported while the
    // main window is hidden; make the new list the active one in any case.
    if (m_active != window) {
        if (m_active)
            m_active->deactivated();
        m_active = window;
        window->activated();
    }
}

void ListWindowManager::listChanged(VoiceList& list)
{
    if (frmVoiceList* w = windowOf(list))
        w->listContentChanged();
}

void ListWindowManager::selectionChanged(VoiceList& list)
{
    frmVoiceList* w = windowOf(list);
    if (!w)
        return;
    w->redraw();
    if (w == m_active)
        w->SetMenuAndToolbar(true);
}

void ListWindowManager::clipboardChanged()
{
    if (m_active)
        m_active->SetMenuAndToolbar(true);
}

void ListWindowManager::listRemoved(VoiceList& list)
{
    m_main.setOpenListCount(m_session.colVoiceLists().count());
    const auto it = m_windows.find(list.ID);
    if (it == m_windows.end())
        return;
    QPointer<frmVoiceList> window = it->second;
    m_windows.erase(it);
    if (window == m_active) {
        m_active = nullptr;
        m_main.setListCommands(false, 0, false);
    }
    if (window)
        window->listGone();
}

} // namespace toneloft
