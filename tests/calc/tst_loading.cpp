// Loading and checking of the calculation data: every message with its exact text, the
// price conversion, the reading rules of limits, norms and stock.

#include "calcfixture.h"

#include "calc/loading.h"
#include "store/table.h"
#include "store/unreadablenumber.h"

#include <QtTest>

using calc::CalcParameters;
using calc::CalcWorkingValues;
using calc::Selection;
using calctest::CalcFixture;
using calctest::kPrice;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(calc::CalcParameters)

namespace
{

constexpr int kProtein = 2;

// Two raw materials, one feed type of 10 t with a protein norm and two limits.
void baseData(CalcFixture &fx)
{
    fx.characteristic(QStringLiteral("Протеин"), QStringLiteral("%"));
    fx.raw(QStringLiteral("Пшеница")).content(kPrice, 100).content(kProtein, 12);
    fx.raw(QStringLiteral("Шрот")).content(kPrice, 300).content(kProtein, 40);
}

calctest::FixtureFeed &baseFeed(CalcFixture &fx, double output = 10)
{
    return fx.feed(QStringLiteral("ПК-1"), QStringLiteral("Свиньи"), output).norm(kProtein, 14, 16);
}

// What the first attempt of a cost-mode run lists: the load, then the attempt checks.
QStringList firstAttemptList(CalcFixture &fx, const CalcParameters &parameters = {})
{
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    calc::loadCalculationData(rec, work, fx.open(), parameters, list);
    calc::checkAttempt(rec, work, parameters, true, list);
    return list;
}

// Writes text as it stands into a number field of the record whose keyField is key.
void putText(CalcFixture &fx, const QString &table, const QString &keyField, const QVariant &key,
             const QString &field, const QString &stored)
{
    store::Table damaged;
    damaged.setFileName(fx.path(table + QStringLiteral(".dbf")));
    damaged.open();
    for (damaged.first(); !damaged.eof() && damaged.value(keyField) != key;)
        damaged.next();
    QVERIFY(!damaged.eof());
    damaged.setValue(field, QVariant::fromValue(store::UnreadableNumber{stored}));
    damaged.close();
}

// Builds the data set of one message case.
void buildCase(const QString &name, CalcFixture &fx, CalcParameters &parameters)
{
    baseData(fx);
    auto &feed = baseFeed(fx, name == u"M4" ? 0 : 10);
    const QString wheat = QStringLiteral("Пшеница");
    const QString meal = QStringLiteral("Шрот");
    if (name == u"M1")
        feed.limit(wheat, 0, 80).limit(meal, 0, 120);
    else if (name == u"M2")
        feed.limit(wheat, 60, 50).limit(meal, 0, 50);
    else if (name == u"M3")
        feed.norm(kProtein, 17, 16).limit(wheat, 0, 80).limit(meal, 0, 50);
    else if (name == u"M5")
        feed.limit(wheat, 60, 80).limit(meal, 50, 50);
    else if (name == u"M6")
        feed.limit(wheat, 0, 40).limit(meal, 0, 50);
    else if (name == u"M6-no-limits")
        ;
    else if (name == u"price-too-low") {
        feed.price(500, 1000).limit(wheat, 0, 80).limit(meal, 0, 50);
        parameters.productionCosts = 1200;
    } else if (name == u"tax-minus-100") {
        feed.price(500, 1000).withVat(-100).limit(wheat, 0, 80).limit(meal, 0, 50);
    } else if (name == u"no-feeds") {
        feed.unselected();
    } else {
        feed.limit(wheat, 0, 80).limit(meal, 0, 50);
    }
}

} // namespace

class tst_loading final : public QObject
{
    Q_OBJECT

private slots:
    void messages_data();
    void messages();
    void stockMessages_data();
    void stockMessages();
    void limitSumsOfDecimals_data();
    void limitSumsOfDecimals();
    void workedShortfallAmount();
    void priceConversion_data();
    void priceConversion();
    void priceNormsAreConverted();
    void readingRules();
    void columnsFollowSelection();
    void currentFeedIsTheLastMarked();
    void missingFieldIsAnError();
    void unreadableNumbers_data();
    void unreadableNumbers();
    void refusedNumbersGoNoFurther_data();
    void refusedNumbersGoNoFurther();
    void parametersOutOfRange_data();
    void parametersOutOfRange();
    void ratioChecks_data();
    void ratioChecks();
};

