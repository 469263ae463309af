#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "editor/VoiceEditorCore.h"
#include "editor/ui/AlgorithmDiagram.h"
#include "editor/ui/EgZoomBox.h"
#include "editor/ui/ParameterGrid.h"
#include "editor/ui/PrintVoiceData.h"
#include "editor/ui/UpDownSpin.h"
#include "editor/ui/VoiceEditorHost.h"
#include "editor/ui/frmAlgorithms.h"
#include "editor/ui/frmVoiceEditor.h"
#include "common/SynthLink.h"
#include "voice/VoiceEditor.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <set>

using toneloft::MainCommand;
using toneloft::MsgResult;
using toneloft::frmAlgorithms;
using toneloft::frmVoiceEditor;
using toneloft::frmVoiceList;
using toneloft::test::ListDesk;

namespace {

// Offsets in the unpacked voice: operator n's block starts at (6 - n) * 21;
// its envelope is the first eight bytes of the block.
constexpr int envelopeOf(int op)
{
    return (6 - op) * 21;
}
constexpr int kAlgorithmByte = 134;

// Voice 1: algorithm value 4, operator 2's envelope 10..17, operator 5's 60..67.
toneloft::ByteString editorBank()
{
    toneloft::ByteString image;
    for (int i = 1; i <= 4; ++i) {
        toneloft::ByteString v = toneloft::test::makeVoice("EDIT " + std::to_string(i), i);
        v[kAlgorithmByte] = static_cast<char>(i == 1 ? 4 : 30);
        for (int k = 0; k < 8; ++k) {
            v[static_cast<std::size_t>(envelopeOf(2) + k)] = static_cast<char>(10 + k);
            v[static_cast<std::size_t>(envelopeOf(5) + k)] = static_cast<char>(60 + k);
        }
        image += v;
    }
    return image;
}

// The main window with its lists and the voice editors.
struct EditorDesk : ListDesk {
    toneloft::VoiceEditorHost editors{session, main, lists};
    frmVoiceList* list = nullptr;

    EditorDesk()
    {
        dir.write("EDIT.dat", editorBank());
        QVERIFY(lists.openFile((dir.path() / "EDIT.dat").string()));
        list = lists.activeWindow();
        QVERIFY(list);
        QVERIFY(QTest::qWaitForWindowActive(&main));
    }
    ~EditorDesk() { frmAlgorithms::Unload(); }

    // Opens a voice as the user does: a click, then the double-click.
    frmVoiceEditor* open(long voice)
    {
        ListDesk::click(list, voice);
        ListDesk::mouse(list, QEvent::MouseButtonRelease, voice);
        ListDesk::mouse(list, QEvent::MouseButtonDblClick, voice);
        return editors.activeEditor();
    }

    // The envelope values of operator op as the editor's grid shows them.
    static std::vector<int> envelope(frmVoiceEditor* e, int op)
    {
        std::vector<int> values;
        QAbstractItemModel* m = e->dGrid1(op)->model();
        for (int row = 0; row < m->rowCount(); ++row)
            values.push_back(m->data(m->index(row, 1)).toInt());
        return values;
    }

