#pragma once

#include "common/ByteString.h"

#include <cstdint>
#include <string>

namespace toneloft {

class MidiDeviceLayer;
class MidiVoiceListLink;

// DX7 voice and bank dumps between the program and the synthesiser: the
// receive wait with its time limit and the MIDI menu's Send and Receive.
class Dx7Exchange {
public:
    explicit Dx7Exchange(MidiDeviceLayer& midi, MidiVoiceListLink* lists = nullptr);
    void setVoiceLists(MidiVoiceListLink* lists) { m_lists = lists; }

    // Waits up to timeoutMs for a complete message: 0 with data holding it, or
    // -1 (data "Timeout" after a time-out). type is the DX7 format expected
    // (0 voice, 9 bank) or 256 for any message; with request a dump request
    // for type on the current channel goes out first.
    int ReceiveDump(int type, std::int64_t timeoutMs, std::string& data, bool request);

    // MIDI menu, Receive: 0 "&Voice...", 1 "&Bank...". The dump becomes
    // " DX Bank " n ".dat" in the data directory and opens as a voice list.
    void ReceiveCommand(int index);
    // MIDI menu, Send: 0 "Voic&e", 1 "B&ank", 2 "&File...", from the active voice list.
    void SendCommand(int index);
    // The system-exclusive messages of a file, each whole, paced at 4,096 bytes
    // a second, with Cancel offered (see UiServices::setCancellable).
    void SendFile(const std::string& path, const std::string& title);

private:
    void sendSelectedVoice();
    void sendCurrentBank();

    MidiDeviceLayer& m_midi;
    MidiVoiceListLink* m_lists;
};

} // namespace toneloft
