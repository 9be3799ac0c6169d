// Rounding of a solution into recipe figures: percentages with two decimals, tonnes
// and consumptions with three, corrected so that each feed type adds up exactly.

#include "calc/rounding.h"

#include <QRandomGenerator>

#include <QtTest>

#include <cmath>
#include <vector>

namespace
{

// A solved programme: per feed type its output and the tonnes of its columns (raw
// material s = position in the list), an output row per feed type and stock rows.
struct SolvedFeed {
    double output = 0;
    std::vector<double> tonnes;
};

// The figures rounded, by programme column j ([j], 1-based), and the consumption of each
// raw material.
struct Rounded {
    calc::Recipes recipes;
    std::vector<double> percent{0}, tonnes{0}, withLosses{0};

    double level(int p, int i) const { return recipes.feed(p).levels[i].level; }
    double feedSum(int p, double calc::RecipeLine::*figure) const
    {
        double sum = 0;
        for (const calc::RecipeLine &line : recipes.feed(p).lines)
            sum += line.*figure;
        return sum;
    }
};

struct Solved {
    calc::Selection rec;
    calc::RowLayout layout;
    lp::Solution solution;

    Solved(const std::vector<SolvedFeed> &feeds, int raws, int nutrientOfFirst = 0)
    {
        rec.feedCount = int(feeds.size());
        rec.rawCount = raws;
        for (int p = 1; p <= rec.feedCount; ++p) {
            const SolvedFeed &f = feeds[size_t(p - 1)];
            rec.feedOutput[p] = f.output;
            layout.addOutputRow(p);
            solution.activities.push_back(f.output);
            if (p == 1 && nutrientOfFirst != 0) {
                layout.addNutrientRow(1, nutrientOfFirst);
                solution.activities.push_back(0);
            }
            for (size_t k = 0; k < f.tonnes.size(); ++k) {
                const int j = ++rec.columnCount;
                rec.columnFeed[j] = p;
                rec.columnRaw[j] = int(k) + 1;
                solution.values.push_back(f.tonnes[k]);
            }
        }
        for (int s = 1; s <= raws; ++s) {
            layout.addStockRow(s);
            solution.activities.push_back(12345); // the solver's activity, no consumption
        }
    }

    Rounded round(double lossNorm) const
    {
        Rounded r;
        r.recipes = calc::roundRecipes(rec, layout, solution, lossNorm);
        for (const calc::FeedRecipe &feed : r.recipes.feeds)
            for (const calc::RecipeLine &line : feed.lines) {
                r.percent.push_back(line.percent);
                r.tonnes.push_back(line.tonnes);
                r.withLosses.push_back(line.withLosses);
            }
        return r;
    }
};

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
    // A nutrient row of characteristic 2 between the output row and the stock rows.
    Solved solved({{10, {5, 5}}}, 2, 2);
    solved.rec.normMax[1][2] = 16;
    solved.solution.activities[1] = (5 * 10 + 5 * 20) / 16.0;
    const Rounded r = solved.round(0);
    QCOMPARE(r.level(1, 0), 15.0);
    QCOMPARE(r.recipes.feed(1).output, 10.0);
    QCOMPARE(r.percent[1], 50.0);
    QCOMPARE(r.tonnes[2], 5.0);
    QCOMPARE(r.recipes.consumption[1], 5.0);
    QCOMPARE(r.recipes.consumption[2], 5.0);
}

// Three thirds round to 99.99 %: the first of the equal largest gets the 0.01.
void tst_rounding::residueGoesToTheLargest()
{
    const Rounded r = Solved({{3, {1, 1, 1}}}, 3).round(0);
    QCOMPARE(r.percent[1], 33.34);
    QCOMPARE(r.percent[2], 33.33);
    QCOMPARE(r.percent[3], 33.33);
    for (int j = 1; j <= 3; ++j) {
        QCOMPARE(r.tonnes[j], 1.0);
        QCOMPARE(r.withLosses[j], 1.0);
    }
}

void tst_rounding::exactFiguresNeedNoCorrection()
{
    const Rounded r = Solved({{8, {2, 6}}}, 2).round(0);
    QCOMPARE(r.percent[1], 25.0);
    QCOMPARE(r.percent[2], 75.0);
    QCOMPARE(r.tonnes[1], 2.0);
    QCOMPARE(r.tonnes[2], 6.0);
}

// 0.40 + 33.20 + 33.20 + 33.19 = 99.99: the 0.40 % component keeps its figures.
void tst_rounding::smallComponentsAreNeverCorrected()
{
    const Rounded r = Solved({{100, {0.4, 33.203, 33.203, 33.194}}}, 4).round(0);
    QCOMPARE(r.percent[1], 0.40);
    QCOMPARE(r.tonnes[1], 0.4);
    QCOMPARE(r.withLosses[1], 0.4);
    QCOMPARE(r.percent[2], 33.21);
    QCOMPARE(r.percent[3], 33.20);
    QCOMPARE(r.percent[4], 33.19);
    QCOMPARE(r.feedSum(1, &calc::RecipeLine::tonnes), 100.0);
    QVERIFY(std::fabs(r.feedSum(1, &calc::RecipeLine::percent) - 100) < 1e-9);
}

void tst_rounding::zeroShareHasNoTonnes()
{
    const Rounded r = Solved({{100, {0.00001, 100}}}, 2).round(2);
    QCOMPARE(r.percent[1], 0.0);
    QCOMPARE(r.tonnes[1], 0.0);
    QCOMPARE(r.withLosses[1], 0.0);
    QCOMPARE(r.recipes.consumption[1], 0.0);
    QCOMPARE(r.recipes.consumption[2], 102.0);
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
    const Rounded r = Solved({{7.777, {1.1111, 2.2222, 4.4437}}}, 3).round(loss);
    if (loss == 0)
        for (int j = 1; j <= 3; ++j)
            QCOMPARE(r.withLosses[j], r.tonnes[j]);
    const double target = std::round(7.777 * (100 + loss) / 100 * 1000) / 1000;
    QVERIFY(std::fabs(r.feedSum(1, &calc::RecipeLine::withLosses) - target) < 1e-9);
}

void tst_rounding::feedTypesAddUpExactly_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 12; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

// Random solutions of several feed types: after rounding, every feed type's
// percentages make exactly 100, its tonnes its output, its consumptions output plus
// losses; the consumptions of the raw materials add up to them.
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
    const double loss = 1.5;
    const Rounded r = Solved(feeds, raws).round(loss);
    double consumed = 0;
    for (int p = 1; p <= int(feeds.size()); ++p) {
        const double w = feeds[size_t(p - 1)].output;
        QVERIFY(std::fabs(r.feedSum(p, &calc::RecipeLine::percent) - 100) < 1e-9);
        QVERIFY(std::fabs(r.feedSum(p, &calc::RecipeLine::tonnes) - w) < 1e-9);
        const double target = std::round(w * (100 + loss) / 100 * 1000) / 1000;
        QVERIFY(std::fabs(r.feedSum(p, &calc::RecipeLine::withLosses) - target) < 1e-9);
        consumed += r.feedSum(p, &calc::RecipeLine::withLosses);
    }
    double stockRows = 0;
    for (int s = 1; s <= raws; ++s)
        stockRows += r.recipes.consumption[size_t(s)];
    QVERIFY(std::fabs(stockRows - consumed) < 1e-9);
}

QTEST_APPLESS_MAIN(tst_rounding)
#include "tst_rounding.moc"
