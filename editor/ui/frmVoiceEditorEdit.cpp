// The editor's changes: spin steps, typed values, the algorithm, the name, reset,
// undo and closing. Each goes through the core editor, which stores, sends and
// records it; the core's refresh tells what to show again.
#include "editor/ui/frmVoiceEditor.h"

#include "editor/VoiceEditorCore.h"
#include "editor/ui/AlgorithmDiagram.h"
#include "editor/ui/ParameterGraph.h"
#include "editor/ui/ParameterGrid.h"
#include "editor/ui/UpDownSpin.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>

namespace toneloft {

frmVoiceEditor::Limits frmVoiceEditor::valueLimits(int grid, int row) const
{
    const auto spin = m_core->spinFor(grid, row);
    return spin ? Limits{spin->min, spin->max, spin->value} : Limits{};
}

void frmVoiceEditor::spinChanged(int value)
{
    if (m_suppress)
        return;
    ParameterGrid* view = dGrid1(m_currentGrid);
    if (!view || !view->currentIndex().isValid())
        return;
    const int row = view->currentIndex().row();
    if (!m_core->SpinChange(m_currentGrid, row, value))
        placeSpin(); // refused: the arrows show the stored value again
    notifyEditCommandsChanged();
}

bool frmVoiceEditor::typedEntry(int grid, int row, const QString& text)
{
    const QByteArray latin = text.toLatin1();
    const bool taken = m_core->TypedEntry(grid, row, std::string_view(latin.constData(), static_cast<std::size_t>(latin.size())));
    if (taken) {
        m_currentGrid = grid;
        placeSpin();
        notifyEditCommandsChanged();
    }
    return taken;
}

void frmVoiceEditor::algorithmChanged(int value)
{
    if (m_suppress)
        return;
    m_core->AlgorithmChange(value);
    notifyEditCommandsChanged();
}

void frmVoiceEditor::nameEdited()
{
    if (m_suppress)
        return;
    const QByteArray name = m_name->text().toLatin1();
    std::string padded(name.constData(), static_cast<std::size_t>(name.size()));
    padded.resize(10, ' ');
    if (padded == m_core->voiceName())
        return;
    m_core->VoiceNameChange(padded);
    notifyEditCommandsChanged();
}

void frmVoiceEditor::coreRefreshed(const EditorRefresh& refresh)
{
    if (refresh.all) {
        refreshAll();
        return;
    }
    for (const int g : refresh.grids) {
        refreshGrid(g);
        if (g >= 0 && g < 13 && m_graphs[static_cast<std::size_t>(g)])
            m_graphs[static_cast<std::size_t>(g)]->refresh();
    }
    if (refresh.algorithm || refresh.operators)
        showAlgorithm();
    if (refresh.name) {
        m_suppress = true;
        if (!m_name->hasFocus())
            m_name->setText(QString::fromLatin1(m_core->voiceName().c_str()).trimmed());
        setWindowTitle(QString::fromLatin1(m_core->caption().c_str()));
        m_suppress = false;
    }
    if (m_spin->isVisible())
        placeSpin();
}

void frmVoiceEditor::refreshGrid(int index)
{
    if (ParameterGridModel* model = gridModel(index))
        model->refreshValues();
}

void frmVoiceEditor::refreshGraphs()
{
    for (ParameterGraph* g : m_graphs)
        if (g)
            g->refresh();
}

void frmVoiceEditor::showAlgorithm()
{
    const int v = m_core->algorithm();
    m_suppress = true;
    m_algorithmSpin->setValue(v);
    m_suppress = false;
    m_algorithmPanel->setTitle(QString::fromLatin1(m_core->AlgorithmCaption().c_str()));
    m_diagram->setAlgorithm(v);
    m_diagram->setOperatorStatus(m_core->OperatorStatus());
    m_diagram->setTogglingEnabled(m_core->midiOn());
}

void frmVoiceEditor::refreshAll()
{
    m_suppress = true;
    for (int i = 0; i < kGrids; ++i)
        refreshGrid(i);
    if (!m_name->hasFocus())
        m_name->setText(QString::fromLatin1(m_core->voiceName().c_str()).trimmed());
    setWindowTitle(QString::fromLatin1(m_core->caption().c_str()));
    m_suppress = false;
    refreshGraphs();
    showAlgorithm();
    if (m_spin->isVisible())
        placeSpin();
}

void frmVoiceEditor::ResetVoice()
{
    const int grid = m_currentGrid;
    const QModelIndex cell = dGrid1(grid) ? dGrid1(grid)->currentIndex() : QModelIndex();
    m_core->ResetVoice();
    if (ParameterGrid* view = dGrid1(grid); view && cell.isValid()) {
        view->setCurrentIndex(view->model()->index(cell.row(), 1));
        view->setFocus();
        placeSpin();
    }
    notifyEditCommandsChanged();
}

bool frmVoiceEditor::canUndo() const
{
    return m_core->canUndo();
}

bool frmVoiceEditor::canRedo() const
{
    return m_core->canRedo();
}

void frmVoiceEditor::undo()
{
    m_core->Undo();
    notifyEditCommandsChanged();
}

void frmVoiceEditor::redo()
{
    m_core->Redo();
    notifyEditCommandsChanged();
}

void frmVoiceEditor::setCtrl(bool held)
{
    m_core->modCtrlKey = held;
}

void frmVoiceEditor::audition()
{
    m_core->PlayScale();
}

void frmVoiceEditor::activated()
{
    m_core->Activate();
    m_diagram->setTogglingEnabled(m_core->midiOn());
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
    // Closing from the list (its close request) asks through requestClose too:
    // the handler set in the constructor answers it and closes this window.
    if (!m_closing) {
        m_closing = true;
        const bool gone = m_editor->requestClose();
        m_closing = false;
        if (!gone) {
            event->ignore();
            return;
        }
    }
    event->accept();
    Q_EMIT closed();
}

} // namespace toneloft
