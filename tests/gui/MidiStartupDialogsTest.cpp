#include "FakeClockUi.h"
#include "GuiTestRegistry.h"

#include "common/ui/StatusStrip.h"
#include "midi/Dx7Exchange.h"
#include "midi/FakeMidiBackend.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/MidiStartup.h"
#include "midi/ui/QtMidiStartupDialogs.h"
#include "midi/ui/frmInitialisationMessage.h"
#include "midi/ui/frmMidiConfigure.h"
#include "midi/ui/frmMissingMIDIDevice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

using namespace toneloft;
using toneloft::test::FakeClockUi;
using toneloft::test::FakeMidiBackend;

namespace {

// Answers the modal dialogs that code under test brings up, one action each,
// in order. A modal dialog that comes up when no action is left is closed and
// counted, so a test fails instead of hanging. Polls only while an event loop
// runs, and stops when the script goes out of scope.
class MidiModalScript {
public:
    using Action = std::function<void(QDialog&)>;

    explicit MidiModalScript(std::deque<Action> actions) : m_state(std::make_shared<State>())
    {
        m_state->actions = std::move(actions);
        schedule(m_state);
    }
    ~MidiModalScript() { m_state->stopped = true; }
    MidiModalScript(const MidiModalScript&) = delete;
    MidiModalScript& operator=(const MidiModalScript&) = delete;

    int answered() const { return m_state->answered; }
    int unexpected() const { return m_state->unexpected; }

private:
    struct State {
        std::deque<Action> actions;
        int answered = 0;
        int unexpected = 0;
        bool stopped = false;
    };

    static void schedule(const std::shared_ptr<State>& state)
    {
        QTimer::singleShot(1, [state] { poll(state); });
    }

    static void poll(const std::shared_ptr<State>& state)
    {
        if (state->stopped)
            return;
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            if (!state->actions.empty()) {
                Action action = std::move(state->actions.front());
                state->actions.pop_front();
                ++state->answered;
                action(*dialog);
            } else {
                ++state->unexpected;
                dialog->done(QDialog::Rejected);
            }
        }
        schedule(state);
    }

    std::shared_ptr<State> m_state;
};

QStringList itemsOf(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

// The start-up logic over fake devices, showing the real dialogues.
struct StartupRig {
    FakeClockUi ui;
    StatusStrip strip;
    MidiState state;
    FakeMidiBackend backend;
    MidiDeviceLayer midi{ui, state, backend};
    Dx7Exchange exchange{midi};
    QtMidiStartupDialogs dialogs;
    MidiStartup startup{midi, exchange, dialogs};

    StartupRig()
    {
        ui.setStatusStrip(&strip);
        ui.strip = &strip;
        strip.show();
    }
};

// Status texts as the strip shows them, with the two blanks the status routine adds.
const QString kWelcome = QStringLiteral(" Welcome to Toneloft - Press F1 for Help  ");
const QString kSkipped = QStringLiteral(" Ready - Initialisation skipped   ");

} // namespace

// The three start-up dialogues: the core's texts on screen, the user's answer back to the core.
class MidiStartupDialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyAnInputLeadsThroughAllThreeDialogues();
    void missingDeviceAnswers_data();
    void missingDeviceAnswers();
    void configureOpensOnTheMatchingPairThenTheRememberedOne();
    void configureCancelIsRefusedWhileADeviceIsOpen();
    void testDialogueReturnsTheButtonPressed();
};

