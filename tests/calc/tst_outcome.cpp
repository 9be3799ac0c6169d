// What a run's outcome holds for the window: the failed feed type with its
// characteristics and raw materials against their limits, and the solution summary.

#include "calc/outcome.h"
#include "outcomerecord.h"

#include <QtTest>

using calc::LevelState;

class tst_outcome final : public QObject
{
    Q_OBJECT

private slots:
    void failedRowNamesTheFeedType_data();
    void failedRowNamesTheFeedType();
    void characteristicState_data();
    void characteristicState();
    void rawsAgainstStockAndShare();
    void stockIsLessTheLosses();
    void solutionSummary();
};

void tst_outcome::failedRowNamesTheFeedType_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("outputFailed");
    QTest::newRow("requirement") << 2 << false;
    QTest::newRow("output") << 1 << true;
}

void tst_outcome::failedRowNamesTheFeedType()
{
    QFETCH(int, row);
    QFETCH(bool, outputFailed);
    outcometest::Analysed run;
    run.rowValue(1) = 7.5;
    const calc::FailureAnalysis analysis = run.analysis(row, 1);
    QCOMPARE(analysis.feed, 1);
    QCOMPARE(analysis.feedType, QStringLiteral("ПК-1"));
    QCOMPARE(analysis.outputFailed, outputFailed);
    QCOMPARE(analysis.output, 10.0);
    QCOMPARE(analysis.reached, run.rowValue(row));
}

// Protein's level against its norm; a bound is met within the record's tolerance, and
// "at the minimum" needs a minimum other than 0.
void tst_outcome::characteristicState_data()
{
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("level");
    QTest::addColumn<LevelState>("state");
    QTest::newRow("at minimum") << 16.0 << 16.0 << LevelState::AtMinimum;
    QTest::newRow("at minimum within tolerance") << 16.0 << 16.0 + 1e-11 << LevelState::AtMinimum;
    QTest::newRow("at maximum") << 16.0 << 20.0 << LevelState::AtMaximum;
    QTest::newRow("above maximum") << 16.0 << 20.5 << LevelState::AboveMaximum;
    QTest::newRow("below minimum") << 16.0 << 15.0 << LevelState::BelowMinimum;
    QTest::newRow("within") << 16.0 << 18.0 << LevelState::WithinNorm;
    QTest::newRow("zero minimum is no bound") << 0.0 << 0.0 << LevelState::WithinNorm;
}

void tst_outcome::characteristicState()
{
    QFETCH(double, minimum);
    QFETCH(double, level);
    QFETCH(LevelState, state);
    outcometest::Analysed run;
    run.rec.normMin[1][2] = minimum;
    run.rowValue(2) = level * 10 / 20; // the row holds output × level / maximum
    const calc::FailureAnalysis analysis = run.analysis(2, 0);
    QCOMPARE(analysis.characteristics.size(), 2);
    const calc::CharacteristicLevel &protein = analysis.characteristics[0];
    QCOMPARE(protein.name, QStringLiteral("Протеин"));
    QCOMPARE(protein.minimum, minimum);
    QCOMPARE(protein.level, level);
    QCOMPARE(protein.maximum, 20.0);
    QCOMPARE(protein.state, state);
    QCOMPARE(analysis.characteristics[1].state, LevelState::WithinNorm); // fat at 0 of 0..5
}

// A share is at its minimum of 0 too; the stock is used up when all feed types take it.
void tst_outcome::rawsAgainstStockAndShare()
{
    outcometest::Analysed run;
    const calc::FailureAnalysis analysis = run.analysis(2, 0);
    QCOMPARE(analysis.raws.size(), 2);
    const calc::RawLevel &wheat = analysis.raws[0];
    QCOMPARE(wheat.name, QStringLiteral("Пшеница"));
    QCOMPARE(wheat.stock, 10.0);
    QCOMPARE(wheat.used, 10.0);
    QCOMPARE(wheat.weight, 10.0);
    QCOMPARE(wheat.share, 100.0);
    QVERIFY(wheat.state.stockUsedUp);
    QCOMPARE(wheat.state.share, LevelState::AtMaximum);
    const calc::RawLevel &meal = analysis.raws[1];
    QCOMPARE(meal.share, 0.0);
    QCOMPARE(meal.maximum, 30.0);
    QVERIFY(!meal.state.stockUsedUp);
    QCOMPARE(meal.state.share, LevelState::AtMinimum);
}

// With 25 % losses 10 t of stock give 8 t of feed: the 10 t used are more than it holds.
void tst_outcome::stockIsLessTheLosses()
{
    outcometest::Analysed run;
    const calc::FailureAnalysis analysis = run.analysis(2, 25);
    QCOMPARE(analysis.raws[0].stock, 8.0);
    QVERIFY(!analysis.raws[0].state.stockUsedUp);
}

void tst_outcome::solutionSummary()
{
    const calc::SolutionSummary summary = outcometest::solvedSummary();
    QCOMPARE(summary.totalConsumption, 10.225);
    QCOMPARE(summary.totalCost, 100.5 * 10.1 + 300 * 0.125);
    QCOMPARE(summary.rows.size(), 2);
    const calc::SummaryRow &meal = summary.rows[1];
    QCOMPARE(meal.name, QStringLiteral("Шрот"));
    QCOMPARE(meal.stock, calc::kUnlimitedStock);
    QCOMPARE(meal.used, 0.125);
    QCOMPARE(meal.price, 300.0);
    QCOMPARE(meal.cost, 37.5);
}

QTEST_APPLESS_MAIN(tst_outcome)
#include "tst_outcome.moc"
