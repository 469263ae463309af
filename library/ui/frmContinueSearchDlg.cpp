#include "library/ui/frmContinueSearchDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace toneloft {

namespace {
constexpr int kStop = 2;
}

frmContinueSearchDlg::frmContinueSearchDlg(QWidget* parent)
    : QDialog(parent), m_toEnd(new QCheckBox(QStringLiteral("Continue Search Until End of Range"), this))
{
    setObjectName(QStringLiteral("frmContinueSearchDlg"));
    setWindowTitle(QStringLiteral("Cancel Search ?"));
    setModal(true);
    m_toEnd->setObjectName(QStringLiteral("Check1"));
    auto* text = new QVBoxLayout;
    text->addWidget(new QLabel(QStringLiteral("Do You want to continue searching for duplicates ?"), this));
    text->addWidget(new QLabel(QStringLiteral("If you don't want to be asked again for the remainder"), this));
    text->addWidget(new QLabel(QStringLiteral("of this search, check the box below"), this));
    text->addWidget(m_toEnd);

    auto* buttons = new QVBoxLayout;
    const char* captions[] = {"OK", "No", "Cancel"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(captions[i]), this);
        b->setObjectName(QString::fromLatin1(captions[i]) + QStringLiteral("Button"));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { done(i == 0 ? QDialog::Accepted : kStop + i); });
        if (i == 0)
            b->setDefault(true);
    }
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(text, 1);
    layout->addLayout(buttons);
}

QPushButton* frmContinueSearchDlg::button(const QString& caption) const
{
    return findChild<QPushButton*>(caption + QStringLiteral("Button"));
}

SearchProgress::ContinueChoice frmContinueSearchDlg::ask()
{
    using Choice = SearchProgress::ContinueChoice;
    if (exec() != QDialog::Accepted)
        return Choice::Stop;
    return m_toEnd->isChecked() ? Choice::ContinueToEnd : Choice::Continue;
}

} // namespace toneloft
