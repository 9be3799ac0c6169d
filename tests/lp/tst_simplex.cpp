// The simplex solver: its tolerance and snapping rule, the row-update kernel, a corpus of
// tiny programmes with known answers, the feasibility check, a programme too large for
// the tableau, and the progress bar. (The solver on assembled feed programmes, against
// a plain transcription of the method: tests/calc/tst_assembledsolve.cpp.)

#include "tinyprogramme.h"

#include "lp/densematrix.h"
#include "lp/finaltableau.h"
#include "lp/simplex.h"
#include "lp/simplexkernel.h"
#include "lp/simplextolerance.h"

#include <QTest>

#include <cmath>
#include <cstring>

using namespace lp;
using namespace lptest;

Q_DECLARE_METATYPE(lptest::TinyProgramme)
Q_DECLARE_METATYPE(std::vector<double>)

namespace
{

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class Recorder final : public SolverProgress
{
public:
    void solverProgress(int position) override { positions.push_back(position); }
    std::vector<int> positions;
};

} // namespace

class TestSimplex : public QObject
{
    Q_OBJECT

private slots:
    void toleranceIsTheExactReal();
    void snapRule_data();
    void snapRule();
    void kernelFollowsTheRule();
    void kernelFormsAgree_data();
    void kernelFormsAgree();
    void corpus_data();
    void corpus();
    void feasibilityCheckGivesNoCost();
    void tooLargeForTheTableauIsNoSolution();
    void progressFollowsTheObjective();
};

// ε is 3e-11 as the 8-byte real 3DC07E1F E91B0B70.
void TestSimplex::toleranceIsTheExactReal()
{
    std::uint64_t bits;
    const double eps = solverTolerance();
    std::memcpy(&bits, &eps, sizeof bits);
    QCOMPARE(bits, std::uint64_t{0x3DC07E1FE91B0B70});
    QCOMPARE(eps, 3e-11);
}

void TestSimplex::snapRule_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("expected");
    // rows with bounds [10, 20]; distance ε·max(|old|, |d|) when that is >= 1, else ε
    QTest::newRow("near-lower-large") << 10.0 << 1e-10 << 10.0;
    QTest::newRow("just-outside-distance") << 10.0 << 1e-9 << 10.0 + 1e-9;
    QTest::newRow("near-upper") << 20.0 - 2e-10 << 1e-10 << 20.0;
    QTest::newRow("inside-untouched") << 15.0 << 1.0 << 16.0;
    QTest::newRow("big-increment-widens") << 0.0 << 10.0 + 2e-10 << 10.0;
    QTest::newRow("big-increment-not-enough") << 0.0 << 10.0 + 4e-10 << 10.0 + 4e-10;
}

// A row value ending within the acceptance distance of a bound becomes the bound.
void TestSimplex::snapRule()
{
    QFETCH(double, value);
    QFETCH(double, d);
    QFETCH(double, expected);
    QCOMPARE(addToRowValue(value, d, 10.0, 20.0), expected);
    // entries: cancellation below the distance gives exactly 0, nothing else does
    QCOMPARE(addToEntry(1.0, -1.0 + 1e-12), 0.0);
    QCOMPARE(addToEntry(1e-3, -1e-3 + 1e-12), 0.0);
    QVERIFY(addToEntry(1e-3, -1e-3 + 1e-10) != 0.0);
    QCOMPARE(addToEntry(100.0, -100.0 + 2e-9), 0.0);
    QVERIFY(addToEntry(100.0, -100.0 + 4e-9) != 0.0);
}

