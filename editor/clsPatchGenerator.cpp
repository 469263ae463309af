#include "editor/clsPatchGenerator.h"

#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/VoicePacking.h"
#include "voice/VoiceParameterTable.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>
#include <cmath>

namespace toneloft {

namespace {

constexpr int kOperatorBlock = VoiceParameterTable::OperatorBlockSize; // 21 parameters
constexpr int kOperatorParameters = 6 * kOperatorBlock;                // 1..126

// Group within an operator (1..6) by block offset 0..20: rates 0-3, levels 4-7,
// level scaling 8-12, sensitivity 13-15, output level 16, oscillator 17-20.
constexpr std::array<int, kOperatorBlock> kOffsetGroup{1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3,
                                                       5, 5, 5, 4, 6, 6, 6, 6};

// The voice-wide parameters 127..145 and their groups: pitch EG rates 38, pitch EG
// levels 39, algorithm 37, feedback 41, oscillator key sync 42, LFO 40, transpose 43.
constexpr std::array<int, 19> kVoiceWideGroup{38, 38, 38, 38, 39, 39, 39, 39, 37, 41,
                                              42, 40, 40, 40, 40, 40, 40, 40, 43};

std::uint64_t systemSeed()
{
    std::random_device device;
    const auto ticks = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return (static_cast<std::uint64_t>(device()) << 32) ^ device() ^ ticks;
}

} // namespace

clsPatchGenerator::clsPatchGenerator(Session& session, std::optional<std::uint64_t> seed)
    : m_session(session), m_rng(seed ? *seed : systemSeed())
{
}

int clsPatchGenerator::groupOfParameter(int p)
{
    if (p < 1 || p > kParameters)
        return 0;
    if (p <= kOperatorParameters) {
        const int op = 6 - (p - 1) / kOperatorBlock;
        return (op - 1) * PatchGenTree::kOperatorGroups + kOffsetGroup[static_cast<std::size_t>((p - 1) % kOperatorBlock)];
    }
    return kVoiceWideGroup[static_cast<std::size_t>(p - kOperatorParameters - 1)];
}

long clsPatchGenerator::roundHalfEvenPercent(long n)
{
    long q = n / 100;
    long rem = n % 100;
    if (rem < 0) { // floor division
        rem += 100;
        --q;
    }
    if (rem > 50 || (rem == 50 && (q % 2) != 0))
        ++q;
    return q;
}

double clsPatchGenerator::nextUniform()
{
    // The top 53 bits as a fraction: exactly representable, never 1.
    return static_cast<double>(m_rng() >> 11) * 0x1.0p-53;
}

int clsPatchGenerator::newValue(std::span<const Column> columns, int max, int r)
{
    if (columns.empty())
        return 0;
    r = std::clamp(r, 0, 100);
    std::vector<int> ticked;
    ticked.reserve(columns.size());
    for (const Column& c : columns)
        if (c.ticked)
            ticked.push_back(c.value);
    // A new voice stays within the parameter's limits even when a source does not.
    if (ticked.empty())
        return std::clamp(columns.front().value, 0, max);

    const long a = ticked.front();
    long lo = 0;
    long hi = max;
    if (columns.size() > 1) {
        const auto [mn, mx] = std::minmax_element(ticked.begin(), ticked.end());
        lo = *mn;
        hi = *mx;
    }
    long hiWide = roundHalfEvenPercent(a * 100 + (hi - a) * r);
    long loWide = roundHalfEvenPercent(a * 100 - (a - lo) * r);
    hiWide = std::min<long>(hiWide, max);
    loWide = std::max<long>(loWide, 0);
    if (loWide >= hiWide)
        return static_cast<int>(std::clamp<long>(loWide == hiWide ? loWide : a, 0, max));
    const double x = nextUniform();
    const auto v = static_cast<long>(std::floor(static_cast<double>(hiWide - loWide + 1) * x + static_cast<double>(loWide)));
    return static_cast<int>(std::clamp(v, loWide, hiWide));
}

bool clsPatchGenerator::cancelled()
{
    // The loop turns on the first chance and then on a time budget: a voice
    // takes well under a millisecond, a turn of the loop may take as long.
    const auto now = std::chrono::steady_clock::now();
    if (!m_yielded || now - m_lastYield >= kYieldEvery) {
        m_yielded = true;
        m_session.ui().processEvents();
        m_lastYield = std::chrono::steady_clock::now();
    }
    bool cancel = false;
    if (CancelStatus)
        CancelStatus(cancel);
    return cancel;
}

ByteString clsPatchGenerator::generate(std::span<const Source> sources, int intRangeVar)
{
    if (sources.empty())
        return {};
    for (const Source& s : sources)
        if (s.params.size() < static_cast<std::size_t>(kParameters))
            return {};
    ByteString voice(static_cast<std::size_t>(kParameters), '0');
    std::vector<Column> table(sources.size());
    for (int p = 1; p <= kParameters; ++p) {
        const int g = groupOfParameter(p);
        const auto at = static_cast<std::size_t>(p - 1);
        for (std::size_t j = 0; j < sources.size(); ++j) {
            table[j].value = byteAt(sources[j].params, at);
            table[j].ticked = sources[j].ticked[static_cast<std::size_t>(g - 1)];
            if (cancelled())
                return {};
        }
        const int max = VoiceParameterTable::row(p - 1).max;
        voice[at] = toChar(newValue(table, max, intRangeVar));
    }
    return voice;
}

void clsPatchGenerator::CheckVoiceDataNodes(const PatchGenTree::Node& node)
{
    for (const PatchGenTree::Node* child : node.children) {
        if (child->checked)
            m_found = true;
        if (!child->children.empty())
            CheckVoiceDataNodes(*child);
    }
}

bool clsPatchGenerator::CheckVoiceDataNodesA(const PatchGenTree::Node& node)
{
    m_found = false;
    CheckVoiceDataNodes(node);
    return m_found;
}

std::vector<clsPatchGenerator::Source> clsPatchGenerator::collectSources(const PatchGenTree& VoiceTree)
{
    std::vector<Source> sources;
    for (const PatchGenTree::Node* node : VoiceTree.voices()) {
        if (!CheckVoiceDataNodesA(*node))
            continue;
        std::string listKey;
        long voiceNumber = 0;
        if (!PatchGenTree::parseVoiceKey(node->key, listKey, voiceNumber))
            continue;
        const auto list = m_session.colVoiceLists().Item(listKey);
        if (!list || voiceNumber > list->voiceCount())
            continue;
        auto rows = list->rsmfimage().clone();
        rows->setAbsolutePosition(voiceNumber);
        if (rows->eof() || rows->bof())
            continue;
        const std::string data = rows->text(clsVoiceNames::kData);
        ByteString unpacked;
        if (data.size() == kPackedVoiceSize - 10)
            unpacked = Unpack(data + rows->text(clsVoiceNames::kNames));
        else
            unpacked = data;
        if (unpacked.size() < static_cast<std::size_t>(kParameters))
            continue;
        Source source;
        source.params = unpacked.substr(0, static_cast<std::size_t>(kParameters));
        for (int g = 1; g <= PatchGenTree::kGroupCount; ++g) {
            const PatchGenTree::Node* box = VoiceTree.groupNode(*node, g);
            source.ticked[static_cast<std::size_t>(g - 1)] = box && box->checked;
        }
        sources.push_back(std::move(source));
    }
    return sources;
}

ByteString clsPatchGenerator::CreateNewPatch(const PatchGenTree& VoiceTree, int intRangeVar)
{
    const std::vector<Source> sources = collectSources(VoiceTree);
    return generate(sources, intRangeVar);
}

} // namespace toneloft
