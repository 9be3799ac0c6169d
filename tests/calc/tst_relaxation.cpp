// Relaxation of the cost mode: which requirements widen, by how much, and when the run
// gives up.

#include "calc/relaxation.h"

#include <QtTest>

using calc::Relaxation;

namespace
{

// Feed type 1: output row 1, nutrient rows 2 (q 2) and 3 (q 3); feed type 2: output
// row 4, nutrient row 5 (q 2), or a second output row when it has no requirements; stock
// rows 6 and 7 of raw materials 1 and 2.
struct Figures {
    calc::Selection rec;
    calc::RowLayout layout;
    lp::Solution solution;

    explicit Figures(bool secondFeedRequirements = true)
    {
        layout.addOutputRow(1);
        layout.addNutrientRow(1, 2);
        layout.addNutrientRow(1, 3);
        layout.addOutputRow(2);
        if (secondFeedRequirements)
            layout.addNutrientRow(2, 2);
        else
            layout.addOutputRow(2);
        layout.addStockRow(1);
        layout.addStockRow(2);
        solution.activities.assign(7, 0.0);
        rec.feedCount = 2;
        rec.rawCount = 2;
        rec.rawName[1] = QStringLiteral("Шрот соевый");
        for (int p = 1; p <= 2; ++p) {
            rec.feedOutput[p] = 10;
            for (int q = 2; q <= 3; ++q) {
                rec.normMin[p][q] = 10;
                rec.normMax[p][q] = 20;
            }
        }
    }

    double &rowValue(int i) { return solution.activities[std::size_t(i - 1)]; }

    // The relaxation after a solve that failed at row.
    Relaxation::Step relax(Relaxation &relaxation, int row, bool uniform, double lossNorm)
    {
        solution.failing = lp::Variable::ofRow(lp::RowIndex(row));
        return relaxation.relax(layout, solution, uniform, lossNorm);
    }
};

QList<int> hundredths(const Relaxation &relaxation)
{
    QList<int> shares;
    for (int i = 1; i <= 7; ++i)
        shares.append(relaxation.hundredths(i));
    return shares;
}

} // namespace

class tst_relaxation final : public QObject
{
    Q_OBJECT

private slots:
    void startsCleared();
    void widening_data();
    void widening();
    void endsAfterTheFiftyFirstStep_data();
    void endsAfterTheFiftyFirstStep();
    void singleRequirementEndsPastOne();
    void stockAdviceIsShownOnce();
    void nothingToWidenEndsTheRun();
    void requirementBeyondReachEndsTheRun();
    void ratioRowWidensAsARequirement();
};

void tst_relaxation::startsCleared()
{
    Figures f;
    const Relaxation relaxation(f.rec);
    QCOMPARE(relaxation.shares()[3], 0.0);
    QCOMPARE(relaxation.hundredths(3), 0);
}

void tst_relaxation::widening_data()
{
    QTest::addColumn<int>("failingRow");
    QTest::addColumn<bool>("uniform");
    QTest::addColumn<QList<int>>("expected"); // hundredths of rows 1..7
    QTest::newRow("one requirement") << 3 << false << QList<int>{0, 0, 5, 0, 0, 0, 0};
    QTest::newRow("one requirement, uniform") << 3 << true << QList<int>{0, 1, 1, 0, 0, 0, 0};
    QTest::newRow("output of feed type 2") << 4 << false << QList<int>{0, 0, 0, 0, 1, 0, 0};
    QTest::newRow("output of feed type 1, uniform") << 1 << true << QList<int>{0, 1, 1, 0, 0, 0, 0};
    QTest::newRow("stock") << 6 << false << QList<int>{0, 1, 1, 0, 1, 0, 0};
}

// Output and stock rows never widen; a single requirement by 0.05, the requirements of
// a feed type (or of all, for a stock) by 0.01.
void tst_relaxation::widening()
{
    QFETCH(int, failingRow);
    QFETCH(bool, uniform);
    QFETCH(QList<int>, expected);
    Figures f;
    Relaxation relaxation(f.rec);
    const Relaxation::Step step = f.relax(relaxation, failingRow, uniform, 0);
    QVERIFY(step.again);
    QCOMPARE(hundredths(relaxation), expected);
    for (int i = 1; i <= 7; ++i)
        QCOMPARE(relaxation.shares()[i], expected[i - 1] / 100.0);
}

