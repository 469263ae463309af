#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace toneloft {

// The core's only way to talk to the person at the desk. The desktop program
// implements it with Qt, the command-line tool on the console, and tests with
// a scripted double that answers from a queue and owns a fake clock.

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgResult { OK, Cancel, Yes, No, Retry, Abort, Ignore };

struct FileFilter {
    std::string description; // "DX voice (*.dat,*.syx,*.dx7,*.32)"
    std::string patterns;    // "*.dat;*.syx;*.dx7;*.32"
};

struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    std::string title;
    std::vector<FileFilter> filters;
    std::string defaultExtension; // without the dot
    std::string initialDirectory; // with its trailing separator
    std::string initialFile;      // file name or title to start from; may be empty
    bool multiSelect = false;
    std::string helpTopic;
};

struct FileDialogResult {
    bool cancelled = true;
    std::string folder;             // with its trailing separator
    std::vector<std::string> files; // names within folder, in selection order
};

class UiServices {
public:
    virtual ~UiServices() = default;

    virtual MsgResult msgBox(const std::string& text, const std::string& title, MsgIcon icon,
                             MsgButtons buttons) = 0;
    // The same box with a Help button as well: Help opens helpTopic and leaves
    // the box up until one of buttons is pressed. Services without a help
    // viewer show the plain box.
    virtual MsgResult msgBoxWithHelp(const std::string& text, const std::string& title, MsgIcon icon,
                                     MsgButtons buttons, const std::string& /*helpTopic*/)
    {
        return msgBox(text, title, icon, buttons);
    }
    // nullopt when the box was cancelled.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
    virtual FileDialogResult fileDialog(const FileDialogRequest& request) = 0;
    // The save format dialog: the chosen file type 0..3, or nullopt on Cancel.
    virtual std::optional<int> chooseSaveFormat(int currentType) = 0;
    virtual void openHelp(const std::string& topic) = 0;

    // The main window's status label and the area around it.
    virtual void setStatus(const std::string& text, bool areaVisible, bool repaintMain) = 0;
    virtual void setBusy(bool busy) = 0;

    // A line for the program's log: why something failed, beyond what the box says.
    // Standard error unless the implementation keeps it elsewhere.
    virtual void log(const std::string& line);

    // Long work the user may stop (a file going out to MIDI): while it runs the
    // status line offers Cancel, and Escape does the same. cancelRequested()
    // turns true when either is pressed, or when the program is closing.
    virtual void setCancellable(bool /*on*/) {}
    virtual bool cancelRequested() { return false; }

    virtual void processEvents() = 0;
    // Processes events, first blocking until one arrives or maxMs have passed:
    // what waits (Pause, receives) call instead of spinning. The default, for
    // services without an event loop of their own, processes events once.
    virtual void waitForEvents(std::int64_t maxMs);
    // Runs call on the user-interface thread at its next turn of events; safe to
    // call from any thread. False when these services cannot (the scripted
    // double: tests then run the work from their event hook).
    virtual bool post(std::function<void()> call);
    // Milliseconds from an arbitrary start; never goes backwards.
    virtual std::int64_t clock() = 0;

    MsgResult MsgBox(const std::string& text, const std::string& title, MsgIcon icon = MsgIcon::None,
                     MsgButtons buttons = MsgButtons::OK)
    {
        return msgBox(text, title, icon, buttons);
    }
};

// Writes the status label (text and two blanks). Mode 0 shows, waits delayMs and
// clears; mode 1 shows, waits and leaves it; mode 2 waits, then clears.
void ShowStatus(UiServices& ui, const std::string& text, int delayMs = 0, int mode = 1,
                bool refresh = false);

// Waits until the clock has advanced by ms, processing events meanwhile.
void Pause(UiServices& ui, std::int64_t ms);

// Offers Cancel for as long as it lives (see UiServices::setCancellable).
class CancellableWork {
public:
    explicit CancellableWork(UiServices& ui) : m_ui(ui) { m_ui.setCancellable(true); }
    ~CancellableWork() { m_ui.setCancellable(false); }
    CancellableWork(const CancellableWork&) = delete;
    CancellableWork& operator=(const CancellableWork&) = delete;
    bool cancelled() { return m_ui.cancelRequested(); }

private:
    UiServices& m_ui;
};

// The hourglass around long work; nests, so inner work may show it again.
class BusyPointer {
public:
    explicit BusyPointer(UiServices& ui);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    UiServices& m_ui;
};

} // namespace toneloft
