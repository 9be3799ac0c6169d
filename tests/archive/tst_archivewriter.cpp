// Writing a calculated recipe into the archive: the numbering with its wrap and
// release, the rows of the four tables, what is left out, and refusals.

#include "archive/archivenumbers.h"
#include "archive/archivetables.h"
#include "archive/archivewriter.h"
#include "calc/recipe.h"
#include "calc/selection.h"
#include "settings/settings.h"
#include "store/table.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using archive::ArchiveCursors;
using archive::FeedGridRow;
using store::Table;

namespace
{

const QDate kWorkingDate(2024, 3, 5);

// Two feed types over three raw materials (the second a premix) and four
// characteristics: the price, energy, a "*" characteristic and protein, as a run leaves
// them: the selection and the recipes.
struct Calculated {
    calc::Selection selection;
    calc::Recipes recipes;

    const calc::FeedRecipe &feed(int p) const { return recipes.feed(p); }
};

void fillRecord(Calculated &calculated)
{
    calc::Selection &r = calculated.selection;
    r.feedCount = 2;
    r.rawCount = 3;
    r.charCount = 4;
    const QStringList names = {"", "Цена", "Обменная энергия", "*Служебная", "Сырой протеин"};
    const QStringList units = {"", "руб", "ккал/100г", "%", "%"};
    for (int q = 1; q <= 4; ++q) {
        r.charName[q] = names.at(q);
        r.charUnit[q] = units.at(q);
    }
    r.feedType[1] = QStringLiteral("ПК-1");
    r.feedStandard[1] = QStringLiteral("51851-2001");
    r.feedPurpose[1] = QStringLiteral("Для кур-несушек");
    r.feedOutput[1] = 10;
    r.feedType[2] = QStringLiteral("ПК-2");
    r.feedOutput[2] = 5;
    r.rawName[1] = QStringLiteral("Пшеница");
    r.rawContent[1][1] = 12000;
    r.rawContent[1][2] = 300;
    r.rawContent[1][4] = 12;
    r.rawName[2] = QStringLiteral("Премикс П1");
    r.rawPremix[2] = 1;
    r.rawContent[2][1] = 95000;
    r.rawContent[2][3] = 1;
    r.rawContent[2][4] = 5;
    r.rawName[3] = QStringLiteral("Мел");
    r.rawContent[3][1] = 3000;
    r.normMin[1][2] = 280;
    r.normMax[1][2] = 1120.0005; // four times the minimum: no maximum
    r.normMin[1][4] = 11;
    r.normMax[1][4] = 14;
    struct Column {
        int feed, raw;
        double percent, tonnes;
    };
    const Column columns[] = {
        {1, 1, 97, 9.7}, {1, 2, 1, 0.1}, {1, 3, 2, 0.2}, {2, 1, 100, 5}, {2, 3, 0, 0}};
    struct Level {
        int feed, characteristic;
        double value;
    };
    const Level levels[] = {{1, 1, 0.9}, {1, 2, 291.5}, {1, 3, 0.01}, {1, 4, 11.7}, {2, 4, 12}};
    for (int p = 1; p <= 2; ++p) {
        calc::FeedRecipe feed{p, r.feedType[p], r.feedOutput[p], {}, {}, {}};
        for (const Column &c : columns)
            if (c.feed == p)
                feed.lines.append({c.raw, r.rawName[c.raw], c.percent, c.tonnes, c.tonnes * 1.01,
                                   r.rawContent[c.raw][1]});
        for (const Level &l : levels)
            if (l.feed == p)
                feed.levels.append({l.characteristic,
                                    r.charName[l.characteristic],
                                    r.normMin[p][l.characteristic],
                                    l.value,
                                    r.normMax[p][l.characteristic],
                                    {}});
        calculated.recipes.feeds.push_back(feed);
    }
}

FeedGridRow gridRow()
{
    FeedGridRow row;
    row.type = QStringLiteral("ПК-1");
    row.izder = 150;
    row.procprib = 12;
    row.gran = 80;
    row.gk = QStringLiteral("Г ");
    row.nds = 10;
    row.note = QStringLiteral("  опытная партия ");
    row.namePrice = 15054.19;
    return row;
}

settings::Settings priceSettings()
{
    settings::Settings s;
    s.lossNorm = 1;
    s.namePriceWithoutTax = true;
    s.noRoundWholesalePrice = true;
    s.noRoundSellingPrice = true;
    return s;
}

// Reads every row (filter off) of a table file as (arnom, field) values.
QList<QVariantList> rowsOf(const QString &path, const QStringList &fields)
{
    Table table;
    table.setFileName(path);
    table.open();
    QList<QVariantList> rows;
    for (table.first(); !table.eof(); table.next()) {
        QVariantList row;
        for (const QString &f : fields)
            row << table.value(f);
        rows << row;
    }
    return rows;
}

} // namespace

