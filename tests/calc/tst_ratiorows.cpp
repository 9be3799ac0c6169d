// Ratio rows through whole runs: a binding ratio gives the least cost glpsol finds for
// the same programme, with the level on its bound; a ratio no recipe can meet is widened
// with its feed type's requirements to the end; the shadow price of a binding ratio is
// what moving it costs. (That a ratio switched off changes nothing: test_kormoplan_calc.sh.)

#include "calcfixture.h"

#include "calc/messageobserver.h"
#include "calc/outcometext.h"
#include "calc/run.h"
#include "lp/lpexport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using calc::LevelState;
using calc::RunOutcome;
using calc::RunResult;
using calctest::CalcFixture;
using calctest::kPrice;

namespace
{

constexpr int kCalcium = 2;
constexpr int kPhosphorus = 3;

// Grain, meal, limestone and phosphate for a feed type of 20 t with calcium and
// phosphorus norms; a second feed type of 10 t shares the phosphate's 1 t of stock.
CalcFixture &minerals(CalcFixture &fx)
{
    fx.characteristic(QStringLiteral("Кальций"), QStringLiteral("%"));
    fx.characteristic(QStringLiteral("Фосфор"), QStringLiteral("%"));
    fx.raw(QStringLiteral("Пшеница"))
        .content(kPrice, 100)
        .content(kCalcium, 0.05)
        .content(kPhosphorus, 0.3);
    fx.raw(QStringLiteral("Шрот"))
        .content(kPrice, 300)
        .content(kCalcium, 0.3)
        .content(kPhosphorus, 0.6);
    fx.raw(QStringLiteral("Мел")).content(kPrice, 150).content(kCalcium, 38);
    fx.raw(QStringLiteral("Фосфат"))
        .content(kPrice, 900)
        .content(kCalcium, 24)
        .content(kPhosphorus, 18)
        .withStock(1);
    return fx;
}

calctest::FixtureFeed &mineralFeed(CalcFixture &fx, const QString &type, double output)
{
    return fx.feed(type, QStringLiteral("Птица"), output)
        .norm(kCalcium, 0.8, 3)
        .norm(kPhosphorus, 0.45, 0.8)
        .limit(QStringLiteral("Пшеница"), 0, 100)
        .limit(QStringLiteral("Шрот"), 0, 40)
        .limit(QStringLiteral("Мел"), 0, 10)
        .limit(QStringLiteral("Фосфат"), 0, 5);
}

RunResult run(CalcFixture &fx, const std::function<void(const lp::Programme &)> &first = {})
{
    calc::RunOptions options;
    if (first)
        options.firstProgramme = [&](const calc::Selection &, const lp::Programme &p) { first(p); };
    calc::MessageObserver observer;
    return calc::runCalculation(fx.open(), options, observer);
}

// glpsol's optimal cost of an exported programme; NaN when it finds none.
double glpkCost(const QString &glpsol, const QString &file)
{
    QProcess process;
    process.start(glpsol, {QStringLiteral("--lp"), file, QStringLiteral("-o"), file + ".out"});
    if (!process.waitForFinished(60000))
        return std::nan("");
    QFile out(file + ".out");
    if (!out.open(QIODevice::ReadOnly))
        return std::nan("");
    const QString text = QString::fromLatin1(out.readAll());
    if (!text.contains(QStringLiteral("OPTIMAL")))
        return std::nan("");
    return QRegularExpression(QStringLiteral("Objective:\\s+\\S+ = (\\S+)"))
        .match(text)
        .captured(1)
        .toDouble();
}

} // namespace

class tst_ratiorows final : public QObject
{
    Q_OBJECT

private slots:
    void bindingRatioAgreesWithGlpk_data();
    void bindingRatioAgreesWithGlpk();
    void unmeetableRatioWidenedToItsEnd_data();
    void unmeetableRatioWidenedToItsEnd();
    void shadowPriceIsTheCostOfMovingTheRatio();
};

void tst_ratiorows::bindingRatioAgreesWithGlpk_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<bool>("twoFeeds");
    QTest::addColumn<LevelState>("state");
    QTest::newRow("minimum") << 3.0 << 0.0 << false << LevelState::AtMinimum;
    QTest::newRow("maximum") << 0.0 << 1.3 << false << LevelState::AtMaximum;
    QTest::newRow("narrow band, minimum holds") << 2.5 << 2.6 << false << LevelState::AtMinimum;
    QTest::newRow("two feeds share the phosphate") << 3.0 << 0.0 << true << LevelState::AtMinimum;
}

