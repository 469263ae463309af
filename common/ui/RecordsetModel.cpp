#include "common/ui/RecordsetModel.h"

#include <cmath>
#include <cstdint>

namespace toneloft {

RecordsetModel::RecordsetModel(const Recordset& table, std::vector<std::string> fields, QObject* parent)
    : QAbstractTableModel(parent), m_rows(table.cloneView())
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

Qt::ItemFlags RecordsetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && m_writer)
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordsetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!m_writer || role != Qt::EditRole || !index.isValid() || index.row() >= m_rowCount ||
        index.column() >= columnCount())
        return false;
    m_rows->setAbsolutePosition(index.row() + 1);
    const Recordset::Bookmark row = m_rows->bookmark();
    if (row == Recordset::kNoBookmark)
        return false;
    const int field = m_fieldIndexes[static_cast<std::size_t>(index.column())];
    Recordset::Value typed;
    switch (m_rows->field(field).type) {
    case Recordset::FieldType::Text: typed = value.toString().toLatin1().toStdString(); break;
    case Recordset::FieldType::Boolean: typed = value.toBool(); break;
    case Recordset::FieldType::Single: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            return false;
        typed = static_cast<float>(d);
        break;
    }
    case Recordset::FieldType::Long: {
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        if (!ok || n < INT32_MIN || n > INT32_MAX)
            return false;
        typed = static_cast<std::int32_t>(n);
        break;
    }
    }
    if (!m_writer(row, field, typed))
        return false;
    // The owner may have changed other cells of the row with it (display texts).
    Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
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
