#pragma once

#include "common/KeyedCollection.h"
#include "voice/VoiceRecordset.h"

namespace toneloft {

// The parameter tables of the voices open in one list's editors, keyed as the editors.
using clsVoiceRecordsets = KeyedForms<VoiceRecordset>;

} // namespace toneloft
