// Rounding of a solution into recipe figures: percentages with two decimals, tonnes
// and consumptions with three, corrected so that each feed type adds up exactly.

#include "calc/problemrecord.h"
#include "calc/rounding.h"

#include "feedsum.h"
#include <QRandomGenerator>

#include <QtTest>

#include <cmath>
#include <vector>

using calc::ProblemRecord;

namespace
{

// A solved record: per feed type its output and the tonnes of its columns (raw
// material s = position in the list), an output row per feed type and stock rows.
struct SolvedFeed {
    double output = 0;
    std::vector<double> tonnes;
};

void fillSolved(ProblemRecord &rec, const std::vector<SolvedFeed> &feeds, int raws)
{
    rec.feedCount = int(feeds.size());
    rec.rawCount = raws;
    rec.columnCount = 0;
    rec.rowCount = 0;
    for (int p = 1; p <= rec.feedCount; ++p) {
        const SolvedFeed &f = feeds[size_t(p - 1)];
        rec.feedOutput[p] = f.output;
        const int i = ++rec.rowCount;
        rec.rowKind[i] = calc::kOutputRow;
        rec.rowOwner[i] = p;
        rec.rowValue[i] = f.output;
        for (size_t k = 0; k < f.tonnes.size(); ++k) {
            const int j = ++rec.columnCount;
            rec.columnFeed[j] = p;
            rec.columnRaw[j] = int(k) + 1;
            rec.columnValue[j] = f.tonnes[k];
        }
    }
    for (int s = 1; s <= raws; ++s) {
        const int i = ++rec.rowCount;
        rec.rowKind[i] = calc::kStockRow;
        rec.rowOwner[i] = s;
        rec.rowValue[i] = 12345; // the solver's activity; replaced by the consumption
    }
}

} // namespace

class tst_rounding final : public QObject
{
    Q_OBJECT

private slots:
    void levelOfTheBatch();
    void residueGoesToTheLargest();
    void exactFiguresNeedNoCorrection();
    void smallComponentsAreNeverCorrected();
    void zeroShareHasNoTonnes();
    void consumptionWithLosses_data();
    void consumptionWithLosses();
    void feedTypesAddUpExactly_data();
    void feedTypesAddUpExactly();
};

// Two raw materials of 5 t each holding 10 and 20 units, maximum norm 16: level 15.
void tst_rounding::levelOfTheBatch()
{
    ProblemRecord rec;
    fillSolved(rec, {{10, {5, 5}}}, 2);
    // A nutrient row of characteristic 2 between the output row and the stock rows.
    rec.rowCount = 4;
    rec.rowKind[4] = rec.rowKind[3];
    rec.rowOwner[4] = 2;
    rec.rowKind[3] = calc::kStockRow;
    rec.rowOwner[3] = 1;
    rec.rowKind[2] = 2;
    rec.rowOwner[2] = 1;
    rec.normMax[1][2] = 16;
    rec.rowValue[2] = (5 * 10 + 5 * 20) / 16.0;
    calc::roundSolution(rec, 0);
    QCOMPARE(rec.rowValue[2], 15.0);
    QCOMPARE(rec.rowValue[1], 10.0);
    QCOMPARE(rec.columnLower[1], 50.0);
    QCOMPARE(rec.columnValue[2], 5.0);
    QCOMPARE(rec.rowValue[3], 5.0); // consumption of raw material 1
    QCOMPARE(rec.rowValue[4], 5.0);
}

// Three thirds round to 99.99 %: the first of the equal largest gets the 0.01.
void tst_rounding::residueGoesToTheLargest()
{
    ProblemRecord rec;
    fillSolved(rec, {{3, {1, 1, 1}}}, 3);
    calc::roundSolution(rec, 0);
    QCOMPARE(rec.columnLower[1], 33.34);
    QCOMPARE(rec.columnLower[2], 33.33);
    QCOMPARE(rec.columnLower[3], 33.33);
    for (int j = 1; j <= 3; ++j) {
        QCOMPARE(rec.columnValue[j], 1.0);
        QCOMPARE(rec.columnUpper[j], 1.0);
    }
}

void tst_rounding::exactFiguresNeedNoCorrection()
{
    ProblemRecord rec;
    fillSolved(rec, {{8, {2, 6}}}, 2);
    calc::roundSolution(rec, 0);
    QCOMPARE(rec.columnLower[1], 25.0);
    QCOMPARE(rec.columnLower[2], 75.0);
    QCOMPARE(rec.columnValue[1], 2.0);
    QCOMPARE(rec.columnValue[2], 6.0);
}

