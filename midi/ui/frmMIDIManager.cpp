#include "midi/ui/frmMIDIManager.h"

#include "common/ui/RecordsetModel.h"

#include "midi/MidiDeviceLayer.h"
#include "midi/clsMidiManagerData.h"
#include "midi/ui/frmEditSysex.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace toneloft {

namespace {

// The first eight fields of the monitor table; the rest stay out of the grid.
const std::vector<std::string> kShownFields = {"Timestamp",  "No",    "Channel",    "Message",
                                               "Data1Title", "Data1", "Data2Title", "Data2"};
// Column widths in twips (1440 to the inch).
constexpr std::array<int, 8> kColumnTwips = {900, 500, 300, 3000, 750, 500, 750, 500};
constexpr std::array<const char*, 4> kCaptions = {"H:M:Sec", "No", "Ch.", "Message"};

// The store grid: No, Name and Length; Data, Used and FileType stay hidden.
const std::vector<std::string> kStoreFields = {"No", "Name", "Length"};
constexpr std::array<int, 3> kStoreTwips = {500, 2400, 800};

struct ToolbarKey {
    const char* key;
    ManagerButton button;
    const char* tip;
};
constexpr std::array<ToolbarKey, 7> kToolbar = {{
    {"Send", ManagerButton::Send, "Send the selected bank"},
    {"Receive", ManagerButton::Receive, "Receive a sysex message into the selected bank"},
    {"Save", ManagerButton::Save, "Save the selected bank as a voice file"},
    {"Delete", ManagerButton::Delete, "Empty the selected bank"},
    {"Load", ManagerButton::Load, "Load a voice file into the selected bank"},
    {"Save And Load", ManagerButton::SaveAndLoad, "Save the selected bank and open it as a voice list"},
    {"Edit", ManagerButton::Edit, "Edit the selected bank or monitor message byte by byte"},
}};

// The grid's captions and read-only texts without the fields' padding blanks.
class MonitorColumns : public QIdentityProxyModel {
public:
    explicit MonitorColumns(QObject* parent, bool captions = true)
        : QIdentityProxyModel(parent), m_captions(captions)
    {
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (m_captions && orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < static_cast<int>(kCaptions.size()))
            return QString::fromLatin1(kCaptions[static_cast<std::size_t>(section)]);
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        QVariant v = QIdentityProxyModel::data(index, role);
        if ((role == Qt::DisplayRole || role == Qt::EditRole) && v.typeId() == QMetaType::QString) {
            QString text = v.toString();
            qsizetype end = text.size();
            while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
                --end;
            text.truncate(end);
            return text;
        }
        return v;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QIdentityProxyModel::flags(index) & ~Qt::ItemIsEditable;
    }

private:
    bool m_captions;
};

int twipsToPixels(const QWidget& w, int twips)
{
    return static_cast<int>(twips * w.logicalDpiX() / 1440.0 + 0.5);
}

} // namespace

frmMIDIManager::frmMIDIManager(MidiDeviceLayer& midi, QWidget* parent)
    : QWidget(parent, Qt::Window), m_midi(midi)
{
    setObjectName(QStringLiteral("frmMIDIManager"));
    setWindowTitle(QStringLiteral("MIDI Manager"));

    const Recordset* table = &m_noTable;
    if (clsMidiManagerData* manager = midi.manager())
        table = &manager->MidiMessage();
    m_rows = new RecordsetModel(*table, kShownFields, this);
    auto* columns = new MonitorColumns(this);
    columns->setSourceModel(m_rows);
    m_columns = columns;

    auto* monitor = new QGroupBox(QStringLiteral("MIDI Monitor"), this);
    monitor->setObjectName(QStringLiteral("fraMonitor"));
    m_grid = new QTableView(monitor);
    m_grid->setObjectName(QStringLiteral("grdMonitor"));
    m_grid->setModel(m_columns);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(true);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    setColumnWidths();

    auto* monitorLayout = new QVBoxLayout(monitor);
    monitorLayout->addWidget(m_grid);
    buildStore();
    auto* store = findChild<QGroupBox*>(QStringLiteral("fraSysex"));
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(store);
    split->addWidget(monitor);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(m_toolbar);
    layout->addWidget(split);
    layout->addWidget(m_resend);
    resize(1000, 420);
    m_grid->installEventFilter(this);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { rowChosen(m_grid, current.row()); });

    refreshMonitor();
}

