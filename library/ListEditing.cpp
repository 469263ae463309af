#include "library/ListEditing.h"

#include "common/Banks.h"
#include "library/DragData.h"
#include "voice/Session.h"
#include "voice/VoiceClipboard.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/VoicePacking.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>

namespace toneloft {

namespace {

constexpr std::size_t kUnpackedDataSize = kUnpackedVoiceSize - 10;
constexpr std::size_t kPackedDataSize = kPackedVoiceSize - 10;

struct VoiceText {
    std::string data;
    std::string name;
};

// Data and Names from the cursor's current row to its end.
void readToEnd(Recordset& rows, std::vector<VoiceText>& out)
{
    for (; !rows.eof(); rows.moveNext())
        out.push_back({rows.text(clsVoiceNames::kData), rows.text(clsVoiceNames::kNames)});
}

void notifyChanged(Session& session, VoiceList& list)
{
    session.notify([&](SessionObserver& o) { o.listChanged(list); });
    session.notify([&](SessionObserver& o) { o.selectionChanged(list); });
}

} // namespace

ListEditing::Bookmarks ListEditing::bookmarksOf(VoiceList& list, const std::vector<long>& voices)
{
    Bookmarks marks;
    if (voices.empty() || !list.rsmfimage().isOpen())
        return marks;
    marks.reserve(voices.size());
    auto rows = list.rsmfimage().clone();
    long position = 1;
    for (long v : voices) {
        if (v < position)
            continue; // not ascending: skip rather than walk back
        rows->move(v - position);
        position = v;
        if (rows->eof())
            break;
        marks.push_back(rows->bookmark());
    }
    return marks;
}

ListEditing::Bookmarks ListEditing::ConvertTrackToBookMarksArrayVar(VoiceList& list)
{
    return bookmarksOf(list, list.tracker.selected());
}

bool ListEditing::EditCopy(VoiceList& list, const Bookmarks* bookmarks)
{
    const Bookmarks marks = bookmarks ? *bookmarks : ConvertTrackToBookMarksArrayVar(list);
    if (marks.empty())
        return false;
    auto rows = list.rsmfimage().clone();
    rows->setFilter(marks);
    auto copied = list.names().CopyRecordset(*rows, -1, rows->recordCount(), true);
    if (!copied || copied->recordCount() == 0)
        return false;
    Session& session = list.session();
    session.voiceClipboard().fill(std::move(copied), list.FileType);
    session.notify([](SessionObserver& o) { o.clipboardChanged(); });
    return true;
}

bool ListEditing::EditDelete(VoiceList& list, bool keepDeleted, const Bookmarks* bookmarks,
                             Recordset* deletedTable)
{
    const Bookmarks marks = bookmarks ? *bookmarks : ConvertTrackToBookMarksArrayVar(list);
    if (marks.empty())
        return false;
    Session& session = list.session();
    ListEditStep step(list, "Delete");
    {
        BusyPointer busy(session.ui());
        auto rows = list.rsmfimage().clone();
        rows->setFilter(marks);
        if (keepDeleted && deletedTable) {
            if (!deletedTable->isOpen())
                clsVoiceNames::InitRecordset(*deletedTable);
            list.names().CopyRecordset(*rows, *deletedTable, -1, rows->recordCount(), true);
        }
        rows->deleteFiltered();
        rows->clearFilter();
        list.setVoiceCount(rows->recordCount());
    }
    list.tracker.reset(0, list.voiceCount());
    step.commit();
    notifyChanged(session, list);
    return true;
}

bool ListEditing::EditCut(VoiceList& list)
{
    const Bookmarks marks = ConvertTrackToBookMarksArrayVar(list);
    if (!EditCopy(list, &marks))
        return false;
    ListEditStep step(list, "Cut");
    return EditDelete(list, false, &marks, nullptr);
}

void ListEditing::convertClipboard(Session& session, Recordset& rows, bool toPacked)
{
    ShowStatus(session.ui(), "Please Wait - converting patches", 0, 1);
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        const std::string data = rows.text(clsVoiceNames::kData);
        std::string name = rows.text(clsVoiceNames::kNames);
        name.resize(10, ' ');
        std::string converted;
        if (toPacked && data.size() == kUnpackedDataSize)
            converted = Pack(data + name).substr(0, kPackedDataSize);
        else if (!toPacked && data.size() == kPackedDataSize)
            converted = Unpack(data + name).substr(0, kUnpackedDataSize);
        else
            continue; // already in the target layout, or not a voice: left as it is
        rows.setValue(clsVoiceNames::kData, converted);
        rows.update();
    }
    rows.moveFirst();
    ShowStatus(session.ui(), "", 0, 0);
}