void tst_loading::messages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("expected");
    const QString feed = QStringLiteral("№ 1 - ПК-1  Свиньи");
    QTest::newRow("clean") << "clean" << QStringList();
    QTest::newRow("M1") << "M1"
                        << QStringList{u"Максимум норм ввода сырья № 2 - Шрот -  в продукт "_s +
                                       feed + u" -  больше 100%."_s};
    QTest::newRow("M2") << "M2"
                        << QStringList{u"Минимум норм ввода сырья № 1 - Пшеница -  в продукт "_s +
                                       feed + u" -  больше максимума."_s};
    QTest::newRow("M3") << "M3"
                        << QStringList{
                               u"Минимум требований по характеристике Протеин  в продукте "_s +
                               feed + u" -  больше максимума."_s};
    QTest::newRow("M4") << "M4"
                        << QStringList{u"Требуемый вес продукта "_s + feed + u" - не указан."_s};
    QTest::newRow("M5") << "M5"
                        << QStringList{u"Сумма минимальных норм ввода для продукта "_s + feed +
                                       u" -  больше 100%."_s};
    const QString m6 =
        u"Сумма максимальных норм ввода для продукта "_s + feed + u" -  меньше 100%."_s;
    QTest::newRow("M6") << "M6" << QStringList{m6};
    QTest::newRow("M6 without any limit") << "M6-no-limits" << QStringList{m6};
    QTest::newRow("price below costs")
        << "price-too-low"
        << QStringList{u"Максимальная цена продукта "_s + feed +
                       u" -  не покрывает налог, надбавку за гранулирование, рентабельность,"
                       u" издержки и потери."_s};
    QTest::newRow("no feed type") << "no-feeds" << QStringList{u"Продукция не отобрана."_s};
    // Dividing by 100 + tax would make the price limits infinite and drop them unsaid.
    QTest::newRow("tax of -100 %")
        << "tax-minus-100"
        << QStringList{u"Продукт № 1 - ПК-1  Свиньи: %нал (поле NDS) равен -100.00, а должен быть "
                       u"больше -100."_s};
}

// Each problem of the data becomes exactly its own line, byte for byte.
void tst_loading::messages()
{
    QFETCH(QString, name);
    QFETCH(QStringList, expected);
    CalcFixture fx;
    CalcParameters parameters;
    buildCase(name, fx, parameters);
    QCOMPARE(firstAttemptList(fx, parameters), expected);
}

void tst_loading::stockMessages_data()
{
    QTest::addColumn<double>("wheatStock");
    QTest::addColumn<double>("mealStock");
    QTest::addColumn<bool>("mealUsedUp");
    QTest::addColumn<bool>("costMode");
    QTest::addColumn<QStringList>("expected");
    // Feed: 10 t, wheat 60..80 %, meal 0..50 %.
    QTest::newRow("enough") << 6.0 << 0.0 << false << true << QStringList();
    QTest::newRow("M7 short by 0.6 t")
        << 5.4 << 0.0 << false << true
        << QStringList{
               u"Сырья № 1  Пшеница - мало даже для минимальных вложений.  Добавьте  1 Т."_s};
    // An exact whole shortfall of 1 t: 1.5 goes to the even neighbour, 2.
    QTest::newRow("M7 short by exactly 1 t")
        << 5.0 << 0.0 << false << true
        << QStringList{
               u"Сырья № 1  Пшеница - мало даже для минимальных вложений.  Добавьте  2 Т."_s};
    QTest::newRow("M8 too much to use up")
        << 0.0 << 10.0 << true << true
        << QStringList{u"Сырья № 2  Шрот - слишком много, чтобы сработать даже для максимальных "
                       u"вложений.  Излишек 6 Т."_s};
    QTest::newRow("M8 only in the cost mode") << 0.0 << 10.0 << true << false << QStringList();
    QTest::newRow("M8 only for full use") << 0.0 << 10.0 << false << true << QStringList();
    QTest::newRow("M9 stock below output")
        << 6.0 << 3.3 << false << true
        << QStringList{u"Запас сырья меньше требуемой выработки на  1 Т."_s};
}

