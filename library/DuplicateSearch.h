#pragma once

#include "common/Recordset.h"
#include "library/SearchProgress.h"
#include "library/VoiceListViewState.h"

#include <memory>
#include <string>
#include <vector>

namespace toneloft {

class Session;
class VoiceList;

// Finding the voices of one list that duplicate other voices of the same list,
// and taking them out. Each voice of the range that is not already marked is
// compared with every voice of the list; the voices that match it are its
// duplicates.
class DuplicateSearch {
public:
    enum class Rule {
        NamesOnly = 0,   // Names equal
        Checksum = 1,    // ChecksumAll and Names equal
        CrcAll = 2,      // CRCAll equal
        CrcExName = 3    // CRCExName equal
    };
    enum class Range { AllVoices = 0, Selection = 1, Bank = 2 };
    // How the matches of a voice are found: through hash indexes over the keys,
    // or by filtering the table once per voice (quadratic; kept as the reference).
    enum class Method { Indexed, FilterPerVoice };

    struct Options {
        Rule rule = Rule::CrcAll;
        bool autoDelete = false;
        Range range = Range::AllVoices;
        bool sortFirst = false;
        Method method = Method::Indexed;
        // Ask at the end whether the removed voices go to a "Del " file. The
        // command-line tool writes them itself.
        bool offerRemovedFile = true;
        // The list window's state: its bank is the Bank range, and a sort first
        // puts the bank of the first selected voice on screen. Read and moved
        // only before the search proper starts. Null: bank 1, nothing moved.
        VoiceListViewState* view = nullptr;
    };

    struct Result {
        bool searched = false; // false: refused (no selection) before any work
        bool stopped = false;  // cancelled or stopped before the end of the range
        long found = 0;
        long deleted = 0;
        std::vector<long> marked; // voice numbers at the start of the search, ascending
        std::unique_ptr<Recordset> removed; // the voices taken out, in list order
        std::string removedFile; // the "Del " file written, if any
    };

    // The whole command: backup, keys, search, removal and the closing messages.
    static Result SearchDuplicates(VoiceList& list, const Options& options, SearchProgress& progress);

    struct Marks {
        std::vector<long> marked; // ascending voice numbers
        long found = 0;
        long deleted = 0;
        bool stopped = false;
        long lastFound = 0; // voice of the last question, for the single-voice texts
    };
    // The search proper on a table whose keys are filled: marks DelSelected on the
    // duplicates of the range's voices (ascending numbers). Asks per voice unless
    // autoDelete.
    static Marks markDuplicates(Session& session, Recordset& table, const std::vector<long>& range,
                                const Options& options, SearchProgress& progress);

    // The voices a range covers on the list (empty: nothing selected); bank is
    // the one on screen, for Range::Bank.
    static std::vector<long> rangeVoices(VoiceList& list, Range range, long bank = 1);

    // Message texts.
    static std::string matchQuestion(long count, const std::string& name, Rule rule);
    static std::string matchTitle(long count);
    static std::string noSelectionText(const std::string& name);
    static std::string noneFoundText(const std::string& name);
    static std::string noneDeletedText(long found, const std::string& singleName);
    static std::string removedQuestion(long found, long deleted, const std::string& name,
                                       const std::string& newFile);

    // A file name beside folder, "Del " + title's stem + a running number, free on disk.
    static std::string removedFileName(const std::string& folder, const std::string& fileTitle);
};

} // namespace toneloft