void MidiStartupDialogsTest::onlyAnInputLeadsThroughAllThreeDialogues()
{
    StartupRig rig;
    rig.backend.inputs = {"Keys In"};
    MidiModalScript script({
        [](QDialog& d) {
            auto* box = qobject_cast<frmMissingMIDIDevice*>(&d);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("MIDI Device missing"));
            QCOMPARE(box->messageText(),
                     QStringLiteral("You have no MIDI output devices on your system.\n"
                                    "An input and an output device are needed for Toneloft to "
                                    "work properly."));
            QCOMPARE(box->questionText(),
                     QStringLiteral("Do you want to work off-line with no MIDI, choose a MIDI "
                                    "input device anyway, or quit Toneloft ?"));
            QCOMPARE(box->button(0)->text(), QStringLiteral("&Work Off-Line"));
            QCOMPARE(box->button(1)->text(), QStringLiteral("&Choose an Input device"));
            QCOMPARE(box->button(2)->text(), QStringLiteral("&Exit Toneloft"));
            QTest::mouseClick(box->button(1), Qt::LeftButton);
        },
        [](QDialog& d) {
            auto* box = qobject_cast<frmMidiConfigure*>(&d);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(),
                     QStringLiteral("Please select MIDI devices to use with Toneloft"));
            QCOMPARE(itemsOf(box->outputList()), QStringList{QStringLiteral("<None>")});
            QCOMPARE(itemsOf(box->inputList()),
                     (QStringList{QStringLiteral("<None>"), QStringLiteral("Keys In")}));
            QCOMPARE(box->inputList()->currentIndex(), 0);
            box->inputList()->setCurrentIndex(1);
            QTest::mouseClick(box->okButton(), Qt::LeftButton);
        },
        [](QDialog& d) {
            auto* box = qobject_cast<frmInitialisationMessage*>(&d);
            QVERIFY(box);
            QStringList labels;
            for (const QLabel* l : box->findChildren<QLabel*>())
                labels << l->text();
            QVERIFY(labels.contains(
                QStringLiteral("Toneloft can test that your PC and synth are properly connected")));
            QVERIFY(labels.contains(QStringLiteral("and can get your current voice list")));
            QVERIFY(box->findChild<QPlainTextEdit*>()->isReadOnly());
            QCOMPARE(box->testText(), QtUiServices::toDisplayText(MidiStartup::testText()));
            QTest::mouseClick(box->button(0), Qt::LeftButton);
        },
    });

    QCOMPARE(rig.startup.InitialiseMidi(), 0);
    QCOMPARE(script.answered(), 3);
    QCOMPARE(script.unexpected(), 0);
    // Skip: the chosen input is open and untested.
    QCOMPARE(rig.startup.InputDeviceID(), 0);
    QCOMPARE(rig.startup.OutputDeviceID(), -2);
    QVERIFY(rig.state.inputOpen);
    QCOMPARE(rig.state.inputDeviceName, std::string("Keys In"));
    QCOMPARE(rig.state.detectionMode, 0);
    QVERIFY(rig.ui.shownFor(kSkipped) > 0);
}

void MidiStartupDialogsTest::missingDeviceAnswers_data()
{
    QTest::addColumn<bool>("later");   // shown a second time in the run
    QTest::addColumn<int>("answer");   // button index, or -1 for Escape
    QTest::addColumn<int>("expected"); // InitialiseMidi's result
    QTest::addColumn<bool>("offLine"); // ends with the off-line welcome

    QTest::newRow("first, work off-line") << false << 0 << 0 << true;
    QTest::newRow("first, exit") << false << 2 << -1 << false;
    QTest::newRow("first, escape works off-line") << false << -1 << 0 << true;
    QTest::newRow("later, cancel") << true << 2 << 0 << false;
    QTest::newRow("later, escape cancels") << true << -1 << 0 << false;
}

void MidiStartupDialogsTest::missingDeviceAnswers()
{
    QFETCH(bool, later);
    QFETCH(int, answer);
    QFETCH(int, expected);
    QFETCH(bool, offLine);

    StartupRig rig;
    rig.backend.outputs = {"Synth Out"};
    if (later) {
        MidiModalScript first({[](QDialog& d) {
            QTest::mouseClick(qobject_cast<frmMissingMIDIDevice*>(&d)->button(0), Qt::LeftButton);
        }});
        QCOMPARE(rig.startup.InitialiseMidi(), 0);
        QCOMPARE(first.answered(), 1);
        rig.ui.moments.clear();
    }

    QString exitCaption;
    QString question;
    MidiModalScript script({[&](QDialog& d) {
        auto* box = qobject_cast<frmMissingMIDIDevice*>(&d);
        QVERIFY(box);
        exitCaption = box->button(2)->text();
        question = box->questionText();
        if (answer < 0)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            QTest::mouseClick(box->button(answer), Qt::LeftButton);
    }});
    QCOMPARE(rig.startup.InitialiseMidi(), expected);
    QCOMPARE(script.answered(), 1);
    QCOMPARE(script.unexpected(), 0);
    QVERIFY(question.contains(QStringLiteral("choose a MIDI output device anyway")));
    QCOMPARE(exitCaption, later ? QStringLiteral("Cancel") : QStringLiteral("&Exit Toneloft"));
    QCOMPARE(question.endsWith(QStringLiteral("or quit Toneloft ?")), !later);
    QCOMPARE(rig.ui.shownFor(kWelcome) > 0, offLine);
    QVERIFY(!rig.state.inputOpen && !rig.state.outputOpen);
}

