#pragma once

#include "common/KeyedCollection.h"
#include "voice/VoiceEditor.h"

namespace toneloft {

// The voice editors opened from one voice list, keyed by text ("V12").
using clsVoiceEditors = KeyedForms<VoiceEditor>;

} // namespace toneloft
