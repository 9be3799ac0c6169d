// The output search of the two output modes: the halving steps, the moves of the
// outputs, and the return to the last feasible outputs at the end.

#include "calc/loading.h"
#include "calc/outputsearch.h"
#include "store/numbertext.h"

#include <QtTest>

using calc::CalcMode;
using calc::CalcWorkingValues;
using calc::OutputSearch;

namespace
{

// Feed types with the given outputs and a stock surplus over their total; the number of
// feed types.
int start(CalcWorkingValues &work, const QList<double> &outputs, double surplus)
{
    work.totalOutput = 0;
    for (int p = 1; p <= int(outputs.size()); ++p) {
        work.output[p] = outputs[p - 1];
        work.totalOutput += outputs[p - 1];
    }
    work.surplus = surplus;
    work.surplusRatio = surplus / work.totalOutput;
    return int(outputs.size());
}

double sumOfOutputs(int feeds, const CalcWorkingValues &work)
{
    double sum = 0;
    for (int p = 1; p <= feeds; ++p)
        sum += work.output[p];
    return sum;
}

} // namespace

class tst_outputsearch final : public QObject
{
    Q_OBJECT

private slots:
    void costModeSolvesOnceInFull();
    void proportionalStepsHalve();
    void proportionalKeepsProportions();
    void proportionalEndsWithTheStep();
    void productMovesTheCurrentFeedOnly();
    void restoringBringsBackTheTotal_data();
    void restoringBringsBackTheTotal();
};

void tst_outputsearch::costModeSolvesOnceInFull()
{
    CalcWorkingValues work;
    const int feeds = start(work, {10}, 100);
    const OutputSearch search(CalcMode::Cost, feeds, work);
    QVERIFY(search.isFinal());
    QVERIFY(search.nextIsFull());
}

// A surplus of 100 t: steps 50, 25, 12.5, ... whether the attempts succeed or fail.
void tst_outputsearch::proportionalStepsHalve()
{
    CalcWorkingValues work;
    const int feeds = start(work, {100}, 100);
    OutputSearch search(CalcMode::Proportional, feeds, work);
    QVERIFY(!search.nextIsFull());
    const double expected[] = {50, 25, 12.5, 6.25, 3.125, 1.5625};
    for (int k = 0; k < 6; ++k) {
        const double before = work.totalOutput;
        if (k % 2 == 0)
            QVERIFY(search.grow());
        else
            search.shrink();
        QCOMPARE(search.step(), expected[k]);
        QCOMPARE(search.ratio(), expected[k] / before);
    }
}

// Every output moves by the same ratio, rounded down to a kilogram; the total follows.
void tst_outputsearch::proportionalKeepsProportions()
{
    CalcWorkingValues work;
    const int feeds = start(work, {30, 10}, 80);
    OutputSearch search(CalcMode::Proportional, feeds, work);
    QVERIFY(search.grow()); // step 40, ratio 1
    QCOMPARE(work.output[1], store::round3(2 * 30 - 0.0005));
    QCOMPARE(work.output[2], store::round3(2 * 10 - 0.0005));
    QCOMPARE(work.totalOutput, sumOfOutputs(feeds, work));
    QCOMPARE(work.savedOutput[1], 30.0);
    QCOMPARE(work.savedTotal, 40.0);
    search.shrink(); // step 20, ratio 20 / 79.998
    QVERIFY(work.output[1] < 59.999 && work.output[1] > 30);
    QCOMPARE(work.totalOutput, sumOfOutputs(feeds, work));
}

// The search stops once the step is at most 0.001 t: the attempt that saw it was
// already solved in full.
void tst_outputsearch::proportionalEndsWithTheStep()
{
    CalcWorkingValues work;
    const int feeds = start(work, {100}, 100);
    OutputSearch search(CalcMode::Proportional, feeds, work);
    int attempts = 1;
    while (!search.nextIsFull() && attempts < 100) {
        search.shrink();
        ++attempts;
    }
    QVERIFY(search.step() <= 0.001 || search.ratio() < 0.0001);
    QVERIFY(attempts < 40);
    QVERIFY(!search.grow());
}

void tst_outputsearch::productMovesTheCurrentFeedOnly()
{
    CalcWorkingValues work;
    const int feeds = start(work, {10, 20}, 100);
    work.currentFeed = 2;
    OutputSearch search(CalcMode::Product, feeds, work);
    QVERIFY(search.grow());
    const double step = store::round3(100.0 / 2 - 0.0005);
    QCOMPARE(search.step(), step);
    QCOMPARE(work.output[1], 10.0);
    QCOMPARE(work.output[2], store::round3(20 + step));
    QCOMPARE(work.totalOutput, 30 + step);
    search.shrink();
    QCOMPARE(work.output[1], 10.0);
    QCOMPARE(work.output[2], store::round3(20 + step - search.step()));
}

void tst_outputsearch::restoringBringsBackTheTotal_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("proportional") << int(CalcMode::Proportional);
    QTest::newRow("current product") << int(CalcMode::Product);
}

// At the end the search goes back to the last feasible outputs, and the total with
// them: the stock check compares the total, and a total left behind would fail it
// again and again.
void tst_outputsearch::restoringBringsBackTheTotal()
{
    QFETCH(int, mode);
    CalcWorkingValues work;
    const int feeds = start(work, {10, 20}, 0.01);
    work.currentFeed = 1;
    OutputSearch search(CalcMode(mode), feeds, work);
    QVERIFY(search.grow()); // the entered outputs were feasible
    const double savedTotal = 30;
    int attempts = 0;
    while (!search.isFinal() && attempts < 100) {
        search.shrink();
        ++attempts;
    }
    QVERIFY(search.isFinal());
    QCOMPARE(work.output[1], 10.0);
    QCOMPARE(work.output[2], 20.0);
    QCOMPARE(work.totalOutput, savedTotal);
}

QTEST_APPLESS_MAIN(tst_outputsearch)
#include "tst_outputsearch.moc"
