#pragma once

#include "common/ByteString.h"
#include "common/Recordset.h"
#include "midi/MidiMessageRecord.h"

#include <functional>
#include <string>

namespace toneloft {

class MidiDeviceLayer;

// The MIDI manager's data: the monitor log (table MidiMessage, one row per
// event) and the sends of voices, parameters and audition notes. It lives
// exactly while a MIDI device is open; the device layer creates and drops it.
class clsMidiManagerData {
public:
    explicit clsMidiManagerData(MidiDeviceLayer& midi);

    // The monitor: fields Timestamp, No, Channel, Message, Data1Title, Data1,
    // Data2Title, Data2, Type, RawMessage, Status, ShortData1, ShortData2, in
    // the order of the record's slots. All are blank-padded text except
    // RawMessage, which keeps a message's bytes exactly (up to 8192).
    Recordset& MidiMessage() { return m_messages; }

    // Appends the record as a monitor row (or, with replace, writes it over the
    // current row, keeping its No) and moves to it. Slot 0 is the event's time
    // in ms; 0 or less (or empty) stamps it with the time since input started.
    void AddMessage(const MidiMessageRecord& record, bool replace);

    // A complete voice dump that arrived while no receive was waiting, framing
    // removed. The store is not part of this class yet: the handler, when set,
    // receives it.
    void AddSysex(const ByteString& bytes, long length, int fileType, const std::string& name);
    void setSysexHandler(std::function<void(const ByteString&, long, int, const std::string&)> h)
    {
        m_sysexHandler = std::move(h);
    }

    // Row p (1-based) of the voice parameter table, P = p - 1, as a parameter
    // change on channel 1; then an audition note or arpeggio when asked.
    int SendParametertoMIDI(int p, int value, bool playNote, bool playScale);
    // One unpacked voice (155 bytes: data part and name) as a single-voice dump.
    int SendVoiceToMidi(const ByteString& voice, bool playScale);
    // Seven notes of a major arpeggio from a random base note 48-72.
    void SendAScale();
    // The source of SendAScale's random numbers, in [0, 1).
    void setRandomSource(std::function<double()> random) { m_random = std::move(random); }

    // "H:M:S.s" of a time in ms: 83400 gives "0:1:23.4".
    static std::string monitorTime(double ms);

private:
    MidiDeviceLayer& m_midi;
    Recordset m_messages;
    std::function<void(const ByteString&, long, int, const std::string&)> m_sysexHandler;
    std::function<double()> m_random;
};

} // namespace toneloft
