// Finishing a composition correction: which compositions are taken, how a shortfall is
// filled, and that the tonnes, tonnes with losses, cost and levels follow the percents.

#include "calc/problemrecord.h"
#include "results/compositioncorrection.h"

#include <QTest>

using results::CellValue;

namespace
{

constexpr double kLoss = 0.5;

// The cells as typed.
QList<CellValue> typed(const QStringList &texts)
{
    QList<CellValue> cells;
    for (const QString &text : texts)
        cells.append(CellValue::typed(text));
    return cells;
}

QStringList texts(const QList<CellValue> &cells)
{
    QStringList list;
    for (const CellValue &cell : cells)
        list.append(cell.text);
    return list;
}

// Feed type 1 of 10 t from three raw materials (60/30/10 %); feed type 2 shares raw
// material 1 and must not change. Characteristic 2 is protein.
void fill(calc::ProblemRecord &r)
{
    r.feedCount = 2;
    r.rawCount = 3;
    r.charCount = 2;
    r.feedOutput[1] = 10;
    r.feedOutput[2] = 5;
    const double prices[] = {15000, 46000, 3500};
    const double protein[] = {12, 46, 0};
    for (int s = 1; s <= 3; ++s) {
        r.rawContent[s][1] = prices[s - 1];
        r.rawContent[s][2] = protein[s - 1];
    }
    const int feeds[] = {1, 1, 1, 2};
    const int raws[] = {1, 2, 3, 1};
    const double percents[] = {60, 30, 10, 100};
    r.columnCount = 4;
    for (int j = 1; j <= 4; ++j) {
        r.columnFeed[j] = feeds[j - 1];
        r.columnRaw[j] = raws[j - 1];
        r.columnLower[j] = percents[j - 1];
        r.columnValue[j] = percents[j - 1] * r.feedOutput[feeds[j - 1]] / 100;
    }
    const int kinds[] = {calc::kOutputRow, 2, calc::kOutputRow, 2};
    const int owners[] = {1, 1, 2, 2};
    r.rowCount = 4;
    for (int i = 1; i <= 4; ++i) {
        r.rowKind[i] = kinds[i - 1];
        r.rowOwner[i] = owners[i - 1];
    }
    r.rowValue[2] = 21;
    r.rowValue[4] = 12;
}

QList<CellValue> prices()
{
    return typed(
        {QStringLiteral("  15000.00"), QStringLiteral("  46000.00"), QStringLiteral("   3500.00")});
}

double feedTonnes(const calc::ProblemRecord &r, int p, bool withLosses)
{
    double sum = 0;
    for (int j = 1; j <= r.columnCount; ++j)
        if (r.columnFeed[j] == p)
            sum += withLosses ? r.columnUpper[j] : r.columnValue[j];
    return sum;
}

} // namespace

class TestCompositionCorrection final : public QObject
{
    Q_OBJECT

private slots:
    void refused_data();
    void refused();
    void nearlyHundredIsTakenAsItIs();
    void shortfallGoesIntoTheZeroRow();
    void emptyCellCountsAsZero();
    void zeroRowDropsOut();
    void priceNotANumberCountsWithTheRecord();
};

void TestCompositionCorrection::refused_data()
{
    QTest::addColumn<QStringList>("percents");
    QTest::addColumn<QString>("message");
    QTest::newRow("97 without a zero row")
        << QStringList{"60", "30", "7"} << QStringLiteral("Набрано 97%... Исправьте...");
    QTest::newRow("above 100") << QStringList{"60", "30", "10.5"}
                               << QStringLiteral("Набрано 100.5%... Исправьте...");
    QTest::newRow("above 100 with a zero row")
        << QStringList{"70", "31", "0"} << QStringLiteral("Набрано 101%... Исправьте...");
    QTest::newRow("not a number")
        << QStringList{"60", "3o", "10"}
        << QStringLiteral("Имеются не числовые значения процентов ввода... Исправьте...");
    QTest::newRow("just outside the tolerance")
        << QStringList{"60", "30", "9.994"} << QStringLiteral("Набрано 99.994%... Исправьте...");
}

// A refused composition leaves the record as it was.
void TestCompositionCorrection::refused()
{
    QFETCH(QStringList, percents);
    QFETCH(QString, message);
    calc::ProblemRecord r;
    fill(r);
    const auto columnLower = r.columnLower;
    const auto columnValue = r.columnValue;
    QList<CellValue> cells = typed(percents);
    const results::CorrectionResult result =
        results::finishCorrection(r, 1, cells, prices(), kLoss);
    QCOMPARE(result.message, message);
    QCOMPARE(r.columnLower, columnLower);
    QCOMPARE(r.columnValue, columnValue);
    QCOMPARE(r.rowValue[2], 21.0);
}

