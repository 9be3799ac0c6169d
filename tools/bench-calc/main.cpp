// bench-calc: how fast the calculation engine is, in figures.
//
//   bench-calc [--runs N] [--only typical|large|capacity] [--seed S] [--threads N]
//              [--no-tables] [--no-glpsol]
//
// Cases: typical (10 feed types × 30 raw materials × 20 characteristics), large mill
// (25 × 40 × 30, every pair allowed, tight stock with full-use marks) and capacity
// (40 × 50 × 65, every pair allowed, every norm, tight stock with full-use marks:
// 2690 rows × 2000 columns). For each it prints the engine's assembly and solve time on
// one thread and on several (min and median of N runs; the results compared bit for
// bit), pivots, bound flips, time per step and per updated tableau entry, the share of
// the row update that threads can share and what 4 and 8 cores would give by that
// share, peak memory, glpsol's whole run on the same programme (free MPS) and the
// ratio; then the whole way from the tables (load, checks, assembly, solve, rounding).
// --threads N: the threads of the shared run (default: this machine's cores, up to 8).

#include "glpsolclock.h"
#include "helper_randomproblem.h"
#include "tablecase.h"

#include "calc/assembly.h"
#include "lp/lpexport.h"
#include "lp/rowteam.h"
#include "lp/simplex.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using namespace calc;
using calctest::CaseShape;

