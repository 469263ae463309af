// The MIDI manager's store through its window: toolbar buttons, grid keys,
// "&Resend Message when selected" and the sysex editor's grid.
#include "DialogDriver.h"
#include "GuiTestRegistry.h"
#include "ManagerHost.h"

#include "midi/FakeVoiceLists.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/VirtualDx7Backend.h"
#include "midi/clsMidiManagerData.h"
#include "midi/ui/frmEditSysex.h"
#include "midi/ui/frmMIDIManager.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/VoiceFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <memory>
#include <vector>

using namespace toneloft;
using toneloft::test::FakeVoiceLists;
using toneloft::test::ScriptedUi;

namespace {

// Scripted boxes and files, with the Qt event loop turning as the core waits.
class ScriptedQtUi : public ScriptedUi {
public:
    void processEvents() override
    {
        ScriptedUi::processEvents();
        QCoreApplication::processEvents();
    }
};

// The manager window stays hidden: nothing takes the focus from the grid a test chooses.
struct HiddenManagerHost : toneloft::test::ManagerHost {
    void showManager(ManagerWindowState) override {}
};

struct StoreWindowRig {
    ScriptedQtUi ui;
    MidiState state;
    VirtualDx7Backend backend{[this] { return ui.now; }};
    HiddenManagerHost host;
    FakeVoiceLists lists;
    MidiDeviceLayer midi{ui, state, backend, &host};
    toneloft::test::TempDir dir;

    StoreWindowRig()
    {
        host.midi = &midi;
        midi.setVoiceLists(&lists);
        midi.OpenMidiDevices(0, 0);
        midi.dispatchInput(); // as the MIDI session does: the opening reaches the monitor
        QCoreApplication::processEvents();
    }
    ~StoreWindowRig() { host.window.reset(); }
    frmMIDIManager& window() { return *host.window; }
    clsMidiManagerData& store() { return *midi.manager(); }
    void log(const std::string& message)
    {
        MidiMessageRecord r;
        r[MidiMessageRecord::Message] = message;
        midi.manager()->AddMessage(r, false);
    }
    QString cell(int row, int column)
    {
        const QAbstractItemModel* m = window().storeModel();
        return m->data(m->index(row, column)).toString();
    }
    // Loads a bank file into the selected slot through the toolbar.
    void loadBank(const std::string& title)
    {
        const std::string path = dir.write(title, toneloft::test::makeVoiceFile(3, 32));
        lists.fileAnswer = MidiVoiceListLink::ChosenFile{path, title};
        window().toolbarButton(QStringLiteral("Load"))->trigger();
    }
};

} // namespace

class MidiStoreWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void storeGridToolbarAndCheckBox();
    void loadAndDeleteThroughTheToolbarAndGrid();
    void editsOfTheSelectedSlotGoThroughTheEditorGrid();
    void editWithNoGridChosenSaysSo();
    void editOfAMonitorRowReplacesItInPlace();
    void editorGridRefusesBadValuesAndTruncatesOnBlank();
    void selectingARowResendsItWhenTicked();
    void screenshots();
};

void MidiStoreWindowTest::storeGridToolbarAndCheckBox()
{
    StoreWindowRig rig;
    frmMIDIManager& w = rig.window();
    QCOMPARE(w.findChild<QGroupBox*>(QStringLiteral("fraSysex"))->title(), QStringLiteral("Sysex Banks"));
    const QAbstractItemModel* m = w.storeModel();
    QCOMPARE(m->rowCount(), 100);
    QCOMPARE(m->columnCount(), 3);
    QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Name"));
    QCOMPARE(rig.cell(99, 0), QStringLiteral(" 100"));
    QCOMPARE(rig.cell(0, 1), QStringLiteral("-----------"));
    QCOMPARE(rig.cell(0, 2), QStringLiteral("0"));
    QCOMPARE(w.resendBox()->text(), QStringLiteral("&Resend Message when selected"));
    for (const char* key : {"Send", "Save", "Delete", "Save And Load"})
        QVERIFY2(!w.toolbarButton(QString::fromLatin1(key))->isEnabled(), key);
    for (const char* key : {"Receive", "Load", "Edit"})
        QVERIFY2(w.toolbarButton(QString::fromLatin1(key))->isEnabled(), key);
    QCOMPARE(w.storeGrid()->currentIndex().row(), 0);
}

