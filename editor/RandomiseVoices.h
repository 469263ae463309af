#pragma once

#include "common/ByteString.h"
#include "voice/Session.h"
#include "editor/PatchGenTree.h"
#include "editor/clsPatchGenerator.h"
#include "library/VoiceListViewState.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace toneloft {

class VoiceList;

// The core of the Patch Generator dialog: the tree of source voices kept in step
// with the open lists and their selections, the controls' state, and the runs
// that make voices into PatchGen.dat, send them and open them.
class RandomiseVoices : public SessionObserver {
public:
    static constexpr const char* kSingleLabel = "&Single Patch Variance";
    static constexpr const char* kMultipleLabel = "&Multiple Patch Variance";
    static constexpr const char* kStart = "Start";
    static constexpr const char* kStop = "Stop";
    static constexpr const char* kDefaultPrefix = "RandVc";
    static constexpr int kPrefixLength = 6;
    static constexpr std::int64_t kContinuousWaitMs = 1000;

    // What the dialog's controls show.
    struct Controls {
        bool startEnabled = false;
        bool continuousEnabled = false;
        bool loadEnabled = false;
        bool varianceEnabled = false; // the box, its spin and its label
        std::string varianceLabel = kSingleLabel;
        std::string buttonCaption = kStart;
        long sourceVoices = 0;
    };

    explicit RandomiseVoices(Session& session, std::optional<std::uint64_t> seed = {});
    ~RandomiseVoices() override;
    RandomiseVoices(const RandomiseVoices&) = delete;
    RandomiseVoices& operator=(const RandomiseVoices&) = delete;

    PatchGenTree& tree() { return m_tree; }
    clsPatchGenerator& generator() { return m_generator; }

    // A box ticked or cleared: the subtree follows, then CheckSiblings and
    // SetPatchGenControls.
    void tick(const std::string& key, bool checked);
    // Recounts the voices with ticked boxes, marks the base voice and works out
    // the controls.
    void SetPatchGenControls();
    const Controls& controls() const { return m_controls; }

    // The variance 0..100 (intRangeVar).
    int variance() const { return m_variance; }
    void setVariance(int percent);
    // Typed into the variance box: a number 0..100 becomes the variance; other
    // texts are ignored (false).
    bool varianceTyped(const std::string& text);

    const std::string& prefix() const { return m_prefix; }
    void setPrefix(std::string prefix) { m_prefix = std::move(prefix); }
    // The name of the k-th voice: the prefix in characters 1-6, k as " ##0" from 7.
    static std::string voiceName(const std::string& prefix, long k);

    bool continuous() const { return m_continuous; }
    // Ticking Continuous clears Load Voice on Creation.
    void setContinuous(bool on);
    bool loadOnCreation() const { return m_loadOnCreation; }
    void setLoadOnCreation(bool on);

    // Start: makes one voice, or voices until Stop when Continuous is ticked and
    // MIDI is on. Returns when the run ends; the event loop turns meanwhile.
    void start();
    // Stop: the voice being made is dropped and the run ends.
    void stop();
    bool running() const { return m_running; }
    // The progress event of the generator.
    void objRnd_CancelStatus(bool& Cancel);

    // The list of generated voices and how many this list has had.
    std::shared_ptr<VoiceList> patchList() const;
    long generatedCount() const { return m_count; }

    // The window layer: opens voice n of a list in an editor.
    std::function<void(VoiceList&, long)> openVoice;
    // The window layer: the state of a list's window, whose bank follows the
    // voices generated into the list.
    VoiceListViewStateOf viewOf;
    // The window layer: the controls or the tree changed.
    std::function<void()> changed;

    // Brings the voice nodes of a list in step with its selection.
    void syncList(VoiceList& list);

    // SessionObserver
    void listAdded(VoiceList& list) override;
    void listLoaded(VoiceList& list) override;
    void listChanged(VoiceList& list) override;
    void listRemoved(VoiceList& list) override;
    void patchGeneratorListReleased() override;
    void selectionChanged(VoiceList& list) override;

private:
    bool midiOn() const;
    bool storeVoice(const ByteString& params);
    void waitBetweenVoices();
    void releasePatchList();
    void notifyChanged();

    Session& m_session;
    PatchGenTree m_tree;
    clsPatchGenerator m_generator;
    Controls m_controls;
    int m_variance = 50;
    std::string m_prefix = kDefaultPrefix;
    bool m_continuous = false;
    bool m_loadOnCreation = false;
    bool m_running = false;
    bool m_continuousRun = false; // this run goes on until Stop
    bool m_stopRequested = false;
    std::string m_patchListId;
    long m_count = 0;
};

} // namespace toneloft
