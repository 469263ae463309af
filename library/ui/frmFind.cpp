#include "library/ui/frmFind.h"

#include "common/Banks.h"
#include "library/SortFind.h"
#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace toneloft {

frmFind::frmFind(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_text(new QLineEdit(this)), m_direction(new QComboBox(this)),
      m_pattern(new QCheckBox(QStringLiteral("Use &Pattern Matching"), this)),
      m_current(new QRadioButton(QStringLiteral("&Current List"))),
      m_all(new QRadioButton(QStringLiteral("&All Lists")))
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_direction->setObjectName(QStringLiteral("Combo1"));
    m_direction->addItems({QStringLiteral("All"), QStringLiteral("Up"), QStringLiteral("Down")});
    m_pattern->setObjectName(QStringLiteral("Check1"));
    m_current->setObjectName(QStringLiteral("Option1_0"));
    m_all->setObjectName(QStringLiteral("Option1_1"));
    m_current->setChecked(true);

    auto* search = new QGroupBox(QStringLiteral("Search"), this);
    auto* searchLayout = new QVBoxLayout(search);
    searchLayout->addWidget(m_current);
    searchLayout->addWidget(m_all);

    auto* fields = new QGridLayout;
    auto* findWhat = new QLabel(QStringLiteral("Find What:"), this);
    findWhat->setBuddy(m_text);
    auto* direction = new QLabel(QStringLiteral("Direction:"), this);
    direction->setBuddy(m_direction);
    fields->addWidget(findWhat, 0, 0);
    fields->addWidget(m_text, 0, 1);
    fields->addWidget(direction, 1, 0);
    fields->addWidget(m_direction, 1, 1);
    fields->addWidget(m_pattern, 2, 0, 1, 2);
    fields->addWidget(search, 3, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    const char* captions[] = {"Find Next", "Cancel", "Help"};
    for (int i = 0; i < 3; ++i) {
        m_buttons[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
        m_buttons[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        m_buttons[i]->setAutoDefault(false);
        buttons->addWidget(m_buttons[i]);
    }
    buttons->addStretch(1);
    // Enter in the text box is Find Next.
    m_buttons[0]->setDefault(true);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    // A new search text or way of searching is a new search.
    const auto forget = [this] {
        m_foundListId.clear();
        m_foundVoice = 0;
    };
    connect(m_text, &QLineEdit::textChanged, this, forget);
    connect(m_pattern, &QCheckBox::toggled, this, forget);
    connect(m_all, &QRadioButton::toggled, this, forget);
    connect(m_direction, &QComboBox::currentIndexChanged, this, forget);

    connect(m_buttons[0], &QPushButton::clicked, this, [this] { findNext(); });
    connect(m_buttons[1], &QPushButton::clicked, this, &QDialog::close);
    connect(m_buttons[2], &QPushButton::clicked, this,
            [this] { m_session.ui().openHelp("::/dlg_MainWindow.htm#EditFind"); });
}

QPushButton* frmFind::Command1(int index) const
{
    return index >= 0 && index < 3 ? m_buttons[index] : nullptr;
}

void frmFind::prepare()
{
    const bool several = m_session.colVoiceLists().count() > 1;
    m_all->setEnabled(several);
    if (!several)
        m_current->setChecked(true);
    if (m_direction->currentIndex() < 0)
        m_direction->setCurrentIndex(0);
    // The name comes from the active list, which may not be the one searched
    // when two lists share a caption.
    VoiceList* list = m_session.activeList();
    const VoiceListViewState* view = list ? viewOf(*list) : nullptr;
    if (view && view->currentVoice > 0) {
        auto rows = list->rsmfimage().clone();
        rows->setAbsolutePosition(view->currentVoice);
        if (!rows->eof() && !rows->bof())
            m_text->setText(QString::fromLatin1(rows->text(clsVoiceNames::kNames).c_str()));
    }
    m_text->setFocus();
}

bool frmFind::findNext()
{
    const auto list = m_session.colVoiceLists().at(m_listPosition);
    if (!list)
        return false;
    const std::string text = m_text->text().toLatin1().toStdString();
    const auto direction = static_cast<SortFind::Direction>(std::max(0, m_direction->currentIndex()));
    const VoiceListViewState* view = viewOf(*list);
    const long current = view ? view->currentVoice : 0;
    long start = current;
    if (direction == SortFind::Direction::All)
        start = list->ID == m_foundListId && current == m_foundVoice ? m_foundVoice : 0;
    m_foundListId.clear();
    m_foundVoice = 0;
    const auto result = SortFind::FindVoice(m_session, m_listPosition, start,
                                            m_all->isChecked() && m_all->isEnabled(), m_pattern->isChecked(),
                                            direction, text);
    if (!result.found || !result.list) {
        if (m_redraw)
            m_redraw(*list);
        return false;
    }
    m_listPosition = m_session.colVoiceLists().indexOf(result.list->ID);
    m_foundListId = result.list->ID;
    m_foundVoice = result.voice;
    if (VoiceListViewState* found = viewOf(*result.list)) {
        found->currentVoice = result.voice;
        found->bank = BankOfVoice(result.voice);
    }
    if (m_showFound)
        m_showFound(*result.list, result.voice);
    return true;
}

void frmFind::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Restoring from minimised is no new opening.
    if (!event->spontaneous())
        Q_EMIT shownChanged(true);
}

void frmFind::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        Q_EMIT shownChanged(false);
}

} // namespace toneloft
