// The recipe document text: its lines and columns, the cost figures, the whole-rouble
// rounding of the prices and the batch balancing before printing.

#include "documents/recipedocument.h"
#include "samplerecipe.h"

#include <QTest>

using documents::ArchivedRecipe;
using documents::RecipeDocument;

namespace
{

const QString kPrintDate = QStringLiteral("07.12.2026");

ArchivedRecipe sampleRecipe()
{
    ArchivedRecipe r = sampleRecipeHead();
    r.chars = {
        {QStringLiteral("Обменная энергия"), QStringLiteral("ккал/100г"), 260, 0, 265.123, 265.1},
        {QStringLiteral("Сырой протеин"), QStringLiteral("%"), 16, 18, 16.5, 16.45},
        {QStringLiteral("Кальций"), QStringLiteral("%"), 0, 0, 3.5, 3.5},
        {QStringLiteral("Клетчатка"), QStringLiteral("%"), 0, 6, 5.2, 5.3}};
    r.premixes = {{QStringLiteral("Витамин А"), QStringLiteral("тыс.МЕ"), 10.5}};
    return r;
}

// A recipe of one raw material at 100 % with the given price and nothing added on top.
ArchivedRecipe priceOnlyRecipe(double price)
{
    ArchivedRecipe r;
    r.ves = 1;
    r.raws = {{QStringLiteral("Сырье"), 100, price}};
    return r;
}

ArchivedRecipe batchRecipe(double ves, double procpot, const QList<double> &shares)
{
    ArchivedRecipe r;
    r.ves = ves;
    r.procpot = procpot;
    for (double share : shares)
        r.raws.append({QStringLiteral("Сырье"), share, 100});
    return r;
}

QString sp(int n)
{
    return QString(n, QLatin1Char(' '));
}

} // namespace

class TestRecipeDocument final : public QObject
{
    Q_OBJECT

private slots:
    void headerLines();
    void rawMaterialColumns();
    void characteristicLines();
    void ratioLines();
    void costLines();
    void premixSection();
    void noPremixSection();
    void emptyWhenNoWeight();
    void standardAndPurposeRules();
    void normText_data();
    void normText();
    void wholeRoubles_data();
    void wholeRoubles();
    void batchBalancing_data();
    void batchBalancing();
};

void TestRecipeDocument::headerLines()
{
    const RecipeDocument d =
        RecipeDocument::build(sampleRecipe(), QStringLiteral("НДС"), kPrintDate);
    const QStringList &l = d.lines();
    QCOMPARE(l.at(0),
             QStringLiteral("ПК-1-15054.19-12Г") + sp(33) + QStringLiteral("ГОСТ 51851-2001"));
    QCOMPARE(l.at(1), QStringLiteral("Для кур-несушек промышленного стада"));
    QCOMPARE(l.at(2), QString());
    QCOMPARE(l.at(3), QStringLiteral("  Вес 10.0 Т") + sp(28) +
                          QStringLiteral("Рассчитано 05.03.2024") + sp(9) +
                          QStringLiteral("Отпечатано 07.12.2026"));
    QCOMPARE(l.at(4), QStringLiteral("опытная партия"));
    QCOMPARE(l.at(5), sp(39) + QStringLiteral("Оптовая цена    Стоимость в    Количество на "
                                              "Количество на"));
    QCOMPARE(l.at(6), sp(11) + QStringLiteral("Состав сырья") + sp(8) + QStringLiteral("%ввода"));
    QCOMPARE(l.at(7), sp(38) + QStringLiteral("за 1 тонну, руб. рецепте, руб.     партию     "
                                              "партию с потерями "));
}

