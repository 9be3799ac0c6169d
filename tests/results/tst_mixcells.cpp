// The mix window's grid numbers and the archive rows taken from them: a blank cell is 0,
// a marked row's cell that is not a number stops the write (the price row excepted), and
// a level is archived as its cell shows it, rounded, never as computed.

#include "results/mixcells.h"

#include <QTest>

#include <limits>

using results::CellValue;
using results::MixCells;

namespace
{

const QList<results::MixCharacteristic> kRows = {
    {QStringLiteral("Цена"), 1, QStringLiteral("руб/т")},
    {QStringLiteral("Сырой протеин"), 6, QStringLiteral("%")},
    {QStringLiteral("Триптофан"), 13, QStringLiteral("%")}};

} // namespace

Q_DECLARE_METATYPE(CellValue)
Q_DECLARE_METATYPE(MixCells)
Q_DECLARE_METATYPE(results::NormDeviation)

class TestMixCells final : public QObject
{
    Q_OBJECT

private slots:
    void typedNorm_data();
    void typedNorm();
    void archivedNumbers_data();
    void archivedNumbers();
    void notANumberStopsTheWrite_data();
    void notANumberStopsTheWrite();
    void missingCellsAreBlankAndUnmarked();
    void levelAgainstNorms_data();
    void levelAgainstNorms();
};

void TestMixCells::typedNorm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "21.5" << true << 21.5;
    QTest::newRow("blanks around") << " 21.5  " << true << 21.5;
    QTest::newRow("blank only") << "   " << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letter") << "2l" << false << 0.0;
    QTest::newRow("comma") << "12,5" << false << 0.0;
}

// A typed norm keeps its text as typed and is read without the blanks around it.
void TestMixCells::typedNorm()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(double, value);
    const CellValue cell = results::typedNormCell(text);
    QCOMPARE(cell.text, text);
    QCOMPARE(cell.number.ok(), number);
    if (number)
        QCOMPARE(cell.number.value, value);
}

void TestMixCells::archivedNumbers_data()
{
    QTest::addColumn<CellValue>("minimum");
    QTest::addColumn<CellValue>("fact");
    QTest::addColumn<CellValue>("maximum");
    QTest::addColumn<double>("archivedMinimum");
    QTest::addColumn<double>("archivedFact");
    QTest::addColumn<double>("archivedMaximum");
    // 0.15·50 + 0.06·50 over 100 is 0.10499999...: shown and archived as 0.10
    const double tryptophan = (0.15 * 50 + 0.06 * 50) / 100;
    QTest::newRow("level below a half")
        << CellValue() << results::levelCell(tryptophan) << CellValue() << 0.0 << 0.10 << 0.0;
    // 12.55·50 + 13.8·50 over 100 is 13.17500000...1: shown and archived as 13.18
    QTest::newRow("level above a half")
        << CellValue() << results::levelCell((12.55 * 50 + 13.8 * 50) / 100) << CellValue() << 0.0
        << 13.18 << 0.0;
    QTest::newRow("whole from 45") << results::normCell(45.4) << results::levelCell(45.5)
                                   << results::normCell(60.5) << 45.0 << 46.0 << 61.0;
    QTest::newRow("norms as shown") << results::normCell(12.55) << results::levelCell(13)
                                    << results::normCell(0.035) << 12.55 << 13.0 << 0.035;
    QTest::newRow("typed norms") << results::typedNormCell(" 21.5 ") << CellValue()
                                 << results::typedNormCell("23.5") << 21.5 << 0.0 << 23.5;
    QTest::newRow("blanks are 0") << results::typedNormCell("  ") << CellValue()
                                  << results::normCell(0) << 0.0 << 0.0 << 0.0;
}

// Every number of a marked row goes into the archive as its cell shows it.
void TestMixCells::archivedNumbers()
{
    QFETCH(CellValue, minimum);
    QFETCH(CellValue, fact);
    QFETCH(CellValue, maximum);
    QFETCH(double, archivedMinimum);
    QFETCH(double, archivedFact);
    QFETCH(double, archivedMaximum);
    const QList<MixCells> cells = {{}, {minimum, fact, maximum}, {}};
    const results::MixArchiveRows archived =
        results::archivedCharacteristics(kRows, cells, {false, true, false});
    QVERIFY2(archived.ok(), qPrintable(archived.error));
    QCOMPARE(archived.rows.size(), kRows.size());
    const archive::MixRecipe::Characteristic &row = archived.rows.at(1);
    QCOMPARE(row.name, QStringLiteral("Сырой протеин"));
    QCOMPARE(row.unit, QStringLiteral("%"));
    QVERIFY(row.marked);
    QVERIFY(!archived.rows.at(2).marked);
    QCOMPARE(row.minimum, archivedMinimum);
    QCOMPARE(row.fact, archivedFact);
    QCOMPARE(row.maximum, archivedMaximum);
}

