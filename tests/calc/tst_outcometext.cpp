// The texts of a run's outcome: titles, the analysis comments, the number formats of the
// grids, which columns are numbers, and the grids as printed lines.

#include "calc/outcometext.h"
#include "outcomerecord.h"
#include "store/numbertext.h"

#include <QtTest>

class tst_outcometext final : public QObject
{
    Q_OBJECT

private slots:
    void failureAnalysisTitle_data();
    void failureAnalysisTitle();
    void commentsOfTheAnalysis();
    void solutionSummary();
    void numbersAreTheNumericColumns();
    void gridLinesAreColumnsWithBars();
};

void tst_outcometext::failureAnalysisTitle_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("title");
    QTest::newRow("requirement") << 2
                                 << QStringLiteral(
                                        "Комбикорм № 1 типа ПК-1 не получается. Вес набран.");
    QTest::newRow("output") << 1
                            << QStringLiteral(
                                   "Комбикорм № 1 типа ПК-1 не получается. Вес не набран. "
                                   "  Задано -  10.000     Подсчитано до -    7.500");
}

void tst_outcometext::failureAnalysisTitle()
{
    QFETCH(int, row);
    QFETCH(QString, title);
    outcometest::Analysed run;
    run.rowValue(1) = 7.5;
    QCOMPARE(calc::analysisTitle(run.analysis(row, 1)), title);
}

// "на минимуме" for a characteristic needs a non-zero minimum; for a share it does not.
void tst_outcometext::commentsOfTheAnalysis()
{
    outcometest::Analysed run;
    const calc::FailureAnalysis analysis = run.analysis(2, 0);
    const calc::TextGrid characteristics = calc::characteristicsGrid(analysis);
    QCOMPARE(characteristics.rows.size(), 2);
    QCOMPARE(characteristics.rows[0],
             (QStringList{QStringLiteral("Протеин"), QString::fromUtf16(calc::kAtMinimum),
                          QStringLiteral("    16.00"), QStringLiteral("    16.00"),
                          QStringLiteral("    20.00")}));
    QCOMPARE(characteristics.rows[1][1], QString::fromUtf16(calc::kWithinNorm));
    const calc::TextGrid raws = calc::rawsGrid(analysis);
    const QStringList wheat = raws.rows[0];
    QCOMPARE(wheat[1], store::fixedText(10, 13, 3));
    QCOMPARE(wheat[4], QString::fromUtf16(calc::kStockUsedUp));
    QCOMPARE(wheat[6], QStringLiteral("    100.00"));
    QCOMPARE(wheat[8], QString::fromUtf16(calc::kAtMaximum));
    const QStringList meal = raws.rows[1];
    QCOMPARE(meal[4], QString());
    QCOMPARE(meal[8], QString::fromUtf16(calc::kAtMinimum));
}

void tst_outcometext::solutionSummary()
{
    const calc::SolutionSummary summary = outcometest::solvedSummary();
    QCOMPARE(calc::summaryTitle(summary),
             QStringLiteral("Решение получено!    Общие затраты сырья         10.225"
                            "  Т.  на сумму        1052.55  руб."));
    QCOMPARE(calc::summaryGrid(summary).rows[1],
             (QStringList{QStringLiteral("Шрот"), QStringLiteral("   999999.000"),
                          QStringLiteral("        0.125"), QStringLiteral("       300.00"),
                          QStringLiteral("        37.50")}));
}

// Every column written with fixedText is marked numeric (the window right-aligns it),
// none of the names and comments is.
void tst_outcometext::numbersAreTheNumericColumns()
{
    outcometest::Analysed run;
    const calc::FailureAnalysis analysis = run.analysis(2, 0);
    const QList<calc::TextGrid> grids = {calc::characteristicsGrid(analysis),
                                         calc::rawsGrid(analysis),
                                         calc::summaryGrid(outcometest::solvedSummary())};
    for (const calc::TextGrid &grid : grids) {
        QCOMPARE(grid.numeric.size(), grid.header.size());
        for (const QStringList &row : grid.rows)
            for (int c = 0; c < row.size(); ++c) {
                bool number = false;
                store::parseNumber(row[c], &number);
                QVERIFY2(number == grid.numeric[c], qPrintable(grid.header[c]));
            }
    }
}

// Each cell is followed by blanks up to one more than its column's widest text, then "!".
void tst_outcometext::gridLinesAreColumnsWithBars()
{
    calc::TextGrid grid;
    grid.header = {QStringLiteral("Имя"), QStringLiteral("Ч")};
    grid.rows = {{QStringLiteral("Пшеница"), QStringLiteral("12")}};
    QCOMPARE(calc::gridLines(grid),
             (QStringList{QStringLiteral("Имя     !Ч  !"), QStringLiteral("Пшеница !12 !")}));
}

QTEST_APPLESS_MAIN(tst_outcometext)
#include "tst_outcometext.moc"
