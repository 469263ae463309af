#include "library/ui/frmGroupStatus.h"

#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace toneloft {

frmGroupStatus::frmGroupStatus(QWidget* parent)
    : QDialog(parent), m_bar(new QProgressBar(this)), m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmGroupStatus"));
    setWindowTitle(QStringLiteral("Processing File"));
    setModal(false);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignCenter);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelRequested = true; });
}

void frmGroupStatus::showStatus(const GroupStatus& status)
{
    m_bar->setRange(0, status.total > 0 ? status.total : 1);
    m_bar->setValue(status.position);
}

bool frmGroupStatus::takeCancelRequest()
{
    const bool requested = m_cancelRequested;
    m_cancelRequested = false;
    return requested;
}

} // namespace toneloft
