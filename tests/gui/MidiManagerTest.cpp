#include "FakeClockUi.h"
#include "GuiTestRegistry.h"
#include "ManagerHost.h"

#include "support/TempDir.h"
#include "voice/Session.h"

#include "midi/MidiDeviceLayer.h"
#include "midi/MidiSession.h"
#include "midi/ScriptedDialogs.h"
#include "midi/VirtualDx7Backend.h"
#include "midi/clsMidiManagerData.h"
#include "midi/ui/frmMIDIManager.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <array>
#include <cstdint>
#include <memory>

using namespace toneloft;
using toneloft::test::FakeClockUi;
using toneloft::test::ManagerHost;

namespace {

// The program's MIDI over the virtual DX7, with the real Qt services: input is
// handled when the event loop turns, as in the desktop program.
struct ManagerRig {
    FakeClockUi ui;
    test::TempDir dir;
    Session session{ui, dir.folder()};
    VirtualDx7Backend backend{[this] { return ui.now; }};
    test::ScriptedDialogs dialogs;
    ManagerHost host;
    std::unique_ptr<MidiSession> midiSession = std::make_unique<MidiSession>(session, backend, dialogs, &host);
    MidiDeviceLayer& midi = midiSession->devices();

    ManagerRig() { host.midi = &midi; }
    ~ManagerRig() { host.window.reset(); }
    bool open() { return midi.OpenMidiDevices(0, 0) == 0 && host.window; }
    frmMIDIManager& window() { return *host.window; }
    Recordset& table() { return midi.manager()->MidiMessage(); }

    void log(const std::string& message, bool replace = false)
    {
        MidiMessageRecord r;
        r[MidiMessageRecord::Message] = message;
        r[MidiMessageRecord::Channel] = "1";
        r[MidiMessageRecord::Type] = "Short";
        midi.manager()->AddMessage(r, replace);
    }
};

QString shown(const QAbstractItemModel& model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

QString trimmedRight(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return QString::fromStdString(s);
}

} // namespace

// The MIDI manager's monitor grid over the table of logged events.
class MidiManagerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gridShowsTheFirstEightFieldsReadOnly();
    void everyLoggedEventReachesTheGrid();
    void aBurstIsOneRefreshAndTheNewestIsCurrent();
    void inputIsHandledByTheSessionNotTheWindow();
};

