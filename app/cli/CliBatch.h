#pragma once

#include <memory>
#include <string>
#include <vector>

namespace toneloft {
class Session;
class VoiceList;
class Recordset;
} // namespace toneloft

namespace toneloft::cli {

// Batch commands with options of their own; argv starts after the command word.
int RunDedupe(int argc, char** argv, const std::string& programDirectory);
int RunGroup(int argc, char** argv, const std::string& programDirectory);

// Opens the files as one voice list in the first file's layout, the voices of
// each later file appended in order (packed or unpacked as the first needs).
// Null, with the reason already told, when a file cannot be opened.
// firstCount, when given, receives the number of voices of the first file.
std::shared_ptr<VoiceList> openAsOneList(Session& session, const std::vector<std::string>& files,
                                         long* firstCount = nullptr);

// Writes the rows the cursor shows in layout toType (framed for 1 and 3),
// converting from the list's fromType. False, with a message on stderr, on failure.
bool writeVoices(Session& session, Recordset& rows, int fromType, int toType, const std::string& path);

} // namespace toneloft::cli
