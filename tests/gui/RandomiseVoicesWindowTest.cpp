#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "editor/RandomiseVoices.h"
#include "editor/ui/RandomiseVoicesHost.h"
#include "editor/ui/frmAlgorithms.h"
#include "editor/ui/frmRandomiseVoices.h"
#include "library/VoiceAudition.h"
#include "midi/MidiSession.h"
#include "midi/ScriptedDialogs.h"
#include "midi/VirtualDx7Backend.h"
#include "midi/ui/MidiWindows.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

using toneloft::MainCommand;
using toneloft::frmRandomiseVoices;
using toneloft::test::ListDesk;

namespace {

// The main window with its lists and the patch generator, data in a folder of its own.
struct GeneratorDesk : ListDesk {
    toneloft::RandomiseVoicesHost generator{session, main, lists, 77};

    GeneratorDesk()
    {
        std::filesystem::create_directories(dir.path() / "data");
        session.setDataDirectory(dir.folder() + "data");
    }

    frmRandomiseVoices& window()
    {
        main.runCommand(MainCommand::ToolsPatchGenerator);
        return generator.window();
    }
    static void tick(frmRandomiseVoices& w, const std::string& key, bool on = true)
    {
        QTreeWidgetItem* item = w.itemOf(key);
        QVERIFY2(item, key.c_str());
        item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    }
    static bool ticked(frmRandomiseVoices& w, const std::string& key)
    {
        QTreeWidgetItem* item = w.itemOf(key);
        return item && item->checkState(0) == Qt::Checked;
    }
    static QString textOf(frmRandomiseVoices& w, const std::string& key)
    {
        QTreeWidgetItem* item = w.itemOf(key);
        return item ? item->text(0) : QString();
    }
    std::shared_ptr<toneloft::VoiceList> patchList() { return generator.core().patchList(); }

    // First.syx open, the window shown, and voice n of the list clicked and ticked.
    frmRandomiseVoices* withVoice(long n)
    {
        first = open("First.syx", 3, 32, "FIRST");
        if (!first)
            return nullptr;
        frmRandomiseVoices& w = window();
        ListDesk::click(first, n);
        tick(w, "L0001:" + std::to_string(n));
        return &w;
    }
    toneloft::frmVoiceList* first = nullptr;
};

// With MIDI on the virtual DX7; its input is handled whenever the scripted loop turns.
struct MidiGeneratorDesk : GeneratorDesk {
    toneloft::VirtualDx7Backend dx7{[this] { return ui.now; }};
    toneloft::test::ScriptedDialogs dialogs;
    toneloft::MidiWindows windows{main};
    toneloft::MidiSession midi{session, dx7, dialogs, &windows};
    std::function<void()> onTurn;

    MidiGeneratorDesk()
    {
        windows.attach(midi);
        ui.onEvents = [this](toneloft::test::ScriptedUi&) {
            midi.devices().dispatchInput();
            if (onTurn)
                onTurn();
        };
    }
    ~MidiGeneratorDesk() { ui.onEvents = nullptr; }
};

} // namespace

// The Patch Generator window: its tree in step with the lists, its controls, and
// the voices it makes, stores, opens and sends.
class RandomiseVoicesWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theMenuShowsTheTreeOfOpenFiles();
    void clickedVoicesJoinTheTree();
    void theLabelAndTheBaseFollowTheTicks();
    void typedVariance_data();
    void typedVariance();
    void startFillsPatchGenAndShowsItsLastBank();
    void loadOnCreationOpensTheVoice();
    void continuousRunSendsEachVoiceUntilStop();
    void closingHidesAndKeepsTheTree();
};

