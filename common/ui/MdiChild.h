#pragma once

#include <QString>

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

protected:
    MdiChild() = default;
    MdiChild(const MdiChild&) = default;
    MdiChild& operator=(const MdiChild&) = default;
};

} // namespace toneloft
