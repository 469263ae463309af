#pragma once

#include "editor/modLevScGraph.h"
#include "editor/ui/ParameterGraph.h"

namespace toneloft {

// The keyboard level scaling of an operator (1..6): the curve over keys 0..99
// about the unscaled level 99 (axis 0..200), the break point as a red line and
// three handles: left end (1), break point (2), right end (3).
//   LevelScalingGraph graph(2);
//   graph.setParameterLink({get, set}); // reads BP, LD, RD, LC, RC by ParamID
//   graph.refresh();                    // after any change of its rows
// Dragging an end sets its depth and turns its curve to the side it is dragged
// to; the break point sets BP. These writes are not sent on their own (send is
// false): the window sends the whole voice when it sees fit.
// Keys: Up/Down move an end's level, Left/Right the break point.
class LevelScalingGraph : public ParameterGraph {
    Q_OBJECT

public:
    explicit LevelScalingGraph(int operatorNumber, QWidget* parent = nullptr);

    const modLevScGraph::LevelScalingCurve& curve() const { return m_curve; }

    int pointCount() const override { return 3; }
    ChartValue pointValue(int point) const override;
    bool canSelect(int point) const override { return point >= 1 && point <= 3; }

public slots:
    void refresh() override;

protected:
    double xMaximum() const override { return modLevScGraph::kKeyAxisMaximum; }
    double yMaximum() const override { return modLevScGraph::kLevelAxisMaximum; }
    ParameterWrites valuesForDrag(int point, ChartValue v) const override;
    ParameterWrites valuesForNudge(int point, int dx, int dy) const override;
    void paintGraph(QPainter& painter) override;

private:
    modLevScGraph::LevelScalingValues m_values;
    modLevScGraph::LevelScalingCurve m_curve;
};

} // namespace toneloft