void TestMixCells::notANumberStopsTheWrite_data()
{
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<MixCells>("cells");
    QTest::addColumn<QString>("error"); // empty: written, the bad cell as 0
    const QString proteinMinimum =
        QStringLiteral("В строке \"Сырой протеин\" колонка \"Минимум\" не число. Рецепт в архив "
                       "не записан...");
    QTest::newRow("marked minimum")
        << 1 << true << MixCells{results::typedNormCell("2l"), {}, {}} << proteinMinimum;
    QTest::newRow("minimum named before the others")
        << 1 << true
        << MixCells{results::typedNormCell("x"), results::levelCell(infinity),
                    results::typedNormCell("y")}
        << proteinMinimum;
    QTest::newRow("marked maximum")
        << 2 << true << MixCells{{}, {}, results::typedNormCell("1,5")}
        << QStringLiteral("В строке \"Триптофан\" колонка \"Максимум\" не число. Рецепт в архив "
                          "не записан...");
    QTest::newRow("level out of range")
        << 2 << true << MixCells{{}, results::levelCell(infinity), {}}
        << QStringLiteral("В строке \"Триптофан\" колонка \"Факт\" не число. Рецепт в архив "
                          "не записан...");
    QTest::newRow("unmarked row") << 1 << false << MixCells{results::typedNormCell("2l"), {}, {}}
                                  << QString();
    QTest::newRow("price row") << 0 << true << MixCells{results::typedNormCell("2l"), {}, {}}
                               << QString();
}

// A cell that is not a number matters only in a marked row the archive stores.
void TestMixCells::notANumberStopsTheWrite()
{
    QFETCH(int, row);
    QFETCH(bool, marked);
    QFETCH(MixCells, cells);
    QFETCH(QString, error);
    QList<MixCells> grid(kRows.size());
    grid[row] = cells;
    QList<bool> marks(kRows.size(), false);
    marks[row] = marked;
    const results::MixArchiveRows archived = results::archivedCharacteristics(kRows, grid, marks);
    QCOMPARE(archived.error, error);
    if (!error.isEmpty()) {
        QVERIFY(archived.rows.isEmpty());
        return;
    }
    QCOMPARE(archived.rows.at(row).minimum, 0.0);
    QCOMPARE(archived.rows.at(row).marked, marked);
}

// Rows the grid has no numbers or marks for yet are archived blank and unmarked.
void TestMixCells::missingCellsAreBlankAndUnmarked()
{
    const results::MixArchiveRows archived = results::archivedCharacteristics(kRows, {}, {});
    QVERIFY(archived.ok());
    QCOMPARE(archived.rows.size(), kRows.size());
    for (const archive::MixRecipe::Characteristic &row : archived.rows) {
        QVERIFY(!row.marked);
        QCOMPARE(row.minimum, 0.0);
        QCOMPARE(row.fact, 0.0);
        QCOMPARE(row.maximum, 0.0);
    }
}

void TestMixCells::levelAgainstNorms_data()
{
    using results::NormDeviation;
    QTest::addColumn<MixCells>("cells");
    QTest::addColumn<NormDeviation>("deviation");
    const CellValue calcium = results::levelCell(0.09);
    QTest::newRow("below the minimum")
        << MixCells{results::normCell(0.55), calcium, results::normCell(1.2)}
        << NormDeviation::BelowMinimum;
    QTest::newRow("above the maximum")
        << MixCells{{}, results::levelCell(3250), results::normCell(3000)}
        << NormDeviation::AboveMaximum;
    // 0.5496 shows as 0.55: no mark that the figures on the screen contradict
    QTest::newRow("as shown") << MixCells{results::normCell(0.55), results::levelCell(0.5496), {}}
                              << NormDeviation::Within;
    QTest::newRow("maximum 0 bounds nothing")
        << MixCells{{}, calcium, results::typedNormCell("0")} << NormDeviation::Within;
    QTest::newRow("no level yet") << MixCells{results::normCell(0.55), {}, {}}
                                  << NormDeviation::Within;
}

// A level is out of its norms as the cells show them; what is no norm bounds nothing.
void TestMixCells::levelAgainstNorms()
{
    QFETCH(MixCells, cells);
    QFETCH(results::NormDeviation, deviation);
    QCOMPARE(results::normDeviation(cells), deviation);
}

QTEST_APPLESS_MAIN(TestMixCells)
#include "tst_mixcells.moc"
