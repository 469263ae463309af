// Each algorithm's wiring checked against the published chart data, by ear:
// a carrier alone sounds, a modulator alone does not, and a modulator turned
// up beside a carrier colours it only when the chart joins them.
#include "SoundAnalysis.h"

#include "support/AlgorithmChart.h"

#include <gtest/gtest.h>

#include <vector>

namespace toneloft::synth::test {
namespace {

// INIT VOICE on an algorithm with the given operators at output level 99 and
// the rest at 0; returns 0.25 s of key 69 after the attack.
std::vector<float> play(int alg, const std::vector<int>& loud, int feedback = 0)
{
    TestVoice v;
    v.set(kAlgorithm, alg - 1);
    v.set(kFeedback, feedback);
    for (int op = 1; op <= 6; ++op)
        v.op(op, kOutputLevel, 0);
    for (const int op : loud)
        v.op(op, kOutputLevel, 99);
    FmEngine engine = playing(v);
    renderSeconds(engine, 0.05);
    return renderSeconds(engine, 0.25);
}

class AlgorithmRouting : public ::testing::TestWithParam<int> {};

TEST_P(AlgorithmRouting, OnlyCarriersSoundAlone)
{
    const auto& e = ::toneloft::test::algorithmChart(GetParam());
    for (int op = 1; op <= 6; ++op) {
        const auto sound = play(GetParam(), {op});
        if (e.carrier(op))
            EXPECT_GT(rms(sound), 0.05) << "operator " << op << " is a carrier";
        else
            EXPECT_LT(rms(sound), 1e-4) << "operator " << op << " is a modulator";
    }
}

TEST_P(AlgorithmRouting, ModulatorsColourOnlyTheCarriersTheyFeed)
{
    const auto& e = ::toneloft::test::algorithmChart(GetParam());
    for (int c = 1; c <= 6; ++c) {
        if (!e.carrier(c))
            continue;
        for (int m = 1; m <= 6; ++m) {
            if (m == c)
                continue;
            const auto sound = play(GetParam(), {c, m});
            // Share of the sound in its 440 Hz partial: all of it for sines
            // at 440 Hz, little once FM spreads it over the sidebands.
            const double purity = partial(sound, 440.0, 48000.0) / (rms(sound) * std::sqrt(2.0));
            if (e.edge(m, c))
                EXPECT_LT(purity, 0.7) << m << " modulates " << c;
            else
                EXPECT_GT(purity, 0.99) << m << " does not modulate " << c;
        }
    }
}

TEST_P(AlgorithmRouting, FeedbackReachesTheChartsOperator)
{
    const auto& e = ::toneloft::test::algorithmChart(GetParam());
    // Sound the loop: its receiving operator and everything below it to a carrier.
    std::vector<int> path{e.feedbackTo};
    for (int at = e.feedbackTo; !e.carrier(at);) {
        int next = 0;
        for (int d = 1; d <= 6 && next == 0; ++d)
            if (e.edge(at, d))
                next = d;
        ASSERT_NE(next, 0);
        path.push_back(next);
        at = next;
    }
    if (e.feedbackFrom != e.feedbackTo)
        for (int op = e.feedbackTo - 1; op > e.feedbackFrom; --op)
            path.push_back(op); // the rest of a multi-operator loop
    path.push_back(e.feedbackFrom);
    const auto dry = play(GetParam(), path, 0);
    const auto wet = play(GetParam(), path, 7);
    double difference = 0.0;
    for (std::size_t i = 0; i < dry.size(); ++i)
        difference = std::max(difference, static_cast<double>(std::abs(dry[i] - wet[i])));
    EXPECT_GT(difference, 0.01) << "feedback " << e.feedbackFrom << ">" << e.feedbackTo;
}

INSTANTIATE_TEST_SUITE_P(All32, AlgorithmRouting, ::testing::Range(1, 33));

} // namespace
} // namespace toneloft::synth::test
