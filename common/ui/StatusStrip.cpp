#include "common/ui/StatusStrip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

#include <algorithm>

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

    // One height whether a text, the bar or nothing shows, and the space kept
    // while hidden, so the window area above never jumps.
    const int line = std::max({m_label->fontMetrics().height(), m_progress->sizeHint().height(),
                               m_cancel->sizeHint().height()});
    setFixedHeight(line + 4);
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
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
