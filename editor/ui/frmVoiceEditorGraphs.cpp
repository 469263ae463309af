// The graphs and the algorithm diagram of the editor's panels, and the panels'
// arrangement for printing.
#include "editor/ui/frmVoiceEditor.h"

#include "editor/ui/UpDownSpin.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace toneloft {

struct frmVoiceEditor::SavedGeometry {
    bool spinShown = false;
    bool resetShown = true;
    QSize size;
};

QWidget* frmVoiceEditor::makeEnvelopeGraph(int index)
{
    auto* graph = new QFrame;
    graph->setObjectName(QStringLiteral("MSChart1(%1)").arg(index));
    graph->setFrameShape(QFrame::StyledPanel);
    graph->setMinimumSize(240, 150);
    watchElement(graph, ElementKind::Graph, index);
    return graph;
}

QWidget* frmVoiceEditor::makeLevelScalingGraph(int op)
{
    auto* graph = new QFrame;
    graph->setObjectName(QStringLiteral("MSChart1(%1)").arg(op + 6));
    graph->setFrameShape(QFrame::StyledPanel);
    graph->setMinimumSize(170, 150);
    watchElement(graph, ElementKind::Graph, op + 6);
    return graph;
}

QWidget* frmVoiceEditor::makeAlgorithmDiagram()
{
    auto* diagram = new QFrame;
    diagram->setObjectName(QStringLiteral("AlgorithmDiagram"));
    diagram->setMinimumSize(150, 130);
    return diagram;
}

void frmVoiceEditor::arrangeForPrint(int width)
{
    m_printSaved = std::make_shared<SavedGeometry>();
    m_printSaved->spinShown = m_spin->isVisible();
    m_printSaved->resetShown = m_reset->isVisible();
    m_printSaved->size = m_clientWidget->size();
    m_spin->hide();
    m_reset->hide();
    const int w = std::max(width, m_clientWidget->minimumSizeHint().width());
    m_clientWidget->resize(w, m_clientWidget->heightForWidth(w) > 0 ? m_clientWidget->heightForWidth(w)
                                                                     : m_clientWidget->sizeHint().height());
}

void frmVoiceEditor::restoreFromPrint()
{
    if (!m_printSaved)
        return;
    m_reset->setVisible(m_printSaved->resetShown);
    m_clientWidget->resize(m_printSaved->size);
    if (m_printSaved->spinShown)
        placeSpin();
    m_printSaved.reset();
}

} // namespace toneloft
