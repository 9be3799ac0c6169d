// The lower grids of the results window: composition rows, characteristic rows with
// their number formats and blanks, and the red marking of norm violations.

#include "calc/problemrecord.h"
#include "results/resultgrids.h"

#include <QTest>

using results::CellValue;

namespace
{

QStringList texts(const results::CompositionRow &row)
{
    return {row.name, row.percent.text, row.price.text, row.batchCost, row.tonnes};
}

QStringList texts(const results::CharacteristicRow &row)
{
    return {row.name, row.minimum.text, row.fact.text, row.maximum.text};
}

// One feed type of 10 t over three raw materials (the third not taken) and four
// characteristics: price, energy (a large value), protein, fibre.
void fill(calc::ProblemRecord &r)
{
    r.feedCount = 1;
    r.rawCount = 3;
    r.charCount = 4;
    const QStringList names = {"", "Цена", "Обменная энергия", "Сырой протеин", "Клетчатка"};
    for (int q = 1; q <= 4; ++q)
        r.charName[q] = names.at(q);
    r.feedOutput[1] = 10;
    r.rawName[1] = QStringLiteral("Пшеница");
    r.rawName[2] = QStringLiteral("Мел");
    r.rawName[3] = QStringLiteral("Овес");
    r.rawContent[1][1] = 15000;
    r.rawContent[2][1] = 3500.5;
    r.rawContent[3][1] = 12500;
    r.columnCount = 3;
    const double percents[] = {97.5, 2.5, 0};
    for (int j = 1; j <= 3; ++j) {
        r.columnFeed[j] = 1;
        r.columnRaw[j] = j;
        r.columnLower[j] = percents[j - 1];
        r.columnValue[j] = percents[j - 1] / 10;
    }
    // output row, price row, energy, protein, fibre, then three stock rows
    const int kinds[] = {calc::kOutputRow, 1, 2, 3, 4, calc::kStockRow, calc::kStockRow,
                         calc::kStockRow};
    const int owners[] = {1, 1, 1, 1, 1, 1, 2, 3};
    const double values[] = {10, 0.9, 45, 44.5, 3.456, 9.75, 0.25, 0};
    r.rowCount = 8;
    for (int i = 1; i <= 8; ++i) {
        r.rowKind[i] = kinds[i - 1];
        r.rowOwner[i] = owners[i - 1];
        r.rowValue[i] = values[i - 1];
    }
    r.normMin[1][2] = 290;
    r.normMax[1][2] = 1160.0004; // four times the minimum: no maximum
    r.normMin[1][3] = 0;
    r.normMax[1][3] = 50;
    r.normMin[1][4] = 4;
    r.normMax[1][4] = 6;
}

} // namespace

class TestResultGrids final : public QObject
{
    Q_OBJECT

private slots:
    void compositionTakesOnlyUsedRaws();
    void characteristicFormats();
    void violation_data();
    void violation();
};

void TestResultGrids::compositionTakesOnlyUsedRaws()
{
    calc::ProblemRecord r;
    fill(r);
    QCOMPARE(results::compositionColumns(r, 1), QList<int>({1, 2}));
    const QList<results::CompositionRow> rows = results::compositionRows(r, 1);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(texts(rows[0]),
             QStringList({"Пшеница", "   97.50", "  15000.00", "    146250.00", "        9.750"}));
    QCOMPARE(texts(rows[1]),
             QStringList({"Мел", "    2.50", "   3500.50", "       875.13", "        0.250"}));
    // the cells the user may type into carry the numbers they show
    QCOMPARE(rows[1].percent.number.value, 2.5);
    QCOMPARE(rows[1].price.number.value, 3500.5);
}

// 45 and more without decimals (45 -> "45"), below with two (44.5 -> "44.50"); a minimum of
// 0 and a maximum of four times the minimum are blanks; the price row is not shown.
void TestResultGrids::characteristicFormats()
{
    calc::ProblemRecord r;
    fill(r);
    const QList<results::CharacteristicRow> rows = results::characteristicRows(r, 1);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(texts(rows[0]), QStringList({"Обменная энергия", "     290", "           45", " "}));
    QCOMPARE(texts(rows[1]), QStringList({"Сырой протеин", " ", "        44.50", "      50"}));
    QCOMPARE(texts(rows[2]), QStringList({"Клетчатка", "    4.00", "         3.46", "    6.00"}));
    QVERIFY(results::violatesNorm(rows[2].minimum, rows[2].fact, rows[2].maximum));
    QVERIFY(!results::violatesNorm(rows[1].minimum, rows[1].fact, rows[1].maximum));
}

void TestResultGrids::violation_data()
{
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("fact");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<bool>("red");
    QTest::newRow("within") << "   10.00"
                            << "   11.00"
                            << "   12.00" << false;
    QTest::newRow("on the minimum") << "   10.00"
                                    << "   10.00"
                                    << "   12.00" << false;
    QTest::newRow("below") << "   10.00"
                           << "    9.99"
                           << "   12.00" << true;
    QTest::newRow("above") << "   10.00"
                           << "   12.01"
                           << "   12.00" << true;
    QTest::newRow("no minimum is never too low") << " "
                                                 << "    0.00"
                                                 << "   12.00" << false;
    QTest::newRow("no maximum is never too high") << "   10.00"
                                                  << "  999"
                                                  << " " << false;
    QTest::newRow("fact not a number") << "   10.00"
                                       << ""
                                       << "   12.00" << false;
}

void TestResultGrids::violation()
{
    QFETCH(QString, minimum);
    QFETCH(QString, fact);
    QFETCH(QString, maximum);
    QFETCH(bool, red);
    QCOMPARE(results::violatesNorm(CellValue::typed(minimum), CellValue::typed(fact),
                                   CellValue::typed(maximum)),
             red);
}

QTEST_APPLESS_MAIN(TestResultGrids)
#include "tst_resultgrids.moc"
