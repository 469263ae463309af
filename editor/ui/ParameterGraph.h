#pragma once

#include "editor/ChartMapping.h"
#include "editor/ParameterWrite.h"
#include "editor/ui/GraphParameterLink.h"

#include <QWidget>

namespace toneloft {

// A small XY chart of one parameter group whose points the user drags with the
// mouse or moves with the keyboard; each step is turned into parameter values
// and handed to the link's write. The geometry is the core's (modEGGraph,
// modLevScGraph, ChartMapping); this class only paints and handles gestures.
//
// Mouse: a left press on a point selects it (a press elsewhere is reported as
// backgroundPressed, for the copy gesture); while the button is held every
// second move applies the position; release ends the drag. A right press asks
// for the test scale.
// Keyboard: 1..6 or Ctrl+Left/Right choose a point; the arrow keys move it one
// step, with Shift ten steps.
class ParameterGraph : public QWidget {
    Q_OBJECT

public:
    ParameterGraph(const ChartMapping& mapping, int operatorNumber, QWidget* parent = nullptr);

    void setParameterLink(GraphParameterLink link);
    int operatorNumber() const { return m_operator; }

    // Points are numbered from 1, as the Part's tables count them.
    virtual int pointCount() const = 0;
    virtual ChartValue pointValue(int point) const = 0;
    virtual bool canSelect(int point) const = 0;
    int selectedPoint() const { return m_selected; }
    bool isDragging() const { return m_dragging; }
    // Where a point is drawn, in widget pixels (logical).
    QPointF pointPosition(int point) const;
    // The graph values under a widget position.
    ChartValue valueAt(QPointF position) const;

    QSize minimumSizeHint() const override;

public slots:
    // Re-reads the values through the link and repaints.
    virtual void refresh() = 0;

signals:
    void pointSelected(int point);
    // Values were applied for a dragged point: the window plays its test note.
    void pointDragged(int point);
    // The mouse button was released after a drag: the window ends the test note.
    void pointReleased(int point);
    // A left press off every point: the start of a copy gesture.
    void backgroundPressed(QPoint position);
    // A right press: the window plays the test scale.
    void auditionRequested();

protected:
    virtual double xMaximum() const = 0;
    virtual double yMaximum() const = 0;
    // The values for a point dragged to graph position v.
    virtual ParameterWrites valuesForDrag(int point, ChartValue v) const = 0;
    // The values for a point moved by the keyboard: dx, dy in steps.
    virtual ParameterWrites valuesForNudge(int point, int dx, int dy) const = 0;
    // The curve and markers; the frame, grid and focus are drawn by the base.
    virtual void paintGraph(QPainter& painter) = 0;

    int valueOf(int param) const;
    QRectF plotRect() const;
    QPointF toPixel(double x, double y) const;
    void apply(const ParameterWrites& writes);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int pointAt(QPointF position) const;
    void select(int point);
    void selectNext(int direction);

    ChartMapping m_mapping;
    int m_operator;
    GraphParameterLink m_link;
    int m_selected = 0;
    bool m_dragging = false;
    bool m_skipMove = false; // the drag counter: every second move is applied
};

} // namespace toneloft
