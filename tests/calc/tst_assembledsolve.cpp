// The solver on the programmes the assembly builds, and on programmes that make the
// method cycle: the engine takes exactly the steps of a plain transcription of the
// method and ends with the same bits; it breaks cycles; it sees its figures drift or
// lose their accuracy and sets them right, or says that it could not.

#include "helper_randomproblem.h"
#include "helper_referencesimplex.h"
#include "lp/tinyprogramme.h"

#include "calc/assembly.h"
#include "lp/finaltableau.h"
#include "lp/simplex.h"

#include <QTest>

#include <cmath>
#include <cstring>

using namespace calc;
using namespace calctest;
using lptest::TinyProgramme;

Q_DECLARE_METATYPE(lptest::TinyProgramme)
Q_DECLARE_METATYPE(calctest::CaseShape)

namespace
{

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class Recorder final : public lp::SolverProgress
{
public:
    void solverProgress(int position) override { positions.push_back(position); }
    std::vector<int> positions;
};

TinyProgramme beale()
{
    // Beale's programme: most negative reduced cost and first row among ties go round
    // a cycle of six degenerate pivots. Optimum x1 = x3 = 1, cost -5/4.
    return {
        {{-1000, 0, {0.25, -8, -1, 9}}, {-1000, 0, {0.5, -12, -0.5, 3}}, {-1000, 1, {0, 0, 1, 0}}},
        {{0, 100, -0.75}, {0, 100, 20}, {0, 100, -0.5}, {0, 100, 6}}};
}

TinyProgramme feasibilityCycle()
{
    // Found by search: the feasibility phase's first-column rule comes back to a basis
    // it has had and never ends; the programme is feasible.
    return {{{0, 5, {-2, -3, 1, 3, -3, -2}},
             {0, 5, {-3, -1, 2, 2, 2, -1}},
             {-5, -5, {3, -3, -1, -3, 1, 0}},
             {0, 0, {2, 2, 3, 2, -3, -3}}},
            {{0, 3, 1}, {0, 3, -1}, {0, 2, 0}, {0, 3, -1}, {0, 1, 2}, {0, 2, 2}}};
}

// The programme of a sample case as assembled.
lp::Programme assembled(const CaseShape &shape)
{
    Selection selection;
    const SampleCase c = makeCase(selection, shape);
    std::optional<AssembledProgramme> out =
        assembleProgramme(selection, c.useFullUse, noRelaxation(), c.lossNorm);
    return out ? std::move(out->programme) : lp::Programme();
}

} // namespace

class TestAssembledSolve : public QObject
{
    Q_OBJECT

private slots:
    void cyclingEndsWithTheOptimum_data();
    void cyclingEndsWithTheOptimum();
    void sameStepsAsTheMethod_data();
    void sameStepsAsTheMethod();
    void accuracyLostAndRegained();
    void driftSetRightInPlace_data();
    void driftSetRightInPlace();
    void lostAccuracyIsNoSolution_data();
    void lostAccuracyIsNoSolution();
    void progressAtMostOncePerPivot();
};

void TestAssembledSolve::cyclingEndsWithTheOptimum_data()
{
    QTest::addColumn<TinyProgramme>("programme");
    QTest::addColumn<bool>("full");
    QTest::addColumn<double>("cost");
    QTest::newRow("beale-cost-phase") << beale() << true << -1.25;
    QTest::newRow("first-column-rule-feasibility-phase") << feasibilityCycle() << false << 0.0;
}

// The method alone goes round for ever (the plain transcription gives up); the engine
// sees the basis repeat, finishes the phase by the smallest-index rule and ends right.
void TestAssembledSolve::cyclingEndsWithTheOptimum()
{
    QFETCH(TinyProgramme, programme);
    QFETCH(bool, full);
    QFETCH(double, cost);
    const lp::Programme p = lptest::programmeOf(programme);
    QVERIFY(referenceSolve(p, full, 5000).gaveUp);

    const lp::Solution solution = full ? lp::solve(p) : lp::checkFeasibility(p);
    QVERIFY(solution.optimal());
    QCOMPARE(solution.stats.cycleBreaks, 1);
    if (full)
        QVERIFY(std::fabs(solution.cost - cost) < 1e-12);
    // the point reached satisfies every bound: solve fully to read it back
    const lp::Solution again = lp::solve(p);
    QVERIFY(again.optimal());
    QVERIFY(lptest::worstViolation(p, again.values) <= 1e-9);
}

