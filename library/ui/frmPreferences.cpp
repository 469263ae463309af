#include "library/ui/frmPreferences.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace toneloft {

namespace {

// A choice with its explanation below it, indented under the text. The lines
// are broken by hand: a word-wrapped label leaves a dialogue too short for it.
QRadioButton* addChoice(QVBoxLayout* layout, QWidget* parent, const char* name, const char* caption,
                        const char* detail)
{
    auto* option = new QRadioButton(QString::fromLatin1(caption), parent);
    option->setObjectName(QString::fromLatin1(name));
    layout->addWidget(option);
    if (detail) {
        auto* text = new QLabel(QString::fromLatin1(detail), parent);
        text->setIndent(option->sizeHint().height());
        text->setBuddy(option);
        layout->addWidget(text);
    }
    return option;
}

} // namespace

frmPreferences::frmPreferences(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* keys = new QGroupBox(QStringLiteral("Keys"), this);
    auto* keysLayout = new QVBoxLayout(keys);
    m_classic = addChoice(keysLayout, keys, "optClassicKeys", "&Classic keys",
                          "Ctrl+X Exit, Ctrl+A Save As, Ctrl+V Save Voice;\n"
                          "Shift+Del Cut, Ctrl+Ins Copy, Shift+Ins Paste");
    m_standard = addChoice(keysLayout, keys, "optStandardKeys", "&Standard keys",
                           "Ctrl+X Cut, Ctrl+C Copy, Ctrl+V Paste,\n"
                           "Ctrl+Z Undo, Ctrl+A Select All, Ctrl+Q Quit;\n"
                           "Ctrl+S Save, Ctrl+Shift+S Save As, Ctrl+Shift+V Save Voice");
    layout->addWidget(keys);

    auto* slotBox = new QGroupBox(QStringLiteral("Slot numbers in voice lists"), this);
    auto* slotsLayout = new QVBoxLayout(slotBox);
    m_numbers = addChoice(slotsLayout, slotBox, "optSlotNumbers", "&1-32 in each bank", nullptr);
    m_halves = addChoice(slotsLayout, slotBox, "optSlotHalves", "&A1-A16 and B1-B16", nullptr);
    layout->addWidget(slotBox);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    setKeyScheme(Preferences::KeyScheme::Classic);
    setSlotNumbering(Preferences::SlotNumbering::Numbers);
}

Preferences::KeyScheme frmPreferences::keyScheme() const
{
    return m_standard->isChecked() ? Preferences::KeyScheme::Standard : Preferences::KeyScheme::Classic;
}

void frmPreferences::setKeyScheme(Preferences::KeyScheme scheme)
{
    (scheme == Preferences::KeyScheme::Standard ? m_standard : m_classic)->setChecked(true);
}

Preferences::SlotNumbering frmPreferences::slotNumbering() const
{
    return m_halves->isChecked() ? Preferences::SlotNumbering::Halves : Preferences::SlotNumbering::Numbers;
}

void frmPreferences::setSlotNumbering(Preferences::SlotNumbering numbering)
{
    (numbering == Preferences::SlotNumbering::Halves ? m_halves : m_numbers)->setChecked(true);
}

} // namespace toneloft
