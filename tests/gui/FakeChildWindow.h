#pragma once

#include "common/ui/MdiChild.h"

#include <QCloseEvent>
#include <QWidget>

namespace toneloft::test {

// A stand-in for a voice list or voice editor window: says what it is, may be
// renaming, and may refuse to close (as a list whose save question is cancelled).
class FakeChildWindow : public QWidget, public MdiChild {
public:
    explicit FakeChildWindow(Kind kind, const QString& caption) : m_kind(kind)
    {
        setWindowTitle(caption);
        resize(200, 150);
    }

    Kind childKind() const override { return m_kind; }
    bool renameInProgress() const override { return renaming; }
    QString helpTopic() const override { return topic; }
    // A history of edits counted as numbers: undo moves one from done to undone.
    bool canUndo() const override { return done > 0; }
    bool canRedo() const override { return undone > 0; }
    void undo() override { --done, ++undone; }
    void redo() override { ++done, --undone; }
    bool canSelectAll() const override { return m_kind == Kind::VoiceList; }
    void selectAll() override { ++selectAllRequests; }
    void edit()
    {
        ++done, undone = 0;
        notifyEditCommandsChanged();
    }

    bool renaming = false;
    bool refuseClose = false;
    QString topic;
    int closeRequests = 0;
    int done = 0;
    int undone = 0;
    int selectAllRequests = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closeRequests;
        if (refuseClose)
            event->ignore();
        else
            event->accept();
    }

private:
    Kind m_kind;
};

} // namespace toneloft::test
