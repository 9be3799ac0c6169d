// The price build-up of a feed type: at opening from the settings, and again from the
// feed grid's cells, stopping at the first cell that is not a number.

#include "calc/recipe.h"
#include "results/pricebuildup.h"

#include <QTest>

using results::CellValue;
using results::FeedPrice;
using results::PriceCells;
using results::PriceSettings;

namespace
{

// L 0.5 %, costs 1200, profitability 10 %, surcharge 300; names carry the price with tax.
PriceSettings demoSettings()
{
    return {0.5, 1200, 10, 300, false};
}

} // namespace

class TestPriceBuildUp final : public QObject
{
    Q_OBJECT

private slots:
    void rawCostRoundsEveryTerm();
    void buildPriceStepByStep();
    void namePriceFollowsTheSetting();
    void recomputeRunsThrough();
    void recomputeStops_data();
    void recomputeStops();
};

// Each raw material's share of the cost is rounded to kopecks before it is added.
void TestPriceBuildUp::rawCostRoundsEveryTerm()
{
    calc::Recipes r;
    r.feeds = {{1,
                QString(),
                10,
                {{1, QString(), 50, 5, 5, 333.333}, {2, QString(), 50, 5, 5, 100}},
                {},
                {}},
               {2, QString(), 10, {{1, QString(), 100, 10, 10, 333.333}}, {}, {}}};
    const std::vector<double> costs = results::rawCosts(r);
    QCOMPARE(costs.size(), size_t(3));
    QCOMPARE(costs[1], 166.67 + 50.0); // 166.6665 rounds up on its own
    QCOMPARE(costs[2], 333.33);
}

void TestPriceBuildUp::buildPriceStepByStep()
{
    const FeedPrice p = results::buildPrice(15234.57, 10, demoSettings());
    QCOMPARE(p.lossCost, 76.17); // 0.5 % of 15234.57 = 76.172...
    QCOMPARE(p.fullCost, 1200 + 15234.57 + 76.17);
    QCOMPARE(p.profitAmount, 1651.07); // 10 % of 16510.74
    QCOMPARE(p.granSurcharge, 300.0);
    QCOMPARE(p.priceNoTax, 18461.81);
    QCOMPARE(p.taxAmount, 1846.18);
    QCOMPARE(p.namePrice, 18461.81 + 1846.18);
}

void TestPriceBuildUp::namePriceFollowsTheSetting()
{
    PriceSettings s = demoSettings();
    s.nameWithoutTax = true;
    const FeedPrice p = results::buildPrice(15234.57, 10, s);
    QCOMPARE(p.namePrice, p.priceNoTax);
}

// Typed cells: 1000 costs, 20 %, 150.125 surcharge (rounded and rewritten), 20 % tax.
void TestPriceBuildUp::recomputeRunsThrough()
{
    FeedPrice p = results::buildPrice(10000, 10, demoSettings());
    const results::PriceRecompute r = results::recomputePrice(
        p,
        PriceCells{CellValue::typed(QStringLiteral("1000")), CellValue::typed(QStringLiteral("20")),
                   CellValue::typed(QStringLiteral("150.125")),
                   CellValue::typed(QStringLiteral("20"))},
        demoSettings());
    QVERIFY(r.message.isEmpty());
    QCOMPARE(p.lossCost, 50.0);
    QCOMPARE(p.fullCost, 11050.0);
    QCOMPARE(p.profitAmount, 2210.0);
    QCOMPARE(p.granSurcharge, 150.13);
    QCOMPARE(r.gran->text, QStringLiteral("      150.13"));
    QCOMPARE(r.gran->number.value, 150.13); // the next build-up reads what the cell shows
    QCOMPARE(p.priceNoTax, 13410.13);
    QCOMPARE(*r.priceNoTax, QStringLiteral("    13410.13"));
    QCOMPARE(p.taxAmount, 2682.03);
    QCOMPARE(*r.priceWithTax, QStringLiteral("    16092.16"));
    QCOMPARE(p.namePrice, 13410.13 + 2682.03);
}

void TestPriceBuildUp::recomputeStops_data()
{
    QTest::addColumn<int>("bad"); // which cell is not a number: 0 costs ... 3 tax
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("granWritten");
    QTest::addColumn<bool>("noTaxWritten");
    QTest::newRow("costs") << 0 << "Исправьте издержки... Цена не пересчитана..." << false << false;
    QTest::newRow("profit") << 1 << "Исправьте прибыль... Цена не пересчитана..." << false << false;
    QTest::newRow("granulation") << 2 << "Исправьте цену грануляции... Цена не пересчитана..."
                                 << false << false;
    QTest::newRow("tax") << 3 << "Исправьте %нал (НДС)... Цена не пересчитана..." << true << true;
}

// A bad cell stops the build-up there: the price with tax and the name price keep their
// old values; the parts before it are already new.
void TestPriceBuildUp::recomputeStops()
{
    QFETCH(int, bad);
    QFETCH(QString, message);
    QFETCH(bool, granWritten);
    QFETCH(bool, noTaxWritten);
    QStringList cells = {QStringLiteral("1000"), QStringLiteral("20"), QStringLiteral("150"),
                         QStringLiteral("20")};
    cells[bad] = QStringLiteral("1o");
    FeedPrice p = results::buildPrice(10000, 10, demoSettings());
    const FeedPrice before = p;
    const results::PriceRecompute r =
        results::recomputePrice(p,
                                PriceCells{CellValue::typed(cells[0]), CellValue::typed(cells[1]),
                                           CellValue::typed(cells[2]), CellValue::typed(cells[3])},
                                demoSettings());
    QCOMPARE(r.message, message);
    QCOMPARE(r.gran.has_value(), granWritten);
    QCOMPARE(r.priceNoTax.has_value(), noTaxWritten);
    QVERIFY(!r.priceWithTax.has_value());
    QCOMPARE(p.namePrice, before.namePrice);
    QCOMPARE(p.taxAmount, before.taxAmount);
}

QTEST_APPLESS_MAIN(TestPriceBuildUp)
#include "tst_pricebuildup.moc"
