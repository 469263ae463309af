#pragma once

#include <QString>

#include <functional>

namespace toneloft {

// What the main window needs to know of a child window to route commands:
// voice lists and voice editors implement it beside their QWidget base.
class MdiChild {
public:
    enum class Kind { VoiceList, VoiceEditor, Other };

    virtual ~MdiChild() = default;
    virtual Kind childKind() const = 0;
    // A voice list's rename box is open: the Edit commands then do nothing.
    virtual bool renameInProgress() const { return false; }
    // The help topic F1 opens while this child is active; empty for the main window's.
    virtual QString helpTopic() const { return {}; }

    // Edit > Undo, Redo and Select All act on the active child. A child without
    // an undo history keeps these defaults, which leave the commands disabled.
    virtual bool canUndo() const { return false; }
    virtual bool canRedo() const { return false; }
    virtual void undo() {}
    virtual void redo() {}
    virtual bool canSelectAll() const { return false; }
    virtual void selectAll() {}

    // Set by the main window when it adds the child: call it after anything that
    // changes what the Edit commands above would do (an edit, an undo).
    std::function<void()> editCommandsChanged;
protected:
    void notifyEditCommandsChanged()
    {
        if (editCommandsChanged)
            editCommandsChanged();
    }

    MdiChild() = default;
    MdiChild(const MdiChild&) = default;
    MdiChild& operator=(const MdiChild&) = default;
};

} // namespace toneloft
