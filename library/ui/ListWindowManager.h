#pragma once

#include "library/VoiceListViewState.h"
#include "voice/Session.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <memory>
#include <string>
#include <vector>

class QMdiSubWindow;

namespace toneloft {

class clsVoiceNames;
class ListToolWindows;
class VoiceEditorWindows;
class frmFind;
class frmStartup;
class frmVoiceList;

// Connects the main window to the core: the File and Edit commands, a window
// for every list the core loads (gone when the list goes), the command enabling,
// and which list is active.
class ListWindowManager : public QObject, public SessionObserver {
    Q_OBJECT

public:
    ListWindowManager(Session& session, frmStartup& mainWindow);
    ~ListWindowManager() override;
    ListWindowManager(const ListWindowManager&) = delete;
    ListWindowManager& operator=(const ListWindowManager&) = delete;

    // Opens a file as a list, as File Open does for each chosen file; false when
    // it could not be opened.
    bool openFile(const std::string& fileName);

    frmVoiceList* windowOf(const VoiceList& list) const;
    // The state of a list's window (null for a list without one), for the
    // core and the tool windows; valid while this manager lives.
    VoiceListViewStateOf viewStateOf();
    // In the order of the open lists.
    std::vector<frmVoiceList*> windows() const;
    frmVoiceList* activeWindow() const;
    // The one Find window, made on first use.
    frmFind& findWindow();
    // Duplicates, grouping and printing.
    ListToolWindows& tools() { return *m_tools; }
    // The voice editor windows every list opens its voices in (the program's).
    void setEditorWindows(VoiceEditorWindows* windows);

    void listAdded(VoiceList& list) override;
    void listLoaded(VoiceList& list) override;
    void listChanged(VoiceList& list) override;
    void listRemoved(VoiceList& list) override;
    void selectionChanged(VoiceList& list) override;
    void clipboardChanged() override;

private:
    void installCommands();
    void subWindowActivated(QMdiSubWindow* window);
    QMdiSubWindow* frameOf(const std::string& key) const;

    Session& m_session;
    frmStartup& m_main;
    std::unique_ptr<clsVoiceNames> m_files;
    std::map<std::string, QPointer<frmVoiceList>> m_windows; // by list ID
    QPointer<frmVoiceList> m_active;
    QPointer<frmFind> m_find;
    ListToolWindows* m_tools = nullptr; // a child of this object
    VoiceEditorWindows* m_editorWindows = nullptr;
};

} // namespace toneloft