// The vectorised row update does, entry by entry, what the scalar rule does; entries
// where the pivot row is 0 are left alone even when they are tiny.
void TestSimplex::kernelFollowsTheRule()
{
    const int n = 203; // not a whole number of blocks
    DenseMatrix rows;  // aligned and padded, as the tableau's rows are
    rows.allocate(2, n);
    double *pivot = rows.row(1);
    double *a = rows.row(2);
    std::vector<int> columns;
    for (int k = 0; k < n; ++k) {
        pivot[k] =
            k % 3 == 0 || (k > 40 && k < 90) ? 0.0 : std::sin(k * 1.7) * std::pow(10.0, k % 7 - 3);
        a[k] = k % 11 == 0 ? 1e-13 : std::cos(k * 0.3) * std::pow(10.0, k % 5 - 2);
    }
    a[10] = 0.5;
    pivot[10] = 0.5; // 0.5 - 1 * 0.5 cancels exactly
    pivot[11] = 1e-3;
    a[11] = 1e-3 - 1e-13; // cancels below the distance
    for (int k = 0; k < n; ++k)
        if (pivot[k] != 0)
            columns.push_back(k);
    const std::vector<double> before(a, a + n);
    std::vector<int> blocks(n / kBlock + 1);
    std::vector<std::uint8_t> listed(n / kBlock + 1);
    const int count = listBlocks(columns.data(), int(columns.size()), blocks.data(), listed.data());
    QVERIFY(count < int(columns.size())); // several columns to a block
    updateRow(a, {pivot, blocks.data(), listed.data(), count}, 1.0);
    for (int k = 0; k < n; ++k) {
        if (pivot[k] == 0)
            QVERIFY2(sameBits(a[k], before[k]), qPrintable(QString::number(k)));
        else
            QVERIFY2(sameBits(a[k], addToEntry(before[k], -1.0 * pivot[k])),
                     qPrintable(QString::number(k)));
    }
    QCOMPARE(a[10], 0.0);
    QCOMPARE(a[11], 0.0);
}

void TestSimplex::kernelFormsAgree_data()
{
    QTest::addColumn<int>("form");
    QTest::newRow("scalar") << int(KernelForm::Scalar);
    QTest::newRow("avx2") << int(KernelForm::Avx2);
    QTest::newRow("avx512") << int(KernelForm::Avx512);
}

// Every form of the row update the processor may run gives the scalar rule's bits,
// on rows of mixed magnitudes with cancellations and tiny entries.
void TestSimplex::kernelFormsAgree()
{
    QFETCH(int, form);
    if (!kernelFormAvailable(KernelForm(form)))
        QSKIP("this processor lacks that vector unit");
    const int n = 301;
    DenseMatrix rows;
    rows.allocate(3, n);
    double *pivot = rows.row(1);
    std::uint64_t state = 12345;
    auto next = [&] { // a small fixed generator
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(state >> 11) * 0x1.0p-53;
    };
    std::vector<int> columns;
    for (int k = 0; k < n; ++k) {
        const double u = next();
        pivot[k] = u < 0.3 ? 0.0 : (next() - 0.5) * std::pow(10.0, int(next() * 12) - 6);
        if (pivot[k] != 0)
            columns.push_back(k);
    }
    std::vector<int> blocks(n / kBlock + 1);
    std::vector<std::uint8_t> listed(n / kBlock + 1);
    const PivotRowView view{
        pivot, blocks.data(), listed.data(),
        listBlocks(columns.data(), int(columns.size()), blocks.data(), listed.data())};
    for (int round = 0; round < 50; ++round) {
        const double v = (next() - 0.5) * std::pow(10.0, int(next() * 8) - 4);
        double *a = rows.row(2);
        double *b = rows.row(3);
        for (int k = 0; k < n; ++k) {
            const double u = next();
            a[k] = b[k] = u < 0.2   ? v * pivot[k] * (1 + 1e-14) // cancels
                          : u < 0.3 ? 1e-12 * next()             // tiny
                                    : (next() - 0.5) * std::pow(10.0, int(next() * 10) - 5);
        }
        updateRowWith(KernelForm(form), a, view, v);
        updateRowWith(KernelForm::Scalar, b, view, v);
        for (int k = 0; k < n; ++k)
            QVERIFY2(sameBits(a[k], b[k]), qPrintable(QString::number(k)));
    }
}

