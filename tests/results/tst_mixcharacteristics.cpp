// The mix computation without any table or window: refusals, the filler, the levels,
// the derived percentages of mass mode, the price build-up with its roundings, and the
// price in the product name.

#include "results/mixcharacteristics.h"
#include "settings/settings.h"

#include <QTest>

using results::MixInput;
using results::MixLine;
using results::MixMode;
using results::MixResult;
using results::ProductForm;

Q_DECLARE_METATYPE(results::MixMode)
Q_DECLARE_METATYPE(results::ProductForm)

namespace
{

// Characteristic rows: the price (key 1), protein (key 6), energy (key 2).
QList<results::MixCharacteristic> characteristics()
{
    return {{QStringLiteral("Цена"), 1, QStringLiteral("руб/т")},
            {QStringLiteral("Сырой протеин"), 6, QStringLiteral("%")},
            {QStringLiteral("ОЭ птицы"), 2, QStringLiteral("МДж/кг")}};
}

MixLine line(const QString &name, double input, double price, double protein, double energy = 0)
{
    MixLine l;
    l.name = name;
    l.input = input;
    l.price = price;
    l.contents.assign(66, 0.0);
    l.contents[1] = price;
    l.contents[6] = protein;
    l.contents[2] = energy;
    return l;
}

// Costs, profit and surcharge of the demo mill; no rounding of prices.
settings::Settings plainSettings()
{
    settings::Settings s;
    s.lossNorm = 0.5;
    s.productionCosts = 1200;
    s.profitability = 10;
    s.granulationSurcharge = 300;
    s.taxRate = 10;
    return s;
}

MixInput input(MixMode mode, QList<MixLine> lines, double volume = 10)
{
    MixInput in;
    in.mode = mode;
    in.volume = volume;
    in.lines = std::move(lines);
    in.characteristics = characteristics();
    in.taxRate = 10;
    return in;
}

} // namespace

class TestMixCharacteristics final : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data();
    void refusals();
    void percentsWithinToleranceNeedNoFiller();
    void missingShareTakenByFiller();
    void fillerTextsWithoutBinaryNoise();
    void massesGiveVolumeAndPercentagesOfHundred_data();
    void massesGiveVolumeAndPercentagesOfHundred();
    void priceBuildUp_data();
    void priceBuildUp();
    void surchargeByProductForm_data();
    void surchargeByProductForm();
    void halfRoubleGoesToEvenBeforeTax_data();
    void halfRoubleGoesToEvenBeforeTax();
    void nameCarriesPriceWithOrWithoutTax();
    void computingTwiceLeavesOnePriceInTheName();
    void shownNumbers_data();
    void shownNumbers();
};

// Nothing is computed without a volume (percent mode), with a negative input or
// without any input; the message says why.
void TestMixCharacteristics::refusals_data()
{
    QTest::addColumn<MixMode>("mode");
    QTest::addColumn<double>("volume");
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("second");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("lossNorm");
    QTest::newRow("percent without volume")
        << MixMode::Percent << 0.0 << 60.0 << 40.0 << QStringLiteral("Не введен объем выработки...")
        << 0.5;
    QTest::newRow("no input") << MixMode::Percent << 10.0 << 0.0 << 0.0
                              << QStringLiteral("Ввод сырья не задан!!!") << 0.5;
    QTest::newRow("negative percent")
        << MixMode::Percent << 10.0 << 110.0 << -10.0 << QStringLiteral("Кукуруза") << 0.5;
    QTest::newRow("masses without a positive one")
        << MixMode::Mass << 0.0 << -1.0 << -2.0 << QStringLiteral("Пшеница") << 0.5;
    QTest::newRow("masses cancelling out")
        << MixMode::Mass << 0.0 << 2.0 << -2.0 << QStringLiteral("Кукуруза") << 0.5;
    QTest::newRow("mass mode needs no volume")
        << MixMode::Mass << 0.0 << 0.0 << 0.0 << QStringLiteral("Ввод сырья не задан!!!") << 0.5;
    // The same range checks as the calculation's: a negative loss norm priced the mix too low.
    QTest::newRow("loss norm out of range")
        << MixMode::Percent << 10.0 << 60.0 << 40.0
        << QStringLiteral("Норматив производственных потерь") << -100.0;
}

