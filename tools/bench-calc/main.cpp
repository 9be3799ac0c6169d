// bench-calc: how fast the calculation engine is, in figures.
//
//   bench-calc [--runs N] [--only typical|large|capacity|infeasible|threshold] [--seed S]
//              [--threads N] [--rules described|textbook|auto] [--no-tables]
//              [--no-glpsol] [--no-highs]
//
// Cases: typical (10 feed types × 30 raw materials × 20 characteristics), large mill
// (25 × 40 × 30, three pairs in five allowed, tight stock with full-use marks; seeds 1 to
// 4 unless --seed names one), capacity (40 × 50 × 65, every pair allowed, every norm,
// tight stock with full-use marks: 2690 rows × 2000 columns) and capacity with one
// requirement out of reach (the calculation run relaxing it to its end). For each it
// prints the rules used, the steps of each phase, the engine's assembly and solve time
// on one thread and on several (min and median of N runs; the results compared bit for
// bit), time per step and per updated tableau entry, the share of the row update that
// threads can share and what 2, 4 and 8 cores would give by that share, peak memory, the
// amounts checked against every bound, and beside it glpsol's whole run and iterations
// and HiGHS's solve and iterations on the same programme, with the ratios; then the whole
// way from the tables (load, checks, assembly, solve, rounding). threshold: the method's
// own rules against the textbook rules on tight data from 15 × 40 × 30 upwards, where
// the automatic choice changes rules.
// --threads N: the threads of the shared run (default: this machine's cores, up to 8).

#include "glpsolclock.h"
#include "helper_randomproblem.h"
#include "highsclock.h"
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
    bool seedGiven = false;
    bool tables = true;
    bool glpsol = true;
    bool highs = true;
    int threads = lp::RowTeam::threadsWanted();
    lp::Rules rules = lp::Rules::Automatic;
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