// Name 1-32, share 33-38, price 39-55, cost 56-69, batch 70-84, with losses 86-100.
void TestRecipeDocument::rawMaterialColumns()
{
    const RecipeDocument d =
        RecipeDocument::build(sampleRecipe(), QStringLiteral("НДС"), kPrintDate);
    QCOMPARE(d.rawCount(), 4);
    const QString first = d.lines().at(8);
    QCOMPARE(first.size(), 100);
    QCOMPARE(first.mid(0, 32), QStringLiteral("Пшеница") + sp(25));
    QCOMPARE(first.mid(32, 6), QStringLiteral(" 40.50"));
    QCOMPARE(first.mid(38, 17), sp(9) + QStringLiteral("12000.00"));
    QCOMPARE(first.mid(55, 14), sp(7) + QStringLiteral("4860.00"));
    QCOMPARE(first.mid(69, 15), sp(9) + QStringLiteral("4.0500"));
    QCOMPARE(first.mid(84, 1), sp(1));
    QCOMPARE(first.mid(85, 15), sp(9) + QStringLiteral("4.0905"));
    // 10500.5 × 33.25 % = 3491.41625, rounded to 3491.42.
    const QString second = d.lines().at(9);
    QCOMPARE(second.mid(32, 6), QStringLiteral(" 33.25"));
    QCOMPARE(second.mid(38, 17).trimmed(), QStringLiteral("10500.50"));
    QCOMPARE(second.mid(55, 14).trimmed(), QStringLiteral("3491.42"));
    QCOMPARE(second.mid(69, 15).trimmed(), QStringLiteral("3.3250"));
    QCOMPARE(second.mid(85, 15).trimmed(), QStringLiteral("3.3583")); // 3.35825 -> 3.3583
    QCOMPARE(d.lines().at(8 + 4), RecipeDocument::kRule);
    QCOMPARE(RecipeDocument::kRule.size(), 101);
}

// Name 1-21, unit 22-34, norm 35-50, calculated 51-58, actual 63-70.
void TestRecipeDocument::characteristicLines()
{
    const RecipeDocument d =
        RecipeDocument::build(sampleRecipe(), QStringLiteral("НДС"), kPrintDate);
    const int n = d.rawCount();
    QCOMPARE(d.lines().at(9 + n), QStringLiteral("Показатели качества") + sp(16) +
                                      QStringLiteral("Норматив") + sp(9) +
                                      QStringLiteral("Расчет") + sp(8) + QStringLiteral("Факт"));
    QCOMPARE(d.firstCharLine(), 11 + n);
    const QString energy = d.lines().at(11 + n);
    QCOMPARE(energy, QStringLiteral("Обменная энергия") + sp(5) + QStringLiteral("ккал/100г") +
                         sp(4) + QStringLiteral("не менее 260.00") + sp(1) +
                         QStringLiteral("  265.12") + sp(4) + QStringLiteral("  265.10"));
    const QString protein = d.lines().at(12 + n);
    QCOMPARE(protein.mid(34, 16), QStringLiteral("16.00-18.00") + sp(5));
    QCOMPARE(protein.mid(50, 8), QStringLiteral("   16.50"));
    QCOMPARE(protein.mid(62, 8), QStringLiteral("   16.45"));
    QCOMPARE(d.costRuleIndex(), 15 + n);
    QCOMPARE(d.lines().at(d.costRuleIndex()), RecipeDocument::kRule);
}

// After the characteristics, within their block: name and unit columns the ratio's name,
// its bounds with four decimals, the calculated and actual ratios of the archived levels;
// no value where a characteristic is not archived.
void TestRecipeDocument::ratioLines()
{
    ArchivedRecipe r = sampleRecipe();
    r.ratios = {{QStringLiteral("Кальций"), QStringLiteral("Сырой протеин"), 0.2, 0},
                {QStringLiteral("Клетчатка"), QStringLiteral("Лизин"), 0, 0.5}};
    const RecipeDocument d = RecipeDocument::build(r, QStringLiteral("НДС"), kPrintDate);
    const int first = d.firstCharLine() + int(r.chars.size());
    QCOMPARE(d.charCount(), 6);
    QCOMPARE(d.lines().at(first),
             QStringLiteral("Кальций/Сырой протеин") + sp(13) + QStringLiteral("не менее 0.2000") +
                 sp(1) + QStringLiteral("  0.2121") + sp(4) + QStringLiteral("  0.2128"));
    QCOMPARE(d.lines().at(first + 1), QStringLiteral("Клетчатка/Лизин") + sp(19) +
                                          QStringLiteral("не более 0.5000") + sp(21));
    QCOMPARE(d.lines().at(d.costRuleIndex()), RecipeDocument::kRule);
}

