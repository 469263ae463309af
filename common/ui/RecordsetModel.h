#pragma once

#include "common/Recordset.h"

#include <QAbstractTableModel>

#include <memory>
#include <vector>

namespace toneloft {

// A grid's view of a table: one column per chosen field, one row per row that
// passes the clone's filter. The model reads through its own clone, so the
// table's cursor never moves under the code that owns it.
class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Every field, in table order, when fields is empty.
    explicit RecordsetModel(const Recordset& table, std::vector<std::string> fields = {},
                            QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

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
};

} // namespace toneloft
