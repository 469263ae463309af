#include "vxc/Algorithms.h"

#include <initializer_list>
#include <utility>

namespace toneloft::vxc {

namespace {

constexpr OperatorMask bit(int op)
{
    return static_cast<OperatorMask>(1u << op);
}

Topology make(std::initializer_list<int> carriers, std::initializer_list<std::pair<int, int>> links,
              int feedback)
{
    Topology t;
    for (int c : carriers)
        t.carriers = static_cast<OperatorMask>(t.carriers | bit(c));
    for (const auto& [from, to] : links)
        t.modulators[static_cast<std::size_t>(to)] =
            static_cast<OperatorMask>(t.modulators[static_cast<std::size_t>(to)] | bit(from));
    t.feedbackOperator = feedback;
    return t;
}

std::array<Topology, 33> buildDxAlgorithms()
{
    std::array<Topology, 33> a{};
    a[1] = make({1, 3}, {{2, 1}, {4, 3}, {5, 4}, {6, 5}}, 6);
    a[2] = make({1, 3}, {{2, 1}, {4, 3}, {5, 4}, {6, 5}}, 2);
    a[3] = make({1, 4}, {{2, 1}, {3, 2}, {5, 4}, {6, 5}}, 6);
    a[4] = make({1, 4}, {{2, 1}, {3, 2}, {5, 4}, {6, 5}}, 6);
    a[5] = make({1, 3, 5}, {{2, 1}, {4, 3}, {6, 5}}, 6);
    a[6] = make({1, 3, 5}, {{2, 1}, {4, 3}, {6, 5}}, 6);
    a[7] = make({1, 3}, {{2, 1}, {4, 3}, {5, 3}, {6, 5}}, 6);
    a[8] = make({1, 3}, {{2, 1}, {4, 3}, {5, 3}, {6, 5}}, 4);
    a[9] = make({1, 3}, {{2, 1}, {4, 3}, {5, 3}, {6, 5}}, 2);
    a[10] = make({1, 4}, {{2, 1}, {3, 2}, {5, 4}, {6, 4}}, 3);
    a[11] = make({1, 4}, {{2, 1}, {3, 2}, {5, 4}, {6, 4}}, 6);
    a[12] = make({1, 3}, {{2, 1}, {4, 3}, {5, 3}, {6, 3}}, 2);
    a[13] = make({1, 3}, {{2, 1}, {4, 3}, {5, 3}, {6, 3}}, 6);
    a[14] = make({1, 3}, {{2, 1}, {4, 3}, {5, 4}, {6, 4}}, 6);
    a[15] = make({1, 3}, {{2, 1}, {4, 3}, {5, 4}, {6, 4}}, 2);
    a[16] = make({1}, {{2, 1}, {3, 1}, {5, 1}, {4, 3}, {6, 5}}, 6);
    a[17] = make({1}, {{2, 1}, {3, 1}, {5, 1}, {4, 3}, {6, 5}}, 2);
    a[18] = make({1}, {{2, 1}, {3, 1}, {4, 1}, {5, 4}, {6, 5}}, 3);
    a[19] = make({1, 4, 5}, {{2, 1}, {3, 2}, {6, 4}, {6, 5}}, 6);
    a[20] = make({1, 2, 4}, {{3, 1}, {3, 2}, {5, 4}, {6, 4}}, 3);
    a[21] = make({1, 2, 4, 5}, {{3, 1}, {3, 2}, {6, 4}, {6, 5}}, 3);
    a[22] = make({1, 3, 4, 5}, {{2, 1}, {6, 3}, {6, 4}, {6, 5}}, 6);
    a[23] = make({1, 2, 4, 5}, {{3, 2}, {6, 4}, {6, 5}}, 6);
    a[24] = make({1, 2, 3, 4, 5}, {{6, 3}, {6, 4}, {6, 5}}, 6);
    a[25] = make({1, 2, 3, 4, 5}, {{6, 4}, {6, 5}}, 6);
    a[26] = make({1, 2, 4}, {{3, 2}, {5, 4}, {6, 4}}, 6);
    a[27] = make({1, 2, 4}, {{3, 2}, {5, 4}, {6, 4}}, 3);
    a[28] = make({1, 3, 6}, {{2, 1}, {4, 3}, {5, 4}}, 5);
    a[29] = make({1, 2, 3, 5}, {{4, 3}, {6, 5}}, 6);
    a[30] = make({1, 2, 3, 6}, {{4, 3}, {5, 4}}, 5);
    a[31] = make({1, 2, 3, 4, 5}, {{6, 5}}, 6);
    a[32] = make({1, 2, 3, 4, 5, 6}, {}, 6);
    return a;
}

constexpr std::array<int, 7> kSame{0, 1, 2, 3, 4, 5, 6};

struct Entry {
    int sy;
    std::array<int, 7> ops;
    bool exact;
    int modelDx; // a DX7 algorithm whose renumbered drawing is the SY preset; 0 unknown
};

Entry entryFor(int dx)
{
    constexpr std::array<int, 7> k7{0, 1, 2, 3, 6, 4, 5};
    constexpr std::array<int, 7> k16{0, 1, 6, 2, 3, 4, 5};
    constexpr std::array<int, 7> k18{0, 1, 5, 6, 2, 3, 4};
    constexpr std::array<int, 7> k19{0, 4, 5, 6, 1, 2, 3};
    switch (dx) {
    case 1: case 2: return {30, kSame, true, 1};
    case 3: case 4: return {34, kSame, true, 3};
    case 5: case 6: return {42, kSame, true, 5};
    case 7: case 8: case 9: return {32, k7, true, 7};
    case 10: case 11: return {35, kSame, true, 10};
    case 12: case 13: return {33, kSame, true, 12};
    case 14: case 15: return {31, kSame, true, 14};
    case 16: case 17: return {16, k16, true, 16};
    case 18: return {11, k18, true, 18};
    case 19: return {40, k19, true, 19};
    case 20: return {41, kSame, true, 20};
    case 21: case 23: case 26: case 27: return {41, kSame, false, 20};
    case 22: case 28: return {40, kSame, false, 19};
    case 24: case 25: return {44, kSame, false, 0};
    case 29: return {37, kSame, false, 0};
    case 30: return {38, kSame, false, 0};
    case 31: return {45, kSame, false, 32};
    case 32: return {45, kSame, true, 32};
    default: return {0, kSame, false, 0};
    }
}

} // namespace

const Topology& DxAlgorithm(int number)
{
    static const std::array<Topology, 33> table = buildDxAlgorithms();
    if (number < 1 || number > 32)
        number = 1;
    return table[static_cast<std::size_t>(number)];
}

Topology Renumber(const Topology& t, const std::array<int, 7>& map)
{
    Topology r;
    for (int op = 1; op <= 6; ++op) {
        const auto to = static_cast<std::size_t>(map[static_cast<std::size_t>(op)]);
        if (t.carriers & bit(op))
            r.carriers = static_cast<OperatorMask>(r.carriers | bit(static_cast<int>(to)));
        for (int m = 1; m <= 6; ++m)
            if (t.modulators[static_cast<std::size_t>(op)] & bit(m))
                r.modulators[to] = static_cast<OperatorMask>(
                    r.modulators[to] | bit(map[static_cast<std::size_t>(m)]));
    }
    r.feedbackOperator = t.feedbackOperator == 0 ? 0 : map[static_cast<std::size_t>(t.feedbackOperator)];
    return r;
}

AlgorithmMapping MapAlgorithm(int dxAlgorithm)
{
    if (dxAlgorithm < 1 || dxAlgorithm > 32)
        dxAlgorithm = 1;
    const Entry e = entryFor(dxAlgorithm);
    AlgorithmMapping m;
    m.syAlgorithm = e.sy;
    m.syOperator = e.ops;
    m.exact = e.exact;
    const Topology own = Renumber(DxAlgorithm(dxAlgorithm), e.ops);
    if (e.modelDx != 0) {
        // The preset's own drawing, with this voice's feedback operator.
        m.syTopologyKnown = true;
        m.syTopology = Renumber(DxAlgorithm(e.modelDx), entryFor(e.modelDx).ops);
        m.syTopology.feedbackOperator = own.feedbackOperator;
    } else {
        m.syTopology = own;
    }
    if (!e.exact) {
        m.note = "DX7 algorithm " + std::to_string(dxAlgorithm) +
                 " has no SY77 preset: nearest preset is algorithm " + std::to_string(e.sy);
        if (!m.syTopologyKnown)
            m.note += " (operator routing written as the DX7 algorithm draws it)";
    }
    return m;
}

} // namespace toneloft::vxc