void MidiStoreWindowTest::loadAndDeleteThroughTheToolbarAndGrid()
{
    StoreWindowRig rig;
    frmMIDIManager& w = rig.window();
    w.storeGrid()->setCurrentIndex(w.storeModel()->index(2, 0));
    rig.loadBank("Strings.syx");
    QCOMPARE(rig.lists.dialogTitles.back(), std::string("Open DX7 Voice Data File"));
    QCOMPARE(rig.cell(2, 1), QStringLiteral("Strings"));
    QCOMPARE(rig.cell(2, 2), QStringLiteral("4096"));
    QCOMPARE(w.storeGrid()->currentIndex().row(), 3); // stepped to the next slot
    QVERIFY(w.toolbarButton(QStringLiteral("Send"))->isEnabled());
    QVERIFY(w.toolbarButton(QStringLiteral("Delete"))->isEnabled());

    // Send puts the bank into the instrument.
    w.storeGrid()->setCurrentIndex(w.storeModel()->index(2, 0));
    w.toolbarButton(QStringLiteral("Send"))->trigger();
    const ByteString file = toneloft::test::makeVoiceFile(3, 32);
    QCOMPARE(rig.backend.instrument().internalVoices(), file.substr(6, 4096));

    // The Delete key empties the slot; the grid keeps its 100 rows.
    w.storeGrid()->setFocus();
    QTest::keyClick(w.storeGrid(), Qt::Key_Delete);
    QCOMPARE(w.storeModel()->rowCount(), 100);
    QCOMPARE(rig.cell(2, 1), QStringLiteral("-----------"));
    QVERIFY(!w.toolbarButton(QStringLiteral("Send"))->isEnabled());
}

void MidiStoreWindowTest::editsOfTheSelectedSlotGoThroughTheEditorGrid()
{
    StoreWindowRig rig;
    frmMIDIManager& w = rig.window();
    rig.loadBank("Bank.syx");
    w.storeGrid()->setCurrentIndex(w.storeModel()->index(0, 0));
    bool edited = false;
    toneloft::test::onNextModal([&](QWidget* modal) {
        auto* editor = qobject_cast<frmEditSysex*>(modal);
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Sysex"));
        QAbstractItemModel* m = editor->grid()->model();
        QCOMPARE(m->rowCount(), 256);
        QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable));
        // Offset 118: voice 1's first name letter, row 7 column 7.
        QVERIFY(m->setData(m->index(7, 7), QStringLiteral("90")));
        edited = true;
        QTest::mouseClick(editor->button(0), Qt::LeftButton);
    });
    w.toolbarButton(QStringLiteral("Edit"))->trigger();
    QVERIFY(edited);
    rig.store().selectSlot(1);
    const ByteString data = rig.store().MidiSysex().text("Data");
    QCOMPARE(data.size(), std::size_t{4096});
    QCOMPARE(data[118], 'Z');
    QCOMPARE(rig.cell(0, 2), QStringLiteral("4096"));
}

void MidiStoreWindowTest::editWithNoGridChosenSaysSo()
{
    StoreWindowRig rig;
    rig.window().toolbarButton(QStringLiteral("Edit"))->trigger();
    QCOMPARE(rig.ui.lastBox().title, std::string("Nothing to Edit"));
    QCOMPARE(rig.ui.lastBox().text, std::string("Please select a sysex message or bank to edit."));
    QCOMPARE(rig.ui.lastBox().icon, MsgIcon::Information);
}

void MidiStoreWindowTest::editOfAMonitorRowReplacesItInPlace()
{
    StoreWindowRig rig;
    frmMIDIManager& w = rig.window();
    QCOMPARE(rig.midi.SendShortMessage(0x90, 60, 100), 0);
    rig.log("Later");
    QCoreApplication::processEvents();
    const QAbstractItemModel* m = w.monitorModel();
    const int rows = m->rowCount();
    int noteRow = -1;
    for (int r = 0; r < rows; ++r)
        if (m->data(m->index(r, 3)).toString().startsWith(QStringLiteral("Short Sysex sent")))
            noteRow = r;
    QVERIFY(noteRow >= 0 && noteRow < rows - 1);
    w.monitorGrid()->setCurrentIndex(m->index(noteRow, 0));

    toneloft::test::onNextModal([](QWidget* modal) {
        auto* editor = qobject_cast<frmEditSysex*>(modal);
        QVERIFY(editor);
        QAbstractItemModel* hex = editor->grid()->model();
        QCOMPARE(hex->data(hex->index(0, 1)).toString(), QStringLiteral("144"));
        QVERIFY(editor->grid()->isColumnHidden(4)); // three bytes, three columns
        QVERIFY(hex->setData(hex->index(0, 1), QStringLiteral("128")));
        QTest::mouseClick(editor->button(0), Qt::LeftButton);
    });
    w.toolbarButton(QStringLiteral("Edit"))->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(m->rowCount(), rows);
    QCOMPARE(m->data(m->index(noteRow, 3)).toString(), QStringLiteral("Edited Message: 128 60 100"));
    QCOMPARE(m->data(m->index(noteRow, 1)).toString(), QString::number(noteRow + 1));
    QCOMPARE(w.monitorGrid()->currentIndex().row(), noteRow);
}

