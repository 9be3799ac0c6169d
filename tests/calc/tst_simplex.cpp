// The simplex solver: its tolerance and snapping rule, the row-update kernel, a corpus of
// tiny programmes with known answers, programmes that make the method cycle, and random
// programmes on which the engine must take exactly the steps of a plain transcription
// of the method and end with the same bits.

#include "helper_randomproblem.h"
#include "helper_referencesimplex.h"
#include "helper_tinyprogramme.h"

#include "calc/assembly.h"
#include "calc/simplex.h"
#include "calc/simplexkernel.h"
#include "calc/simplextolerance.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <memory>

using namespace calc;
using namespace calctest;

Q_DECLARE_METATYPE(calctest::TinyProgramme)
Q_DECLARE_METATYPE(std::vector<double>)
Q_DECLARE_METATYPE(calctest::CaseShape)

namespace
{

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Largest amount by which a row activity or a column lies outside its bounds.
double worstViolation(const ProblemRecord &rec, const TinyProgramme &p)
{
    double worst = 0;
    for (int i = 1; i <= rec.rowCount; ++i) {
        double activity = 0;
        for (int j = 1; j <= rec.columnCount; ++j)
            activity += p.rows[i - 1].a[j - 1] * rec.columnValue[j];
        worst = std::max({worst, p.rows[i - 1].lower - activity, activity - p.rows[i - 1].upper});
    }
    for (int j = 1; j <= rec.columnCount; ++j)
        worst = std::max({worst, p.columns[j - 1].lower - rec.columnValue[j],
                          rec.columnValue[j] - p.columns[j - 1].upper});
    return worst;
}

class Recorder final : public SolverProgress
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

// The programme of a sample case as assembled, to check the amounts against.
TinyProgramme assembledProgramme(const CaseShape &shape)
{
    auto rec = std::make_unique<ProblemRecord>();
    const SampleCase c = makeCase(*rec, shape);
    if (!assembleProgramme(*rec, c.useFullUse, rec->rowRelax, c.lossNorm))
        return {};
    return programmeOf(*rec);
}

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
    void cyclingEndsWithTheOptimum_data();
    void cyclingEndsWithTheOptimum();
    void sameStepsAsTheMethod_data();
    void sameStepsAsTheMethod();
    void accuracyLostAndRegained();
    void driftSetRightInPlace_data();
    void driftSetRightInPlace();
    void lostAccuracyIsNoSolution_data();
    void lostAccuracyIsNoSolution();
    void feasibilityCheckKeepsPrices();
    void nothingAssembledIsNoSolution();
    void progressFollowsTheObjective();
};

// ε is 3e-11 as the 8-byte real 3DC07E1F E91B0B70, and the solver records it.
void TestSimplex::toleranceIsTheExactReal()
{
    std::uint64_t bits;
    const double eps = solverTolerance();
    std::memcpy(&bits, &eps, sizeof bits);
    QCOMPARE(bits, std::uint64_t{0x3DC07E1FE91B0B70});
    QCOMPARE(eps, 3e-11);
    auto rec = std::make_unique<ProblemRecord>();
    setProgramme(*rec, {{{0, 1, {1}}}, {{0, 1, 1}}});
    solveProgramme(*rec, nullptr);
    QVERIFY(sameBits(rec->tolerance, eps));
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
    const int n = 203;    // not a whole number of blocks
    CoefficientList rows; // aligned and padded, as the tableau's rows are
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
    CoefficientList rows;
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
    auto rec = std::make_unique<ProblemRecord>();
    setProgramme(*rec, programme);
    const SolverStats stats = solveProgramme(*rec, nullptr);
    QCOMPARE(rec->solveStatus, status);
    QVERIFY(!rec->coef.allocated());
    if (pivots >= 0)
        QCOMPARE(stats.pivots, pivots);
    if (flips >= 0)
        QCOMPARE(stats.flips, flips);
    QCOMPARE(stats.cycleBreaks, 0);
    if (x.empty())
        return;
    QVERIFY(std::fabs(-rec->objective - cost) <= 1e-9 * std::max(1.0, std::fabs(cost)));
    for (std::size_t j = 0; j < x.size(); ++j)
        QVERIFY2(std::fabs(rec->columnValue[int(j) + 1] - x[j]) <= 1e-9,
                 qPrintable(QString::number(rec->columnValue[int(j) + 1], 'g', 17)));
    if (status == 0)
        QVERIFY(worstViolation(*rec, programme) <= 1e-9);
    if (flips == 1 && pivots == 0) { // a flip exchanges nothing
        QCOMPARE(rec->columnLabel[1], 1);
        QCOMPARE(rec->rowLabel[1], -1);
    }
}

