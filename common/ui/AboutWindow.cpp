#include "common/ui/AboutWindow.h"

#include "common/ui/SystemInfoDialog.h"
#include "common/ui/ToolbarIcons.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace toneloft {

QString AboutWindow::versionText()
{
    return QStringLiteral("Version %1").arg(QStringLiteral(TONELOFT_VERSION));
}

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent), m_systemInfo(new QPushButton(QStringLiteral("&System Info..."), this))
{
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowTitle(QStringLiteral("About Toneloft"));

    auto* icon = new QLabel(this);
    icon->setPixmap(ToolbarIcons::programIcon().pixmap(64, 64));
    auto* title = new QLabel(QStringLiteral("<b style='font-size:16pt'>Toneloft</b>"), this);
    auto* version = new QLabel(versionText(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* description = new QLabel(
        QStringLiteral("An editor and librarian for the Yamaha DX7 and the instruments that "
                       "read its voices (TX7, DX7 II and others).\n\n"
                       "Open, sort, search, copy and rename voices in lists of any length, edit "
                       "a voice's 155 parameters while you listen to it, and exchange voices and "
                       "32-voice banks with the synthesiser over MIDI."),
        this);
    description->setWordWrap(true);
    description->setMinimumWidth(340);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_systemInfo, &QPushButton::clicked, this, [this] {
        SystemInfoDialog info(this);
        info.exec();
    });

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(description, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_systemInfo);
    buttons->addWidget(ok);
    layout->addLayout(buttons, 3, 0, 1, 2);
}

} // namespace toneloft