void TestRecipeDocument::costLines()
{
    const RecipeDocument d =
        RecipeDocument::build(sampleRecipe(), QStringLiteral("НДС"), kPrintDate);
    const int e = d.costRuleIndex();
    const QStringList &l = d.lines();
    QCOMPARE(l.at(e + 1), QStringLiteral("Стоимостные показатели, руб."));
    QCOMPARE(l.at(e + 2), RecipeDocument::kRule);
    // 4860.00 + 3491.42 + 950.00 + 3787.50
    QCOMPARE(l.at(e + 3),
             QStringLiteral("Стоимость сырья") + sp(11) + QStringLiteral("     13088.92"));
    QCOMPARE(l.at(e + 4),
             QStringLiteral("Произв. потери 1.00%") + sp(6) + QStringLiteral("       130.89"));
    QCOMPARE(l.at(e + 5),
             QStringLiteral("Издержки производства") + sp(5) + QStringLiteral("       150.00"));
    QCOMPARE(l.at(e + 6),
             QStringLiteral("Себестоимость") + sp(13) + QStringLiteral("     13369.81"));
    QCOMPARE(l.at(e + 7),
             QStringLiteral("Прибыль 12.0%") + sp(13) + QStringLiteral("      1604.38"));
    QCOMPARE(l.at(e + 8),
             QStringLiteral("Гранулирование") + sp(12) + QStringLiteral("        80.00"));
    QCOMPARE(l.at(e + 9),
             QStringLiteral("Оптовая цена") + sp(14) + QStringLiteral("     15054.19"));
    QCOMPARE(l.at(e + 10), QStringLiteral("НДС 10.0%") + sp(17) + QStringLiteral("      1505.42"));
    QCOMPARE(l.at(e + 11),
             QStringLiteral("Отпускная цена") + sp(12) + QStringLiteral("     16559.61"));
    QCOMPARE(l.at(e + 12),
             QStringLiteral("Объем партии, т") + sp(11) + QStringLiteral("    10.000"));
    QCOMPARE(l.at(e + 13), RecipeDocument::kRule);
    for (int i = e + 3; i <= e + 11; ++i)
        QCOMPARE(l.at(i).size(), 39);
    QCOMPARE(d.costs().selling, 16559.61);
}

void TestRecipeDocument::premixSection()
{
    const RecipeDocument d =
        RecipeDocument::build(sampleRecipe(), QStringLiteral("НДС"), kPrintDate);
    const int e = d.costRuleIndex();
    QCOMPARE(d.lines().size(), e + 18);
    QCOMPARE(d.lines().at(e + 14), QStringLiteral("Введены добавки на 1 т"));
    QCOMPARE(d.lines().at(e + 15), RecipeDocument::kRule);
    QCOMPARE(d.lines().at(e + 16), QStringLiteral("Витамин А") + sp(12) + QStringLiteral("тыс.МЕ") +
                                       sp(7) + QStringLiteral("     10.50"));
    QCOMPARE(d.lines().last(), RecipeDocument::kRule);
}

void TestRecipeDocument::noPremixSection()
{
    ArchivedRecipe r = sampleRecipe();
    r.premixes.clear();
    const RecipeDocument d = RecipeDocument::build(r, QStringLiteral("НДС"), kPrintDate);
    QCOMPARE(d.lines().size(), d.costRuleIndex() + 14);
    QVERIFY(!d.lines().join(QLatin1Char('\n')).contains(QStringLiteral("Введены добавки")));
}

