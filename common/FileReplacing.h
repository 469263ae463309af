#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace toneloft {

// Saving without ever losing the old file.
//
// The new content goes into a hidden file beside the one it replaces
// (".<name>.toneloft-save-<pid>-<n>"), is flushed to the disk and then renamed
// over the old file in one step: a save killed at any point leaves either the
// old file whole or the new one complete. A symbolic link is followed to the
// file it names, which is replaced; the link stays a link. The replaced file's
// permissions carry over to the new one.

// Where a save writes: path with every symbolic link along its chain followed
// (relative links from the link's folder). A path that is no link comes back as is.
std::string ResolveSaveTarget(const std::string& path);

// True for an existing file nobody may write by its permission bits (the user
// took the write bits away). Decided by the bits alone, so root sees it too.
bool IsReadOnlyFile(const std::string& path);

// Writes bytes to path as described above. On failure the old file is left as
// it was and nothing new remains; reason (when given) gets the system's word.
bool WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes,
                        std::string* reason = nullptr);

// A folder where every save notes the hidden file it is writing until it is
// renamed or removed, so that the next start can find what a killed save left
// in any folder. Empty (the default): no notes, and only the sweep of a save's
// own folder cleans up.
void SetPendingSaveFolder(const std::string& folder);

// Removes what killed saves left: the hidden files noted in the pending-save
// folder and any of ours in folder, unless the process that wrote them still
// runs. Returns how many files were removed.
int CleanLeftoverSaves(const std::string& folder = {});

} // namespace toneloft
