#include "GuiTestRegistry.h"

#include "midi/ui/frmMidiConfigure.h"
#include "synth/SoundSettings.h"
#include "synth/ui/SoundPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

using namespace toneloft;

namespace {

// Sound settings with two devices, the second of which cannot be opened.
class FakeSound : public synth::SoundSettings {
public:
    std::vector<std::string> outputDevices() override { return {"<None>", "Speakers", "Broken"}; }
    int currentDevice() const override { return current; }
    bool selectDevice(int index) override
    {
        ++selections;
        current = index == 2 ? 0 : index;
        return index != 2;
    }
    std::string problem() const override { return current == 0 && selections > 0 ? "device busy" : ""; }
    int volume() const override { return level; }
    void setVolume(int percent) override { level = percent; }

    int current = 1;
    int selections = 0;
    int level = 80;
};

MidiConfigureDialog configureData()
{
    MidiConfigureDialog d;
    d.caption = "MIDI Devices";
    d.outputs = {"<None>", "Toneloft Virtual DX7"};
    d.inputs = {"<None>", "Toneloft Virtual DX7"};
    d.outputIndex = 1;
    d.inputIndex = 1;
    return d;
}

// The devices dialogue shown with the fake sound's panel.
struct Panel {
    FakeSound sound;
    frmMidiConfigure box{configureData(), nullptr, &sound};
    Panel() { box.show(); }
};

class SoundPanelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void withoutSoundTheDialogueHasNoPanel()
    {
        frmMidiConfigure box(configureData());
        QVERIFY(box.soundPanel() == nullptr);
        QVERIFY(box.findChild<QComboBox*>(QStringLiteral("cboAudioOutput")) == nullptr);
    }

    void showsTheDevicesAndVolume()
    {
        FakeSound sound;
        frmMidiConfigure box(configureData(), nullptr, &sound);
        auto* devices = box.findChild<QComboBox*>(QStringLiteral("cboAudioOutput"));
        auto* volume = box.findChild<QSlider*>(QStringLiteral("sldVolume"));
        QVERIFY(devices != nullptr && volume != nullptr);
        QCOMPARE(devices->count(), 3);
        QCOMPARE(devices->itemText(0), QStringLiteral("<None>"));
        QCOMPARE(devices->currentIndex(), 1);
        QCOMPARE(volume->value(), 80);
    }

    void volumeFollowsTheSliderAtOnce()
    {
        Panel panel;
        auto& [sound, box] = panel;
        auto* volume = box.soundPanel()->volumeSlider();
        volume->setFocus();
        QTest::keyClick(volume, Qt::Key_PageDown);
        QVERIFY(sound.level < 80);
        QCOMPARE(sound.selections, 0);
    }

    void okOpensTheChosenDevice()
    {
        Panel panel;
        auto& [sound, box] = panel;
        box.soundPanel()->deviceList()->setCurrentIndex(0);
        QTest::mouseClick(box.okButton(), Qt::LeftButton);
        QCOMPARE(sound.selections, 1);
        QCOMPARE(sound.current, 0);
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    void aFailingDeviceIsSilenceAndSaysWhyOnThePanel()
    {
        Panel panel;
        auto& [sound, box] = panel;
        box.soundPanel()->deviceList()->setCurrentIndex(2);
        QTest::mouseClick(box.okButton(), Qt::LeftButton);
        QCOMPARE(sound.current, 0);
        QCOMPARE(box.soundPanel()->problemLabel()->text(), QStringLiteral("device busy"));
    }

    void cancelLeavesTheDevice()
    {
        Panel panel;
        auto& [sound, box] = panel;
        box.soundPanel()->deviceList()->setCurrentIndex(0);
        QTest::mouseClick(box.cancelButton(), Qt::LeftButton);
        QCOMPARE(sound.selections, 0);
        QCOMPARE(sound.current, 1);
    }
};

} // namespace

TONELOFT_GUI_TEST(SoundPanelTest);
#include "SoundPanelTest.moc"
