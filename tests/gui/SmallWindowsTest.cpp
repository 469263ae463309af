#include "GuiTestRegistry.h"

#include "common/ui/AboutWindow.h"
#include "common/ui/SystemInfoDialog.h"
#include "library/ui/frmFileProperties.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace toneloft;

// The properties box and the About window.
class SmallWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void propertiesShowTheListIdentity();
    void aboutNamesVersionAndSystem();
};

void SmallWindowsTest::propertiesShowTheListIdentity()
{
    frmFileProperties box;
    QCOMPARE(box.windowTitle(), QStringLiteral("Properties"));
    QStringList labels;
    for (const QLabel* l : box.findChildren<QLabel*>())
        labels << l->text();
    for (const char* caption : {"File Name", "File Type", "Patches", "Banks"})
        QVERIFY2(labels.contains(QString::fromLatin1(caption)), caption);

    box.setProperties(QStringLiteral("/music/Big Library.syx"), QStringLiteral("3"), 32000, 1000);
    QCOMPARE(box.fileNameText(), QStringLiteral("/music/Big Library.syx"));
    QCOMPARE(box.patchesText(), QStringLiteral("32,000"));
    QCOMPARE(box.banksText(), QStringLiteral("1,000"));
    box.setProperties(QStringLiteral("Empty.dat"), QStringLiteral("0"), 0, 1);
    QCOMPARE(box.patchesText(), QStringLiteral("0"));

    box.show();
    QCOMPARE(box.cmdOK()->objectName(), QStringLiteral("cmdOK"));
    QTest::mouseClick(box.cmdOK(), Qt::LeftButton);
    QVERIFY(!box.isVisible());
}

void SmallWindowsTest::aboutNamesVersionAndSystem()
{
    AboutWindow about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Toneloft"));
    QVERIFY(about.findChild<QLabel*>(QStringLiteral("lblVersion"))->text().contains(
        QStringLiteral(TONELOFT_VERSION)));
    QVERIFY(about.systemInfoButton()->isEnabled());

    QStringList items;
    for (const auto& [item, value] : SystemInfoDialog::collect()) {
        items << item;
        QVERIFY2(!value.trimmed().isEmpty(), qPrintable(item));
    }
    for (const char* item : {"Operating system", "Qt version", "Processor", "Memory"})
        QVERIFY2(items.contains(QString::fromLatin1(item)), item);
}

TONELOFT_GUI_TEST(SmallWindowsTest);
#include "SmallWindowsTest.moc"
