#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;
class QRadioButton;

namespace toneloft {

// Asks which of the four file layouts a list is saved in. The option index is
// the file type 0..3. Cancel puts back the option selected when the dialog
// opened, so the next showing starts from it.
class frmFileFormatDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTypes = 4;

    explicit frmFileFormatDialog(QWidget* parent = nullptr);

    // Selects the option of a file type (clamped to 0..3).
    void setFileType(int fileType);
    // The type last clicked (or set), 0..3.
    int chosenType() const { return m_chosen; }
    bool cancelled() const { return m_cancelled; }

    QRadioButton* Option1(int index) const;
    QPushButton* OKButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void optionClicked(int index);

    QLabel* m_label;
    std::array<QRadioButton*, kTypes> m_options{};
    QPushButton* m_ok;
    QPushButton* m_cancel;
    int m_chosen = 0;
    int m_atOpening = 0;
    bool m_cancelled = false;
};

} // namespace toneloft
