// The lower grids of the results window: composition rows, characteristic rows with
// their number formats and blanks, and the red marking of norm violations.

#include "calc/recipe.h"
#include "results/resultgrids.h"

#include <QTest>

using results::CellValue;

namespace
{

QStringList texts(const results::CompositionRow &row)
{
    return {row.name, row.percent.text, row.price.text, row.batchCost, row.tonnes};
}

QStringList texts(const results::CharacteristicRow &row)
{
    return {row.name, row.minimum.text, row.fact.text, row.maximum.text};
}

// One feed type of 10 t over three raw materials (the third not taken) and four
// characteristics: price, energy (a large value), protein, fibre.
calc::FeedRecipe recipe()
{
    calc::FeedRecipe feed;
    feed.feed = 1;
    feed.output = 10;
    feed.lines = {{1, QStringLiteral("Пшеница"), 97.5, 9.75, 9.75, 15000},
                  {2, QStringLiteral("Мел"), 2.5, 0.25, 0.25, 3500.5},
                  {3, QStringLiteral("Овес"), 0, 0, 0, 12500}};
    feed.levels = {{1, QStringLiteral("Цена"), 0, 0.9, 0, {}},
                   {2, QStringLiteral("Обменная энергия"), 290, 45, 1160.0004, {}}, // no maximum
                   {3, QStringLiteral("Сырой протеин"), 0, 44.5, 50, {}},
                   {4, QStringLiteral("Клетчатка"), 4, 3.456, 6, {}}};
    return feed;
}

} // namespace

class TestResultGrids final : public QObject
{
    Q_OBJECT

private slots:
    void compositionTakesOnlyUsedRaws();
    void characteristicFormats();
    void violation_data();
    void violation();
};

void TestResultGrids::compositionTakesOnlyUsedRaws()
{
    const calc::FeedRecipe r = recipe();
    QCOMPARE(results::compositionLines(r), QList<int>({0, 1}));
    const QList<results::CompositionRow> rows = results::compositionRows(r);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(texts(rows[0]),
             QStringList({"Пшеница", "   97.50", "  15000.00", "    146250.00", "        9.750"}));
    QCOMPARE(texts(rows[1]),
             QStringList({"Мел", "    2.50", "   3500.50", "       875.13", "        0.250"}));
    // the cells the user may type into carry the numbers they show
    QCOMPARE(rows[1].percent.number.value, 2.5);
    QCOMPARE(rows[1].price.number.value, 3500.5);
}

// 45 and more without decimals (45 -> "45"), below with two (44.5 -> "44.50"); a minimum of
// 0 and a maximum of four times the minimum are blanks; the price row is not shown.
void TestResultGrids::characteristicFormats()
{
    const QList<results::CharacteristicRow> rows = results::characteristicRows(recipe());
    QCOMPARE(rows.size(), 3);
    QCOMPARE(texts(rows[0]), QStringList({"Обменная энергия", "     290", "           45", " "}));
    QCOMPARE(texts(rows[1]), QStringList({"Сырой протеин", " ", "        44.50", "      50"}));
    QCOMPARE(texts(rows[2]), QStringList({"Клетчатка", "    4.00", "         3.46", "    6.00"}));
    QVERIFY(results::violatesNorm(rows[2].minimum, rows[2].fact, rows[2].maximum));
    QVERIFY(!results::violatesNorm(rows[1].minimum, rows[1].fact, rows[1].maximum));
}

void TestResultGrids::violation_data()
{
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("fact");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<bool>("red");
    QTest::newRow("within") << "   10.00"
                            << "   11.00"
                            << "   12.00" << false;
    QTest::newRow("on the minimum") << "   10.00"
                                    << "   10.00"
                                    << "   12.00" << false;
    QTest::newRow("below") << "   10.00"
                           << "    9.99"
                           << "   12.00" << true;
    QTest::newRow("above") << "   10.00"
                           << "   12.01"
                           << "   12.00" << true;
    QTest::newRow("no minimum is never too low") << " "
                                                 << "    0.00"
                                                 << "   12.00" << false;
    QTest::newRow("no maximum is never too high") << "   10.00"
                                                  << "  999"
                                                  << " " << false;
    QTest::newRow("fact not a number") << "   10.00"
                                       << ""
                                       << "   12.00" << false;
}

void TestResultGrids::violation()
{
    QFETCH(QString, minimum);
    QFETCH(QString, fact);
    QFETCH(QString, maximum);
    QFETCH(bool, red);
    QCOMPARE(results::violatesNorm(CellValue::typed(minimum), CellValue::typed(fact),
                                   CellValue::typed(maximum)),
             red);
}

QTEST_APPLESS_MAIN(TestResultGrids)
#include "tst_resultgrids.moc"
