// Whole calculation runs on small data directories: the three modes, relaxation, the
// output search, and every way a run can end.

#include "calcfixture.h"

#include "calc/outcometext.h"
#include "calc/run.h"
#include "store/numbertext.h"

#include <QRegularExpression>

#include <QtTest>

#include <atomic>
#include <stdexcept>
#include <thread>

using calc::CalcMode;
using calc::RunOutcome;
using calc::RunResult;
using calctest::CalcFixture;
using calctest::kPrice;

namespace
{

constexpr int kProtein = 2;

// Records what a run shows; a run that goes on far longer than any of these data sets
// needs is stopped with an exception, so a fault ends the test instead of hanging it.
class RecordingObserver final : public calc::RunObserver
{
public:
    int solverShows = 0;
    int solverMinimum = 1;
    int attemptMaximum = -1;
    QList<int> attemptPositions;
    bool attemptHidden = false;
    QStringList messages;
    std::atomic_bool *stopAtSolve = nullptr; // asks the run to stop as a full solve starts

    void solverProgress(int) override {}
    void showSolverProgress(int minimum, int maximum) override
    {
        if (stopAtSolve)
            *stopAtSolve = true;
        QCOMPARE(maximum, 0);
        solverMinimum = minimum;
        if (++solverShows > 5000)
            throw std::runtime_error("the run does not end");
    }
    void hideSolverProgress() override {}
    void showAttemptProgress(int maximum) override { attemptMaximum = maximum; }
    void setAttemptProgress(int position) override
    {
        attemptPositions.append(position);
        if (position > 5000)
            throw std::runtime_error("the search does not end");
    }
    void hideAttemptProgress() override { attemptHidden = true; }
    void showMessage(const QString &text) override { messages.append(text); }
};

// Wheat (10 % protein, 100 a tonne) and soya meal (40 %, 300 a tonne).
void twoRaws(CalcFixture &fx, double wheatStock = 0, double mealStock = 0)
{
    fx.characteristic(QStringLiteral("Протеин"), QStringLiteral("%"));
    fx.raw(QStringLiteral("Пшеница"))
        .content(kPrice, 100)
        .content(kProtein, 10)
        .withStock(wheatStock);
    fx.raw(QStringLiteral("Шрот")).content(kPrice, 300).content(kProtein, 40).withStock(mealStock);
}

calctest::FixtureFeed &proteinFeed(CalcFixture &fx, double output, double min, double max,
                                   double mealMax = 100)
{
    return fx.feed(QStringLiteral("ПК-1"), QStringLiteral("Свиньи"), output)
        .norm(kProtein, min, max)
        .limit(QStringLiteral("Пшеница"), 0, 100)
        .limit(QStringLiteral("Шрот"), 0, mealMax);
}

RunResult runOn(CalcFixture &fx, RecordingObserver &observer, CalcMode mode = CalcMode::Cost,
                bool uniform = false, double lossNorm = 0)
{
    calc::RunOptions options;
    options.mode = mode;
    options.uniformRelax = uniform;
    options.parameters.lossNorm = lossNorm;
    return calc::runCalculation(fx.open(), options, observer);
}

// The share the run widened programme row i to; 0 when it was not widened.
double shareOf(const RunResult &result, int i)
{
    for (const calc::RelaxedRow &row : result.relaxation)
        if (row.row == i)
            return row.share;
    return 0;
}

// The level of characteristic q in feed type p's recipe.
double levelOf(const RunResult &result, int p, int q)
{
    for (const calc::RecipeLevel &level : result.recipes.feed(p).levels)
        if (level.characteristic == q)
            return level.level;
    return std::nan("");
}

} // namespace

