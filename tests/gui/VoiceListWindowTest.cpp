#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "library/ui/frmVoiceList.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceList.h"
#include "voice/VoiceStore.h"
#include "voice/ui/frmVoiceRecordset.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

using toneloft::frmVoiceList;
using toneloft::MsgResult;
using toneloft::test::ListDesk;
using toneloft::test::ScriptedUi;

// One voice list window: banks, captions, keys, the mouse rules, rename and the editor stand-in.
class VoiceListWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void banksAndCaptions_data();
    void banksAndCaptions();
    void pagingKeys_data();
    void pagingKeys();
    void clickRule_data();
    void clickRule();
    void renameInPlace_data();
    void renameInPlace();
    void doubleClickOpensTheVoiceInsteadOfRenaming();
    void propertiesPanelToggles();
};

namespace {

QString itemText(frmVoiceList* w, int index)
{
    const QTableWidgetItem* item = w->List1()->item(index % frmVoiceList::kRows, index / frmVoiceList::kRows);
    return item ? item->text() : QString();
}

int itemCount(frmVoiceList* w)
{
    int n = 0;
    for (int i = 0; i < 32; ++i)
        n += itemText(w, i).isEmpty() ? 0 : 1;
    return n;
}

void key(QWidget* target, int k, Qt::KeyboardModifiers modifiers = {})
{
    QKeyEvent press(QEvent::KeyPress, k, modifiers);
    QApplication::sendEvent(target, &press);
}

} // namespace

void VoiceListWindowTest::banksAndCaptions_data()
{
    QTest::addColumn<int>("voices");
    QTest::addColumn<int>("bank");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("scrollEnabled");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("first");

    QTest::newRow("33 voices, bank 2") << 33 << 2 << "SET [ 33 patches ][*]" << "Bank 2 of 2" << true << 1 << "VOICE33   ";
    QTest::newRow("one voice") << 1 << 1 << "SET [ 1 patch ][*]" << "Bank 1 of 1" << false << 1 << "VOICE1    ";
    QTest::newRow("bank 5 of 3") << 70 << 5 << "SET [ 70 patches ][*]" << "Bank 3 of 3" << true << 6 << "VOICE65   ";
    QTest::newRow("full bank") << 32 << 1 << "SET [ 32 patches ][*]" << "Bank 1 of 1" << false << 32 << "VOICE1    ";
}

void VoiceListWindowTest::banksAndCaptions()
{
    QFETCH(int, voices);
    QFETCH(int, bank);
    ListDesk desk;
    frmVoiceList* w = desk.open("SET.dat", 0, voices);
    QVERIFY(w);
    long shown = bank;
    w->UpdateListBox(shown);

    QTEST(w->windowTitle(), "caption");
    QTEST(w->parentWidget()->windowTitle(), "caption");
    QTEST(w->Label1()->text(), "label");
    QTEST(w->HScroll1()->isEnabled(), "scrollEnabled");
    QTEST(itemCount(w), "shown");
    QTEST(itemText(w, 0), "first");
    QCOMPARE(w->HScroll1()->value(), static_cast<int>(shown));
    QCOMPARE(w->HScroll1()->maximum(), (voices + 31) / 32);
}

void VoiceListWindowTest::pagingKeys_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");

    QTest::newRow("page down") << 1 << int(Qt::Key_PageDown) << 2;
    QTest::newRow("page down on the last") << 3 << int(Qt::Key_PageDown) << 3;
    QTest::newRow("page up") << 3 << int(Qt::Key_PageUp) << 2;
    QTest::newRow("page up on the first") << 1 << int(Qt::Key_PageUp) << 1;
}

void VoiceListWindowTest::pagingKeys()
{
    QFETCH(int, from);
    QFETCH(int, key);
    ListDesk desk;
    frmVoiceList* w = desk.open("KEYS.dat", 0, 70);
    long bank = from;
    w->UpdateListBox(bank, false, 5);
    QVERIFY(w->List1()->currentIndex().isValid());

    ::key(w->List1(), key);

    QTEST(static_cast<int>(w->view().bank), "to");
    QTEST(w->HScroll1()->value(), "to");
    // Paging leaves no current item (the arrows, Home and End move the current voice).
    QVERIFY(!w->List1()->currentIndex().isValid());
}

