// The graphs of the editor's panels, and the panels' arrangement for printing.
#include "editor/ui/frmVoiceEditor.h"

#include "editor/VoiceEditorCore.h"
#include "editor/ui/AlgorithmDiagram.h"
#include "editor/ui/EgZoomBox.h"
#include "editor/ui/EnvelopeGraph.h"
#include "editor/ui/LevelScalingGraph.h"
#include "editor/ui/UpDownSpin.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QLayout>
#include <QVBoxLayout>

namespace toneloft {

struct frmVoiceEditor::SavedGeometry {
    bool spinShown = false;
    bool resetShown = true;
    bool algorithmSpinShown = true;
    QSize diagramMinimum;
    QSize size;
};

namespace {

// Graph sizes in logical pixels: wide enough to read an envelope's four
// segments, as tall as the eight rows of the grid beside it.
constexpr QSize kEnvelopeSize{250, 150};
constexpr QSize kLevelScalingSize{180, 150};
// The algorithm diagram on paper.
constexpr QSize kPrintedDiagramSize{190, 150};

} // namespace

void frmVoiceEditor::linkGraph(ParameterGraph* g)
{
    GraphParameterLink link;
    link.value = [this](int param) { return m_core->value(param); };
    link.write = [this](const ParameterWrites& writes) {
        std::vector<ParameterEdit> edits;
        edits.reserve(writes.size());
        for (const ParameterWrite& w : writes)
            edits.push_back({w.param, w.value, w.send && !m_core->modCtrlKey});
        m_core->SetValues(edits);
        notifyEditCommandsChanged();
    };
    g->setParameterLink(std::move(link));
    // A drag is one undo step from the press to the release, with the test note
    // sounding while it moves.
    connect(g, &ParameterGraph::pointSelected, this, [this] { m_core->beginEditGroup("Drag"); });
    connect(g, &ParameterGraph::pointDragged, this, [this] {
        if (!m_core->modCtrlKey)
            m_core->PlayTestNote();
    });
    connect(g, &ParameterGraph::pointReleased, this, [this] {
        m_core->EndTestNote();
        m_core->endEditGroup();
        notifyEditCommandsChanged();
    });
    connect(g, &ParameterGraph::auditionRequested, this, [this] { audition(); });
    connect(g, &ParameterGraph::backgroundPressed, this, [this, g] { beginHold(g); });
    g->refresh();
}

QWidget* frmVoiceEditor::makeEnvelopeGraph(int index)
{
    auto* box = new QWidget;
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    auto* g = new EnvelopeGraph(index);
    g->setObjectName(QStringLiteral("MSChart1(%1)").arg(index));
    g->setMinimumSize(kEnvelopeSize);
    m_graphs[static_cast<std::size_t>(index)] = g;
    watchElement(g, ElementKind::Graph, index);
    linkGraph(g);
    v->addWidget(g, 1);

    auto* zoomRow = new QHBoxLayout;
    zoomRow->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("EG Zoom"));
    caption->setForegroundRole(QPalette::Dark);
    auto* zoom = new EgZoomBox;
    zoom->setObjectName(QStringLiteral("Text1(%1)").arg(index));
    zoom->setValue(EnvelopeGraph::kDefaultZoomExponent);
    m_zoomBoxes[static_cast<std::size_t>(index)] = zoom;
    connect(zoom, &QSpinBox::valueChanged, this, &frmVoiceEditor::zoomChanged);
    caption->setBuddy(zoom);
    zoomRow->addStretch(1);
    zoomRow->addWidget(caption);
    zoomRow->addWidget(zoom);
    v->addLayout(zoomRow);
    return box;
}

QWidget* frmVoiceEditor::makeLevelScalingGraph(int op)
{
    auto* g = new LevelScalingGraph(op);
    g->setObjectName(QStringLiteral("MSChart1(%1)").arg(op + 6));
    g->setMinimumSize(kLevelScalingSize);
    m_graphs[static_cast<std::size_t>(op + 6)] = g;
    watchElement(g, ElementKind::Graph, op + 6);
    linkGraph(g);
    return g;
}

// The zoom belongs to the editor: every envelope graph and every box follows.
void frmVoiceEditor::zoomChanged(int exponent)
{
    for (EgZoomBox* box : m_zoomBoxes) {
        if (box && box->value() != exponent) {
            const QSignalBlocker quiet(box);
            box->setValue(exponent);
        }
    }
    for (int i = 0; i <= 6; ++i)
        if (auto* g = qobject_cast<EnvelopeGraph*>(m_graphs[static_cast<std::size_t>(i)]))
            g->setZoomExponent(exponent);
}

void frmVoiceEditor::arrangeForPrint(int width)
{
    m_printSaved = std::make_shared<SavedGeometry>();
    m_printSaved->spinShown = m_spin->isVisible();
    m_printSaved->resetShown = m_reset->isVisible();
    m_printSaved->size = m_clientWidget->size();
    m_printSaved->algorithmSpinShown = m_algorithmSpin->isVisible();
    m_printSaved->diagramMinimum = m_diagram->minimumSize();
    m_spin->hide();
    m_reset->hide();
    // Paper shows the voice, not the controls: no arrows, no zoom buttons, and
    // the algorithm at a size that can be read once the page is scaled down.
    m_algorithmSpin->hide();
    for (EgZoomBox* box : m_zoomBoxes)
        if (box)
            box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_diagram->setMinimumSize(kPrintedDiagramSize);
    const int w = std::max(width, m_clientWidget->minimumSizeHint().width());
    m_clientWidget->resize(w, m_clientWidget->sizeHint().height());
    m_clientWidget->layout()->activate(); // the panels take the new width now, not at the next paint
}

void frmVoiceEditor::restoreFromPrint()
{
    if (!m_printSaved)
        return;
    m_reset->setVisible(m_printSaved->resetShown);
    m_algorithmSpin->setVisible(m_printSaved->algorithmSpinShown);
    m_diagram->setMinimumSize(m_printSaved->diagramMinimum);
    for (EgZoomBox* box : m_zoomBoxes)
        if (box)
            box->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    m_clientWidget->resize(m_printSaved->size);
    m_clientWidget->layout()->activate();
    if (m_printSaved->spinShown)
        placeSpin();
    m_printSaved.reset();
}

} // namespace toneloft