void TestSimplex::corpus_data()
{
    QTest::addColumn<TinyProgramme>("programme");
    QTest::addColumn<int>("status");
    QTest::addColumn<double>("cost");
    QTest::addColumn<std::vector<double>>("x");
    QTest::addColumn<int>("pivots");
    QTest::addColumn<int>("flips");

    QTest::newRow("within-bounds-at-lower-no-step")
        << TinyProgramme{{{0, 10, {1, 1}}}, {{0, 5, 1}, {0, 5, 2}}} << 0 << 0.0
        << std::vector<double>{0, 0} << 0 << 0;
    QTest::newRow("lower-bounds-start-the-rows")
        << TinyProgramme{{{0, 10, {1, 1}}}, {{2, 5, 1}, {1, 5, 2}}} << 0 << 4.0
        << std::vector<double>{2, 1} << 0 << 0;
    QTest::newRow("whole-range-fits-flip-only") << TinyProgramme{{{-5, 5, {1}}}, {{0, 2, -1}}} << 0
                                                << -2.0 << std::vector<double>{2} << 0 << 1;
    QTest::newRow("small-diet") << TinyProgramme{{{10, 10, {1, 1}}, {2, 3, {0.1, 0.4}}},
                                                 {{0, 10, 2}, {0, 10, 3}}}
                                << 0 << 70.0 / 3 << std::vector<double>{20.0 / 3, 10.0 / 3} << -1
                                << -1;
    QTest::newRow("row-below-no-column-with-range")
        << TinyProgramme{{{5, 10, {1, 0}}}, {{1, 1, 1}, {0, 4, 1}}} << -1 << 1.0
        << std::vector<double>{1, 0} << 0 << 0;
    QTest::newRow("row-out-of-reach-after-flip") << TinyProgramme{{{2, 3, {1}}}, {{0, 1, 1}}} << -1
                                                 << 1.0 << std::vector<double>{1} << 0 << 1;
    QTest::newRow("second-row-fails")
        << TinyProgramme{{{1, 2, {1, 1}}, {5, 6, {1, 0}}}, {{0, 3, 1}, {0, 3, 1}}} << -2 << -1.0
        << std::vector<double>{} << -1 << -1;
    QTest::newRow("fixed-column-never-enters")
        << TinyProgramme{{{5, 5, {1, 1}}}, {{2, 2, -100}, {0, 10, 1}}} << 0 << -197.0
        << std::vector<double>{2, 3} << -1 << -1;
    QTest::newRow("all-prices-zero") << TinyProgramme{{{3, 4, {1, 2}}}, {{0, 5, 0}, {0, 5, 0}}} << 0
                                     << 0.0 << std::vector<double>{3, 0} << 1 << 0;
    QTest::newRow("exact-row-bounds-meet")
        << TinyProgramme{{{21.02, 21.02, {1, 1}}, {0, 50, {2, 1}}}, {{0, 100, 1}, {0, 100, 3}}} << 0
        << 21.02 << std::vector<double>{21.02, 0} << -1 << -1;
    // 100 % of 111.411 t in one fixed column is 111.41099999999999 t: one unit in the
    // last place below the output, and no column can move; rounding is no refusal
    QTest::newRow("fixed-inclusions-off-by-rounding")
        << TinyProgramme{{{111.411, 111.411, {1, 1}}},
                         {{0, 0, 4000}, {100 * (111.411 / 100), 100 * (111.411 / 100), 2000}}}
        << 0 << 2000 * 111.41099999999999 << std::vector<double>{0, 111.41099999999999} << 0 << 0;
    QTest::newRow("fixed-inclusions-really-short")
        << TinyProgramme{{{111.411, 111.411, {1, 1}}}, {{0, 0, 4000}, {111.41, 111.41, 2000}}} << -1
        << 2000 * 111.41 << std::vector<double>{0, 111.41} << 0 << 0;
    QTest::newRow("degenerate-ratio-ties")
        << TinyProgramme{{{0, 4, {1, 1, 0}}, {0, 4, {1, 0, 1}}, {0, 4, {1, 1, 1}}},
                         {{0, 4, -3}, {0, 4, -2}, {0, 4, -2}}}
        << 0 << -12.0 << std::vector<double>{4, 0, 0} << -1 << -1;
}

