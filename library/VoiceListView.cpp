#include "library/VoiceListView.h"

#include "common/Banks.h"
#include "common/NumberText.h"
#include "voice/Session.h"
#include "voice/VoiceClipboard.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>

namespace toneloft {

namespace {

constexpr long kRowsPerColumn = 16;

// An empty list's caption cuts at the first point, a full one at the last.
std::string cutAtPoint(const std::string& fileName, bool first)
{
    const auto dot = first ? fileName.find('.') : fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

} // namespace

long VoiceListView::clampBank(long requested, long voices)
{
    return std::clamp(requested, 1L, BankCount(voices));
}

std::string VoiceListView::bankLabel(long bank, long voices)
{
    if (voices < 1)
        return "File is empty";
    return "Bank " + StrTrim(bank) + " of " + StrTrim(BankCount(voices));
}

std::string VoiceListView::caption(const std::string& fileName, long voices)
{
    if (voices < 1)
        return cutAtPoint(fileName, true);
    return cutAtPoint(fileName, false) + " [" + Str(voices) + " patch" + (voices >= 2 ? "es" : "") + " ]";
}

long VoiceListView::GetVoiceNo(long x, long y, long itemHeight, long listWidth, long bank, long voices)
{
    if (itemHeight <= 0 || listWidth <= 0 || x < 0 || y < 0)
        return 0;
    const long row = y / itemHeight;
    const long column = 2 * x / listWidth;
    if (row >= kRowsPerColumn || column > 1)
        return 0;
    const long voice = row + kRowsPerColumn * column + kVoicesPerBank * (bank - 1) + 1;
    return voice > voices || voice < 1 ? 0 : voice;
}

long VoiceListView::GetVoiceNumber(int keyCode, long bank, long listIndex)
{
    if (keyCode >= kPageUp)
        return kVoicesPerBank * (bank - 1) + listIndex + 1;
    return listIndex + 1;
}

bool VoiceListView::releaseMayRename(long voice, long lastClicked, long totalSelections, bool leftButton,
                                     bool shift, bool ctrl)
{
    if (voice < 1 || !leftButton || shift || ctrl)
        return false;
    return voice == lastClicked || totalSelections > 1;
}

VoiceListView::KeyResult VoiceListView::pagingKey(int keyCode, long bank, long voices)
{
    const long last = BankCount(voices);
    KeyResult r{clampBank(bank, voices), keyCode >= kPageUp && keyCode <= kDown};
    switch (keyCode) {
    case kPageUp:
        if (r.bank > 1)
            --r.bank;
        break;
    case kPageDown:
        if (r.bank < last)
            ++r.bank;
        break;
    case kEnd: r.bank = last; break;
    case kHome: r.bank = 1; break;
    default: break;
    }
    return r;
}

VoiceListView::Page VoiceListView::UpdateListBox(VoiceList& list, VoiceListViewState& view, long& bank)
{
    Page page;
    const long voices = list.voiceCount();
    Recordset& table = list.rsmfimage();
    if (!table.isOpen() || voices < 1 || table.recordCount() < 1) {
        page.label = bankLabel(1, 0);
        page.caption = caption(list.FileTitle, 0);
        return page;
    }
    bank = clampBank(bank, voices);
    view.bank = bank;
    page.bank = bank;
    page.banks = BankCount(voices);
    page.scrollEnabled = page.banks >= 2;
    page.label = bankLabel(bank, voices);
    page.caption = caption(list.FileTitle, voices);

    // A clone reads the bank so the table's own cursor stays where it was.
    auto rows = table.clone();
    const long first = FirstVoiceOfBank(bank);
    rows->setAbsolutePosition(first);
    for (long i = 0; i < kVoicesPerBank && first + i <= voices && !rows->eof(); ++i) {
        page.names.push_back(rows->text(clsVoiceNames::kNames));
        const bool on = list.tracker.isSelected(first + i);
        page.selected.push_back(on);
        page.anySelected = page.anySelected || on;
        rows->moveNext();
    }
    return page;
}

void VoiceListView::InitList(VoiceList& list, VoiceListViewState& view, long bank, bool reset, long first,
                             long last)
{
    if (reset) {
        list.tracker.reset(0, list.voiceCount());
        list.tracker.add(first, last);
    }
    view.bank = clampBank(bank, list.voiceCount());
    Session& session = list.session();
    session.notify([&](SessionObserver& o) { o.selectionChanged(list); });
}

VoiceListView::Commands VoiceListView::SetMenuAndToolbar(Session& session, const VoiceList& list,
                                                         bool active)
{
    Commands c;
    if (!active)
        return c;
    c.cutCopyDelete = list.tracker.TotalSelections() > 0;
    c.paste = !session.voiceClipboard().isEmpty();
    c.always = true;
    return c;
}

std::string VoiceListView::layoutText(int fileType)
{
    switch (fileType) {
    case 0: return "Data is unpacked without sysex headers";
    case 1: return "Data is unpacked. Patches have sysex headers";
    case 2: return "Data is packed without sysex headers";
    case 3: return "Data is packed.Banks have sysex headers";
    default: return {};
    }
}

long long VoiceListView::byteSize(int fileType, long voices)
{
    const long long n = voices;
    switch (fileType) {
    case 0: return 155 * n;
    case 1: return 163 * n;
    case 2: return 128 * n;
    case 3: return 128 * n + 8LL * BankCount(voices);
    default: return 0;
    }
}

VoiceListView::Properties VoiceListView::properties(const VoiceList& list)
{
    const long n = list.voiceCount();
    const long m = BankCount(n);
    Properties p;
    p.name = list.FileTitle;
    p.type = layoutText(list.FileType);
    p.size = Format(static_cast<double>(byteSize(list.FileType, n)), "#,###,###,##0") + " bytes";
    p.patches = Format(static_cast<double>(n), "#,###,###,##0");
    p.banks = Format(static_cast<double>(m), "#,###,###,##0");
    return p;
}

} // namespace toneloft
