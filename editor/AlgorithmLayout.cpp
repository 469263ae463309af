#include "editor/AlgorithmLayout.h"

#include "synth/Algorithms.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace toneloft {

namespace {

constexpr double kHalfWidth = AlgorithmLayout::kBoxWidth / 2;
constexpr double kHalfHeight = AlgorithmLayout::kBoxHeight / 2;
constexpr double kLoopGap = 0.16;   // feedback loop clear of its boxes
constexpr double kBusDrop = 0.3;    // output bus below the carriers' boxes
constexpr double kMargin = 0.08;    // round the outermost lines

bool modulates(const synth::Algorithm& a, int from, int to)
{
    const unsigned inputs = a.modulators[static_cast<std::size_t>(to - 1)];
    return (inputs >> static_cast<unsigned>(from - 1)) & 1u;
}

std::vector<int> targetsOf(const synth::Algorithm& a, int op)
{
    std::vector<int> t;
    for (int to = 1; to <= 6; ++to)
        if (modulates(a, op, to))
            t.push_back(to);
    return t;
}

bool isCarrier(const synth::Algorithm& a, int op)
{
    const unsigned carriers = a.carriers;
    return (carriers >> static_cast<unsigned>(op - 1)) & 1u;
}

class LayoutBuilder {
public:
    explicit LayoutBuilder(int value) : m_alg(synth::algorithm(value)) { m_layout.algorithm = value; }

    AlgorithmLayout build()
    {
        placeRows();
        placeColumns();
        collectRows();
        drawLinks();
        drawOutput();
        drawFeedback();
        measure();
        return std::move(m_layout);
    }

private:
    AlgorithmLayout::Box& box(int op) { return m_layout.boxes[static_cast<std::size_t>(op - 1)]; }

    // Carriers on the bottom row; a modulator one row above the highest of the
    // operators it modulates. Modulators always have higher numbers.
    void placeRows()
    {
        std::array<int, 7> depth{};
        int deepest = 0;
        for (int op = 1; op <= 6; ++op) {
            box(op).op = op;
            if (!isCarrier(m_alg, op))
                for (int to : targetsOf(m_alg, op))
                    depth[static_cast<std::size_t>(op)] =
                        std::max(depth[static_cast<std::size_t>(op)], depth[static_cast<std::size_t>(to)] + 1);
            deepest = std::max(deepest, depth[static_cast<std::size_t>(op)]);
        }
        m_rowCount = deepest + 1;
        for (int op = 1; op <= 6; ++op)
            box(op).row = deepest - depth[static_cast<std::size_t>(op)];
    }

    // Each stack takes the next free columns from the left; an operator stands
    // over the middle of its own modulators, and a modulator shared by several
    // operators over the middle of those.
    void placeColumns()
    {
        std::vector<int> carriers;
        for (int op = 1; op <= 6; ++op)
            if (isCarrier(m_alg, op))
                carriers.push_back(op);
        // The chart draws operator 1's stack on the right in algorithms 10 to 13.
        if (m_layout.algorithm >= 9 && m_layout.algorithm <= 12)
            std::reverse(carriers.begin(), carriers.end());
        m_layout.carriers = carriers;
        for (int op : carriers)
            place(op);
        for (int op = 6; op >= 1; --op) {
            const std::vector<int> targets = targetsOf(m_alg, op);
            if (targets.size() > 1) {
                double sum = 0;
                for (int t : targets)
                    sum += box(t).column;
                box(op).column = sum / static_cast<double>(targets.size());
            }
        }
    }

    void place(int op)
    {
        std::vector<int> own;
        for (int m = 1; m <= 6; ++m)
            if (modulates(m_alg, m, op) && targetsOf(m_alg, m).size() == 1)
                own.push_back(m);
        if (own.empty()) {
            box(op).column = m_nextColumn++;
            return;
        }
        double sum = 0;
        for (int m : own) {
            place(m);
            sum += box(m).column;
        }
        box(op).column = sum / static_cast<double>(own.size());
    }

    void collectRows()
    {
        m_layout.rows.assign(static_cast<std::size_t>(m_rowCount), {});
        std::array<int, 6> order{1, 2, 3, 4, 5, 6};
        std::sort(order.begin(), order.end(), [&](int a, int b) { return box(a).column < box(b).column; });
        for (int op : order)
            m_layout.rows[static_cast<std::size_t>(box(op).row)].push_back(op);
    }

