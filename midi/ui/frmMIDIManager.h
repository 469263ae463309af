#pragma once

#include "common/Recordset.h"
#include "midi/MidiCommandHost.h"

#include <QWidget>

#include <memory>

class QAbstractItemModel;
class QTableView;

namespace toneloft {

class MidiDeviceLayer;
class RecordsetModel;

// The MIDI manager window: the monitor grid of every logged event (table
// MidiMessage). It exists while a device is open and owns the input path:
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

Q_SIGNALS:
    // The user closed the window; it is only hidden.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void refreshMonitor();
    void setColumnWidths();

    MidiDeviceLayer& m_midi;
    Recordset m_noTable; // shown when the layer has no manager data
    RecordsetModel* m_rows = nullptr;
    QAbstractItemModel* m_columns = nullptr;
    QTableView* m_grid = nullptr;
    bool m_refreshPending = false;
};

} // namespace toneloft
