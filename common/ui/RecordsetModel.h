#pragma once

#include "common/Recordset.h"

#include <QAbstractTableModel>

#include <functional>
#include <memory>
#include <vector>

namespace toneloft {

// A grid's view of a table: one column per chosen field, one row per row that
// passes the given cursor's filter, in its sort order. The model reads through
// its own copy of that cursor, so the owner's cursor never moves under it.
// Edits are not written here: they go to the core object that owns the table.
class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Every field, in table order, when fields is empty.
    explicit RecordsetModel(const Recordset& table, std::vector<std::string> fields = {},
                            QObject* parent = nullptr);

    // Takes an edited cell: the row's bookmark, the table's field index and the
    // value converted to the field's type. True when the owner took the value.
    using Writer = std::function<bool(Recordset::Bookmark row, int field, const Recordset::Value& value)>;
    // Without a writer the grid is read-only.
    void setWriter(Writer writer) { m_writer = std::move(writer); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Whole numbers in this column are shown without decimals ("#0").
    void setWholeNumberColumn(int column) { m_wholeColumn = column; }
    // Re-reads the rows after the table changed.
    void refresh();
    // For a table that only grows at its end or has rows written over: the new
    // rows are inserted and the old ones re-read, without a reset, so a view
    // keeps its place and the cost does not grow with the table.
    void refreshGrown();

private:
    std::unique_ptr<Recordset> m_rows;
    std::vector<int> m_fieldIndexes;
    int m_rowCount = 0;
    int m_wholeColumn = -1;
    Writer m_writer;
};

} // namespace toneloft
