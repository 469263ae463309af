#pragma once

#include "common/ByteString.h"
#include "common/Recordset.h"
#include "midi/MidiMessageRecord.h"

#include <array>
#include <functional>
#include <string>

namespace toneloft {

class MidiDeviceLayer;
class MidiVoiceListLink;

// The MIDI manager's toolbar buttons, in toolbar order.
enum class ManagerButton { Send, Receive, Save, Delete, Load, SaveAndLoad, Edit, Count };

// The MIDI manager's data: the store of 100 system-exclusive messages (table
// MidiSysex), the monitor log (table MidiMessage, one row per event) and the
// sends of voices, parameters and audition notes. It lives exactly while a
// MIDI device is open; the device layer creates and drops it, so the store is
// lost on closing unless a slot was saved as a voice file.
//
// The "selected" slot and monitor row are the tables' current rows; the
// window keeps them in step with its grids. Commands return 0, or -1 when
// nothing was done (refused, cancelled or failed).
class clsMidiManagerData {
public:
    explicit clsMidiManagerData(MidiDeviceLayer& midi);

    static constexpr long kSlotCount = 100;
    static constexpr const char* kEmptyName = "-----------";

    // The store: No (" 1".." 100"), Name, Length (decimal text), Data (the
    // bytes, any length), Used ("Yes"/"No"), FileType (" 0", " 2" or "NA").
    // Always exactly 100 rows.
    Recordset& MidiSysex() { return m_sysex; }
    // A table by its member name, "MidiSysex" or "MidiMessage"; null for any other.
    Recordset* table(const std::string& member);

    void setVoiceLists(MidiVoiceListLink* lists) { m_lists = lists; }
    // The modal byte editor: given the bytes, returns the edited result (the
    // input itself when the user cancelled). The window supplies it.
    using SysexEditor = std::function<ByteString(const ByteString&)>;
    void setSysexEditor(SysexEditor editor) { m_editor = std::move(editor); }
    // Called whenever the store's rows or the toolbar's state changed.
    void setStoreChangedHandler(std::function<void()> h) { m_storeChanged = std::move(h); }

    // Empties all 100 slots, updates the toolbar and selects slot 1.
    void InitMidiGrid();
    // Puts a message (framing removed; file type 0-3, or -1 for unknown data)
    // into the selected slot, asking before it appends or overwrites.
    int AddSysex(const ByteString& bytes, long length, int fileType, const std::string& name);
    int SendSysex();
    int ReceiveSysex();
    // Saves the selected slot as a voice file; path receives the file written.
    int SaveSysex(std::string& path);
    int DeleteSysex();
    int LoadSysex();
    int SaveAndLoadSysex();
    // which 1: the selected slot, 2: the selected monitor row.
    int EditSysex(int which);
    int SendMIDIMessage(int which, int& result);

    // Send also needs the output open, Receive the input.
    bool buttonEnabled(ManagerButton b) const;
    // Slots filled by overwriting since the store was set up.
    long usedSlotCounter() const { return m_usedCounter; }
    // The selected slot, 1-100.
    long selectedSlot() const;
    void selectSlot(long slot);

    // The monitor: fields Timestamp, No, Channel, Message, Data1Title, Data1,
    // Data2Title, Data2, Type, RawMessage, Status, ShortData1, ShortData2, in
    // the order of the record's slots. All are blank-padded text except
    // RawMessage, which keeps a message's bytes exactly (up to 8192).
    Recordset& MidiMessage() { return m_messages; }

    // Appends the record as a monitor row (or, with replace, writes it over the
    // current row, keeping its No) and moves to it. Slot 0 is the event's time
    // in ms; 0 or less (or empty) stamps it with the time since input started.
    void AddMessage(const MidiMessageRecord& record, bool replace);

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
    void updateToolbar();
    void storeChanged();
    void emptyCurrentSlot();
    ByteString slotData() const;
    int sendPackedVoices(const ByteString& unpacked);

    MidiDeviceLayer& m_midi;
    Recordset m_sysex;
    Recordset m_messages;
    MidiVoiceListLink* m_lists = nullptr;
    SysexEditor m_editor;
    std::function<void()> m_storeChanged;
    std::array<bool, static_cast<std::size_t>(ManagerButton::Count)> m_buttons{};
    long m_usedCounter = 0;
    std::function<double()> m_random;
};

} // namespace toneloft