void VoiceListWindowTest::clickRule_data()
{
    QTest::addColumn<QList<int>>("voices");
    QTest::addColumn<QList<int>>("modifiers"); // 0 plain, 1 Shift, 2 Ctrl
    QTest::addColumn<QList<int>>("selected");

    QTest::newRow("plain") << QList<int>{3, 7} << QList<int>{0, 0} << QList<int>{7};
    QTest::newRow("ctrl adds") << QList<int>{3, 7} << QList<int>{0, 2} << QList<int>{3, 7};
    QTest::newRow("ctrl toggles off") << QList<int>{3, 5, 3} << QList<int>{0, 2, 2} << QList<int>{5};
    QTest::newRow("shift selects exactly the range")
        << QList<int>{2, 20, 9, 5} << QList<int>{0, 2, 2, 1} << QList<int>{5, 6, 7, 8, 9};
    QTest::newRow("shift backwards across columns") << QList<int>{18, 14} << QList<int>{0, 1} << QList<int>{14, 15, 16, 17, 18};
    QTest::newRow("plain click keeps a multi-selection")
        << QList<int>{2, 4, 3} << QList<int>{0, 1, 0} << QList<int>{2, 3, 4};
}

void VoiceListWindowTest::clickRule()
{
    QFETCH(QList<int>, voices);
    QFETCH(QList<int>, modifiers);
    QFETCH(QList<int>, selected);
    ListDesk desk;
    frmVoiceList* w = desk.open("CLICK.dat", 0, 32);
    for (qsizetype i = 0; i < voices.size(); ++i) {
        const Qt::KeyboardModifiers m = modifiers[i] == 1 ? Qt::ShiftModifier
                                        : modifiers[i] == 2 ? Qt::ControlModifier
                                                            : Qt::NoModifier;
        ListDesk::click(w, voices[i], m);
    }
    std::vector<int> drawn;
    std::vector<long> tracked = w->list().tracker.selected();
    for (int i : w->selectedItems())
        drawn.push_back(i + 1);
    const std::vector<int> expected(selected.begin(), selected.end());
    QCOMPARE(drawn, expected);
    QCOMPARE(std::vector<long>(expected.begin(), expected.end()), tracked);
    QCOMPARE(w->list().tracker.TotalSelections(), static_cast<std::int32_t>(expected.size()));
    QVERIFY(desk.main.action(toneloft::MainCommand::EditCut)->isEnabled());
    QVERIFY(desk.main.toolButtonAt(7)->isEnabled()); // Copy
}

void VoiceListWindowTest::renameInPlace_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("boxOpen");
    QTest::addColumn<int>("selections");
    QTest::addColumn<int>("bank");

    QTest::newRow("enter") << "NEWNAME" << QList<int>{Qt::Key_Return} << "NEWNAME   " << false << 1 << 1;
    QTest::newRow("escape after typing") << "NEWNAME" << QList<int>{Qt::Key_Escape} << "VOICE4    " << true << 1
                                         << 1;
    QTest::newRow("second escape") << "NEWNAME" << QList<int>{Qt::Key_Escape, Qt::Key_Escape} << "VOICE4    "
                                   << false << 0 << 1;
    QTest::newRow("shift page down commits") << "PAGED" << QList<int>{-Qt::Key_PageDown} << "PAGED     "
                                             << false << 1 << 2;
    // Without Shift the keys belong to the box: the list neither pages nor drops the edit.
    QTest::newRow("page down alone stays in the box")
        << "TYPED" << QList<int>{Qt::Key_PageDown, Qt::Key_Down, Qt::Key_PageUp} << "VOICE4    " << true << 1 << 1;
}

void VoiceListWindowTest::renameInPlace()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, keys);
    ListDesk desk;
    frmVoiceList* w = desk.open("NAMES.dat", 0, 40);
    // A second slow click on the same voice starts the rename once a second has passed.
    ListDesk::click(w, 4);
    ListDesk::mouse(w, QEvent::MouseButtonRelease, 4);
    QVERIFY(!w->Text1()->isVisible());
    ListDesk::click(w, 4);
    const std::int64_t before = desk.ui.now;
    ListDesk::mouse(w, QEvent::MouseButtonRelease, 4);
    QCOMPARE(desk.ui.now - before, 1000);
    QVERIFY(w->Text1()->isVisible());
    QCOMPARE(w->Text1()->text(), QStringLiteral("VOICE4    "));
    QVERIFY(w->renameInProgress());

    w->Text1()->setText(typed);
    for (int k : keys)
        key(w->Text1(), std::abs(k), k < 0 ? Qt::ShiftModifier : Qt::NoModifier);

    QTEST(QString::fromStdString(ListDesk::nameAt(w->list(), 4)), "stored");
    QTEST(w->Text1()->isVisible(), "boxOpen");
    QTEST(static_cast<int>(w->list().tracker.TotalSelections()), "selections");
    QTEST(static_cast<int>(w->view().bank), "bank");
    if (w->Text1()->isVisible() && keys.size() > 1 && keys.first() != Qt::Key_Escape)
        QCOMPARE(w->Text1()->text(), typed);
}

