#pragma once

#include "midi/MidiStartupDialogs.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace toneloft::synth {
class SoundSettings;
}

namespace toneloft {

class SoundPanel;

// The device dialogue: one output and one input list (entry 0 "<None>"), the
// "Skip Initialisation" box, OK and Cancel. It opens on the selection the core
// made (remembered, or the first pair whose names agree) and hands the user's
// choice back as list indexes; the core turns them into device ids.
class frmMidiConfigure : public QDialog {
    Q_OBJECT

public:
    // With sound settings the dialogue also offers the built-in instrument's
    // audio output and volume.
    explicit frmMidiConfigure(const MidiConfigureDialog& dialog, QWidget* parent = nullptr,
                              synth::SoundSettings* sound = nullptr);

    // The lists' selection and the skip box, written into the dialogue data.
    void readInto(MidiConfigureDialog& dialog) const;

    QComboBox* outputList() const { return m_outputs; }
    QComboBox* inputList() const { return m_inputs; }
    QCheckBox* skipBox() const { return m_skip; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    SoundPanel* soundPanel() const { return m_sound; }

public Q_SLOTS:
    // Cancel, Escape and the close box: ignored while a device is open.
    void reject() override;

private:
    QComboBox* m_outputs;
    QComboBox* m_inputs;
    QCheckBox* m_skip;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    SoundPanel* m_sound = nullptr;
    bool m_deviceOpen;
};

} // namespace toneloft
