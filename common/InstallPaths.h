#pragma once

#include <string>

namespace toneloft {

// Where an installed program finds its read-only files and where it may write.
//
// In the build tree the data sit beside the programs (build/bin/DXInit.dat,
// build/bin/help). An installation puts the programs in <prefix>/bin and the
// data in <prefix>/share/toneloft, which the programs find relative to
// themselves, so any prefix works.

// The share folder of an installation, relative to the programs' folder.
inline constexpr const char* kInstalledDataFolder = "../share/toneloft";

// programDirectory/name when it exists; else <programDirectory>/../share/toneloft/name
// when that exists; else programDirectory/name (so a message names the usual place).
std::string FindInstalledFile(const std::string& programDirectory, const std::string& name);

// True when the program runs from an installation: nothing of its data beside
// it, its DXInit.dat in the share folder.
bool RunsInstalled(const std::string& programDirectory);

// True when this process may create files in folder.
bool IsWritableFolder(const std::string& folder);

// The user's data folder as the desktop program's toolkit names it for the
// organisation and application "Toneloft": $XDG_DATA_HOME (when absolute) or
// $HOME/.local/share, then Toneloft/Toneloft. Empty when neither is set.
std::string UserDataFolder();

// What every program does at start: saves note their hidden files in the
// "pending-saves" folder of userDataFolder (none when it is empty), and what
// killed saves left (noted there, or ours in dataDirectory) is removed.
// Returns how many files were removed.
int CleanUpAfterKilledSaves(const std::string& userDataFolder, const std::string& dataDirectory);

} // namespace toneloft