// The checks before every attempt: minimum inclusions, full use, total stock.
void tst_loading::stockMessages()
{
    QFETCH(double, wheatStock);
    QFETCH(double, mealStock);
    QFETCH(bool, mealUsedUp);
    QFETCH(bool, costMode);
    QFETCH(QStringList, expected);
    CalcFixture fx;
    fx.characteristic(QStringLiteral("Протеин"), QStringLiteral("%"));
    fx.raw(QStringLiteral("Пшеница"))
        .content(kPrice, 100)
        .content(kProtein, 12)
        .withStock(wheatStock);
    auto &meal = fx.raw(QStringLiteral("Шрот")).content(kPrice, 300).withStock(mealStock);
    if (mealUsedUp)
        meal.usedUp();
    baseFeed(fx).limit(QStringLiteral("Пшеница"), 60, 80).limit(QStringLiteral("Шрот"), 0, 50);
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    calc::loadCalculationData(rec, work, fx.open(), {}, list);
    QVERIFY(list.isEmpty());
    calc::checkAttempt(rec, work, {}, costMode, list);
    QCOMPARE(list, expected);
}

void tst_loading::limitSumsOfDecimals_data()
{
    QTest::addColumn<QList<double>>("limits");
    QTest::addColumn<bool>("asMinima");
    QTest::addColumn<bool>("reported");
    const QList<double> hundred{36.33, 1.86, 33.56, 9.49, 9.35, 9.41};
    QTest::newRow("maxima adding up to 100") << hundred << false << false;
    QTest::newRow("minima adding up to 100") << hundred << true << false;
    QTest::newRow("maxima adding up to 99.99")
        << QList<double>{36.33, 1.86, 33.56, 9.49, 9.35, 9.40} << false << true;
    QTest::newRow("minima adding up to 100.01")
        << QList<double>{36.33, 1.86, 33.56, 9.49, 9.35, 9.42} << true << true;
}

// Sums of two-decimal limits are compared with 100 as decimals, not as binary doubles.
void tst_loading::limitSumsOfDecimals()
{
    QFETCH(QList<double>, limits);
    QFETCH(bool, asMinima);
    QFETCH(bool, reported);
    CalcFixture fx;
    auto &feed = fx.feed(QStringLiteral("ПК-1"), QStringLiteral("Свиньи"), 10);
    for (int k = 0; k < limits.size(); ++k) {
        const QString name = u"Сырье "_s + QString::number(k + 1);
        fx.raw(name).content(kPrice, 100);
        feed.limit(name, asMinima ? limits[k] : 0, asMinima ? 100 : limits[k]);
    }
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    calc::loadCalculationData(rec, work, fx.open(), {}, list);
    QCOMPARE(list.size(), reported ? 1 : 0);
}

// The worked example: loss norm 2 %, minimum inclusions needing 98 t against 99 t in
// stock: round(98 × 1.02 − 99 + 0.5) = 1.
void tst_loading::workedShortfallAmount()
{
    CalcFixture fx;
    fx.raw(QStringLiteral("Пшеница")).content(kPrice, 100).withStock(99);
    fx.raw(QStringLiteral("Мел")).content(kPrice, 10);
    fx.feed(QStringLiteral("ПК-1"), QStringLiteral("Свиньи"), 100)
        .limit(QStringLiteral("Пшеница"), 98, 100)
        .limit(QStringLiteral("Мел"), 0, 2);
    CalcParameters parameters;
    parameters.lossNorm = 2;
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    calc::loadCalculationData(rec, work, fx.open(), parameters, list);
    calc::checkAttempt(rec, work, parameters, true, list);
    QCOMPARE(list, QStringList{u"Сырья № 1  Пшеница - мало даже для минимальных вложений.  "
                               u"Добавьте  1 Т."_s});
}

void tst_loading::priceConversion_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<double>("vat");
    QTest::addColumn<double>("surcharge");
    QTest::addColumn<double>("profitability");
    QTest::addColumn<double>("costs");
    QTest::addColumn<double>("loss");
    QTest::addColumn<double>("expected");
    QTest::newRow("nothing to take out") << 1000.0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 1000.0;
    // 1320 / 1.1 = 1200; (1200 − 60) / 1.14 = 1000; (1000 − 100) / 1.0 = 900.
    QTest::newRow("tax, surcharge, profit, costs")
        << 1320.0 << 10.0 << 60.0 << 14.0 << 100.0 << 0.0 << 900.0;
    QTest::newRow("and losses") << 1320.0 << 10.0 << 60.0 << 14.0 << 100.0 << 2.0
                                << 900.0 * 100 / 102;
    QTest::newRow("below the costs") << 1000.0 << 0.0 << 0.0 << 0.0 << 1200.0 << 0.0 << 0.0;
}