// Each tiny programme ends with its known status, cost, amounts and step counts (-1:
// not checked); the amounts found lie within every bound.
void TestSimplex::corpus()
{
    QFETCH(TinyProgramme, programme);
    QFETCH(int, status);
    QFETCH(double, cost);
    QFETCH(std::vector<double>, x);
    QFETCH(int, pivots);
    QFETCH(int, flips);
    const Programme p = programmeOf(programme);
    FinalTableau tableau;
    const Solution solution = solve(p, nullptr, &tableau);
    QCOMPARE(solution.error, SolveError::None);
    QCOMPARE(solution.failing.label(), status);
    QCOMPARE(solution.optimal(), status == 0);
    const SolverStats &stats = solution.stats;
    if (pivots >= 0)
        QCOMPARE(stats.pivots, pivots);
    if (flips >= 0)
        QCOMPARE(stats.flips, flips);
    QCOMPARE(stats.cycleBreaks, 0);
    if (x.empty())
        return;
    QVERIFY(std::fabs(solution.cost - cost) <= 1e-9 * std::max(1.0, std::fabs(cost)));
    for (std::size_t j = 0; j < x.size(); ++j)
        QVERIFY2(std::fabs(solution.values[j] - x[j]) <= 1e-9,
                 qPrintable(QString::number(solution.values[j], 'g', 17)));
    if (status == 0)
        QVERIFY(worstViolation(p, solution.values) <= 1e-9);
    if (status == 0 && flips == 1 && pivots == 0) { // a flip exchanges nothing
        QCOMPARE(tableau.columnLabel[1], 1);
        QCOMPARE(tableau.rowLabel[1], -1);
    }
}

// The feasibility check gives the full solver's verdict and a point within every bound,
// but no cost.
void TestSimplex::feasibilityCheckGivesNoCost()
{
    const Programme p =
        programmeOf({{{10, 10, {1, 1}}, {2, 3, {0.1, 0.4}}}, {{0, 10, 2}, {0, 10, 3}}});
    const Solution feasible = checkFeasibility(p);
    QVERIFY(feasible.optimal());
    QVERIFY(worstViolation(p, feasible.values) <= 1e-9);
    QCOMPARE(feasible.cost, 0.0);
    const Solution infeasible = checkFeasibility(programmeOf({{{2, 3, {1}}}, {{0, 1, 1}}}));
    QCOMPARE(infeasible.outcome, Outcome::Infeasible);
    QVERIFY(infeasible.failing.isRow());
    QCOMPARE(infeasible.failing.row(), RowIndex(1));
}

// A programme whose tableau could not be held is refused as an overflow, never reported
// as solved (an optimal outcome alone would read as a solution).
void TestSimplex::tooLargeForTheTableauIsNoSolution()
{
    Programme p;
    for (int j = 0; j < 3163; ++j) // 3163 × 3163 entries: just over the capacity
        p.addColumn(0, 1, 1);
    for (int i = 0; i < 3163; ++i)
        p.addRow(0, 1);
    QVERIFY(!tableauFits(p.rowCount(), p.columnCount()));
    const Solution solution = solve(p);
    QCOMPARE(solution.error, SolveError::Overflow);
    QCOMPARE(solution.stats.pivots + solution.stats.flips, 0);
    QVERIFY(!solution.hasValues());
}

// After every pivot (not after a flip) the bar gets the objective, minus the cost so
// far, rounded to a whole number.
void TestSimplex::progressFollowsTheObjective()
{
    const Programme p =
        programmeOf({{{10, 10, {1, 1}}, {2, 3, {0.1, 0.4}}}, {{0, 10, 200}, {0, 10, 300}}});
    Recorder bar;
    const Solution solution = solve(p, &bar);
    // x1 flips to 10 (objective -2000, no report), a degenerate pivot (-2000), then
    // the protein row is met at cost 7000/3
    QCOMPARE(solution.stats.flips, 1);
    QCOMPARE(solution.stats.pivots, 2);
    QCOMPARE(bar.positions, (std::vector<int>{-2000, -2333}));
    QCOMPARE(solution.cost, 7000.0 / 3);
}

QTEST_APPLESS_MAIN(TestSimplex)
#include "tst_simplex.moc"
