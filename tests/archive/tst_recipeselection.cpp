// Selecting recipes by a key and clearing the planned output under a selection.
#include "archive/consumption.h"
#include "archive/recipeselection.h"
#include "archivefixture.h"

#include <QTemporaryDir>
#include <QtTest>

using archivetest::ArchiveData;
using archivetest::sample;

namespace
{

// Three recipes: purposes in capitals, in lower case, and a note that holds the word.
void fill(ArchiveData &data)
{
    data.addRecipe(sample(1, QStringLiteral("ДЛЯ КУР-НЕСУШЕК")));
    archivetest::Recipe second = sample(2, QStringLiteral("для свиней на откорме"));
    second.head.prim = QStringLiteral("можно для кур и уток");
    data.addRecipe(second);
    archivetest::Recipe third = sample(3, QStringLiteral("Для бройлеров"));
    third.head.prim = QStringLiteral("старая партия, курс 5");
    data.addRecipe(third);
    archivetest::Recipe released = sample(4, QStringLiteral("для кур"));
    released.head.arnom = -1;
    data.addRecipe(released);
}

QList<int> viewNumbers(store::Table &arkk)
{
    QList<int> numbers;
    for (arkk.first(); !arkk.eof(); arkk.next())
        numbers << arkk.integer("arnom");
    arkk.first();
    return numbers;
}

} // namespace

class TestRecipeSelection final : public QObject
{
    Q_OBJECT

private slots:
    void selectByKey_data();
    void selectByKey();
    void emptyKeyDoesNothing();
    void marksStoredAndCancelKeepsThem();
    void clearOutputUnderSelection();
    void tableErrorLeavesHeadAsBefore();
};

void TestRecipeSelection::selectByKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QList<int>>("selected");
    QTest::newRow("lower case finds capitals, Cyrillic")
        << "кур" << QList<int>{1, 2, 3}; // "КУР-НЕСУШЕК", "кур и", "курс"
    QTest::newRow("capitals find lower case") << "СВИНЕЙ" << QList<int>{2};
    QTest::newRow("trailing space only where it occurs") << "кур " << QList<int>{2};
    QTest::newRow("the name") << "пк-2-" << QList<int>{2};
    QTest::newRow("released rows never") << "кур-нес" << QList<int>{1};
    QTest::newRow("no match keeps all") << "телят" << QList<int>{1, 2, 3};
}

void TestRecipeSelection::selectByKey()
{
    QFETCH(QString, key);
    QFETCH(QList<int>, selected);
    ArchiveData data;
    QVERIFY(data.ok());
    fill(data);
    store::Table &arkk = data.dm().archiveHeaders;
    const std::optional<int> matched = archive::selectByKey(arkk, key);
    QVERIFY(matched.has_value());
    const bool none = key == QStringLiteral("телят");
    QCOMPARE(*matched, none ? 0 : int(selected.size()));
    QCOMPARE(arkk.filter(), none ? archive::kAllRecipesFilter : archive::kSelectedRecipesFilter);
    QCOMPARE(viewNumbers(arkk), selected);
    QVERIFY(arkk.dataSourceEnabled());
}

void TestRecipeSelection::emptyKeyDoesNothing()
{
    ArchiveData data;
    QVERIFY(data.ok());
    fill(data);
    QVERIFY(data.goTo(2));
    QVERIFY(!archive::selectByKey(data.dm().archiveHeaders, QStringLiteral("   ")).has_value());
    QCOMPARE(archive::currentNumber(data.dm().archiveHeaders), 2);
}

// The marks live in the table: cancelling shows all, selecting again finds the same.
void TestRecipeSelection::marksStoredAndCancelKeepsThem()
{
    ArchiveData data;
    QVERIFY(data.ok());
    fill(data);
    store::Table &arkk = data.dm().archiveHeaders;
    archive::selectByKey(arkk, QStringLiteral("свин"));
    archive::cancelSelection(arkk);
    QCOMPARE(viewNumbers(arkk), (QList<int>{1, 2, 3}));
    QStringList marks;
    data.forEachRow("arkk", [&](store::Table &t) {
        marks << QString::number(t.integer("arnom")) + t.text("vibor");
    });
    QCOMPARE(marks, (QStringList{"1", "2+", "3", "-1"}));
}

// Clearing under a selection touches the selected recipes only; the estimate then covers
// the recipes among all whose output is still set.
void TestRecipeSelection::clearOutputUnderSelection()
{
    ArchiveData data;
    QVERIFY(data.ok());
    fill(data);
    store::Table &arkk = data.dm().archiveHeaders;
    archive::selectByKey(arkk, QStringLiteral("свин"));
    archive::clearOutput(arkk);
    QMap<int, double> ves;
    data.forEachRow("arkk", [&](store::Table &t) { ves[t.integer("arnom")] = t.number("ves"); });
    QCOMPARE(ves.value(1), 1.0);
    QCOMPARE(ves.value(2), 0.0);
    QCOMPARE(ves.value(3), 3.0);
    QCOMPARE(ves.value(-1), 4.0);
    QCOMPARE(arkk.filter(), archive::kSelectedRecipesFilter);

    const QStringList lines = archive::consumptionLines(data.cursors(), 0);
    const QStringList heads = lines.filter(QStringLiteral("ПК-"));
    QCOMPARE(heads.size(), 2);
    QVERIFY(heads.at(0).contains(QStringLiteral("ПК-1-")));
    QVERIFY(heads.at(1).contains(QStringLiteral("ПК-3-")));
    QCOMPARE(arkk.filter(), archive::kAllRecipesFilter);
}

// A head table without the field nasn fails at the first row: the error comes out and
// the cursor, its filter and data source are as before.
void TestRecipeSelection::tableErrorLeavesHeadAsBefore()
{
    QTemporaryDir dir;
    store::Table arkk;
    arkk.setFileName(dir.filePath("arkk.dbf"));
    arkk.create({{"arnom", 'N', 5, 0}, {"naim", 'C', 20, 0}, {"vibor", 'C', 1, 0}});
    arkk.open();
    for (int n : {1, 2, 3}) {
        arkk.append();
        arkk.setValue("arnom", n);
        arkk.post();
    }
    arkk.setFilter("arnom>1");
    arkk.setFiltered(true);
    arkk.last();
    QVERIFY_THROWS_EXCEPTION(store::TableError, archive::selectByKey(arkk, "x"));
    QCOMPARE(arkk.filter(), QStringLiteral("arnom>1"));
    QCOMPARE(arkk.integer("arnom"), 3);
    QVERIFY(arkk.dataSourceEnabled());
    QCOMPARE(arkk.state(), store::Table::State::Browse);
}

QTEST_MAIN(TestRecipeSelection)
#include "tst_recipeselection.moc"