void TestRecipeDocument::emptyWhenNoWeight()
{
    ArchivedRecipe r = sampleRecipe();
    r.ves = 0.0009;
    QVERIFY(RecipeDocument::build(r, QStringLiteral("НДС"), kPrintDate).isEmpty());
    r.ves = 0.001;
    QVERIFY(!RecipeDocument::build(r, QStringLiteral("НДС"), kPrintDate).isEmpty());
}

void TestRecipeDocument::standardAndPurposeRules()
{
    ArchivedRecipe r = sampleRecipe();
    r.gost = QStringLiteral("Гост 123-99");
    r.nasn = QString(150, QLatin1Char('x'));
    RecipeDocument d = RecipeDocument::build(r, QStringLiteral("НДС"), kPrintDate);
    QVERIFY(d.lines().at(0).endsWith(sp(1) + QStringLiteral("Гост 123-99")));
    QCOMPARE(d.lines().at(1), QStringLiteral("Для ") + QString(101, QLatin1Char('x')));
    QCOMPARE(d.lines().at(2), QString(49, QLatin1Char('x')));
    QCOMPARE(RecipeDocument::titleText(r), QStringLiteral("РЕЦЕПТ ПК-1-15054.19-12Г  Гост 123-99"));

    // An empty standard shows nothing on screen but prints as "ГОСТ" in the title.
    r.gost.clear();
    r.nasn = QStringLiteral("ДЛЯ свиней");
    d = RecipeDocument::build(r, QStringLiteral("НДС"), kPrintDate);
    QCOMPARE(d.lines().at(0), QStringLiteral("ПК-1-15054.19-12Г") + sp(33));
    QCOMPARE(d.lines().at(1), QStringLiteral("ДЛЯ свиней"));
    QCOMPARE(RecipeDocument::titleText(r), QStringLiteral("РЕЦЕПТ ПК-1-15054.19-12Г  ГОСТ"));

    // The tax name with its blank is cut to 61 characters before the rate.
    d = RecipeDocument::build(r, QString(70, QChar(u'Н')), kPrintDate);
    QCOMPARE(d.lines().at(d.costRuleIndex() + 10),
             QString(61, QChar(u'Н')) + QStringLiteral("10.0%") + QStringLiteral("      1505.42"));
}

void TestRecipeDocument::normText_data()
{
    QTest::addColumn<double>("mi");
    QTest::addColumn<double>("ma");
    QTest::addColumn<QString>("text");
    QTest::newRow("both-zero") << 0.0 << 0.0 << "не более 0.00";
    QTest::newRow("only-maximum") << 0.0 << 6.0 << "не более 6.00";
    QTest::newRow("only-minimum") << 16.0 << 0.0 << "не менее 16.00";
    QTest::newRow("both") << 16.0 << 18.5 << "16.00-18.50";
    QTest::newRow("rounded") << 0.125 << 1.0 << "0.13-1.00";
}

void TestRecipeDocument::normText()
{
    QFETCH(double, mi);
    QFETCH(double, ma);
    QFETCH(QString, text);
    QCOMPARE(RecipeDocument::normText(mi, ma), text);
}

void TestRecipeDocument::wholeRoubles_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<bool>("kn3");
    QTest::addColumn<bool>("kn5");
    QTest::addColumn<double>("nds");
    QTest::addColumn<double>("wholesale");
    QTest::addColumn<double>("selling");
    QTest::newRow("wholesale-half-down") << 1234.50 << true << false << 0.0 << 1234.0 << 1234.0;
    QTest::newRow("wholesale-half-up") << 1235.50 << true << false << 0.0 << 1236.0 << 1236.0;
    QTest::newRow("wholesale-not-rounded") << 1234.50 << false << false << 0.0 << 1234.5 << 1234.5;
    QTest::newRow("selling-half-even") << 1234.50 << false << true << 0.0 << 1234.5 << 1234.0;
    // 1122.27 + 10 % = 1234.497 -> tax 112.23 -> 1234.50 -> 1234
    QTest::newRow("selling-after-tax") << 1122.27 << false << true << 10.0 << 1122.27 << 1234.0;
}

