// The oracle nobody here wrote: seeded random programmes of assorted sizes (ordinary,
// tight shared stock with full-use marks, degenerate, with a requirement out of reach)
// are assembled, exported as CPLEX LP or free MPS and solved by GLPK's glpsol; the
// engine must reach the same optimal cost within 1e-7 relative, or agree that no
// recipe exists. The engine's own amounts must meet every bound of the programme.

#include "helper_randomproblem.h"

#include "calc/assembly.h"
#include "calc/lpexport.h"
#include "calc/simplex.h"
#include "calc/simplexaccuracy.h"

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

// The programme as assembled, kept before the solver exchanges bounds in place.
struct Original {
    int m = 0;
    int n = 0;
    std::vector<double> a, rowLower, rowUpper, columnLower, columnUpper, price;

    explicit Original(const ProblemRecord &r)
        : m(r.rowCount), n(r.columnCount), a(std::size_t(m) * n),
          rowLower(r.rowLower.begin() + 1, r.rowLower.begin() + 1 + m),
          rowUpper(r.rowUpper.begin() + 1, r.rowUpper.begin() + 1 + m),
          columnLower(r.columnLower.begin() + 1, r.columnLower.begin() + 1 + n),
          columnUpper(r.columnUpper.begin() + 1, r.columnUpper.begin() + 1 + n),
          price(r.columnValue.begin() + 1, r.columnValue.begin() + 1 + n)
    {
        for (int i = 0; i < m; ++i)
            for (int j = 0; j < n; ++j)
                a[std::size_t(i) * n + j] = -r.coef.at(i + 1, j + 1);
    }

    // Worst bound violation of the amounts x, relative to the bound's size.
    double violation(const ProblemRecord &r) const
    {
        double worst = 0;
        auto judge = [&](double value, double lower, double upper) {
            const double scale = std::max({1.0, std::fabs(lower), std::fabs(upper)});
            worst = std::max({worst, (lower - value) / scale, (value - upper) / scale});
        };
        for (int j = 0; j < n; ++j)
            judge(r.columnValue[j + 1], columnLower[j], columnUpper[j]);
        for (int i = 0; i < m; ++i) {
            double activity = 0;
            for (int j = 0; j < n; ++j)
                activity += a[std::size_t(i) * n + j] * r.columnValue[j + 1];
            judge(activity, rowLower[i], rowUpper[i]);
        }
        return worst;
    }

    double cost(const ProblemRecord &r) const
    {
        double sum = 0;
        for (int j = 0; j < n; ++j)
            sum += price[j] * r.columnValue[j + 1];
        return sum;
    }
};

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
    void exportNeedsAnAssembledProgramme();

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
        auto rec = std::make_unique<ProblemRecord>();
        const SampleCase c = makeCase(*rec, shape);
        QVERIFY(assembleProgramme(*rec, c.useFullUse, rec->rowRelax, c.lossNorm));
        const QString file = dir.filePath(
            QStringLiteral("case%1.%2").arg(seed).arg(format == LpFormat::CplexLp ? "lp" : "mps"));
        QString error;
        QVERIFY2(exportProgramme(*rec, file, format, &error), qPrintable(error));
        const Original original(*rec);

        solveProgramme(*rec, nullptr);
        const GlpkAnswer glpk = runGlpsol(glpsol_, file, format, file + ".sol");
        QVERIFY2(glpk.ran, qPrintable(name));
        QVERIFY2(glpk.optimal || glpk.infeasible, qPrintable(name + "\n" + glpk.output));
        QVERIFY2((rec->solveStatus == 0) == glpk.optimal,
                 qPrintable(name + QStringLiteral(": engine status %1").arg(rec->solveStatus)));
        if (!glpk.optimal) {
            ++refused;
            continue;
        }
        ++solved;
        const double cost = -rec->objective;
        QVERIFY2(std::fabs(cost - glpk.cost) <= 1e-7 * std::max(1.0, std::fabs(glpk.cost)),
                 qPrintable(name + QStringLiteral(": %1 against %2")
                                       .arg(cost, 0, 'g', 17)
                                       .arg(glpk.cost, 0, 'g', 17)));
        QVERIFY2(std::fabs(original.cost(*rec) - cost) <= 1e-9 * std::max(1.0, cost),
                 qPrintable(name));
        // amounts within every bound, to the accuracy the solver holds itself to
        QVERIFY2(original.violation(*rec) <= kConsistencyLimit, qPrintable(name));
    }
    qInfo("%d programmes solved, %d without a recipe, all as glpsol says", solved, refused);
    QVERIFY(solved >= 60);
    QVERIFY(refused >= 20);
}

// Without a coefficient list there is nothing to write: a clear message, no file.
void TestGlpkOracle::exportNeedsAnAssembledProgramme()
{
    QTemporaryDir dir;
    auto rec = std::make_unique<ProblemRecord>();
    rec->rowCount = 3;
    rec->columnCount = 2;
    QString error;
    const QString file = dir.filePath("none.lp");
    QVERIFY(!exportProgramme(*rec, file, LpFormat::CplexLp, &error));
    QVERIFY(error.contains(QStringLiteral("не составлена")));
    QVERIFY(!QFile::exists(file));
    QVERIFY(!exportProgramme(*rec, "/nonexistent-dir/x.lp", LpFormat::CplexLp, &error));
}

QTEST_APPLESS_MAIN(TestGlpkOracle)
#include "tst_glpkoracle.moc"
