#pragma once

#include <QObject>
#include <QPointer>

namespace toneloft {

class ListWindowManager;
class Session;
class frmDuplicates;
class frmGroupPatches;
class frmStartup;

// The tool windows that work on the active list: Edit > Find Duplicates...,
// Edit > Group Voice Patches ... and File > Print Voice List (Ctrl+Shift+P
// shows the same pages in a print preview).
class ListToolWindows : public QObject {
    Q_OBJECT

public:
    ListToolWindows(Session& session, frmStartup& mainWindow, ListWindowManager& lists);

    // The single instances, made on first use.
    frmDuplicates& duplicatesWindow();
    frmGroupPatches& groupWindow();

private:
    Session& m_session;
    frmStartup& m_main;
    ListWindowManager& m_lists;
    QPointer<frmDuplicates> m_duplicates;
    QPointer<frmGroupPatches> m_group;
};

} // namespace toneloft
