#pragma once

#include <QDialog>

class QPushButton;

namespace toneloft {

// The program's name, version and purpose, with a button that lists the
// computer's particulars.
class AboutWindow : public QDialog {
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* parent = nullptr);

    QPushButton* systemInfoButton() const { return m_systemInfo; }
    static QString versionText();

private:
    QPushButton* m_systemInfo;
};

} // namespace toneloft
