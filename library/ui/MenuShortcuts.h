#pragma once

#include "library/ui/Preferences.h"

namespace toneloft {

class frmStartup;

// Puts a key scheme on the main window's menu entries. The classic keys are
// whatever an entry had before the first switch, so keys added to an entry
// elsewhere come back with it.
void applyKeyScheme(frmStartup& mainWindow, Preferences::KeyScheme scheme);

} // namespace toneloft
