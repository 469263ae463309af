#include "editor/RandomiseVoices.h"

#include "common/Banks.h"
#include "common/NumberText.h"
#include "common/SynthLink.h"
#include "library/VoiceAudition.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/VoicePacking.h"
#include "voice/VoiceParameterTable.h"
#include "voice/VoiceStore.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <thread>

namespace toneloft {

namespace {

constexpr std::size_t kNameLength = 10;
constexpr std::size_t kAlgorithmOffset = 134; // 0..31, shown as 1..32

} // namespace

RandomiseVoices::RandomiseVoices(Session& session, std::optional<std::uint64_t> seed)
    : m_session(session), m_generator(session, seed)
{
    m_generator.CancelStatus = [this](bool& cancel) { objRnd_CancelStatus(cancel); };
    if (m_session.patchSources.hasRoot)
        m_tree.ensureRoot();
    for (const auto& file : m_session.patchSources.files)
        m_tree.addFile(file.key, file.text);
    m_session.addObserver(this);
    for (const auto& list : m_session.colVoiceLists().NewEnum())
        syncList(*list);
    SetPatchGenControls();
}

RandomiseVoices::~RandomiseVoices()
{
    m_session.removeObserver(this);
}

bool RandomiseVoices::midiOn() const
{
    const SynthLink* synth = m_session.synth();
    return synth && synth->outputOpen();
}

void RandomiseVoices::notifyChanged()
{
    if (changed)
        changed();
}

// --- Ticks and controls -------------------------------------------------------

void RandomiseVoices::tick(const std::string& key, bool checked)
{
    PatchGenTree::Node* node = m_tree.find(key);
    if (!node)
        return;
    m_tree.setChecked(*node, checked);
    SetPatchGenControls();
}

void RandomiseVoices::SetPatchGenControls()
{
    const PatchGenTree::Node* base = nullptr;
    long count = 0;
    for (const PatchGenTree::Node* voice : m_tree.voices()) {
        if (!m_generator.CheckVoiceDataNodesA(*voice))
            continue;
        if (!base)
            base = voice;
        ++count;
    }
    m_tree.markBase(base);

    Controls c;
    const bool any = count > 0;
    c.sourceVoices = count;
    const bool stopShown = m_running && m_continuousRun && !m_stopRequested;
    c.buttonCaption = stopShown ? kStop : kStart;
    // A single voice is quick: its button waits for it; a continuous run's button is Stop.
    c.startEnabled = any && (!m_running || stopShown);
    c.varianceEnabled = any;
    c.continuousEnabled = any && midiOn();
    c.loadEnabled = any && !m_continuous;
    c.varianceLabel = count > 1 ? kMultipleLabel : kSingleLabel;
    m_controls = c;
    notifyChanged();
}

void RandomiseVoices::setVariance(int percent)
{
    m_variance = std::clamp(percent, 0, 100);
}

bool RandomiseVoices::varianceTyped(const std::string& text)
{
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first != last && *first == ' ')
        ++first;
    while (last != first && last[-1] == ' ')
        --last;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (first == last || ec != std::errc() || end != last || value < 0 || value > 100)
        return false;
    m_variance = value;
    return true;
}

void RandomiseVoices::setContinuous(bool on)
{
    m_continuous = on;
    if (on)
        m_loadOnCreation = false;
    SetPatchGenControls();
}

void RandomiseVoices::setLoadOnCreation(bool on)
{
    m_loadOnCreation = on && !m_continuous;
}

std::string RandomiseVoices::voiceName(const std::string& prefix, long k)
{
    std::string name(kNameLength, ' ');
    name.replace(0, std::min<std::size_t>(prefix.size(), kPrefixLength), prefix, 0, kPrefixLength);
    const std::string number = Format(static_cast<double>(k), " ##0");
    const std::size_t room = kNameLength - kPrefixLength;
    name.replace(kPrefixLength, std::min(number.size(), room), number, 0, room);
    return name;
}

