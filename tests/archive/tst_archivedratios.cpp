// The ratios an archived recipe is shown with: its feed type found again from the head
// row of the archive, its ratios in force read from ratio.dbf.

#include "archive/archivedratios.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using archive::ArchivedRecipe;

class tst_archivedratios final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void feedTypeFoundFromTheHead_data();
    void feedTypeFoundFromTheHead();
    void ratiosInForceOfThatFeedType();

private:
    QTemporaryDir dir_;
};

// The demo data with the first ratio (ПК-5, calcium to available phosphorus) switched on.
void tst_archivedratios::initTestCase()
{
    const QDir demo(QStringLiteral(KP_SOURCE_DIR "/data/itog3"));
    for (const QString &name : demo.entryList(QDir::Files))
        QVERIFY(QFile::copy(demo.filePath(name), dir_.filePath(name)));
    store::Table ratio;
    ratio.setFileName(dir_.filePath(QStringLiteral("ratio.dbf")));
    ratio.open();
    ratio.first();
    ratio.setText(QStringLiteral("ON"), QStringLiteral("+"));
    ratio.post();
    ratio.close();
}

void tst_archivedratios::feedTypeFoundFromTheHead_data()
{
    QTest::addColumn<QString>("naim");
    QTest::addColumn<QString>("nasn");
    QTest::addColumn<int>("kodkk");
    const QString start = QStringLiteral(
        "Полнорационный комбикорм для цыплят-бройлеров в возрасте 1-14 дней (старт)");
    const QString grower = QStringLiteral(
        "Полнорационный комбикорм для цыплят-бройлеров в возрасте 15-28 дней (рост)");
    QTest::newRow("type, price, number") << "ПК-5-52000-12" << start << 1;
    QTest::newRow("price with decimals, form letter") << "ПК-6-1-54012.50-12Г" << grower << 2;
    QTest::newRow("another number") << "ПК-5-52000-13" << start << 0;
    QTest::newRow("type cell edited") << "Старт-52000-12" << start << 0;
    QTest::newRow("purpose changed since") << "ПК-5-52000-12" << grower << 0;
}

// The name is the type, the price and the number; purpose and standard must agree.
void tst_archivedratios::feedTypeFoundFromTheHead()
{
    QFETCH(QString, naim);
    QFETCH(QString, nasn);
    QFETCH(int, kodkk);
    ArchivedRecipe recipe;
    recipe.arnom = 12;
    recipe.naim = naim;
    recipe.nasn = nasn;
    recipe.gost = QStringLiteral("18221-2018");
    QCOMPARE(archive::archivedFeedKey(recipe, dir_.path()), kodkk);
}

// Of ПК-5's three ratios only the one switched on; none in data with all switched off.
void tst_archivedratios::ratiosInForceOfThatFeedType()
{
    ArchivedRecipe recipe;
    recipe.arnom = 12;
    recipe.naim = QStringLiteral("ПК-5-52000-12");
    recipe.nasn = QStringLiteral(
        "Полнорационный комбикорм для цыплят-бройлеров в возрасте 1-14 дней (старт)");
    recipe.gost = QStringLiteral("18221-2018");
    const auto lines = archive::archivedRatios(recipe, dir_.path());
    QCOMPARE(lines.size(), 1);
    QCOMPARE(QStringList({lines[0].numerator, lines[0].denominator}),
             QStringList({"Кальций", "Фосфор доступный"}));
    QCOMPARE(QList<double>({lines[0].minimum, lines[0].maximum}), QList<double>({1.9, 2.2}));
    QVERIFY(archive::archivedRatios(recipe, QStringLiteral(KP_SOURCE_DIR "/data/itog3")).isEmpty());
}

QTEST_APPLESS_MAIN(tst_archivedratios)
#include "tst_archivedratios.moc"
