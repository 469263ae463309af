#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QToolButton;

namespace toneloft {

// The strip along the bottom of the main window: the status label and the
// progress bar. Long work writes it through ShowStatus; hidden when idle, its
// height kept.
class StatusStrip : public QWidget {
    Q_OBJECT

public:
    explicit StatusStrip(QWidget* parent = nullptr);

    QLabel* label() const { return m_label; }
    QProgressBar* progressBar() const { return m_progress; }
    // "Cancel" beside the text while stoppable work runs (UiServices::setCancellable).
    QToolButton* cancelButton() const { return m_cancel; }
    QString text() const;

    void setText(const QString& text);
    // 0..maximum; a maximum of 0 hides the bar.
    void setProgress(int value, int maximum);

private:
    QLabel* m_label;
    QProgressBar* m_progress;
    QToolButton* m_cancel;
};

} // namespace toneloft
