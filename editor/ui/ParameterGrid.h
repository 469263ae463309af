#pragma once

#include "common/ui/RecordsetModel.h"

#include <QTableView>

#include <functional>

namespace toneloft {

// One editor grid's rows: the title and one value column of a filtered cursor on
// the voice's VoiceData. The title column is read-only; a typed value goes to the
// editor, which checks it and stores it (or refuses, and the cell shows the old
// text again).
class ParameterGridModel : public RecordsetModel {
    Q_OBJECT

public:
    ParameterGridModel(const Recordset& rows, const std::string& valueField, QObject* parent = nullptr);

    // Row (0-based), typed text; true when the editor took it.
    using TypedEntry = std::function<bool(int row, const QString& text)>;
    void setTypedEntry(TypedEntry entry) { m_typed = std::move(entry); }

    // The parameter number (1..155) of a row; 0 outside.
    int paramIdAt(int row) const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Every cell read again, keeping the view's cursor.
    void refreshValues();

private:
    std::unique_ptr<Recordset> m_rows;
    int m_paramField;
    int m_titleField;
    TypedEntry m_typed;
};

// dGrid1(i): a small two-column grid whose cursor stays in the value column.
// Tab and Shift+Tab walk down and up the values and leave the grid at its ends,
// so the keyboard alone reaches every value of the editor; PageUp/PageDown (and
// Alt+Up/Down) step the value as the spin's arrows do.
class ParameterGrid : public QTableView {
    Q_OBJECT

public:
    ParameterGrid(int index, QWidget* parent = nullptr);

    int gridIndex() const { return m_index; }
    // Columns sized for the texts they show, rows one line high; the grid is
    // given exactly the size of its rows.
    void fitToRows(int titleChars, int valueChars);

Q_SIGNALS:
    void stepRequested(int direction);
    void currentCellChanged();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int m_index;
};

} // namespace toneloft
