// The row update shared between threads: every row is done exactly once, and a solve on
// several threads gives the same bits, pivots and flips as on one.

#include "helper_randomproblem.h"

#include "calc/assembly.h"
#include "lp/rowteam.h"
#include "lp/simplex.h"

#include <QTest>

#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

using namespace calc;
using lp::RowTeam;

Q_DECLARE_METATYPE(calctest::Flavour)

namespace
{

struct Solved {
    lp::SolverStats stats;
    int status = 0;
    std::vector<double> columns;
    std::vector<double> rows;
    double objective = 0;
};

Solved solveOn(int threads, const calctest::CaseShape &shape)
{
    qputenv("KORMOPLAN_SOLVER_THREADS", QByteArray::number(threads));
    auto selection = std::make_unique<Selection>();
    const calctest::SampleCase c = calctest::makeCase(*selection, shape);
    const std::optional<AssembledProgramme> assembled =
        assembleProgramme(*selection, c.useFullUse, calctest::noRelaxation(), c.lossNorm);
    const lp::Solution solution = lp::solve(assembled->programme);
    Solved s;
    s.stats = solution.stats;
    s.status = solution.failing.label();
    s.columns = solution.values;
    s.rows = solution.activities;
    s.objective = solution.cost;
    qunsetenv("KORMOPLAN_SOLVER_THREADS");
    return s;
}

bool sameBits(const std::vector<double> &a, const std::vector<double> &b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

} // namespace

class tst_rowteam final : public QObject
{
    Q_OBJECT

private slots:
    void everyRowOnce_data();
    void everyRowOnce();
    void sameBitsOnAnyThreadCount_data();
    void sameBitsOnAnyThreadCount();
};

void tst_rowteam::everyRowOnce_data()
{
    QTest::addColumn<int>("threads");
    QTest::newRow("2 threads") << 2;
    QTest::newRow("3 threads") << 3;
    QTest::newRow("more threads than rows") << 9;
}

// Many runs in a row, as pivots come: no row missed or done twice, also for counts
// smaller than the number of threads, and the team ends cleanly.
void tst_rowteam::everyRowOnce()
{
    QFETCH(int, threads);
    RowTeam team(threads);
    QCOMPARE(team.threads(), threads);
    std::vector<std::atomic<int>> hits(64);
    for (int run = 0; run < 3000; ++run) {
        const int count = run % 64;
        for (auto &h : hits)
            h.store(0);
        const std::function<void(int, int)> part = [&](int begin, int end) {
            for (int t = begin; t < end; ++t)
                hits[size_t(t)].fetch_add(1);
        };
        team.run(count, part);
        for (int t = 0; t < 64; ++t)
            QCOMPARE(hits[size_t(t)].load(), t < count ? 1 : 0);
    }
}

void tst_rowteam::sameBitsOnAnyThreadCount_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<calctest::Flavour>("flavour");
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 2; ++seed) {
        QTest::addRow("2 threads, seed %d", seed) << 2 << calctest::Flavour::Ordinary << seed;
        QTest::addRow("3 threads, seed %d", seed) << 3 << calctest::Flavour::Ordinary << seed;
        QTest::addRow("2 threads, degenerate, seed %d", seed)
            << 2 << calctest::Flavour::Degenerate << seed;
    }
}

// Programmes large enough for some pivots to be shared out: the same solution to the
// last bit, the same pivots and flips.
void tst_rowteam::sameBitsOnAnyThreadCount()
{
    QFETCH(int, threads);
    QFETCH(calctest::Flavour, flavour);
    QFETCH(int, seed);
    const calctest::CaseShape shape{15, 40, 25, std::uint64_t(seed), flavour, 1.0, false};
    const Solved one = solveOn(1, shape);
    const Solved many = solveOn(threads, shape);
    QCOMPARE(one.stats.sharedPivots, 0);
    QVERIFY2(many.stats.sharedPivots > 0, "no pivot was large enough to be shared");
    QCOMPARE(many.stats.threads, threads);
    QCOMPARE(many.status, one.status);
    QCOMPARE(many.stats.pivots, one.stats.pivots);
    QCOMPARE(many.stats.flips, one.stats.flips);
    QVERIFY(sameBits(many.columns, one.columns));
    QVERIFY(sameBits(many.rows, one.rows));
    QCOMPARE(std::memcmp(&many.objective, &one.objective, sizeof(double)), 0);
}

QTEST_GUILESS_MAIN(tst_rowteam)
#include "tst_rowteam.moc"
