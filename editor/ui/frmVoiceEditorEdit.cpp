// The editor's changes: spin steps, typed values, the algorithm, the name, reset,
// undo and closing. Each goes through the core editor and is shown again here.
#include "editor/ui/frmVoiceEditor.h"

#include "common/NumberText.h"
#include "common/Recordset.h"
#include "common/SynthLink.h"
#include "editor/ui/ParameterGrid.h"
#include "editor/ui/UpDownSpin.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceList.h"
#include "voice/VoiceParameterTable.h"
#include "voice/VoiceRecordset.h"
#include "voice/VoiceStore.h"
#include "voice/clsVoiceData.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>

namespace toneloft {

namespace {

Recordset* tableOf(VoiceEditor& editor)
{
    return editor.data ? editor.data->rsVoiceData() : nullptr;
}

} // namespace

int frmVoiceEditor::paramAt(int grid, int row) const
{
    const ParameterGridModel* model = gridModel(grid);
    return model ? model->paramIdAt(row) : 0;
}

frmVoiceEditor::Limits frmVoiceEditor::valueLimits(int grid, int row) const
{
    Limits limits;
    Recordset* table = tableOf(*m_editor);
    const int param = paramAt(grid, row);
    if (!table || param < 1)
        return limits;
    auto cursor = table->clone();
    cursor->setAbsolutePosition(param);
    limits.min = static_cast<int>(VoiceParameterTable::numericValue(cursor->text("Min.")));
    limits.max = static_cast<int>(VoiceParameterTable::numericValue(cursor->text("Max.")));
    limits.value = static_cast<int>(VoiceParameterTable::numericValue(cursor->text("Value")));
    return limits;
}

void frmVoiceEditor::spinChanged(int value)
{
    if (m_suppress)
        return;
    const int grid = m_spin->property("grid").isValid() ? m_currentGrid : m_currentGrid;
    ParameterGrid* view = dGrid1(grid);
    if (!view || !view->currentIndex().isValid())
        return;
    const int param = paramAt(grid, view->currentIndex().row());
    Recordset* table = tableOf(*m_editor);
    if (!table || param < 1)
        return;
    m_suppress = true;
    auto cursor = table->clone();
    cursor->setAbsolutePosition(param);
    cursor->setValue("Value", Str(value));
    cursor->update();
    if (SynthLink* synth = m_session.synth(); synth && synth->outputOpen() && !m_ctrl)
        synth->sendParameter(param, value);
    m_suppress = false;
    afterEdit();
}

bool frmVoiceEditor::typedEntry(int grid, int row, const QString& text)
{
    const Limits limits = valueLimits(grid, row);
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < limits.min || value > limits.max)
        return false;
    m_currentGrid = grid;
    placeSpin();
    m_spin->setValue(value);
    spinChanged(value);
    return true;
}

void frmVoiceEditor::algorithmChanged(int value)
{
    if (m_suppress)
        return;
    Recordset* table = tableOf(*m_editor);
    if (!table)
        return;
    auto cursor = table->clone();
    cursor->setAbsolutePosition(135);
    cursor->setValue("Value", Str(value));
    cursor->update();
    afterEdit();
}

void frmVoiceEditor::nameEdited()
{
    if (m_suppress)
        return;
    Recordset* table = tableOf(*m_editor);
    if (!table)
        return;
    const QByteArray name = m_name->text().toLatin1().leftJustified(10, ' ', true);
    auto cursor = table->clone();
    for (int i = 0; i < 10; ++i) {
        cursor->setAbsolutePosition(146 + i);
        cursor->setValue("Value", std::string(1, name[i]));
        cursor->update();
    }
    setWindowTitle(QString::fromLatin1(name));
    afterEdit();
}

void frmVoiceEditor::afterEdit()
{
    refreshAll();
    notifyEditCommandsChanged();
}

void frmVoiceEditor::refreshGrid(int index)
{
    if (ParameterGridModel* model = gridModel(index))
        model->refreshValues();
}

void frmVoiceEditor::refreshGraphs()
{
    for (QWidget* g : m_graphs)
        if (g)
            g->update();
}

void frmVoiceEditor::showAlgorithm()
{
    Recordset* table = tableOf(*m_editor);
    if (!table)
        return;
    auto cursor = table->clone();
    cursor->setAbsolutePosition(135);
    const int v = static_cast<int>(VoiceParameterTable::numericValue(cursor->text("Value")));
    m_suppress = true;
    m_algorithmSpin->setValue(v);
    m_suppress = false;
    m_algorithmPanel->setTitle(QString::fromStdString("  Algorithm " + Str(v + 1) + "  "));
}

void frmVoiceEditor::refreshAll()
{
    m_suppress = true;
    for (int i = 0; i < kGrids; ++i)
        refreshGrid(i);
    refreshGraphs();
    showAlgorithm();
    Recordset* table = tableOf(*m_editor);
    if (table) {
        auto cursor = table->clone();
        std::string name;
        for (int i = 0; i < 10; ++i) {
            cursor->setAbsolutePosition(146 + i);
            const std::string v = cursor->text("Value");
            name += v.empty() ? ' ' : v[0];
        }
        if (!m_name->hasFocus())
            m_name->setText(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        setWindowTitle(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    m_suppress = false;
    if (m_spin->isVisible())
        placeSpin();
}

void frmVoiceEditor::ResetVoice()
{
    const int grid = m_currentGrid;
    const QModelIndex cell = dGrid1(grid) ? dGrid1(grid)->currentIndex() : QModelIndex();
    if (m_editor->list)
        m_editor->list->resetEditor(m_editor->key());
    InitVoiceEditor(1, 6);
    if (ParameterGrid* view = dGrid1(grid); view && cell.isValid()) {
        view->setCurrentIndex(view->model()->index(cell.row(), 1));
        view->setFocus();
        placeSpin();
    }
    notifyEditCommandsChanged();
}

bool frmVoiceEditor::canUndo() const
{
    return false;
}

bool frmVoiceEditor::canRedo() const
{
    return false;
}

void frmVoiceEditor::undo() {}

void frmVoiceEditor::redo() {}

void frmVoiceEditor::setCtrl(bool held)
{
    m_ctrl = held;
}

void frmVoiceEditor::audition()
{
    if (m_ctrl)
        return;
    if (SynthLink* synth = m_session.synth(); synth && synth->outputOpen()) {
        ByteString voice;
        std::int32_t crc = 0;
        if (clsVoiceData* tables = m_editor->voiceData()) {
            tables->PutVoiceDataInString(tables->voiceData(), voice, 0, false, crc);
            synth->sendVoice(voice, true);
        }
    }
}

// --- Keys and closing -----------------------------------------------------------

void frmVoiceEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Control)
        setCtrl(true);
    QWidget::keyPressEvent(event);
}

void frmVoiceEditor::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->modifiers().testFlag(Qt::ControlModifier) || event->key() == Qt::Key_Control)
        setCtrl(false);
    QWidget::keyReleaseEvent(event);
}

void frmVoiceEditor::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        Q_EMIT closed();
        return;
    }
    event->accept();
    Q_EMIT closed();
}

void frmVoiceEditor::activated()
{
    if (m_ctrl)
        return;
    if (SynthLink* synth = m_session.synth(); synth && synth->outputOpen()) {
        ByteString voice;
        std::int32_t crc = 0;
        if (clsVoiceData* tables = m_editor->voiceData()) {
            tables->PutVoiceDataInString(tables->voiceData(), voice, 0, false, crc);
            synth->sendVoice(voice, false);
        }
    }
}

void frmVoiceEditor::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
}

} // namespace toneloft