void VoiceListWindowTest::doubleClickOpensTheVoiceInsteadOfRenaming()
{
    ListDesk desk;
    frmVoiceList* w = desk.open("DBL.dat", 0, 8);
    ListDesk::click(w, 6);
    ListDesk::mouse(w, QEvent::MouseButtonRelease, 6);
    ListDesk::click(w, 6);
    // The double-click arrives while the release waits for it.
    bool sent = false;
    desk.ui.onEvents = [&](ScriptedUi& ui) {
        if (!sent && ui.now > 300) {
            sent = true;
            ListDesk::mouse(w, QEvent::MouseButtonDblClick, 6);
        }
    };
    ListDesk::mouse(w, QEvent::MouseButtonRelease, 6);
    desk.ui.onEvents = nullptr;
    QVERIFY(sent);
    QVERIFY(!w->Text1()->isVisible());
    // The double-click's own release, after the wait: no second wait, no rename.
    const std::int64_t released = desk.ui.now;
    ListDesk::mouse(w, QEvent::MouseButtonRelease, 6);
    QCOMPARE(desk.ui.now, released);
    QVERIFY(!w->Text1()->isVisible());
    QVERIFY(!w->renameInProgress());
    toneloft::frmVoiceRecordset* data = w->recordsetWindow(6);
    QVERIFY(data);
    QVERIFY(data->bound());
    QCOMPARE(data->windowTitle(), QStringLiteral("Voice Data Recordset"));
    QCOMPARE(data->dGrid1()->model()->rowCount(), 155);
    QCOMPARE(w->list().Editors.count(), 1L);
    QCOMPARE(w->list().Recordsets.count(), 1L);
    QVERIFY(desk.ui.sawStatus("Loading Voice Editor - Please Wait  "));

    // A second opening asks whether to reset.
    desk.ui.answers.push_back(MsgResult::No);
    w->LoadVoice(6);
    QCOMPARE(QString::fromStdString(desk.ui.lastBox().text),
             QStringLiteral("You already have an editor open for this voice, do you want to reset this to the saved version ?"));
    QCOMPARE(w->list().Editors.count(), 1L);

    // Yes reloads the saved version: the same window shows the new tables and
    // the editor stores from them, not from the tables that were replaced.
    desk.ui.answers.push_back(MsgResult::Yes);
    w->LoadVoice(6);
    QCOMPARE(w->recordsetWindow(6), data);
    QVERIFY(data->bound());
    QCOMPARE(data->dGrid1()->model()->rowCount(), 155);
    const auto editor = w->list().Editors.Item(toneloft::VoiceList::editorKey(6));
    QVERIFY(editor);
    QVERIFY(toneloft::SaveVoice(desk.session, false, editor.get()));
    QCOMPARE(w->list().Editors.count(), 1L);

    // Closing the window ends the editor's bookkeeping.
    qobject_cast<QMdiSubWindow*>(data->parentWidget())->close();
    QCOMPARE(w->list().Editors.count(), 0L);
    QCOMPARE(w->list().Recordsets.count(), 0L);
}

void VoiceListWindowTest::propertiesPanelToggles()
{
    ListDesk desk;
    frmVoiceList* w = desk.open("PROPS.syx", 3, 40);
    QWidget* frame = w->parentWidget();
    const int height = frame->height();
    QVERIFY(!w->propertiesShown());
    QTest::mouseClick(w->Label1(), Qt::LeftButton);
    QVERIFY(w->propertiesShown());
    QVERIFY(w->Frame2()->isVisible());
    QCOMPARE(frame->height(), height * 3 / 2);
    QCOMPARE(w->Label2(1)->text(), QStringLiteral("PROPS.syx"));
    QCOMPARE(w->Label2(2)->text(), QStringLiteral("Data is packed.Banks have sysex headers"));
    QCOMPARE(w->Label2(3)->text(), QStringLiteral("5,136 bytes")); // 128 x 40 + 8 x 2
    QCOMPARE(w->Label2(4)->text(), QStringLiteral("40"));
    QCOMPARE(w->Label2(5)->text(), QStringLiteral("2"));
    QTest::mouseClick(w->Label1(), Qt::LeftButton);
    QVERIFY(!w->Frame2()->isVisible());
    QCOMPARE(frame->height(), height * 3 / 2 * 2 / 3);
}

TONELOFT_GUI_TEST(VoiceListWindowTest);
#include "VoiceListWindowTest.moc"
