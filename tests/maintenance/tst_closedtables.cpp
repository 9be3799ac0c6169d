// The tables closed around a copy of their files and opened again: flushed before the
// copy, the lists back in their ranges and on their records afterwards.
#include "maintenance/closedtables.h"

#include "maintenancefixture.h"
#include "store/table.h"

#include <QtTest>

class TestClosedTables final : public QObject
{
    Q_OBJECT

private slots:
    void closesTheNineAndFlushesPendingEdits();
    void listsComeBackOnTheirRecords_data();
    void listsComeBackOnTheirRecords();
    void rangesFollowTheCountsOnDisk();
    void closedTablesStayClosed();
    void reopenedByTheDestructorAfterAnError();
};

void TestClosedTables::closesTheNineAndFlushesPendingEdits()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    store::DataModule *dm = work.open();
    QVERIFY(dm);
    dm->rawMaterials.moveTo(2);
    const int kods = dm->rawMaterials.integer("kods");
    dm->rawMaterials.setNumber("MI1", 12345.5); // being edited, not posted
    {
        maintenance::ClosedTables closed(*dm);
        QCOMPARE(closed.closeErrors(), QStringList{});
        for (store::Table *table : dm->tables().mid(0, 9))
            QVERIFY2(!table->isOpen(), qPrintable(table->objectName()));
        store::Table onDisk;
        onDisk.setFileName(work.dataDir() + "/sir.dbf");
        onDisk.open();
        bool found = false;
        for (onDisk.first(); !onDisk.eof(); onDisk.next()) {
            if (onDisk.integer("kods") == kods) {
                QCOMPARE(onDisk.number("MI1"), 12345.5);
                found = true;
            }
        }
        QVERIFY(found);
        QCOMPARE(closed.reopen(), QStringList{});
    }
    QVERIFY(dm->rawMaterials.isOpen());
    QCOMPARE(dm->rawMaterials.number("MI1"), 12345.5);
}

void TestClosedTables::listsComeBackOnTheirRecords_data()
{
    QTest::addColumn<int>("position"); // view position before; -1: past the end (eof)
    QTest::newRow("first") << 0;
    QTest::newRow("third") << 2;
    QTest::newRow("last") << -1;
}

// Each list gets its range 1 ... count and its record back; archive tables their row.
void TestClosedTables::listsComeBackOnTheirRecords()
{
    QFETCH(int, position);
    fixture::Workplace work;
    QVERIFY(work.ok());
    store::DataModule *dm = work.open();
    QVERIFY(dm);
    QList<store::Table *> lists{&dm->characteristics, &dm->feedTypes, &dm->rawMaterials,
                                &dm->archiveHeaders};
    QList<int> rows;
    for (store::Table *list : lists) {
        if (list->isEmpty()) {
            rows.append(list->viewPosition());
            continue;
        }
        if (position < 0)
            list->last();
        else
            list->moveTo(std::min(position, list->viewCount() - 1));
        rows.append(list->viewPosition());
    }
    const int selectedFeeds = dm->selectedFeedCount;
    const int selectedRaws = dm->selectedRawCount;
    {
        maintenance::ClosedTables closed(*dm);
        QCOMPARE(closed.reopen(), QStringList{});
    }
    QCOMPARE(dm->characteristics.viewCount(), dm->pitCount());
    QCOMPARE(dm->feedTypes.viewCount(), dm->kkCount());
    QCOMPARE(dm->rawMaterials.viewCount(), dm->sirCount());
    for (int i = 0; i < lists.size(); ++i)
        QCOMPARE(lists[i]->viewPosition(), rows[i]);
    QCOMPARE(dm->characteristics.indexName(), QString("order"));
    QCOMPARE(dm->selectedFeedCount, selectedFeeds);
    QCOMPARE(dm->selectedRawCount, selectedRaws);
}

// The ranges come from order.dbf as it is on disk after the copy (a restore brings other
// counts); a record past the new range leaves the list on its first record.
void TestClosedTables::rangesFollowTheCountsOnDisk()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    store::DataModule *dm = work.open();
    QVERIFY(dm);
    const int count = dm->sirCount();
    QVERIFY(count > 3);
    dm->rawMaterials.last();
    {
        maintenance::ClosedTables closed(*dm);
        store::Table order;
        order.setFileName(work.dataDir() + "/order.dbf");
        order.open();
        order.setValue("sir", count - 2);
        order.post();
        order.close();
        QCOMPARE(closed.reopen(), QStringList{});
    }
    QCOMPARE(dm->rawMaterials.viewCount(), count - 2);
    QCOMPARE(dm->rawMaterials.integer("order"), 1);
}

void TestClosedTables::closedTablesStayClosed()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    store::DataModule *dm = work.open();
    QVERIFY(dm);
    QVERIFY(!dm->inclusionNorms.isOpen());
    {
        maintenance::ClosedTables closed(*dm);
        closed.reopen();
    }
    QVERIFY(!dm->inclusionNorms.isOpen());
    QVERIFY(dm->counters.isOpen());
    QVERIFY(dm->archivePremixes.isOpen());
}

void TestClosedTables::reopenedByTheDestructorAfterAnError()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    store::DataModule *dm = work.open();
    QVERIFY(dm);
    try {
        maintenance::ClosedTables closed(*dm);
        throw std::runtime_error("copy failed");
    } catch (const std::runtime_error &) {
    }
    QVERIFY(dm->rawMaterials.isOpen());
    QCOMPARE(dm->rawMaterials.viewCount(), dm->sirCount());
}

QTEST_APPLESS_MAIN(TestClosedTables)
#include "tst_closedtables.moc"