    // Holds the mouse on a grid past the drag wait; the drag data comes back.
    static std::unique_ptr<QMimeData> holdOn(frmVoiceEditor* e, QWidget* element)
    {
        std::unique_ptr<QMimeData> dragged;
        e->setDragStarter([&](QMimeData* mime) {
            dragged.reset(new QMimeData);
            for (const QString& f : mime->formats())
                dragged->setData(f, mime->data(f));
        });
        QTest::mousePress(element, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::qWait(650);
        QTest::mouseRelease(element, Qt::LeftButton, {}, QPoint(10, 10));
        return dragged;
    }

    static bool dropOn(QWidget* target, const QMimeData* mime)
    {
        const QPoint at(10, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted() && enter.dropAction() == Qt::CopyAction;
    }
};

// Types into a grid cell as the user does: the first key opens the cell's
// editor, Enter commits.
void typeInto(QWidget* grid, const QString& text)
{
    QTest::keyClicks(grid, text.left(1));
    QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents(); // the cell's editor commits after its key
}

// The synthesiser as the editor sees it, counting what it is sent.
struct CountingSynth : toneloft::SynthLink {
    int voices = 0;
    std::vector<std::pair<int, int>> changes; // parameter, value
    bool open = true;
    bool outputOpen() const override { return open; }
    void sendVoice(const toneloft::ByteString&, bool) override { ++voices; }
    void sendParameter(int parameter, int value) override { changes.emplace_back(parameter, value); }
};

bool enabled(toneloft::frmStartup& main, MainCommand c)
{
    return main.action(c)->isEnabled();
}

} // namespace

class VoiceEditorWindowTest : public QObject {
    Q_OBJECT

private slots:
    void openingFromTheListShowsTheVoiceAndItsAlgorithm();
    void typedValueIsSavedIntoTheList();
    void typedTextsAreCheckedByTheirRows_data();
    void typedTextsAreCheckedByTheirRows();
    void keyboardReachesEveryValue();
    void stepsReachTheSynthesiserUnlessCtrlIsHeld();
    void operatorBoxesFollowMidiSwitchedOnLater();
    void dragCopiesAGroupAndUndoTakesItBack();
    void secondOpeningAsksAndClosingAsksToSave();
    void printsThePanelsToPdf();
};

void VoiceEditorWindowTest::openingFromTheListShowsTheVoiceAndItsAlgorithm()
{
    EditorDesk desk;
    QVERIFY(!enabled(desk.main, MainCommand::FileSaveVoice));
    frmVoiceEditor* e = desk.open(1);
    QVERIFY(e);
    QCOMPARE(e->windowTitle(), QStringLiteral("EDIT 1"));
    QCOMPARE(desk.list->list().Editors.count(), 1L);
    QVERIFY(desk.ui.sawStatus("Loading Voice Editor - Please Wait  "));
    // The Algorithms window stands beside it at the voice's algorithm.
    frmAlgorithms* algorithms = frmAlgorithms::instance();
    QVERIFY(algorithms);
    QVERIFY(algorithms->isVisible());
    QCOMPARE(algorithms->algorithm(), 4);
    QCOMPARE(algorithms->Frame1()->title(), QStringLiteral("Alg5"));
    QCOMPARE(e->Frame2()->title(), QStringLiteral("  Algorithm  5  "));
    QCOMPARE(e->algorithmDiagram()->algorithm(), 4);
    // The grids show their groups: operator 2's envelope, the Misc rows.
    QCOMPARE(EditorDesk::envelope(e, 2), (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 17}));
    QCOMPARE(e->dGrid1(26)->model()->rowCount(), 3);
    QCOMPARE(e->dGrid1(26)->model()->data(e->dGrid1(26)->model()->index(2, 0)).toString(), QStringLiteral("Trans"));
    QVERIFY(enabled(desk.main, MainCommand::FileSaveVoice));
    QVERIFY(enabled(desk.main, MainCommand::FilePrintVoiceData));

    // The list active again: the editor's commands go; a second editor of the
    // list keeps the Algorithms window until the last one closes.
    frmVoiceEditor* second = desk.open(2);
    QVERIFY(second && second != e);
    desk.activate(desk.list);
    QVERIFY(!enabled(desk.main, MainCommand::FileSaveVoice));
    QVERIFY(qobject_cast<QMdiSubWindow*>(e->parentWidget())->close());
    QVERIFY(frmAlgorithms::instance());
    QVERIFY(qobject_cast<QMdiSubWindow*>(second->parentWidget())->close());
    QTRY_VERIFY(!frmAlgorithms::instance());
    QCOMPARE(desk.list->list().Editors.count(), 0L);
}

void VoiceEditorWindowTest::typedValueIsSavedIntoTheList()
{
    EditorDesk desk;
    frmVoiceEditor* e = desk.open(3);
    QVERIFY(e);
    QVERIFY(!desk.list->list().isChanged());
    // Operator 1's envelope, third row (R3): typed over, Enter.
    toneloft::ParameterGrid* grid = e->dGrid1(1);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(2, 1));
    QVERIFY(e->UpDown()->isVisible());
    typeInto(grid, QStringLiteral("42"));
    QCOMPARE(grid->model()->data(grid->model()->index(2, 1)).toInt(), 42);
    QCOMPARE(e->core().value(envelopeOf(1) + 3), 42);
    QCOMPARE(e->UpDown()->value(), 42);
    // PageUp steps the value as the spin's upper arrow does.
    QTest::keyClick(grid, Qt::Key_PageUp);
    QCOMPARE(e->core().value(envelopeOf(1) + 3), 43);
    QVERIFY(enabled(desk.main, MainCommand::EditUndo));