void ListEditing::insertClipboard(VoiceList& list, VoiceListViewState& view)
{
    Session& session = list.session();
    VoiceClipboard& clip = session.voiceClipboard();
    Recordset& clipRows = *clip.table;
    BusyPointer busy(session.ui());

    Recordset& table = list.rsmfimage();
    if (!table.isOpen())
        clsVoiceNames::InitRecordset(table);
    auto rows = table.clone();
    const long oldCount = rows->recordCount();
    if (view.currentVoice <= 0)
        view.currentVoice = 1;
    const long at = std::min(view.currentVoice, oldCount + 1);
    clip.targetType = static_cast<std::int16_t>(list.FileType);
    clip.insertPosition = static_cast<std::int32_t>(at);

    if (clip.sourceType != clip.targetType && IsPackedType(clip.sourceType) != IsPackedType(clip.targetType))
        convertClipboard(session, clipRows, IsPackedType(clip.targetType));

    const long n = clipRows.recordCount();
    for (long i = 0; i < n; ++i) {
        rows->addNew();
        rows->update();
    }

    // The old voices from the insert position on, then the empty rows: they
    // all move down by n, the clipboard fills the gap.
    std::vector<VoiceText> voices;
    voices.reserve(static_cast<std::size_t>(n + oldCount - at + 1));
    clipRows.moveFirst();
    readToEnd(clipRows, voices);
    rows->setAbsolutePosition(at);
    readToEnd(*rows, voices);

    rows->setAbsolutePosition(at);
    for (std::size_t i = 0; i < voices.size() && !rows->eof(); ++i, rows->moveNext()) {
        rows->setValue(clsVoiceNames::kData, voices[i].data);
        rows->setValue(clsVoiceNames::kNames, voices[i].name);
        rows->update();
    }

    list.setVoiceCount(rows->recordCount());
    view.pastedCount = n;
    clip.clear();
}

bool ListEditing::EditPaste(VoiceList& list, VoiceListViewState& view)
{
    Session& session = list.session();
    VoiceClipboard& clip = session.voiceClipboard();
    if (clip.isEmpty() || !clip.table)
        return false;
    ListEditStep step(list, "Paste", view.bank);
    insertClipboard(list, view);
    step.commit();
    const long at = session.voiceClipboard().insertPosition;
    list.tracker.reset(0, list.voiceCount());
    list.tracker.add(at, at + view.pastedCount - 1);
    view.bank = BankOfVoice(at);
    view.lastClickedVoice = at;
    notifyChanged(session, list);
    session.notify([](SessionObserver& o) { o.clipboardChanged(); });
    return true;
}

bool ListEditing::dropVoices(VoiceList& list, VoiceListViewState& view, long target, const std::string& dragText,
                             bool alt)
{
    if (target > 0)
        view.currentVoice = target;
    else if (list.voiceCount() > 0)
        return false;
    const auto drag = DragData::parse(dragText);
    if (!drag)
        return false;
    const auto source = list.session().colVoiceLists().Item(drag->key);
    if (!source || drag->voices.empty() || drag->voices.back() > source->voiceCount())
        return false;
    const bool sameList = source.get() == &list;
    if (sameList && drag->voices.size() == 1 && drag->voices.front() == target)
        return false;
    const bool move = !alt;
    if (move && sameList) {
        // The dragged voices above the target vanish before the paste.
        const long before = static_cast<long>(
            std::count_if(drag->voices.begin(), drag->voices.end(), [&](long v) { return v < target; }));
        view.currentVoice = std::max(1L, target - before);
    }
    const Bookmarks marks = bookmarksOf(*source, drag->voices);
    if (!EditCopy(*source, &marks))
        return false;
    // One step in each list's history: the source loses the voices, the target gains them.
    ListEditStep targetStep(list, move ? "Move" : "Copy", view.bank);
    if (move) {
        ListEditStep sourceStep(*source, "Move");
        EditDelete(*source, false, &marks, nullptr);
    }
    return EditPaste(list, view);
}

bool ListEditing::renameVoice(VoiceList& list, long voice, const std::string& name)
{
    if (voice < 1 || voice > list.voiceCount())
        return false;
    std::string padded = name;
    padded.resize(10, ' ');
    auto rows = list.rsmfimage().clone();
    rows->setAbsolutePosition(voice);
    if (rows->text(clsVoiceNames::kNames) == padded)
        return true; // unchanged: nothing to undo
    ListEditStep step(list, "Rename");
    rows->setValue(clsVoiceNames::kNames, padded);
    rows->update();
    step.commit();
    list.session().notify([&](SessionObserver& o) { o.listChanged(list); });
    return true;
}

} // namespace toneloft
