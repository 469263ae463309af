#include "library/PatchGrouping.h"

#include "common/RecordsetValue.h"
#include "common/NumberText.h"
#include "voice/Session.h"
#include "library/ListEditing.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

namespace toneloft {

namespace {

constexpr const char* kCrLf = "\r\n";

bool isWildcard(char c)
{
    return c == '*' || c == '%';
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}


// The patterns of a group that hold anything.
std::vector<std::string> patternsOf(const PatchGrouping::Group& group)
{
    std::vector<std::string> out;
    for (const std::string* p : {&group.pattern1, &group.pattern2})
        if (!trimmed(*p).empty())
            out.push_back(*p);
    return out;
}

// A pattern's text for a file name: no wildcards, control characters, codes of
// 128 and above, nor folder separators.
std::string fileText(const std::string& pattern)
{
    std::string out;
    for (char c : pattern) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '*' || c == '_' || u < 32 || u == 127 || u >= 128 || c == '/' || c == '\\')
            continue;
        out += c;
    }
    return trimmed(out);
}

} // namespace

bool PatchGrouping::patternValid(const std::string& pattern, std::string& reason)
{
    if (pattern.empty())
        return true;
    const auto wildcards = std::count_if(pattern.begin(), pattern.end(), isWildcard);
    if (wildcards > 2) {
        reason = "You have entered more than two wildcard characters in this string.";
        return false;
    }
    const std::size_t last = pattern.size() - 1;
    bool placed = true;
    if (wildcards == 1)
        placed = isWildcard(pattern[last]);
    else if (wildcards == 2)
        placed = pattern.size() >= 2 && isWildcard(pattern[0]) && isWildcard(pattern[last]);
    if (!placed) {
        reason = std::string("The wildcard character has been incorrectly used.") + kCrLf +
                 "You can only use  wildcard at the beginning and/or end of a text search string";
        return false;
    }
    return true;
}

std::string PatchGrouping::invalidPatternText(const std::string& pattern, const std::string& reason)
{
    return "Error in the following search string : " + pattern + kCrLf + kCrLf + reason + "." + kCrLf + kCrLf +
           "Wildcard characters (* and %) can be placed after, or before and after the text part of a search "
           "string. " +
           kCrLf +
           "Wildcards are not recognised as special characters if you put then either only before or within in "
           "the text part of your search string." +
           kCrLf + kCrLf + "Please correct the search string : ";
}

std::optional<PatchGrouping::Refusal> PatchGrouping::checkGroups(const Options& options)
{
    for (const Group& g : options.groups)
        if (g.ticked && patternsOf(g).empty())
            return Refusal{"Please enter a search pattern ", "No Search Pattern"};
    for (const Group& g : options.groups) {
        if (!g.ticked)
            continue;
        for (const std::string& p : patternsOf(g)) {
            std::string reason;
            if (!patternValid(p, reason))
                return Refusal{invalidPatternText(p, reason), "Search String Invalid"};
        }
    }
    return std::nullopt;
}

std::string PatchGrouping::groupCondition(const Group& group)
{
    const auto patterns = patternsOf(group);
    if (patterns.empty())
        return kNoPattern;
    if (patterns.size() == 1)
        return "Names LIKE " + recordset::quoted(patterns[0]);
    return "(Names LIKE " + recordset::quoted(patterns[0]) + " OR Names LIKE " + recordset::quoted(patterns[1]) + ")";
}

std::string PatchGrouping::groupFileTitle(const Group& group, int number)
{
    std::string text;
    for (const std::string& p : patternsOf(group)) {
        const std::string part = fileText(p);
        if (part.empty())
            continue;
        text += text.empty() ? part : " and " + part;
    }
    if (text.empty())
        text = "Unknown";
    return text + " " + Format(number, "####") + ".dat";
}

