#pragma once

#include "common/Recordset.h"
#include "midi/MidiCommandHost.h"

#include <QWidget>

#include <memory>

class QAbstractItemModel;
class QAction;
class QCheckBox;
class QTableView;
class QToolBar;

namespace toneloft {

class MidiDeviceLayer;
class RecordsetModel;

// The MIDI manager window: the store grid of 100 system-exclusive messages
// (table MidiSysex), the monitor grid of every logged event (table
// MidiMessage), the store's toolbar and "&Resend Message when selected".
// It exists while a device is open and owns the input path:
// input queued on the service's thread is handled here, on the interface
// thread, in arrival order.
//
// The window layer's MidiCommandHost creates it on managerLoaded(), deletes it
// on managerUnloaded(), and forwards monitorChanged(), showManager() and
// setManagerCaption() to it.
class frmMIDIManager : public QWidget {
    Q_OBJECT

public:
    explicit frmMIDIManager(MidiDeviceLayer& midi, QWidget* parent = nullptr);
    ~frmMIDIManager() override;

    // Rows were added or one was replaced: the grid re-reads the table once the
    // event loop turns, so a burst of events costs one refresh.
    void monitorChanged();
    void showAs(ManagerWindowState state);

    QTableView* monitorGrid() const { return m_grid; }
    QAbstractItemModel* monitorModel() const;
    QTableView* storeGrid() const { return m_storeGrid; }
    QAbstractItemModel* storeModel() const { return m_storeColumns; }
    // A toolbar button by its key: "Send", "Receive", "Save", "Delete",
    // "Load", "Save And Load", "Edit".
    QAction* toolbarButton(const QString& key) const;
    QCheckBox* resendBox() const { return m_resend; }

Q_SIGNALS:
    // The user closed the window; it is only hidden.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshMonitor();
    void setColumnWidths();
    void buildStore();
    void refreshStore();
    void refreshToolbar();
    void runButton(const QString& key);
    void rowChosen(QTableView* grid, int row);

    MidiDeviceLayer& m_midi;
    Recordset m_noTable; // shown when the layer has no manager data
    RecordsetModel* m_rows = nullptr;
    QAbstractItemModel* m_columns = nullptr;
    QTableView* m_grid = nullptr;
    bool m_refreshPending = false;

    Recordset m_noStore; // shown when the layer has no manager data
    RecordsetModel* m_storeRows = nullptr;
    QAbstractItemModel* m_storeColumns = nullptr;
    QTableView* m_storeGrid = nullptr;
    QToolBar* m_toolbar = nullptr;
    QCheckBox* m_resend = nullptr;
    QTableView* m_focusGrid = nullptr; // the grid the user last worked in
    bool m_syncing = false;            // the program moves a grid's selection
    int m_holdRow = -1;                // a monitor row to show after the next refresh
};

} // namespace toneloft
