// Assembly of the linear programme: row order and kinds, bounds, the coefficients, the
// objective, inclusion limits turned into tonnes, full-use stock
// rows, relaxation shares, and exact requirements whose bounds must meet.

#include "helper_randomproblem.h"

#include "calc/assembly.h"
#include "lp/densematrix.h"

#include <QTest>

#include <cmath>
#include <memory>

using namespace calc;

namespace
{

using Assembled = std::optional<AssembledProgramme>;

double lowerOf(const Assembled &p, int i)
{
    return p->programme.rowLower(lp::RowIndex(i));
}

double upperOf(const Assembled &p, int i)
{
    return p->programme.rowUpper(lp::RowIndex(i));
}

double entryOf(const Assembled &p, int i, int j)
{
    return p->programme.coefficient(lp::RowIndex(i), lp::ColIndex(j));
}

// Two feed types, three raw materials, three characteristics (1 = price).
// Feed type 1 takes raws 1 and 2, feed type 2 raws 2 and 3.
std::unique_ptr<Selection> handMade()
{
    auto rec = std::make_unique<Selection>();
    Selection &r = *rec;
    r.feedCount = 2;
    r.rawCount = 3;
    r.charCount = 3;
    r.feedOutput[1] = 50;
    r.feedOutput[2] = 20;
    const double contents[4][4] = {{}, {0, 100, 10, 0}, {0, 200, 30, 5}, {0, 50, 0, 8}};
    for (int s = 1; s <= 3; ++s)
        for (int q = 1; q <= 3; ++q)
            r.rawContent[s][q] = contents[s][q];
    r.rawStock[1] = 40;
    r.rawStock[2] = 100;
    r.rawStock[3] = kUnlimitedStock;
    r.rawFullUse[1] = 1;
    // feed type 1: price 90..180, char 2 between 12 and 16, char 3 without norm
    r.normMin[1][1] = 90;
    r.normMax[1][1] = 180;
    r.normMin[1][2] = 12;
    r.normMax[1][2] = 16;
    // feed type 2: no price norm, char 2 at most 20 (min 0), char 3 exactly 6
    r.normMax[2][2] = 20;
    r.normMin[2][3] = 6;
    r.normMax[2][3] = 6;
    const int pairs[4][2] = {{1, 1}, {1, 2}, {2, 2}, {2, 3}};
    const double limits[4][2] = {{0, 80}, {10, 100}, {0, 100}, {5, 60}};
    r.columnCount = 4;
    for (int j = 1; j <= 4; ++j) {
        r.columnFeed[j] = pairs[j - 1][0];
        r.columnRaw[j] = pairs[j - 1][1];
        r.columnLower[j] = limits[j - 1][0];
        r.columnUpper[j] = limits[j - 1][1];
    }
    return rec;
}

} // namespace

class TestAssembly : public QObject
{
    Q_OBJECT

private slots:
    void rowsInOrderWithTheirBounds();
    void coefficientsRowByRow();
    void columnsInTonnesPricedPerTonne();
    void fullUseOnlyWhenAsked();
    void relaxationWidensNutrientRows_data();
    void relaxationWidensNutrientRows();
    void exactRequirementBoundsMeet();
    void feedTypeWithoutColumnsTakesNoNeighbour();
    void onlyWhatTheProgrammeNeeds();
};

