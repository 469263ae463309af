#include "library/ui/frmDupStatus.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace toneloft {

namespace {
constexpr qint64 kRepaintMs = 50;
}

frmDupStatus::frmDupStatus(QWidget* parent) : QDialog(parent), m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmDupStatus"));
    setWindowTitle(QStringLiteral("Searching for Duplicates..."));
    setModal(false);
    auto* grid = new QGridLayout(this);
    const char* captions[] = {"Current Voice", "Remaining to Search", "Duplicates Found", "Duplicates Deleted",
                              "Total Patches at Start", "Total Patches Now"};
    for (int i = 0; i < 6; ++i) {
        grid->addWidget(new QLabel(QString::fromLatin1(captions[i]), this), i, 0);
        m_values[i] = new QLabel(QStringLiteral("0"), this);
        m_values[i]->setObjectName(QStringLiteral("Value%1").arg(i));
        m_values[i]->setMinimumWidth(m_values[i]->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
        m_values[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(m_values[i], i, 1);
    }
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    grid->addWidget(m_cancel, 6, 0, 1, 2, Qt::AlignCenter);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelRequested = true; });
}

void frmDupStatus::showStatus(const DuplicateStatus& s)
{
    if (m_sincePaint.isValid() && m_sincePaint.elapsed() < kRepaintMs && s.remaining > 0)
        return;
    m_sincePaint.restart();
    const long values[] = {s.currentVoice, s.remaining, s.found, s.deleted, s.totalAtStart, s.totalNow};
    for (int i = 0; i < 6; ++i)
        m_values[i]->setText(QString::number(values[i]));
}

bool frmDupStatus::takeCancelRequest()
{
    const bool requested = m_cancelRequested;
    m_cancelRequested = false;
    return requested;
}

} // namespace toneloft
