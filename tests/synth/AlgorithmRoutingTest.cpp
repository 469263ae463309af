// Each algorithm's wiring checked against the published chart data, by ear:
// a carrier alone sounds, a modulator alone does not, and a modulator turned
// up beside a carrier colours it only when the chart joins them.
#include "SoundAnalysis.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace toneloft::synth::test {
namespace {

// The machine-readable routing of the 32 algorithms, as published with the
// engine's reference material (carriers; modulation edges src>dst; feedback).
constexpr const char* kChart = R"(alg 1: carriers=1,3; edges=2>1,4>3,5>4,6>5; fb=6>6
alg 2: carriers=1,3; edges=2>1,4>3,5>4,6>5; fb=2>2
alg 3: carriers=1,4; edges=2>1,3>2,5>4,6>5; fb=6>6
alg 4: carriers=1,4; edges=2>1,3>2,5>4,6>5; fb=4>6
alg 5: carriers=1,3,5; edges=2>1,4>3,6>5; fb=6>6
alg 6: carriers=1,3,5; edges=2>1,4>3,6>5; fb=5>6
alg 7: carriers=1,3; edges=2>1,4>3,5>3,6>5; fb=6>6
alg 8: carriers=1,3; edges=2>1,4>3,5>3,6>5; fb=4>4
alg 9: carriers=1,3; edges=2>1,4>3,5>3,6>5; fb=2>2
alg 10: carriers=1,4; edges=2>1,3>2,5>4,6>4; fb=3>3
alg 11: carriers=1,4; edges=2>1,3>2,5>4,6>4; fb=6>6
alg 12: carriers=1,3; edges=2>1,4>3,5>3,6>3; fb=2>2
alg 13: carriers=1,3; edges=2>1,4>3,5>3,6>3; fb=6>6
alg 14: carriers=1,3; edges=2>1,4>3,5>4,6>4; fb=6>6
alg 15: carriers=1,3; edges=2>1,4>3,5>4,6>4; fb=2>2
alg 16: carriers=1; edges=2>1,3>1,5>1,4>3,6>5; fb=6>6
alg 17: carriers=1; edges=2>1,3>1,5>1,4>3,6>5; fb=2>2
alg 18: carriers=1; edges=2>1,3>1,4>1,5>4,6>5; fb=3>3
alg 19: carriers=1,4,5; edges=2>1,3>2,6>4,6>5; fb=6>6
alg 20: carriers=1,2,4; edges=3>1,3>2,5>4,6>4; fb=3>3
alg 21: carriers=1,2,4,5; edges=3>1,3>2,6>4,6>5; fb=3>3
alg 22: carriers=1,3,4,5; edges=2>1,6>3,6>4,6>5; fb=6>6
alg 23: carriers=1,2,4,5; edges=3>2,6>4,6>5; fb=6>6
alg 24: carriers=1,2,3,4,5; edges=6>3,6>4,6>5; fb=6>6
alg 25: carriers=1,2,3,4,5; edges=6>4,6>5; fb=6>6
alg 26: carriers=1,2,4; edges=3>2,5>4,6>4; fb=6>6
alg 27: carriers=1,2,4; edges=3>2,5>4,6>4; fb=3>3
alg 28: carriers=1,3,6; edges=2>1,4>3,5>4; fb=5>5
alg 29: carriers=1,2,3,5; edges=4>3,6>5; fb=6>6
alg 30: carriers=1,2,3,6; edges=4>3,5>4; fb=5>5
alg 31: carriers=1,2,3,4,5; edges=6>5; fb=6>6
alg 32: carriers=1,2,3,4,5,6; edges=; fb=6>6
)";

struct ChartEntry {
    int number = 0;
    bool carrier[7] = {};
    bool edge[7][7] = {}; // edge[src][dst]
    int fbFrom = 0;
    int fbTo = 0;
};

std::vector<ChartEntry> parseChart()
{
    std::vector<ChartEntry> entries;
    std::istringstream lines(kChart);
    std::string line;
    while (std::getline(lines, line)) {
        ChartEntry e;
        e.number = std::stoi(line.substr(4));
        const auto carriers = line.substr(line.find("carriers=") + 9, line.find(';') - line.find("carriers=") - 9);
        for (const char c : carriers)
            if (c >= '1' && c <= '6')
                e.carrier[c - '0'] = true;
        const auto edgesAt = line.find("edges=") + 6;
        const auto edges = line.substr(edgesAt, line.find(';', edgesAt) - edgesAt);
        for (std::size_t i = 0; i + 2 < edges.size() + 1; i += 4)
            e.edge[edges[i] - '0'][edges[i + 2] - '0'] = true;
        const auto fb = line.substr(line.find("fb=") + 3);
        e.fbFrom = fb[0] - '0';
        e.fbTo = fb[2] - '0';
        entries.push_back(e);
    }
    return entries;
}