class TestArchiveWriter final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void nextNumber_data();
    void nextNumber();
    void writesTheFourTables();
    void twoWritesGiveConsecutiveNumbers();
    void wrapReleasesOldRecipe();
    void recipeWithoutPremixWritesNoPremixRows();
    void nameCarriesPrice_data();
    void nameCarriesPrice();
    void refusesWhatCannotBeStored_data();
    void refusesWhatCannotBeStored();
    void filterStateIsKept();

private:
    void openCursors(int arhnom);
    ArchiveCursors cursors() const;
    QString path(const char *file) const { return dir_->filePath(QString::fromLatin1(file)); }
    int arhnomOnDisk() const;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Table> order_, arkk_, arsir_, arpit_, arprem_;
    std::unique_ptr<Calculated> record_;
};

void TestArchiveWriter::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    archive::createArchiveTables(dir_->path());
    Table order;
    order.setFileName(path("order.dbf"));
    order.create(
        {{"pit", 'N', 3, 0}, {"KK", 'N', 4, 0}, {"sir", 'N', 4, 0}, {"arhnom", 'N', 5, 0}});
    record_ = std::make_unique<Calculated>();
    fillRecord(*record_);
}

void TestArchiveWriter::cleanup()
{
    order_.reset();
    arkk_.reset();
    arsir_.reset();
    arpit_.reset();
    arprem_.reset();
    dir_.reset();
}

void TestArchiveWriter::openCursors(int arhnom)
{
    const auto open = [this](std::unique_ptr<Table> &t, const char *file) {
        t = std::make_unique<Table>();
        t->setFileName(path(file));
        t->open();
    };
    open(order_, "order.dbf");
    order_->append();
    order_->setValue(QStringLiteral("arhnom"), arhnom);
    order_->post();
    order_->first();
    open(arkk_, "arkk.dbf");
    open(arsir_, "arsir.dbf");
    open(arpit_, "arpit.dbf");
    open(arprem_, "arprem.dbf");
}

ArchiveCursors TestArchiveWriter::cursors() const
{
    return {order_.get(), arkk_.get(), arsir_.get(), arpit_.get(), arprem_.get()};
}

int TestArchiveWriter::arhnomOnDisk() const
{
    return rowsOf(path("order.dbf"), {"arhnom"}).value(0).value(0).toInt();
}

// arhnom + 1, 9999 wrapping to 1, 0 (after renumbering) giving 1.
void TestArchiveWriter::nextNumber_data()
{
    QTest::addColumn<int>("arhnom");
    QTest::addColumn<int>("expected");
    QTest::newRow("after-renumbering") << 0 << 1;
    QTest::newRow("ordinary") << 41 << 42;
    QTest::newRow("last-but-one") << 9998 << 9999;
    QTest::newRow("wraps") << 9999 << 1;
}

void TestArchiveWriter::nextNumber()
{
    QFETCH(int, arhnom);
    QFETCH(int, expected);
    openCursors(arhnom);
    QCOMPARE(archive::nextArchiveNumber(*order_), expected);
    QCOMPARE(arhnomOnDisk(), expected);
}