void RandomiseVoicesWindowTest::theMenuShowsTheTreeOfOpenFiles()
{
    GeneratorDesk desk;
    QVERIFY(!desk.main.action(MainCommand::ToolsPatchGenerator)->isEnabled());
    QVERIFY(desk.open("First.syx", 3, 32, "FIRST"));
    QVERIFY(desk.open("Second.dat", 0, 5, "SECOND"));
    QVERIFY(desk.main.action(MainCommand::ToolsPatchGenerator)->isEnabled());
    desk.main.action(MainCommand::ToolsPatchGenerator)->trigger();
    frmRandomiseVoices& w = desk.generator.window();
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), QStringLiteral("Patch Generator"));
    QTreeWidget* tree = w.TreeView1();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    QCOMPARE(root->text(0), QStringLiteral("Files"));
    QCOMPARE(root->childCount(), 2);
    QCOMPARE(root->child(0)->text(0), QStringLiteral("First.syx"));
    QCOMPARE(root->child(1)->text(0), QStringLiteral("Second.dat"));
    // Nothing ticked: nothing to start.
    QVERIFY(!w.Command1()->isEnabled());
    QVERIFY(!w.Text1()->isEnabled());
    QVERIFY(!w.UpDown1()->isEnabled());
    QVERIFY(!w.Label2()->isEnabled());
    QVERIFY(!w.Check1(0)->isEnabled());
    QVERIFY(!w.Check1(1)->isEnabled());
    QCOMPARE(w.MaskEdBox1()->text(), QStringLiteral("RandVc"));
}

void RandomiseVoicesWindowTest::clickedVoicesJoinTheTree()
{
    GeneratorDesk desk;
    toneloft::frmVoiceList* list = desk.open("First.syx", 3, 32, "FIRST");
    QVERIFY(list);
    frmRandomiseVoices& w = desk.window();
    ListDesk::click(list, 4);
    ListDesk::click(list, 6, Qt::ControlModifier);
    QCOMPARE(GeneratorDesk::textOf(w, "L0001:4"), QStringLiteral("4 FIRST4     (Alg 1)"));
    QVERIFY(w.itemOf("L0001:6"));
    QTreeWidgetItem* voice = w.itemOf("L0001:4");
    QCOMPARE(voice->childCount(), 2);
    QCOMPARE(voice->child(0)->text(0), QStringLiteral("Operator"));
    QCOMPARE(voice->child(0)->childCount(), 6);
    QCOMPARE(voice->child(0)->child(2)->child(2)->text(0), QStringLiteral("EG Level Scaling"));
    QCOMPARE(voice->child(1)->child(6)->text(0), QStringLiteral("Transpose"));

    // A click on a voice node makes that voice the list's current item (which
    // voices the tree holds as the selection changes: the core's
    // TheTreeFollowsTheListsAndTheirSelections).
    list->showVoice(1);
    QCOMPARE(list->List1()->currentIndex().row(), 0);
    QTreeWidgetItem* sixth = w.itemOf("L0001:6");
    w.TreeView1()->scrollToItem(sixth);
    QTest::mouseClick(w.TreeView1()->viewport(), Qt::LeftButton, {},
                      w.TreeView1()->visualItemRect(sixth).center());
    QCOMPARE(list->List1()->currentIndex().row(), 5);
    QCOMPARE(list->List1()->currentIndex().column(), 0);
    // ... and shows its algorithm, "(Alg 1)", in the Algorithms window, which
    // goes when the patch generator closes.
    QVERIFY(toneloft::frmAlgorithms::instance());
    QCOMPARE(toneloft::frmAlgorithms::instance()->Frame1()->title(), QStringLiteral("Alg1"));
    w.close();
    QVERIFY(!toneloft::frmAlgorithms::instance());
}

void RandomiseVoicesWindowTest::theLabelAndTheBaseFollowTheTicks()
{
    GeneratorDesk desk;
    toneloft::frmVoiceList* list = desk.open("First.syx", 3, 32, "FIRST");
    QVERIFY(list);
    frmRandomiseVoices& w = desk.window();
    ListDesk::click(list, 2);
    ListDesk::click(list, 5, Qt::ControlModifier);

    GeneratorDesk::tick(w, "L0001:5");
    QCOMPARE(w.Label2()->text(), QStringLiteral("&Single Patch Variance"));
    QVERIFY(w.Command1()->isEnabled());
    QVERIFY(w.Text1()->isEnabled());
    QVERIFY(!w.Check1(0)->isEnabled()); // off-line: no continuous runs
    QVERIFY(w.Check1(1)->isEnabled());
    QCOMPARE(GeneratorDesk::textOf(w, "L0001:5"), QStringLiteral("5 FIRST5     (Alg 1) BASE"));

    GeneratorDesk::tick(w, "L0001:2");
    QCOMPARE(w.Label2()->text(), QStringLiteral("&Multiple Patch Variance"));
    QCOMPARE(GeneratorDesk::textOf(w, "L0001:2"), QStringLiteral("2 FIRST2     (Alg 1) BASE"));
    QCOMPARE(GeneratorDesk::textOf(w, "L0001:5"), QStringLiteral("5 FIRST5     (Alg 1)"));
    QVERIFY(GeneratorDesk::ticked(w, "L0001")); // both voices ticked
    QVERIFY(GeneratorDesk::ticked(w, "grp20:L0001:2"));

    GeneratorDesk::tick(w, "L0001", false);
    QVERIFY(!w.Command1()->isEnabled());
    QVERIFY(!GeneratorDesk::ticked(w, "grp20:L0001:5"));
    QCOMPARE(GeneratorDesk::textOf(w, "L0001:2"), QStringLiteral("2 FIRST2     (Alg 1)"));
}

