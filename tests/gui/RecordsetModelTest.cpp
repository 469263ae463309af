#include "GuiTestRegistry.h"

#include "common/Recordset.h"
#include "common/ui/RecordsetModel.h"

#include <QAbstractItemModelTester>
#include <QTest>

using toneloft::Recordset;
using toneloft::RecordsetModel;

// The grid adapter over a table: shape, texts, filters and whole numbers.
class RecordsetModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheRowsThatPassTheFilter();
    void chosenFieldsOnly();
};

namespace {

std::unique_ptr<Recordset> table()
{
    auto rs = std::make_unique<Recordset>();
    rs->appendField("ParamID", Recordset::FieldType::Text, 4, true);
    rs->appendField("Value", Recordset::FieldType::Text, 5);
    rs->appendField("Level", Recordset::FieldType::Single);
    rs->open();
    const char* values[] = {" 99", "7", "x"};
    for (int i = 0; i < 3; ++i) {
        rs->addNew();
        rs->setValue("ParamID", std::string(std::to_string(i)));
        rs->setValue("Value", std::string(values[i]));
        rs->setValue("Level", static_cast<float>(i) + 0.5f);
        rs->update();
    }
    rs->moveFirst();
    return rs;
}

} // namespace

void RecordsetModelTest::showsTheRowsThatPassTheFilter()
{
    auto rs = table();
    rs->setAbsolutePosition(2);
    RecordsetModel model(*rs);
    model.setWholeNumberColumn(1);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Value"));
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("0   "));
    QCOMPARE(model.data(model.index(0, 1)).toLongLong(), 99LL);
    QCOMPARE(model.data(model.index(2, 1)).toString(), QStringLiteral("x"));
    QCOMPARE(model.data(model.index(1, 2)).toDouble(), 1.5);
    // Reading the grid never moves the table's own cursor.
    QCOMPARE(rs->absolutePosition(), 2L);
    QVERIFY(!model.data(model.index(0, 0), Qt::DecorationRole).isValid());

    rs->addNew();
    rs->setValue("ParamID", std::string("3"));
    rs->update();
    model.refresh();
    QCOMPARE(model.rowCount(), 4);
}

void RecordsetModelTest::chosenFieldsOnly()
{
    auto rs = table();
    RecordsetModel model(*rs, {"Level", "NoSuchField", "ParamID"});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Level"));
    QCOMPARE(model.data(model.index(2, 0)).toDouble(), 2.5);
}

TONELOFT_GUI_TEST(RecordsetModelTest);
#include "RecordsetModelTest.moc"
