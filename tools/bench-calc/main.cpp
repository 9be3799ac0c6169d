// bench-calc: how fast the calculation engine is, in figures.
//
//   bench-calc [--runs N] [--only typical|capacity] [--seed S] [--no-tables] [--no-glpsol]
//
// For the typical case (10 feed types × 30 raw materials × 20 characteristics) and the
// capacity case (40 × 50 × 65, every pair allowed, every norm: 2690 rows × 2000
// columns) it prints: assembly and solve time (min and median of N runs); the same for
// the whole way from the tables (load, checks, assembly, solve, rounding); pivots,
// bound flips and fresh tableaux; tableau entries updated and the time per entry; peak
// memory; glpsol's simplex time on the same programme (free MPS) and the ratio.

#include "glpsolclock.h"
#include "helper_randomproblem.h"
#include "tablecase.h"

#include "calc/assembly.h"
#include "calc/lpexport.h"
#include "calc/simplex.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
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
    SolverStats stats;
    double solveSeconds = 0;
    double cost = 0;
    int status = 0;
};

// One assembly and solve of the case; the time covers both.
EngineRun assembleAndSolve(ProblemRecord &rec, const CaseShape &shape, double *seconds)
{
    const calctest::SampleCase c = calctest::makeCase(rec, shape);
    QElapsedTimer clock;
    clock.start();
    assembleProgramme(rec, c.useFullUse, rec.rowRelax, c.lossNorm);
    const qint64 assembled = clock.nsecsElapsed();
    EngineRun run;
    run.stats = solveProgramme(rec, nullptr);
    *seconds = clock.nsecsElapsed() / 1e9;
    run.solveSeconds = (clock.nsecsElapsed() - assembled) / 1e9;
    run.cost = -rec.objective;
    run.status = rec.programmeError == ProgrammeError::Overflow ? -1000 : rec.solveStatus;
    return run;
}

void benchEngine(const QString &name, const CaseShape &shape, const Options &options)
{
    auto rec = std::make_unique<ProblemRecord>();
    const calctest::SampleCase c = calctest::makeCase(*rec, shape);
    assembleProgramme(*rec, c.useFullUse, rec->rowRelax, c.lossNorm);
    print(QStringLiteral("\n%1: %2 feed types × %3 raw materials × %4 characteristics, "
                         "programme %5 rows × %6 columns")
              .arg(name)
              .arg(shape.feeds)
              .arg(shape.raws)
              .arg(shape.chars)
              .arg(rec->rowCount)
              .arg(rec->columnCount));
    QTemporaryDir dir;
    const QString mps = dir.filePath(QStringLiteral("programme.mps"));
    QFile(mps).remove();
    exportProgramme(*rec, mps, LpFormat::FreeMps, nullptr);
    rec->coef.release();

    resetPeak();
    Times times;
    EngineRun last;
    double solveMin = 1e300;
    for (int r = 0; r < options.runs; ++r) {
        double total = 0;
        last = assembleAndSolve(*rec, shape, &total);
        times.seconds.push_back(total);
        solveMin = std::min(solveMin, last.solveSeconds);
    }
    const double peak = peakMegabytes();
    const SolverStats &st = last.stats;
    print(QStringLiteral("  assemble+solve              min %1   median %2   (%3 runs)")
              .arg(seconds(times.min()), seconds(times.median()))
              .arg(options.runs));
    print(QStringLiteral("  outcome                     %1, cost %2")
              .arg(last.status == 0 ? QStringLiteral("solved")
                                    : QStringLiteral("no recipe (status %1)").arg(last.status))
              .arg(last.cost, 0, 'f', 4));
    print(QStringLiteral("  pivots                      %1 (feasibility phase %2, degenerate %3)")
              .arg(st.pivots)
              .arg(st.feasibilityPivots)
              .arg(st.degeneratePivots));
    print(QStringLiteral("  bound flips                 %1; fresh tableaux %2; cycles broken %3")
              .arg(st.flips)
              .arg(st.rebuilds)
              .arg(st.cycleBreaks));
    print(
        QStringLiteral("  tableau entries updated     %1, %2 ns per entry (solve time / entries)")
            .arg(double(st.updatedEntries), 0, 'g', 4)
            .arg(st.updatedEntries ? solveMin * 1e9 / double(st.updatedEntries) : 0.0, 0, 'f', 3));
    print(QStringLiteral("  peak memory                 %1 MB").arg(peak, 0, 'f', 1));

    if (options.glpsol) {
        const GlpsolTiming g = timeGlpsol(mps, std::max(1, std::min(options.runs, 3)));
        if (!g.available) {
            print(QStringLiteral("  glpsol                      not available"));
        } else {
            const double agreement =
                std::fabs(g.cost - last.cost) / std::max(1.0, std::fabs(g.cost));
            print(QStringLiteral(
                      "  glpsol (free MPS)           simplex %1 (whole run %2, reading %3); %4")
                      .arg(seconds(g.simplexSeconds()), seconds(g.solveSeconds),
                           seconds(g.readSeconds))
                      .arg(g.optimal ? QStringLiteral("cost %1, relative difference %2")
                                           .arg(g.cost, 0, 'f', 4)
                                           .arg(agreement, 0, 'g', 2)
                                     : QStringLiteral("no optimum")));
            print(QStringLiteral("  ratio solve / glpsol simplex %1")
                      .arg(solveMin / std::max(1e-6, g.simplexSeconds()), 0, 'f', 2));
        }
    }

    if (options.tables) {
        const calctest::SampleCase again = calctest::makeCase(*rec, shape);
        TableCase table(*rec, again.lossNorm);
        Times whole;
        RunFigures figures;
        bool ok = true;
        for (int r = 0; r < options.runs && ok; ++r) {
            QElapsedTimer clock;
            clock.start();
            ok = table.run(*rec, figures);
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
    if (options.only.isEmpty() || options.only == QLatin1String("capacity")) {
        Options capacity = options;
        capacity.runs = std::min(options.runs, 3);
        benchEngine(QStringLiteral("Capacity case"), calctest::capacityShape(options.seed),
                    capacity);
    }
    return 0;
}
