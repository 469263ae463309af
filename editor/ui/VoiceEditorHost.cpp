#include "editor/ui/VoiceEditorHost.h"

#include "editor/VoiceEditorCore.h"
#include "editor/ui/PrintVoiceData.h"
#include "editor/ui/frmAlgorithms.h"
#include "editor/ui/frmVoiceEditor.h"
#include "library/ui/ListWindowManager.h"
#include "library/ui/frmStartup.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace toneloft {

VoiceEditorHost::VoiceEditorHost(Session& session, frmStartup& mainWindow, ListWindowManager& lists)
    : m_session(session), m_main(mainWindow), m_lists(lists)
{
    m_lists.setEditorWindows(this);
    m_main.setCommandHandler(MainCommand::FileSaveVoice, [this] {
        if (frmVoiceEditor* editor = activeEditor())
            editor->core().SaveVoice(false);
    });
    m_main.setCommandHandler(MainCommand::FilePrintVoiceData,
                             [this] { PrintVoiceData::Print(m_session, activeEditor(), &m_main); });
    // After the lists' own handler, which takes a window that is not a list as "no list".
    connect(m_main.mdiArea(), &QMdiArea::subWindowActivated, this, &VoiceEditorHost::subWindowActivated);
}

VoiceEditorHost::~VoiceEditorHost()
{
    m_lists.setEditorWindows(nullptr);
}

QWidget* VoiceEditorHost::showEditor(VoiceList& list, std::shared_ptr<VoiceEditor> editor)
{
    if (!editor)
        return nullptr;
    auto* window = new frmVoiceEditor(m_session, std::move(editor));
    m_editors.emplace_back(window);
    const std::string listId = list.ID;
    connect(window, &frmVoiceEditor::closed, this, [this, window, listId] { editorClosed(window, listId); });
    m_main.addChild(window);
    // As much of the editor as the window area holds: its panels are about 1,200
    // pixels wide (less fits and scrolls).
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        const QSize area = m_main.mdiArea()->viewport()->size();
        const int width = std::clamp(area.width() - frame->x(), 400, 1220);
        const int height = std::max(300, area.height() - frame->y());
        frame->resize(width, height);
    }
    window->show();
    subWindowActivated(qobject_cast<QMdiSubWindow*>(window->parentWidget()));
    frmAlgorithms::ShowAlgorithm(window->core().algorithm(), &m_main);
    return window;
}

void VoiceEditorHost::resetEditor(QWidget* window)
{
    if (auto* editor = qobject_cast<frmVoiceEditor*>(window))
        editor->ResetVoice();
}

frmVoiceEditor* VoiceEditorHost::activeEditor() const
{
    QMdiSubWindow* active = m_main.mdiArea()->activeSubWindow();
    return active ? qobject_cast<frmVoiceEditor*>(active->widget()) : nullptr;
}

std::vector<frmVoiceEditor*> VoiceEditorHost::editors() const
{
    std::vector<frmVoiceEditor*> open;
    for (const auto& e : m_editors)
        if (e)
            open.push_back(e.data());
    return open;
}

void VoiceEditorHost::subWindowActivated(QMdiSubWindow* window)
{
    if (!window)
        return; // the main window itself lost focus: the active child stays
    auto* editor = qobject_cast<frmVoiceEditor*>(window->widget());
    // Activation sends the voice: once per change of the active window.
    if (editor)
        m_session.setActive(editor->editor().list, &editor->editor());
    if (editor && editor != m_current)
        editor->activated();
    m_current = editor;
    m_main.setEditorCommands(editor != nullptr);
}

void VoiceEditorHost::editorClosed(frmVoiceEditor* window, const std::string& listId)
{
    std::erase_if(m_editors, [window](const QPointer<frmVoiceEditor>& e) { return !e || e == window; });
    if (m_session.activeEditor() == &window->editor())
        m_session.setActive(nullptr, nullptr);
    if (activeEditor() == window || !activeEditor())
        m_main.setEditorCommands(false);
    // The list's last editor gone: the Algorithms window goes too. (A list that
    // closes its editors still holds the one closing now.)
    const auto list = m_session.colVoiceLists().Item(listId);
    long left = list ? list->Editors.count() : 0;
    if (list && list->Editors.Item(window->editor().key()).get() == &window->editor())
        --left;
    if (left <= 0)
        frmAlgorithms::Unload();
}

} // namespace toneloft
