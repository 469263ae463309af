#include "library/ui/frmFileProperties.h"

#include "common/NumberText.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace toneloft {

namespace {

QString counted(long n)
{
    return QString::fromStdString(Format(static_cast<double>(n), "#,###,###,##0"));
}

} // namespace

frmFileProperties::frmFileProperties(QWidget* parent)
    : QDialog(parent),
      m_fileName(new QLabel(this)),
      m_fileType(new QLabel(this)),
      m_patches(new QLabel(this)),
      m_banks(new QLabel(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("frmFileProperties"));
    setWindowTitle(QStringLiteral("Properties"));
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    for (QLabel* value : {m_fileName, m_fileType, m_patches, m_banks}) {
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("File Name"), m_fileName);
    form->addRow(QStringLiteral("File Type"), m_fileType);
    form->addRow(QStringLiteral("Patches"), m_patches);
    form->addRow(QStringLiteral("Banks"), m_banks);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

void frmFileProperties::setProperties(const QString& fileName, const QString& fileType,
                                      long patches, long banks)
{
    m_fileName->setText(fileName);
    m_fileType->setText(fileType);
    m_patches->setText(counted(patches));
    m_banks->setText(counted(banks));
}

QString frmFileProperties::fileNameText() const
{
    return m_fileName->text();
}

QString frmFileProperties::fileTypeText() const
{
    return m_fileType->text();
}

QString frmFileProperties::patchesText() const
{
    return m_patches->text();
}

QString frmFileProperties::banksText() const
{
    return m_banks->text();
}

} // namespace toneloft