double relativeDifference(double a, double b)
{
    return std::fabs(a - b) / std::max(1.0, std::fabs(b));
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
EngineRun assembleAndSolve(Selection &selection, const CaseShape &shape, lp::Rules rules,
                           double *seconds)
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
    lp::SolverLimits limits;
    limits.rules = rules;
    if (assembled)
        solution = lp::solve(assembled->programme, nullptr, nullptr, limits);
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

EngineFigures timeEngine(Selection &selection, const CaseShape &shape, int runs, int threads,
                         lp::Rules rules)
{
    qputenv("KORMOPLAN_SOLVER_THREADS", QByteArray::number(threads));
    EngineFigures f;
    for (int r = 0; r < runs; ++r) {
        double total = 0;
        f.last = assembleAndSolve(selection, shape, rules, &total);
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

void printRules(const lp::Programme *programme, lp::Rules asked)
{
    const std::int64_t entries =
        programme ? std::int64_t(programme->rowCount()) * programme->columnCount() : 0;
    const lp::Rules used = programme ? lp::rulesFor(*programme, asked) : asked;
    print(QStringLiteral("  rules                       %1 (asked %2; %3 tableau entries, "
                         "textbook rules by size above %4)")
              .arg(lp::rulesName(used), lp::rulesName(asked))
              .arg(entries)
              .arg(lp::kTextbookAboveEntries));
}

void printSteps(const lp::SolverStats &st)
{
    print(QStringLiteral("  steps                       feasibility phase %1 pivots + %2 flips, "
                         "cost phase %3 pivots + %4 flips; degenerate pivots %5")
              .arg(st.feasibilityPivots)
              .arg(st.feasibilityFlips)
              .arg(st.pivots - st.feasibilityPivots)
              .arg(st.flips - st.feasibilityFlips)
              .arg(st.degeneratePivots));
    print(QStringLiteral("  fresh tableaux              %1 after drift, %2 after a loss of "
                         "accuracy; cycles broken %3; tableau entries updated %4")
              .arg(st.refreshes)
              .arg(st.rebuilds)
              .arg(st.cycleBreaks)
              .arg(double(st.updatedEntries), 0, 'g', 4));
}

// What the engine did, for the comparison with glpsol and HiGHS.
struct EngineSummary {
    double cost = 0;
    bool solved = false;
    std::int64_t steps = 0;
    double bestWhole = 0; // assemble+solve, the best of all runs
};

// glpsol's whole run and HiGHS's solve on the same programme beside the engine's.
void benchOthers(const QString &mps, const EngineSummary &engine, const Options &options)
{
    const int runs = std::max(1, std::min(options.runs, 3));
    if (options.glpsol) {
        const GlpsolTiming g = timeGlpsol(mps, runs);
        if (!g.available) {
            print(QStringLiteral("  glpsol                      not available"));
        } else {
            print(QStringLiteral("  glpsol (free MPS)           whole run %1 (simplex %2, reading "
                                 "%3); %4 iterations (feasible after %5); %6")
                      .arg(seconds(g.solveSeconds), seconds(g.simplexSeconds()),
                           seconds(g.readSeconds))
                      .arg(g.iterations)
                      .arg(g.feasibleAfter)
                      .arg(g.optimal ? QStringLiteral("cost %1, relative difference %2")
                                           .arg(g.cost, 0, 'f', 4)
                                           .arg(relativeDifference(engine.cost, g.cost), 0, 'g', 2)
                                     : QStringLiteral("no optimum")));
            print(QStringLiteral("  ratio engine / glpsol       assemble+solve / whole run %1; "
                                 "steps / iterations %2")
                      .arg(engine.bestWhole / std::max(1e-6, g.solveSeconds), 0, 'f', 2)
                      .arg(double(engine.steps) / std::max(1, g.iterations), 0, 'f', 2));
        }
    }
    if (options.highs) {
        const HighsTiming h = timeHighs(mps, runs);
        if (!h.available) {
            print(QStringLiteral("  HiGHS                       not available (python3-scipy)"));
        } else {
            print(QStringLiteral("  HiGHS (scipy linprog)       solve %1; %2 iterations; %3")
                      .arg(seconds(h.seconds))
                      .arg(h.iterations)
                      .arg(h.optimal ? QStringLiteral("cost %1, relative difference %2")
                                           .arg(h.cost, 0, 'f', 4)
                                           .arg(relativeDifference(engine.cost, h.cost), 0, 'g', 2)
                           : h.infeasible ? QStringLiteral("infeasible")
                                          : QStringLiteral("no optimum")));
            print(QStringLiteral("  ratio engine / HiGHS        assemble+solve / solve %1; "
                                 "steps / iterations %2")
                      .arg(engine.bestWhole / std::max(1e-6, h.seconds), 0, 'f', 2)
                      .arg(double(engine.steps) / std::max(1, h.iterations), 0, 'f', 2));
        }
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

QString outcomeText(const EngineRun &run)
{
    return run.status == 0       ? QStringLiteral("solved")
           : run.status == -2000 ? QStringLiteral("accuracy lost")
                                 : QStringLiteral("no recipe (status %1)").arg(run.status);
}

void benchEngine(const QString &name, const CaseShape &shape, const Options &options)
{
    auto selection = std::make_unique<Selection>();
    const calctest::SampleCase c = calctest::makeCase(*selection, shape);
    const std::optional<AssembledProgramme> assembled =
        assembleProgramme(*selection, c.useFullUse, calctest::noRelaxation(), c.lossNorm);
    print(QStringLiteral("\n%1: %2 feed types × %3 raw materials × %4 characteristics, seed %5, "
                         "programme %6 rows × %7 columns")
              .arg(name)
              .arg(shape.feeds)
              .arg(shape.raws)
              .arg(shape.chars)
              .arg(shape.seed)
              .arg(assembled ? assembled->programme.rowCount() : 0)
              .arg(selection->columnCount));
    printRules(assembled ? &assembled->programme : nullptr, options.rules);
    QTemporaryDir dir;
    const QString mps = dir.filePath(QStringLiteral("programme.mps"));
    if (assembled)
        lp::exportProgramme(assembled->programme, mps, lp::LpFormat::FreeMps, nullptr);

    resetPeak();
    const EngineFigures one = timeEngine(*selection, shape, options.runs, 1, options.rules);
    const lp::SolverStats &st = one.last.stats;
    print(QStringLiteral("  outcome                     %1, cost %2; amounts outside a bound by "
                         "at most %3 t")
              .arg(outcomeText(one.last))
              .arg(one.last.cost, 0, 'f', 4)
              .arg(one.last.violation, 0, 'g', 3));
    printSteps(st);
    printEngine(QStringLiteral("1 thread: "), one, options.runs);
    // The row update is the part threads share; the rest stays on one thread.
    const double share = one.rowUpdateMin / std::max(1e-9, one.solveMin);
    const auto onCores = [&](int cores) { return one.solveMin * ((1 - share) + share / cores); };
    print(QStringLiteral("  row update share of solve   %1 %; by that share a solve on 2 cores "
                         "%2, 4 cores %3, 8 cores %4")
              .arg(share * 100, 0, 'f', 1)
              .arg(seconds(onCores(2)), seconds(onCores(4)), seconds(onCores(8))));
    EngineSummary summary{one.last.cost, one.last.status == 0, st.pivots + st.flips,
                          one.times.min()};
    if (options.threads > 1) {
        const EngineFigures many =
            timeEngine(*selection, shape, options.runs, options.threads, options.rules);
        printEngine(QStringLiteral("%1 threads:").arg(options.threads), many, options.runs);
        print(QStringLiteral("  threads against one thread  solve × %1 faster; results %2")
                  .arg(one.solveMin / std::max(1e-9, many.solveMin), 0, 'f', 2)
                  .arg(sameBits(one.last, many.last) ? QStringLiteral("bit-identical")
                                                     : QStringLiteral("DIFFERENT")));
        summary.bestWhole = std::min(summary.bestWhole, many.times.min());
    }
    print(QStringLiteral("  peak memory                 %1 MB").arg(peakMegabytes(), 0, 'f', 1));
    if (assembled)
        benchOthers(mps, summary, options);
    if (options.tables)
        benchTables(*selection, shape, options.runs);
}

QString runOutcomeText(RunOutcome outcome)
{
    switch (outcome) {
    case RunOutcome::Solution:
        return QStringLiteral("recipes");
    case RunOutcome::Errors:
        return QStringLiteral("data errors");
    case RunOutcome::FailureAnalysis:
        return QStringLiteral("failure analysis");
    case RunOutcome::StockMessage:
        return QStringLiteral("stock message");
    case RunOutcome::NoAnalysis:
        return QStringLiteral("no analysis");
    case RunOutcome::Overflow:
        return QStringLiteral("too large");
    case RunOutcome::LostAccuracy:
        return QStringLiteral("accuracy lost");
    }
    return {};
}

// The calculation run relaxing a requirement out of reach to its end, against glpsol
// and HiGHS solving its first programme once per attempt.
void benchRelaxation(const QString &name, const CaseShape &shape, const Options &options)
{
    auto selection = std::make_unique<Selection>();
    const calctest::SampleCase c = calctest::makeCase(*selection, shape);
    const TableCase table(*selection, c.lossNorm);
    QTemporaryDir dir;
    const QString mps = dir.filePath(QStringLiteral("first.mps"));
    std::optional<lp::Programme> first;
    qputenv("KORMOPLAN_SOLVER_THREADS", QByteArray::number(options.threads));
    QElapsedTimer clock;
    clock.start();
    resetPeak();
    // the run hands over every attempt's programme until one has a recipe
    const RunResult result = table.relax(options.rules, [&](const lp::Programme &programme) {
        if (first)
            return;
        first = programme;
        lp::exportProgramme(programme, mps, lp::LpFormat::FreeMps, nullptr);
    });
    const double whole = clock.nsecsElapsed() / 1e9;
    print(QStringLiteral("\n%1: %2 feed types × %3 raw materials × %4 characteristics, seed %5, "
                         "first programme %6 rows × %7 columns")
              .arg(name)
              .arg(shape.feeds)
              .arg(shape.raws)
              .arg(shape.chars)
              .arg(shape.seed)
              .arg(first ? first->rowCount() : 0)
              .arg(first ? first->columnCount() : 0));
    printRules(first ? &*first : nullptr, options.rules);
    const int attempts = std::max(1, result.attempts);
    print(QStringLiteral("  calculation run             %1 attempts, outcome %2, widened "
                         "requirements %3; %4 in all, %5 per attempt, on %6 threads")
              .arg(result.attempts)
              .arg(runOutcomeText(result.outcome))
              .arg(result.relaxation.size())
              .arg(seconds(whole), seconds(whole / attempts))
              .arg(result.solver.threads));
    printSteps(result.solver);
    print(QStringLiteral("  peak memory                 %1 MB").arg(peakMegabytes(), 0, 'f', 1));
    if (!first)
        return;
    EngineSummary perAttempt{0, false, (result.solver.pivots + result.solver.flips) / attempts,
                             whole / attempts};
    print(QStringLiteral("  per attempt against one solve of the first programme:"));
    benchOthers(mps, perAttempt, options);
}

// The method's own rules against the textbook rules on tight data, every pair allowed
// and every norm, from the size that must keep the method's own rules upwards.
void benchThreshold(const Options &options)
{
    print(QStringLiteral("\nThreshold: tight stock, every pair allowed, every norm; best of %1 "
                         "runs on 1 thread")
              .arg(options.runs));
    qputenv("KORMOPLAN_SOLVER_THREADS", "1");
    const int shapes[][3] = {{10, 30, 20}, {15, 40, 30}, {18, 40, 30},
                             {20, 40, 30}, {22, 40, 30}, {25, 40, 30}};
    for (const auto &s : shapes) {
        for (std::uint64_t seed = 1; seed <= 2; ++seed) {
            const CaseShape shape{s[0], s[1], s[2], seed, calctest::Flavour::TightStock, 1.0, true};
            auto selection = std::make_unique<Selection>();
            QString line =
                QStringLiteral("  %1 × %2 × %3 seed %4").arg(s[0]).arg(s[1]).arg(s[2]).arg(seed);
            for (const lp::Rules rules : {lp::Rules::Described, lp::Rules::Textbook}) {
                const EngineFigures f = timeEngine(*selection, shape, options.runs, 1, rules);
                line += QStringLiteral("   %1: %2 steps %3 (%4)")
                            .arg(lp::rulesName(rules))
                            .arg(f.last.stats.pivots + f.last.stats.flips)
                            .arg(seconds(f.solveMin), outcomeText(f.last));
            }
            calctest::SampleCase c = calctest::makeCase(*selection, shape);
            const std::optional<AssembledProgramme> assembled =
                assembleProgramme(*selection, c.useFullUse, calctest::noRelaxation(), c.lossNorm);
            if (assembled)
                line += QStringLiteral("   %1 × %2 = %3 entries")
                            .arg(assembled->programme.rowCount())
                            .arg(assembled->programme.columnCount())
                            .arg(std::int64_t(assembled->programme.rowCount()) *
                                 assembled->programme.columnCount());
            print(line);
        }
    }
}

Options parse(const QStringList &arguments)
{
    Options options;
    for (int a = 1; a < arguments.size(); ++a) {
        const QString &argument = arguments[a];
        const bool hasValue = a + 1 < arguments.size();
        if (argument == QLatin1String("--runs") && hasValue)
            options.runs = std::max(1, arguments[++a].toInt());
        else if (argument == QLatin1String("--seed") && hasValue) {
            options.seed = std::max(1ULL, arguments[++a].toULongLong());
            options.seedGiven = true;
        } else if (argument == QLatin1String("--only") && hasValue)
            options.only = arguments[++a];
        else if (argument == QLatin1String("--threads") && hasValue)
            options.threads = std::max(1, arguments[++a].toInt());
        else if (argument == QLatin1String("--rules") && hasValue) {
            const std::optional<lp::Rules> rules = lp::rulesNamed(arguments[++a]);
            if (!rules) {
                std::fprintf(stderr, "--rules: described, textbook or auto\n");
                std::exit(2);
            }
            options.rules = *rules;
        } else if (argument == QLatin1String("--no-tables"))
            options.tables = false;
        else if (argument == QLatin1String("--no-glpsol"))
            options.glpsol = false;
        else if (argument == QLatin1String("--no-highs"))
            options.highs = false;
    }
    return options;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Options options = parse(app.arguments());
    const auto wanted = [&](const char *name) {
        return options.only.isEmpty() || options.only == QLatin1String(name);
    };
    if (wanted("typical"))
        benchEngine(QStringLiteral("Typical case"), calctest::typicalShape(options.seed), options);
    if (wanted("large")) {
        const std::uint64_t from = options.seedGiven ? options.seed : 1;
        const std::uint64_t to = options.seedGiven ? options.seed : 4;
        for (std::uint64_t seed = from; seed <= to; ++seed) {
            const CaseShape large{25, 40, 30, seed, calctest::Flavour::TightStock, 0.6, false};
            benchEngine(QStringLiteral("Large mill"), large, options);
        }
    }
    Options capacity = options;
    capacity.runs = std::min(options.runs, 3);
    if (wanted("capacity")) {
        CaseShape shape = calctest::capacityShape(options.seed);
        shape.flavour = calctest::Flavour::TightStock;
        benchEngine(QStringLiteral("Capacity case, tight stock"), shape, capacity);
    }
    if (wanted("infeasible")) {
        CaseShape shape = calctest::capacityShape(options.seed);
        shape.flavour = calctest::Flavour::Unreachable;
        benchRelaxation(QStringLiteral("Capacity case, full pools, infeasible"), shape, capacity);
    }
    if (options.only == QLatin1String("threshold"))
        benchThreshold(capacity);
    return 0;
}
