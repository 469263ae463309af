#pragma once

#include "library/ui/MainCommand.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace toneloft {

class AboutWindow;
class HelpWindow;
class MdiChild;
class QtUiServices;
class StatusStrip;
class UiServices;

// The main window: the menus and toolbar, the area holding the voice lists and
// editors, the status strip, start-up and the close sequence.
class frmStartup : public QMainWindow {
    Q_OBJECT

public:
    // What decides which commands are enabled; applyCommandState() is the one
    // place that turns it into the menus and toolbar.
    struct CommandState {
        // The active voice list: Save, Save As, Print Voice List, Find, Find Next,
        // Sort, Find Duplicates and Group Voice Patches.
        bool listActive = false;
        // Find Next: with the list's enabling, and with the Find window on and off.
        bool findNext = false;
        long totalSelections = 0;        // Cut, Copy, Delete
        bool clipboardHasVoices = false; // Paste
        bool editorActive = false;       // Save Voice, Print Voice Data
        long openLists = 0;              // Close, Close All, Patch Generator
        // The MIDI menus: the three submenus and the entries the device layer drives.
        bool sendMenu = false;
        bool receiveMenu = false;
        bool optionsMenu = false;
        bool sendVoiceAndBank = false;
        bool midiInputOnEnabled = false;
        bool midiInputOnTicked = false;
        bool midiManagerTicked = false;
        bool receiveBankButton = false;
        bool sendBankButton = false;
        bool midiInputOpen = false;
        bool midiOutputOpen = false;
    };

    // Without a UiServices of its own the window makes a QtUiServices on itself.
    explicit frmStartup(UiServices* ui = nullptr, QWidget* parent = nullptr);
    ~frmStartup() override;

    UiServices& ui() { return *m_ui; }

    // Splash, then the MIDI start-up. False when the program is to end at once.
    // The data directory is the Session's, found by main before this.
    bool startUp();

    QString programDirectory() const;

    // Commands, menus and toolbar.
    QAction* action(MainCommand command) const;
    QAction* menuEntry(const QString& name) const; // "mnufile(0)", "mnuMIDI(0)"
    QMenu* topMenu(const QString& name) const;     // "File" .. "Help"
    QAction* toolButton(const QString& key) const;
    QAction* toolButtonAt(int position) const;     // 1-based, as the keys are listed
    QToolBar* toolbar() const { return m_toolbar; }
    StatusStrip* statusStrip() const { return m_strip; }
    QMdiArea* mdiArea() const { return m_mdi; }

    // Replaces what a command does; without a handler a command says it is not
    // available yet.
    void setCommandHandler(MainCommand command, std::function<void()> handler);
    void runCommand(MainCommand command);
    void toolbarClicked(const QString& key);
    static QString notAvailableText(const QString& caption);

    const CommandState& commandState() const { return m_state; }
    void setCommandState(const CommandState& state);
    void setListCommands(bool active, long totalSelections, bool clipboardHasVoices);
    // The Find window enables Find Next when it opens and disables it when it closes.
    void setFindNextEnabled(bool enabled);
    void setEditorCommands(bool editorActive);
    // Which MIDI devices are open, for the close sequence; the device layer
    // alone decides what the MIDI menus and buttons show.
    void setMidiDevicesOpen(bool inputOpen, bool outputOpen);

    // Child windows.
    QMdiSubWindow* addChild(QWidget* child);
    MdiChild* activeChild() const;
    // Undo, Redo and Select All follow the active child; children report changes
    // through MdiChild::editCommandsChanged, which addChild connects here.
    void refreshEditCommands();
    // The voice list windows in the order they were opened; the voice lists
    // replace this with their own collection's order.
    std::vector<QMdiSubWindow*> voiceListWindows() const;
    // Window > Tabbed: the lists and editors as tabs instead of windows; the
    // arrangements of windows have nothing to arrange meanwhile.
    bool tabbedView() const;
    void setTabbedView(bool tabbed);
    void setVoiceListWindowsProvider(std::function<std::vector<QMdiSubWindow*>()> provider);
    // File Close: the first list whose caption equals the active window's.
    QMdiSubWindow* listWindowToClose() const;
    // Edit Find: 1-based position of the last list whose caption equals the
    // active window's; 0 when there is none.
    int listPositionForFind() const;

    // The close sequence stops at the first window that refuses to close (a list
    // refusing also sets the Session's CancelClose).
    void setMidiCloser(std::function<void()> closer);
    // The MIDI start-up; returns 0 to go on, -1 to quit. The default works off-line.
    void setMidiInitialiser(std::function<int()> initialiser);
    // Midi > MIDI Devices...: closes the devices and runs the start-up; false when
    // the program is to end.
    bool runMidiDevices();
    int startOffline();

    HelpWindow& helpWindow();
    void openHelp(const QString& topic);

public Q_SLOTS:
    // The open-file collection's count after a list was added or removed.
    void setOpenListCount(long count);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    void createToolbar();
    void applyCommandState();
    void installDefaultHandlers();
    bool editCommandAllowed() const;
    bool closeSequence();
    void helpRequested();
    void childActivated(QMdiSubWindow* window);
    QString activeCaption() const;
    void showAbout();

    std::unique_ptr<QtUiServices> m_ownUi;
    UiServices* m_ui;
    QMdiArea* m_mdi;
    StatusStrip* m_strip;
    QToolBar* m_toolbar = nullptr;
    std::map<QString, QMenu*> m_menus;
    std::map<QString, QAction*> m_entries;
    std::map<MainCommand, QAction*> m_actions;
    std::map<MainCommand, std::function<void()>> m_handlers;
    std::vector<QAction*> m_toolButtons; // by position, separator included
    CommandState m_state;
    std::function<std::vector<QMdiSubWindow*>()> m_listProvider;
    std::function<void()> m_midiCloser;
    std::function<int()> m_midiInitialiser;
    QPointer<HelpWindow> m_help;
    QPointer<AboutWindow> m_about;
};

} // namespace toneloft
