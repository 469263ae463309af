#pragma once

#include "library/VoiceListViewState.h"

#include <string>
#include <vector>

namespace toneloft {

class Session;
class VoiceList;

// What a voice list window shows and enables, worked out without drawing:
// banks of 32 voices in two columns of 16, the captions, the properties panel.
class VoiceListView {
public:
    // Key codes the list reacts to.
    static constexpr int kPageUp = 33;
    static constexpr int kPageDown = 34;
    static constexpr int kEnd = 35;
    static constexpr int kHome = 36;
    static constexpr int kLeft = 37;
    static constexpr int kDown = 40;

    // The requested bank clamped to 1..banks of a list of voices.
    static long clampBank(long requested, long voices);
    // "Bank 2 of 3", or "File is empty".
    static std::string bankLabel(long bank, long voices);
    // "NAME [ 33 patches ]" from the file name; an empty list gets the name up to its first ".".
    static std::string caption(const std::string& fileName, long voices);

    // The voice under a point of the list (0 for none): rows of itemHeight,
    // two columns across listWidth.
    static long GetVoiceNo(long x, long y, long itemHeight, long listWidth, long bank, long voices);
    // The voice of a list item (0-based index) for keyboard use.
    static long GetVoiceNumber(int keyCode, long bank, long listIndex);

    // Mouse timings (ms): a held button moving longer than this starts a drag;
    // a release waits this long for a double-click before starting a rename.
    static constexpr int kDragStartMs = 250;
    static constexpr int kDoubleClickWaitMs = 1000;
    // On release over the current voice: whether to wait for a double-click and,
    // failing one, select that voice alone and rename it (a second slow click on
    // the same voice, or a plain click inside a multi-selection).
    static bool releaseMayRename(long voice, long lastClicked, long totalSelections, bool leftButton,
                                 bool shift, bool ctrl);

    struct KeyResult {
        long bank = 1;
        bool consumed = false; // the list's own cursor must not move
    };
    // Page Up / Down, End, Home change the bank; these and the arrows are consumed.
    static KeyResult pagingKey(int keyCode, long bank, long voices);

    // One bank as drawn: the names of its voices and their selection.
    struct Page {
        long bank = 1;      // after clamping
        long banks = 1;
        bool scrollEnabled = false;
        std::string label;
        std::string caption;
        std::vector<std::string> names;
        std::vector<bool> selected;
        bool anySelected = false;
    };
    // UpdateListBox without the drawing: bank is clamped and written back, and
    // becomes the view's bank on screen.
    static Page UpdateListBox(VoiceList& list, VoiceListViewState& view, long& bank);

    // Shows a result range: with reset the selection becomes first..last alone
    // (last 0: first alone); the bank (clamped) goes on screen.
    static void InitList(VoiceList& list, VoiceListViewState& view, long bank, bool reset, long first,
                         long last);

    // Command enabling while the list is the active child.
    struct Commands {
        bool cutCopyDelete = false;
        bool paste = false;
        bool always = false; // Find, Sort, Save, Print ...
    };
    static Commands SetMenuAndToolbar(Session& session, const VoiceList& list, bool active);

    // The file properties panel.
    struct Properties {
        std::string name;
        std::string type;
        std::string size;    // "4,096 bytes"
        std::string patches;
        std::string banks;
    };
    static std::string layoutText(int fileType);
    static long long byteSize(int fileType, long voices);
    static Properties properties(const VoiceList& list);
};

} // namespace toneloft
