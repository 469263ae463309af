#pragma once

#include "midi/MidiStartupDialogs.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace toneloft {

// Tells the user that input or output devices are missing and asks whether to
// work off-line, choose a device of the other kind anyway, or exit (cancel on
// later showings). The texts are the core's.
class frmMissingMIDIDevice : public QDialog {
    Q_OBJECT

public:
    explicit frmMissingMIDIDevice(const MissingDeviceDialog& dialog, QWidget* parent = nullptr);

    // The index of the button pressed, 0-2.
    int choice() const { return m_choice; }
    QPushButton* button(int index) const;
    QString messageText() const;
    QString questionText() const;

public Q_SLOTS:
    // Escape and the close box: Cancel when it is offered, else off-line,
    // so that closing the box never quits the program.
    void reject() override;

private:
    void choose(int index);

    QLabel* m_message;
    QLabel* m_question;
    std::array<QPushButton*, 3> m_buttons{};
    int m_escapeChoice = 0;
    int m_choice = 0;
};

} // namespace toneloft
