#include "midi/ui/frmMissingMIDIDevice.h"

#include "common/ui/QtUiServices.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace toneloft {

frmMissingMIDIDevice::frmMissingMIDIDevice(const MissingDeviceDialog& dialog, QWidget* parent)
    : QDialog(parent), m_message(new QLabel(this)), m_question(new QLabel(this))
{
    setObjectName(QStringLiteral("frmMissingMIDIDevice"));
    setWindowTitle(QtUiServices::toDisplayText(dialog.caption));
    m_message->setObjectName(QStringLiteral("lblMessage"));
    m_question->setObjectName(QStringLiteral("lblQuestion"));
    // The no-devices text ends in a line break of its own, so the two read as
    // separate lines.
    m_message->setText(QtUiServices::toDisplayText(dialog.noDevicesText + dialog.neededText));
    m_question->setText(QtUiServices::toDisplayText(dialog.question));
    for (QLabel* label : {m_message, m_question}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const int index = static_cast<int>(i);
        auto* b = new QPushButton(QtUiServices::toDisplayText(dialog.buttons[i]), this);
        b->setObjectName(QStringLiteral("cmdChoice%1").arg(index));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, index] { choose(index); });
        buttons->addWidget(b);
        m_buttons[i] = b;
    }
    m_buttons[0]->setDefault(true);
    if (dialog.buttons[2] == "Cancel")
        m_escapeChoice = 2;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(m_question);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

QPushButton* frmMissingMIDIDevice::button(int index) const
{
    return index >= 0 && index < static_cast<int>(m_buttons.size())
               ? m_buttons[static_cast<std::size_t>(index)]
               : nullptr;
}

QString frmMissingMIDIDevice::messageText() const
{
    return m_message->text();
}

QString frmMissingMIDIDevice::questionText() const
{
    return m_question->text();
}

void frmMissingMIDIDevice::reject()
{
    m_choice = m_escapeChoice;
    QDialog::reject();
}

void frmMissingMIDIDevice::choose(int index)
{
    m_choice = index;
    accept();
}

} // namespace toneloft