void TestAssembledSolve::sameStepsAsTheMethod_data()
{
    QTest::addColumn<CaseShape>("shape");
    QTest::addColumn<bool>("full");
    const char *names[] = {"ordinary", "tight-stock", "degenerate", "unreachable"};
    for (int seed = 1; seed <= 40; ++seed)
        for (int flavour = 0; flavour < 4; ++flavour) {
            CaseShape shape;
            shape.seed = std::uint64_t(seed);
            shape.flavour = Flavour(flavour);
            shape.feeds = 1 + seed % 5;
            shape.raws = 2 + seed % 9;
            shape.chars = 1 + seed % 7;
            shape.pairShare = seed % 4 == 0 ? 1.0 : 0.6;
            for (bool full : {true, false})
                QTest::addRow("%s-%d-%s", names[flavour], seed, full ? "full" : "check")
                    << shape << full;
        }
}

// On random programmes the engine makes exactly the flips and pivots of the plain
// transcription and ends with the same status, objective and values, bit for bit.
void TestAssembledSolve::sameStepsAsTheMethod()
{
    QFETCH(CaseShape, shape);
    QFETCH(bool, full);
    const lp::Programme p = assembled(shape);
    QVERIFY(p.rowCount() > 0);
    lp::FinalTableau tableau;
    const lp::Solution solution = full ? lp::solve(p, nullptr, &tableau) : lp::checkFeasibility(p);
    const ReferenceResult expected = referenceSolve(p, full);
    QVERIFY(!expected.gaveUp);
    QCOMPARE(solution.stats.cycleBreaks, 0);
    QCOMPARE(solution.stats.pivots, expected.pivots);
    QCOMPARE(solution.stats.flips, expected.flips);
    QCOMPARE(solution.failing.label(), expected.solveStatus);
    if (full)
        QVERIFY(sameBits(-solution.cost, expected.objective));
    for (int j = 1; j <= p.columnCount(); ++j)
        QVERIFY2(sameBits(solution.values[j - 1], expected.columnValue[j]),
                 qPrintable(QString::number(j)));
    for (int i = 1; i <= p.rowCount(); ++i)
        QVERIFY2(sameBits(solution.activities[i - 1], expected.rowValue[i]),
                 qPrintable(QString::number(i)));
    if (full && solution.optimal()) // the basis it ended in
        for (int j = 1; j <= p.columnCount(); ++j)
            QCOMPARE(tableau.columnLabel[j], expected.columnLabel[j]);
}

// A tight-stock programme on which the method, left alone, pivots on rounding noise
// and ends with amounts that break the norms: the engine notices that its figures no
// longer match the programme, builds a fresh tableau for the last sound basis and
// ends with amounts within every bound.
void TestAssembledSolve::accuracyLostAndRegained()
{
    const CaseShape shape{6, 30, 8, 149 * 7919, Flavour::TightStock, 1.0};
    const lp::Programme p = assembled(shape);
    const ReferenceResult ref = referenceSolve(p, true);
    QVERIFY(!ref.gaveUp);
    QCOMPARE(ref.solveStatus, 0);
    QVERIFY(lptest::worstViolation(p, std::vector<double>(ref.columnValue.begin() + 1,
                                                          ref.columnValue.end())) >
            1.0); // tonnes outside a bound

    const lp::Solution solution = lp::solve(p);
    QVERIFY(solution.optimal());
    QVERIFY(solution.stats.rebuilds >= 1);
    QVERIFY(lptest::worstViolation(p, solution.values) < 1e-6);
    QVERIFY(solution.cost > -ref.objective); // the method's "optimum" was no recipe
}

