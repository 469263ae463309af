// A voice list driven by keys, its edits undone and redone from the Edit
// menu's keys, the found and sorted voices' selection, and how it is drawn.
#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "common/SynthLink.h"
#include "library/ui/MainCommand.h"
#include "library/ui/VoiceSlotDelegate.h"
#include "library/ui/frmFind.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

namespace {

using toneloft::ByteArray;
using toneloft::frmVoiceList;
using toneloft::MainCommand;
using toneloft::test::ListDesk;

class ListKeysUndoTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void arrows_data();
    void arrows();
    void enterF2AndSpace();
    void undoAndRedoOfEdits_data();
    void undoAndRedoOfEdits();
    void selectAllAndUndoEnabling();
    void foundVoiceIsSelected();
    void sortKeepsTheSelectedVoices();
    void slotNumbersFollowThePreference();
    void windowGrowsWithItsFrame();
};

struct CountingSynth : toneloft::SynthLink {
    std::vector<toneloft::ByteString> voices;
    bool outputOpen() const override { return true; }
    void sendVoice(const toneloft::ByteString& voice, bool) override { voices.push_back(voice); }
    void sendParameter(int, int) override {}
};

// Keys go where the user's would: to the focused widget of the active main window.
void press(ListDesk& desk, int key, Qt::KeyboardModifiers modifiers = {})
{
    QApplication::setActiveWindow(&desk.main);
    QVERIFY(QTest::qWaitForWindowActive(&desk.main));
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &desk.main;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

void focusList(ListDesk& desk, frmVoiceList* w)
{
    desk.activate(w);
    QApplication::setActiveWindow(&desk.main);
    w->List1()->setFocus();
}

std::vector<long> selected(frmVoiceList* w)
{
    return w->list().tracker.selected();
}

// The selection as drawn on the bank shown, as voice numbers.
std::vector<long> drawn(frmVoiceList* w)
{
    std::vector<long> out;
    const long first = (w->view().bank - 1) * 32;
    for (int i : w->selectedItems())
        out.push_back(first + i + 1);
    return out;
}

std::vector<long> onBank(const std::vector<long>& voices, long bank)
{
    std::vector<long> out;
    for (long v : voices)
        if ((v - 1) / 32 + 1 == bank)
            out.push_back(v);
    return out;
}

} // namespace

void ListKeysUndoTest::initTestCase()
{
    // The slot numbering preference is written here, not in the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    QSettings().remove(QString::fromLatin1(frmVoiceList::kSlotNumberingKey));
}

void ListKeysUndoTest::arrows_data()
{
    QTest::addColumn<int>("bank");       // shown before the keys
    QTest::addColumn<int>("clicked");    // 0: no voice clicked
    QTest::addColumn<QList<int>>("keys"); // negative: with Shift
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<int>>("selection");

    using L = QList<int>;
    QTest::newRow("down") << 1 << 5 << L{Qt::Key_Down} << 6 << L{6};
    QTest::newRow("up from a bank's first voice") << 2 << 33 << L{Qt::Key_Up} << 32 << L{32};
    QTest::newRow("right to the next column") << 1 << 3 << L{Qt::Key_Right} << 19 << L{19};
    QTest::newRow("right from the second column into the next bank") << 1 << 20 << L{Qt::Key_Right} << 36 << L{36};
    QTest::newRow("left in the first column of bank 1") << 1 << 3 << L{Qt::Key_Left} << 1 << L{1};
    QTest::newRow("down on the last voice") << 3 << 70 << L{Qt::Key_Down} << 70 << L{70};
    QTest::newRow("shift down twice") << 1 << 5 << L{-Qt::Key_Down, -Qt::Key_Down} << 7 << L{5, 6, 7};
    QTest::newRow("shift up across banks") << 2 << 34 << L{-Qt::Key_Up, -Qt::Key_Up, -Qt::Key_Up} << 31
                                           << L{31, 32, 33, 34};
    QTest::newRow("shift down then back up") << 1 << 9 << L{-Qt::Key_Down, -Qt::Key_Down, -Qt::Key_Up} << 10
                                             << L{9, 10};
    QTest::newRow("end") << 1 << 5 << L{Qt::Key_End} << 70 << L{70};
    QTest::newRow("shift home") << 1 << 3 << L{-Qt::Key_Home} << 1 << L{1, 2, 3};
    QTest::newRow("no voice yet: the bank's first") << 2 << 0 << L{Qt::Key_Down} << 33 << L{33};
}