frmMIDIManager::~frmMIDIManager()
{
    if (clsMidiManagerData* manager = m_midi.manager()) {
        manager->setStoreChangedHandler({});
        manager->setSysexEditor({});
    }
}

void frmMIDIManager::buildStore()
{
    clsMidiManagerData* manager = m_midi.manager();
    const Recordset* table = manager ? &manager->MidiSysex() : &m_noStore;
    m_storeRows = new RecordsetModel(*table, kStoreFields, this);
    auto* columns = new MonitorColumns(this, false);
    columns->setSourceModel(m_storeRows);
    m_storeColumns = columns;

    auto* box = new QGroupBox(QStringLiteral("Sysex Banks"), this);
    box->setObjectName(QStringLiteral("fraSysex"));
    m_storeGrid = new QTableView(box);
    m_storeGrid->setObjectName(QStringLiteral("grdSysex"));
    m_storeGrid->setModel(m_storeColumns);
    m_storeGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_storeGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_storeGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_storeGrid->verticalHeader()->hide();
    int width = 0;
    for (std::size_t i = 0; i < kStoreTwips.size(); ++i) {
        m_storeGrid->setColumnWidth(static_cast<int>(i), twipsToPixels(*this, kStoreTwips[i]));
        width += m_storeGrid->columnWidth(static_cast<int>(i));
    }
    m_storeGrid->setMinimumWidth(width + 24);
    m_storeGrid->installEventFilter(this);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(m_storeGrid);
    connect(m_storeGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { rowChosen(m_storeGrid, current.row()); });

    m_toolbar = new QToolBar(QStringLiteral("Sysex Banks"), this);
    m_toolbar->setObjectName(QStringLiteral("tbrManager"));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const auto& entry : kToolbar) {
        const QString key = QString::fromLatin1(entry.key);
        QAction* action = m_toolbar->addAction(key);
        action->setData(key);
        action->setToolTip(QString::fromLatin1(entry.tip));
        connect(action, &QAction::triggered, this, [this, key] { runButton(key); });
    }
    // The buttons must not take the focus from the grid the user works in.
    for (QWidget* w : m_toolbar->findChildren<QWidget*>())
        w->setFocusPolicy(Qt::NoFocus);

    m_resend = new QCheckBox(QStringLiteral("&Resend Message when selected"), this);
    m_resend->setObjectName(QStringLiteral("chkResend"));

    if (manager) {
        manager->setStoreChangedHandler([this] { refreshStore(); });
        manager->setSysexEditor([this](const ByteString& bytes) {
            frmEditSysex editor(m_midi.ui(), bytes, this);
            editor.exec();
            return editor.sysexResult();
        });
    }
    refreshStore();
}

QAction* frmMIDIManager::toolbarButton(const QString& key) const
{
    for (QAction* action : m_toolbar->actions())
        if (action->data().toString() == key)
            return action;
    return nullptr;
}

void frmMIDIManager::refreshStore()
{
    clsMidiManagerData* manager = m_midi.manager();
    m_syncing = true;
    m_storeRows->refresh();
    if (manager) {
        const QModelIndex index = m_storeColumns->index(static_cast<int>(manager->selectedSlot()) - 1, 0);
        m_storeGrid->setCurrentIndex(index);
        m_storeGrid->scrollTo(index);
    }
    m_syncing = false;
    refreshToolbar();
}

void frmMIDIManager::refreshToolbar()
{
    clsMidiManagerData* manager = m_midi.manager();
    for (const auto& entry : kToolbar)
        if (QAction* action = toolbarButton(QString::fromLatin1(entry.key)))
            action->setEnabled(manager && manager->buttonEnabled(entry.button));
}