void tst_relaxation::endsAfterTheFiftyFirstStep_data()
{
    QTest::addColumn<int>("failingRow");
    QTest::addColumn<bool>("uniform");
    QTest::newRow("output row") << 1 << false;
    QTest::newRow("uniform") << 2 << true;
    QTest::newRow("stock") << 7 << false;
}

// Steps of 0.01: the 51st step makes the share 0.51 and ends the run; fifty steps
// (0.50) still go on.
void tst_relaxation::endsAfterTheFiftyFirstStep()
{
    QFETCH(int, failingRow);
    QFETCH(bool, uniform);
    Figures f;
    Relaxation relaxation(f.rec);
    int steps = 0;
    bool again = true;
    while (again && steps < 1000) {
        again = f.relax(relaxation, failingRow, uniform, 0).again;
        ++steps;
    }
    QCOMPARE(steps, 51);
    QCOMPARE(relaxation.hundredths(2), 51);
    QCOMPARE(relaxation.shares()[2], 0.51);
}

// One requirement widens by 0.05 up to 1.0 (0 … twice its maximum); a share past that
// would be no requirement: the run ends, the share left at the last one tried.
void tst_relaxation::singleRequirementEndsPastOne()
{
    Figures f;
    Relaxation relaxation(f.rec);
    for (int k = 0; k < 20; ++k)
        QVERIFY(f.relax(relaxation, 5, false, 0).again);
    QCOMPARE(relaxation.hundredths(5), 100);
    QCOMPARE(relaxation.shares()[5], 1.0);
    QVERIFY(!f.relax(relaxation, 5, false, 0).again);
    QCOMPARE(relaxation.hundredths(5), 100);
    QCOMPARE(relaxation.shares()[5], 1.0);
    QVERIFY(f.relax(relaxation, 3, false, 0).again); // another requirement has its own share
}

// The advice names the raw material and the tonnes the stock row reached, losses put
// back; it comes with the first stock relaxation only.
void tst_relaxation::stockAdviceIsShownOnce()
{
    Figures f;
    f.rowValue(6) = 40;
    Relaxation relaxation(f.rec);
    const Relaxation::Step first = f.relax(relaxation, 6, false, 2);
    // (2 + 100) × 40 / 100 − 0.5 = 40.3
    QCOMPARE(first.message,
             QStringLiteral("Сырье № 1  Шрот соевый - при выполнении требований по качеству "
                            "полностью сработать нельзя!!  Рекомендую сработать      40 +/- 1т."));
    QVERIFY(f.relax(relaxation, 6, false, 2).message.isEmpty());
    QCOMPARE(calc::stockAmount(40, 2), 40.3);
}

// With no requirement to widen, another attempt would be the same one: the run ends.
void tst_relaxation::nothingToWidenEndsTheRun()
{
    Figures f(false); // feed type 2 without requirements
    Relaxation relaxation(f.rec);
    QVERIFY(!f.relax(relaxation, 4, false, 0).again);
}

// A requirement whose lower bound is already 0 while its row stays below it (negative
// contents) cannot be met by widening: the run ends instead of widening for ever.
void tst_relaxation::requirementBeyondReachEndsTheRun()
{
    Figures f;
    f.rec.normMin[1][2] = 0;
    f.rowValue(2) = -3;
    Relaxation relaxation(f.rec);
    QVERIFY(!f.relax(relaxation, 2, false, 0).again);
    f.rec.normMin[1][2] = 10;
    QVERIFY(f.relax(relaxation, 2, false, 0).again);
}

// A ratio row after the stock rows is one of its feed type's requirements: alone by 0.05
// up to 1.0, with the others by 0.01 when the output fails.
void tst_relaxation::ratioRowWidensAsARequirement()
{
    Figures f;
    f.rec.ratios.push_back({1, 2, 3, 2, 0});
    f.layout.addRatioRow(1, 0, calc::RatioSide::Min);
    f.solution.activities.assign(8, 0.0);
    Relaxation alone(f.rec);
    for (int k = 0; k < 20; ++k)
        QVERIFY(f.relax(alone, 8, false, 0).again);
    QCOMPARE(alone.shares()[8], 1.0);
    QVERIFY(!f.relax(alone, 8, false, 0).again);
    Relaxation withFeed(f.rec);
    QVERIFY(f.relax(withFeed, 1, false, 0).again);
    QCOMPARE(hundredths(withFeed) << withFeed.hundredths(8), (QList<int>{0, 1, 1, 0, 0, 0, 0, 1}));
}

QTEST_APPLESS_MAIN(tst_relaxation)
#include "tst_relaxation.moc"
