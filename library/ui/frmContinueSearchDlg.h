#pragma once

#include "library/SearchProgress.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace toneloft {

// "Cancel Search ?": asked after each answered match question.
class frmContinueSearchDlg : public QDialog {
    Q_OBJECT

public:
    explicit frmContinueSearchDlg(QWidget* parent = nullptr);

    // Shows the dialog modally: OK goes on (to the end without asking again when
    // the box is ticked), No and Cancel stop.
    SearchProgress::ContinueChoice ask();

    QCheckBox* Check1() const { return m_toEnd; }
    QPushButton* button(const QString& caption) const;

private:
    QCheckBox* m_toEnd;
};

} // namespace toneloft
