#include "midi/ui/frmEditSysex.h"

#include "common/UiServices.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace toneloft {

HexEditModel::HexEditModel(clsHexEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), m_editor(editor)
{
}

int HexEditModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_editor.rowCount());
}

int HexEditModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : clsHexEditor::kColumns + 1;
}

QVariant HexEditModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    if (index.column() == 0) {
        auto rows = m_editor.HexEdit().clone();
        rows->setAbsolutePosition(index.row() + 1);
        if (rows->eof() || rows->bof())
            return {};
        return QString::fromStdString(rows->text(0)).trimmed();
    }
    return QString::fromStdString(m_editor.cell(index.row() + 1, index.column()));
}

QVariant HexEditModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < 0 || section >= m_editor.HexEdit().fieldCount())
        return {};
    return QString::fromStdString(m_editor.HexEdit().field(section).name).trimmed();
}

Qt::ItemFlags HexEditModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() > 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool HexEditModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() == 0 || role != Qt::EditRole)
        return false;
    const long row = index.row() + 1;
    const int column = index.column();
    const std::string text = value.toString().trimmed().toStdString();
    if (text.empty()) {
        if (m_editor.cell(row, column).empty())
            return false; // already empty: nothing to cut
        // The cell itself never goes blank; a cut refills the whole table,
        // which must wait until the grid has finished with this edit.
        if (m_editor.blankCell(row, column))
            QMetaObject::invokeMethod(
                this,
                [this] {
                    beginResetModel();
                    endResetModel();
                    Q_EMIT truncated();
                },
                Qt::QueuedConnection);
        return false;
    }
    if (!m_editor.setCell(row, column, text))
        return false;
    Q_EMIT dataChanged(index, index);
    return true;
}

frmEditSysex::frmEditSysex(UiServices& ui, const ByteString& bytes, QWidget* parent)
    : QDialog(parent), m_editor(ui), m_input(bytes), m_result(bytes)
{
    setObjectName(QStringLiteral("frmEditSysex"));
    setWindowTitle(QStringLiteral("Edit Sysex"));
    setModal(true);
    m_editor.InitHexGrid(bytes);

    m_model = new HexEditModel(m_editor, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("grdHexEdit"));
    m_grid->setModel(m_model);
    m_grid->verticalHeader()->hide();
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    connect(m_model, &HexEditModel::truncated, this, [this] { showColumns(); });

    m_buttons[0] = new QPushButton(QStringLiteral("&OK"), this);
    m_buttons[0]->setObjectName(QStringLiteral("cmdButton0"));
    m_buttons[0]->setDefault(true);
    m_buttons[1] = new QPushButton(QStringLiteral("Cancel"), this);
    m_buttons[1]->setObjectName(QStringLiteral("cmdButton1"));
    connect(m_buttons[0], &QPushButton::clicked, this, [this] { accept0(); });
    connect(m_buttons[1], &QPushButton::clicked, this, [this] {
        m_result = m_input;
        reject();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_buttons[0]);
    buttons->addWidget(m_buttons[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
    showColumns();
}

QPushButton* frmEditSysex::button(int index) const
{
    return index == 0 || index == 1 ? m_buttons[index] : nullptr;
}

void frmEditSysex::showColumns()
{
    // Only as many value columns as the message has bytes (at most 16).
    const auto length = static_cast<int>(std::min<std::size_t>(m_editor.bytes().size(), 16));
    const int byteWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8;
    m_grid->setColumnWidth(0, fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 8);
    for (int c = 1; c <= clsHexEditor::kColumns; ++c) {
        m_grid->setColumnHidden(c, c > length);
        m_grid->setColumnWidth(c, byteWidth);
    }
    int width = m_grid->columnWidth(0) + length * byteWidth;
    width += m_grid->verticalScrollBar()->sizeHint().width() + 2 * m_grid->frameWidth() + 24;
    resize(std::max(width, 260), 360);
}

void frmEditSysex::accept0()
{
    const auto result = m_editor.UpdateRecordset();
    switch (result.outcome) {
    case clsHexEditor::Outcome::Revise: return;
    case clsHexEditor::Outcome::Cancel: m_result = m_input; break;
    case clsHexEditor::Outcome::Accept: m_result = result.bytes; break;
    }
    accept();
}

} // namespace toneloft