void RandomiseVoicesWindowTest::typedVariance_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("spin");
    QTest::newRow("150 is ignored") << QStringLiteral("150") << 50;
    QTest::newRow("75 is taken") << QStringLiteral("75") << 75;
    QTest::newRow("100 is taken") << QStringLiteral("100") << 100;
}

void RandomiseVoicesWindowTest::typedVariance()
{
    QFETCH(QString, typed);
    QFETCH(int, spin);
    GeneratorDesk desk;
    frmRandomiseVoices* generator = desk.withVoice(1);
    QVERIFY(generator);
    frmRandomiseVoices& w = *generator;
    QCOMPARE(w.UpDown1()->value(), 50);
    w.Text1()->selectAll();
    QTest::keyClick(w.Text1(), Qt::Key_Backspace);
    QTest::keyClicks(w.Text1(), typed);
    QCOMPARE(w.UpDown1()->value(), 50); // nothing counts before the entry is finished
    QTest::keyClick(w.Text1(), Qt::Key_Return);
    QCOMPARE(w.Text1()->text(), typed);
    QCOMPARE(w.UpDown1()->value(), spin);
    QCOMPARE(desk.generator.core().variance(), spin);
    // The spin's arrows write their value into the box.
    w.UpDown1()->stepUp();
    QCOMPARE(w.Text1()->text(), QString::number(std::min(spin + 1, 100)));
}

void RandomiseVoicesWindowTest::startFillsPatchGenAndShowsItsLastBank()
{
    GeneratorDesk desk;
    frmRandomiseVoices* generator = desk.withVoice(7);
    QVERIFY(generator);
    frmRandomiseVoices& w = *generator;
    QTest::mouseClick(w.Command1(), Qt::LeftButton);

    const std::string file = desk.session.DataDirectory() + "PatchGen.dat";
    QVERIFY(std::filesystem::exists(file));
    auto patch = desk.patchList();
    QVERIFY(patch);
    QCOMPARE(patch->voiceCount(), 1L);
    toneloft::frmVoiceList* patchWindow = desk.lists.windowOf(*patch);
    QVERIFY(patchWindow);
    QCOMPARE(w.Command1()->text(), QStringLiteral("Start"));
    QVERIFY(w.Command1()->isEnabled());

    // Enter in the prefix box starts as the button does, with the new prefix.
    w.MaskEdBox1()->selectAll();
    QTest::keyClicks(w.MaskEdBox1(), QStringLiteral("Brass9"));
    QTest::keyClick(w.MaskEdBox1(), Qt::Key_Return);
    QCOMPARE(patch->voiceCount(), 2L);
    QCOMPARE(ListDesk::nameAt(*patch, 2), std::string("Brass9 2  "));

    for (int i = 3; i <= 33; ++i)
        QTest::mouseClick(w.Command1(), Qt::LeftButton);
    QCOMPARE(patch->voiceCount(), 33L);
    QCOMPARE(patchWindow->HScroll1()->value(), 2);
    QCOMPARE(ListDesk::nameAt(*patch, 33), std::string("Brass9 33 "));
    QCOMPARE(std::filesystem::file_size(file), std::uintmax_t{33 * 155});
}

void RandomiseVoicesWindowTest::loadOnCreationOpensTheVoice()
{
    GeneratorDesk desk;
    frmRandomiseVoices* generator = desk.withVoice(7);
    QVERIFY(generator);
    frmRandomiseVoices& w = *generator;
    QTest::mouseClick(w.Check1(1), Qt::LeftButton);
    QVERIFY(w.Check1(1)->isChecked());
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    auto patch = desk.patchList();
    QVERIFY(patch);
    QCOMPARE(patch->Editors.count(), 1L);
}

