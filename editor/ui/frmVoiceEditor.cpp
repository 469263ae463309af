#include "editor/ui/frmVoiceEditor.h"

#include "editor/EditorGrids.h"
#include "editor/VoiceEditorCore.h"
#include "editor/ui/AlgorithmDiagram.h"
#include "editor/ui/EgZoomBox.h"
#include "editor/ui/ParameterGraph.h"
#include "editor/ui/ParameterGrid.h"
#include "editor/ui/UpDownSpin.h"
#include "library/ui/VoiceNameValidator.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace toneloft {

namespace {

bool showsValue(int index)
{
    return EditorGrids::grid(index).valueColumn == "Value";
}

QString gridCaption(int index)
{
    return QString::fromStdString(EditorGrids::grid(index).caption);
}

// Widths of the two columns in digits: short titles are up to 6 characters;
// the value column holds "99", a note name, a curve, a wave or a frequency.
std::pair<int, int> gridChars(int index)
{
    if (showsValue(index))
        return {3, 3};
    if (index == 25)
        return {6, 8};
    if (index == 26)
        return {6, 4};
    switch ((index - 1) / 6) {
    case 1: return {6, 5};
    case 2: return {6, 8};
    default: return {6, 3};
    }
}

// A panel's title as a strip across its top, as the sections of an
// instrument's front panel are marked.
void styleTitle(QLabel* title)
{
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setAutoFillBackground(true);
    QPalette p = title->palette();
    p.setColor(QPalette::Window, QColor(52, 68, 88));
    p.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(p);
    title->setContentsMargins(6, 2, 6, 2);
    title->setCursor(Qt::OpenHandCursor);
}

} // namespace

frmVoiceEditor::frmVoiceEditor(Session& session, std::shared_ptr<VoiceEditor> editor, QWidget* parent)
    : QWidget(parent), m_session(session), m_editor(std::move(editor)),
      m_core(std::make_unique<VoiceEditorCore>(session, m_editor))
{
    setObjectName(QStringLiteral("frmVoiceEditor"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    InitVoiceEditor();
    m_core->onRefresh = [this](const EditorRefresh& refresh) { coreRefreshed(refresh); };
    m_editor->closeHandler = [this](VoiceEditor&) {
        m_closeRefused = !m_core->QueryClose();
        if (m_closeRefused)
            return false;
        if (!m_closing) {
            // Asked by the list: the window goes as well.
            m_closing = true;
            auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
            if (frame)
                frame->close();
            else
                close();
            m_closing = false;
        }
        return true;
    };
}

frmVoiceEditor::~frmVoiceEditor()
{
    m_editor->closeHandler = nullptr;
    if (m_core)
        m_core->onRefresh = nullptr;
}

QString frmVoiceEditor::helpTopic() const
{
    return QStringLiteral("::/dlg_VoiceEditor.htm");
}

// --- Building ----------------------------------------------------------------

QWidget* frmVoiceEditor::captioned(const QString& caption, QWidget* content, const QString& name)
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* label = new QLabel(caption);
    label->setObjectName(name);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    label->setFont(f);
    label->setForegroundRole(QPalette::Dark);
    layout->addWidget(label);
    layout->addWidget(content);
    layout->addStretch(1);
    return box;
}

void frmVoiceEditor::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_client = new QScrollArea(this);
    m_client->setObjectName(QStringLiteral("picClient"));
    m_client->setWidgetResizable(true);
    m_client->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_client->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    outer->addWidget(m_client);

    m_clientWidget = new QWidget;
    m_clientWidget->setObjectName(QStringLiteral("picClientArea"));
    m_clientWidget->setAutoFillBackground(true);
    m_clientWidget->installEventFilter(this);
    auto* column = new QVBoxLayout(m_clientWidget);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(6);

    for (int i = 0; i < kGrids; ++i) {
        m_grids[static_cast<std::size_t>(i)] = new ParameterGrid(i);
        ParameterGrid* grid = m_grids[static_cast<std::size_t>(i)];
        connect(grid, &ParameterGrid::currentCellChanged, this, [this, i] {
            if (m_suppress)
                return;
            m_currentGrid = i;
            placeSpin();
        });
        connect(grid, &ParameterGrid::stepRequested, this, [this, i](int direction) {
            m_currentGrid = i;
            placeSpin();
            m_spin->step(direction);
        });
        grid->installEventFilter(this);
        watchElement(grid->viewport(), ElementKind::Grid, i);
    }

    column->addWidget(buildVoicePanel());
    for (int op = 1; op <= 6; ++op)
        column->addWidget(buildOperatorPanel(op));
    column->addStretch(1);
    m_client->setWidget(m_clientWidget);

    m_spin = new UpDownSpin(m_clientWidget);
    m_spin->hide();
    connect(m_spin, &UpDownSpin::valueChanged, this, &frmVoiceEditor::spinChanged);
    connect(m_spin, &UpDownSpin::ctrlMouse, this, [this](bool held) {
        if (held)
            setCtrl(true);
    });
    connect(m_spin, &UpDownSpin::rightPressed, this, [this] {
        m_rightOnSpin = true;
        audition();
    });
    connect(m_spin, &UpDownSpin::leftReleased, this, [this] {
        if (!m_rightOnSpin)
            setCtrl(false);
        m_rightOnSpin = false;
    });

    // Tab order: panel by panel, grid by grid, in reading order.
    QWidget* previous = nullptr;
    const auto chain = [&](QWidget* w) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    };
    chain(m_grids[0]);
    chain(m_grids[25]);
    chain(m_grids[26]);
    chain(m_name);
    chain(m_reset);
    for (int op = 1; op <= 6; ++op)
        for (const int g : {op, op + 6, op + 12, op + 18})
            chain(m_grids[static_cast<std::size_t>(g)]);

    resize(1040, 640);
}

