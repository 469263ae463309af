#include "synth/ui/SoundPanel.h"

#include "common/ui/QtUiServices.h"
#include "synth/SoundSettings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSlider>

#include <algorithm>

namespace toneloft {

SoundPanel::SoundPanel(synth::SoundSettings& sound, QWidget* parent)
    : QGroupBox(QStringLiteral("Sound of the built-in DX7"), parent),
      m_sound(sound),
      m_devices(new QComboBox(this)),
      m_volume(new QSlider(Qt::Horizontal, this)),
      m_problem(new QLabel(this))
{
    setObjectName(QStringLiteral("SoundPanel"));
    m_devices->setObjectName(QStringLiteral("cboAudioOutput"));
    m_volume->setObjectName(QStringLiteral("sldVolume"));
    m_problem->setObjectName(QStringLiteral("lblAudioProblem"));
    for (const auto& name : m_sound.outputDevices())
        m_devices->addItem(QtUiServices::toDisplayText(name));
    m_devices->setCurrentIndex(std::max(0, m_sound.currentDevice()));
    m_volume->setRange(0, 100);
    m_volume->setValue(m_sound.volume());
    m_problem->setWordWrap(true);
    m_problem->setText(QtUiServices::toDisplayText(m_sound.problem()));

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Audio Output :"), m_devices);
    form->addRow(QStringLiteral("Volume :"), m_volume);
    form->addRow(m_problem);

    connect(m_volume, &QSlider::valueChanged, this, [this](int value) { m_sound.setVolume(value); });
}

void SoundPanel::apply()
{
    const bool ok = m_sound.selectDevice(m_devices->currentIndex());
    m_problem->setText(ok ? QString() : QtUiServices::toDisplayText(m_sound.problem()));
}

} // namespace toneloft