void TestArchiveWriter::writesTheFourTables()
{
    openCursors(6);
    const archive::ArchiveWriteResult result = archive::writeResultToArchive(
        cursors(), record_->selection, record_->feed(1), gridRow(), priceSettings(), kWorkingDate);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.number, 7);

    // Read back from the files: the write flushed every table.
    const auto head = rowsOf(path("arkk.dbf"), {"arnom", "data", "gost", "naim", "nasn", "prim",
                                                "ves", "nds", "izder", "gran", "gk", "procprib",
                                                "procpot", "kn1", "kn3", "kn5", "vibor"});
    QCOMPARE(head.size(), 1);
    const QVariantList expectedHead = {7,
                                       "05.03.2024",
                                       "51851-2001",
                                       "ПК-1-15054.19-7Г",
                                       "Для кур-несушек",
                                       "опытная партия",
                                       10,
                                       10,
                                       150,
                                       80,
                                       "Г",
                                       12,
                                       1,
                                       true,
                                       false,
                                       false,
                                       QVariant()};
    for (int i = 0; i < expectedHead.size(); ++i)
        QCOMPARE(head.at(0).at(i).toString(), expectedHead.at(i).toString());

    const auto raws =
        rowsOf(path("arsir.dbf"), {"arnom", "prem", "naim", "ves", "procin", "price", "pricein"});
    QCOMPARE(raws.size(), 3);
    QCOMPARE(raws.at(0).at(2).toString(), QStringLiteral("Пшеница"));
    QVERIFY(!raws.at(0).at(1).isValid()); // not a premix: blank
    QCOMPARE(raws.at(0).at(3).toDouble(), 9.7);
    QCOMPARE(raws.at(0).at(4).toDouble(), 97.0);
    QCOMPARE(raws.at(0).at(6).toDouble(), 11640.0);
    QCOMPARE(raws.at(1).at(1).toString(), QStringLiteral("+"));
    QCOMPARE(raws.at(1).at(6).toDouble(), 950.0);

    // The price row and the "*" characteristic stay out; a maximum four times the
    // minimum is stored as 0.
    const auto chars = rowsOf(path("arpit.dbf"), {"arnom", "pit", "ediz", "mi", "ma", "fa", "ra"});
    QCOMPARE(chars.size(), 2);
    QCOMPARE(chars.at(0).at(1).toString(), QStringLiteral("Обменная энергия"));
    QCOMPARE(chars.at(0).at(3).toDouble(), 280.0);
    QCOMPARE(chars.at(0).at(4).toDouble(), 0.0);
    QCOMPARE(chars.at(0).at(5).toDouble(), 291.5);
    QCOMPARE(chars.at(0).at(6).toDouble(), 291.5);
    QCOMPARE(chars.at(1).at(1).toString(), QStringLiteral("Сырой протеин"));
    QCOMPARE(chars.at(1).at(4).toDouble(), 14.0);

    // The premix brings 1 % of its contents; characteristic 1 and zeros are left out.
    const auto premix = rowsOf(path("arprem.dbf"), {"arnom", "pit", "ediz", "ra"});
    QCOMPARE(premix.size(), 2);
    QCOMPARE(premix.at(0).at(1).toString(), QStringLiteral("*Служебная"));
    QCOMPARE(premix.at(0).at(3).toDouble(), 0.01);
    QCOMPARE(premix.at(1).at(1).toString(), QStringLiteral("Сырой протеин"));
    QCOMPARE(premix.at(1).at(3).toDouble(), 0.05);
}