// Selling price with tax and granulation down to the admissible raw-material cost.
void tst_loading::priceConversion()
{
    QFETCH(double, price);
    QFETCH(double, vat);
    QFETCH(double, surcharge);
    QFETCH(double, profitability);
    QFETCH(double, costs);
    QFETCH(double, loss);
    QFETCH(double, expected);
    CalcParameters parameters;
    parameters.granulationSurcharge = surcharge;
    parameters.profitability = profitability;
    parameters.productionCosts = costs;
    parameters.lossNorm = loss;
    QCOMPARE(calc::rawCostOfPrice(price, vat, parameters), expected);
}

// Both price limits of a feed type are converted; a feed type without price limits
// keeps none.
void tst_loading::priceNormsAreConverted()
{
    CalcFixture fx;
    baseData(fx);
    baseFeed(fx).withVat(10).price(1100, 1320).limit(QStringLiteral("Пшеница"), 0, 100);
    fx.feed(QStringLiteral("ПК-2"), QStringLiteral("Птица"), 5)
        .limit(QStringLiteral("Пшеница"), 0, 100);
    CalcParameters parameters;
    parameters.productionCosts = 100;
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    calc::loadCalculationData(rec, work, fx.open(), parameters, list);
    QVERIFY(list.isEmpty());
    QCOMPARE(rec.normMin[1][kPrice], calc::rawCostOfPrice(1100, 10, parameters));
    QCOMPARE(rec.normMax[1][kPrice], 1100.0);
    QCOMPARE(rec.normMin[2][kPrice], 0.0);
    QCOMPARE(rec.normMax[2][kPrice], 0.0);
}

// Limit 5..0 is 5..100; norm 2..0 is 2..8; stock 0 is unlimited; long texts are cut.
void tst_loading::readingRules()
{
    CalcFixture fx;
    fx.characteristic(QStringLiteral("Протеин"), QStringLiteral("%"));
    fx.raw(QStringLiteral("Пшеница")).content(kPrice, 100).content(kProtein, 12);
    fx.raw(QStringLiteral("Мел")).content(kPrice, 10).withStock(7.5).usedUp();
    const QString longPurpose(130, u'ж');
    fx.feed(QStringLiteral("ПК-1"), longPurpose, 10)
        .norm(kProtein, 2, 0)
        .limit(QStringLiteral("Пшеница"), 5, 0)
        .limit(QStringLiteral("Мел"), 0, 0);
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    calc::loadCalculationData(rec, work, fx.open(), {}, list);
    QVERIFY2(list.isEmpty(), qPrintable(list.join(u'\n')));
    QCOMPARE(rec.columnCount, 1); // the pair with both limits 0 is no column
    QCOMPARE(work.minInclusion[1][1], 5.0);
    QCOMPARE(work.maxInclusion[1][1], 100.0);
    QCOMPARE(rec.normMin[1][kProtein], 2.0);
    QCOMPARE(rec.normMax[1][kProtein], 8.0);
    QCOMPARE(rec.rawStock[1], calc::kUnlimitedStock);
    QCOMPARE(rec.rawStock[2], 7.5);
    QCOMPARE(rec.rawFullUse[2], std::uint8_t(1));
    QCOMPARE(rec.feedPurpose[1], longPurpose.left(122));
    QCOMPARE(work.totalStock, calc::kUnlimitedStock + 7.5);
    QCOMPARE(work.surplus, calc::kUnlimitedStock + 7.5 - 10);
    QCOMPARE(rec.charCount, 2);
    QCOMPARE(rec.charName[2], QStringLiteral("Протеин"));
}