void MidiStartupDialogsTest::configureOpensOnTheMatchingPairThenTheRememberedOne()
{
    StartupRig rig;
    rig.backend.outputs = {"Other Out", "USB MIDI Interface Out"};
    rig.backend.inputs = {"Synth In", "USB MIDI Interface In"};
    int outputAtFirst = -1;
    int inputAtFirst = -1;
    QString outputAgain;
    QString inputAgain;
    bool skipAgain = true;
    MidiModalScript script({
        [&](QDialog& d) {
            auto* box = qobject_cast<frmMidiConfigure*>(&d);
            QVERIFY(box);
            outputAtFirst = box->outputList()->currentIndex();
            inputAtFirst = box->inputList()->currentIndex();
            box->outputList()->setCurrentIndex(1);
            QTest::mouseClick(box->okButton(), Qt::LeftButton);
        },
        [&](QDialog& d) {
            auto* box = qobject_cast<frmMidiConfigure*>(&d);
            QVERIFY(box);
            outputAgain = box->outputList()->currentText();
            inputAgain = box->inputList()->currentText();
            skipAgain = box->skipBox()->isChecked();
            box->skipBox()->setChecked(true);
            QTest::mouseClick(box->okButton(), Qt::LeftButton);
        },
    });

    int outCount = 0;
    int inCount = 0;
    QCOMPARE(rig.midi.EnumerateMidiDevices(outCount, inCount), 0);
    QCOMPARE(rig.startup.SelectMidiDevices(), 0);
    QCOMPARE(outputAtFirst, 2); // the names agree in "USB MIDI Int"
    QCOMPARE(inputAtFirst, 2);
    QCOMPARE(rig.startup.OutputDeviceID(), 0);
    QCOMPARE(rig.startup.InputDeviceID(), 1);
    QVERIFY(!rig.startup.skipDetection());

    QCOMPARE(rig.startup.SelectMidiDevices(), 0);
    QCOMPARE(outputAgain, QStringLiteral("Other Out"));
    QCOMPARE(inputAgain, QStringLiteral("USB MIDI Interface In"));
    QVERIFY(!skipAgain);
    QVERIFY(rig.startup.skipDetection());
    QCOMPARE(script.answered(), 2);
    QCOMPARE(script.unexpected(), 0);
}

void MidiStartupDialogsTest::configureCancelIsRefusedWhileADeviceIsOpen()
{
    MidiConfigureDialog data;
    data.caption = "Please select MIDI devices to use with Toneloft";
    data.outputs = {"<None>", "Synth Out"};
    data.inputs = {"<None>", "Synth In"};
    data.outputIndex = 1;
    data.inputIndex = 7; // not in the list: "<None>"
    data.deviceOpen = true;

    frmMidiConfigure open(data);
    QCOMPARE(open.inputList()->currentIndex(), 0);
    open.show();
    QTest::mouseClick(open.cancelButton(), Qt::LeftButton);
    QTest::keyClick(&open, Qt::Key_Escape);
    QVERIFY(open.isVisible());
    QTest::mouseClick(open.okButton(), Qt::LeftButton);
    QVERIFY(!open.isVisible());
    QCOMPARE(open.result(), int(QDialog::Accepted));

    // With nothing open Cancel closes; the lists' selection is still handed back.
    data.deviceOpen = false;
    QtMidiStartupDialogs dialogs;
    MidiModalScript script({[](QDialog& d) {
        auto* box = qobject_cast<frmMidiConfigure*>(&d);
        QVERIFY(box);
        box->inputList()->setCurrentIndex(1);
        box->outputList()->setCurrentIndex(0);
        QTest::mouseClick(box->cancelButton(), Qt::LeftButton);
    }});
    QVERIFY(!dialogs.showMidiConfigure(data));
    QCOMPARE(script.answered(), 1);
    QCOMPARE(data.outputIndex, 0);
    QCOMPARE(data.inputIndex, 1);
}

void MidiStartupDialogsTest::testDialogueReturnsTheButtonPressed()
{
    const QStringList captions = {QStringLiteral("&Skip"), QStringLiteral("&TX7"),
                                  QStringLiteral("&DX7"), QStringLiteral("&Cancel")};
    for (int i = 0; i < int(captions.size()); ++i) {
        frmInitialisationMessage box(MidiStartup::testText());
        box.show();
        QCOMPARE(box.button(i)->text(), captions[i]);
        QTest::mouseClick(box.button(i), Qt::LeftButton);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.choice(), i);
    }
    frmInitialisationMessage closed(MidiStartup::testText());
    closed.show();
    closed.close();
    QCOMPARE(closed.choice(), frmInitialisationMessage::kCancel);
}

TONELOFT_GUI_TEST(MidiStartupDialogsTest);
#include "MidiStartupDialogsTest.moc"
