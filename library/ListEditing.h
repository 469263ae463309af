#pragma once

#include "common/Recordset.h"
#include "library/VoiceListViewState.h"

#include <string>
#include <vector>

namespace toneloft {

class Session;
class VoiceList;

// Copy, cut, delete, paste and drop of voices. Every operation returns true when
// it was done, false when there was nothing to do (nothing selected, nothing to
// paste, a drop that cannot be made). The window redraws when Session observers
// hear selectionChanged / listChanged, and keeps its bank within a shortened list.
class ListEditing {
public:
    using Bookmarks = std::vector<Recordset::Bookmark>;

    // The row bookmarks of the given voices (ascending numbers), in voice order.
    static Bookmarks bookmarksOf(VoiceList& list, const std::vector<long>& voices);
    // Of the selected voices.
    static Bookmarks ConvertTrackToBookMarksArrayVar(VoiceList& list);

    // Replaces the clipboard with the voices (given, or the selection).
    static bool EditCopy(VoiceList& list, const Bookmarks* bookmarks = nullptr);
    // Removes the voices; with keepDeleted they are first copied into deletedTable
    // (made a voice-name table when it is not open). The tracker is cleared.
    static bool EditDelete(VoiceList& list, bool keepDeleted = false, const Bookmarks* bookmarks = nullptr,
                           Recordset* deletedTable = nullptr);
    static bool EditCut(VoiceList& list);
    // Inserts the clipboard before the view's current voice (1 when none) and
    // selects the pasted voices; their first one's bank goes on screen and
    // becomes the last clicked voice. Consumes the clipboard.
    static bool EditPaste(VoiceList& list, VoiceListViewState& view);

    // Drop of a drag text on a list over voice target (0: no voice under the point).
    // Alt held copies, otherwise the voices move. view is the state of the list's window.
    static bool dropVoices(VoiceList& list, VoiceListViewState& view, long target, const std::string& dragText,
                           bool alt);

    // Gives voice (1-based) a new name, blank-padded to 10 characters, as one
    // undoable step. False when the voice is not in the list; an unchanged name
    // is done (and no step).
    static bool renameVoice(VoiceList& list, long voice, const std::string& name);

private:
    static void insertClipboard(VoiceList& list, VoiceListViewState& view);
    static void convertClipboard(Session& session, Recordset& rows, bool toPacked);
};

} // namespace toneloft