namespace
{

struct Options {
    int runs = 5;
    QString only;
    std::uint64_t seed = 1; // of the sample cases
    bool tables = true;
    bool glpsol = true;
    int threads = lp::RowTeam::threadsWanted();
};

struct Times {
    std::vector<double> seconds;
    double min() const { return *std::min_element(seconds.begin(), seconds.end()); }
    double median() const
    {
        std::vector<double> s = seconds;
        std::sort(s.begin(), s.end());
        return s[s.size() / 2];
    }
};

// Peak resident memory of the process since the last reset, in megabytes.
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

QString seconds(double s)
{
    return s < 1 ? QStringLiteral("%1 ms").arg(s * 1e3, 0, 'f', 2)
                 : QStringLiteral("%1 s").arg(s, 0, 'f', 3);
}

void print(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

struct EngineRun {
    lp::SolverStats stats;
    double solveSeconds = 0;
    double cost = 0;
    int status = 0;
    std::vector<double> columns; // tonnes of every column, to compare runs bit for bit
    double violation = 0;        // tonnes outside the farthest bound
};

// Tonnes by which the amounts miss the farthest bound of a row or column.
double worstViolation(const lp::Programme &programme, const std::vector<double> &x)
{
    double worst = 0;
    for (lp::ColIndex j(1); j.number() < int(x.size()); ++j)
        worst = std::max({worst, programme.columnLower(j) - x[j.number()],
                          x[j.number()] - programme.columnUpper(j)});
    for (lp::RowIndex i(1); i.number() <= programme.rowCount(); ++i) {
        double y = 0;
        for (const lp::Entry &e : programme.row(i))
            y += e.value * x[e.column.number()];
        worst = std::max({worst, programme.rowLower(i) - y, y - programme.rowUpper(i)});
    }
    return worst;
}

// One assembly and solve of the case; the time covers both.
EngineRun assembleAndSolve(Selection &selection, const CaseShape &shape, double *seconds)
{
    const calctest::SampleCase c = calctest::makeCase(selection, shape);
    QElapsedTimer clock;
    clock.start();
    const std::optional<AssembledProgramme> assembled =
        assembleProgramme(selection, c.useFullUse, calctest::noRelaxation(), c.lossNorm);
    const qint64 assembling = clock.nsecsElapsed();
    clock.start();
    EngineRun run;
    lp::Solution solution;
    solution.error = lp::SolveError::Overflow;
    if (assembled)
        solution = lp::solve(assembled->programme);
    run.stats = solution.stats;
    const double solved = clock.nsecsElapsed() / 1e9;
    *seconds = assembling / 1e9 + solved;
    run.solveSeconds = solved;
    run.cost = solution.cost;
    run.status = solution.error == lp::SolveError::Overflow       ? -1000
                 : solution.error == lp::SolveError::LostAccuracy ? -2000
                                                                  : solution.failing.label();
    run.columns.assign(1, 0.0); // 1-based
    run.columns.insert(run.columns.end(), solution.values.begin(), solution.values.end());
    run.violation = assembled ? worstViolation(assembled->programme, run.columns) : 0;
    return run;
}

struct EngineFigures {
    Times times;
    double solveMin = 1e300;
    double rowUpdateMin = 1e300; // of the run with the least solve time
    EngineRun last;
};

EngineFigures timeEngine(Selection &selection, const CaseShape &shape, int runs, int threads)
{
    qputenv("KORMOPLAN_SOLVER_THREADS", QByteArray::number(threads));
    EngineFigures f;
    for (int r = 0; r < runs; ++r) {
        double total = 0;
        f.last = assembleAndSolve(selection, shape, &total);
        f.times.seconds.push_back(total);
        if (f.last.solveSeconds < f.solveMin) {
            f.solveMin = f.last.solveSeconds;
            f.rowUpdateMin = f.last.stats.rowUpdateSeconds;
        }
    }
    return f;
}

bool sameBits(const EngineRun &a, const EngineRun &b)
{
    const size_t bytes = a.columns.size() * sizeof(double);
    return a.status == b.status && a.columns.size() == b.columns.size() &&
           std::memcmp(a.columns.data(), b.columns.data(), bytes) == 0 &&
           a.stats.pivots == b.stats.pivots && a.stats.flips == b.stats.flips;
}

void printEngine(const QString &label, const EngineFigures &f, int runs)
{
    const lp::SolverStats &st = f.last.stats;
    const double steps = double(std::max<std::int64_t>(1, st.pivots + st.flips));
    const double perEntry = st.updatedEntries ? f.solveMin * 1e9 / double(st.updatedEntries) : 0;
    print(QStringLiteral("  %1 assemble+solve min %2   median %3   (%4 runs)")
              .arg(label, seconds(f.times.min()), seconds(f.times.median()))
              .arg(runs));
    print(QStringLiteral("  %1 solve %2, %3 µs per step, %4 ns per entry; threads used %5, "
                         "pivots shared %6; row update %7")
              .arg(label, seconds(f.solveMin))
              .arg(f.solveMin * 1e6 / steps, 0, 'f', 2)
              .arg(perEntry, 0, 'f', 3)
              .arg(st.threads)
              .arg(st.sharedPivots)
              .arg(seconds(f.rowUpdateMin)));
}

// glpsol's whole run on the same programme beside the engine's best times.
void benchGlpsol(const QString &mps, double engineCost, double best, double bestWhole, int runs)
{
    const GlpsolTiming g = timeGlpsol(mps, std::max(1, std::min(runs, 3)));
    if (!g.available) {
        print(QStringLiteral("  glpsol                      not available"));
    } else {
        const double agreement = std::fabs(g.cost - engineCost) / std::max(1.0, std::fabs(g.cost));
        print(QStringLiteral(
                  "  glpsol (free MPS)           whole run %1 (simplex %2, reading %3); %4")
                  .arg(seconds(g.solveSeconds), seconds(g.simplexSeconds()), seconds(g.readSeconds))
                  .arg(g.optimal ? QStringLiteral("cost %1, relative difference %2")
                                       .arg(g.cost, 0, 'f', 4)
                                       .arg(agreement, 0, 'g', 2)
                                 : QStringLiteral("no optimum")));
        print(QStringLiteral("  ratio engine / glpsol       assemble+solve / whole run %1; "
                             "solve / simplex %2")
                  .arg(bestWhole / std::max(1e-6, g.solveSeconds), 0, 'f', 2)
                  .arg(best / std::max(1e-6, g.simplexSeconds()), 0, 'f', 2));
    }
}

// The whole way from the tables: load, checks, assembly, solve, rounding.
void benchTables(Selection &selection, const CaseShape &shape, int runs)
{
    const calctest::SampleCase again = calctest::makeCase(selection, shape);
    TableCase table(selection, again.lossNorm);
    Times whole;
    RunFigures figures;
    bool ok = true;
    for (int r = 0; r < runs && ok; ++r) {
        QElapsedTimer clock;
        clock.start();
        ok = table.run(figures);
        whole.seconds.push_back(clock.nsecsElapsed() / 1e9);
    }
    print(QStringLiteral("  load+assemble+solve+round   min %1   median %2   (%3 pivots, "
                         "%4 flips%5)")
              .arg(seconds(whole.min()), seconds(whole.median()))
              .arg(figures.pivots)
              .arg(figures.flips)
              .arg(ok ? QString()
                      : QStringLiteral("; stopped: ") +
                            (figures.problem.isEmpty()
                                 ? QStringLiteral("status %1").arg(figures.solveStatus)
                                 : figures.problem)));
}

void benchEngine(const QString &name, const CaseShape &shape, const Options &options)
{
    auto selection = std::make_unique<Selection>();
    const calctest::SampleCase c = calctest::makeCase(*selection, shape);
    const std::optional<AssembledProgramme> assembled =
        assembleProgramme(*selection, c.useFullUse, calctest::noRelaxation(), c.lossNorm);
    print(QStringLiteral("\n%1: %2 feed types × %3 raw materials × %4 characteristics, "
                         "programme %5 rows × %6 columns")
              .arg(name)
              .arg(shape.feeds)
              .arg(shape.raws)
              .arg(shape.chars)
              .arg(assembled ? assembled->programme.rowCount() : 0)
              .arg(selection->columnCount));
    QTemporaryDir dir;
    const QString mps = dir.filePath(QStringLiteral("programme.mps"));
    QFile(mps).remove();
    if (assembled)
        lp::exportProgramme(assembled->programme, mps, lp::LpFormat::FreeMps, nullptr);

    resetPeak();
    const EngineFigures one = timeEngine(*selection, shape, options.runs, 1);
    const lp::SolverStats &st = one.last.stats;
    const QString outcome = one.last.status == 0 ? QStringLiteral("solved")
                            : one.last.status == -2000
                                ? QStringLiteral("accuracy lost")
                                : QStringLiteral("no recipe (status %1)").arg(one.last.status);
    print(QStringLiteral("  outcome                     %1, cost %2; amounts outside a bound by "
                         "at most %3 t")
              .arg(outcome)
              .arg(one.last.cost, 0, 'f', 4)
              .arg(one.last.violation, 0, 'g', 3));
    print(QStringLiteral("  pivots                      %1 (feasibility phase %2, degenerate %3)")
              .arg(st.pivots)
              .arg(st.feasibilityPivots)
              .arg(st.degeneratePivots));
    print(
        QStringLiteral("  bound flips                 %1; fresh tableaux %2 after drift, %3 after "
                       "a loss of accuracy; cycles broken %4")
            .arg(st.flips)
            .arg(st.refreshes)
            .arg(st.rebuilds)
            .arg(st.cycleBreaks));
    print(QStringLiteral("  tableau entries updated     %1")
              .arg(double(st.updatedEntries), 0, 'g', 4));
    printEngine(QStringLiteral("1 thread: "), one, options.runs);
    // The row update is the part threads share; the rest stays on one thread.
    const double share = one.rowUpdateMin / std::max(1e-9, one.solveMin);
    const auto onCores = [&](int cores) { return one.solveMin * ((1 - share) + share / cores); };
    print(QStringLiteral("  row update share of solve   %1 %; by that share a solve on 2 cores "
                         "%2, 4 cores %3, 8 cores %4")
              .arg(share * 100, 0, 'f', 1)
              .arg(seconds(onCores(2)), seconds(onCores(4)), seconds(onCores(8))));
    double best = one.solveMin;
    double bestWhole = one.times.min();
    if (options.threads > 1) {
        const EngineFigures many = timeEngine(*selection, shape, options.runs, options.threads);
        printEngine(QStringLiteral("%1 threads:").arg(options.threads), many, options.runs);
        print(QStringLiteral("  threads against one thread  solve × %1 faster; results %2")
                  .arg(one.solveMin / std::max(1e-9, many.solveMin), 0, 'f', 2)
                  .arg(sameBits(one.last, many.last) ? QStringLiteral("bit-identical")
                                                     : QStringLiteral("DIFFERENT")));
        best = std::min(best, many.solveMin);
        bestWhole = std::min(bestWhole, many.times.min());
    }
    print(QStringLiteral("  peak memory                 %1 MB").arg(peakMegabytes(), 0, 'f', 1));

    if (options.glpsol)
        benchGlpsol(mps, one.last.cost, best, bestWhole, options.runs);
    if (options.tables)
        benchTables(*selection, shape, options.runs);
}

Options parse(const QStringList &arguments)
{
    Options options;
    for (int a = 1; a < arguments.size(); ++a) {
        if (arguments[a] == QLatin1String("--runs") && a + 1 < arguments.size())
            options.runs = std::max(1, arguments[++a].toInt());
        else if (arguments[a] == QLatin1String("--seed") && a + 1 < arguments.size())
            options.seed = std::max(1ULL, arguments[++a].toULongLong());
        else if (arguments[a] == QLatin1String("--only") && a + 1 < arguments.size())
            options.only = arguments[++a];
        else if (arguments[a] == QLatin1String("--threads") && a + 1 < arguments.size())
            options.threads = std::max(1, arguments[++a].toInt());
        else if (arguments[a] == QLatin1String("--no-tables"))
            options.tables = false;
        else if (arguments[a] == QLatin1String("--no-glpsol"))
            options.glpsol = false;
    }
    return options;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Options options = parse(app.arguments());
    if (options.only.isEmpty() || options.only == QLatin1String("typical"))
        benchEngine(QStringLiteral("Typical case"), calctest::typicalShape(options.seed), options);
    if (options.only.isEmpty() || options.only == QLatin1String("large")) {
        CaseShape large{25, 40, 30, options.seed, calctest::Flavour::TightStock, 0.6, false};
        benchEngine(QStringLiteral("Large mill"), large, options);
    }
    if (options.only.isEmpty() || options.only == QLatin1String("capacity")) {
        Options capacity = options;
        capacity.runs = std::min(options.runs, 3);
        CaseShape shape = calctest::capacityShape(options.seed);
        shape.flavour = calctest::Flavour::TightStock;
        benchEngine(QStringLiteral("Capacity case"), shape, capacity);
    }
    return 0;
}
