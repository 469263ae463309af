#include "voice/ui/frmVoiceRecordset.h"

#include "common/Recordset.h"
#include "common/ui/RecordsetModel.h"
#include "voice/VoiceRecordset.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace toneloft {

namespace {

QTableView* makeGrid(const char* name, QWidget* parent)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    return grid;
}

} // namespace

frmVoiceRecordset::frmVoiceRecordset(QWidget* parent)
    : QWidget(parent), m_grid1(makeGrid("dGrid1", this)), m_grid2(makeGrid("dGrid2", this))
{
    setObjectName(QStringLiteral("frmVoiceRecordset"));
    setWindowTitle(QStringLiteral("Voice Data Recordset"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid1, 3);
    layout->addWidget(m_grid2, 2);
    resize(560, 420);
}

frmVoiceRecordset::~frmVoiceRecordset() = default;

bool frmVoiceRecordset::InitVoiceDataRecordset(std::shared_ptr<VoiceRecordset> holder)
{
    m_holder = std::move(holder);
    m_bound = false;
    m_grid1->setModel(nullptr);
    m_grid2->setModel(nullptr);
    delete m_model1;
    delete m_model2;
    m_model1 = m_model2 = nullptr;
    if (!m_holder || m_holder->failed())
        return false;
    Recordset* voiceData = m_holder->rsVoiceData();
    Recordset* proxyData = m_holder->rsProxyData();
    if (!voiceData || !proxyData)
        return false;
    m_model1 = new RecordsetModel(*voiceData, {}, this);
    m_model1->setWholeNumberColumn(voiceData->fieldIndex("Value"));
    m_model2 = new RecordsetModel(*proxyData, {}, this);
    m_grid1->setModel(m_model1);
    m_grid2->setModel(m_model2);
    m_bound = true;
    return true;
}

void frmVoiceRecordset::closeEvent(QCloseEvent* event)
{
    event->accept();
    Q_EMIT closed();
}

} // namespace toneloft
