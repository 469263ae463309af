#pragma once

#include "common/ByteString.h"
#include "editor/PatchGenTree.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <vector>

namespace toneloft {

class Session;

// Makes a new voice from the value ranges of chosen source voices: for each of
// the 145 parameters a value is drawn from the range the ticked sources span,
// widened toward the parameter's limits by the variance. One uniform generator,
// seeded once.
class clsPatchGenerator {
public:
    static constexpr int kParameters = 145; // the name is not generated

    // One source voice: its 145 parameter bytes and, per group 1..43, whether
    // its box is ticked (index 0 is group 1).
    struct Source {
        ByteString params;
        std::array<bool, PatchGenTree::kGroupCount> ticked{};
    };
    // The working table of one parameter: a column per source voice.
    struct Column {
        int value = 0;
        bool ticked = false;
    };

    // Without a seed the generator is seeded from the system.
    explicit clsPatchGenerator(Session& session, std::optional<std::uint64_t> seed = {});

    // Raised once per parameter and source voice while a voice is made; setting
    // Cancel stops the voice, and CreateNewPatch returns nothing.
    std::function<void(bool& Cancel)> CancelStatus;

    // The 145 parameter bytes of a new voice (code = value), or empty when no
    // voice of the tree has a ticked box or the caller cancelled.
    ByteString CreateNewPatch(const PatchGenTree& VoiceTree, int intRangeVar);
    // The same over sources already collected.
    ByteString generate(std::span<const Source> sources, int intRangeVar);

    // True when any box below the node is ticked.
    bool CheckVoiceDataNodesA(const PatchGenTree::Node& node);

    // The voices of the tree with at least one ticked box, in the order shown,
    // read from their lists (packed lists unpacked). A voice that can no
    // longer be read is left out.
    std::vector<Source> collectSources(const PatchGenTree& VoiceTree);

    // The value of one parameter from its working table (sources in order);
    // max is the parameter's upper limit, r the variance 0..100.
    int newValue(std::span<const Column> columns, int max, int r);

    // The group (1..43) of parameter p (1..145); 0 outside.
    static int groupOfParameter(int p);
    // n / 100 rounded to the nearest whole number, a half to the even one.
    static long roundHalfEvenPercent(long n);

    // How long generation runs between turns of the event loop. The cancel
    // event itself is raised for every parameter and source.
    static constexpr std::chrono::milliseconds kYieldEvery{15};

private:
    void CheckVoiceDataNodes(const PatchGenTree::Node& node);
    double nextUniform(); // [0, 1)
    bool cancelled();

    Session& m_session;
    std::mt19937_64 m_rng;
    bool m_found = false;
    bool m_yielded = false;
    std::chrono::steady_clock::time_point m_lastYield;
};

} // namespace toneloft