    // File > Save Voice from the menu: the list's row takes the voice.
    QVERIFY(!desk.list->list().isChanged());
    desk.main.action(MainCommand::FileSaveVoice)->trigger();
    QVERIFY(desk.list->list().isChanged());
    auto rows = desk.list->list().rsmfimage().clone();
    rows->setAbsolutePosition(3);
    QCOMPARE(static_cast<int>(static_cast<unsigned char>(rows->text("Data")[envelopeOf(1) + 2])), 43);
    // Saved: closing asks nothing.
    const std::size_t boxes = desk.ui.boxes.size();
    QVERIFY(qobject_cast<QMdiSubWindow*>(e->parentWidget())->close());
    QCOMPARE(desk.ui.boxes.size(), boxes);
}

void VoiceEditorWindowTest::typedTextsAreCheckedByTheirRows_data()
{
    QTest::addColumn<int>("grid");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown"); // the cell afterwards
    // One of each kind of row (the core's tables hold the cases): operator 1's
    // envelope R1 holds 99 at most; a level-scaling curve takes its own texts
    // only; an oscillator row takes a frequency (ratio mode).
    QTest::newRow("over the maximum") << 1 << 0 << "100" << "99";
    QTest::newRow("curve without sign") << 7 << 3 << "EXP" << "-LIN";
    QTest::newRow("ratio") << 13 << 2 << "0.5" << ".5";
}

void VoiceEditorWindowTest::typedTextsAreCheckedByTheirRows()
{
    QFETCH(int, grid);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    EditorDesk desk;
    frmVoiceEditor* e = desk.open(4);
    QVERIFY(e);
    toneloft::ParameterGrid* g = e->dGrid1(grid);
    g->setFocus();
    g->setCurrentIndex(g->model()->index(row, 1));
    typeInto(g, typed);
    QCOMPARE(g->model()->data(g->model()->index(row, 1)).toString().trimmed(), shown);
}

void VoiceEditorWindowTest::keyboardReachesEveryValue()
{
    EditorDesk desk;
    frmVoiceEditor* e = desk.open(1);
    QVERIFY(e);
    // From the pitch envelope's first value, Tab visits every grid cell once.
    e->dGrid1(0)->setFocus();
    std::set<std::pair<int, int>> seen;
    for (int step = 0; step < 400; ++step) {
        auto* grid = qobject_cast<toneloft::ParameterGrid*>(QApplication::focusWidget());
        if (grid && grid->currentIndex().isValid())
            seen.insert({grid->gridIndex(), grid->currentIndex().row()});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // 145 values less the algorithm (its own arrows) and the ten name characters (the name box).
    QCOMPARE(static_cast<int>(seen.size()), 144);
}

void VoiceEditorWindowTest::stepsReachTheSynthesiserUnlessCtrlIsHeld()
{
    EditorDesk desk;
    CountingSynth synth;
    desk.session.setSynth(&synth);
    frmVoiceEditor* e = desk.open(1);
    QVERIFY(e);
    // Made active again after the list: the synthesiser gets the editor's voice.
    desk.activate(desk.list);
    const int sent = synth.voices;
    desk.main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(e->parentWidget()));
    QCOMPARE(synth.voices, sent + 1);
    // Operator 1's R1 is parameter (6 - 1) * 21 + 1 = 106; the init voice holds 99.
    toneloft::ParameterGrid* grid = e->dGrid1(1);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_PageDown);
    QCOMPARE(synth.changes, (std::vector<std::pair<int, int>>{{106, 98}}));
    // The lower arrow beside the cell does the same.
    toneloft::UpDownSpin* spin = e->UpDown();
    QVERIFY(spin->isVisible());
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, spin->height() * 3 / 4));
    QCOMPARE(synth.changes.back(), (std::pair<int, int>{106, 97}));
    // Held Ctrl: stored, not sent; released: sent again.
    QTest::keyPress(grid, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(e->core().value(106), 96);
    QCOMPARE(synth.changes.size(), std::size_t{2});
    QTest::keyRelease(grid, Qt::Key_Control);
    QTest::keyClick(grid, Qt::Key_PageUp);
    QCOMPARE(synth.changes.back(), (std::pair<int, int>{106, 97}));
    desk.session.setSynth(nullptr);
}