void TestMixCharacteristics::refusals()
{
    QFETCH(MixMode, mode);
    QFETCH(double, volume);
    QFETCH(double, first);
    QFETCH(double, second);
    QFETCH(QString, message);
    QFETCH(double, lossNorm);
    settings::Settings values = plainSettings();
    values.lossNorm = lossNorm;
    QList<MixLine> lines;
    if (first != 0)
        lines.append(line(QStringLiteral("Пшеница"), first, 15000, 13));
    if (second != 0)
        lines.append(line(QStringLiteral("Кукуруза"), second, 17000, 9));
    const MixResult result = results::computeMix(input(mode, lines, volume), values);
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
    QVERIFY(!result.archivable());
    QVERIFY(result.levels.empty());
}

// 60 + 39.997 is 100 within 0.005: no filler, levels over 99.997, archivable.
void TestMixCharacteristics::percentsWithinToleranceNeedNoFiller()
{
    const MixResult r = results::computeMix(
        input(MixMode::Percent, {line(QStringLiteral("Пшеница"), 60, 15000, 13),
                                 line(QStringLiteral("Кукуруза"), 39.997, 17000, 9)}),
        plainSettings());
    QVERIFY(r.ok());
    QVERIFY(!r.fillerAdded);
    QVERIFY(r.archivable());
    QVERIFY(r.fillerMessage.isEmpty());
    QCOMPARE(r.total, 60 + 39.997);
    QCOMPARE(r.levels[1], (13 * 60 + 9 * 39.997) / 99.997);
    QCOMPARE(r.lines[1].percent, 39.997);
}

// 60 + 30: the message names 90, the filler takes 10 %, levels are over 100, and the
// mix cannot be archived.
void TestMixCharacteristics::missingShareTakenByFiller()
{
    const MixResult r = results::computeMix(
        input(MixMode::Percent, {line(QStringLiteral("Пшеница"), 60, 15000, 13, 12),
                                 line(QStringLiteral("Кукуруза"), 30, 17000, 9, 14)}),
        plainSettings());
    QVERIFY(r.ok());
    QVERIFY(r.fillerAdded);
    QVERIFY(!r.archivable());
    QCOMPARE(
        r.fillerMessage,
        QStringLiteral("Набрано 90% !!!         Добавляем нейтральный бесплатный наполнитель."));
    QCOMPARE(r.fillerLabel, QStringLiteral("Наполнитель 10%"));
    QCOMPARE(r.fillerPercent, 10.0);
    QCOMPARE(r.total, 100.0);
    QCOMPARE(r.levels[0], (15000.0 * 60 + 17000.0 * 30) / 100);
    QCOMPARE(r.levels[1], (13.0 * 60 + 9 * 30) / 100);
    QCOMPARE(r.levels[2], (12.0 * 60 + 14 * 30) / 100);
    QCOMPARE(r.price.build.rawCost, 14100.0);
}

// Three inputs of 33.3 add up to 99.89999999999999 in binary: the texts say 99.9 and 0.1.
void TestMixCharacteristics::fillerTextsWithoutBinaryNoise()
{
    QList<MixLine> lines;
    for (int i = 0; i < 3; ++i)
        lines.append(line(QStringLiteral("Сырье"), 33.3, 10000, 10));
    const MixResult r = results::computeMix(input(MixMode::Percent, lines), plainSettings());
    QVERIFY(r.fillerAdded);
    QVERIFY2(r.fillerMessage.startsWith(QStringLiteral("Набрано 99.9% !!!")),
             qPrintable(r.fillerMessage));
    QCOMPARE(r.fillerLabel, QStringLiteral("Наполнитель 0.1%"));
    QVERIFY(r.fillerPercent > 0.0999 && r.fillerPercent < 0.1001);
}

// The mass of the mix is its total; percentages rounded to 2 decimals, the first
// largest line taking the residue.
void TestMixCharacteristics::massesGiveVolumeAndPercentagesOfHundred_data()
{
    QTest::addColumn<QList<double>>("masses");
    QTest::addColumn<double>("total");
    QTest::addColumn<QList<double>>("percents");
    QTest::newRow("three equal") << QList<double>{1, 1, 1} << 3.0
                                 << QList<double>{33.34, 33.33, 33.33};
    QTest::newRow("largest last") << QList<double>{1, 1, 4} << 6.0
                                  << QList<double>{16.67, 16.67, 66.66};
    QTest::newRow("surplus taken back")
        << QList<double>{2, 1, 0.001} << 3.001 << QList<double>{66.65, 33.32, 0.03};
    QTest::newRow("one line") << QList<double>{2.5} << 2.5 << QList<double>{100};
}