void MidiManagerTest::gridShowsTheFirstEightFieldsReadOnly()
{
    ManagerRig rig;
    QVERIFY(rig.open());
    frmMIDIManager& w = rig.window();
    QAbstractItemModelTester tester(w.monitorModel(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(w.windowTitle(), QStringLiteral("MIDI Manager"));
    QCOMPARE(w.findChild<QGroupBox*>()->title(), QStringLiteral("MIDI Monitor"));

    const QAbstractItemModel& model = *w.monitorModel();
    const QStringList expected = {QStringLiteral("H:M:Sec"),    QStringLiteral("No"),
                                  QStringLiteral("Ch."),        QStringLiteral("Message"),
                                  QStringLiteral("Data1Title"), QStringLiteral("Data1"),
                                  QStringLiteral("Data2Title"), QStringLiteral("Data2")};
    QStringList captions;
    for (int c = 0; c < model.columnCount(); ++c)
        captions << model.headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, expected);
    // Every heading fits its column at the default size (the last one stretches).
    const QHeaderView* header = w.monitorGrid()->horizontalHeader();
    for (int c = 0; c < model.columnCount() - 1; ++c)
        QVERIFY2(header->sectionSize(c) >= header->fontMetrics().horizontalAdvance(captions[c]) + 4,
                 qPrintable(captions[c]));

    rig.log("Note On");
    QCoreApplication::processEvents();
    QVERIFY(model.rowCount() > 0);
    QVERIFY(!(model.flags(model.index(0, 3)) & Qt::ItemIsEditable));
}

void MidiManagerTest::everyLoggedEventReachesTheGrid()
{
    ManagerRig rig;
    QVERIFY(rig.open());
    QCOMPARE(rig.host.loads, 1);
    QCoreApplication::processEvents(); // the devices' own opening entries
    const long opened = rig.table().recordCount();
    QVERIFY(opened > 0);

    // Something sent, and something arriving on the service's side.
    QCOMPARE(rig.midi.SendShortMessage(0x90, 60, 100), 0);
    const std::array<std::uint8_t, 3> noteOn = {0x95, 0x3C, 0x40};
    rig.midi.inputQueue().pushShort(noteOn, 0);
    QCoreApplication::processEvents(); // the input is handled
    QCoreApplication::processEvents(); // the grid catches up

    const QAbstractItemModel& model = *rig.window().monitorModel();
    const long rows = rig.table().recordCount();
    QVERIFY(rows >= opened + 2);
    QCOMPARE(model.rowCount(), int(rows));
    auto reader = rig.table().clone();
    for (int r = 0; r < model.rowCount(); ++r) {
        reader->setAbsolutePosition(r + 1);
        QCOMPARE(shown(model, r, 1), QString::number(r + 1)); // No is the row count when added
        for (int c = 0; c < model.columnCount(); ++c)
            QCOMPARE(shown(model, r, c), trimmedRight(reader->text(c)));
    }
    QCOMPARE(shown(model, int(rows) - 1, 2), QStringLiteral("6"));
    QCOMPARE(rig.window().monitorGrid()->currentIndex().row(), int(rows) - 1);

    rig.midi.CloseMidiDevices();
    QVERIFY(!rig.host.window);
}

void MidiManagerTest::aBurstIsOneRefreshAndTheNewestIsCurrent()
{
    ManagerRig rig;
    QVERIFY(rig.open());
    QCoreApplication::processEvents();
    frmMIDIManager& w = rig.window();
    w.resize(600, 200);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QSignalSpy resets(w.monitorModel(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(w.monitorModel(), &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 60; ++i)
        rig.log("Event " + std::to_string(i));
    QCOMPARE(inserts.count(), 0);
    QCoreApplication::processEvents();
    // One insertion of the whole burst at the end, never a reset of the grid.
    QCOMPARE(inserts.count(), 1);
    QCOMPARE(resets.count(), 0);

    const QAbstractItemModel& model = *w.monitorModel();
    const int last = model.rowCount() - 1;
    QCOMPARE(shown(model, last, 3), QStringLiteral("Event 59"));
    QCOMPARE(shown(model, last, 1), QString::number(model.rowCount()));
    QTableView* grid = w.monitorGrid();
    QCOMPARE(grid->currentIndex().row(), last);
    QVERIFY(grid->viewport()->rect().intersects(grid->visualRect(model.index(last, 3))));
    QVERIFY(!grid->viewport()->rect().intersects(grid->visualRect(model.index(0, 3))));

    // A row written over is the one the user selected, and keeps the selection;
    // a new row takes it to the end.
    grid->setCurrentIndex(model.index(0, 0));
    rig.log("Edited Message:", true);
    QCoreApplication::processEvents();
    QCOMPARE(model.rowCount(), last + 1);
    QCOMPARE(shown(model, 0, 3), QStringLiteral("Edited Message:"));
    QCOMPARE(shown(model, 0, 1), QStringLiteral("1"));
    QCOMPARE(shown(model, last, 3), QStringLiteral("Event 59"));
    QCOMPARE(grid->currentIndex().row(), 0);
    rig.log("After");
    QCoreApplication::processEvents();
    QCOMPARE(grid->currentIndex().row(), last + 1);
}

void MidiManagerTest::inputIsHandledByTheSessionNotTheWindow()
{
    ManagerRig rig;
    QVERIFY(rig.open());
    QCoreApplication::processEvents();
    const long before = rig.table().recordCount();

    // The service posts, then the window goes before the event loop turns: the
    // session handles the input all the same.
    const std::array<std::uint8_t, 3> noteOn = {0x90, 0x3C, 0x40};
    rig.midi.inputQueue().pushShort(noteOn, 0);
    rig.host.window.reset();
    QCoreApplication::processEvents();
    QCOMPARE(rig.midi.inputQueue().size(), std::size_t{0});
    QCOMPARE(rig.table().recordCount(), before + 1);

    // A new window shows what was handled meanwhile.
    rig.host.managerLoaded();
    QCoreApplication::processEvents();
    QCOMPARE(rig.window().monitorModel()->rowCount(), int(before + 1));

    // A post that arrives after the session has gone does nothing.
    rig.midi.inputQueue().pushShort(noteOn, 0);
    rig.host.window.reset();
    rig.midiSession.reset();
    QCoreApplication::processEvents();
    QVERIFY(!rig.session.synth());
}

TONELOFT_GUI_TEST(MidiManagerTest);
#include "MidiManagerTest.moc"
