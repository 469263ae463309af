#include "library/ui/MainCommand.h"

namespace toneloft {

namespace {

using C = MainCommand;

constexpr TopMenu kTopMenus[] = {
    {"File", "&File"},
    {"Edit", "&Edit"},
    {"Midi", "&Midi"},
    {"Tools", "&Tools"},
    {"Window", "&Window"},
    {"Help", "&Help"},
};

constexpr MenuEntry kEntries[] = {
    {"File", "mnufile(0)", "&New", "Ctrl+N", true, 2000, C::FileNew, false},
    {"File", "mnufile(1)", "&Open...", "Ctrl+O", true, 2000, C::FileOpen, false},
    {"File", "mnufile(2)", "&Close", "", false, 2000, C::FileClose, false},
    {"File", "mnufile(3)", "C&lose All", "Ctrl+L", false, 2000, C::FileCloseAll, false},
    {"File", "mnufile(4)", "&Save", "Ctrl+S", false, 2000, C::FileSave, false},
    {"File", "mnufile(5)", "Save &As...", "Ctrl+A", false, 2000, C::FileSaveAs, false},
    {"File", "mnufile(6)", "-", "", true, 0, C::None, false},
    {"File", "mnufile(7)", "Save &Voice", "Ctrl+V", false, 2000, C::FileSaveVoice, false},
    {"File", "mnufile(8)", "-", "", true, 0, C::None, false},
    {"File", "mnufile(9)", "&Print Voice List", "Ctrl+P", false, 2000, C::FilePrintVoiceList, false},
    {"File", "mnufile(10)", "Print Voice &Data", "Ctrl+D", false, 2000, C::FilePrintVoiceData, false},
    {"File", "mnufile(11)", "-", "", true, 0, C::None, false},
    {"File", "mnufile(12)", "&Exit", "Ctrl+X", true, 2000, C::FileExit, false},

    {"Edit", "mnuEditUndo", "&Undo", "Ctrl+Z", false, 2100, C::EditUndo, false},
    {"Edit", "mnuEditRedo", "&Redo", "Ctrl+Y", false, 2100, C::EditRedo, false},
    {"Edit", "mnuEditSep0", "-", "", true, 0, C::None, false},
    {"Edit", "mnuedit(0)", "&Cut", "Shift+Del", false, 2100, C::EditCut, false},
    {"Edit", "mnuedit(1)", "C&opy", "Ctrl+Ins", false, 2100, C::EditCopy, false},
    {"Edit", "mnuedit(2)", "&Paste", "Shift+Ins", false, 2100, C::EditPaste, false},
    {"Edit", "mnuedit(3)", "&Delete", "Del", false, 2100, C::EditDelete, false},
    {"Edit", "mnuedit(4)", "-", "", true, 0, C::None, false},
    {"Edit", "mnuedit(5)", "&Find...", "Ctrl+F", false, 9000, C::EditFind, false},
    {"Edit", "mnuedit(6)", "Find &Next", "F3", false, 9000, C::EditFindNext, false},
    {"Edit", "mnuedit(7)", "-", "", true, 0, C::None, false},
    {"Edit", "mnuedit(8)", "&Sort Voice List", "F12", false, 9200, C::EditSort, false},
    {"Edit", "mnuedit(9)", "Find D&uplicates...", "Shift+F12", false, 0, C::EditFindDuplicates, false},
    {"Edit", "mnuedit(10)", "&Group Voice Patches ...", "Ctrl+G", false, 0, C::EditGroupPatches, false},
    {"Edit", "mnuEditSep1", "-", "", true, 0, C::None, false},
    {"Edit", "mnuEditSelectAll", "Select &All", "Ctrl+Shift+A", false, 2100, C::EditSelectAll, false},
    {"Edit", "mnuEditPreferences", "Pr&eferences...", "", true, 0, C::EditPreferences, false},

    {"Midi", "mnuMIDI(0)", "&Send", "", false, 2200, C::None, true},
    {"mnuMIDI(0)", "mnuMIDIsend(0)", "Voic&e", "F6", false, 2200, C::MidiSendVoice, false},
    {"mnuMIDI(0)", "mnuMIDIsend(1)", "B&ank", "F7", false, 2200, C::MidiSendBank, false},
    {"mnuMIDI(0)", "mnuMIDIsend(2)", "&File...", "F8", true, 2200, C::MidiSendFile, false},
    {"Midi", "mnuMIDI(1)", "&Receive", "", false, 2200, C::None, true},
    {"mnuMIDI(1)", "mnuMIDIreceive(0)", "&Voice...", "Ctrl+F6", true, 2200, C::MidiReceiveVoice, false},
    {"mnuMIDI(1)", "mnuMIDIreceive(1)", "&Bank...", "Ctrl+F7", true, 2200, C::MidiReceiveBank, false},
    {"Midi", "mnuMIDI(2)", "&Options...", "", false, 2200, C::None, true},
    {"mnuMIDI(2)", "mnuMIDIoptions(0)", "&Midi Input On", "Ctrl+I", false, 2200, C::MidiInputOn, false},
    {"mnuMIDI(2)", "mnuMIDIoptions(1)", "Show Midi Ma&nager", "Ctrl+M", true, 2200, C::MidiShowManager, false},
    {"Midi", "mnuMIDI(3)", "-", "", true, 0, C::None, false},
    {"Midi", "mnuMIDI(4)", "MIDI &Devices...", "", true, 2200, C::MidiDevices, false},

    {"Tools", "mnuTools(0)", "DX to SY &Voice conversion", "", true, 10000, C::ToolsDxToSy, false},
    {"Tools", "mnuTools(1)", "Patch &Generator", "", false, 11000, C::ToolsPatchGenerator, false},

    {"Window", "mnuWindow(0)", "&Cascade", "", true, 0, C::WindowCascade, false},
    {"Window", "mnuWindow(1)", "&Tile", "", true, 0, C::WindowTile, false},
    {"Window", "mnuWindow(2)", "&Arrange Icons", "", true, 0, C::WindowArrangeIcons, false},
    {"Window", "mnuWindowTabbed", "Ta&bbed", "", true, 0, C::WindowTabbed, false},

    {"Help", "mnuHelp(0)", "&Contents", "", true, 2400, C::HelpContents, false},
    {"Help", "mnuHelp(1)", "&Index", "", true, 2400, C::HelpIndex, false},
    {"Help", "mnuHelp(2)", "&Search", "", true, 2400, C::HelpSearch, false},
    {"Help", "mnuHelp(3)", "-", "", true, 0, C::None, false},
    {"Help", "mnuHelp(4)", "&Quick Tour", "", true, 2400, C::HelpQuickTour, false},
    {"Help", "mnuHelp(5)", "&Technical Support", "", true, 2400, C::HelpTechnicalSupport, false},
    {"Help", "mnuHelp(6)", "-", "", true, 0, C::None, false},
    {"Help", "mnuHelp(7)", "&About Toneloft", "", true, 2400, C::HelpAbout, false},
};

constexpr ToolbarEntry kToolbar[] = {
    {"New File", "Create new file"},
    {"Open File", "Open voice data file"},
    {"Save File", "Save voice data file"},
    {"Print Voice", "Print"},
    {"", ""},
    {"Cut", "Cut"},
    {"Copy", "Copy"},
    {"Delete", "Delete"},
    {"Paste", "Paste"},
    {"MIDI devices", "MIDI devices"},
    {"Receive Bank", "Receive Bank"},
    {"Send Bank", "Send Bank"},
};

} // namespace

std::span<const TopMenu> mainTopMenus()
{
    return kTopMenus;
}

std::span<const MenuEntry> mainMenuEntries()
{
    return kEntries;
}

std::span<const ToolbarEntry> mainToolbarEntries()
{
    return kToolbar;
}

} // namespace toneloft
