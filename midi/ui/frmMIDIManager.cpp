#include "midi/ui/frmMIDIManager.h"

#include "common/ui/RecordsetModel.h"

#include "midi/MidiDeviceLayer.h"
#include "midi/clsMidiManagerData.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QTableView>
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

// The grid's captions and read-only texts without the fields' padding blanks.
class MonitorColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
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
};

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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(monitor);
    resize(760, 360);

    refreshMonitor();
}

frmMIDIManager::~frmMIDIManager() = default;

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
    const int before = m_rows->rowCount();
    const int selected = m_grid->currentIndex().row();
    m_rows->refresh();
    const int after = m_rows->rowCount();
    if (after == 0)
        return;
    // New rows bring the newest into view; a replaced row keeps the selection.
    const int row = after > before || selected < 0 || selected >= after ? after - 1 : selected;
    const QModelIndex index = m_columns->index(row, 0);
    m_grid->setCurrentIndex(index);
    m_grid->scrollTo(index);
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
    for (int i = 0; i < shown; ++i)
        m_grid->setColumnWidth(
            i, static_cast<int>(kColumnTwips[static_cast<std::size_t>(i)] * dpi / 1440.0 + 0.5));
}

} // namespace toneloft
