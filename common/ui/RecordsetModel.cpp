#include "common/ui/RecordsetModel.h"

#include <cmath>

namespace toneloft {

RecordsetModel::RecordsetModel(const Recordset& table, std::vector<std::string> fields, QObject* parent)
    : QAbstractTableModel(parent), m_rows(table.clone())
{
    if (fields.empty()) {
        for (int i = 0; i < m_rows->fieldCount(); ++i)
            m_fieldIndexes.push_back(i);
    } else {
        for (const auto& name : fields) {
            const int index = m_rows->fieldIndex(name);
            if (index >= 0)
                m_fieldIndexes.push_back(index);
        }
    }
    const long count = m_rows->isOpen() ? m_rows->recordCount() : 0;
    m_rowCount = static_cast<int>(std::max(0L, count));
}

int RecordsetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int RecordsetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_fieldIndexes.size());
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rowCount || index.column() >= columnCount())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    m_rows->setAbsolutePosition(index.row() + 1);
    if (m_rows->eof() || m_rows->bof())
        return {};
    const int field = m_fieldIndexes[static_cast<std::size_t>(index.column())];
    const Recordset::Value& v = m_rows->value(field);
    if (const auto* s = std::get_if<std::string>(&v)) {
        const QString text = QString::fromLatin1(s->data(), static_cast<qsizetype>(s->size()));
        bool isNumber = false;
        const qlonglong n = text.trimmed().toLongLong(&isNumber);
        if (index.column() == m_wholeColumn && isNumber)
            return n;
        return text;
    }
    if (const auto* b = std::get_if<bool>(&v))
        return *b;
    if (const auto* n = std::get_if<std::int32_t>(&v))
        return static_cast<qlonglong>(*n);
    if (const auto* f = std::get_if<float>(&v)) {
        if (index.column() == m_wholeColumn)
            return static_cast<qlonglong>(std::lround(*f));
        return static_cast<double>(*f);
    }
    return {};
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= columnCount())
        return {};
    return QString::fromStdString(m_rows->field(m_fieldIndexes[static_cast<std::size_t>(section)]).name);
}

void RecordsetModel::refresh()
{
    beginResetModel();
    const long count = m_rows->isOpen() ? m_rows->recordCount() : 0;
    m_rowCount = static_cast<int>(std::max(0L, count));
    endResetModel();
}

void RecordsetModel::refreshGrown()
{
    const long count = m_rows->isOpen() ? m_rows->recordCount() : 0;
    const int rows = static_cast<int>(std::max(0L, count));
    if (rows < m_rowCount) {
        refresh();
        return;
    }
    const int before = m_rowCount;
    if (before > 0 && columnCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(before - 1, columnCount() - 1));
    if (rows > before) {
        beginInsertRows({}, before, rows - 1);
        m_rowCount = rows;
        endInsertRows();
    }
}

} // namespace toneloft