void TestArchiveWriter::twoWritesGiveConsecutiveNumbers()
{
    openCursors(0);
    const auto first = archive::writeResultToArchive(
        cursors(), record_->selection, record_->feed(1), gridRow(), priceSettings(), kWorkingDate);
    const auto second = archive::writeResultToArchive(
        cursors(), record_->selection, record_->feed(1), gridRow(), priceSettings(), kWorkingDate);
    QVERIFY(first.ok() && second.ok());
    QCOMPARE(first.number, 1);
    QCOMPARE(second.number, 2);
    const auto heads = rowsOf(path("arkk.dbf"), {"arnom", "naim"});
    QCOMPARE(heads.size(), 2);
    QCOMPARE(heads.at(1).at(1).toString(), QStringLiteral("ПК-1-15054.19-2Г"));
    QCOMPARE(rowsOf(path("arsir.dbf"), {"arnom"}).size(), 6);
}

// At 9999 the next recipe is number 1, and the old recipe 1 is released everywhere.
void TestArchiveWriter::wrapReleasesOldRecipe()
{
    openCursors(0);
    QVERIFY(archive::writeResultToArchive(cursors(), record_->selection, record_->feed(1),
                                          gridRow(), priceSettings(), kWorkingDate)
                .ok());
    QVERIFY(archive::writeResultToArchive(cursors(), record_->selection, record_->feed(2),
                                          gridRow(), priceSettings(), kWorkingDate)
                .ok());
    order_->edit();
    order_->setValue(QStringLiteral("arhnom"), 9999);
    order_->post();
    const auto again = archive::writeResultToArchive(
        cursors(), record_->selection, record_->feed(2), gridRow(), priceSettings(), kWorkingDate);
    QCOMPARE(again.number, 1);
    // Per table: rows of the old recipe 1 released, recipe 2 kept, the new recipe 1.
    struct Expected {
        const char *file;
        int released, two, one;
    };
    for (const Expected &e : {Expected{"arkk.dbf", 1, 1, 1}, Expected{"arsir.dbf", 3, 1, 1},
                              Expected{"arpit.dbf", 2, 1, 1}, Expected{"arprem.dbf", 2, 0, 0}}) {
        QList<int> numbers;
        for (const QVariantList &row : rowsOf(path(e.file), {"arnom"}))
            numbers << row.at(0).toInt();
        QCOMPARE(numbers.count(-1), e.released);
        QCOMPARE(numbers.count(2), e.two);
        QCOMPARE(numbers.count(1), e.one);
    }
    const auto heads = rowsOf(path("arkk.dbf"), {"arnom", "naim"});
    QCOMPARE(heads.at(2).at(1).toString(), QStringLiteral("ПК-1-15054.19-1Г"));
}

void TestArchiveWriter::recipeWithoutPremixWritesNoPremixRows()
{
    openCursors(0);
    const auto result = archive::writeResultToArchive(
        cursors(), record_->selection, record_->feed(2), gridRow(), priceSettings(), kWorkingDate);
    QVERIFY(result.ok());
    QCOMPARE(rowsOf(path("arprem.dbf"), {"arnom"}).size(), 0);
    QCOMPARE(rowsOf(path("arsir.dbf"), {"arnom"}).size(), 1); // the 0 t column is left out
    QCOMPARE(rowsOf(path("arpit.dbf"), {"arnom"}).size(), 1);
    QCOMPARE(rowsOf(path("arkk.dbf"), {"arnom"}).size(), 1);
}

void TestArchiveWriter::nameCarriesPrice_data()
{
    QTest::addColumn<bool>("withoutTax");
    QTest::addColumn<bool>("roundWholesale");
    QTest::addColumn<bool>("roundSelling");
    QTest::addColumn<double>("price");
    QTest::addColumn<QString>("name");
    QTest::newRow("two-decimals") << true << false << true << 15054.19 << "ПК-1-15054.19-7Г";
    QTest::newRow("wholesale-rounded") << true << true << false << 15054.5 << "ПК-1-15054-7Г";
    QTest::newRow("wholesale-half-up") << true << true << false << 15055.5 << "ПК-1-15056-7Г";
    QTest::newRow("selling-rounded") << false << false << true << 16559.61 << "ПК-1-16560-7Г";
    QTest::newRow("selling-not-rounded") << false << true << false << 16559.6 << "ПК-1-16559.60-7Г";
}

