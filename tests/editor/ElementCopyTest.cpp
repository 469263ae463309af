#include "editor/EditorElementCopy.h"

#include <gtest/gtest.h>

namespace toneloft::test {
namespace {

using Kind = EditorElement::Kind;

struct PairCase {
    EditorElement source;
    EditorElement target;
    bool accepted;
    int sourceOp;
    int targetOp;
};

EditorElement in(Kind kind, int index, const char* editor = "V1")
{
    return EditorElement{kind, index, "L0001", editor};
}

class SourceTargetPairs : public ::testing::TestWithParam<PairCase> {};

TEST_P(SourceTargetPairs, AcceptOnlyGroupsOfOneSection)
{
    const PairCase& c = GetParam();
    const SourceTarget st = GetSourceTargetID(c.source, c.target);
    EXPECT_EQ(st.accepted, c.accepted);
    EXPECT_EQ(st.sourceOpNo, c.sourceOp);
    EXPECT_EQ(st.targetOpNo, c.targetOp);
}

INSTANTIATE_TEST_SUITE_P(
    Editor, SourceTargetPairs,
    ::testing::Values(PairCase{in(Kind::Grid, 2), in(Kind::Grid, 5), true, 2, 5},      // envelope onto envelope
                      PairCase{in(Kind::Grid, 2), in(Kind::Grid, 11), false, 2, 5},    // envelope onto level scaling
                      PairCase{in(Kind::Grid, 8), in(Kind::Grid, 12), true, 2, 6},
                      PairCase{in(Kind::Grid, 13), in(Kind::Grid, 18), true, 1, 6},    // oscillators
                      PairCase{in(Kind::Grid, 14), in(Kind::Grid, 20), false, 2, 2},   // oscillator onto sensitivity
                      PairCase{in(Kind::Grid, 0), in(Kind::Grid, 1), false, 0, 1},     // pitch EG onto an operator
                      PairCase{in(Kind::Grid, 3), in(Kind::Grid, 3), false, 3, 3},     // the same element
                      PairCase{in(Kind::Grid, 3), in(Kind::Grid, 3, "V2"), true, 3, 3}, // same grid, other editor
                      PairCase{in(Kind::Grid, 25), in(Kind::Grid, 26), false, 1, 2},   // LFO onto Misc
                      PairCase{in(Kind::Grid, 24), in(Kind::Grid, 25), false, 6, 1},
                      PairCase{in(Kind::Grid, 25), in(Kind::Grid, 25, "V2"), true, 1, 1},
                      PairCase{in(Kind::Graph, 2), in(Kind::Graph, 5), true, 2, 5},
                      PairCase{in(Kind::Graph, 2), in(Kind::Grid, 5), false, 2, 5},    // different kinds
                      PairCase{in(Kind::Graph, 0), in(Kind::Graph, 0, "V2"), true, 0, 0},
                      PairCase{in(Kind::Label, 3), in(Kind::Label, 4), true, 3, 4},
                      PairCase{in(Kind::Label, 0), in(Kind::Label, 3), false, 0, 3},
                      PairCase{in(Kind::Graph, 13), in(Kind::Graph, 7), false, 0, 0},  // no graph 13
                      PairCase{in(Kind::Grid, -6), in(Kind::Grid, 0), false, 0, 0}));

} // namespace
} // namespace toneloft::test