// Figures that drift from the programme get a fresh tableau for the basis in hand and
// the method goes on: with the drift limit narrowed so that this happens many times,
// the solve ends where it ends without, its amounts within every bound.
void TestAssembledSolve::driftSetRightInPlace_data()
{
    QTest::addColumn<CaseShape>("shape");
    QTest::newRow("tight stock 10x30x20") << CaseShape{10, 30, 20, 11, Flavour::TightStock, 1.0};
    QTest::newRow("tight stock 8x25x12") << CaseShape{8, 25, 12, 12, Flavour::TightStock, 0.6};
}

void TestAssembledSolve::driftSetRightInPlace()
{
    QFETCH(CaseShape, shape);
    const lp::Programme p = assembled(shape);
    QVERIFY(p.rowCount() > 0);
    const lp::Solution plain = lp::solve(p);

    lp::SolverLimits limits;
    limits.drift = 1e-12; // fresh figures are right to about 1e-14
    const lp::Solution solution = lp::solve(p, nullptr, nullptr, limits);
    QCOMPARE(solution.error, lp::SolveError::None);
    QVERIFY2(solution.stats.refreshes >= 2, qPrintable(QString::number(solution.stats.refreshes)));
    QCOMPARE(solution.failing, plain.failing);
    if (solution.optimal()) {
        QVERIFY(std::fabs(solution.cost - plain.cost) <=
                1e-9 * std::max(1.0, std::fabs(plain.cost)));
        QVERIFY(lptest::worstViolation(p, solution.values) < 1e-6);
    }
}

// When fresh tableaux do not bring the figures right within the limits, the solve
// says so (the error LostAccuracy), never that its amounts are an optimum or a verdict
// on a row. The program's limits are narrowed here to reach that end on small cases.
void TestAssembledSolve::lostAccuracyIsNoSolution_data()
{
    QTest::addColumn<CaseShape>("shape");
    QTest::addColumn<double>("noise");
    QTest::addColumn<int>("rebuilds");
    QTest::addColumn<bool>("full");
    const CaseShape noisy{6, 30, 8, 149 * 7919, Flavour::TightStock, 1.0};
    const CaseShape ordinary{4, 10, 6, 5, Flavour::Ordinary, 1.0};
    QTest::newRow("pivots on noise, no fresh tableau") << noisy << lp::kNoiseLimit << 0 << true;
    QTest::newRow("every check fails, none allowed") << ordinary << -1.0 << 0 << true;
    QTest::newRow("every check fails, 3 allowed") << ordinary << -1.0 << 3 << true;
    QTest::newRow("feasibility check, 1 allowed") << ordinary << -1.0 << 1 << false;
}

void TestAssembledSolve::lostAccuracyIsNoSolution()
{
    QFETCH(CaseShape, shape);
    QFETCH(double, noise);
    QFETCH(int, rebuilds);
    QFETCH(bool, full);
    const lp::Programme p = assembled(shape);
    lp::SolverLimits limits;
    limits.noise = noise;
    limits.rebuilds = rebuilds;
    const lp::Solution solution =
        full ? lp::solve(p, nullptr, nullptr, limits) : lp::checkFeasibility(p, limits);
    QCOMPARE(solution.error, lp::SolveError::LostAccuracy);
    QCOMPARE(solution.stats.rebuilds, rebuilds);
    QVERIFY(!solution.optimal());
}

// The bar is told at most once per pivot, and once at the start.
void TestAssembledSolve::progressAtMostOncePerPivot()
{
    const lp::Programme p = assembled({4, 8, 5, 3, Flavour::Ordinary, 1.0});
    Recorder bar;
    const lp::Solution solution = lp::solve(p, &bar);
    QVERIFY(solution.stats.pivots > 0);
    QVERIFY(bar.positions.size() <= std::size_t(1 + solution.stats.pivots));
}

QTEST_APPLESS_MAIN(TestAssembledSolve)
#include "tst_assembledsolve.moc"