void TestMixCharacteristics::massesGiveVolumeAndPercentagesOfHundred()
{
    QFETCH(QList<double>, masses);
    QFETCH(double, total);
    QFETCH(QList<double>, percents);
    QList<MixLine> lines;
    for (double mass : masses)
        lines.append(line(QStringLiteral("Сырье"), mass, 10000, 10));
    const MixResult r = results::computeMix(input(MixMode::Mass, lines, 0), plainSettings());
    QVERIFY(r.ok());
    QVERIFY(r.archivable());
    QCOMPARE(r.total, total);
    double sum = 0;
    for (int i = 0; i < percents.size(); ++i) {
        QCOMPARE(r.lines[i].percent, percents[i]);
        sum += r.lines[i].percent;
    }
    QCOMPARE(QString::number(sum, 'f', 2), QStringLiteral("100.00"));
}

// Each step rounded to kopecks; the selling price rounded when the settings say so.
void TestMixCharacteristics::priceBuildUp_data()
{
    QTest::addColumn<bool>("roundSelling");
    QTest::addColumn<double>("selling");
    QTest::addColumn<QString>("label");
    // raw 15800, losses 79, cost 17079, profit 1707.9, + 300 = 19086.9, tax 1908.69
    QTest::newRow("exact") << false << 20995.59
                           << QStringLiteral("Отпускная цена 1Т с НДС    20995.59 руб.");
    QTest::newRow("rounded") << true << 20996.0
                             << QStringLiteral("Отпускная цена 1Т с НДС       20996 руб.");
}

void TestMixCharacteristics::priceBuildUp()
{
    QFETCH(bool, roundSelling);
    QFETCH(double, selling);
    QFETCH(QString, label);
    settings::Settings s = plainSettings();
    s.roundSellingPrice = roundSelling;
    const MixResult r = results::computeMix(
        input(MixMode::Percent, {line(QStringLiteral("Пшеница"), 60, 15000, 13),
                                 line(QStringLiteral("Кукуруза"), 40, 17000, 9)}),
        s);
    QVERIFY(r.ok());
    const results::FeedPrice &b = r.price.build;
    QCOMPARE(b.rawCost, 15800.0);
    QCOMPARE(b.lossCost, 79.0);
    QCOMPARE(b.fullCost, 17079.0);
    QCOMPARE(b.profitAmount, 1707.9);
    QCOMPARE(b.priceNoTax, 19086.9);
    QCOMPARE(b.taxAmount, 1908.69);
    QCOMPARE(r.price.sellingPrice, selling);
    QCOMPARE(r.price.label, label);
    QCOMPARE(r.price.nameText, label.mid(23).chopped(5).trimmed());
}

void TestMixCharacteristics::surchargeByProductForm_data()
{
    QTest::addColumn<ProductForm>("form");
    QTest::addColumn<double>("priceNoTax");
    QTest::addColumn<QString>("letter");
    QTest::newRow("granules") << ProductForm::Granules << 19086.9 << QStringLiteral("Г");
    QTest::newRow("crumbs") << ProductForm::Crumbs << 19086.9 << QStringLiteral("К");
    QTest::newRow("loose") << ProductForm::Loose << 18786.9 << QString();
}

void TestMixCharacteristics::surchargeByProductForm()
{
    QFETCH(ProductForm, form);
    QFETCH(double, priceNoTax);
    QFETCH(QString, letter);
    MixInput in = input(MixMode::Percent, {line(QStringLiteral("Пшеница"), 60, 15000, 13),
                                           line(QStringLiteral("Кукуруза"), 40, 17000, 9)});
    in.form = form;
    const MixResult r = results::computeMix(in, plainSettings());
    QCOMPARE(r.price.build.priceNoTax, priceNoTax);
    QCOMPARE(r.price.build.granSurcharge, form == ProductForm::Loose ? 0.0 : 300.0);
    QCOMPARE(results::productFormLetter(form), letter);
}

// With the wholesale price rounded, a half rouble goes to the even rouble and the tax
// is computed from the rounded price.
void TestMixCharacteristics::halfRoubleGoesToEvenBeforeTax_data()
{
    QTest::addColumn<double>("rawPrice");
    QTest::addColumn<double>("wholesale");
    QTest::addColumn<double>("tax");
    QTest::newRow("down to even") << 1234.5 << 1234.0 << 123.4;
    QTest::newRow("up to even") << 1235.5 << 1236.0 << 123.6;
    QTest::newRow("not a half") << 1234.51 << 1235.0 << 123.5;
}

