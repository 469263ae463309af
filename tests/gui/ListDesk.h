#pragma once

#include "library/ui/ListWindowManager.h"
#include "library/ui/frmStartup.h"
#include "library/ui/frmVoiceList.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/VoiceFiles.h"
#include "voice/InitVoice.h"
#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <QApplication>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QTableWidget>

#include <filesystem>
#include <string>

namespace toneloft::test {

// The main window wired to a fresh session, with scripted answers, in a
// temporary program folder holding DXInit.dat.
struct ListDesk {
    TempDir dir;
    ScriptedUi ui;
    frmStartup main{&ui};
    Session session{ui, dir.folder()};
    ListWindowManager lists{session, main};

    ListDesk()
    {
        dir.write("DXInit.dat", MakeInitBankFile());
        main.resize(1000, 700);
        main.show();
    }

    ~ListDesk()
    {
        // The windows hold the lists; they go while the session still exists.
        for (QMdiSubWindow* w : main.mdiArea()->subWindowList())
            delete w;
    }

    frmVoiceList* open(const std::string& name, int fileType, int voices, const std::string& prefix = "VOICE")
    {
        const std::filesystem::path path = dir.path() / name;
        std::filesystem::create_directories(path.parent_path());
        dir.write(name, makeVoiceFile(fileType, voices, prefix));
        if (!lists.openFile(path.string()))
            return nullptr;
        const auto& all = session.colVoiceLists();
        return lists.windowOf(*all.at(all.count()));
    }

    void activate(frmVoiceList* w)
    {
        main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
    }

    static std::string nameAt(VoiceList& list, long voice)
    {
        auto rows = list.rsmfimage().clone();
        rows->setAbsolutePosition(voice);
        return rows->text(clsVoiceNames::kNames);
    }

    static void mouse(frmVoiceList* w, QEvent::Type type, long voice, Qt::KeyboardModifiers modifiers = {},
                      Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget* viewport = w->List1()->viewport();
        const QPointF at(w->pointOfVoice(voice));
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, viewport->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                          held, modifiers);
        QApplication::sendEvent(viewport, &event);
    }

    static void click(frmVoiceList* w, long voice, Qt::KeyboardModifiers modifiers = {})
    {
        mouse(w, QEvent::MouseButtonPress, voice, modifiers);
    }

    // A drop of the selection of source on a voice of target.
    static bool drop(frmVoiceList* source, frmVoiceList* target, long voice, Qt::KeyboardModifiers modifiers = {})
    {
        std::unique_ptr<QMimeData> mime(source->dragMimeData());
        QWidget* viewport = target->List1()->viewport();
        const QPointF at(target->pointOfVoice(voice));
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, modifiers);
        QApplication::sendEvent(viewport, &enter);
        QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, modifiers);
        QApplication::sendEvent(viewport, &dropped);
        return dropped.isAccepted();
    }
};

} // namespace toneloft::test