void VoiceEditorWindowTest::operatorBoxesFollowMidiSwitchedOnLater()
{
    EditorDesk desk;
    CountingSynth synth;
    synth.open = false;
    desk.session.setSynth(&synth);
    frmVoiceEditor* e = desk.open(1);
    QVERIFY(e);
    toneloft::AlgorithmDiagram* diagram = e->algorithmDiagram();
    const QPoint box3 = diagram->operatorRect(3).center().toPoint();
    QTest::mouseClick(diagram, Qt::LeftButton, {}, box3);
    QVERIFY(synth.changes.empty());
    QCOMPARE(e->core().OperatorStatus() == 0 || e->core().OperatorStatus() == 63, true);

    // MIDI comes on while the editor stays active: the boxes react at once.
    // Operator n is bit 2^(6 - n): operator 3 off leaves 63 - 8.
    synth.open = true;
    QTest::mouseClick(diagram, Qt::LeftButton, {}, box3);
    QCOMPARE(synth.changes, (std::vector<std::pair<int, int>>{{156, 55}}));
    QCOMPARE(diagram->operatorColour(3), toneloft::AlgorithmDiagram::kOffColour);
    desk.session.setSynth(nullptr);
}

void VoiceEditorWindowTest::dragCopiesAGroupAndUndoTakesItBack()
{
    EditorDesk desk;
    frmVoiceEditor* e = desk.open(1);
    QVERIFY(e);
    const auto before = EditorDesk::envelope(e, 5);
    QCOMPARE(before, (std::vector<int>{60, 61, 62, 63, 64, 65, 66, 67}));

    // A quick click is a click; holding starts the drag.
    QTest::mouseClick(e->dGrid1(2)->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    std::unique_ptr<QMimeData> dragged = EditorDesk::holdOn(e, e->dGrid1(2)->viewport());
    QVERIFY(dragged);

    // Onto a level-scaling grid: refused, nothing changes.
    QVERIFY(!EditorDesk::dropOn(e->dGrid1(11)->viewport(), dragged.get()));
    QCOMPARE(EditorDesk::envelope(e, 5), before);
    // Onto operator 5's envelope: the eight values of operator 2.
    QVERIFY(EditorDesk::dropOn(e->dGrid1(5)->viewport(), dragged.get()));
    QCOMPARE(EditorDesk::envelope(e, 5), (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 17}));
    QCOMPARE(e->core().value(envelopeOf(5) + 8), 17);

    // Ctrl+Z puts all eight back in one step; Ctrl+Y copies them again.
    QTest::keyClick(&desk.main, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(EditorDesk::envelope(e, 5), before);
    QTest::keyClick(&desk.main, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(EditorDesk::envelope(e, 5), (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 17}));

    // Between editors: operator 2's title of this voice onto operator 5 of another.
    frmVoiceEditor* other = desk.open(2);
    QVERIFY(other && other != e);
    std::unique_ptr<QMimeData> title = EditorDesk::holdOn(e, e->Label3(2));
    QVERIFY(title);
    QVERIFY(!EditorDesk::dropOn(other->Label3(0), title.get()));
    QVERIFY(EditorDesk::dropOn(other->Label3(5), title.get()));
    QCOMPARE(EditorDesk::envelope(other, 5), (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 17}));
}

