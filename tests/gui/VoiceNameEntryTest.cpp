// A rename takes only what the loader keeps, refused at typing time.
#include "GuiTestRegistry.h"
#include "ListDesk.h"

#include "library/ui/VoiceNameValidator.h"
#include "voice/VoiceFileFormat.h"

#include <QLineEdit>
#include <QTest>

namespace {

using toneloft::frmVoiceList;
using toneloft::test::ListDesk;

class VoiceNameEntryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyByteTheLoaderWouldReplaceIsRefused();
    void typingAnApostropheInARenameDoesNothing();
};

void VoiceNameEntryTest::everyByteTheLoaderWouldReplaceIsRefused()
{
    toneloft::VoiceNameValidator validator;
    for (int b = 0; b < 256; ++b) {
        // The loader's verdict on a name holding this byte in its second place.
        std::string name = "A";
        name += static_cast<char>(b);
        name.resize(10, ' ');
        bool changed = false;
        toneloft::CleanVoiceName(name, changed);

        QString typed = QStringLiteral("A") + QChar(static_cast<char16_t>(b));
        int position = 2;
        const bool accepted = validator.validate(typed, position) == QValidator::Acceptable;
        QVERIFY2(accepted == !changed, qPrintable(QStringLiteral("byte %1").arg(b)));
    }
    QString tooLong = QStringLiteral("ELEVENCHARS");
    int position = 0;
    QCOMPARE(validator.validate(tooLong, position), QValidator::Invalid);
    QString wide = QStringLiteral("A\u20AC"); // outside one byte
    QCOMPARE(validator.validate(wide, position), QValidator::Invalid);
}

void VoiceNameEntryTest::typingAnApostropheInARenameDoesNothing()
{
    ListDesk desk;
    frmVoiceList* w = desk.open("NAMES.dat", 0, 8);
    // A second slow click on the same voice opens the rename box.
    ListDesk::click(w, 2);
    ListDesk::mouse(w, QEvent::MouseButtonRelease, 2);
    ListDesk::click(w, 2);
    ListDesk::mouse(w, QEvent::MouseButtonRelease, 2);
    QVERIFY(w->Text1()->isVisible());
    w->Text1()->selectAll();
    QTest::keyClicks(w->Text1(), QStringLiteral("IT'S ~OK"));
    QCOMPARE(w->Text1()->text(), QStringLiteral("ITS ~OK"));
    QTest::keyClick(w->Text1(), Qt::Key_Return);
    QCOMPARE(ListDesk::nameAt(w->list(), 2), std::string("ITS ~OK   "));
}

} // namespace

TONELOFT_GUI_TEST(VoiceNameEntryTest);
#include "VoiceNameEntryTest.moc"