void TestSimplex::cyclingEndsWithTheOptimum_data()
{
    QTest::addColumn<TinyProgramme>("programme");
    QTest::addColumn<bool>("full");
    QTest::addColumn<double>("cost");
    QTest::newRow("beale-cost-phase") << beale() << true << -1.25;
    QTest::newRow("first-column-rule-feasibility-phase") << feasibilityCycle() << false << 0.0;
}

// The method alone goes round for ever (the plain transcription gives up); the engine
// sees the basis repeat, finishes the phase by the smallest-index rule and ends right.
void TestSimplex::cyclingEndsWithTheOptimum()
{
    QFETCH(TinyProgramme, programme);
    QFETCH(bool, full);
    QFETCH(double, cost);
    auto ref = std::make_unique<ProblemRecord>();
    setProgramme(*ref, programme);
    QVERIFY(referenceSolve(*ref, full, 5000).gaveUp);

    auto rec = std::make_unique<ProblemRecord>();
    setProgramme(*rec, programme);
    const SolverStats stats = full ? solveProgramme(*rec, nullptr) : checkFeasibility(*rec);
    QCOMPARE(rec->solveStatus, 0);
    QCOMPARE(stats.cycleBreaks, 1);
    if (full)
        QVERIFY(std::fabs(-rec->objective - cost) < 1e-12);
    // the point reached satisfies every bound: solve fully to read it back
    setProgramme(*rec, programme);
    solveProgramme(*rec, nullptr);
    QCOMPARE(rec->solveStatus, 0);
    QVERIFY(worstViolation(*rec, programme) <= 1e-9);
}

void TestSimplex::sameStepsAsTheMethod_data()
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
void TestSimplex::sameStepsAsTheMethod()
{
    QFETCH(CaseShape, shape);
    QFETCH(bool, full);
    auto rec = std::make_unique<ProblemRecord>();
    auto ref = std::make_unique<ProblemRecord>();
    const SampleCase c = makeCase(*rec, shape);
    makeCase(*ref, shape);
    QVERIFY(assembleProgramme(*rec, c.useFullUse, rec->rowRelax, c.lossNorm));
    QVERIFY(assembleProgramme(*ref, c.useFullUse, ref->rowRelax, c.lossNorm));
    const SolverStats stats = full ? solveProgramme(*rec, nullptr) : checkFeasibility(*rec);
    const ReferenceResult expected = referenceSolve(*ref, full);
    QVERIFY(!expected.gaveUp);
    QCOMPARE(stats.cycleBreaks, 0);
    QCOMPARE(stats.pivots, expected.pivots);
    QCOMPARE(stats.flips, expected.flips);
    QCOMPARE(rec->solveStatus, ref->solveStatus);
    QVERIFY(sameBits(rec->objective, ref->objective));
    for (int j = 1; j <= rec->columnCount; ++j)
        QVERIFY2(sameBits(rec->columnValue[j], ref->columnValue[j]),
                 qPrintable(QString::number(j)));
    for (int i = 1; i <= rec->rowCount; ++i)
        QVERIFY2(sameBits(rec->rowValue[i], ref->rowValue[i]), qPrintable(QString::number(i)));
    for (int j = 1; j <= rec->columnCount; ++j)
        QCOMPARE(rec->columnLabel[j], ref->columnLabel[j]);
}