// The same optimum as glpsol on the exported programme, and the level, figured from the
// amounts and contents, on the bound the ratio sets.
void tst_ratiorows::bindingRatioAgreesWithGlpk()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(bool, twoFeeds);
    QFETCH(LevelState, state);
    const QString glpsol = QStandardPaths::findExecutable(QStringLiteral("glpsol"));
    if (glpsol.isEmpty())
        QSKIP("glpsol (Debian package glpk-utils) is not installed");
    CalcFixture fx;
    minerals(fx);
    mineralFeed(fx, QStringLiteral("ПК-1"), 20).ratio(kCalcium, kPhosphorus, min, max);
    if (twoFeeds)
        mineralFeed(fx, QStringLiteral("ПК-2"), 10).ratio(kCalcium, kPhosphorus, 2, 2.2);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ratio.lp"));
    const RunResult result = run(fx, [&](const lp::Programme &p) {
        QVERIFY(lp::exportProgramme(p, file, lp::LpFormat::CplexLp, nullptr));
    });
    QCOMPARE(result.outcome, RunOutcome::Solution);
    const double glpk = glpkCost(glpsol, file);
    QVERIFY2(std::fabs(glpk - result.objective) <= 1e-7 * std::fabs(glpk),
             qPrintable(QStringLiteral("%1 / %2").arg(glpk).arg(result.objective)));
    const calc::RecipeRatio &ratio = result.recipes.feed(1).ratios.at(0);
    QCOMPARE(ratio.name(), QStringLiteral("Кальций/Фосфор"));
    QCOMPARE(ratio.state, state);
    QVERIFY(std::fabs(ratio.level - (state == LevelState::AtMinimum ? min : max)) < 1e-9);
}

void tst_ratiorows::unmeetableRatioWidenedToItsEnd_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<QString>("analysisRow");
    QTest::newRow("minimum out of reach")
        << 1000.0 << 0.0
        << QStringLiteral("Соотношение Кальций/Фосфор ! меньше минимума   !1000.0000 ! 500.0000 !");
    // where the solve stopped there is no phosphorus at all: no level, no comment
    QTest::newRow("maximum out of reach")
        << 0.0 << 0.01
        << QStringLiteral("Соотношение Кальций/Фосфор !                   !          !          "
                          "!   0.0100 !");
}

// The solver fails the output row first (a ratio row is met by no raw material at all):
// every requirement of the feed type, the ratio with them, widens by 0.01 until a share
// passes 0.5, and the analysis shows the ratio against its bounds.
void tst_ratiorows::unmeetableRatioWidenedToItsEnd()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(QString, analysisRow);
    CalcFixture fx;
    minerals(fx);
    mineralFeed(fx, QStringLiteral("ПК-1"), 20).ratio(kCalcium, kPhosphorus, min, max);
    const RunResult result = run(fx);
    QCOMPARE(result.outcome, RunOutcome::FailureAnalysis);
    QCOMPARE(result.attempts, 51);
    QCOMPARE(result.relaxation.back().row, 8); // output, two norms, four stock rows, ratio
    QCOMPARE(result.relaxation.back().share, 0.5);
    const QStringList lines = calc::gridLines(calc::characteristicsGrid(result.analysis));
    QVERIFY2(lines.last().startsWith(analysisRow), qPrintable(lines.last()));
}

// Cost per tonne of feed per unit of the ratio: what a small move of the minimum costs,
// and a range around the bound.
void tst_ratiorows::shadowPriceIsTheCostOfMovingTheRatio()
{
    const auto costAt = [](double min, calc::Sensitivity *figures) {
        CalcFixture fx;
        minerals(fx);
        mineralFeed(fx, QStringLiteral("ПК-1"), 20).ratio(kCalcium, kPhosphorus, min, 0);
        const RunResult result = run(fx);
        if (figures)
            *figures = result.sensitivity;
        return result.objective;
    };
    calc::Sensitivity figures;
    const double cost = costAt(3, &figures);
    QCOMPARE(int(figures.ratios.size()), 1);
    const calc::RatioFigure &f = figures.ratios.front();
    QCOMPARE(f.side, calc::NormSide::Min);
    QCOMPARE(f.bound, 3.0);
    QVERIFY(f.shadowPrice > 0);
    QVERIFY(f.boundFrom && *f.boundFrom < 3 && f.boundTo && *f.boundTo > 3);
    const double step = 1e-4;
    const double measured = (costAt(3 + step, nullptr) - cost) / step / 20;
    QVERIFY2(std::fabs(measured - f.shadowPrice) <= 1e-3 * f.shadowPrice,
             qPrintable(QStringLiteral("%1 / %2").arg(measured).arg(f.shadowPrice)));
}

QTEST_APPLESS_MAIN(tst_ratiorows)
#include "tst_ratiorows.moc"