QFrame* frmVoiceEditor::buildVoicePanel()
{
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("Frame3(0)"));
    panel->setFrameShape(QFrame::StyledPanel);
    m_panels[0] = panel;
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 6);
    auto* title = new QLabel(QStringLiteral("Non Operator"));
    title->setObjectName(QStringLiteral("Label3(0)"));
    styleTitle(title);
    m_titles[0] = title;
    watchElement(title, ElementKind::Label, 0);
    v->addWidget(title);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(6, 2, 6, 0);
    row->setSpacing(4);
    const int gutter = qRound(17 * logicalDpiX() / 96.0) + 4;
    row->addWidget(captioned(gridCaption(0), m_grids[0], QStringLiteral("Caption(0)")));
    row->addSpacing(gutter);
    row->addWidget(makeEnvelopeGraph(0), 3);
    row->addSpacing(8);
    row->addWidget(captioned(gridCaption(25), m_grids[25], QStringLiteral("Caption(25)")));
    row->addSpacing(gutter);
    row->addWidget(captioned(gridCaption(26), m_grids[26], QStringLiteral("Caption(26)")));
    row->addSpacing(gutter);

    m_algorithmPanel = new QGroupBox;
    m_algorithmPanel->setObjectName(QStringLiteral("Frame2"));
    auto* algorithm = new QHBoxLayout(m_algorithmPanel);
    algorithm->setContentsMargins(6, 4, 6, 6);
    m_diagram = new AlgorithmDiagram;
    m_diagram->setObjectName(QStringLiteral("Frame1"));
    m_diagram->togglingAllowed = [this] { return m_core->midiOn(); };
    connect(m_diagram, &AlgorithmDiagram::operatorToggled, this, [this](int op, bool, int) {
        m_core->ToggleOperator(op);
        showAlgorithm();
    });
    algorithm->addWidget(m_diagram, 1);
    m_algorithmSpin = new UpDownSpin;
    m_algorithmSpin->setObjectName(QStringLiteral("UpDown3"));
    m_algorithmSpin->setRange(0, 31);
    m_algorithmSpin->setFixedSize(qRound(17 * logicalDpiX() / 96.0), fontMetrics().height() * 2 + 8);
    connect(m_algorithmSpin, &UpDownSpin::valueChanged, this, &frmVoiceEditor::algorithmChanged);
    algorithm->addWidget(m_algorithmSpin, 0, Qt::AlignTop);
    row->addWidget(m_algorithmPanel);
    row->addSpacing(8);

    auto* nameBox = new QVBoxLayout;
    auto* nameCaption = new QLabel(QStringLiteral("Voice Name"));
    nameCaption->setForegroundRole(QPalette::Dark);
    nameBox->addWidget(nameCaption);
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("Label4"));
    m_name->setValidator(new VoiceNameValidator(m_name));
    m_name->setMaxLength(10);
    QFont nameFont = m_name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.3);
    m_name->setFont(nameFont);
    m_name->setFixedWidth(QFontMetrics(nameFont).horizontalAdvance(QStringLiteral("WWWWWWWWWW")) / 10 * 11 + 16);
    m_name->installEventFilter(this);
    connect(m_name, &QLineEdit::editingFinished, this, &frmVoiceEditor::nameEdited);
    nameBox->addWidget(m_name);
    m_reset = new QPushButton(QStringLiteral("Reset"));
    m_reset->setObjectName(QStringLiteral("Command1"));
    m_reset->setToolTip(QStringLiteral("Back to the voice as saved in its list"));
    connect(m_reset, &QPushButton::clicked, this, &frmVoiceEditor::ResetVoice);
    nameBox->addWidget(m_reset, 0, Qt::AlignLeft);
    nameBox->addStretch(1);
    row->addLayout(nameBox);
    row->addStretch(1);
    v->addLayout(row);
    return panel;
}

