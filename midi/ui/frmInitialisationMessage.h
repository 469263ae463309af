#pragma once

#include <QDialog>

#include <array>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace toneloft {

// Offers the connection test: the instructions in a read-only box and the
// buttons 0 "&Skip", 1 "&TX7", 2 "&DX7", 3 "&Cancel".
class frmInitialisationMessage : public QDialog {
    Q_OBJECT

public:
    static constexpr int kCancel = 3;

    explicit frmInitialisationMessage(const std::string& testText, QWidget* parent = nullptr);

    // The index of the button pressed; kCancel when the box was closed.
    int choice() const { return m_choice; }
    QPushButton* button(int index) const;
    QString testText() const;

public Q_SLOTS:
    void reject() override;

private:
    void choose(int index);

    QPlainTextEdit* m_text;
    std::array<QPushButton*, 4> m_buttons{};
    int m_choice = kCancel;
};

} // namespace toneloft