// A tight-stock programme on which the method, left alone, pivots on rounding noise
// and ends with amounts that break the norms: the engine notices that its figures no
// longer match the programme, builds a fresh tableau for the last sound basis and
// ends with amounts within every bound.
void TestSimplex::accuracyLostAndRegained()
{
    const CaseShape shape{6, 30, 8, 149 * 7919, Flavour::TightStock, 1.0};
    auto ref = std::make_unique<ProblemRecord>();
    const SampleCase c = makeCase(*ref, shape);
    QVERIFY(assembleProgramme(*ref, c.useFullUse, ref->rowRelax, c.lossNorm));
    const TinyProgramme original = programmeOf(*ref);
    QVERIFY(!referenceSolve(*ref, true).gaveUp);
    QCOMPARE(ref->solveStatus, 0);
    QVERIFY(worstViolation(*ref, original) > 1.0); // tonnes outside a bound

    auto rec = std::make_unique<ProblemRecord>();
    setProgramme(*rec, original);
    const SolverStats stats = solveProgramme(*rec, nullptr);
    QCOMPARE(rec->solveStatus, 0);
    QVERIFY(stats.rebuilds >= 1);
    QVERIFY(worstViolation(*rec, original) < 1e-6);
    QVERIFY(-rec->objective > -ref->objective); // the method's "optimum" was no recipe
}

// Figures that drift from the programme get a fresh tableau for the basis in hand and
// the method goes on: with the drift limit narrowed so that this happens many times,
// the solve ends where it ends without, its amounts within every bound.
void TestSimplex::driftSetRightInPlace_data()
{
    QTest::addColumn<CaseShape>("shape");
    QTest::newRow("tight stock 10x30x20") << CaseShape{10, 30, 20, 11, Flavour::TightStock, 1.0};
    QTest::newRow("tight stock 8x25x12") << CaseShape{8, 25, 12, 12, Flavour::TightStock, 0.6};
}

void TestSimplex::driftSetRightInPlace()
{
    QFETCH(CaseShape, shape);
    const TinyProgramme original = assembledProgramme(shape);
    QVERIFY(!original.rows.empty());
    auto plain = std::make_unique<ProblemRecord>();
    setProgramme(*plain, original);
    solveProgramme(*plain, nullptr);

    auto rec = std::make_unique<ProblemRecord>();
    setProgramme(*rec, original);
    SolverLimits limits;
    limits.drift = 1e-12; // fresh figures are right to about 1e-14
    const SolverStats stats = solveProgramme(*rec, nullptr, nullptr, limits);
    QCOMPARE(rec->programmeError, ProgrammeError::None);
    QVERIFY2(stats.refreshes >= 2, qPrintable(QString::number(stats.refreshes)));
    QCOMPARE(rec->solveStatus, plain->solveStatus);
    if (rec->solveStatus == 0) {
        QVERIFY(std::fabs(rec->objective - plain->objective) <=
                1e-9 * std::max(1.0, std::fabs(plain->objective)));
        QVERIFY(worstViolation(*rec, original) < 1e-6);
    }
}

// When fresh tableaux do not bring the figures right within the limits, the solve
// says so (programmeError), never that its amounts are an optimum or a verdict on a
// row. The program's limits are narrowed here to reach that end on small cases.
void TestSimplex::lostAccuracyIsNoSolution_data()
{
    QTest::addColumn<CaseShape>("shape");
    QTest::addColumn<double>("noise");
    QTest::addColumn<int>("rebuilds");
    QTest::addColumn<bool>("full");
    const CaseShape noisy{6, 30, 8, 149 * 7919, Flavour::TightStock, 1.0};
    const CaseShape ordinary{4, 10, 6, 5, Flavour::Ordinary, 1.0};
    QTest::newRow("pivots on noise, no fresh tableau") << noisy << kNoiseLimit << 0 << true;
    QTest::newRow("every check fails, none allowed") << ordinary << -1.0 << 0 << true;
    QTest::newRow("every check fails, 3 allowed") << ordinary << -1.0 << 3 << true;
    QTest::newRow("feasibility check, 1 allowed") << ordinary << -1.0 << 1 << false;
}