// --- Runs ------------------------------------------------------------------------

void RandomiseVoices::objRnd_CancelStatus(bool& Cancel)
{
    Cancel = m_stopRequested;
}

void RandomiseVoices::start()
{
    if (m_running)
        return;
    m_running = true;
    m_stopRequested = false;
    m_continuousRun = m_continuous && midiOn();
    SetPatchGenControls();
    for (;;) {
        const ByteString params = m_generator.CreateNewPatch(m_tree, m_variance);
        if (params.empty() || m_stopRequested)
            break;
        if (!storeVoice(params) || !m_continuousRun || m_stopRequested)
            break;
        waitBetweenVoices();
        // Continuous runs are for hearing the voices: they end with the MIDI output.
        if (m_stopRequested || !midiOn())
            break;
    }
    m_running = false;
    m_continuousRun = false;
    m_stopRequested = false;
    SetPatchGenControls();
}

void RandomiseVoices::stop()
{
    if (!m_running)
        return;
    m_stopRequested = true;
    SetPatchGenControls();
}

void RandomiseVoices::waitBetweenVoices()
{
    UiServices& ui = m_session.ui();
    const std::int64_t start = ui.clock();
    std::int64_t last = start;
    while (!m_stopRequested && ui.clock() - start < kContinuousWaitMs) {
        ui.processEvents();
        const std::int64_t now = ui.clock();
        // Nothing to do and the clock standing still: give the processor back.
        if (now == last)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        last = now;
    }
}

std::shared_ptr<VoiceList> RandomiseVoices::patchList() const
{
    return m_patchListId.empty() ? nullptr : m_session.colVoiceLists().Item(m_patchListId);
}

bool RandomiseVoices::storeVoice(const ByteString& params)
{
    auto list = patchList();
    long position = 1;
    const std::string fileName = m_session.DataDirectory() + Session::kPatchGenTitle;
    if (!list) {
        // A PatchGen.dat the user opened is not written over: the voices join it.
        if (auto open = m_session.colVoiceLists().findByFileName(fileName)) {
            list = open;
            m_patchListId = open->ID;
            m_count = open->voiceCount();
        }
    }
    const long k = m_count + 1;
    const ByteString voice = params + voiceName(m_prefix, k);
    if (!list) {
        // The first voice makes the file, and the file a list that was never saved.
        clsVoiceNames names(m_session);
        if (!names.SaveVoiceDataToFileByt(nullptr, fileName, 0, false, voice, Session::kPatchGenTitle,
                                          clsVoiceNames::FileAttributes::Normal))
            return false;
        list = names.CreateVoiceListandFileImage(fileName, true);
        if (!list)
            return false;
        m_patchListId = list->ID;
        m_count = 1;
    } else {
        VoiceListViewState* view = viewOf ? viewOf(*list) : nullptr;
        ListEditStep step(*list, "Generate", view ? view->bank : 0);
        if (!SaveVoiceData(list->rsmfimage(), list->FileType, 0, voice, true))
            return false;
        step.commit();
        m_count = k;
        // The list grows by one; what the user had selected in it stays selected.
        const std::vector<long> selected = list->tracker.selected();
        const long anchor = list->tracker.anchor;
        list->setVoiceCount(list->rsmfimage().recordCount());
        list->tracker.reset(0, list->voiceCount());
        for (long v : selected)
            list->tracker.add(v, v);
        list->tracker.anchor = anchor;
        position = list->voiceCount();
        // Until the list is saved under a name of its own, its file keeps every voice made.
        if (list->mark == VoiceList::kNeverSaved)
            WriteFileReplacing(list->FileName, list->image());
        if (view)
            view->bank = BankOfVoice(position);
        m_session.notify([&](SessionObserver& o) { o.listChanged(*list); });
    }
    if (midiOn())
        m_session.synth()->sendVoice(voice, false);
    if (m_loadOnCreation && openVoice)
        openVoice(*list, position);
    return true;
}

