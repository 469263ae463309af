#include "GuiTestRegistry.h"

#include "common/ui/frmFileFormatDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>

using toneloft::frmFileFormatDialog;

class FormatDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void captionsAndStaysOnTop();
    void cancelPutsBackTheOpeningOption_data();
    void cancelPutsBackTheOpeningOption();
    void okKeepsTheClickedOption();
};

void FormatDialogTest::captionsAndStaysOnTop()
{
    frmFileFormatDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Save File"));
    QVERIFY(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
    const QStringList expected{
        QStringLiteral("Unpacked voice data without header/footer - 155 bytes per voice (default)"),
        QStringLiteral("Unpacked voice data with a header/footer for each voice - 163 bytes per voice"),
        QStringLiteral("Packed voice data without header/footer - 128 bytes per voice"),
        QStringLiteral("Packed voice data with header/footer - 128 bytes per voice -4104 bytes per "
                       "32 Voice bulk dump"),
    };
    for (int i = 0; i < 4; ++i)
        QCOMPARE(dialog.Option1(i)->text(), expected[i]);
    QVERIFY(dialog.Option1(4) == nullptr);
    const auto labels = dialog.findChildren<QLabel*>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel* l) {
        return l->text() == QStringLiteral("Choose a format to apply when saving the file");
    }));
}

void FormatDialogTest::cancelPutsBackTheOpeningOption_data()
{
    QTest::addColumn<int>("opening");
    QTest::addColumn<int>("clicked");
    QTest::newRow("0 then 3") << 0 << 3;
    QTest::newRow("2 then 1") << 2 << 1;
    QTest::newRow("3 then 0") << 3 << 0;
}

void FormatDialogTest::cancelPutsBackTheOpeningOption()
{
    QFETCH(int, opening);
    QFETCH(int, clicked);
    frmFileFormatDialog dialog;
    dialog.setFileType(opening);
    dialog.show();
    QTest::mouseClick(dialog.Option1(clicked), Qt::LeftButton);
    QVERIFY(dialog.Option1(clicked)->isChecked());
    QCOMPARE(dialog.chosenType(), clicked);

    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    QVERIFY(dialog.cancelled());
    QVERIFY(!dialog.isVisible());
    QVERIFY(dialog.Option1(opening)->isChecked());
    QVERIFY(!dialog.Option1(clicked)->isChecked());

    // Shown again, it starts from the restored option and is no longer cancelled.
    dialog.show();
    QVERIFY(!dialog.cancelled());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.cancelled());
    QVERIFY(dialog.Option1(opening)->isChecked());
}

void FormatDialogTest::okKeepsTheClickedOption()
{
    frmFileFormatDialog dialog;
    dialog.setFileType(0);
    dialog.show();
    QTest::mouseClick(dialog.Option1(2), Qt::LeftButton);
    QTest::mouseClick(dialog.OKButton(), Qt::LeftButton);
    QVERIFY(!dialog.cancelled());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenType(), 2);
    QVERIFY(dialog.Option1(2)->isChecked());
}

TONELOFT_GUI_TEST(FormatDialogTest);
#include "FormatDialogTest.moc"
