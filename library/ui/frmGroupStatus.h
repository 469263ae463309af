#pragma once

#include "library/SearchProgress.h"

#include <QDialog>

class QProgressBar;
class QPushButton;

namespace toneloft {

// "Processing File": the groups done so far and a Cancel button.
class frmGroupStatus : public QDialog {
    Q_OBJECT

public:
    explicit frmGroupStatus(QWidget* parent = nullptr);

    void showStatus(const GroupStatus& status);
    bool takeCancelRequest();

    QProgressBar* ProgressBar1() const { return m_bar; }
    QPushButton* CancelButton() const { return m_cancel; }

private:
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    bool m_cancelRequested = false;
};

} // namespace toneloft