class tst_run final : public QObject
{
    Q_OBJECT

private slots:
    void costModeSolvesOnce();
    void stopEndsTheRun_data();
    void stopEndsTheRun();
    void runOnAnotherThreadIsTheSame();
    void lostAccuracyEndsTheRun_data();
    void lostAccuracyEndsTheRun();
    void relaxationWidensUntilMet_data();
    void relaxationWidensUntilMet();
    void uniformRelaxationGivesUp();
    void stockToUseUp_data();
    void stockToUseUp();
    void proportionalSearchFindsTheStockLimit();
    void proportionalInfeasibleAtOnce();
    void currentProductGrowsAlone();
    void currentProductSearchEndsAtTheStockCheck();
    void currentProductNeedsAMark();
    void dataErrorsEndTheRunAtOnce();
    void unreadableTableIsAnError();
    void progressRanges();
    void rulesFromTheEnvironment_data();
    void rulesFromTheEnvironment();
};

// A feasible programme in the cost mode: one assembly, one full solve, the least cost.
void tst_run::costModeSolvesOnce()
{
    CalcFixture fx;
    twoRaws(fx);
    proteinFeed(fx, 10, 16, 18);
    RecordingObserver observer;
    const RunResult result = runOn(fx, observer);
    QCOMPARE(result.outcome, RunOutcome::Solution);
    QCOMPARE(result.attempts, 1);
    QCOMPARE(observer.solverShows, 1);
    QCOMPARE(observer.attemptMaximum, -1); // no attempt bar in the cost mode
    QVERIFY(observer.messages.isEmpty());
    // 8 t wheat + 2 t meal: protein exactly 16 %, cost 1400.
    QVERIFY(std::fabs(result.objective - 1400) < 1e-6);
    QCOMPARE(result.recipes.feed(1).lines[0].percent, 80.0);
    QCOMPARE(result.recipes.feed(1).lines[1].percent, 20.0);
    QCOMPARE(levelOf(result, 1, kProtein), 16.0);
    QCOMPARE(calc::summaryTitle(result.summary),
             QStringLiteral("Решение получено!    Общие затраты сырья  ") +
                 store::fixedText(10, 13, 3) + QStringLiteral("  Т.  на сумму  ") +
                 store::fixedText(1400, 13, 2) + QStringLiteral("  руб."));
    QCOMPARE(calc::summaryGrid(result.summary).rows.size(), 2);
    QCOMPARE(calc::summaryGrid(result.summary).rows[0][2], store::fixedText(8, 13, 3));
}

// A stop asked for ends the run at its next step, before an attempt or inside the
// solver: no recipe, no message box.
void tst_run::stopEndsTheRun_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("inSolver");
    QTest::addColumn<int>("attempts");
    QTest::newRow("before the first attempt") << int(CalcMode::Cost) << false << 0;
    QTest::newRow("in the solver, cost") << int(CalcMode::Cost) << true << 1;
    QTest::newRow("in the solver, proportional") << int(CalcMode::Proportional) << true << 1;
}

void tst_run::stopEndsTheRun()
{
    QFETCH(int, mode);
    QFETCH(bool, inSolver);
    QFETCH(int, attempts);
    CalcFixture fx;
    twoRaws(fx, 1000, 1000);
    proteinFeed(fx, 10, 16, 18);
    std::atomic_bool stop{!inSolver};
    RecordingObserver observer;
    observer.stopAtSolve = inSolver ? &stop : nullptr;
    calc::RunOptions options;
    options.mode = CalcMode(mode);
    options.stop = &stop;
    const RunResult result = calc::runCalculation(fx.open(), options, observer);
    QCOMPARE(result.outcome, RunOutcome::Stopped);
    QCOMPARE(result.attempts, attempts);
    QVERIFY(observer.messages.isEmpty());
    QCOMPARE(result.recipes.feedCount(), 0);
    QVERIFY(result.solver.pivots <= 1);
}

// The tables are read on the caller's thread and the rest runs on another: the same
// attempts, steps, relaxation and recipes as in one piece.
void tst_run::runOnAnotherThreadIsTheSame()
{
    CalcFixture fx;
    twoRaws(fx);
    proteinFeed(fx, 10, 25, 30, 1);
    RecordingObserver here;
    const RunResult whole = calc::runCalculation(fx.open(), {}, here);
    RecordingObserver there;
    calc::LoadedData data = calc::loadRun(fx.open(), {});
    RunResult apart;
    std::thread worker([&] { apart = calc::solveRun(std::move(data), {}, there); });
    worker.join();
    QCOMPARE(whole.outcome, RunOutcome::Solution);
    QCOMPARE(apart.outcome, whole.outcome);
    QCOMPARE(apart.attempts, whole.attempts);
    QCOMPARE(apart.solver.pivots, whole.solver.pivots);
    QCOMPARE(apart.objective, whole.objective);
    QVERIFY(shareOf(whole, 2) > 0);
    QCOMPARE(shareOf(apart, 2), shareOf(whole, 2));
    QCOMPARE(calc::gridLines(calc::summaryGrid(apart.summary)),
             calc::gridLines(calc::summaryGrid(whole.summary)));
    QCOMPARE(there.messages, here.messages);
}