// Columns are grouped by feed type in raw-material order, numbered among the selected
// entries only.
void tst_loading::columnsFollowSelection()
{
    CalcFixture fx;
    fx.raw(QStringLiteral("А")).content(kPrice, 1);
    fx.raw(QStringLiteral("Б")).content(kPrice, 2).unselected();
    fx.raw(QStringLiteral("В")).content(kPrice, 3);
    fx.feed(QStringLiteral("К1"), QStringLiteral("п1"), 1)
        .limit(QStringLiteral("В"), 0, 100)
        .limit(QStringLiteral("А"), 0, 100)
        .limit(QStringLiteral("Б"), 0, 100);
    fx.feed(QStringLiteral("К2"), QStringLiteral("п2"), 1)
        .unselected()
        .limit(QStringLiteral("А"), 0, 100);
    fx.feed(QStringLiteral("К3"), QStringLiteral("п3"), 1).limit(QStringLiteral("В"), 0, 100);
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    calc::loadCalculationData(rec, work, fx.open(), {}, list);
    QVERIFY(list.isEmpty());
    QCOMPARE(rec.feedCount, 2);
    QCOMPARE(rec.rawCount, 2);
    QCOMPARE(rec.feedType[2], QStringLiteral("К3"));
    QCOMPARE(rec.rawName[2], QStringLiteral("В"));
    QCOMPARE(rec.columnCount, 3);
    const int feeds[] = {0, 1, 1, 2};
    const int raws[] = {0, 1, 2, 2};
    for (int j = 1; j <= 3; ++j) {
        QCOMPARE(rec.columnFeed[j], feeds[j]);
        QCOMPARE(rec.columnRaw[j], raws[j]);
    }
}

void tst_loading::currentFeedIsTheLastMarked()
{
    CalcFixture fx;
    fx.raw(QStringLiteral("А")).content(kPrice, 1);
    for (int k = 1; k <= 3; ++k) {
        auto &feed = fx.feed(u"К"_s + QString::number(k), QStringLiteral("п"), 1)
                         .limit(QStringLiteral("А"), 0, 100);
        if (k != 2)
            feed.markedCurrent();
    }
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    calc::loadCalculationData(rec, work, fx.open(), {}, list);
    QCOMPARE(work.currentFeed, 3);
}

// A characteristic whose columns the tables lack cannot be read: a table error.
void tst_loading::missingFieldIsAnError()
{
    CalcFixture fx;
    fx.raw(QStringLiteral("А")).content(kPrice, 1);
    fx.feed(QStringLiteral("К1"), QStringLiteral("п"), 1).limit(QStringLiteral("А"), 0, 100);
    calc::CalcTables tables = fx.open();
    // A characteristic with KEY 9: kk has no MI9.
    tables.pit->close();
    tables.pit->open();
    tables.pit->setIndexName(QString());
    tables.pit->append();
    tables.pit->setValue(QStringLiteral("PIT"), QStringLiteral("Лишняя"));
    tables.pit->setValue(QStringLiteral("KEY"), 9);
    tables.pit->setValue(QStringLiteral("order"), 2);
    tables.pit->post();
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    QVERIFY_THROWS_EXCEPTION(store::TableError,
                             calc::loadCalculationData(rec, work, tables, {}, list));
}

void tst_loading::unreadableNumbers_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("keyField");
    QTest::addColumn<QVariant>("key");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    const QString feed = QStringLiteral("Продукт № 1 - ПК-1  Свиньи -  ");
    QTest::newRow("raw price") << "sir"
                               << "NAIM" << QVariant("Пшеница") << "MI1"
                               << "15 000"
                               << "Сырье № 1  Пшеница -  Цена: «15 000» не читается как число.";
    QTest::newRow("raw stock") << "sir"
                               << "NAIM" << QVariant("Шрот") << "VES"
                               << "*****"
                               << "Сырье № 2  Шрот -  Наличие: «*****» не читается как число.";
    QTest::newRow("raw content") << "sir"
                                 << "NAIM" << QVariant("Шрот") << "MI2"
                                 << "15,000"
                                 << "Сырье № 2  Шрот -  Протеин: «15,000» не читается как число.";
    QTest::newRow("feed output") << "kk"
                                 << "kodkk" << QVariant(11) << "VES"
                                 << "1O" << feed + "Выработка: «1O» не читается как число.";
    QTest::newRow("feed tax") << "kk"
                              << "kodkk" << QVariant(11) << "NDS"
                              << "**" << feed + "%нал: «**» не читается как число.";
    QTest::newRow("feed norm")
        << "kk"
        << "kodkk" << QVariant(11) << "MA2"
        << "1 6"
        << feed + "Максимум требований по характеристике Протеин: «1 6» не читается как число.";
    QTest::newRow("inclusion limit")
        << "norm"
        << "kods" << QVariant(102) << "max"
        << "5O"
        << "Норма ввода сырья № 2 - Шрот -  в продукт № 1 - ПК-1  Свиньи -  максимум: «5O» "
           "не читается как число.";
}