void RandomiseVoices::releasePatchList()
{
    m_patchListId.clear();
    m_count = 0;
    // Whatever is being made has nowhere to go.
    if (m_running)
        m_stopRequested = true;
}

// --- The tree in step with the lists -------------------------------------------------

void RandomiseVoices::syncList(VoiceList& list)
{
    PatchGenTree::Node* file = m_tree.find(list.ID);
    if (!file) {
        if (!m_session.colVoiceLists().Item(list.ID))
            return;
        file = m_tree.addFile(list.ID, list.FileTitle);
    }
    const SelectionTracker& tracker = list.tracker;

    bool anyTicked = false;
    if (m_tree.voiceCount() > 0) {
        const std::vector<PatchGenTree::Node*> nodes = file->children;
        for (PatchGenTree::Node* node : nodes) {
            std::string listKey;
            long n = 0;
            if (!PatchGenTree::parseVoiceKey(node->key, listKey, n) || n > list.voiceCount() ||
                !tracker.isSelected(n)) {
                m_tree.removeVoice(node->key);
                continue;
            }
            if (node->checked || m_generator.CheckVoiceDataNodesA(*node))
                anyTicked = true;
        }
    }
    if (!anyTicked)
        file->checked = false;

    for (long v : tracker.selected()) {
        PatchGenTree::Node* existing = m_tree.find(PatchGenTree::voiceKey(list.ID, v));
        // A selection of thousands reads only the voices the tree shows.
        if (!existing && m_tree.voiceCount() >= PatchGenTree::kMaxVoices)
            continue;
        const ByteString voice = VoiceAudition::voiceString(m_session, list, v, 1);
        if (voice.size() < kUnpackedVoiceSize)
            continue;
        const std::string text = PatchGenTree::voiceText(v, voice.substr(VoiceParameterTable::DataRowCount, kNameLength),
                                                         byteAt(voice, kAlgorithmOffset) + 1);
        if (existing) {
            // The number may stand for another voice after a paste or a sort.
            existing->baseText = text;
            continue;
        }
        PatchGenTree::Node* node = m_tree.addVoice(list.ID, v, text);
        // A new voice under a ticked list comes ticked, as the rest of it is.
        if (node && file->checked)
            m_tree.setChecked(*node, true);
    }
    if (!file->children.empty())
        m_tree.CheckSiblings(*file->children.front());
    else
        m_tree.CheckSiblings(*file);
    SetPatchGenControls();
}

void RandomiseVoices::listAdded(VoiceList& list)
{
    PatchGenTree::Node* file = m_tree.addFile(list.ID, list.FileTitle);
    m_tree.CheckSiblings(*file);
    SetPatchGenControls();
}

void RandomiseVoices::listLoaded(VoiceList& list)
{
    syncList(list);
}

void RandomiseVoices::listChanged(VoiceList& list)
{
    // Saved under a name of its own, the list is the user's now.
    if (list.ID == m_patchListId && list.FileTitle != Session::kPatchGenTitle)
        releasePatchList();
    if (PatchGenTree::Node* file = m_tree.find(list.ID))
        file->baseText = list.FileTitle;
    syncList(list);
}

void RandomiseVoices::listRemoved(VoiceList& list)
{
    m_tree.removeFile(list.ID);
    if (m_session.colVoiceLists().count() == 0)
        m_tree.clear();
    else if (PatchGenTree::Node* root = m_tree.root(); root && !root->children.empty())
        m_tree.CheckSiblings(*root->children.front());
    if (list.ID == m_patchListId)
        releasePatchList();
    SetPatchGenControls();
}

void RandomiseVoices::patchGeneratorListReleased()
{
    // Told before the list is renamed or removed; listChanged and listRemoved
    // see the outcome.
    const auto list = patchList();
    if (!list)
        releasePatchList();
}

void RandomiseVoices::selectionChanged(VoiceList& list)
{
    syncList(list);
}

} // namespace toneloft