// A solve whose figures could not be kept right ends the run with its message, in
// every mode, and shows no recipe (the solver's limits narrowed so that it happens).
void tst_run::lostAccuracyEndsTheRun_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("cost") << int(CalcMode::Cost);
    QTest::newRow("proportional") << int(CalcMode::Proportional);
}

void tst_run::lostAccuracyEndsTheRun()
{
    QFETCH(int, mode);
    CalcFixture fx;
    twoRaws(fx, 1000, 1000);
    proteinFeed(fx, 10, 16, 18);
    RecordingObserver observer;
    calc::RunOptions options;
    options.mode = CalcMode(mode);
    options.solverLimits.noise = -1; // every check of the figures fails
    options.solverLimits.rebuilds = 0;
    const RunResult result = calc::runCalculation(fx.open(), options, observer);
    QCOMPARE(result.outcome, RunOutcome::LostAccuracy);
    QCOMPARE(result.attempts, 1);
    QCOMPARE(observer.messages, QStringList{QString::fromUtf16(calc::kLostAccuracyMessage)});
    QVERIFY(result.summary.rows.isEmpty());
}

void tst_run::relaxationWidensUntilMet_data()
{
    QTest::addColumn<bool>("uniform");
    QTest::addColumn<int>("attempts");
    QTest::addColumn<double>("share");
    // Meal at most 1 %: protein reaches 10.3 %, so 25 % × (1 − r) ≤ 10.3 needs r ≥ 0.588.
    QTest::newRow("one requirement, by 0.05") << false << 13 << 0.6;
}

// A requirement that cannot be met widens step by step until the programme solves.
void tst_run::relaxationWidensUntilMet()
{
    QFETCH(bool, uniform);
    QFETCH(int, attempts);
    QFETCH(double, share);
    CalcFixture fx;
    twoRaws(fx);
    proteinFeed(fx, 10, 25, 30, 1);
    RecordingObserver observer;
    const RunResult result = runOn(fx, observer, CalcMode::Cost, uniform);
    QCOMPARE(result.outcome, RunOutcome::Solution);
    QCOMPARE(result.attempts, attempts);
    QCOMPARE(shareOf(result, 2), share);
    QVERIFY(levelOf(result, 1, kProtein) >= 25 * (1 - share) - 1e-9);
}

// Uniform relaxation by 0.01 gives up after the 51st step (share 0.51) with the
// failure analysis of the feed type.
void tst_run::uniformRelaxationGivesUp()
{
    CalcFixture fx;
    twoRaws(fx);
    proteinFeed(fx, 10, 25, 30, 1);
    RecordingObserver observer;
    const RunResult result = runOn(fx, observer, CalcMode::Cost, true);
    QCOMPARE(result.outcome, RunOutcome::FailureAnalysis);
    QCOMPARE(result.attempts, 51); // the 51st failure brings the share to 0.51
    QCOMPARE(shareOf(result, 2), 0.51);
    QCOMPARE(result.solveStatus, -2);
    QCOMPARE(calc::analysisTitle(result.analysis),
             QStringLiteral("Комбикорм № 1 типа ПК-1 не получается. Вес набран."));
    QCOMPARE(calc::characteristicsGrid(result.analysis).rows.size(), 1);
    QCOMPARE(calc::characteristicsGrid(result.analysis).rows[0][0], QStringLiteral("Протеин"));
    QCOMPARE(calc::rawsGrid(result.analysis).rows.size(), 2);
    QCOMPARE(calc::rawsGrid(result.analysis).rows[1][7],
             store::fixedText(1, 10, 2)); // meal max 1 %
}

