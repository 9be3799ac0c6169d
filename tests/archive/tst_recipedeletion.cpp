// Deleting recipes from the archive window: one recipe, a range of numbers, and what a
// table error half-way leaves on the cursors.
#include "archive/recipedeletion.h"
#include "archivefixture.h"

#include <QtTest>

using archivetest::ArchiveData;
using archivetest::sample;

namespace
{

// Recipes 1 .. 6 but 3, with a released recipe 3 left over from an earlier delete.
void fill(ArchiveData &data, const QList<int> &numbers = {1, 2, 4, 5, 6})
{
    archivetest::Recipe released = sample(3);
    released.head.arnom = -1;
    data.addRecipe(released);
    for (int n : numbers)
        data.addRecipe(sample(n));
}

QList<int> live(const QList<int> &numbers)
{
    QList<int> result;
    for (int n : numbers) {
        if (n > 0 && !result.contains(n))
            result << n;
    }
    return result;
}

} // namespace

class TestRecipeDeletion final : public QObject
{
    Q_OBJECT

private slots:
    void deleteOneReleasesAllFourTables_data();
    void deleteOneReleasesAllFourTables();
    void deleteOneOnEmptyViewDoesNothing();
    void deleteRange_data();
    void deleteRange();
    void tableErrorLeavesCursorsAsBefore();
};

void TestRecipeDeletion::deleteOneReleasesAllFourTables_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("nextCurrent");
    QTest::newRow("middle: the next row") << 2 << 4;
    QTest::newRow("first") << 1 << 2;
    QTest::newRow("last: back one row") << 6 << 5;
}

// Every row of the recipe gets arnom -1, in the head and all three lower tables; the
// cursor moves on and the lower tables follow it.
void TestRecipeDeletion::deleteOneReleasesAllFourTables()
{
    QFETCH(int, number);
    QFETCH(int, nextCurrent);
    ArchiveData data;
    QVERIFY(data.ok());
    fill(data);
    QVERIFY(data.goTo(number));
    QVERIFY(archive::deleteCurrentRecipe(data.cursors()));

    QList<int> expected{1, 2, 4, 5, 6};
    expected.removeOne(number);
    for (const char *table : {"arkk", "arsir", "arpit", "arprem"}) {
        const QList<int> numbers = data.numbersIn(table);
        QCOMPARE(live(numbers), expected);
        QVERIFY(numbers.contains(-1));
    }
    QCOMPARE(archive::currentNumber(data.dm().archiveHeaders), nextCurrent);
    QCOMPARE(data.dm().archiveCompositions.integer("arnom"), nextCurrent);
    QCOMPARE(data.dm().archiveCompositions.viewCount(), 2);
    QCOMPARE(data.dm().archiveHeaders.filter(), archive::kAllRecipesFilter);
}

void TestRecipeDeletion::deleteOneOnEmptyViewDoesNothing()
{
    ArchiveData data;
    QVERIFY(data.ok());
    fill(data, {});
    QVERIFY(!archive::deleteCurrentRecipe(data.cursors()));
    QCOMPARE(data.numbersIn("arsir"), (QList<int>{-1, -1}));
}

void TestRecipeDeletion::deleteRange_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QList<int>>("left");
    const QList<int> all{1, 2, 4, 5, 6};
    QTest::newRow("5 to 5 refused") << "5"
                                    << "5" << true << all;
    QTest::newRow("both empty refused") << ""
                                        << "  " << true << all;
    QTest::newRow("reversed refused") << "6"
                                      << "5" << true << all;
    QTest::newRow("5 to 6") << "5"
                            << "6" << false << QList<int>{1, 2, 4};
    QTest::newRow("missing 3 skipped") << " 2 "
                                       << "4" << false << QList<int>{1, 5, 6};
    QTest::newRow("empty from is 0") << ""
                                     << "2" << false << QList<int>{4, 5, 6};
    QTest::newRow("beyond the numbers") << "7"
                                        << "999999" << false << all;
}

void TestRecipeDeletion::deleteRange()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, refused);
    QFETCH(QList<int>, left);
    ArchiveData data;
    QVERIFY(data.ok());
    fill(data);
    QVERIFY(data.goTo(5));
    const archive::RangeDeletion result = archive::deleteRecipeRange(
        data.cursors(), archive::rangeFieldNumber(from), archive::rangeFieldNumber(to));
    QCOMPARE(result.refused, refused);
    QCOMPARE(result.deleted, 5 - int(left.size()));
    for (const char *table : {"arkk", "arsir", "arpit", "arprem"})
        QCOMPARE(live(data.numbersIn(table)), left);
    store::Table &arkk = data.dm().archiveHeaders;
    QVERIFY(arkk.dataSourceEnabled());
    QVERIFY(arkk.filtered());
    QCOMPARE(arkk.viewCount(), int(left.size()));
    if (!refused && !left.isEmpty()) {
        QCOMPARE(arkk.viewPosition(), 0);
        QCOMPARE(data.dm().archiveCharacteristics.integer("arnom"), left.first());
    }
}

// A table that fails half-way (arprem closed under the operation): the error comes out,
// and the head cursor, its filter and data source and the lower filters are as before.
void TestRecipeDeletion::tableErrorLeavesCursorsAsBefore()
{
    for (const bool range : {false, true}) {
        ArchiveData data;
        QVERIFY(data.ok());
        fill(data);
        QVERIFY(data.goTo(4));
        data.dm().archivePremixes.close();
        if (range) {
            QVERIFY_THROWS_EXCEPTION(store::TableError,
                                     archive::deleteRecipeRange(data.cursors(), 1, 6));
        } else {
            QVERIFY_THROWS_EXCEPTION(store::TableError,
                                     archive::deleteCurrentRecipe(data.cursors()));
        }
        store::Table &arkk = data.dm().archiveHeaders;
        QCOMPARE(archive::currentNumber(arkk), 4);
        QCOMPARE(arkk.filter(), archive::kAllRecipesFilter);
        QVERIFY(arkk.filtered());
        QVERIFY(arkk.dataSourceEnabled());
        QCOMPARE(arkk.viewCount(), 5);
        QCOMPARE(data.dm().archiveCompositions.filter(), archive::recipeFilter(4));
        QVERIFY(data.dm().archiveCompositions.filtered());
    }
}

QTEST_MAIN(TestRecipeDeletion)
#include "tst_recipedeletion.moc"
