#pragma once

#include "editor/modEGGraph.h"
#include "editor/ui/ParameterGraph.h"

namespace toneloft {

// The envelope of an operator (1..6) or the pitch envelope (operator 0): six
// points from the rates and levels, the key-off point labelled "Off" and not
// draggable. The x axis ends at the envelope's length * 16 / z, z = 2^zoom.
//   EnvelopeGraph graph(3);             // operator 3
//   graph.setParameterLink({get, set}); // reads its eight rows by ParamID
//   graph.setZoomExponent(5);           // per editor, from the "EG Zoom" box
//   graph.refresh();                    // after any change of its rows
// A drag or an arrow key writes the segment's rate and level (both sent).
// Keys: Up/Down change the level; Left/Right lengthen or shorten the segment
// that ends at the point (its rate).
// The x axis is fitted to the envelope's length by refresh and by a zoom
// change, but not while a point is being dragged, so the graph holds still
// under the pointer; it is fitted again when the button is released.
class EnvelopeGraph : public ParameterGraph {
    Q_OBJECT

public:
    static constexpr int kDefaultZoomExponent = 4; // z = 16: the whole envelope fits

    explicit EnvelopeGraph(int operatorNumber, QWidget* parent = nullptr);

    int zoomExponent() const { return m_zoomExponent; }
    const modEGGraph::EnvelopeValues& envelope() const { return m_envelope; }

    int pointCount() const override { return 6; }
    ChartValue pointValue(int point) const override;
    bool canSelect(int point) const override { return modEGGraph::IsDraggablePoint(point); }

public slots:
    void setZoomExponent(int exponent);
    void refresh() override;

protected:
    double xMaximum() const override;
    double yMaximum() const override { return 100; }
    ParameterWrites valuesForDrag(int point, ChartValue v) const override;
    ParameterWrites valuesForNudge(int point, int dx, int dy) const override;
    void paintGraph(QPainter& painter) override;

private:
    modEGGraph::EnvelopeValues m_envelope;
    std::array<modEGGraph::ChartPoint, 6> m_points{};
    int m_zoomExponent = kDefaultZoomExponent;
    double m_axisLength = 0; // the envelope length the x axis was fitted to
};

} // namespace toneloft