void ListKeysUndoTest::arrows()
{
    QFETCH(int, bank);
    QFETCH(int, clicked);
    QFETCH(QList<int>, keys);
    QFETCH(int, current);
    QFETCH(QList<int>, selection);
    ListDesk desk;
    frmVoiceList* w = desk.open("KEYS.dat", 0, 70);
    focusList(desk, w);
    long shown = bank;
    w->UpdateListBox(shown);
    if (clicked > 0) {
        ListDesk::click(w, clicked);
        ListDesk::mouse(w, QEvent::MouseButtonRelease, clicked);
    }
    for (int k : keys)
        press(desk, std::abs(k), k < 0 ? Qt::ShiftModifier : Qt::NoModifier);

    const std::vector<long> expected(selection.begin(), selection.end());
    QCOMPARE(w->view().currentVoice, static_cast<long>(current));
    QCOMPARE(selected(w), expected);
    const long expectedBank = (current - 1) / 32 + 1;
    QCOMPARE(w->view().bank, expectedBank);
    QCOMPARE(w->HScroll1()->value(), static_cast<int>(expectedBank));
    QCOMPARE(drawn(w), onBank(expected, expectedBank));
    // The current voice is the list's current item.
    const int index = (current - 1) % 32;
    QCOMPARE(w->List1()->currentIndex().row(), index % 16);
    QCOMPARE(w->List1()->currentIndex().column(), index / 16);
}

void ListKeysUndoTest::enterF2AndSpace()
{
    ListDesk desk;
    CountingSynth synth;
    desk.session.setSynth(&synth);
    frmVoiceList* w = desk.open("OPEN.dat", 0, 40);
    focusList(desk, w);
    ListDesk::click(w, 4);
    ListDesk::mouse(w, QEvent::MouseButtonRelease, 4);
    const std::size_t sentByClick = synth.voices.size();
    QCOMPARE(sentByClick, std::size_t(1));

    press(desk, Qt::Key_Down);
    press(desk, Qt::Key_Space);
    QCOMPARE(synth.voices.size(), sentByClick + 1);
    // Voice 5 as the click sends it: its name ends the unpacked voice.
    QCOMPARE(synth.voices.back().substr(145), std::string("VOICE5    "));

    press(desk, Qt::Key_Return);
    QVERIFY(w->recordsetWindow(5));
    QCOMPARE(w->list().Editors.count(), 1L);

    focusList(desk, w);
    press(desk, Qt::Key_Down);
    press(desk, Qt::Key_F2);
    QVERIFY(w->Text1()->isVisible());
    QCOMPARE(w->Text1()->text(), QStringLiteral("VOICE6    "));
    QTest::keyClicks(w->Text1(), QStringLiteral("KEYED"));
    QTest::keyClick(w->Text1(), Qt::Key_Return);
    QCOMPARE(ListDesk::nameAt(w->list(), 6), std::string("KEYED     "));
    desk.session.setSynth(nullptr);
}

void ListKeysUndoTest::undoAndRedoOfEdits_data()
{
    QTest::addColumn<QString>("edit");
    for (const char* edit : {"paste", "delete", "cut", "sort", "rename", "drag move", "drag copy with ctrl",
                             "drag move within"})
        QTest::newRow(edit) << QString::fromLatin1(edit);
}

