#pragma once

#include <functional>

namespace toneloft {

class VoiceList;

// What a voice list's window shows and remembers of the user's last gestures.
// The window owns it and hands it to the list operations that read or move it;
// the command-line tool keeps one of its own.
struct VoiceListViewState {
    long bank = 1;             // on screen, 1..banks
    long currentVoice = 0;     // under the last press; the insert position of a paste (0: none)
    long lastClickedVoice = 0;
    long pastedCount = 0;      // voices inserted by the last paste
};

// The state of a list's window; null when the list has none.
using VoiceListViewStateOf = std::function<VoiceListViewState*(const VoiceList&)>;

} // namespace toneloft
