#pragma once

#include "common/ByteString.h"
#include "common/Recordset.h"
#include "library/SearchProgress.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace toneloft {

class VoiceList;

// Sorting the voices of one list into up to six new files by name patterns.
class PatchGrouping {
public:
    static constexpr int kGroups = 6;
    static constexpr std::size_t kMaxPatternLength = 10;
    // The condition of a group without any pattern; such a group is skipped.
    static constexpr const char* kNoPattern = "NO PATTERN";

    struct Group {
        bool ticked = false;
        std::string pattern1;
        std::string pattern2;
    };
    struct Options {
        std::array<Group, kGroups> groups;
        bool move = false;          // the voices leave the source list
        bool selectionOnly = false; // only the selected voices are searched
        std::string folder;         // where the files go; empty: the source file's folder
        bool openResults = true;    // open each new file as a list
        bool askRestore = true;     // offer to restore moved voices at the end
    };

    struct Refusal {
        std::string text;
        std::string title;
    };
    // Missing and bad patterns of the ticked groups, in group order (steps taken
    // before any search); nullopt when every ticked group may be searched.
    static std::optional<Refusal> checkGroups(const Options& options);
    // The pattern rule: at most two wildcards (* or %), only at the end of the
    // text, or at its beginning and end. reason is the message part on failure.
    static bool patternValid(const std::string& pattern, std::string& reason);
    static std::string invalidPatternText(const std::string& pattern, const std::string& reason);
    // "(Names LIKE 'p1' OR Names LIKE 'p2')", one pattern's condition alone, or kNoPattern.
    static std::string groupCondition(const Group& group);
    // The pattern texts without wildcards and unprintable characters, "Unknown"
    // when nothing is left, a blank, the number and ".dat".
    static std::string groupFileTitle(const Group& group, int number);

    struct Result {
        bool searched = false; // false: refused before any search
        int filesCreated = 0;
        long moved = 0;
        bool stopped = false;
        bool restored = false;
        std::vector<std::string> files; // in group order
    };
    // The grouping proper (patterns already checked).
    static Result GroupPatches(VoiceList& list, const Options& options, SearchProgress& progress);

    // The Search button: every check with its message, the grouping and the
    // closing question. extend is true when the user wants to group again.
    static Result Search(VoiceList& list, const Options& options, SearchProgress& progress, bool& extend);

    static std::string resultText(int filesCreated, const std::string& name);
    static std::string noSelectionText(const std::string& name);

    // The rows the cursor shows, as a voice image of the file type's layout.
    static ByteArray imageOf(Recordset& rows, int fileType);

private:
    static std::string chooseFile(VoiceList& list, const std::string& folder, std::string title);
};

} // namespace toneloft