// INIT VOICE on an algorithm with the given operators at output level 99 and
// the rest at 0; returns 0.25 s of key 69 after the attack.
std::vector<float> play(int alg, std::initializer_list<int> loud, int feedback = 0)
{
    TestVoice v;
    v.set(kAlgorithm, alg - 1);
    v.set(kFeedback, feedback);
    for (int op = 1; op <= 6; ++op)
        v.op(op, kOutputLevel, 0);
    for (const int op : loud)
        v.op(op, kOutputLevel, 99);
    FmEngine engine(48000.0);
    engine.loadVoice(v.bytes);
    engine.noteOn(69, 100);
    renderSeconds(engine, 0.05);
    return renderSeconds(engine, 0.25);
}

class AlgorithmRouting : public ::testing::TestWithParam<int> {};

TEST_P(AlgorithmRouting, OnlyCarriersSoundAlone)
{
    const auto chart = parseChart();
    const ChartEntry& e = chart.at(static_cast<std::size_t>(GetParam() - 1));
    ASSERT_EQ(e.number, GetParam());
    for (int op = 1; op <= 6; ++op) {
        const auto sound = play(e.number, {op});
        if (e.carrier[op])
            EXPECT_GT(rms(sound), 0.05) << "operator " << op << " is a carrier";
        else
            EXPECT_LT(rms(sound), 1e-4) << "operator " << op << " is a modulator";
    }
}

TEST_P(AlgorithmRouting, ModulatorsColourOnlyTheCarriersTheyFeed)
{
    const auto chart = parseChart();
    const ChartEntry& e = chart.at(static_cast<std::size_t>(GetParam() - 1));
    for (int c = 1; c <= 6; ++c) {
        if (!e.carrier[c])
            continue;
        for (int m = 1; m <= 6; ++m) {
            if (m == c)
                continue;
            const auto sound = play(e.number, {c, m});
            // Share of the sound in its 440 Hz partial: all of it for sines
            // at 440 Hz, little once FM spreads it over the sidebands.
            const double purity = partial(sound, 440.0, 48000.0) / (rms(sound) * std::sqrt(2.0));
            if (e.edge[m][c])
                EXPECT_LT(purity, 0.7) << m << " modulates " << c;
            else
                EXPECT_GT(purity, 0.99) << m << " does not modulate " << c;
        }
    }
}

TEST_P(AlgorithmRouting, FeedbackReachesTheChartsOperator)
{
    const auto chart = parseChart();
    const ChartEntry& e = chart.at(static_cast<std::size_t>(GetParam() - 1));
    // Sound the loop: its receiving operator and everything below it to a carrier.
    std::vector<int> path{e.fbTo};
    for (int at = e.fbTo; !e.carrier[at];) {
        int next = 0;
        for (int d = 1; d <= 6 && next == 0; ++d)
            if (e.edge[at][d])
                next = d;
        ASSERT_NE(next, 0);
        path.push_back(next);
        at = next;
    }
    if (e.fbFrom != e.fbTo)
        for (int op = e.fbTo - 1; op > e.fbFrom; --op)
            path.push_back(op); // the rest of a multi-operator loop
    path.push_back(e.fbFrom);
    auto playPath = [&](int feedback) {
        TestVoice v;
        v.set(kAlgorithm, e.number - 1);
        v.set(kFeedback, feedback);
        for (int op = 1; op <= 6; ++op)
            v.op(op, kOutputLevel, 0);
        for (const int op : path)
            v.op(op, kOutputLevel, 99);
        FmEngine engine(48000.0);
        engine.loadVoice(v.bytes);
        engine.noteOn(69, 100);
        renderSeconds(engine, 0.05);
        return renderSeconds(engine, 0.25);
    };
    const auto dry = playPath(0);
    const auto wet = playPath(7);
    double difference = 0.0;
    for (std::size_t i = 0; i < dry.size(); ++i)
        difference = std::max(difference, static_cast<double>(std::abs(dry[i] - wet[i])));
    EXPECT_GT(difference, 0.01) << "feedback " << e.fbFrom << ">" << e.fbTo;
}

INSTANTIATE_TEST_SUITE_P(All32, AlgorithmRouting, ::testing::Range(1, 33));

} // namespace
} // namespace toneloft::synth::test