ByteArray PatchGrouping::imageOf(Recordset& rows, int fileType)
{
    ByteArray image;
    const int size = VoiceSizeOfType(fileType);
    if (size <= 0)
        return image;
    const auto dataSize = static_cast<std::size_t>(size - 10);
    const int dataField = rows.fieldIndex(clsVoiceNames::kData);
    const int namesField = rows.fieldIndex(clsVoiceNames::kNames);
    image.reserve(static_cast<std::size_t>(rows.recordCount()) * static_cast<std::size_t>(size));
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        std::string data = rows.text(dataField);
        std::string name = rows.text(namesField);
        data.resize(dataSize, '\0');
        name.resize(10, ' ');
        image.insert(image.end(), data.begin(), data.end());
        image.insert(image.end(), name.begin(), name.end());
    }
    rows.moveFirst();
    return image;
}

std::string PatchGrouping::chooseFile(VoiceList& list, const std::string& folder, std::string title)
{
    UiServices& ui = list.session().ui();
    for (;;) {
        std::error_code ec;
        if (!std::filesystem::exists(folder + title, ec))
            return folder + title;
        const auto answer =
            ui.inputBox("The file " + title + " already exists." + kCrLf + kCrLf +
                            "Please enter an alternative name or press OK to overwrite this file",
                        "File already exists", title);
        if (!answer)
            return {};
        if (*answer == title) {
            const MsgResult sure = ui.MsgBox("Are you sure you want to overwrite " + title + "?",
                                             "Overwrite existing file", MsgIcon::Question, MsgButtons::YesNoCancel);
            // The new file replaces the old in one rename, so nothing is deleted first.
            // No or Cancel: this group gets no file (an unattended run never loops here).
            return sure == MsgResult::Yes ? folder + title : std::string();
        }
        const std::string typed = trimmed(*answer);
        if (!typed.empty() && typed.find('/') == std::string::npos && typed.find('\\') == std::string::npos)
            title = typed;
    }
}

