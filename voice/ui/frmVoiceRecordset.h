#pragma once

#include "common/ui/MdiChild.h"

#include <QWidget>

#include <memory>
#include <string>

class QTableView;

namespace toneloft {

class RecordsetModel;
class VoiceRecordset;

// "Voice Data Recordset": the two tables of one voice in two grids, dGrid1 on
// VoiceData and dGrid2 on ProxyData. It stands in for the voice editor until
// that exists, so the list keeps it under the editor's key.
class frmVoiceRecordset : public QWidget, public MdiChild {
    Q_OBJECT

public:
    explicit frmVoiceRecordset(QWidget* parent = nullptr);
    ~frmVoiceRecordset() override;

    Kind childKind() const override { return Kind::Other; }

    // Binds the grids to the tables the core loaded (VoiceList::openEditor), and
    // again after they were reloaded; false (nothing bound) when they did not load.
    bool InitVoiceDataRecordset(std::shared_ptr<VoiceRecordset> holder);
    bool bound() const { return m_bound; }
    VoiceRecordset* holder() const { return m_holder.get(); }

    QTableView* dGrid1() const { return m_grid1; }
    QTableView* dGrid2() const { return m_grid2; }

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QTableView* m_grid1;
    QTableView* m_grid2;
    std::shared_ptr<VoiceRecordset> m_holder;
    RecordsetModel* m_model1 = nullptr;
    RecordsetModel* m_model2 = nullptr;
    bool m_bound = false;
};

} // namespace toneloft
