#include "library/ui/frmDuplicates.h"
#include "library/ui/ToolDialogLayout.h"

#include "voice/Session.h"
#include "library/ui/frmContinueSearchDlg.h"
#include "library/ui/frmDupStatus.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace toneloft {

frmDuplicates::frmDuplicates(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session),
      m_autoDelete(new QCheckBox(QStringLiteral("&Automatically delete duplicates"), this)),
      m_sortFirst(new QCheckBox(QStringLiteral("&Sort voices first"), this)),
      m_ok(new QPushButton(QStringLiteral("Search"), this)), m_cancel(new QPushButton(QStringLiteral("Cancel"), this)),
      m_help(new QPushButton(QStringLiteral("Help"), this))
{
    setObjectName(QStringLiteral("frmDuplicates"));
    setWindowTitle(QStringLiteral("Search for Duplicate Voice Patches"));
    setModal(false);

    auto* rules = new QGroupBox(QStringLiteral("Search for ..."), this);
    auto* rulesLayout = new QVBoxLayout(rules);
    const char* ruleCaptions[] = {"Duplicate voice patch &names only", "Duplicate voice patches - all data/&checksum",
                                  "Duplicate voice patches - all &data/CRC", "Duplicate voice data - &exc.names/CRC"};
    for (int i = 0; i < 4; ++i) {
        m_rules[i] = new QRadioButton(QString::fromLatin1(ruleCaptions[i]), rules);
        m_rules[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        rulesLayout->addWidget(m_rules[i]);
    }
    m_rules[2]->setChecked(true);
    m_autoDelete->setObjectName(QStringLiteral("Check1"));
    rulesLayout->addWidget(m_autoDelete);

    auto* ranges = new QGroupBox(QStringLiteral("Include in Search ..."), this);
    auto* rangesLayout = new QVBoxLayout(ranges);
    const char* rangeCaptions[] = {"All &voice patches in file", "C&urrent voice selection",
                                   "All voice patches in current &bank"};
    for (int i = 0; i < 3; ++i) {
        m_ranges[i] = new QRadioButton(QString::fromLatin1(rangeCaptions[i]), ranges);
        m_ranges[i]->setObjectName(QStringLiteral("Option2_%1").arg(i));
        rangesLayout->addWidget(m_ranges[i]);
        connect(m_ranges[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                rangeChosen(i);
        });
    }
    m_sortFirst->setObjectName(QStringLiteral("Check2"));
    rangesLayout->addWidget(m_sortFirst);
    m_ranges[0]->setChecked(true);

    auto* left = new QVBoxLayout;
    left->addWidget(rules);
    left->addWidget(ranges);
    left->addWidget(new QLabel(QStringLiteral("See Help for further information"), this));
    left->addWidget(new QLabel(QStringLiteral("Note: Searches on sorted lists are faster."), this));

    layOutToolDialog(*this, left, m_ok, m_cancel, m_help);

    connect(m_ok, &QPushButton::clicked, this, &frmDuplicates::search);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(m_help, &QPushButton::clicked, this,
            [this] { m_session.ui().openHelp("::/dlg_MainWindow.htm#EditDuplicates"); });
}

frmDuplicates::~frmDuplicates() = default;

VoiceList* frmDuplicates::list() const
{
    return m_listId.empty() ? nullptr : m_session.colVoiceLists().Item(m_listId).get();
}

frmDupStatus* frmDuplicates::statusWindow() const
{
    return m_status;
}

frmContinueSearchDlg* frmDuplicates::continueDialog() const
{
    return m_continue;
}

void frmDuplicates::setList(VoiceList* list)
{
    m_listId = list ? list->ID : std::string();
}

void frmDuplicates::placeOver(const QWidget& mainWindow)
{
    const QPoint origin = mainWindow.mapToGlobal(QPoint(0, 0));
    move(origin.x() + static_cast<int>(0.375 * mainWindow.width()), origin.y() + 25);
}

void frmDuplicates::rangeChosen(int index)
{
    // Sorting first only makes sense for the whole file.
    m_sortFirst->setChecked(index == 0);
    m_sortFirst->setEnabled(index == 0);
}

DuplicateSearch::Options frmDuplicates::options() const
{
    DuplicateSearch::Options o;
    for (int i = 0; i < 4; ++i)
        if (m_rules[i]->isChecked())
            o.rule = static_cast<DuplicateSearch::Rule>(i);
    for (int i = 0; i < 3; ++i)
        if (m_ranges[i]->isChecked())
            o.range = static_cast<DuplicateSearch::Range>(i);
    o.autoDelete = m_autoDelete->isChecked();
    o.sortFirst = m_sortFirst->isChecked() && m_sortFirst->isEnabled();
    return o;
}

void frmDuplicates::search()
{
    // Held for the search: events run meanwhile, and the list could be closed.
    const auto target = m_listId.empty() ? nullptr : m_session.colVoiceLists().Item(m_listId);
    if (!target)
        return;
    // Events run during the search; a second Search must wait for the first.
    m_ok->setEnabled(false);
    DuplicateSearch::Options o = options();
    o.view = m_viewOf ? m_viewOf(*target) : nullptr;
    m_result = DuplicateSearch::SearchDuplicates(*target, o, m_progress);
    m_ok->setEnabled(true);
    if (m_result.searched)
        hide();
}

void frmDuplicates::Progress::open()
{
    frmDuplicates& o = m_owner;
    if (!o.m_status)
        o.m_status = new frmDupStatus(&o);
    o.m_status->takeCancelRequest();
    o.m_status->show();
    o.m_status->raise();
    // A fresh continue dialog for every search: its tick holds for one search only.
    delete o.m_continue;
    o.m_continue = new frmContinueSearchDlg(&o);
}

void frmDuplicates::Progress::close()
{
    if (m_owner.m_status)
        m_owner.m_status->hide();
}

bool frmDuplicates::Progress::shown() const
{
    return m_owner.m_status && m_owner.m_status->isVisible();
}

void frmDuplicates::Progress::SearchStatus(const DuplicateStatus& status)
{
    if (m_owner.m_status)
        m_owner.m_status->showStatus(status);
}

bool frmDuplicates::Progress::takeCancelRequest()
{
    return m_owner.m_status && m_owner.m_status->takeCancelRequest();
}

SearchProgress::ContinueChoice frmDuplicates::Progress::continueSearch()
{
    if (!m_owner.m_continue)
        m_owner.m_continue = new frmContinueSearchDlg(&m_owner);
    return m_owner.m_continue->ask();
}

} // namespace toneloft