void VoiceEditorWindowTest::secondOpeningAsksAndClosingAsksToSave()
{
    EditorDesk desk;
    frmVoiceEditor* e = desk.open(1);
    QVERIFY(e);
    e->dGrid1(1)->setFocus();
    e->dGrid1(1)->setCurrentIndex(e->dGrid1(1)->model()->index(0, 1));
    e->stepCurrent(-1);
    const int edited = e->core().value(envelopeOf(1) + 1);

    // Opening it again: No keeps the edit, Yes goes back to the saved voice.
    desk.ui.answers.push_back(MsgResult::No);
    QCOMPARE(desk.open(1), e);
    QCOMPARE(QString::fromStdString(desk.ui.lastBox().text),
             QStringLiteral("You already have an editor open for this voice, do you want to reset this to the saved version ?"));
    QCOMPARE(e->core().value(envelopeOf(1) + 1), edited);
    desk.ui.answers.push_back(MsgResult::Yes);
    desk.open(1);
    QCOMPARE(e->core().value(envelopeOf(1) + 1), edited + 1);
    QCOMPARE(desk.list->list().Editors.count(), 1L);

    // Changed again: Cancel keeps the window, No closes it without storing.
    e->stepCurrent(-1);
    QMdiSubWindow* frame = qobject_cast<QMdiSubWindow*>(e->parentWidget());
    desk.ui.answers.push_back(MsgResult::Cancel);
    QVERIFY(!frame->close());
    QCOMPARE(QString::fromStdString(desk.ui.lastBox().text), QStringLiteral("EDIT 1 has changed\r\nSave Changes ?"));
    QCOMPARE(desk.list->list().Editors.count(), 1L);
    desk.ui.answers.push_back(MsgResult::No);
    QVERIFY(frame->close());
    QCOMPARE(desk.list->list().Editors.count(), 0L);
    QVERIFY(!desk.list->list().isChanged());
}

void VoiceEditorWindowTest::printsThePanelsToPdf()
{
    EditorDesk desk;
    frmVoiceEditor* e = desk.open(1);
    QVERIFY(e);
    const QString pdf = QString::fromStdString((desk.dir.path() / "voice.pdf").string());
    // File > Print Voice Data, with the dialogue answered "to this PDF file".
    toneloft::PrintVoiceData::setDialogStandIn([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    e->dGrid1(3)->setFocus();
    e->dGrid1(3)->setCurrentIndex(e->dGrid1(3)->model()->index(1, 1));
    desk.main.action(MainCommand::FilePrintVoiceData)->trigger();
    toneloft::PrintVoiceData::setDialogStandIn(nullptr);
    std::ifstream in(pdf.toStdString(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    QVERIFY(bytes.rfind("%PDF", 0) == 0);
    // Two pages at least: seven panels do not fit on one A4 page.
    QVERIFY(bytes.find("/Type /Page\n") != std::string::npos || bytes.find("/Type /Page ") != std::string::npos);
    // The window is put back as it was.
    QVERIFY(e->Command1()->isVisible());
    QVERIFY(e->UpDown()->isVisible());

    // On paper: no arrows or zoom buttons, an algorithm diagram large enough to read.
    auto* algorithmArrows = e->findChild<toneloft::UpDownSpin*>(QStringLiteral("UpDown3"));
    QVERIFY(algorithmArrows && algorithmArrows->isVisible());
    e->arrangeForPrint(1000);
    QVERIFY(!algorithmArrows->isVisible());
    QCOMPARE(e->zoomBox(1)->buttonSymbols(), QAbstractSpinBox::NoButtons);
    QVERIFY(e->algorithmDiagram()->width() >= 190 && e->algorithmDiagram()->height() >= 150);
    e->restoreFromPrint();
    QVERIFY(algorithmArrows->isVisible());
    QCOMPARE(e->zoomBox(1)->buttonSymbols(), QAbstractSpinBox::UpDownArrows);
    QVERIFY(e->algorithmDiagram()->minimumWidth() < 190);
}

TONELOFT_GUI_TEST(VoiceEditorWindowTest);
#include "VoiceEditorWindowTest.moc"