void TestArchiveWriter::nameCarriesPrice()
{
    QFETCH(bool, withoutTax);
    QFETCH(bool, roundWholesale);
    QFETCH(bool, roundSelling);
    QFETCH(double, price);
    QFETCH(QString, name);
    settings::Settings s = priceSettings();
    s.namePriceWithoutTax = withoutTax;
    s.namePriceWithTax = !withoutTax;
    s.roundWholesalePrice = roundWholesale;
    s.roundSellingPrice = roundSelling;
    FeedGridRow row = gridRow();
    row.namePrice = price;
    QCOMPARE(archive::recipeName(row, 7, s), name);
}

void TestArchiveWriter::refusesWhatCannotBeStored_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("gk");
    QTest::addColumn<double>("nds");
    QTest::addColumn<QString>("says"); // the column and what it holds, in the user's words
    QTest::newRow("note-too-long")
        << QString(300, QLatin1Char('x')) << "Г" << 10.0
        << "колонка \"Примечание\": текст \"" + QString(40, QLatin1Char('x')) +
               "…\" не помещается — колонка вмещает не более 254 знаков.";
    QTest::newRow("form-letter-too-long")
        << ""
        << "ГК" << 10.0
        << "колонка \"Г/К\": текст \"ГК\" не помещается — колонка вмещает не "
           "более 1 знака.";
    QTest::newRow("not-in-1251") << "партия \u4e2d"
                                 << "Г" << 10.0 << "колонка \"Примечание\": в тексте";
    QTest::newRow("rate-too-large") << ""
                                    << "Г" << 123456789.0
                                    << "колонка \"%нал.\": число 123456789 не помещается — колонка "
                                       "вмещает числа до 9999.999.";
}

// A refused recipe writes nothing and uses up no number.
void TestArchiveWriter::refusesWhatCannotBeStored()
{
    QFETCH(QString, note);
    QFETCH(QString, gk);
    QFETCH(double, nds);
    QFETCH(QString, says);
    openCursors(5);
    FeedGridRow row = gridRow();
    row.note = note;
    row.gk = gk;
    row.nds = nds;
    const auto result = archive::writeResultToArchive(
        cursors(), record_->selection, record_->feed(1), row, priceSettings(), kWorkingDate);
    QVERIFY(!result.ok());
    QVERIFY(result.error.startsWith(QStringLiteral("Рецепт не записан в архив")));
    QVERIFY2(result.error.contains(says), qPrintable(result.error));
    for (const char *technical : {"arkk", "dbf", "поле", "prim", "nds", "gk"})
        QVERIFY2(!result.error.contains(QLatin1String(technical)), qPrintable(result.error));
    QCOMPARE(result.number, 0);
    QCOMPARE(arhnomOnDisk(), 5);
    QCOMPARE(rowsOf(path("arkk.dbf"), {"arnom"}).size(), 0);
    QCOMPARE(rowsOf(path("arsir.dbf"), {"arnom"}).size(), 0);
}

// The archive window's filters are on again after the write, with their expressions.
void TestArchiveWriter::filterStateIsKept()
{
    openCursors(0);
    arkk_->setFilter(QStringLiteral("arnom>0"));
    arkk_->setFiltered(true);
    arsir_->setFilter(QStringLiteral("arnom=1"));
    arsir_->setFiltered(false);
    QVERIFY(archive::writeResultToArchive(cursors(), record_->selection, record_->feed(1),
                                          gridRow(), priceSettings(), kWorkingDate)
                .ok());
    QVERIFY(arkk_->filtered());
    QCOMPARE(arkk_->filter(), QStringLiteral("arnom>0"));
    QCOMPARE(arkk_->viewCount(), 1);
    QVERIFY(!arsir_->filtered());
    QCOMPARE(arsir_->filter(), QStringLiteral("arnom=1"));
    QVERIFY(arkk_->dataSourceEnabled());
}

QTEST_GUILESS_MAIN(TestArchiveWriter)
#include "tst_archivewriter.moc"
