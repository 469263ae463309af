#pragma once

#include <QSpinBox>

namespace toneloft {

// The "EG Zoom" box: its value is the zoom exponent (z = 2^value) and its text
// the zoom factor z / 16, so 4 reads "1" and 5 reads "2". Connect valueChanged
// to EnvelopeGraph::setZoomExponent of every envelope graph of the editor.
class EgZoomBox : public QSpinBox {
    Q_OBJECT

public:
    static constexpr int kMinimumExponent = 2;  // shows .25: four envelopes' length
    static constexpr int kMaximumExponent = 10; // shows 64: the attack in detail

    explicit EgZoomBox(QWidget* parent = nullptr);

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;
};

} // namespace toneloft