// A number field of the selection that holds no number is on the error list, naming the
// raw material or feed type and the column; it is never taken for 0.
void tst_loading::unreadableNumbers()
{
    QFETCH(QString, table);
    QFETCH(QString, keyField);
    QFETCH(QVariant, key);
    QFETCH(QString, field);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    CalcFixture fx;
    baseData(fx);
    baseFeed(fx).limit(QStringLiteral("Пшеница"), 0, 80).limit(QStringLiteral("Шрот"), 0, 50);
    fx.write();
    putText(fx, table, keyField, key, field, stored);
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    calc::loadCalculationData(rec, work, fx.openOnly(), {}, list);
    QVERIFY2(list.contains(expected), qPrintable(list.join(u'\n')));
}

void tst_loading::refusedNumbersGoNoFurther_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("keyField");
    QTest::addColumn<QVariant>("key");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("refusal"); // how the one line listed starts
    const QString feed = QStringLiteral("Продукт № 1 - ПК-1  Свиньи -  ");
    const QVariant kodkk(11);
    QTest::newRow("output") << "kk"
                            << "kodkk" << kodkk << "VES"
                            << "9e307" << feed + "Выработка (VES): число 9e+307 слишком велико";
    QTest::newRow("unreadable output") << "kk"
                                       << "kodkk" << kodkk << "VES"
                                       << "*****" << feed + "Выработка: «*****» не читается";
    QTest::newRow("stock") << "sir"
                           << "NAIM" << QVariant("Пшеница") << "VES"
                           << "-1e15"
                           << "Сырье № 1  Пшеница -  Наличие (VES): число -1e+15 слишком велико";
    QTest::newRow("inclusion minimum")
        << "norm"
        << "kods" << QVariant(101) << "min"
        << "5e20"
        << "Норма ввода сырья № 1 - Пшеница -  в продукт № 1 - ПК-1  Свиньи -  минимум (min): "
           "число 5e+20 слишком велико";
    QTest::newRow("norm minimum")
        << "kk"
        << "kodkk" << kodkk << "MI2"
        << "5e20"
        << feed + "Минимум требований по характеристике Протеин (MI2): число 5e+20 слишком велико";
}

// A refused number is the only line it makes: no stock shortfall, sum, minimum above
// maximum or missing output is worked out from it (or from 0 in its place).
void tst_loading::refusedNumbersGoNoFurther()
{
    QFETCH(QString, table);
    QFETCH(QString, keyField);
    QFETCH(QVariant, key);
    QFETCH(QString, field);
    QFETCH(QString, stored);
    QFETCH(QString, refusal);
    CalcFixture fx;
    baseData(fx);
    baseFeed(fx).limit(QStringLiteral("Пшеница"), 60, 80).limit(QStringLiteral("Шрот"), 0, 50);
    fx.write();
    putText(fx, table, keyField, key, field, stored);
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    calc::loadCalculationData(rec, work, fx.openOnly(), {}, list);
    calc::checkAttempt(rec, work, {}, true, list);
    QVERIFY2(list.size() == 1 && list.first().startsWith(refusal), qPrintable(list.join(u'\n')));
}

void tst_loading::parametersOutOfRange_data()
{
    QTest::addColumn<CalcParameters>("parameters");
    QTest::addColumn<QString>("setting"); // empty: nothing out of range
    CalcParameters p;
    QTest::newRow("all within") << p << QString();
    p.lossNorm = -100;
    QTest::newRow("loss norm -100") << p << "Норматив производственных потерь %";
    p = {};
    p.profitability = -100;
    QTest::newRow("profitability -100") << p << "Уровень рентабельности %";
    p = {};
    p.productionCosts = -5;
    QTest::newRow("costs negative") << p << "Издержки производства на выработку одной тонны (руб)";
    p = {};
    p.granulationSurcharge = 1e7;
    QTest::newRow("surcharge too large") << p << "Надбавка за гранулирование одной тонны (руб)";
}