void tst_run::stockToUseUp_data()
{
    QTest::addColumn<double>("stock");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("messages");
    // Protein at most 20 %: the 40 % raw material can take 10 × (1 + r) t of 20 t.
    QTest::newRow("met after widening") << 12.0 << int(RunOutcome::Solution) << 1;
    QTest::newRow("beyond 0.5") << 20.0 << int(RunOutcome::StockMessage) << 2;
}

// A stock marked for full use that the requirements do not let go: every requirement
// widens, with one piece of advice; past 0.5 the run ends with the stock message.
void tst_run::stockToUseUp()
{
    QFETCH(double, stock);
    QFETCH(int, outcome);
    QFETCH(int, messages);
    CalcFixture fx;
    fx.characteristic(QStringLiteral("Протеин"), QStringLiteral("%"));
    fx.raw(QStringLiteral("Шрот"))
        .content(kPrice, 300)
        .content(kProtein, 40)
        .withStock(stock)
        .usedUp();
    fx.raw(QStringLiteral("Отруби")).content(kPrice, 50);
    fx.feed(QStringLiteral("ПК-1"), QStringLiteral("Свиньи"), 20)
        .norm(kProtein, 0, 20)
        .limit(QStringLiteral("Шрот"), 0, 100)
        .limit(QStringLiteral("Отруби"), 0, 100);
    RecordingObserver observer;
    const RunResult result = runOn(fx, observer);
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(observer.messages, result.messages);
    QCOMPARE(result.messages.size(), messages);
    const QString head = QStringLiteral("Сырье № 1  Шрот - при выполнении требований по качеству "
                                        "полностью сработать нельзя!!  ");
    QVERIFY(QRegularExpression(QRegularExpression::escape(head) +
                               QStringLiteral("Рекомендую сработать [ 0-9]{7} \\+/- 1т\\.$"))
                .match(result.messages[0])
                .hasMatch());
    if (outcome == int(RunOutcome::Solution)) {
        QCOMPARE(result.recipes.consumption[1], stock); // used up
        return;
    }
    QVERIFY(QRegularExpression(QRegularExpression::escape(head) +
                               QStringLiteral("Подсчитано до [ 0-9]{7} \\+/- 1\\.\\.\\.$"))
                .match(result.messages[1])
                .hasMatch());
    QCOMPARE(shareOf(result, 2), 0.51);
}

// Proportional mode: the output grows by halving steps up to what the stock allows.
// Wheat 30 t, meal 20 t, protein 16..18 %: at most 30 / (1 − 8/30) = 40.909 t.
void tst_run::proportionalSearchFindsTheStockLimit()
{
    CalcFixture fx;
    twoRaws(fx, 30, 20);
    proteinFeed(fx, 10, 16, 18);
    RecordingObserver observer;
    const RunResult result = runOn(fx, observer, CalcMode::Proportional);
    QCOMPARE(result.outcome, RunOutcome::Solution);
    const double best = 30 / (1 - 8.0 / 30);
    QVERIFY2(result.selection.feedOutput[1] <= best && result.selection.feedOutput[1] > best - 0.01,
             qPrintable(QString::number(result.selection.feedOutput[1], 'f', 6)));
    QCOMPARE(observer.attemptMaximum, calc::attemptProgressMaximum(40));
    QCOMPARE(observer.attemptPositions.first(), 0);
    QCOMPARE(observer.attemptPositions.last(), result.attempts);
    QVERIFY(observer.attemptHidden);
    double tonnes = 0;
    for (const calc::RecipeLine &line : result.recipes.feed(1).lines)
        tonnes += line.tonnes;
    QVERIFY(std::fabs(tonnes - result.selection.feedOutput[1]) < 1e-9);
}

void tst_run::proportionalInfeasibleAtOnce()
{
    CalcFixture fx;
    twoRaws(fx, 30, 20);
    proteinFeed(fx, 10, 25, 30, 1);
    RecordingObserver observer;
    const RunResult result = runOn(fx, observer, CalcMode::Proportional);
    QCOMPARE(result.outcome, RunOutcome::FailureAnalysis);
    QCOMPARE(result.attempts, 1);
    QCOMPARE(observer.solverShows, 1);
    QCOMPARE(shareOf(result, 2), 0.0);
}

