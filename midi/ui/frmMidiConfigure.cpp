#include "midi/ui/frmMidiConfigure.h"

#include "common/ui/QtUiServices.h"
#include "synth/ui/SoundPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace toneloft {

namespace {

void fill(QComboBox* list, const std::vector<std::string>& names, int selected)
{
    for (const auto& name : names)
        list->addItem(QtUiServices::toDisplayText(name));
    // An index the list does not have leaves it on its first entry ("<None>").
    list->setCurrentIndex(selected >= 0 && selected < list->count() ? selected : 0);
}

} // namespace

frmMidiConfigure::frmMidiConfigure(const MidiConfigureDialog& dialog, QWidget* parent, synth::SoundSettings* sound)
    : QDialog(parent),
      m_outputs(new QComboBox(this)),
      m_inputs(new QComboBox(this)),
      m_skip(new QCheckBox(QStringLiteral("Skip Initialisation"), this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)),
      m_deviceOpen(dialog.deviceOpen)
{
    setObjectName(QStringLiteral("frmMidiConfigure"));
    setWindowTitle(QtUiServices::toDisplayText(dialog.caption));
    m_outputs->setObjectName(QStringLiteral("cboOutput"));
    m_inputs->setObjectName(QStringLiteral("cboInput"));
    m_skip->setObjectName(QStringLiteral("chkSkipInitialisation"));
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));

    fill(m_outputs, dialog.outputs, dialog.outputIndex);
    fill(m_inputs, dialog.inputs, dialog.inputIndex);
    m_skip->setChecked(dialog.skipInitialisation);
    m_ok->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("MIDI Output :"), m_outputs);
    form->addRow(QStringLiteral("MIDI Input :"), m_inputs);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_skip);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    if (sound != nullptr) {
        m_sound = new SoundPanel(*sound, this);
        layout->addWidget(m_sound);
    }
    layout->addLayout(buttons);
    setMinimumWidth(460);

    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (m_sound != nullptr)
            m_sound->apply();
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &frmMidiConfigure::reject);
}

void frmMidiConfigure::readInto(MidiConfigureDialog& dialog) const
{
    dialog.outputIndex = std::max(0, m_outputs->currentIndex());
    dialog.inputIndex = std::max(0, m_inputs->currentIndex());
    dialog.skipInitialisation = m_skip->isChecked();
}

void frmMidiConfigure::reject()
{
    if (m_deviceOpen)
        return;
    QDialog::reject();
}

} // namespace toneloft
