// Finishing a composition correction: which compositions are taken, how a shortfall is
// filled, and that the tonnes, tonnes with losses, cost and levels follow the percents.

#include "results/compositioncorrection.h"

#include <QTest>

using results::CellValue;

namespace
{

constexpr double kLoss = 0.5;

// The cells as typed.
QList<CellValue> typed(const QStringList &texts)
{
    QList<CellValue> cells;
    for (const QString &text : texts)
        cells.append(CellValue::typed(text));
    return cells;
}

QStringList texts(const QList<CellValue> &cells)
{
    QStringList list;
    for (const CellValue &cell : cells)
        list.append(cell.text);
    return list;
}

// Feed type 1 of 10 t from three raw materials (60/30/10 %); feed type 2 shares raw
// material 1 and must not change. Characteristic 2 is protein.
struct Calculated {
    calc::Selection selection;
    calc::Recipes recipes;

    Calculated()
    {
        const double prices[] = {15000, 46000, 3500};
        const double protein[] = {12, 46, 0};
        const double calcium[] = {1, 0, 2};
        for (int s = 1; s <= 3; ++s) {
            selection.rawContent[s][1] = prices[s - 1];
            selection.rawContent[s][2] = protein[s - 1];
            selection.rawContent[s][3] = calcium[s - 1];
        }
        calc::FeedRecipe first{1, QStringLiteral("ПК-1"), 10, {}, {}, {}};
        for (int s = 1; s <= 3; ++s) {
            const double percent = s == 1 ? 60 : s == 2 ? 30 : 10;
            first.lines.append({s, QString(), percent, percent * 10 / 100, 0, prices[s - 1]});
        }
        first.levels = {{2, QStringLiteral("Протеин"), 0, 21, 50, {}}};
        // protein / calcium: 21 / 0.8 as calculated
        first.ratios = {
            {2, 3, QStringLiteral("Протеин"), QStringLiteral("Кальций"), 20, 26.25, 30, true, {}}};
        calc::FeedRecipe second{2, QStringLiteral("ПК-2"), 5, {}, {}, {}};
        second.lines = {{1, QString(), 100, 5, 0, prices[0]}};
        second.levels = {{2, QStringLiteral("Протеин"), 0, 12, 50, {}}};
        recipes.feeds = {first, second};
    }

    // Programme column j: feed type 1's lines, then feed type 2's.
    const calc::RecipeLine &column(int j) const
    {
        return j <= 3 ? recipes.feed(1).lines[j - 1] : recipes.feed(2).lines[0];
    }
    double level(int p) const { return recipes.feed(p).levels[0].level; }
    results::CorrectionResult correct(QList<CellValue> &percents, const QList<CellValue> &prices)
    {
        return results::finishCorrection(recipes.feed(1), selection, percents, prices, kLoss);
    }
};

QList<CellValue> prices()
{
    return typed(
        {QStringLiteral("  15000.00"), QStringLiteral("  46000.00"), QStringLiteral("   3500.00")});
}

double feedTonnes(const Calculated &r, int p, bool withLosses)
{
    double sum = 0;
    for (const calc::RecipeLine &line : r.recipes.feed(p).lines)
        sum += withLosses ? line.withLosses : line.tonnes;
    return sum;
}

} // namespace

class TestCompositionCorrection final : public QObject
{
    Q_OBJECT

private slots:
    void refused_data();
    void refused();
    void nearlyHundredIsTakenAsItIs();
    void shortfallGoesIntoTheZeroRow();
    void emptyCellCountsAsZero();
    void zeroRowDropsOut();
    void priceNotANumberCountsWithTheRecipe();
    void ratioFollowsThePercents_data();
    void ratioFollowsThePercents();
};

void TestCompositionCorrection::refused_data()
{
    QTest::addColumn<QStringList>("percents");
    QTest::addColumn<QString>("message");
    QTest::newRow("97 without a zero row")
        << QStringList{"60", "30", "7"} << QStringLiteral("Набрано 97%... Исправьте...");
    QTest::newRow("above 100") << QStringList{"60", "30", "10.5"}
                               << QStringLiteral("Набрано 100.5%... Исправьте...");
    QTest::newRow("above 100 with a zero row")
        << QStringList{"70", "31", "0"} << QStringLiteral("Набрано 101%... Исправьте...");
    QTest::newRow("not a number")
        << QStringList{"60", "3o", "10"}
        << QStringLiteral("Имеются нечисловые значения процентов ввода... Исправьте...");
    QTest::newRow("just outside the tolerance")
        << QStringList{"60", "30", "9.994"} << QStringLiteral("Набрано 99.994%... Исправьте...");
}

// A refused composition leaves the recipe as it was.
void TestCompositionCorrection::refused()
{
    QFETCH(QStringList, percents);
    QFETCH(QString, message);
    Calculated r;
    QList<CellValue> cells = typed(percents);
    const results::CorrectionResult result = r.correct(cells, prices());
    QCOMPARE(result.message, message);
    for (int j = 1; j <= 3; ++j) {
        QCOMPARE(r.column(j).percent, Calculated().column(j).percent);
        QCOMPARE(r.column(j).tonnes, Calculated().column(j).tonnes);
    }
    QCOMPARE(r.level(1), 21.0);
}