// Current product mode: only the marked feed type grows; the others keep their output.
void tst_run::currentProductGrowsAlone()
{
    CalcFixture fx;
    twoRaws(fx, 30, 20);
    proteinFeed(fx, 10, 16, 18);
    fx.feed(QStringLiteral("ПК-2"), QStringLiteral("Птица"), 5)
        .limit(QStringLiteral("Шрот"), 0, 100)
        .markedCurrent();
    RecordingObserver observer;
    const RunResult result = runOn(fx, observer, CalcMode::Product);
    QCOMPARE(result.outcome, RunOutcome::Solution);
    QCOMPARE(result.selection.feedOutput[1], 10.0);
    // Feed type 1 needs at least 2 t of meal: 18 t are left for feed type 2.
    QVERIFY2(result.selection.feedOutput[2] <= 18.0 && result.selection.feedOutput[2] > 17.99,
             qPrintable(QString::number(result.selection.feedOutput[2], 'f', 6)));
}

// Where the stock check is what stops the search, the end goes back to the last
// feasible outputs with their total and solves them (the search used to loop here).
void tst_run::currentProductSearchEndsAtTheStockCheck()
{
    // With a loss norm of 1 % these figures end the search on a failed stock check.
    CalcFixture fx;
    fx.raw(QStringLiteral("Пшеница")).content(kPrice, 100).withStock(50);
    fx.raw(QStringLiteral("Шрот")).content(kPrice, 300).withStock(37.45);
    for (const QString &type : {QStringLiteral("ПК-1"), QStringLiteral("ПК-2")}) {
        auto &feed = fx.feed(type, QStringLiteral("Свиньи"), type == u"ПК-1" ? 2.91 : 1.143)
                         .limit(QStringLiteral("Пшеница"), 0, 100)
                         .limit(QStringLiteral("Шрот"), 0, 100);
        if (type == u"ПК-1")
            feed.markedCurrent();
    }
    RecordingObserver observer;
    RunResult result;
    try {
        result = runOn(fx, observer, CalcMode::Product, false, 1);
    } catch (const std::runtime_error &) {
        QFAIL("the output search does not end");
    }
    QCOMPARE(result.outcome, RunOutcome::Solution);
    const double usable = 87.45 * 100 / 101;
    QVERIFY(result.working.totalOutput <= usable && result.working.totalOutput > usable - 0.01);
    QCOMPARE(result.selection.feedOutput[2], 1.143);
    QCOMPARE(result.working.totalOutput,
             result.selection.feedOutput[1] + result.selection.feedOutput[2]);
}

void tst_run::currentProductNeedsAMark()
{
    CalcFixture fx;
    twoRaws(fx, 30, 20);
    proteinFeed(fx, 10, 16, 18);
    RecordingObserver observer;
    const RunResult result = runOn(fx, observer, CalcMode::Product);
    QCOMPARE(result.outcome, RunOutcome::Errors);
    QCOMPARE(result.diagnostics, QStringList{calc::noCurrentProductMessage()});
    QCOMPARE(observer.solverShows, 0);
}

// Problems found by the checks end the run before any solve, all of them listed.
void tst_run::dataErrorsEndTheRunAtOnce()
{
    CalcFixture fx;
    twoRaws(fx, 1, 0);
    proteinFeed(fx, 0, 16, 18);
    fx.feed(QStringLiteral("ПК-2"), QStringLiteral("Птица"), 10)
        .limit(QStringLiteral("Пшеница"), 50, 60);
    RecordingObserver observer;
    const RunResult result = runOn(fx, observer);
    QCOMPARE(result.outcome, RunOutcome::Errors);
    QCOMPARE(result.diagnostics.size(), 3); // M4, M6 for ПК-2, M7 for wheat
    QVERIFY(result.diagnostics[0].startsWith(QStringLiteral("Требуемый вес продукта № 1")));
    QVERIFY(result.diagnostics[1].startsWith(QStringLiteral("Сумма максимальных норм")));
    QVERIFY(result.diagnostics[2].startsWith(QStringLiteral("Сырья № 1  Пшеница - мало")));
    QCOMPARE(observer.solverShows, 0);
    QCOMPARE(result.attempts, 1);
}

