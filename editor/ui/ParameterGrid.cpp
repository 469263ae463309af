#include "editor/ui/ParameterGrid.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

namespace toneloft {

ParameterGridModel::ParameterGridModel(const Recordset& rows, const std::string& valueField, QObject* parent)
    : RecordsetModel(rows, {"ShortTitle", valueField}, parent), m_rows(rows.cloneView()),
      m_paramField(m_rows->fieldIndex("ParamID")), m_titleField(m_rows->fieldIndex("Title"))
{
}

int ParameterGridModel::paramIdAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    m_rows->setAbsolutePosition(row + 1);
    if (m_rows->eof() || m_rows->bof())
        return 0;
    return std::atoi(m_rows->text(m_paramField).c_str());
}

QVariant ParameterGridModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return index.column() == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.isValid()) {
        m_rows->setAbsolutePosition(index.row() + 1);
        if (m_rows->eof() || m_rows->bof())
            return {};
        return QString::fromLatin1(m_rows->text(m_titleField).c_str()).trimmed();
    }
    if (role == Qt::DisplayRole && index.column() == 0)
        return RecordsetModel::data(index, role).toString().trimmed();
    return RecordsetModel::data(index, role);
}

Qt::ItemFlags ParameterGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (index.column() == 1 && m_typed)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ParameterGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != 1 || !m_typed)
        return false;
    const bool taken = m_typed(index.row(), value.toString());
    // Taken or not, the cell shows what the table holds now.
    refreshValues();
    return taken;
}

void ParameterGridModel::refreshValues()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

ParameterGrid::ParameterGrid(int index, QWidget* parent) : QTableView(parent), m_index(index)
{
    setObjectName(QStringLiteral("dGrid1(%1)").arg(index));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::NoDragDrop); // the editor runs its own element drags
}

void ParameterGrid::fitToRows(int titleChars, int valueChars)
{
    const QFontMetrics fm = fontMetrics();
    const int rowHeight = fm.height() + 4;
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int charWidth = fm.horizontalAdvance(QLatin1Char('0'));
    // 600 twips (40 px at 96 dpi) is the narrowest column a value gets.
    const int minimum = qRound(40 * logicalDpiX() / 96.0);
    const int title = std::max(minimum, titleChars * charWidth + 10);
    const int value = std::max(minimum, valueChars * charWidth + 10);
    setColumnWidth(0, title);
    setColumnWidth(1, value);
    const int rows = model() ? model()->rowCount() : 0;
    const int frame = 2 * frameWidth();
    setFixedSize(title + value + frame, rows * rowHeight + frame);
}

QModelIndex ParameterGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (!model())
        return {};
    const int rows = model()->rowCount();
    if (!currentIndex().isValid()) // entering the grid: its first value
        return rows > 0 ? model()->index(0, 1) : QModelIndex();
    const int row = currentIndex().row();
    switch (action) {
    case MoveNext:
    case MoveDown:
        return row + 1 < rows ? model()->index(row + 1, 1) : QModelIndex();
    case MovePrevious:
    case MoveUp:
        return row > 0 ? model()->index(row - 1, 1) : QModelIndex();
    case MoveHome:
    case MovePageUp:
        return model()->index(0, 1);
    case MoveEnd:
    case MovePageDown:
        return model()->index(rows - 1, 1);
    case MoveLeft:
    case MoveRight:
        return model()->index(row, 1);
    }
    return QTableView::moveCursor(action, modifiers);
}

bool ParameterGrid::focusNextPrevChild(bool next)
{
    // Inside the grid Tab moves down the values; past the last (or above the
    // first) it goes on to the next control.
    if (model() && currentIndex().isValid() && state() != EditingState) {
        const int row = currentIndex().row() + (next ? 1 : -1);
        if (row >= 0 && row < model()->rowCount()) {
            setCurrentIndex(model()->index(row, 1));
            return true;
        }
    }
    return QTableView::focusNextPrevChild(next);
}

void ParameterGrid::keyPressEvent(QKeyEvent* event)
{
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    if (event->key() == Qt::Key_PageUp || (alt && event->key() == Qt::Key_Up)) {
        Q_EMIT stepRequested(1);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_PageDown || (alt && event->key() == Qt::Key_Down)) {
        Q_EMIT stepRequested(-1);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        // Let the focus chain decide (focusNextPrevChild above).
        event->ignore();
        QWidget::keyPressEvent(event);
        return;
    }
    QTableView::keyPressEvent(event);
}

void ParameterGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid() && current.column() == 0 && model()) {
        setCurrentIndex(model()->index(current.row(), 1));
        return;
    }
    Q_EMIT currentCellChanged();
}

void ParameterGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    if (model() && model()->rowCount() > 0 && !currentIndex().isValid()) {
        const bool back = event->reason() == Qt::BacktabFocusReason;
        setCurrentIndex(model()->index(back ? model()->rowCount() - 1 : 0, 1));
    }
    Q_EMIT currentCellChanged();
}

} // namespace toneloft
