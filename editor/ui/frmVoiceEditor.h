#pragma once

#include "common/ui/MdiChild.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;
class QScrollArea;
class QScrollBar;

namespace toneloft {

class ParameterGrid;
class ParameterGridModel;
class Session;
class AlgorithmDiagram;
class EgZoomBox;
class ParameterGraph;
class UpDownSpin;
class VoiceEditor;
class VoiceEditorCore;
struct EditorRefresh;

// "Voice Editor": one voice of one list in seven panels (the voice-wide panel and
// operators 1 to 6), 27 small grids, the envelope and level-scaling graphs, the
// algorithm diagram and the name, in a client area that scrolls vertically. One
// pair of spin arrows is shared by all grids and stands beside the current cell.
// Every change goes through the core editor, which stores it, sends it while MIDI
// is on and keeps it for Undo.
class frmVoiceEditor : public QWidget, public MdiChild {
    Q_OBJECT

public:
    static constexpr int kGrids = 27;
    // Drag data of a label, grid or graph: "kind,index,list key,editor key".
    static constexpr const char* kMimeType = "application/x-toneloft-voice-element";
    enum class ElementKind { Label = 0, Grid = 1, Graph = 2 };
    struct ElementRef {
        ElementKind kind = ElementKind::Grid;
        int index = -1;
        std::string listKey;
        std::string editorKey;
    };

    frmVoiceEditor(Session& session, std::shared_ptr<VoiceEditor> editor, QWidget* parent = nullptr);
    ~frmVoiceEditor() override;

    Kind childKind() const override { return Kind::VoiceEditor; }
    QString helpTopic() const override;
    bool canUndo() const override;
    bool canRedo() const override;
    void undo() override;
    void redo() override;

    VoiceEditor& editor() { return *m_editor; }
    VoiceEditorCore& core() { return *m_core; }

    // Builds the panels of operators first..last (0: all six) and, for more than
    // one operator, the voice-wide panel, the name and the algorithm.
    void InitVoiceEditor(int first = 0, int last = 0);
    // Back to the voice as stored in the list; the cell that had the focus keeps it.
    void ResetVoice();
    // Everything on screen read again from the tables (after an undo, a drop).
    void refreshAll();
    // The editor became the active window: the synthesiser gets its voice.
    void activated();

    // Controls, for the main window, printing and tests.
    ParameterGrid* dGrid1(int index) const;
    ParameterGridModel* gridModel(int index) const;
    UpDownSpin* UpDown() const { return m_spin; }
    UpDownSpin* UpDown3() const { return m_algorithmSpin; }
    QFrame* Frame3(int index) const;
    QLabel* Label3(int index) const;
    QGroupBox* Frame2() const { return m_algorithmPanel; }
    QLineEdit* Label4() const { return m_name; }
    QPushButton* Command1() const { return m_reset; }
    QScrollArea* picClient() const { return m_client; }
    ParameterGraph* graph(int index) const; // MSChart1(0..12)
    EgZoomBox* zoomBox(int panel) const;    // "EG Zoom" of panels 0..6
    AlgorithmDiagram* algorithmDiagram() const { return m_diagram; }
    int CurrentGridID() const { return m_currentGrid; }
    // The editor's last close request was answered Cancel (the window stays).
    bool closeRefused() const { return m_closeRefused; }

    // The grid with the focus steps its current value (as an arrow click does).
    void stepCurrent(int direction);
    // Drag data for an element of this editor; a drop of it on another element
    // copies its values when the pair is allowed.
    QMimeData* elementMimeData(ElementKind kind, int index) const;
    // True when the drop was taken (the copy made).
    bool dropElement(const QMimeData* mime, ElementKind kind, int index);
    bool acceptsElement(const QMimeData* mime, ElementKind kind, int index) const;
    // Replaces QDrag::exec (tests): receives the drag data of a started drag.
    void setDragStarter(std::function<void(QMimeData*)> starter) { m_dragStarter = std::move(starter); }

    // The panels laid out one below the other to fit a page width (printing);
    // restoreFromPrint puts them back.
    void arrangeForPrint(int width);
    void restoreFromPrint();
    // The client area as one image, as printing takes it.
    QWidget* printArea() const;

Q_SIGNALS:
    void closed();
    void voiceSaved();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:

    void buildControls();
    QFrame* buildOperatorPanel(int op);
    QFrame* buildVoicePanel();
    QWidget* captioned(const QString& caption, QWidget* content, const QString& name);
    void bindGrid(int index);
    void bindAll();
    void placeSpin();
    void spinChanged(int value);
    bool typedEntry(int grid, int row, const QString& text);
    void algorithmChanged(int value);
    void nameEdited();
    void showAlgorithm();
    void refreshGraphs();
    void refreshGrid(int index);
    void coreRefreshed(const EditorRefresh& refresh);
    void zoomChanged(int exponent);
    void watchElement(QWidget* widget, ElementKind kind, int index);
    bool elementEvent(QWidget* widget, QEvent* event);
    void beginHold(QWidget* widget);
    void startElementDrag(QWidget* widget);
    std::optional<ElementRef> elementOf(const QMimeData* mime) const;
    void setCtrl(bool held);
    void audition();
    struct Limits {
        int min = 0;
        int max = 0;
        int value = 0;
    };
    Limits valueLimits(int grid, int row) const;
    QWidget* makeEnvelopeGraph(int index);
    QWidget* makeLevelScalingGraph(int op);
    void linkGraph(ParameterGraph* graph);

    Session& m_session;
    std::shared_ptr<VoiceEditor> m_editor;
    std::unique_ptr<VoiceEditorCore> m_core;

    QScrollArea* m_client = nullptr;
    QWidget* m_clientWidget = nullptr;
    std::array<QFrame*, 7> m_panels{};
    std::array<QLabel*, 7> m_titles{};
    std::array<ParameterGrid*, kGrids> m_grids{};
    std::array<ParameterGridModel*, kGrids> m_models{};
    std::array<ParameterGraph*, 13> m_graphs{};
    std::array<EgZoomBox*, 7> m_zoomBoxes{};
    UpDownSpin* m_spin = nullptr;
    QGroupBox* m_algorithmPanel = nullptr;
    AlgorithmDiagram* m_diagram = nullptr;
    UpDownSpin* m_algorithmSpin = nullptr;
    QLabel* m_algorithmNumber = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_reset = nullptr;

    int m_currentGrid = -1;
    bool m_suppress = false; // the editor's own updates of grids and spins
    bool m_rightOnSpin = false;
    bool m_closing = false;
    bool m_closeRefused = false;
    // A press on an element waits this long for its release before it drags.
    static constexpr int kDragHoldMs = 500;
    QPointer<QWidget> m_pressed;
    std::function<void(QMimeData*)> m_dragStarter;
    struct SavedGeometry;
    std::shared_ptr<SavedGeometry> m_printSaved;
};

} // namespace toneloft