void tst_run::unreadableTableIsAnError()
{
    CalcFixture fx;
    twoRaws(fx);
    proteinFeed(fx, 10, 16, 18);
    calc::CalcTables tables = fx.open();
    tables.kk->close();
    QFile::remove(fx.path(QStringLiteral("kk.dbf")));
    RecordingObserver observer;
    const RunResult result = calc::runCalculation(tables, {}, observer);
    QCOMPARE(result.outcome, RunOutcome::Errors);
    QVERIFY(!result.dataError.isEmpty());
}

void tst_run::rulesFromTheEnvironment_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("read");
    QTest::addColumn<int>("rules");
    QTest::addColumn<bool>("refused");
    QTest::newRow("unset") << QByteArray() << true << int(lp::Rules::Automatic) << false;
    QTest::newRow("textbook") << QByteArray("textbook") << true << int(lp::Rules::Textbook)
                              << false;
    QTest::newRow("described") << QByteArray("described") << true << int(lp::Rules::Described)
                               << false;
    QTest::newRow("bad-value") << QByteArray("fast") << true << int(lp::Rules::Automatic) << true;
    QTest::newRow("empty-value") << QByteArray("") << true << int(lp::Rules::Automatic) << false;
    QTest::newRow("not-read") << QByteArray("fast") << false << int(lp::Rules::Automatic) << false;
}

// KORMOPLAN_RULES chooses the program's rules as its run starts; a value that names no
// rules ends the run before anything is loaded, with a message naming the variable.
void tst_run::rulesFromTheEnvironment()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, read);
    QFETCH(int, rules);
    QFETCH(bool, refused);
    if (value.isNull())
        qunsetenv("KORMOPLAN_RULES");
    else
        qputenv("KORMOPLAN_RULES", value);
    lp::Rules named = lp::Rules::Automatic;
    const QString error = calc::rulesFromEnvironment(&named);
    if (read) {
        QCOMPARE(int(named), rules);
        QCOMPARE(!error.isEmpty(), refused);
    }
    CalcFixture fx;
    twoRaws(fx);
    proteinFeed(fx, 10, 16, 18);
    RecordingObserver observer;
    calc::RunOptions options;
    options.rulesFromEnvironment = read;
    const RunResult result = calc::runCalculation(fx.open(), options, observer);
    qunsetenv("KORMOPLAN_RULES");
    QCOMPARE(result.outcome, refused ? RunOutcome::Errors : RunOutcome::Solution);
    if (refused) {
        QCOMPARE(result.diagnostics, QStringList{error});
        QVERIFY(error.contains(QStringLiteral("KORMOPLAN_RULES")));
        QCOMPARE(observer.solverShows, 0);
    }
}

void tst_run::progressRanges()
{
    // log2(1000 × 100) = 16.6: 17 + 2.
    QCOMPARE(calc::attemptProgressMaximum(100), 19);
    QCOMPARE(calc::attemptProgressMaximum(0), 2);
    QCOMPARE(calc::attemptProgressMaximum(-5), 2);
    // no surplus an int cannot count: an infinite one stops at log2 of the largest double
    QCOMPARE(calc::attemptProgressMaximum(1e308), 1026);
    QCOMPARE(calc::attemptProgressMaximum(std::nan("")), 2);
    calc::Selection selection;
    QCOMPARE(calc::solverProgressMinimum(selection, std::nan("")), -2'000'000'000);
    selection.rawCount = 2;
    selection.rawContent[1][1] = 100;
    selection.rawContent[2][1] = 300;
    QCOMPARE(calc::solverProgressMinimum(selection, 10), -2100);
    QCOMPARE(calc::solverProgressMinimum(selection, 1e9), -2'000'000'000);
}

QTEST_APPLESS_MAIN(tst_run)
#include "tst_run.moc"