void MidiStoreWindowTest::editorGridRefusesBadValuesAndTruncatesOnBlank()
{
    ScriptedQtUi ui;
    ByteString message;
    for (int i = 0; i < 20; ++i)
        message.push_back(toChar(0x10 + i));
    frmEditSysex editor(ui, message);
    QTableView* grid = editor.grid();
    QAbstractItemModel* m = grid->model();
    QCOMPARE(m->rowCount(), 2);
    QVERIFY(!grid->isColumnHidden(16));

    QVERIFY(!m->setData(m->index(0, 3), QStringLiteral("256"))); // the core's table holds the other refusals
    QCOMPARE(m->data(m->index(0, 3)).toString(), QStringLiteral("18"));

    // A blank in the middle refused, then a cut at offset 6.
    ui.answers = {MsgResult::No};
    QVERIFY(!m->setData(m->index(0, 5), QString()));
    QCOMPARE(m->data(m->index(0, 5)).toString(), QStringLiteral("20"));
    ui.answers = {MsgResult::Yes};
    QSignalSpy cut(static_cast<HexEditModel*>(m), &HexEditModel::truncated);
    QVERIFY(!m->setData(m->index(0, 7), QString()));
    QVERIFY(cut.wait(1000));
    QCOMPARE(m->rowCount(), 1);
    QVERIFY(grid->isColumnHidden(7));
    QVERIFY(!grid->isColumnHidden(6));

    // Six bytes are doubtful: Yes goes back to editing, No accepts.
    ui.answers = {MsgResult::Yes};
    QTest::mouseClick(editor.button(0), Qt::LeftButton);
    QCOMPARE(ui.lastBox().title, std::string("Invalid Message Length"));
    QCOMPARE(editor.sysexResult(), message);
    ui.answers = {MsgResult::No};
    QTest::mouseClick(editor.button(0), Qt::LeftButton);
    QCOMPARE(editor.sysexResult(), message.substr(0, 6));

    frmEditSysex cancelled(ui, message);
    QVERIFY(cancelled.grid()->model()->setData(cancelled.grid()->model()->index(0, 1), QStringLiteral("0")));
    QTest::mouseClick(cancelled.button(1), Qt::LeftButton);
    QCOMPARE(cancelled.sysexResult(), message);
}

void MidiStoreWindowTest::selectingARowResendsItWhenTicked()
{
    StoreWindowRig rig;
    frmMIDIManager& w = rig.window();
    const ByteString voice = toneloft::test::makeVoice("RESENT", 3);
    rig.store().selectSlot(5);
    rig.store().AddSysex(voice, 155, 0, "Voice");
    const ByteString before = rig.backend.instrument().editBuffer();
    QVERIFY(before != voice);
    w.storeGrid()->setCurrentIndex(w.storeModel()->index(4, 0)); // not ticked: nothing sent
    QCOMPARE(rig.backend.instrument().editBuffer(), before);
    w.storeGrid()->setCurrentIndex(w.storeModel()->index(3, 0));
    w.resendBox()->click();
    w.storeGrid()->setCurrentIndex(w.storeModel()->index(4, 0));
    QCOMPARE(rig.backend.instrument().editBuffer(), voice);

    // A monitor row sent again: the note leaves once more.
    QCOMPARE(rig.midi.SendShortMessage(0x90, 60, 100), 0);
    QCoreApplication::processEvents();
    const QAbstractItemModel* m = w.monitorModel();
    auto notes = [m] {
        std::vector<int> rows;
        for (int r = 0; r < m->rowCount(); ++r)
            if (m->data(m->index(r, 3)).toString().startsWith(QStringLiteral("Short Sysex sent")))
                rows.push_back(r);
        return rows;
    };
    QCOMPARE(notes().size(), std::size_t{1});
    w.monitorGrid()->setCurrentIndex(m->index(0, 0)); // an entry with nothing to send
    w.monitorGrid()->setCurrentIndex(m->index(notes()[0], 0));
    QCoreApplication::processEvents();
    QCOMPARE(notes().size(), std::size_t{2});
    QCOMPARE(w.monitorGrid()->currentIndex().row(), notes()[0]); // back on the row sent again
}

// Pictures for the record when TONELOFT_SCREENSHOT_DIR names a folder.
void MidiStoreWindowTest::screenshots()
{
    const QString folder = qEnvironmentVariable("TONELOFT_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("TONELOFT_SCREENSHOT_DIR not set");
    StoreWindowRig rig;
    frmMIDIManager& w = rig.window();
    rig.loadBank("Rom1A.syx");
    rig.loadBank("Brass Collection.syx");
    rig.store().selectSlot(3);
    rig.store().AddSysex(toneloft::test::makeVoice("E.PIANO 1"), 155, 0, "E.Piano");
    rig.midi.SendShortMessage(0x90, 60, 100);
    rig.midi.SendShortMessage(0x90, 60, 0);
    w.storeGrid()->setCurrentIndex(w.storeModel()->index(0, 0));
    w.toolbarButton(QStringLiteral("Send"))->trigger();
    QCoreApplication::processEvents();
    w.resize(1100, 460);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.grab().save(QDir(folder).filePath(QStringLiteral("midi-manager.png"))));

    rig.store().selectSlot(1);
    frmEditSysex editor(rig.ui, rig.store().MidiSysex().text("Data"));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QVERIFY(editor.grab().save(QDir(folder).filePath(QStringLiteral("edit-sysex.png"))));
}

TONELOFT_GUI_TEST(MidiStoreWindowTest);
#include "MidiStoreWindowTest.moc"
