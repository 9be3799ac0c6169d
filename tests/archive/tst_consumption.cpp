// The raw-material consumption estimate: its lines, the totals by exact name, the
// order by code page, the loss factor, and recipes without output left out.
#include "archive/consumption.h"
#include "archivefixture.h"
#include "store/numbertext.h"

#include <QtTest>

using archivetest::ArchiveData;
using archivetest::Recipe;
using archivetest::sample;

namespace
{

const QString kRule(70, u'-');

QString figureLine(const QString &name, double value)
{
    return "   " + store::padded(name, 40) + QString(10, u' ') + store::fixedText(value, 13, 4);
}

Recipe withRaws(int number, double ves, const QList<std::pair<QString, double>> &raws)
{
    Recipe r = sample(number);
    r.head.ves = ves;
    r.head.raws.clear();
    for (const auto &[name, share] : raws)
        r.head.raws.append({name, share, 1000});
    return r;
}

} // namespace

class TestConsumption final : public QObject
{
    Q_OBJECT

private slots:
    void wholeListWithLosses();
    void moreThanFiftyRawMaterialsAllTotalled();
};

// Two recipes sharing "Пшеница" give one total; "пшеница" of a third is another; a
// recipe without output is left out; the totals go by 1251 codes (П < Я < п).
void TestConsumption::wholeListWithLosses()
{
    ArchiveData data;
    QVERIFY(data.ok());
    data.addRecipe(withRaws(1, 1, {{"Пшеница", 60}, {"Ячмень", 40}}));
    data.addRecipe(withRaws(2, 2, {{"Ячмень", 50}, {"Пшеница", 50}}));
    data.addRecipe(withRaws(3, 0.5, {{"пшеница", 100}}));
    data.addRecipe(withRaws(4, 0.00000001, {{"Овес", 100}}));
    Recipe released = withRaws(5, 7, {{"Рожь", 100}});
    released.head.arnom = -1;
    data.addRecipe(released);
    QVERIFY(data.goTo(3));

    const QStringList lines = archive::consumptionLines(data.cursors(), 1);
    const QStringList expected{
        "Оценка затрат сырья с учетом технологических потерь на выпуск продукции.",
        kRule,
        store::padded("   Наименование рецептов", 40) + QString(10, u' ') + "   Выпуск, т",
        kRule,
        figureLine(sample(1).head.naim, 1),
        figureLine(sample(2).head.naim, 2),
        figureLine(sample(3).head.naim, 0.5),
        kRule,
        store::padded("   Наименование сырья", 40) + QString(10, u' ') + "   Расход, т",
        kRule,
        figureLine("Пшеница", 0.606 + 1.01),
        figureLine("Ячмень", 0.404 + 1.01),
        figureLine("пшеница", 0.505),
        kRule};
    QCOMPARE(lines, expected);
    QCOMPARE(data.dm().archiveHeaders.viewPosition(), 0);
}

void TestConsumption::moreThanFiftyRawMaterialsAllTotalled()
{
    ArchiveData data;
    QVERIFY(data.ok());
    QList<std::pair<QString, double>> raws;
    for (int i = 1; i <= 60; ++i)
        raws.append({QStringLiteral("Сырье %1").arg(i, 2, 10, QLatin1Char('0')), 1});
    data.addRecipe(withRaws(1, 100, raws.mid(0, 30)));
    data.addRecipe(withRaws(2, 100, raws.mid(30)));
    const QStringList lines = archive::consumptionLines(data.cursors(), 0);
    const QStringList totals = lines.filter(QStringLiteral("Сырье "));
    QCOMPARE(totals.size(), 60);
    QCOMPARE(totals.first(), figureLine("Сырье 01", 1));
    QCOMPARE(totals.last(), figureLine("Сырье 60", 1));
}

QTEST_MAIN(TestConsumption)
#include "tst_consumption.moc"