void RandomiseVoicesWindowTest::continuousRunSendsEachVoiceUntilStop()
{
    MidiGeneratorDesk desk;
    desk.dialogs.testAnswers = {0}; // skip the synthesiser test
    QVERIFY(desk.main.runMidiDevices());
    toneloft::frmVoiceList* list = desk.open("First.syx", 3, 32, "FIRST");
    QVERIFY(list);
    frmRandomiseVoices& w = desk.window();
    ListDesk::click(list, 3);
    ListDesk::click(list, 8, Qt::ControlModifier);
    GeneratorDesk::tick(w, "L0001");

    QVERIFY(w.Check1(0)->isEnabled());
    QTest::mouseClick(w.Check1(1), Qt::LeftButton);
    QTest::mouseClick(w.Check1(0), Qt::LeftButton);
    QVERIFY(w.Check1(0)->isChecked());
    QVERIFY(!w.Check1(1)->isChecked());
    QVERIFY(!w.Check1(1)->isEnabled());

    desk.dx7.instrument().clearApplied();
    auto voicesArrived = [&] {
        long n = 0;
        for (const auto& a : desk.dx7.instrument().applied())
            n += a.kind == toneloft::VirtualDx7::Applied::Kind::Voice ? 1 : 0;
        return n;
    };
    QStringList captions;
    desk.onTurn = [&] {
        if (voicesArrived() > captions.size())
            captions << w.Command1()->text();
        if (voicesArrived() == 3 && w.Command1()->text() == QLatin1String("Stop"))
            QTest::mouseClick(w.Command1(), Qt::LeftButton);
    };
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    desk.onTurn = nullptr;

    QCOMPARE(captions, (QStringList{QStringLiteral("Stop"), QStringLiteral("Stop"), QStringLiteral("Stop")}));
    const auto& applied = desk.dx7.instrument().applied();
    std::vector<std::string> names;
    for (const auto& a : applied)
        if (a.kind == toneloft::VirtualDx7::Applied::Kind::Voice)
            names.push_back(a.text);
    QCOMPARE(names, (std::vector<std::string>{"RandVc 1  ", "RandVc 2  ", "RandVc 3  "}));
    auto patch = desk.patchList();
    QVERIFY(patch);
    QCOMPARE(patch->voiceCount(), 3L);
    // What the synthesiser holds is the last voice stored.
    QCOMPARE(desk.dx7.instrument().editBuffer(), toneloft::VoiceAudition::voiceString(desk.session, *patch, 3));
    QCOMPARE(w.Command1()->text(), QStringLiteral("Start"));
    QVERIFY(w.Command1()->isEnabled());
    QVERIFY(!desk.generator.core().running());
}

void RandomiseVoicesWindowTest::closingHidesAndKeepsTheTree()
{
    GeneratorDesk desk;
    frmRandomiseVoices* generator = desk.withVoice(2);
    QVERIFY(generator);
    frmRandomiseVoices& w = *generator;
    QPointer<frmRandomiseVoices> kept(&w);
    QVERIFY(w.close());
    QVERIFY(kept);
    QVERIFY(!w.isVisible());
    desk.main.runCommand(MainCommand::ToolsPatchGenerator);
    QVERIFY(w.isVisible());
    QVERIFY(GeneratorDesk::ticked(w, "L0001:2"));

    // A screenshot of the window over two files, when asked for.
    if (qEnvironmentVariableIsSet("TONELOFT_SCREENSHOT")) {
        toneloft::frmVoiceList* second = desk.open("Second.dat", 0, 5, "SECOND");
        QVERIFY(second);
        ListDesk::click(second, 4);
        GeneratorDesk::tick(w, "grp37:L0002:4");
        GeneratorDesk::tick(w, "grp40:L0002:4");
        w.itemOf("L0002:4")->setExpanded(true);
        w.itemOf("nonopL0002:4")->setExpanded(true);
        w.itemOf("L0001:2")->setExpanded(true);
        w.resize(560, 640);
        QVERIFY(w.grab().save(qEnvironmentVariable("TONELOFT_SCREENSHOT")));
    }
}

TONELOFT_GUI_TEST(RandomiseVoicesWindowTest);
#include "RandomiseVoicesWindowTest.moc"