    DiagramPoint top(int op) { return {box(op).column, box(op).row - kHalfHeight}; }
    DiagramPoint bottom(int op) { return {box(op).column, box(op).row + kHalfHeight}; }

    // Straight down when the boxes stand in one column, else down to the middle
    // of the gap, across, and down: modulators of one operator meet on a bar.
    void drawLinks()
    {
        for (int to = 1; to <= 6; ++to)
            for (int from = 1; from <= 6; ++from) {
                if (!modulates(m_alg, from, to))
                    continue;
                AlgorithmLayout::Link link{from, to, {bottom(from)}};
                if (std::abs(box(from).column - box(to).column) > 1e-9) {
                    const double bar = box(to).row - 0.5;
                    link.line.push_back({box(from).column, bar});
                    link.line.push_back({box(to).column, bar});
                }
                link.line.push_back(top(to));
                m_layout.links.push_back(std::move(link));
            }
    }

    void drawOutput()
    {
        const double bus = (m_rowCount - 1) + kHalfHeight + kBusDrop;
        double left = 0;
        double right = 0;
        bool first = true;
        for (int op : m_layout.carriers) {
            m_layout.outputLines.push_back({bottom(op), {box(op).column, bus}});
            left = first ? box(op).column : std::min(left, box(op).column);
            right = first ? box(op).column : std::max(right, box(op).column);
            first = false;
        }
        // The bus reaches a little past the outer carriers, as on the chart.
        m_layout.outputLines.push_back({{left - kHalfWidth, bus}, {right + kHalfWidth, bus}});
    }

    // From just under the output of the source round the right of both boxes
    // into the top of the receiver.
    void drawFeedback()
    {
        const int s = m_alg.feedbackFrom + 1;
        const int d = m_alg.feedbackTo + 1;
        m_layout.feedbackFrom = s;
        m_layout.feedbackTo = d;
        const double side = std::max(box(s).column, box(d).column) + kHalfWidth + kLoopGap;
        const double low = box(s).row + kHalfHeight + kLoopGap;
        const double high = box(d).row - kHalfHeight - kLoopGap;
        m_layout.feedbackLine = {bottom(s), {box(s).column, low}, {side, low}, {side, high},
                                 {box(d).column, high}, top(d)};
    }

    void measure()
    {
        DiagramPoint lo{1e9, 1e9};
        DiagramPoint hi{-1e9, -1e9};
        auto take = [&](DiagramPoint p) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
        };
        for (const auto& b : m_layout.boxes) {
            take({b.column - kHalfWidth, b.row - kHalfHeight});
            take({b.column + kHalfWidth, b.row + kHalfHeight});
        }
        for (const auto& line : m_layout.outputLines)
            for (DiagramPoint p : line)
                take(p);
        for (DiagramPoint p : m_layout.feedbackLine)
            take(p);
        m_layout.topLeft = {lo.x - kMargin, lo.y - kMargin};
        m_layout.bottomRight = {hi.x + kMargin, hi.y + kMargin};
    }

    const synth::Algorithm& m_alg;
    AlgorithmLayout m_layout;
    int m_rowCount = 1;
    int m_nextColumn = 0;
};

std::array<AlgorithmLayout, 32> buildAll()
{
    std::array<AlgorithmLayout, 32> all;
    for (int v = 0; v < 32; ++v)
        all[static_cast<std::size_t>(v)] = LayoutBuilder(v).build();
    return all;
}

} // namespace

int AlgorithmLayout::operatorAt(DiagramPoint p) const
{
    for (const Box& b : boxes)
        if (std::abs(p.x - b.column) <= kHalfWidth && std::abs(p.y - b.row) <= kHalfHeight)
            return b.op;
    return 0;
}

const AlgorithmLayout& AlgorithmLayoutOf(int algorithm)
{
    static const std::array<AlgorithmLayout, 32> all = buildAll();
    return all[static_cast<std::size_t>(std::clamp(algorithm, 0, 31))];
}

std::optional<int> AlgorithmOfNodeText(std::string_view text)
{
    const auto at = text.find("(Alg");
    if (at == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = text.substr(at + 4);
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    int number = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), number);
    if (error != std::errc{} || end == rest.data() || number < 1 || number > 32)
        return std::nullopt;
    return number - 1;
}

} // namespace toneloft
