#pragma once

#include "common/ByteString.h"

#include <string_view>

namespace toneloft {

class Session;
class VoiceList;

// What a voice list sends to the synthesiser as the user works in it.
namespace VoiceAudition {

// Voice n (1-based) of the list: layout 1 the unpacked 155 bytes, 2 the packed
// 128, name included. Empty when there is no such voice.
ByteString voiceString(Session& session, VoiceList& list, long voice, int layout = 1);

// A click on voice n: while MIDI output is open the voice goes out as a
// single-voice dump, followed by the test scale when playScale is set (the
// right button). False when nothing was sent.
bool auditionVoice(Session& session, VoiceList& list, long voice, bool playScale);

// After a rename: the ten characters of the name as parameter changes 146 to
// 155, in order, while MIDI output is open. False when nothing was sent.
bool sendVoiceName(Session& session, std::string_view name);

} // namespace VoiceAudition
} // namespace toneloft
