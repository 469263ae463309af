#pragma once

#include <QWidget>

class QTimer;

namespace toneloft {

// A bare pair of arrows, as a hardware editor's inc/dec buttons: no text of its
// own, because it sits beside the grid cell that shows the value. Holding an
// arrow repeats. valueChanged is raised only for steps the user makes.
class UpDownSpin : public QWidget {
    Q_OBJECT

public:
    explicit UpDownSpin(QWidget* parent = nullptr);

    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int value() const { return m_value; }
    void setRange(int minimum, int maximum);
    // Sets the value without raising valueChanged (clamped to the range).
    void setValue(int value);
    // One step up (+1) or down (-1), as a click on an arrow does.
    void step(int direction);

    QSize sizeHint() const override;

Q_SIGNALS:
    void valueChanged(int value);
    // A press with the right button (the editor plays its test scale).
    void rightPressed();
    // Mouse state the editor's Ctrl rule reads: Ctrl held at a press or move,
    // the left button released.
    void ctrlMouse(bool ctrlHeld);
    void leftReleased();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void repeat();

    int m_min = 0;
    int m_max = 99;
    int m_value = 0;
    int m_pressed = 0; // +1 upper arrow, -1 lower arrow, 0 none
    QTimer* m_repeat;
};

} // namespace toneloft