PatchGrouping::Result PatchGrouping::GroupPatches(VoiceList& list, const Options& options, SearchProgress& progress)
{
    Session& session = list.session();
    UiServices& ui = session.ui();
    const std::string name = list.FileTitle;
    Result result;
    BusyPointer busy(ui);

    // Every group's moved voices together are one step to undo.
    ListEditStep step(list, "Group");
    ShowStatus(ui, "Please Wait - Backing up database for " + name);
    // Only moved voices can be restored; copying leaves the list as it was.
    std::unique_ptr<Recordset> backup;
    if (options.move) {
        Recordset& table = list.rsmfimage();
        backup = list.names().CopyRecordset(table, -1, table.recordCount(), true);
    }

    // Kept as bookmarks: moved voices drop out, the rest stay selected for later groups.
    std::unordered_set<Recordset::Bookmark> selected;
    if (options.selectionOnly)
        for (auto b : ListEditing::ConvertTrackToBookMarksArrayVar(list))
            selected.insert(b);

    const int total = static_cast<int>(std::count_if(options.groups.begin(), options.groups.end(),
                                                     [](const Group& g) { return g.ticked; }));
    const std::string folder = options.folder.empty() ? list.FilePath : withTrailingSeparator(options.folder);
    progress.open();
    int position = 0;
    for (int i = 0; i < kGroups; ++i) {
        const Group& group = options.groups[static_cast<std::size_t>(i)];
        if (!group.ticked)
            continue;
        ++position;
        ShowStatus(ui, "Please wait - processing search " + std::to_string(position) + " of " +
                           std::to_string(total));
        const std::string condition = groupCondition(group);
        if (condition == kNoPattern)
            continue;
        auto rows = list.rsmfimage().clone();
        if (!rows->setFilter(condition)) {
            ui.MsgBox("The Group search could not be completed because there was an error in the search pattern " +
                          patternsOf(group).front() + " for Group " + std::to_string(i + 1),
                      "Search String Invalid", MsgIcon::Exclamation);
            continue;
        }
        ListEditing::Bookmarks matches;
        for (rows->moveFirst(); !rows->eof(); rows->moveNext())
            if (!options.selectionOnly || selected.count(rows->bookmark()))
                matches.push_back(rows->bookmark());
        GroupStatus status{i + 1, position, total, static_cast<long>(matches.size()), result.filesCreated};
        if (!matches.empty()) {
            const std::string fileName = chooseFile(list, folder, groupFileTitle(group, i + 1));
            if (!fileName.empty()) {
                rows->setFilter(matches);
                const ByteArray image = imageOf(*rows, list.FileType);
                const bool framed = list.FileType == 1 || list.FileType == 3;
                const std::string title = std::filesystem::path(fileName).filename().string();
                if (list.names().SaveVoiceDataToFileByt(&image, fileName, list.FileType, framed, {}, title,
                                                        clsVoiceNames::FileAttributes::Normal)) {
                    ++result.filesCreated;
                    result.files.push_back(fileName);
                    if (options.openResults) {
                        clsVoiceNames opener(session);
                        opener.CreateVoiceListandFileImage(fileName, true);
                    }
                    if (options.move) {
                        ShowStatus(ui, "Please Wait - deleting patches");
                        ListEditing::EditDelete(list, false, &matches, nullptr);
                        result.moved += static_cast<long>(matches.size());
                    }
                }
            }
        }
        status.filesCreated = result.filesCreated;
        progress.GroupStatus(status);
        ui.processEvents();
        if (progress.takeCancelRequest() &&
            ui.MsgBox("Are You sure you want to stop this search ?", "Search Interrupted", MsgIcon::Question,
                      MsgButtons::YesNoCancel) == MsgResult::Yes) {
            result.stopped = true;
            break;
        }
    }
    progress.close();
    ShowStatus(ui, "", 0, 0);

    if (result.moved > 0 && options.askRestore && backup &&
        ui.MsgBox(" Search Complete - would you like to restore the deletions you have made from " + name + "?",
                  "Restore Deletions", MsgIcon::Question, MsgButtons::YesNo) == MsgResult::Yes) {
        list.setRsmfimage(std::move(backup));
        list.tracker.reset(0, list.voiceCount());
        result.restored = true;
    }
    session.notify([&](SessionObserver& o) { o.listChanged(list); });
    session.notify([&](SessionObserver& o) { o.selectionChanged(list); });
    return result;
}

PatchGrouping::Result PatchGrouping::Search(VoiceList& list, const Options& options, SearchProgress& progress,
                                            bool& extend)
{
    UiServices& ui = list.session().ui();
    extend = false;
    if (const auto refusal = checkGroups(options)) {
        const bool missing = refusal->title == "No Search Pattern";
        ui.MsgBox(refusal->text, refusal->title, missing ? MsgIcon::Information : MsgIcon::Exclamation);
        return {};
    }
    if (options.selectionOnly && list.tracker.TotalSelections() == 0) {
        ui.MsgBox(noSelectionText(list.FileTitle), "No Voices Selected", MsgIcon::Information);
        return {};
    }
    Result result = GroupPatches(list, options, progress);
    result.searched = true;
    extend = ui.MsgBox(resultText(result.filesCreated, list.FileTitle), "Extend Search", MsgIcon::Question,
                       MsgButtons::YesNoCancel) == MsgResult::Yes;
    return result;
}

std::string PatchGrouping::resultText(int filesCreated, const std::string& name)
{
    const std::string head = filesCreated == 0 ? std::string("No matches were found. ")
                                               : "Search results: " + std::to_string(filesCreated) + " file" +
                                                     (filesCreated == 1 ? "" : "s") + " created. ";
    return head + kCrLf + kCrLf + "Would you like to create some more Patch Groups from " + name + "?";
}

std::string PatchGrouping::noSelectionText(const std::string& name)
{
    return "Please select the voice patches in " + name + " you want to use for this search";
}

} // namespace toneloft
