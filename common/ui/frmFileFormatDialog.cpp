#include "common/ui/frmFileFormatDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace toneloft {

namespace {

const char* const kOptionCaptions[frmFileFormatDialog::kTypes] = {
    "Unpacked voice data without header/footer - 155 bytes per voice (default)",
    "Unpacked voice data with a header/footer for each voice - 163 bytes per voice",
    "Packed voice data without header/footer - 128 bytes per voice",
    "Packed voice data with header/footer - 128 bytes per voice -4104 bytes per 32 Voice bulk "
    "dump",
};

} // namespace

frmFileFormatDialog::frmFileFormatDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_label(new QLabel(QStringLiteral("Choose a format to apply when saving the file"), this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmFileFormatDialog"));
    setWindowTitle(QStringLiteral("Save File"));
    setModal(true);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_ok->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < kTypes; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(kOptionCaptions[i]), this);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        group->addButton(option, i);
        layout->addWidget(option);
        m_options[static_cast<std::size_t>(i)] = option;
    }
    connect(group, &QButtonGroup::idClicked, this, &frmFileFormatDialog::optionClicked);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &frmFileFormatDialog::reject);

    setFileType(0);
}

QRadioButton* frmFileFormatDialog::Option1(int index) const
{
    if (index < 0 || index >= kTypes)
        return nullptr;
    return m_options[static_cast<std::size_t>(index)];
}

void frmFileFormatDialog::setFileType(int fileType)
{
    const int type = std::clamp(fileType, 0, kTypes - 1);
    m_options[static_cast<std::size_t>(type)]->setChecked(true);
    m_chosen = type;
    m_atOpening = type;
    m_cancelled = false;
}

void frmFileFormatDialog::showEvent(QShowEvent* event)
{
    m_cancelled = false;
    for (int i = 0; i < kTypes; ++i)
        if (m_options[static_cast<std::size_t>(i)]->isChecked())
            m_atOpening = i;
    QDialog::showEvent(event);
}

void frmFileFormatDialog::optionClicked(int index)
{
    m_chosen = index;
}

void frmFileFormatDialog::reject()
{
    m_cancelled = true;
    m_options[static_cast<std::size_t>(m_atOpening)]->setChecked(true);
    QDialog::reject();
}

} // namespace toneloft
