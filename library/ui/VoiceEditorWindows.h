#pragma once

#include <memory>

class QWidget;

namespace toneloft {

class VoiceEditor;
class VoiceList;

// The voice editor's windows live above the lists; the program installs them
// (ListWindowManager::setEditorWindows) so that LoadVoice can open one. Without
// them a list shows a voice in its parameter-table window.
class VoiceEditorWindows {
public:
    virtual ~VoiceEditorWindows() = default;
    // Makes, adds to the main window and shows the window of an editor the list
    // has just opened; null when it could not.
    virtual QWidget* showEditor(VoiceList& list, std::shared_ptr<VoiceEditor> editor) = 0;
    // The editor's window back to the voice as stored in the list.
    virtual void resetEditor(QWidget* window) = 0;

protected:
    VoiceEditorWindows() = default;
    VoiceEditorWindows(const VoiceEditorWindows&) = default;
    VoiceEditorWindows& operator=(const VoiceEditorWindows&) = default;
};

} // namespace toneloft
