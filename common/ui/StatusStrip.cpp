#include "common/ui/StatusStrip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

namespace toneloft {

StatusStrip::StatusStrip(QWidget* parent)
    : QWidget(parent), m_label(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_cancel(new QToolButton(this))
{
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setText(QStringLiteral("Cancel"));
    m_cancel->setToolTip(QStringLiteral("Stop (Esc)"));
    m_cancel->hide();
    setObjectName(QStringLiteral("Picture1"));
    m_label->setObjectName(QStringLiteral("Label1"));
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_label->setTextFormat(Qt::PlainText);
    m_progress->setTextVisible(false);
    m_progress->setMaximumWidth(200);
    m_progress->hide();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_progress);
    layout->addWidget(m_cancel);
}

QString StatusStrip::text() const
{
    return m_label->text();
}

void StatusStrip::setText(const QString& text)
{
    m_label->setText(text);
}

void StatusStrip::setProgress(int value, int maximum)
{
    m_progress->setVisible(maximum > 0);
    m_progress->setRange(0, maximum > 0 ? maximum : 1);
    m_progress->setValue(value);
}

} // namespace toneloft