// 99.996 % is taken with its percentages; the largest row takes the rest of the tonnes.
void TestCompositionCorrection::nearlyHundredIsTakenAsItIs()
{
    calc::ProblemRecord r;
    fill(r);
    QList<CellValue> percents = typed({"59.996", "30", "10"});
    const results::CorrectionResult result =
        results::finishCorrection(r, 1, percents, prices(), kLoss);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(texts(percents), QStringList({"59.996", "30", "10"}));
    QCOMPARE(r.columnLower[1], 59.996);
    QCOMPARE(r.columnValue[1], 6.0); // 5.9996 -> 6.000, and the tonnes add up to 10
    QCOMPARE(feedTonnes(r, 1, false), 10.0);
    QCOMPARE(feedTonnes(r, 1, true), 10.05);
    // cost: round2(59.996 % of 15000) + 13800 + 350
    QCOMPARE(result.rawCost, 8999.4 + 13800 + 350);
    // protein: 12 × 0.59996 + 46 × 0.3
    QVERIFY(qAbs(r.rowValue[2] - (12 * 0.59996 + 46 * 0.3)) < 1e-9);
    QCOMPARE(r.columnValue[4], 5.0); // the other feed type is untouched
    QCOMPARE(r.rowValue[4], 12.0);
}

// 97 % with one row at 0 %: that row gets the 3.00 %.
void TestCompositionCorrection::shortfallGoesIntoTheZeroRow()
{
    calc::ProblemRecord r;
    fill(r);
    QList<CellValue> percents = typed({"67", "30", "0"});
    const results::CorrectionResult result =
        results::finishCorrection(r, 1, percents, prices(), kLoss);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(texts(percents), QStringList({"67", "30", "    3.00"}));
    QCOMPARE(percents[2].number.value, 3.0);
    QCOMPARE(r.columnLower[3], 3.0);
    QCOMPARE(r.columnValue[3], 0.3);
    QCOMPARE(r.columnUpper[3], 0.301); // 0.3 × 1.005 is 0.30149999... in binary
    QCOMPARE(feedTonnes(r, 1, false), 10.0);
    QCOMPARE(feedTonnes(r, 1, true), 10.05);
}

void TestCompositionCorrection::emptyCellCountsAsZero()
{
    calc::ProblemRecord r;
    fill(r);
    QList<CellValue> percents = typed({"", "30", "70"});
    const results::CorrectionResult result =
        results::finishCorrection(r, 1, percents, prices(), kLoss);
    QVERIFY(result.ok());
    QCOMPARE(percents.first().text, QStringLiteral("0.00"));
    QCOMPARE(r.columnValue[1], 0.0);
    QCOMPARE(r.columnValue[3], 7.0);
}

// A raw material corrected to 0 % has no tonnes any more (it leaves the grid).
void TestCompositionCorrection::zeroRowDropsOut()
{
    calc::ProblemRecord r;
    fill(r);
    QList<CellValue> percents = typed({"70", "30", "0.00"});
    QVERIFY(results::finishCorrection(r, 1, percents, prices(), kLoss).ok());
    QCOMPARE(r.columnValue[3], 0.0);
    QCOMPARE(r.columnUpper[3], 0.0);
    QCOMPARE(r.columnValue[1], 7.0);
    QCOMPARE(r.rowValue[2], 12 * 0.7 + 46 * 0.3);
}

// A price cell left as no number counts with the raw material's price in the record.
void TestCompositionCorrection::priceNotANumberCountsWithTheRecord()
{
    calc::ProblemRecord r;
    fill(r);
    QList<CellValue> percents = typed({"60", "30", "10"});
    QList<CellValue> cells = prices();
    cells[1] = CellValue::typed(QStringLiteral("46ooo"));
    cells[2] = CellValue::typed(QStringLiteral("3600"));
    const results::CorrectionResult result =
        results::finishCorrection(r, 1, percents, cells, kLoss);
    QVERIFY(result.ok());
    QCOMPARE(result.rawCost, 9000 + 13800 + 360.0);
}

QTEST_APPLESS_MAIN(TestCompositionCorrection)
#include "tst_compositioncorrection.moc"
