#pragma once

#include "common/Recordset.h"

#include <string>
#include <string_view>

namespace toneloft {

class Session;
class VoiceEditor;

// Stores the voice of an editor back into its list (File > Save Voice, and before
// a list is saved). With ask set, the user confirms first. Without an editor the
// active one is taken. True when stored or unchanged; false when there was no
// editor, the voice is corrupt, the user declined or the store failed.
bool SaveVoice(Session& session, bool ask, VoiceEditor* editor);

// Writes one voice (155 characters, unpacked) into the row at position (1-based)
// of a voice-name table, or into a new last row with append. Packed lists (type 2
// or 3) get the packed form. False when the position is not a row.
bool SaveVoiceData(Recordset& names, int fileType, long position, std::string_view voice, bool append);

} // namespace toneloft