// 0.40 + 33.20 + 33.20 + 33.19 = 99.99: the 0.40 % component keeps its figures.
void tst_rounding::smallComponentsAreNeverCorrected()
{
    ProblemRecord rec;
    fillSolved(rec, {{100, {0.4, 33.203, 33.203, 33.194}}}, 4);
    calc::roundSolution(rec, 0);
    QCOMPARE(rec.columnLower[1], 0.40);
    QCOMPARE(rec.columnValue[1], 0.4);
    QCOMPARE(rec.columnUpper[1], 0.4);
    QCOMPARE(rec.columnLower[2], 33.21);
    QCOMPARE(rec.columnLower[3], 33.20);
    QCOMPARE(rec.columnLower[4], 33.19);
    QCOMPARE(feedColumnSum(rec, 1, rec.columnValue), 100.0);
    QVERIFY(std::fabs(feedColumnSum(rec, 1, rec.columnLower) - 100) < 1e-9);
}

void tst_rounding::zeroShareHasNoTonnes()
{
    ProblemRecord rec;
    fillSolved(rec, {{100, {0.00001, 100}}}, 2);
    calc::roundSolution(rec, 2);
    QCOMPARE(rec.columnLower[1], 0.0);
    QCOMPARE(rec.columnValue[1], 0.0);
    QCOMPARE(rec.columnUpper[1], 0.0);
    QCOMPARE(rec.rowValue[rec.rowCount - 1], 0.0);
    QCOMPARE(rec.rowValue[rec.rowCount], 102.0);
}

void tst_rounding::consumptionWithLosses_data()
{
    QTest::addColumn<double>("loss");
    QTest::newRow("no losses") << 0.0;
    QTest::newRow("0.5 %") << 0.5;
    QTest::newRow("2 %") << 2.0;
}

// With a loss norm of 0 the consumption equals the tonnes; otherwise the consumptions
// of a feed type add up to its output plus losses, rounded to 3 decimals.
void tst_rounding::consumptionWithLosses()
{
    QFETCH(double, loss);
    ProblemRecord rec;
    fillSolved(rec, {{7.777, {1.1111, 2.2222, 4.4437}}}, 3);
    calc::roundSolution(rec, loss);
    if (loss == 0)
        for (int j = 1; j <= 3; ++j)
            QCOMPARE(rec.columnUpper[j], rec.columnValue[j]);
    const double target = std::round(7.777 * (100 + loss) / 100 * 1000) / 1000;
    QVERIFY(std::fabs(feedColumnSum(rec, 1, rec.columnUpper) - target) < 1e-9);
}

void tst_rounding::feedTypesAddUpExactly_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 12; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

// Random solutions of several feed types: after rounding, every feed type's
// percentages make exactly 100, its tonnes its output, its consumptions output plus
// losses; the stock rows hold the consumptions.
void tst_rounding::feedTypesAddUpExactly()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    const int raws = 3 + int(random.bounded(20));
    std::vector<SolvedFeed> feeds(size_t(1 + random.bounded(5)));
    for (SolvedFeed &f : feeds) {
        f.output = std::round(random.bounded(500.0) * 1000 + 1) / 1000;
        std::vector<double> weights(static_cast<size_t>(raws), 0.0);
        double total = 0;
        for (double &w : weights) {
            w = random.bounded(4) == 0 ? 0 : random.bounded(1.0);
            total += w;
        }
        for (double w : weights)
            f.tonnes.push_back(total == 0 ? f.output / raws : w / total * f.output);
    }
    ProblemRecord rec;
    fillSolved(rec, feeds, raws);
    const double loss = 1.5;
    calc::roundSolution(rec, loss);
    double consumed = 0;
    for (int p = 1; p <= rec.feedCount; ++p) {
        const double w = feeds[size_t(p - 1)].output;
        QVERIFY(std::fabs(feedColumnSum(rec, p, rec.columnLower) - 100) < 1e-9);
        QVERIFY(std::fabs(feedColumnSum(rec, p, rec.columnValue) - w) < 1e-9);
        const double target = std::round(w * (100 + loss) / 100 * 1000) / 1000;
        QVERIFY(std::fabs(feedColumnSum(rec, p, rec.columnUpper) - target) < 1e-9);
        consumed += feedColumnSum(rec, p, rec.columnUpper);
    }
    double stockRows = 0;
    for (int s = 1; s <= raws; ++s)
        stockRows += rec.rowValue[size_t(rec.rowCount - raws + s)];
    QVERIFY(std::fabs(stockRows - consumed) < 1e-9);
}

QTEST_APPLESS_MAIN(tst_rounding)
#include "tst_rounding.moc"