// Per feed type its output row, then one row per characteristic with a non-zero
// maximum; then one stock row per raw material. Bounds with no relaxation.
void TestAssembly::rowsInOrderWithTheirBounds()
{
    auto rec = handMade();
    const Assembled p = assembleProgramme(*rec, false, calctest::noRelaxation(), 2.0);
    QVERIFY(p);
    const RowLayout &layout = p->layout;
    QCOMPARE(layout.rowCount(), 1 + 2 + 1 + 2 + 3);
    QCOMPARE(p->programme.rowCount(), layout.rowCount());
    using Kind = RowLayout::Kind;
    const Kind kinds[] = {Kind::Output, Kind::Nutrient, Kind::Nutrient,
                          Kind::Output, Kind::Nutrient, Kind::Nutrient,
                          Kind::Stock,  Kind::Stock,    Kind::Stock};
    const int characteristics[] = {0, 1, 2, 0, 2, 3, 0, 0, 0};
    const int owners[] = {1, 1, 1, 2, 2, 2, 1, 2, 3};
    for (int i = 1; i <= layout.rowCount(); ++i) {
        QCOMPARE(layout.kind(i), kinds[i - 1]);
        QCOMPARE(layout.characteristic(i), characteristics[i - 1]);
        QCOMPARE(layout.owner(i), owners[i - 1]);
    }
    QCOMPARE(layout.nutrientRow(2, 3), 6);
    QCOMPARE(layout.nutrientRow(2, 1), 0); // no price norm
    QCOMPARE(layout.stockRow(2), 8);
    QCOMPARE(lowerOf(p, 1), 50.0);
    QCOMPARE(upperOf(p, 1), 50.0);
    QCOMPARE(lowerOf(p, 2), 90.0 * 50 / 180); // price row: min × W / max
    QCOMPARE(upperOf(p, 2), 50.0);
    QCOMPARE(lowerOf(p, 3), 12.0 * 50 / 16);
    QCOMPARE(lowerOf(p, 5), 0.0); // minimum 0: lower bound 0, upper bound the output
    QCOMPARE(upperOf(p, 5), 20.0);
    QCOMPARE(lowerOf(p, 6), 20.0); // exact requirement: lower = upper = output
    QCOMPARE(upperOf(p, 6), 20.0);
    const double lossFactor = 100 / 102.0;
    QCOMPARE(upperOf(p, 7), lossFactor * 40);
    QCOMPARE(upperOf(p, 9), lossFactor * kUnlimitedStock);
}

// Entry (i, j) is a(i, j): output rows 1 on the feed type's columns, nutrient rows
// content / max, stock rows 1 on the raw material's columns, zeros elsewhere.
void TestAssembly::coefficientsRowByRow()
{
    auto rec = handMade();
    const Assembled p = assembleProgramme(*rec, false, calctest::noRelaxation(), 0.0);
    QVERIFY(p);
    QCOMPARE(p->programme.rowCount(), 9);
    QCOMPARE(p->programme.columnCount(), 4);
    const double expected[9][4] = {{1, 1, 0, 0},                     // output of feed type 1
                                   {100.0 / 180, 200.0 / 180, 0, 0}, // its price row
                                   {10.0 / 16, 30.0 / 16, 0, 0},     // its characteristic 2
                                   {0, 0, 1, 1},                     // output of feed type 2
                                   {0, 0, 30.0 / 20, 0},     // characteristic 2 of feed type 2
                                   {0, 0, 5.0 / 6, 8.0 / 6}, // characteristic 3 of feed type 2
                                   {1, 0, 0, 0},             // stock of raw 1
                                   {0, 1, 1, 0},             // stock of raw 2
                                   {0, 0, 0, 1}};            // stock of raw 3
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 4; ++j)
            QCOMPARE(entryOf(p, i, j), expected[i - 1][j - 1]);
}

// Inclusion limits in percent become tonnes of the feed type's output; the objective
// coefficient of a column is its raw material's price.
void TestAssembly::columnsInTonnesPricedPerTonne()
{
    auto rec = handMade();
    const Assembled p = assembleProgramme(*rec, false, calctest::noRelaxation(), 0.0);
    QVERIFY(p);
    const double lower[] = {0, 5, 0, 1};
    const double upper[] = {40, 50, 20, 12};
    const double price[] = {100, 200, 200, 50};
    for (lp::ColIndex j(1); j.number() <= 4; ++j) {
        QCOMPARE(p->programme.columnLower(j), lower[j.number() - 1]);
        QCOMPARE(p->programme.columnUpper(j), upper[j.number() - 1]);
        QCOMPARE(p->programme.cost(j), price[j.number() - 1]);
    }
}

// A raw material marked for full use gets lower = upper only when full use is asked.
void TestAssembly::fullUseOnlyWhenAsked()
{
    auto rec = handMade();
    const Assembled p = assembleProgramme(*rec, false, calctest::noRelaxation(), 3.0);
    QVERIFY(p);
    QCOMPARE(lowerOf(p, 7), 0.0);
    rec = handMade();
    const Assembled full = assembleProgramme(*rec, true, calctest::noRelaxation(), 3.0);
    QVERIFY(full);
    QCOMPARE(lowerOf(full, 7), upperOf(full, 7));
    QCOMPARE(upperOf(full, 7), 100 / 103.0 * 40);
    QCOMPARE(lowerOf(full, 8), 0.0); // not marked
}

void TestAssembly::relaxationWidensNutrientRows_data()
{
    QTest::addColumn<double>("share");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    // row 3: characteristic 2 of feed type 1, 12..16, output 50
    QTest::newRow("none") << 0.0 << 12.0 * 50 / 16 << 50.0;
    QTest::newRow("five-percent") << 0.05 << 12.0 * 0.95 * 50 / 16 << 1.05 * 50;
    QTest::newRow("half") << 0.5 << 12.0 * 0.5 * 50 / 16 << 75.0;
    QTest::newRow("whole-lower-clamped") << 1.0 << 0.0 << 100.0;
    QTest::newRow("beyond-whole") << 1.3 << 0.0 << 115.0;
}