void frmMIDIManager::runButton(const QString& key)
{
    clsMidiManagerData* manager = m_midi.manager();
    if (!manager)
        return;
    // The tables' current rows are the grids' selections.
    if (const int row = m_storeGrid->currentIndex().row(); row >= 0)
        manager->selectSlot(row + 1);
    if (const int row = m_grid->currentIndex().row(); row >= 0)
        manager->MidiMessage().setAbsolutePosition(row + 1);
    if (key == QLatin1String("Send"))
        manager->SendSysex();
    else if (key == QLatin1String("Receive"))
        manager->ReceiveSysex();
    else if (key == QLatin1String("Save")) {
        std::string path;
        manager->SaveSysex(path);
    } else if (key == QLatin1String("Delete"))
        manager->DeleteSysex();
    else if (key == QLatin1String("Load"))
        manager->LoadSysex();
    else if (key == QLatin1String("Save And Load"))
        manager->SaveAndLoadSysex();
    else if (key == QLatin1String("Edit")) {
        if (m_focusGrid == m_storeGrid)
            manager->EditSysex(1);
        else if (m_focusGrid == m_grid) {
            m_holdRow = m_grid->currentIndex().row(); // the selection returns to the edited row
            manager->EditSysex(2);
        }
        else
            m_midi.ui().MsgBox("Please select a sysex message or bank to edit.", "Nothing to Edit",
                               MsgIcon::Information, MsgButtons::OK);
    }
    refreshStore();
}

void frmMIDIManager::rowChosen(QTableView* grid, int row)
{
    clsMidiManagerData* manager = m_midi.manager();
    if (m_syncing || !manager || row < 0)
        return;
    m_focusGrid = grid;
    const int which = grid == m_storeGrid ? 1 : 2;
    if (which == 1)
        manager->selectSlot(row + 1);
    else
        manager->MidiMessage().setAbsolutePosition(row + 1);
    if (m_resend->isChecked()) {
        int result = 0;
        manager->SendMIDIMessage(which, result);
        if (which == 2)
            m_holdRow = row; // the monitor comes back to the row sent again
    }
}

bool frmMIDIManager::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_storeGrid || watched == m_grid) {
        if (event->type() == QEvent::FocusIn)
            m_focusGrid = static_cast<QTableView*>(watched);
        // The store keeps its 100 rows: Delete empties the slot instead.
        if (watched == m_storeGrid && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
            if (clsMidiManagerData* manager = m_midi.manager()) {
                manager->DeleteSysex();
                refreshStore();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QAbstractItemModel* frmMIDIManager::monitorModel() const
{
    return m_columns;
}

void frmMIDIManager::monitorChanged()
{
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QMetaObject::invokeMethod(this, [this] { refreshMonitor(); }, Qt::QueuedConnection);
}

void frmMIDIManager::refreshMonitor()
{
    m_refreshPending = false;
    refreshToolbar(); // devices opening or closing log here too
    const int before = m_rows->rowCount();
    const int selected = m_grid->currentIndex().row();
    m_rows->refreshGrown();
    const int after = m_rows->rowCount();
    if (after == 0)
        return;
    // New rows bring the newest into view; a replaced row keeps the selection.
    int row = after > before || selected < 0 || selected >= after ? after - 1 : selected;
    if (m_holdRow >= 0 && m_holdRow < after)
        row = m_holdRow;
    m_holdRow = -1;
    const QModelIndex index = m_columns->index(row, 0);
    m_syncing = true;
    m_grid->setCurrentIndex(index);
    m_grid->scrollTo(index);
    m_syncing = false;
}

void frmMIDIManager::showAs(ManagerWindowState state)
{
    switch (state) {
    case ManagerWindowState::Minimised: showMinimized(); break;
    case ManagerWindowState::Normal:
        showNormal();
        raise();
        break;
    case ManagerWindowState::Hidden: hide(); break;
    }
}

void frmMIDIManager::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
    Q_EMIT closedByUser();
}

void frmMIDIManager::setColumnWidths()
{
    const double dpi = logicalDpiX();
    const int shown = std::min(m_columns->columnCount(), static_cast<int>(kColumnTwips.size()));
    // Never narrower than the heading: "Ch." and "No" in 20 or 30 pixels were cut off.
    for (int i = 0; i < shown; ++i)
        m_grid->setColumnWidth(
            i, std::max(m_grid->horizontalHeader()->sectionSizeHint(i),
                        static_cast<int>(kColumnTwips[static_cast<std::size_t>(i)] * dpi / 1440.0 + 0.5)));
}

} // namespace toneloft
