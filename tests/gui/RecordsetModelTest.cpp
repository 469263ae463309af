#include "GuiTestRegistry.h"

#include "common/Recordset.h"
#include "common/ui/RecordsetModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using toneloft::Recordset;
using toneloft::RecordsetModel;

// The grid adapter over a table: shape, texts, filters and whole numbers.
class RecordsetModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheRowsThatPassTheFilter();
    void chosenFieldsOnly();
    void followsTheCursorsFilterAndSort();
    void editsGoToTheOwnerOfTheTable();
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

void RecordsetModelTest::followsTheCursorsFilterAndSort()
{
    auto rs = table();
    QVERIFY(rs->setFilter("Level > 1"));
    QVERIFY(rs->setSort("ParamID DESC"));
    rs->moveLast();
    RecordsetModel model(*rs);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(rs->recordCount(), 2L);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("2   "));
    QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("1   "));
    QCOMPARE(model.data(model.index(1, 2)).toDouble(), 1.5);
    QCOMPARE(rs->absolutePosition(), 2L); // still where its owner left it

    // A filter of chosen rows.
    auto marked = table();
    marked->moveLast();
    marked->setFilter(std::vector<Recordset::Bookmark>{marked->bookmark()});
    RecordsetModel one(*marked, {"Value"});
    QAbstractItemModelTester oneTester(&one, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(one.rowCount(), 1);
    QCOMPARE(one.data(one.index(0, 0)).toString(), QStringLiteral("x"));
}

void RecordsetModelTest::editsGoToTheOwnerOfTheTable()
{
    auto rs = table();
    QVERIFY(rs->setFilter("Level > 1")); // the table's second and third rows
    RecordsetModel model(*rs);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
    QVERIFY(!model.setData(model.index(0, 1), QStringLiteral("12")));

    // The owner writes through a cursor of its own and refuses negative levels.
    auto owner = rs->clone();
    std::vector<Recordset::Bookmark> rowsWritten;
    model.setWriter([&](Recordset::Bookmark row, int field, const Recordset::Value& v) {
        if (const auto* f = std::get_if<float>(&v); f && *f < 0)
            return false;
        rowsWritten.push_back(row);
        owner->setBookmark(row);
        owner->setValue(field, v);
        owner->update();
        return true;
    });
    QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    QVERIFY(model.setData(model.index(1, 1), QStringLiteral("42")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model.data(model.index(1, 1)).toString(), QStringLiteral("42"));
    QVERIFY(model.setData(model.index(0, 2), 7.25));
    QCOMPARE(model.data(model.index(0, 2)).toDouble(), 7.25);

    QVERIFY(!model.setData(model.index(0, 2), -3.0));              // refused by the owner
    QVERIFY(!model.setData(model.index(0, 2), QStringLiteral("a"))); // not a number
    QVERIFY(!model.setData(model.index(0, 1), QStringLiteral("9"), Qt::DisplayRole));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(rowsWritten.size(), std::size_t{2});

    // In table order: the edits landed on the rows the grid showed, nowhere else.
    rs->clearFilter();
    rs->moveFirst();
    QCOMPARE(rs->text("Value"), std::string(" 99"));
    QCOMPARE(rs->number("Level"), 0.5);
    rs->moveNext();
    QCOMPARE(rs->text("Value"), std::string("7"));
    QCOMPARE(rs->number("Level"), 7.25);
    rs->moveNext();
    QCOMPARE(rs->text("Value"), std::string("42"));
    QCOMPARE(rs->number("Level"), 2.5);
}

TONELOFT_GUI_TEST(RecordsetModelTest);
#include "RecordsetModelTest.moc"
