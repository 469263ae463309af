#pragma once

#include "common/UiServices.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace toneloft {

class clsVoiceLists;
class VoiceList;
class VoiceEditor;
class VoiceClipboard;
class SynthLink;

// Windows subscribe to what the core does to the open lists; nothing in the core
// waits for a window. Every method has an empty default.
class SessionObserver {
public:
    virtual ~SessionObserver() = default;
    virtual void listAdded(VoiceList&) {}
    // The list has its voices and is ready to show.
    virtual void listLoaded(VoiceList&) {}
    // Voices, file type, caption or identity changed.
    virtual void listChanged(VoiceList&) {}
    virtual void listRemoved(VoiceList&) {}
    // The commands that need an open list become available (true) or not.
    virtual void listCommandsEnabled(bool) {}
    // The list with this file title belonged to the patch generator and no longer does.
    virtual void patchGeneratorListReleased() {}
    // The list's selection changed (click, paste, delete, a marked result range).
    virtual void selectionChanged(VoiceList&) {}
    // The voice clipboard was filled or emptied (Paste enabling).
    virtual void clipboardChanged() {}
};

// The patch generator's tree of open files: a root ("Root", "Files") while any
// list is open, and a node per list keyed by the list's ID.
struct PatchSourceTree {
    struct Node {
        std::string key;
        std::string text;
    };
    bool hasRoot = false;
    std::vector<Node> files;
};

// Program-wide state: created by main, and afresh by every test.
class Session {
public:
    Session(UiServices& ui, std::string programDirectory);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    UiServices& ui() { return m_ui; }

    // Folders keep their trailing separator.
    const std::string& programDirectory() const { return m_programDirectory; }
    const std::string& DataDirectory() const { return m_dataDirectory; }
    void setDataDirectory(const std::string& folder);
    // program directory + "Data/" when it holds a .dat file, else the program directory.
    // When the program runs installed or its folder is not writable, userFolder
    // (created if need be) stands in for the program directory; empty, never.
    void findDataDirectory(const std::string& userFolder = {});
    // DXInit.dat beside the program, else in the installation's share folder.
    std::string initFilePath() const;

    clsVoiceLists& colVoiceLists() { return *m_lists; }

    // What the user works on: the active child window's list and editor (either may be null).
    VoiceList* activeList() const { return m_activeList; }
    VoiceEditor* activeEditor() const { return m_activeEditor; }
    void setActive(VoiceList* list, VoiceEditor* editor);

    // The file type chosen last in the save format dialog.
    int chosenSaveFormat = 0;
    // Numbers the hidden patch-view files of every list.
    long patchViewCounter = 0;
    // What happens to DX7 voices found inside a file the rules refuse: the
    // user is asked, they are opened without asking, or they are left alone.
    enum class VoicesInside { Ask, Open, Leave };
    VoicesInside voicesInside = VoicesInside::Ask;
    // Set while code fills grids or moves spin controls.
    bool eventsSuppressed = false;
    bool CancelClose = false;

    // Voices between Copy and Paste; lives for the whole run.
    VoiceClipboard& voiceClipboard() { return *m_clipboard; }

    // The synthesiser, while MIDI is set up; null off-line and in most tests.
    SynthLink* synth() const { return m_synth; }
    void setSynth(SynthLink* synth) { m_synth = synth; }

    PatchSourceTree patchSources;
    // File title of the list the patch generator writes ("PatchGen.dat").
    static constexpr const char* kPatchGenTitle = "PatchGen.dat";

    void addObserver(SessionObserver* observer);
    void removeObserver(SessionObserver* observer);
    void notify(const std::function<void(SessionObserver&)>& call);

private:
    UiServices& m_ui;
    std::string m_programDirectory;
    std::string m_dataDirectory;
    std::unique_ptr<clsVoiceLists> m_lists;
    std::unique_ptr<VoiceClipboard> m_clipboard;
    VoiceList* m_activeList = nullptr;
    VoiceEditor* m_activeEditor = nullptr;
    SynthLink* m_synth = nullptr;
    std::vector<SessionObserver*> m_observers;
};

// Ensures a folder name ends in the platform's separator.
std::string withTrailingSeparator(std::string folder);

} // namespace toneloft
