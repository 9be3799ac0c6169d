// "Отметить все" on a list: all or nothing. Within the limit every entry is marked, the
// stock of the newly marked ones reset and that of the marked ones kept, the count set and
// the cursor left where it stood; beyond the limit nothing is marked and the refusal says
// why.
#include "lists/selection.h"
#include "store/table.h"

#include <QTemporaryDir>
#include <QTest>

class TestSelection final : public QObject
{
    Q_OBJECT

private slots:
    void selectAllIsAllOrNothing_data();
    void selectAllIsAllOrNothing();
};

void TestSelection::selectAllIsAllOrNothing_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("marked");
    QTest::newRow("below the limit") << 42 << 50 << true;
    QTest::newRow("at the limit") << 50 << 50 << true;
    QTest::newRow("one beyond") << 41 << 40 << false;
}

void TestSelection::selectAllIsAllOrNothing()
{
    QFETCH(int, entries);
    QFETCH(int, limit);
    QFETCH(bool, marked);
    QTemporaryDir dir;
    store::Table list;
    list.setFileName(dir.filePath("sir.dbf"));
    list.create({{"order", 'N', 3, 0}, {"ot", 'C', 1, 0}, {"VES", 'N', 8, 1}});
    list.defineIndex({"order", "order"});
    list.open();
    for (int order = 1; order <= entries; ++order) {
        list.append();
        list.setNumber("order", order);
        list.setNumber("VES", 7.5);
        list.setText("ot", order == 3 ? "+" : "");
        list.post();
    }
    list.setIndexName("order");
    QVERIFY(list.findKey(5));
    int count = 1;

    const QString refusal = lists::selectAll(list, count, limit, QStringLiteral("типов сырья"));

    QCOMPARE(refusal.isEmpty(), marked);
    if (!marked) {
        QCOMPARE(refusal, QStringLiteral("Отметить все нельзя: к расчету отбирается не более "
                                         "%1 типов сырья, а в списке их %2. Ничего не отмечено: "
                                         "отметьте нужные по одному.")
                              .arg(limit)
                              .arg(entries));
    }
    QCOMPARE(count, marked ? entries : 1);
    QCOMPARE(list.integer("order"), 5);
    QVERIFY(list.dataSourceEnabled());
    store::Table fresh;
    fresh.setFileName(list.fileName());
    fresh.open();
    for (fresh.first(); !fresh.eof(); fresh.next()) {
        const int order = fresh.integer("order");
        const bool selected = marked || order == 3;
        QCOMPARE(fresh.text("ot"), selected ? QStringLiteral("+") : QString());
        // as one toggle each: the stock of an entry selected before stays
        QCOMPARE(fresh.number("VES"), marked && order != 3 ? 0.0 : 7.5);
    }
}

QTEST_APPLESS_MAIN(TestSelection)
#include "tst_selection.moc"
