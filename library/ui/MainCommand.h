#pragma once

#include <span>

namespace toneloft {

// Every command of the main window's menus.
enum class MainCommand {
    None,
    FileNew, FileOpen, FileClose, FileCloseAll, FileSave, FileSaveAs, FileSaveVoice,
    FilePrintVoiceList, FilePrintVoiceData, FileExit,
    EditCut, EditCopy, EditPaste, EditDelete, EditFind, EditFindNext, EditSort,
    EditFindDuplicates, EditGroupPatches, EditUndo, EditRedo, EditSelectAll, EditPreferences,
    MidiSendVoice, MidiSendBank, MidiSendFile, MidiReceiveVoice, MidiReceiveBank,
    MidiInputOn, MidiShowManager, MidiDevices,
    ToolsDxToSy, ToolsPatchGenerator,
    WindowCascade, WindowTile, WindowArrangeIcons, WindowTabbed,
    HelpContents, HelpIndex, HelpSearch, HelpQuickTour, HelpTechnicalSupport, HelpAbout,
};

// One entry of a menu: a command, a separator ("-") or a submenu. The name is
// the entry's place in its menu array ("mnufile(0)"); a submenu's entries name
// it as their parent.
struct MenuEntry {
    const char* parent;   // "File" .. "Help", or a submenu's name
    const char* name;
    const char* caption;
    const char* shortcut; // portable key text, "" for none
    bool enabledAtStart;
    int helpContext;      // 0: none
    MainCommand command;  // None for separators and submenus
    bool submenu;
};

struct TopMenu {
    const char* name;
    const char* caption;
};

std::span<const TopMenu> mainTopMenus();
std::span<const MenuEntry> mainMenuEntries();

// The toolbar, in order: keys and tooltips; an empty key is the separator.
struct ToolbarEntry {
    const char* key;
    const char* tooltip;
};
std::span<const ToolbarEntry> mainToolbarEntries();

} // namespace toneloft
