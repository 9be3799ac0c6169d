// The oracle nobody here wrote: seeded random programmes of assorted sizes (ordinary,
// tight shared stock with full-use marks, degenerate, with a requirement out of reach)
// are assembled, exported as CPLEX LP or free MPS and solved by GLPK's glpsol; the
// engine must reach the same optimal cost within 1e-7 relative, or agree that no
// recipe exists. The engine's own amounts must meet every bound of the programme.

#include "helper_randomproblem.h"

#include "calc/assembly.h"
#include "lp/lpexport.h"
#include "lp/simplex.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

using namespace calc;
using namespace calctest;
using lp::LpFormat;

namespace
{

struct GlpkAnswer {
    bool ran = false;
    bool optimal = false;
    bool infeasible = false;
    double cost = 0;
    QString output;
};

GlpkAnswer runGlpsol(const QString &glpsol, const QString &file, LpFormat format,
                     const QString &solutionFile)
{
    GlpkAnswer answer;
    QProcess process;
    process.start(glpsol, {format == LpFormat::CplexLp ? "--lp" : "--freemps", file, "--write",
                           solutionFile});
    if (!process.waitForFinished(120000))
        return answer;
    answer.ran = true;
    answer.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    // "OPTIMAL LP SOLUTION FOUND", or "... FOUND BY LP PREPROCESSOR"
    answer.optimal = answer.output.contains(QRegularExpression("OPTIMAL (LP )?SOLUTION FOUND"));
    answer.infeasible = answer.output.contains("NO PRIMAL FEASIBLE SOLUTION");
    QFile solution(solutionFile);
    if (answer.optimal && solution.open(QIODevice::ReadOnly)) {
        // "s bas <rows> <columns> <primal> <dual> <objective>"
        for (const QByteArray &line : solution.readAll().split('\n'))
            if (line.startsWith("s bas"))
                answer.cost = line.split(' ').value(6).toDouble();
    }
    return answer;
}

// Worst bound violation of the amounts x (column j at [j - 1]), relative to the bound's size.
double violation(const lp::Programme &p, const std::vector<double> &x)
{
    double worst = 0;
    auto judge = [&](double value, double lower, double upper) {
        const double scale = std::max({1.0, std::fabs(lower), std::fabs(upper)});
        worst = std::max({worst, (lower - value) / scale, (value - upper) / scale});
    };
    for (lp::ColIndex j(1); j.number() <= p.columnCount(); ++j)
        judge(x[std::size_t(j.number() - 1)], p.columnLower(j), p.columnUpper(j));
    for (lp::RowIndex i(1); i.number() <= p.rowCount(); ++i) {
        double activity = 0;
        for (const lp::Entry &e : p.row(i))
            activity += e.value * x[std::size_t(e.column.number() - 1)];
        judge(activity, p.rowLower(i), p.rowUpper(i));
    }
    return worst;
}

double costOf(const lp::Programme &p, const std::vector<double> &x)
{
    double sum = 0;
    for (lp::ColIndex j(1); j.number() <= p.columnCount(); ++j)
        sum += p.cost(j) * x[std::size_t(j.number() - 1)];
    return sum;
}

CaseShape oracleCase(int seed)
{
    CaseShape shape;
    shape.seed = std::uint64_t(seed) * 7919;
    shape.flavour = Flavour(seed % 4);
    shape.feeds = 1 + seed % 12;
    shape.raws = 2 + (seed * 7) % 29;
    shape.chars = 1 + (seed * 3) % 20;
    shape.pairShare = 0.4 + 0.15 * (seed % 5);
    return shape;
}

} // namespace

class TestGlpkOracle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void agreesWithGlpk();
    void exportToAnUnwritablePlace();

private:
    QString glpsol_;
};

void TestGlpkOracle::initTestCase()
{
    glpsol_ = QStandardPaths::findExecutable("glpsol");
    if (glpsol_.isEmpty())
        QSKIP("glpsol (Debian package glpk-utils) is not installed");
}

// Same optimum within 1e-7 relative, same verdict on infeasibility, amounts within
// every bound; the corpus holds both outcomes and every flavour.
void TestGlpkOracle::agreesWithGlpk()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    int solved = 0, refused = 0;
    const int cases = qEnvironmentVariableIsSet("KP_ORACLE_CASES") // a longer run by hand
                          ? qEnvironmentVariableIntValue("KP_ORACLE_CASES")
                          : 160;
    for (int seed = 1; seed <= cases; ++seed) {
        const CaseShape shape = oracleCase(seed);
        const LpFormat format = seed % 5 == 0 ? LpFormat::FreeMps : LpFormat::CplexLp;
        const QString name = QStringLiteral("case %1 (%2x%3x%4, flavour %5)")
                                 .arg(seed)
                                 .arg(shape.feeds)
                                 .arg(shape.raws)
                                 .arg(shape.chars)
                                 .arg(int(shape.flavour));
        auto selection = std::make_unique<Selection>();
        const SampleCase c = makeCase(*selection, shape);
        const std::optional<AssembledProgramme> assembled =
            assembleProgramme(*selection, c.useFullUse, noRelaxation(), c.lossNorm);
        QVERIFY(assembled);
        const lp::Programme &programme = assembled->programme;
        const QString file = dir.filePath(
            QStringLiteral("case%1.%2").arg(seed).arg(format == LpFormat::CplexLp ? "lp" : "mps"));
        QString error;
        QVERIFY2(exportProgramme(programme, file, format, &error, columnNote(*selection)),
                 qPrintable(error));

        const lp::Solution solution = lp::solve(programme);
        const GlpkAnswer glpk = runGlpsol(glpsol_, file, format, file + ".sol");
        QVERIFY2(glpk.ran, qPrintable(name));
        QVERIFY2(glpk.optimal || glpk.infeasible, qPrintable(name + "\n" + glpk.output));
        QVERIFY2(
            solution.optimal() == glpk.optimal,
            qPrintable(name + QStringLiteral(": engine status %1").arg(solution.failing.label())));
        if (!glpk.optimal) {
            ++refused;
            continue;
        }
        ++solved;
        const double cost = solution.cost;
        QVERIFY2(std::fabs(cost - glpk.cost) <= 1e-7 * std::max(1.0, std::fabs(glpk.cost)),
                 qPrintable(name + QStringLiteral(": %1 against %2")
                                       .arg(cost, 0, 'g', 17)
                                       .arg(glpk.cost, 0, 'g', 17)));
        QVERIFY2(std::fabs(costOf(programme, solution.values) - cost) <= 1e-9 * std::max(1.0, cost),
                 qPrintable(name));
        // amounts within every bound, to the accuracy the solver holds itself to
        QVERIFY2(violation(programme, solution.values) <= lp::kConsistencyLimit, qPrintable(name));
    }
    qInfo("%d programmes solved, %d without a recipe, all as glpsol says", solved, refused);
    QVERIFY(solved >= 60);
    QVERIFY(refused >= 20);
}

// A file that cannot be written: a clear message, no file.
void TestGlpkOracle::exportToAnUnwritablePlace()
{
    lp::Programme p;
    p.addColumn(0, 1, 1);
    p.addRow(0, 1);
    p.addEntry(lp::ColIndex(1), 1);
    QString error;
    QVERIFY(!exportProgramme(p, "/nonexistent-dir/x.lp", LpFormat::CplexLp, &error));
    QVERIFY(error.contains(QStringLiteral("Не удалось записать файл")));
    QVERIFY(!QFile::exists("/nonexistent-dir/x.lp"));
}

QTEST_APPLESS_MAIN(TestGlpkOracle)
#include "tst_glpkoracle.moc"