// A share r gives min × (1 − r) × W / max, never below 0, and (1 + r) × W; output
// and stock rows are never widened.
void TestAssembly::relaxationWidensNutrientRows()
{
    QFETCH(double, share);
    QFETCH(double, lower);
    QFETCH(double, upper);
    auto rec = handMade();
    std::vector<double> relax(kMaxRows + 1, 0.0);
    relax[3] = share;
    relax[1] = relax[7] = share; // output and stock rows ignore their shares
    const Assembled p = assembleProgramme(*rec, false, relax, 0.0);
    QVERIFY(p);
    QCOMPARE(lowerOf(p, 3), lower);
    QCOMPARE(upperOf(p, 3), upper);
    QCOMPARE(lowerOf(p, 1), 50.0);
    QCOMPARE(upperOf(p, 1), 50.0);
    QCOMPARE(upperOf(p, 7), 40.0);
    QCOMPARE(lowerOf(p, 2), 90.0 * 50 / 180); // other rows keep their bounds
}

// min = max: min × W / max comes out a unit in the last place above W for some
// values (21.02 among them); the row's lower bound must never pass its upper bound.
void TestAssembly::exactRequirementBoundsMeet()
{
    int raised = 0;
    for (int hundredths = 1; hundredths <= 10000; ++hundredths) {
        const double norm = hundredths / 100.0;
        for (double output : {1.0, 7.5, 12.345, 50.0, 99.999, 333.3, 1234.567}) {
            if (norm * output / norm > output)
                ++raised;
            const RowBounds b = nutrientRowBounds(norm, norm, output, 0.0);
            QVERIFY2(b.lower <= b.upper, qPrintable(QString::number(norm)));
            QVERIFY(b.upper == output);
            QVERIFY(output - b.lower <= 4e-16 * output);
        }
    }
    QVERIFY(raised > 1000); // the case is common, not an oddity
    bool found = false;
    for (double output = 0.001; output < 1000 && !found; output += 0.001)
        found = 21.02 * output / 21.02 > output;
    QVERIFY(found);
    // a real gap is kept: minimum above maximum is the loader's message, not ours
    const RowBounds wide = nutrientRowBounds(21.03, 21.02, 10.0, 0.0);
    QVERIFY(wide.lower > wide.upper);
}

// A feed type without columns (stopped by the checks before it gets here) gets an
// output row of zeros rather than its neighbour's first column.
void TestAssembly::feedTypeWithoutColumnsTakesNoNeighbour()
{
    auto rec = handMade();
    rec->feedCount = 3;
    rec->feedOutput[3] = 5;
    for (int j = 1; j <= 4; ++j) // feed type 2's columns go to feed type 3
        if (rec->columnFeed[j] == 2)
            rec->columnFeed[j] = 3;
    rec->normMax[3][2] = 20;
    const Assembled p = assembleProgramme(*rec, false, calctest::noRelaxation(), 0.0);
    QVERIFY(p);
    QCOMPARE(p->layout.kind(4), RowLayout::Kind::Output);
    QCOMPARE(p->layout.owner(4), 2);
    QVERIFY(p->programme.row(lp::RowIndex(4)).empty());
    QCOMPARE(p->layout.owner(7), 3);
    QCOMPARE(entryOf(p, 7, 3), 1.0);
}

// The programme holds only the rows and columns of the selection; one too large for the
// solver's tableau is refused with this message.
void TestAssembly::onlyWhatTheProgrammeNeeds()
{
    QCOMPARE(QString::fromUtf16(kOverflowMessage),
             QStringLiteral("Слишком много кормов, сырья или допустимых вложений"));
    auto rec = std::make_unique<Selection>();
    calctest::makeCase(*rec, calctest::typicalShape());
    const Assembled p = assembleProgramme(*rec, false, calctest::noRelaxation(), 1.0);
    QVERIFY(p);
    QCOMPARE(p->programme.rowCount(), p->layout.rowCount());
    QCOMPARE(p->programme.columnCount(), rec->columnCount);
    QVERIFY(lp::tableauFits(kMaxRows, kMaxColumns)); // the largest selection fits
}

QTEST_APPLESS_MAIN(TestAssembly)
#include "tst_assembly.moc"