void TestSimplex::lostAccuracyIsNoSolution()
{
    QFETCH(CaseShape, shape);
    QFETCH(double, noise);
    QFETCH(int, rebuilds);
    QFETCH(bool, full);
    auto rec = std::make_unique<ProblemRecord>();
    setProgramme(*rec, assembledProgramme(shape));
    SolverLimits limits;
    limits.noise = noise;
    limits.rebuilds = rebuilds;
    const SolverStats stats =
        full ? solveProgramme(*rec, nullptr, nullptr, limits) : checkFeasibility(*rec, limits);
    QCOMPARE(rec->programmeError, ProgrammeError::LostAccuracy);
    QCOMPARE(stats.rebuilds, rebuilds);
    QVERIFY(!rec->coef.allocated());
}

// The feasibility check answers like the full solver but leaves the prices in
// columnValue and releases the coefficient list.
void TestSimplex::feasibilityCheckKeepsPrices()
{
    auto rec = std::make_unique<ProblemRecord>();
    const TinyProgramme p{{{10, 10, {1, 1}}, {2, 3, {0.1, 0.4}}}, {{0, 10, 2}, {0, 10, 3}}};
    setProgramme(*rec, p);
    checkFeasibility(*rec);
    QCOMPARE(rec->solveStatus, 0);
    QVERIFY(!rec->coef.allocated());
    QCOMPARE(std::fabs(rec->columnValue[1]), 2.0);
    QCOMPARE(std::fabs(rec->columnValue[2]), 3.0);
    setProgramme(*rec, {{{2, 3, {1}}}, {{0, 1, 1}}});
    checkFeasibility(*rec);
    QCOMPARE(rec->solveStatus, -1);
}

// A programme whose coefficient list could not be held is refused as an overflow, never
// reported as solved (status 0 alone would read as a solution).
void TestSimplex::nothingAssembledIsNoSolution()
{
    auto rec = std::make_unique<ProblemRecord>();
    setProgramme(*rec, {{{2, 3, {1}}}, {{0, 5, 1}}});
    rec->coef.release();
    const SolverStats stats = solveProgramme(*rec, nullptr);
    QCOMPARE(rec->programmeError, ProgrammeError::Overflow);
    QCOMPARE(stats.pivots + stats.flips, 0);
}

// After every pivot (not after a flip) the bar gets the objective, minus the cost so
// far, rounded to a whole number; the feasibility check drives no bar.
void TestSimplex::progressFollowsTheObjective()
{
    auto rec = std::make_unique<ProblemRecord>();
    setProgramme(*rec, {{{10, 10, {1, 1}}, {2, 3, {0.1, 0.4}}}, {{0, 10, 200}, {0, 10, 300}}});
    Recorder bar;
    const SolverStats stats = solveProgramme(*rec, &bar);
    // x1 flips to 10 (objective -2000, no report), a degenerate pivot (-2000), then
    // the protein row is met at cost 7000/3
    QCOMPARE(stats.flips, 1);
    QCOMPARE(stats.pivots, 2);
    QCOMPARE(bar.positions, (std::vector<int>{-2000, -2333}));
    QCOMPARE(rec->objective, -7000.0 / 3);

    const SampleCase c = makeCase(*rec, {4, 8, 5, 3, Flavour::Ordinary, 1.0});
    QVERIFY(assembleProgramme(*rec, c.useFullUse, rec->rowRelax, c.lossNorm));
    const SolverStats more = solveProgramme(*rec, &bar);
    QVERIFY(more.pivots > 0);
    QVERIFY(bar.positions.size() <= std::size_t(3 + more.pivots));
}

QTEST_APPLESS_MAIN(TestSimplex)
#include "tst_simplex.moc"
