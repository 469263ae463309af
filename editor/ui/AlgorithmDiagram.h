#pragma once

#include <QWidget>

#include <functional>

namespace toneloft {

struct AlgorithmLayout;

// One algorithm drawn as its chart: six operator boxes captioned 1..6, the
// modulation lines, the output bus and the feedback loop, scaled to the widget.
// A box is black while its operator is on and red while it is off.
//   AlgorithmDiagram d;
//   d.setAlgorithm(voiceValue(135));     // 0..31
//   d.setOperatorStatus(mask);           // bit 2^(6 - n) is operator n; 0 reads as 63
//   d.setTogglingEnabled(midiOn);        // boxes react to clicks only while MIDI is on
//   connect(&d, &AlgorithmDiagram::operatorToggled, ...);
// A click on a box (or Space on the focused box, Left/Right to move the focus)
// flips that operator in the diagram's own mask and emits operatorToggled with
// the operator, its new state and the new mask.
class AlgorithmDiagram : public QWidget {
    Q_OBJECT

public:
    static inline const QColor kOnColour{0, 0, 0};
    static inline const QColor kOffColour{255, 0, 0};

    explicit AlgorithmDiagram(QWidget* parent = nullptr);

    int algorithm() const { return m_algorithm; }
    int operatorStatus() const { return m_status; }
    bool isOperatorOn(int op) const;
    bool togglingEnabled() const { return m_toggling; }
    // The colour the box of operator op (1..6) is drawn in.
    QColor operatorColour(int op) const;
    // Where the box of operator op is drawn, in widget pixels (logical).
    QRectF operatorRect(int op) const;
    int focusedOperator() const { return m_focusOp; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Asked again when the pointer comes over the diagram and when it is
    // pressed, so that MIDI switched on or off after the editor was activated
    // is followed; unset, the last setTogglingEnabled holds.
    std::function<bool()> togglingAllowed;

public slots:
    void setAlgorithm(int algorithm);
    void setOperatorStatus(int mask);
    void setTogglingEnabled(bool enabled);

signals:
    void operatorToggled(int op, bool on, int operatorStatus);

protected:
    void enterEvent(QEnterEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const AlgorithmLayout& layout() const;
    // Layout units to widget pixels: uniform scale, centred.
    QTransform unitsToPixels() const;
    void toggle(int op);

    int m_algorithm = 0;
    int m_status = 63;
    bool m_toggling = false;
    int m_focusOp = 1;
};

} // namespace toneloft
