// What the calculation window shows after a run: the failure analysis with its
// comments, the solution summary, and the grids as printed lines.

#include "calc/outcome.h"
#include "store/numbertext.h"

#include <QtTest>

using calc::ProblemRecord;

namespace
{

// Feed type 1 (output 10 t) with rows: 1 output, 2 protein (q 2), 3 fat (q 3); raw
// materials 1 and 2 with stock rows 4 and 5; columns 1 (raw 1) and 2 (raw 2).
void analysedRecord(ProblemRecord &rec, calc::CalcWorkingValues &work)
{
    rec.feedCount = 1;
    rec.rawCount = 2;
    rec.charCount = 3;
    rec.columnCount = 2;
    rec.rowCount = 5;
    rec.tolerance = 3e-11;
    rec.feedType[1] = QStringLiteral("ПК-1");
    rec.feedOutput[1] = 10;
    rec.charName[2] = QStringLiteral("Протеин");
    rec.charName[3] = QStringLiteral("Жир");
    rec.rawName[1] = QStringLiteral("Пшеница");
    rec.rawName[2] = QStringLiteral("Шрот");
    rec.rawStock[1] = 10;
    rec.rawStock[2] = calc::kUnlimitedStock;
    const int kinds[] = {0, calc::kOutputRow, 2, 3, calc::kStockRow, calc::kStockRow};
    const int owners[] = {0, 1, 1, 1, 1, 2};
    for (int i = 1; i <= 5; ++i) {
        rec.rowKind[i] = kinds[i];
        rec.rowOwner[i] = owners[i];
    }
    rec.normMin[1][2] = 16; // level 16: at its minimum
    rec.normMax[1][2] = 20;
    rec.rowValue[2] = 16 * 10 / 20.0;
    rec.normMin[1][3] = 0; // level 0 with a minimum of 0: within the norm
    rec.normMax[1][3] = 5;
    rec.rowValue[3] = 0;
    for (int j = 1; j <= 2; ++j) {
        rec.columnFeed[j] = 1;
        rec.columnRaw[j] = j;
    }
    rec.columnValue[1] = 10; // all of the stock
    rec.columnValue[2] = 0;
    work.minInclusion[1][1] = 0;
    work.maxInclusion[1][1] = 100;
    work.minInclusion[1][2] = 0;
    work.maxInclusion[1][2] = 30;
}

} // namespace

class tst_outcome final : public QObject
{
    Q_OBJECT

private slots:
    void failureAnalysisTitle_data();
    void failureAnalysisTitle();
    void commentsOfTheAnalysis();
    void solutionSummary();
    void gridLinesAreColumnsWithBars();
};

void tst_outcome::failureAnalysisTitle_data()
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

void tst_outcome::failureAnalysisTitle()
{
    QFETCH(int, row);
    QFETCH(QString, title);
    ProblemRecord rec;
    calc::CalcWorkingValues work;
    analysedRecord(rec, work);
    rec.rowValue[1] = 7.5;
    QCOMPARE(calc::failureAnalysis(rec, work, row, 1).title, title);
}

// "на минимуме" for a characteristic needs a non-zero minimum; for a share it does not.
void tst_outcome::commentsOfTheAnalysis()
{
    ProblemRecord rec;
    calc::CalcWorkingValues work;
    analysedRecord(rec, work);
    const calc::FailureAnalysis analysis = calc::failureAnalysis(rec, work, 2, 0);
    QCOMPARE(analysis.characteristics.rows.size(), 2);
    QCOMPARE(analysis.characteristics.rows[0],
             (QStringList{QStringLiteral("Протеин"), QString::fromUtf16(calc::kAtMinimum),
                          QStringLiteral("    16.00"), QStringLiteral("    16.00"),
                          QStringLiteral("    20.00")}));
    QCOMPARE(analysis.characteristics.rows[1][1], QString::fromUtf16(calc::kWithinNorm));
    const QStringList wheat = analysis.raws.rows[0];
    QCOMPARE(wheat[1], store::fixedText(10, 13, 3));
    QCOMPARE(wheat[4], QString::fromUtf16(calc::kStockUsedUp));
    QCOMPARE(wheat[6], QStringLiteral("    100.00"));
    QCOMPARE(wheat[8], QString::fromUtf16(calc::kAtMaximum));
    const QStringList meal = analysis.raws.rows[1];
    QCOMPARE(meal[4], QString());
    QCOMPARE(meal[8], QString::fromUtf16(calc::kAtMinimum));
    // The states the window colours by say the same as the comments.
    using calc::LevelState;
    QCOMPARE(analysis.characteristicStates,
             (QList<LevelState>{LevelState::AtMinimum, LevelState::WithinNorm}));
    QCOMPARE(analysis.rawStates.size(), analysis.raws.rows.size());
    QVERIFY(analysis.rawStates[0].stockUsedUp);
    QCOMPARE(analysis.rawStates[0].share, LevelState::AtMaximum);
    QVERIFY(!analysis.rawStates[1].stockUsedUp);
    QCOMPARE(analysis.rawStates[1].share, LevelState::AtMinimum);
}

void tst_outcome::solutionSummary()
{
    ProblemRecord rec;
    calc::CalcWorkingValues work;
    analysedRecord(rec, work);
    rec.rawContent[1][1] = 100.5;
    rec.rawContent[2][1] = 300;
    rec.rowValue[4] = 10.1;
    rec.rowValue[5] = 0.125;
    const calc::SolutionSummary summary = calc::solutionSummary(rec);
    QCOMPARE(summary.totalConsumption, 10.225);
    QCOMPARE(summary.totalCost, 100.5 * 10.1 + 300 * 0.125);
    QCOMPARE(summary.title, QStringLiteral("Решение получено!    Общие затраты сырья         10.225"
                                           "  Т.  на сумму        1052.55  руб."));
    QCOMPARE(summary.grid.rows[1],
             (QStringList{QStringLiteral("Шрот"), QStringLiteral("   999999.000"),
                          QStringLiteral("        0.125"), QStringLiteral("       300.00"),
                          QStringLiteral("        37.50")}));
}

// Each cell is followed by blanks up to one more than its column's widest text, then "!".
void tst_outcome::gridLinesAreColumnsWithBars()
{
    calc::TextGrid grid;
    grid.header = {QStringLiteral("Имя"), QStringLiteral("Ч")};
    grid.rows = {{QStringLiteral("Пшеница"), QStringLiteral("12")}};
    QCOMPARE(calc::gridLines(grid),
             (QStringList{QStringLiteral("Имя     !Ч  !"), QStringLiteral("Пшеница !12 !")}));
}

QTEST_APPLESS_MAIN(tst_outcome)
#include "tst_outcome.moc"