void TestMixCharacteristics::halfRoubleGoesToEvenBeforeTax()
{
    QFETCH(double, rawPrice);
    QFETCH(double, wholesale);
    QFETCH(double, tax);
    settings::Settings s; // no losses, costs, profit or surcharge: price = raw price
    s.roundWholesalePrice = true;
    s.namePriceWithoutTax = true;
    MixInput in = input(MixMode::Percent, {line(QStringLiteral("Смесь"), 100, rawPrice, 0)});
    const MixResult r = results::computeMix(in, s);
    QCOMPARE(r.price.build.priceNoTax, wholesale);
    QCOMPARE(r.price.build.taxAmount, tax);
    QCOMPARE(r.price.sellingPrice, wholesale + tax);
    QCOMPARE(r.price.nameText, QString::number(wholesale, 'f', 0));
}

void TestMixCharacteristics::nameCarriesPriceWithOrWithoutTax()
{
    settings::Settings s = plainSettings();
    const MixInput in = input(MixMode::Percent, {line(QStringLiteral("Пшеница"), 100, 15000, 13)});
    // 15000 + 75 + 1200 = 16275, profit 1627.5, + 300 = 18202.5, tax 1820.25
    QCOMPARE(results::computeMix(in, s).price.nameText, QStringLiteral("20022.75"));
    s.namePriceWithoutTax = true;
    QCOMPARE(results::computeMix(in, s).price.nameText, QStringLiteral("18202.50"));
    s.roundWholesalePrice = true;
    QCOMPARE(results::computeMix(in, s).price.nameText, QStringLiteral("18202"));
}

// The second computation takes the first price out before it appends its own.
void TestMixCharacteristics::computingTwiceLeavesOnePriceInTheName()
{
    QString product = QStringLiteral("ПК-5");
    QString last;
    for (const QString &price : {QStringLiteral("20996"), QStringLiteral("21000.50")}) {
        product = results::productWithoutPrice(product, last);
        product = results::productWithPrice(product, price);
        last = price;
    }
    QCOMPARE(product, QStringLiteral("ПК-5-21000.50-"));
    QCOMPARE(results::productWithoutPrice(product, last), QStringLiteral("ПК-5"));
    // a product code that holds the same digits keeps them
    QCOMPARE(results::productWithoutPrice(QStringLiteral("К-100-100-"), QStringLiteral("100")),
             QStringLiteral("К-100"));
    QCOMPARE(results::productWithoutPrice(QStringLiteral("ПК-5"), QString()),
             QStringLiteral("ПК-5"));
    QCOMPARE(results::productWithoutPrice(QStringLiteral("ПК-5 правлено"), QStringLiteral("9")),
             QStringLiteral("ПК-5 правлено"));
}

void TestMixCharacteristics::shownNumbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("norm");
    QTest::newRow("zero") << 0.0 << QStringLiteral("        0.00") << QString();
    QTest::newRow("below 45") << 44.5 << QStringLiteral("       44.50") << QStringLiteral("44.5");
    QTest::newRow("45") << 45.0 << QStringLiteral("          45") << QStringLiteral("    45");
    QTest::newRow("price") << 56000.0 << QStringLiteral("       56000") << QStringLiteral(" 56000");
    QTest::newRow("small") << 0.035 << QStringLiteral("        0.04") << QStringLiteral("0.035");
    // 0.105 is 0.10499999... in binary: the level is shown, and stands, as 0.10
    QTest::newRow("half below") << 0.105 << QStringLiteral("        0.10")
                                << QStringLiteral("0.105");
    QTest::newRow("half exact") << 12.125 << QStringLiteral("       12.13")
                                << QStringLiteral("12.125");
    QTest::newRow("whole half") << 45.5 << QStringLiteral("          46")
                                << QStringLiteral("    46");
}

void TestMixCharacteristics::shownNumbers()
{
    QFETCH(double, value);
    QFETCH(QString, level);
    QFETCH(QString, norm);
    const results::CellValue levelCell = results::levelCell(value);
    const results::CellValue normCell = results::normCell(value);
    QCOMPARE(levelCell.text, level);
    QCOMPARE(normCell.text, norm);
    // each cell stands for the number its text shows
    QVERIFY(levelCell.number.ok());
    QCOMPARE(levelCell.number.value, level.toDouble());
    QCOMPARE(normCell.number.ok(), !norm.isEmpty());
    if (!norm.isEmpty())
        QCOMPARE(normCell.number.value, norm.toDouble());
}

QTEST_APPLESS_MAIN(TestMixCharacteristics)
#include "tst_mixcharacteristics.moc"
