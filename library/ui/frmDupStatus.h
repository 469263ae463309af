#pragma once

#include "library/SearchProgress.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QPushButton;

namespace toneloft {

// "Searching for Duplicates...": the figures of a running duplicate search and
// its Cancel button.
class frmDupStatus : public QDialog {
    Q_OBJECT

public:
    explicit frmDupStatus(QWidget* parent = nullptr);

    // Shows the figures; repaints at most every 50 ms, and always at the end of the range.
    void showStatus(const DuplicateStatus& status);
    // True once after Cancel was pressed.
    bool takeCancelRequest();

    QLabel* value(int index) const { return m_values[index]; } // 0 Current Voice .. 5 Total Patches Now
    QPushButton* CancelButton() const { return m_cancel; }

private:
    QLabel* m_values[6] = {};
    QPushButton* m_cancel;
    QElapsedTimer m_sincePaint;
    bool m_cancelRequested = false;
};

} // namespace toneloft
