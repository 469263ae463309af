#pragma once

#include "common/ByteString.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft::synth {
class FmInstrument;
}

namespace toneloft {

// An instrument of our own that behaves like a DX7 at the far end of a cable:
// 32 internal voices, an edit buffer and a receive channel. It answers voice
// and bank dump requests on its channel, takes voice and bank dumps (refusing
// a wrong checksum) and voice parameter changes, and keeps a record of what it
// applied. Pure logic: the transport is someone else's (VirtualDx7Backend in
// the program, toneloft-dx7 on real ports).
class VirtualDx7 {
public:
    static constexpr const char* kDeviceName = "Toneloft Virtual DX7";

    struct Applied {
        enum class Kind { Voice, Bank, Parameter, Refused, Note, SentVoice, SentBank };
        Kind kind;
        int parameter = -1; // Parameter: 0-155
        int value = 0;      // Parameter: the value; Note: the note number
        std::string text;   // Voice: its name; Refused: the reason
    };

    // Internal voices "TONELOFT01".."TONELOFT32" (init voices under our own
    // names), the init voice in the edit buffer, channel 1, all operators on.
    VirtualDx7();

    // The sound engine that plays what this instrument receives (notes,
    // controllers, pitch bend, the edit buffer and its parameter changes);
    // null, the default, for silence. Loads the edit buffer into it at once.
    void setInstrument(synth::FmInstrument* instrument);

    int channel() const { return m_channel; } // 0-15
    void setChannel(int channel);

    // Handles one complete message from the cable and returns what the
    // instrument sends back (dumps), in order.
    std::vector<ByteString> receive(std::string_view message);
    // A channel message (notes are recorded, nothing else is done).
    void receiveShort(std::uint32_t word);

    // What the front panel's "MIDI transmit" sends: the 32 voices as one bank message.
    ByteString transmitBank();

    ByteString bankDump() const;  // 4104 bytes, channel nibble = receive channel
    ByteString voiceDump() const; // the edit buffer, 163 bytes
    const ByteString& editBuffer() const { return m_editBuffer; }     // 155 bytes, unpacked
    const ByteString& internalVoices() const { return m_internal; }   // 4096 bytes, packed
    int operatorMask() const { return m_operatorMask; }               // bit 5 = operator 1

    const std::vector<Applied>& applied() const { return m_applied; }
    void clearApplied() { m_applied.clear(); }

private:
    void takeVoice(std::string_view message);
    void takeBank(std::string_view message);
    void takeParameter(std::string_view message);
    void refuse(std::string reason);

    int m_channel = 0;
    ByteString m_internal;   // 32 packed voices
    ByteString m_editBuffer; // one unpacked voice
    int m_operatorMask = 0x3F;
    synth::FmInstrument* m_instrument = nullptr;
    std::vector<Applied> m_applied;
};

} // namespace toneloft