// A setting out of its field's range stops the calculation with its name on the list,
// before any of its divisions (by 100 + loss norm, 100 + profitability) is trusted.
void tst_loading::parametersOutOfRange()
{
    QFETCH(CalcParameters, parameters);
    QFETCH(QString, setting);
    CalcFixture fx;
    baseData(fx);
    baseFeed(fx).limit(QStringLiteral("Пшеница"), 0, 80).limit(QStringLiteral("Шрот"), 0, 50);
    const QStringList list = firstAttemptList(fx, parameters);
    if (setting.isEmpty()) {
        QVERIFY2(list.isEmpty(), qPrintable(list.join(u'\n')));
        return;
    }
    QVERIFY(!list.isEmpty());
    QVERIFY2(list.first().startsWith(u"Параметр «"_s + setting + u"» равен "_s),
             qPrintable(list.first()));
    QVERIFY(list.first().contains(u"расчет не выполняется"_s));
}

void tst_loading::ratioChecks_data()
{
    QTest::addColumn<int>("numerator");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("inForce");
    const QString feed = u"  в продукте № 1 - ПК-1  Свиньи -  "_s;
    const QString name = u"соотношения Протеин/Клетчатка"_s;
    QTest::newRow("both bounds") << kProtein << 2.0 << 3.0 << true << QStringList() << 1;
    QTest::newRow("blank maximum is none") << kProtein << 2.0 << 0.0 << true << QStringList() << 1;
    QTest::newRow("equal bounds") << kProtein << 2.5 << 2.5 << true << QStringList() << 1;
    QTest::newRow("switched off, not checked") << 9 << -1.0 << 0.0 << false << QStringList() << 0;
    QTest::newRow("min above max")
        << kProtein << 3.0 << 2.0 << true
        << QStringList{u"Минимум "_s + name + feed + u"больше максимума."_s} << 0;
    QTest::newRow("below 0") << kProtein << -1.0 << -2.0 << true
                             << QStringList{u"Минимум "_s + name + feed + u"меньше 0."_s,
                                            u"Максимум "_s + name + feed + u"меньше 0."_s}
                             << 0;
    QTest::newRow("characteristic not in the list")
        << 9 << 2.0 << 3.0 << true
        << QStringList{u"Соотношение характеристик с ключами 9 и 3 в продукте № 1 - ПК-1  "
                       u"Свиньи -  характеристики с ключом 9 нет в списке."_s}
        << 0;
    QTest::newRow("one characteristic over itself")
        << 3 << 0.5 << 2.0 << true
        << QStringList{u"Соотношение Клетчатка/Клетчатка в продукте № 1 - ПК-1  Свиньи -  "
                       u"числитель и знаменатель - одна характеристика."_s}
        << 0;
    // the price is no characteristic of the list
    QTest::newRow("price")
        << kPrice << 2.0 << 3.0 << true
        << QStringList{u"Соотношение характеристик с ключами 1 и 3 в продукте № 1 - ПК-1  "
                       u"Свиньи -  характеристики с ключом 1 нет в списке."_s}
        << 0;
}

// A ratio in force with characteristics outside the list, a bound below 0 or bounds that
// cannot both hold is refused in the words of the norms' checks; one switched off is not
// looked at.
void tst_loading::ratioChecks()
{
    QFETCH(int, numerator);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(bool, on);
    QFETCH(QStringList, expected);
    QFETCH(int, inForce);
    CalcFixture fx;
    baseData(fx);
    const int fibre = fx.characteristic(QStringLiteral("Клетчатка"), QStringLiteral("%"));
    baseFeed(fx)
        .limit(QStringLiteral("Пшеница"), 0, 80)
        .limit(QStringLiteral("Шрот"), 0, 50)
        .ratio(numerator, fibre, min, max, on);
    Selection rec;
    CalcWorkingValues work;
    QStringList list;
    calc::loadCalculationData(rec, work, fx.open(), {}, list);
    QCOMPARE(list, expected);
    QCOMPARE(int(rec.ratios.size()), inForce);
}

QTEST_APPLESS_MAIN(tst_loading)
#include "tst_loading.moc"
