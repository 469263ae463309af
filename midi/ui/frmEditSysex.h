#pragma once

#include "common/ByteString.h"
#include "midi/clsHexEditor.h"

#include <QAbstractTableModel>
#include <QDialog>

class QPushButton;
class QTableView;

namespace toneloft {

class UiServices;

// The grid's view of the editor's table: column 0 the row's offset (read
// only), columns 1-16 the bytes in decimal. A typed value must be a whole
// number 0-255; clearing a cell asks whether to cut the message there.
class HexEditModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit HexEditModel(clsHexEditor& editor, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

Q_SIGNALS:
    // The message was cut and the table filled again.
    void truncated();

private:
    clsHexEditor& m_editor;
};

// "Edit Sysex": a message byte by byte, 16 to a row, checked before it is
// handed back. The result is the edited message, or the input bytes when the
// user cancelled.
class frmEditSysex : public QDialog {
    Q_OBJECT

public:
    frmEditSysex(UiServices& ui, const ByteString& bytes, QWidget* parent = nullptr);

    const ByteString& sysexResult() const { return m_result; }
    QTableView* grid() const { return m_grid; }
    HexEditModel* model() const { return m_model; }
    // Index 0 accepts, index 1 "Cancel".
    QPushButton* button(int index) const;

private:
    void accept0();
    void showColumns();

    clsHexEditor m_editor;
    ByteString m_input;
    ByteString m_result;
    HexEditModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QPushButton* m_buttons[2] = {nullptr, nullptr};
};

} // namespace toneloft
