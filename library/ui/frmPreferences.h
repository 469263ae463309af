#pragma once

#include "library/ui/Preferences.h"

#include <QDialog>

class QPushButton;
class QRadioButton;

namespace toneloft {

// Edit > Preferences: the key scheme and the slot numbering. Shows the values
// it is given; the caller stores and applies them when the user says OK.
class frmPreferences : public QDialog {
    Q_OBJECT

public:
    explicit frmPreferences(QWidget* parent = nullptr);

    Preferences::KeyScheme keyScheme() const;
    void setKeyScheme(Preferences::KeyScheme scheme);
    Preferences::SlotNumbering slotNumbering() const;
    void setSlotNumbering(Preferences::SlotNumbering numbering);

    QRadioButton* classicKeys() const { return m_classic; }
    QRadioButton* standardKeys() const { return m_standard; }
    QRadioButton* slotNumbers() const { return m_numbers; }
    QRadioButton* slotHalves() const { return m_halves; }
    QPushButton* okButton() const { return m_ok; }

private:
    QRadioButton* m_classic;
    QRadioButton* m_standard;
    QRadioButton* m_numbers;
    QRadioButton* m_halves;
    QPushButton* m_ok;
};

} // namespace toneloft