// 99.996 % is taken with its percentages; the largest row takes the rest of the tonnes.
void TestCompositionCorrection::nearlyHundredIsTakenAsItIs()
{
    Calculated r;
    QList<CellValue> percents = typed({"59.996", "30", "10"});
    const results::CorrectionResult result = r.correct(percents, prices());
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(texts(percents), QStringList({"59.996", "30", "10"}));
    QCOMPARE(r.column(1).percent, 59.996);
    QCOMPARE(r.column(1).tonnes, 6.0); // 5.9996 -> 6.000, and the tonnes add up to 10
    QCOMPARE(feedTonnes(r, 1, false), 10.0);
    QCOMPARE(feedTonnes(r, 1, true), 10.05);
    // cost: round2(59.996 % of 15000) + 13800 + 350
    QCOMPARE(result.rawCost, 8999.4 + 13800 + 350);
    // protein: 12 × 0.59996 + 46 × 0.3
    QVERIFY(qAbs(r.level(1) - (12 * 0.59996 + 46 * 0.3)) < 1e-9);
    QCOMPARE(r.column(4).tonnes, 5.0); // the other feed type is untouched
    QCOMPARE(r.level(2), 12.0);
}

// 97 % with one row at 0 %: that row gets the 3.00 %.
void TestCompositionCorrection::shortfallGoesIntoTheZeroRow()
{
    Calculated r;
    QList<CellValue> percents = typed({"67", "30", "0"});
    const results::CorrectionResult result = r.correct(percents, prices());
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(texts(percents), QStringList({"67", "30", "    3.00"}));
    QCOMPARE(percents[2].number.value, 3.0);
    QCOMPARE(r.column(3).percent, 3.0);
    QCOMPARE(r.column(3).tonnes, 0.3);
    QCOMPARE(r.column(3).withLosses, 0.301); // 0.3 × 1.005 is 0.30149999... in binary
    QCOMPARE(feedTonnes(r, 1, false), 10.0);
    QCOMPARE(feedTonnes(r, 1, true), 10.05);
}

void TestCompositionCorrection::emptyCellCountsAsZero()
{
    Calculated r;
    QList<CellValue> percents = typed({"", "30", "70"});
    const results::CorrectionResult result = r.correct(percents, prices());
    QVERIFY(result.ok());
    QCOMPARE(percents.first().text, QStringLiteral("0.00"));
    QCOMPARE(r.column(1).tonnes, 0.0);
    QCOMPARE(r.column(3).tonnes, 7.0);
}

// A raw material corrected to 0 % has no tonnes any more (it leaves the grid).
void TestCompositionCorrection::zeroRowDropsOut()
{
    Calculated r;
    QList<CellValue> percents = typed({"70", "30", "0.00"});
    QVERIFY(r.correct(percents, prices()).ok());
    QCOMPARE(r.column(3).tonnes, 0.0);
    QCOMPARE(r.column(3).withLosses, 0.0);
    QCOMPARE(r.column(1).tonnes, 7.0);
    QCOMPARE(r.level(1), 12 * 0.7 + 46 * 0.3);
}

// A price cell left as no number counts with the recipe line's price.
void TestCompositionCorrection::priceNotANumberCountsWithTheRecipe()
{
    Calculated r;
    QList<CellValue> percents = typed({"60", "30", "10"});
    QList<CellValue> cells = prices();
    cells[1] = CellValue::typed(QStringLiteral("46ooo"));
    cells[2] = CellValue::typed(QStringLiteral("3600"));
    const results::CorrectionResult result = r.correct(percents, cells);
    QVERIFY(result.ok());
    QCOMPARE(result.rawCost, 9000 + 13800 + 360.0);
}

void TestCompositionCorrection::ratioFollowsThePercents_data()
{
    QTest::addColumn<QStringList>("percents");
    QTest::addColumn<bool>("defined");
    QTest::addColumn<double>("level");
    QTest::addColumn<calc::LevelState>("state");
    QTest::newRow("above its maximum") << QStringList{"70", "30", "0"} << true << (8.4 + 13.8) / 0.7
                                       << calc::LevelState::AboveMaximum;
    QTest::newRow("below its minimum") << QStringList{"40", "30", "30"} << true
                                       << (4.8 + 13.8) / 1.0 << calc::LevelState::BelowMinimum;
    QTest::newRow("no calcium: no level")
        << QStringList{"0", "100", "0"} << false << 0.0 << calc::LevelState::WithinNorm;
}

// The ratio's level and state are those of the corrected batch, as the grid shows them.
void TestCompositionCorrection::ratioFollowsThePercents()
{
    QFETCH(QStringList, percents);
    QFETCH(bool, defined);
    QFETCH(double, level);
    QFETCH(calc::LevelState, state);
    Calculated r;
    QList<CellValue> cells = typed(percents);
    QVERIFY(r.correct(cells, prices()).ok());
    const calc::RecipeRatio &ratio = r.recipes.feed(1).ratios.first();
    QCOMPARE(ratio.defined, defined);
    QVERIFY(qAbs(ratio.level - level) < 1e-9);
    QCOMPARE(ratio.state, state);
}

QTEST_APPLESS_MAIN(TestCompositionCorrection)
#include "tst_compositioncorrection.moc"
