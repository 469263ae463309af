#include "library/ui/frmGroupPatches.h"
#include "library/ui/ToolDialogLayout.h"

#include "voice/Session.h"
#include "library/ui/frmGroupStatus.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace toneloft {

frmGroupPatches::frmGroupPatches(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_ok(new QPushButton(QStringLiteral("Search"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)), m_help(new QPushButton(QStringLiteral("Help"), this))
{
    setObjectName(QStringLiteral("frmGroupPatches"));
    setWindowTitle(QStringLiteral("Group Voice Patches"));
    setModal(false);

    auto* groups = new QGroupBox(QStringLiteral("Include/Search for ..."), this);
    auto* grid = new QGridLayout(groups);
    for (int i = 0; i < PatchGrouping::kGroups; ++i) {
        m_ticks[i] = new QCheckBox(QStringLiteral("Group &%1").arg(i + 1), groups);
        m_ticks[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
        grid->addWidget(m_ticks[i], i, 0);
        for (int j = 0; j < 2; ++j) {
            QLineEdit*& box = m_patterns[2 * i + j];
            box = new QLineEdit(groups);
            box->setObjectName(QStringLiteral("MaskEdBox1_%1").arg(2 * i + j));
            box->setMaxLength(static_cast<int>(PatchGrouping::kMaxPatternLength));
            grid->addWidget(box, i, j + 1);
        }
    }

    auto* hint = new QLabel(QStringLiteral("Patterns may be up to 10 characters long and can contain wildcard "
                                           "characters, eg *BASS* will find EL.BASS, BASSIC etc. See Help for "
                                           "further information"),
                            this);
    hint->setWordWrap(true);

    auto* source = new QGroupBox(QStringLiteral("Source File ..."), this);
    auto* sourceLayout = new QVBoxLayout(source);
    m_source[0] = new QRadioButton(QStringLiteral("&Move Patches"), source);
    m_source[1] = new QRadioButton(QStringLiteral("&Copy Patches"), source);
    auto* range = new QGroupBox(QStringLiteral("Include in Search ..."), this);
    auto* rangeLayout = new QVBoxLayout(range);
    m_range[0] = new QRadioButton(QStringLiteral("&All voice patches in file"), range);
    m_range[1] = new QRadioButton(QStringLiteral("C&urrent Selection"), range);
    for (int i = 0; i < 2; ++i) {
        m_source[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        m_range[i]->setObjectName(QStringLiteral("Option2_%1").arg(i));
        sourceLayout->addWidget(m_source[i]);
        rangeLayout->addWidget(m_range[i]);
    }
    m_source[1]->setChecked(true);
    m_range[0]->setChecked(true);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Enter one or two search patterns per Group"), this));
    left->addWidget(groups);
    left->addWidget(hint);
    auto* options = new QHBoxLayout;
    options->addWidget(source);
    options->addWidget(range);
    left->addLayout(options);

    layOutToolDialog(*this, left, m_ok, m_cancel, m_help);

    connect(m_ok, &QPushButton::clicked, this, &frmGroupPatches::search);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(m_help, &QPushButton::clicked, this,
            [this] { m_session.ui().openHelp("::/dlg_MainWindow.htm#EditGroupPatches"); });
}

frmGroupPatches::~frmGroupPatches() = default;

VoiceList* frmGroupPatches::list() const
{
    return m_listId.empty() ? nullptr : m_session.colVoiceLists().Item(m_listId).get();
}

frmGroupStatus* frmGroupPatches::statusWindow() const
{
    return m_status;
}

void frmGroupPatches::setList(VoiceList* list)
{
    m_listId = list ? list->ID : std::string();
    if (list)
        setWindowTitle(QStringLiteral("Group Patches in ") + QString::fromStdString(list->FileTitle));
}

PatchGrouping::Options frmGroupPatches::options() const
{
    PatchGrouping::Options o;
    for (int i = 0; i < PatchGrouping::kGroups; ++i) {
        auto& g = o.groups[static_cast<std::size_t>(i)];
        g.ticked = m_ticks[i]->isChecked();
        g.pattern1 = m_patterns[2 * i]->text().toStdString();
        g.pattern2 = m_patterns[2 * i + 1]->text().toStdString();
    }
    o.move = m_source[0]->isChecked();
    o.selectionOnly = m_range[1]->isChecked();
    return o;
}

void frmGroupPatches::search()
{
    // Held for the search: events run meanwhile, and the list could be closed.
    const auto target = m_listId.empty() ? nullptr : m_session.colVoiceLists().Item(m_listId);
    if (!target)
        return;
    bool extend = false;
    // Events run during the search; a second Search must wait for the first.
    m_ok->setEnabled(false);
    m_result = PatchGrouping::Search(*target, options(), m_progress, extend);
    m_ok->setEnabled(true);
    // Refused searches leave the dialog open; after a search only Yes does.
    if (m_result.searched && !extend) {
        m_progress.close();
        hide();
    }
}

void frmGroupPatches::Progress::open()
{
    if (!m_owner.m_status)
        m_owner.m_status = new frmGroupStatus(&m_owner);
    m_owner.m_status->takeCancelRequest();
    m_owner.m_status->show();
}

void frmGroupPatches::Progress::close()
{
    if (m_owner.m_status)
        m_owner.m_status->hide();
}

bool frmGroupPatches::Progress::shown() const
{
    return m_owner.m_status && m_owner.m_status->isVisible();
}

void frmGroupPatches::Progress::GroupStatus(const toneloft::GroupStatus& status)
{
    if (m_owner.m_status)
        m_owner.m_status->showStatus(status);
}

bool frmGroupPatches::Progress::takeCancelRequest()
{
    return m_owner.m_status && m_owner.m_status->takeCancelRequest();
}

} // namespace toneloft
