#include "midi/ui/frmInitialisationMessage.h"

#include "common/ui/QtUiServices.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace toneloft {

frmInitialisationMessage::frmInitialisationMessage(const std::string& testText, QWidget* parent)
    : QDialog(parent), m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frmInitialisationMessage"));
    setWindowTitle(QStringLiteral("MIDI Initialisation"));
    auto* first = new QLabel(
        QStringLiteral("Toneloft can test that your PC and synth are properly connected"), this);
    auto* second = new QLabel(QStringLiteral("and can get your current voice list"), this);
    first->setObjectName(QStringLiteral("lblMessage0"));
    second->setObjectName(QStringLiteral("lblMessage1"));

    m_text->setObjectName(QStringLiteral("txtTest"));
    m_text->setReadOnly(true);
    m_text->setPlainText(QtUiServices::toDisplayText(testText));
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const QFontMetrics metrics(m_text->font());
    m_text->setMinimumSize(metrics.averageCharWidth() * 80, metrics.lineSpacing() * 18);

    const std::array<const char*, 4> captions = {"&Skip", "&TX7", "&DX7", "&Cancel"};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const int index = static_cast<int>(i);
        auto* b = new QPushButton(QString::fromLatin1(captions[i]), this);
        b->setObjectName(QStringLiteral("cmdTest%1").arg(index));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, index] { choose(index); });
        buttons->addWidget(b);
        m_buttons[i] = b;
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
}

QPushButton* frmInitialisationMessage::button(int index) const
{
    return index >= 0 && index < static_cast<int>(m_buttons.size())
               ? m_buttons[static_cast<std::size_t>(index)]
               : nullptr;
}

QString frmInitialisationMessage::testText() const
{
    return m_text->toPlainText();
}

void frmInitialisationMessage::reject()
{
    m_choice = kCancel;
    QDialog::reject();
}

void frmInitialisationMessage::choose(int index)
{
    m_choice = index;
    accept();
}

} // namespace toneloft