// Each edit by its gesture, then Ctrl+Z and Ctrl+Y (or Alt+Backspace): the
// voices come back byte for byte, and with them the unsaved mark.
void ListKeysUndoTest::undoAndRedoOfEdits()
{
    QFETCH(QString, edit);
    ListDesk desk;
    frmVoiceList* source = desk.open("SRC.dat", 0, 10, "SRC");
    frmVoiceList* target = desk.open("DST.dat", 0, 40, "DST");
    const ByteArray sourceBefore = source->list().image();
    const ByteArray targetBefore = target->list().image();
    QVERIFY(!target->isWindowModified());
    QVERIFY(!desk.main.action(MainCommand::EditUndo)->isEnabled());

    const auto run = [&](MainCommand c) { desk.main.action(c)->trigger(); };
    bool sourceChanges = false;
    focusList(desk, target);
    if (edit == QLatin1String("paste")) {
        focusList(desk, source);
        ListDesk::click(source, 2);
        ListDesk::click(source, 4, Qt::ShiftModifier);
        run(MainCommand::EditCopy);
        focusList(desk, target);
        ListDesk::click(target, 7);
        run(MainCommand::EditPaste);
        QCOMPARE(target->list().voiceCount(), 43L);
    } else if (edit == QLatin1String("delete") || edit == QLatin1String("cut")) {
        ListDesk::click(target, 3);
        ListDesk::click(target, 30, Qt::ShiftModifier);
        run(edit == QLatin1String("cut") ? MainCommand::EditCut : MainCommand::EditDelete);
        QCOMPARE(target->list().voiceCount(), 12L);
    } else if (edit == QLatin1String("sort")) {
        run(MainCommand::EditSort); // DST1, DST10, DST11 ... DST2 ...
        QCOMPARE(ListDesk::nameAt(target->list(), 2), std::string("DST10     "));
    } else if (edit == QLatin1String("rename")) {
        ListDesk::click(target, 8);
        ListDesk::mouse(target, QEvent::MouseButtonRelease, 8);
        press(desk, Qt::Key_F2);
        QTest::keyClicks(target->Text1(), QStringLiteral("RENAMED"));
        QTest::keyClick(target->Text1(), Qt::Key_Return);
        QCOMPARE(ListDesk::nameAt(target->list(), 8), std::string("RENAMED   "));
    } else if (edit.startsWith(QLatin1String("drag move within"))) {
        ListDesk::click(target, 2);
        ListDesk::click(target, 3, Qt::ControlModifier);
        QVERIFY(ListDesk::drop(target, target, 10));
        QCOMPARE(ListDesk::nameAt(target->list(), 8), std::string("DST2      "));
    } else {
        const bool copy = edit.contains(QLatin1String("ctrl"));
        sourceChanges = !copy;
        ListDesk::click(source, 1);
        ListDesk::click(source, 9, Qt::ControlModifier);
        QVERIFY(ListDesk::drop(source, target, 5, copy ? Qt::ControlModifier : Qt::NoModifier));
        QCOMPARE(target->list().voiceCount(), 42L);
        QCOMPARE(source->list().voiceCount(), copy ? 10L : 8L);
    }
    const ByteArray targetAfter = target->list().image();
    QVERIFY(targetAfter != targetBefore);
    QVERIFY(target->isWindowModified());
    QVERIFY(target->parentWidget()->isWindowModified());

    focusList(desk, target);
    QVERIFY(desk.main.action(MainCommand::EditUndo)->isEnabled());
    QVERIFY(!desk.main.action(MainCommand::EditRedo)->isEnabled());
    press(desk, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(target->list().image(), targetBefore);
    QVERIFY(!target->isWindowModified());
    QCOMPARE(target->Label1()->text(), QStringLiteral("Bank 1 of 2"));
    QVERIFY(desk.main.action(MainCommand::EditRedo)->isEnabled());

    press(desk, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(target->list().image(), targetAfter);
    QVERIFY(target->isWindowModified());
    press(desk, Qt::Key_Backspace, Qt::AltModifier);
    QCOMPARE(target->list().image(), targetBefore);

    // A move between lists is a step in each: the source's own Undo gives its voices back.
    QCOMPARE(source->list().image() != sourceBefore, sourceChanges);
    if (sourceChanges) {
        focusList(desk, source);
        QVERIFY(desk.main.action(MainCommand::EditUndo)->isEnabled());
        press(desk, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(source->list().image(), sourceBefore);
        QVERIFY(!source->isWindowModified());
    }
}

void ListKeysUndoTest::selectAllAndUndoEnabling()
{
    ListDesk desk;
    frmVoiceList* w = desk.open("ALL.dat", 0, 40);
    focusList(desk, w);
    QVERIFY(desk.main.action(MainCommand::EditSelectAll)->isEnabled());
    press(desk, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w->list().tracker.TotalSelections(), 40);
    QCOMPARE(w->selectedItems().size(), std::size_t(32));
    QVERIFY(desk.main.action(MainCommand::EditDelete)->isEnabled());
    press(desk, Qt::Key_Delete);
    QCOMPARE(w->list().voiceCount(), 0L);
    QCOMPARE(w->Label1()->text(), QStringLiteral("File is empty"));
    QVERIFY(!desk.main.action(MainCommand::EditSelectAll)->isEnabled());
    press(desk, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w->list().voiceCount(), 40L);
    QCOMPARE(ListDesk::nameAt(w->list(), 40), std::string("VOICE40   "));
    // The deleted voices come back selected, as they were.
    QCOMPARE(w->list().tracker.TotalSelections(), 40);
    QVERIFY(!desk.main.action(MainCommand::EditUndo)->isEnabled());
}

void ListKeysUndoTest::foundVoiceIsSelected()
{
    ListDesk desk;
    frmVoiceList* w = desk.open("FIND.dat", 0, 70);
    ListDesk::click(w, 2);
    desk.activate(w);
    desk.main.runCommand(MainCommand::EditFind);
    toneloft::frmFind& find = desk.lists.findWindow();
    find.Combo1()->setCurrentIndex(0); // All
    find.Text1()->setText(QStringLiteral("VOICE67"));
    QTest::mouseClick(find.Command1(0), Qt::LeftButton);
    QCOMPARE(w->view().currentVoice, 67L);
    QCOMPARE(selected(w), std::vector<long>{67});
    QCOMPARE(w->Label1()->text(), QStringLiteral("Bank 3 of 3"));
    QCOMPARE(drawn(w), std::vector<long>{67});
    QCOMPARE(w->List1()->currentIndex().row(), 2);
    // The found voice is what Cut and Copy now act on.
    QVERIFY(desk.main.action(MainCommand::EditCopy)->isEnabled());
}

void ListKeysUndoTest::sortKeepsTheSelectedVoices()
{
    ListDesk desk;
    frmVoiceList* w = desk.open("SORT.dat", 0, 40);
    focusList(desk, w);
    // VOICE2 and VOICE10 sort to 12 and 2 (VOICE1, VOICE10 ... VOICE19, VOICE2 ...).
    ListDesk::click(w, 2);
    ListDesk::click(w, 10, Qt::ControlModifier);
    desk.main.action(MainCommand::EditSort)->trigger();
    QCOMPARE(selected(w), (std::vector<long>{2, 12}));
    QCOMPARE(ListDesk::nameAt(w->list(), 2), std::string("VOICE10   "));
    QCOMPARE(ListDesk::nameAt(w->list(), 12), std::string("VOICE2    "));
    QCOMPARE(drawn(w), (std::vector<long>{2, 12}));
}

void ListKeysUndoTest::slotNumbersFollowThePreference()
{
    QCOMPARE(QString::fromStdString(toneloft::slotLabel(17, toneloft::SlotNumbering::Numbers)), QStringLiteral("17"));
    ListDesk desk;
    frmVoiceList* w = desk.open("SLOTS.dat", 0, 40);
    auto* delegate = qobject_cast<toneloft::VoiceSlotDelegate*>(w->List1()->itemDelegate());
    QVERIFY(delegate);
    QCOMPARE(delegate->numbering(), toneloft::SlotNumbering::Numbers);
    QSettings().setValue(QString::fromLatin1(frmVoiceList::kSlotNumberingKey), QStringLiteral("A/B"));
    w->redraw();
    QCOMPARE(delegate->numbering(), toneloft::SlotNumbering::Halves);
    QSettings().remove(QString::fromLatin1(frmVoiceList::kSlotNumberingKey));
    w->redraw();
    QCOMPARE(delegate->numbering(), toneloft::SlotNumbering::Numbers);
    // The names themselves stay the item texts; the bank stays in the caption.
    QCOMPARE(w->List1()->item(0, 1)->text(), QStringLiteral("VOICE17   "));
    QCOMPARE(w->Label1()->text(), QStringLiteral("Bank 1 of 2"));
}

void ListKeysUndoTest::windowGrowsWithItsFrame()
{
    ListDesk desk;
    frmVoiceList* w = desk.open("BIG.dat", 0, 40);
    auto* frame = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    QVERIFY(frame);
    frame->resize(frame->minimumSizeHint());
    QApplication::processEvents();
    const int smallFont = QFontInfo(w->List1()->font()).pixelSize();
    // In the smallest frame all 16 rows and both columns of number and name show.
    const auto fits = [w] {
        const QFontMetrics metrics(w->List1()->font());
        const QWidget* viewport = w->List1()->viewport();
        return 16 * w->itemHeight() <= viewport->height() &&
               2 * metrics.horizontalAdvance(QStringLiteral("B16 VOICE40   ")) <= viewport->width();
    };
    QVERIFY(fits());
    frame->resize(frame->width() * 2, frame->height() * 2);
    QApplication::processEvents();
    QVERIFY(QFontInfo(w->List1()->font()).pixelSize() > smallFont);
    QVERIFY(fits());
    // Voices are still found where they are drawn.
    QCOMPARE(w->voiceAt(w->pointOfVoice(31)), 31L);

    // The caption that opens the properties reads as a link.
    QCOMPARE(w->Label1()->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(w->Label1()->font().underline());
    QVERIFY(w->windowTitle().endsWith(QStringLiteral("[*]")));
}

TONELOFT_GUI_TEST(ListKeysUndoTest);
#include "ListKeysUndoTest.moc"
