#pragma once

#include "library/ui/VoiceEditorWindows.h"

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

class QMdiSubWindow;

namespace toneloft {

class ListWindowManager;
class Session;
class frmStartup;
class frmVoiceEditor;

// Puts the voice editor into the desktop program: the lists open their voices
// in frmVoiceEditor windows, File > Save Voice and Print Voice Data act on the
// active editor and are enabled while one is active.
class VoiceEditorHost : public QObject, public VoiceEditorWindows {
    Q_OBJECT

public:
    VoiceEditorHost(Session& session, frmStartup& mainWindow, ListWindowManager& lists);
    ~VoiceEditorHost() override;
    VoiceEditorHost(const VoiceEditorHost&) = delete;
    VoiceEditorHost& operator=(const VoiceEditorHost&) = delete;

    QWidget* showEditor(VoiceList& list, std::shared_ptr<VoiceEditor> editor) override;
    void resetEditor(QWidget* window) override;

    // The active child when it is an editor.
    frmVoiceEditor* activeEditor() const;
    std::vector<frmVoiceEditor*> editors() const;

private:
    void subWindowActivated(QMdiSubWindow* window);
    void editorClosed(frmVoiceEditor* window, const std::string& listId);

    Session& m_session;
    frmStartup& m_main;
    ListWindowManager& m_lists;
    std::vector<QPointer<frmVoiceEditor>> m_editors;
    QPointer<frmVoiceEditor> m_current; // the editor last made active
};

} // namespace toneloft
