#pragma once

#include <QString>

namespace toneloft {

// What the program remembers between runs, in QSettings (the application's
// organisation and name decide where; tests point QSettings at a folder of
// their own).
class Preferences {
public:
    // Classic: the menu table's keys (Ctrl+X Exit, Ctrl+A Save As, Ctrl+V Save
    // Voice, Ctrl+Ins/Shift+Ins/Shift+Del). Standard: the desktop's own (Ctrl+X/C/V
    // cut/copy/paste, Ctrl+Q quit, Ctrl+S save, Ctrl+Shift+S save as, Ctrl+Z undo).
    enum class KeyScheme { Classic, Standard };
    // Slot numbers beside the names: 1..32 in the bank, or A1..A16 / B1..B16.
    enum class SlotNumbering { Numbers, Halves };

    static constexpr const char* kKeySchemeKey = "keys/scheme";
    static constexpr const char* kSlotNumberingKey = "lists/slotNumbering"; // "1-32" or "A/B"
    static constexpr const char* kTabbedKey = "windows/tabbed";

    static KeyScheme keyScheme();
    static void setKeyScheme(KeyScheme scheme);
    static SlotNumbering slotNumbering();
    static void setSlotNumbering(SlotNumbering numbering);
    static bool tabbedView();
    static void setTabbedView(bool tabbed);
};

} // namespace toneloft
