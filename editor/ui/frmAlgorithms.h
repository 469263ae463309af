#pragma once

#include <QPointer>
#include <QWidget>

class QGroupBox;
class QSpinBox;

namespace toneloft {

class AlgorithmDiagram;

// "Algorithms": a small reference window showing one algorithm at a time, the
// frame captioned "Alg1".."Alg32" and the spin UpDown1 (0..31) choosing it.
// One for the whole program, made on first use.
//   Opening a voice editor:    frmAlgorithms::ShowAlgorithm(value of parameter 135);
//   A patch generator voice:   frmAlgorithms::ShowAlgorithmOfNode(node text);
//   Last editor of a list gone, or the patch generator closed: frmAlgorithms::Unload().
class frmAlgorithms : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidthTwips = 2500;
    static constexpr int kHeightTwips = 2500;

    // The window, or nullptr when it is not loaded.
    static frmAlgorithms* instance();
    // Makes the window if needed (parent: the main window, for a tool window
    // above it), sets its spin to algorithm value 0..31 and shows it.
    static frmAlgorithms& ShowAlgorithm(int algorithm, QWidget* parent = nullptr);
    // The same for a node text "5 E.PIANO 1  (Alg 5)"; nothing happens for a text
    // without an algorithm number.
    static void ShowAlgorithmOfNode(const QString& nodeText, QWidget* parent = nullptr);
    // Discards the window if it is loaded.
    static void Unload();

    explicit frmAlgorithms(QWidget* parent = nullptr);
    ~frmAlgorithms() override;

    QSpinBox* UpDown1() const { return m_spin; }
    QGroupBox* Frame1() const { return m_frame; }
    AlgorithmDiagram* diagram() const { return m_diagram; }
    int algorithm() const;

private:
    void showDiagram(int algorithm);

    QGroupBox* m_frame = nullptr;
    AlgorithmDiagram* m_diagram = nullptr;
    QSpinBox* m_spin = nullptr;
};

} // namespace toneloft