QFrame* frmVoiceEditor::buildOperatorPanel(int op)
{
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("Frame3(%1)").arg(op));
    panel->setFrameShape(QFrame::StyledPanel);
    m_panels[static_cast<std::size_t>(op)] = panel;
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 6);
    auto* title = new QLabel(QStringLiteral("Operator %1").arg(op));
    title->setObjectName(QStringLiteral("Label3(%1)").arg(op));
    styleTitle(title);
    title->setToolTip(QStringLiteral("Hold and drag onto another operator's title to copy the whole operator"));
    m_titles[static_cast<std::size_t>(op)] = title;
    watchElement(title, ElementKind::Label, op);
    v->addWidget(title);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(6, 2, 6, 0);
    row->setSpacing(4);
    const int gutter = qRound(17 * logicalDpiX() / 96.0) + 4;
    row->addWidget(captioned(gridCaption(op), m_grids[static_cast<std::size_t>(op)],
                             QStringLiteral("Caption(%1)").arg(op)));
    row->addSpacing(gutter);
    row->addWidget(makeEnvelopeGraph(op), 3);
    row->addSpacing(8);
    row->addWidget(captioned(gridCaption(op + 6), m_grids[static_cast<std::size_t>(op + 6)],
                             QStringLiteral("Caption(%1)").arg(op + 6)));
    row->addSpacing(gutter);
    row->addWidget(makeLevelScalingGraph(op), 2, Qt::AlignTop);
    row->addSpacing(8);
    row->addWidget(captioned(gridCaption(op + 12), m_grids[static_cast<std::size_t>(op + 12)],
                             QStringLiteral("Caption(%1)").arg(op + 12)));
    row->addSpacing(gutter);
    row->addWidget(captioned(gridCaption(op + 18), m_grids[static_cast<std::size_t>(op + 18)],
                             QStringLiteral("Caption(%1)").arg(op + 18)));
    row->addSpacing(gutter);
    v->addLayout(row);
    return panel;
}

// --- Binding -----------------------------------------------------------------

void frmVoiceEditor::bindGrid(int index)
{
    ParameterGrid* grid = m_grids[static_cast<std::size_t>(index)];
    grid->setModel(nullptr);
    delete m_models[static_cast<std::size_t>(index)];
    m_models[static_cast<std::size_t>(index)] = nullptr;
    if (!m_core->isValid())
        return;
    auto* model = new ParameterGridModel(m_core->gridRows(index), EditorGrids::grid(index).valueColumn, this);
    if (showsValue(index))
        model->setWholeNumberColumn(1);
    model->setTypedEntry([this, index](int row, const QString& text) { return typedEntry(index, row, text); });
    m_models[static_cast<std::size_t>(index)] = model;
    grid->setModel(model);
    const auto [titleChars, valueChars] = gridChars(index);
    grid->fitToRows(titleChars, valueChars);
}

void frmVoiceEditor::InitVoiceEditor(int first, int last)
{
    if (first == 0) {
        first = 1;
        last = 6;
    }
    m_suppress = true;
    for (int op = first; op <= last; ++op)
        for (const int g : {op, op + 6, op + 12, op + 18})
            bindGrid(g);
    if (first != last)
        for (const int g : {0, 25, 26})
            bindGrid(g);
    m_suppress = false;
    refreshAll();
}

ParameterGrid* frmVoiceEditor::dGrid1(int index) const
{
    return index >= 0 && index < kGrids ? m_grids[static_cast<std::size_t>(index)] : nullptr;
}

ParameterGridModel* frmVoiceEditor::gridModel(int index) const
{
    return index >= 0 && index < kGrids ? m_models[static_cast<std::size_t>(index)] : nullptr;
}

QFrame* frmVoiceEditor::Frame3(int index) const
{
    return index >= 0 && index < 7 ? m_panels[static_cast<std::size_t>(index)] : nullptr;
}

QLabel* frmVoiceEditor::Label3(int index) const
{
    return index >= 0 && index < 7 ? m_titles[static_cast<std::size_t>(index)] : nullptr;
}

ParameterGraph* frmVoiceEditor::graph(int index) const
{
    return index >= 0 && index < 13 ? m_graphs[static_cast<std::size_t>(index)] : nullptr;
}

EgZoomBox* frmVoiceEditor::zoomBox(int panel) const
{
    return panel >= 0 && panel < 7 ? m_zoomBoxes[static_cast<std::size_t>(panel)] : nullptr;
}

QWidget* frmVoiceEditor::printArea() const
{
    return m_clientWidget;
}

// --- The spin beside the current cell -----------------------------------------

void frmVoiceEditor::placeSpin()
{
    ParameterGrid* grid = dGrid1(m_currentGrid);
    ParameterGridModel* model = gridModel(m_currentGrid);
    if (!grid || !model || !grid->currentIndex().isValid()) {
        m_spin->hide();
        return;
    }
    const int row = grid->currentIndex().row();
    const QRect cell = grid->visualRect(model->index(row, 1));
    const QPoint topRight = grid->viewport()->mapTo(m_clientWidget, cell.topRight());
    const int width = qRound(17 * logicalDpiX() / 96.0);
    m_spin->setGeometry(topRight.x() + grid->frameWidth() + 2, topRight.y(), width, cell.height());
    const auto limits = valueLimits(m_currentGrid, row);
    m_suppress = true;
    m_spin->setRange(limits.min, limits.max);
    m_spin->setValue(limits.value);
    m_suppress = false;
    m_spin->raise();
    m_spin->show();
    m_spin->update();
}

void frmVoiceEditor::stepCurrent(int direction)
{
    if (m_currentGrid < 0)
        return;
    placeSpin();
    m_spin->step(direction);
}

} // namespace toneloft
