#include "glpsolclock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <limits>

namespace
{

// Wall seconds of one glpsol run, or a negative number when it did not run.
double runOnce(const QString &glpsol, const QStringList &arguments, QByteArray *output)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(glpsol, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return -1;
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (output)
        *output = process.readAllStandardOutput();
    return seconds;
}

double costFromSolution(const QString &file)
{
    QFile solution(file);
    if (!solution.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : solution.readAll().split('\n'))
        if (line.startsWith("s bas"))
            return line.split(' ').value(6).toDouble();
    return 0;
}

// The iteration log: "*   211: obj = … inf = 0.000e+00 (0)"; the last line counts them
// all, the first with no infeasibility left ends the feasibility phase.
void readIterations(const QByteArray &output, GlpsolTiming *timing)
{
    for (const QByteArray &line : output.split('\n')) {
        const QByteArray text = line.mid(1).trimmed();
        const int colon = text.indexOf(": obj =");
        if (colon <= 0)
            continue;
        bool ok = false;
        const int count = text.left(colon).toInt(&ok);
        if (!ok)
            continue;
        timing->iterations = count;
        if (timing->feasibleAfter < 0 && text.contains("inf =   0.000e+00"))
            timing->feasibleAfter = count;
    }
}

} // namespace

GlpsolTiming timeGlpsol(const QString &mpsFile, int runs)
{
    GlpsolTiming timing;
    const QString glpsol = QStandardPaths::findExecutable(QStringLiteral("glpsol"));
    if (glpsol.isEmpty())
        return timing;
    const QString solution = mpsFile + QStringLiteral(".sol");
    double solve = std::numeric_limits<double>::max();
    double read = std::numeric_limits<double>::max();
    QByteArray output;
    for (int run = 0; run < runs; ++run) {
        const double s = runOnce(glpsol, {"--freemps", mpsFile, "--write", solution}, &output);
        const double r = runOnce(glpsol, {"--freemps", mpsFile, "--check"}, nullptr);
        if (s < 0 || r < 0)
            return timing;
        solve = std::min(solve, s);
        read = std::min(read, r);
    }
    timing.available = true;
    timing.optimal = output.contains("OPTIMAL");
    timing.solveSeconds = solve;
    timing.readSeconds = read;
    timing.cost = costFromSolution(solution);
    readIterations(output, &timing);
    return timing;
}