// With kn3 / kn5 the price is rounded to whole roubles, a half to the even neighbour.
void TestRecipeDocument::wholeRoubles()
{
    QFETCH(double, price);
    QFETCH(bool, kn3);
    QFETCH(bool, kn5);
    QFETCH(double, nds);
    QFETCH(double, wholesale);
    QFETCH(double, selling);
    ArchivedRecipe r = priceOnlyRecipe(price);
    r.kn3 = kn3;
    r.kn5 = kn5;
    r.nds = nds;
    const RecipeDocument d = RecipeDocument::build(r, QStringLiteral("НДС"), kPrintDate);
    QCOMPARE(d.costs().wholesale, wholesale);
    QCOMPARE(d.costs().selling, selling);
    QCOMPARE(d.lines().at(d.costRuleIndex() + 9).mid(26).trimmed(),
             QString::number(wholesale, 'f', 2));
}

void TestRecipeDocument::batchBalancing_data()
{
    QTest::addColumn<double>("ves");
    QTest::addColumn<double>("procpot");
    QTest::addColumn<QList<double>>("shares");
    QTest::addColumn<QList<double>>("batch");
    QTest::addColumn<QList<double>>("withLosses");

    QTest::newRow("adds-up-no-correction")
        << 1.0 << 0.0 << QList<double>{33.33, 66.67} << QList<double>{0.3333, 0.6667}
        << QList<double>{0.3333, 0.6667};
    // Batch 0.9999 is within 0.0005 and stays; with losses 1.0101 against 1.010.
    QTest::newRow("losses-corrected-on-first-line")
        << 1.0 << 1.0 << QList<double>{33.333, 33.333, 33.333}
        << QList<double>{0.3333, 0.3333, 0.3333} << QList<double>{0.3366, 0.3367, 0.3367};
    // 0.99 t short by 0.01: lines corrected by weight, largest first, equal ones in
    // line order (19 % last although it is the first line).
    QTest::newRow("largest-lines-first")
        << 1.0 << 0.0 << QList<double>{19, 40, 40} << QList<double>{0.1906, 0.404, 0.4024}
        << QList<double>{0.1906, 0.404, 0.4024};
    // 0.5 + 0.499: a difference of 0.001 puts 0.0005 on the first line; the 0.0005
    // left is not above the batch threshold but is above the one of the losses column.
    QTest::newRow("threshold-exact")
        << 1.0 << 0.0 << QList<double>{50, 49.9} << QList<double>{0.5005, 0.499}
        << QList<double>{0.5005, 0.4992};
    // 2.01 t for 2 t: -50 and -25 units of the fourth decimal.
    QTest::newRow("surplus-taken-off")
        << 2.0 << 0.0 << QList<double>{50.5, 50} << QList<double>{1.005, 0.9975}
        << QList<double>{1.005, 0.9975};
}

void TestRecipeDocument::batchBalancing()
{
    QFETCH(double, ves);
    QFETCH(double, procpot);
    QFETCH(QList<double>, shares);
    QFETCH(QList<double>, batch);
    QFETCH(QList<double>, withLosses);
    RecipeDocument d =
        RecipeDocument::build(batchRecipe(ves, procpot, shares), QStringLiteral("НДС"), kPrintDate);
    const QStringList before = d.lines();
    d.balanceBatch();
    for (int k = 0; k < shares.size(); ++k) {
        QCOMPARE(d.batch(k), batch.at(k));
        QCOMPARE(d.batchWithLosses(k), withLosses.at(k));
    }
    QCOMPARE(d.lines(), before); // the text on screen keeps the first amounts
}

QTEST_APPLESS_MAIN(TestRecipeDocument)
#include "tst_recipedocument.moc"
