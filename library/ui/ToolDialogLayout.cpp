#include "library/ui/ToolDialogLayout.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace toneloft {

void layOutToolDialog(QDialog& dialog, QLayout* options, QPushButton* ok, QPushButton* cancel, QPushButton* help)
{
    auto* buttons = new QVBoxLayout;
    ok->setObjectName(QStringLiteral("OKButton"));
    cancel->setObjectName(QStringLiteral("CancelButton"));
    help->setObjectName(QStringLiteral("Command1"));
    for (QPushButton* b : {ok, cancel, help}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    ok->setDefault(true);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(&dialog);
    layout->addLayout(options, 1);
    layout->addLayout(buttons);
}

} // namespace toneloft
