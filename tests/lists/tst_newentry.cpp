// Clearing an entry taken into use on a copy of the demo data: the fields go blank in
// every record they should, and the cursors other windows look at (the list's and the
// norm table's) keep their filter, switch and current record.
#include "lists/newentry.h"
#include "results/demodatafixture.h"
#include "store/datamodule.h"
#include "store/ratiotable.h"
#include "store/table.h"

#include <QTest>

namespace
{

// What a window sees of a cursor.
struct Seen {
    QString filter;
    bool filtered = false;
    int record = -1;
    int viewCount = 0;

    static Seen of(const store::Table &t)
    {
        return {t.filter(), t.filtered(), t.recordNumber(), t.viewCount()};
    }
    bool operator==(const Seen &) const = default;
};

} // namespace

class TestNewEntry final : public QObject
{
    Q_OBJECT

private slots:
    void characteristicColumnsKeepTheListCursors();
    void newRawMaterialKeepsTheNormCursor();
    void reusedSlotsLeaveNoRatiosInForce_data();
    void reusedSlotsLeaveNoRatiosInForce();
};

// Every demo ratio switched on; then a feed type or a characteristic of the first ratio
// is taken into use again: the new feed type starts without ratios (its slot's records
// freed), a ratio naming the new characteristic goes out of force; the rest stay on.
void TestNewEntry::reusedSlotsLeaveNoRatiosInForce_data()
{
    QTest::addColumn<bool>("feedType");
    QTest::newRow("feed type") << true;
    QTest::newRow("characteristic") << false;
}

void TestNewEntry::reusedSlotsLeaveNoRatiosInForce()
{
    QFETCH(bool, feedType);
    roadtest::DemoData demo;
    store::DataModule *dm = demo.open();
    QVERIFY(dm);
    store::Table &ratios = dm->ratios;
    ratios.open();
    for (ratios.first(); !ratios.eof(); ratios.next())
        ratios.setText(QStringLiteral("ON"), QStringLiteral("+"));
    ratios.post();
    ratios.first();
    const int kodkk = ratios.integer(QStringLiteral("KODKK"));
    const int key = ratios.integer(QStringLiteral("K1"));
    ratios.close();
    if (feedType) {
        store::Table &kk = dm->feedTypes;
        kk.setFiltered(false);
        for (kk.first(); !kk.eof() && kk.integer(QStringLiteral("kodkk")) != kodkk;)
            kk.next();
        QVERIFY(!kk.eof());
        lists::clearNewFeedType(*dm);
    } else {
        lists::clearCharacteristicColumns(*dm, key);
    }
    QVERIFY(!ratios.isOpen()); // left as it was found
    int concerned = 0;
    int on = 0;
    for (const store::RatioRecord &r : store::readRatioRecords(ratios.fileName())) {
        const bool named =
            feedType ? r.kodkk == 0 : r.numeratorKey == key || r.denominatorKey == key;
        QVERIFY(r.kodkk != kodkk || !feedType);
        QCOMPARE(r.on, !named);
        ++(named ? concerned : on);
    }
    QVERIFY(concerned > 0 && on > 0);
}

// MI<key>/MA<key> go blank in every record of kk's list, the filtered-out ones too;
// kk stays filtered on the record it stood on.
void TestNewEntry::characteristicColumnsKeepTheListCursors()
{
    roadtest::DemoData demo;
    store::DataModule *dm = demo.open();
    QVERIFY(dm);
    store::Table &kk = dm->feedTypes;
    kk.setFilter(QStringLiteral("ot='+'"));
    kk.setFiltered(true);
    QVERIFY(kk.viewCount() >= 2);
    kk.first();
    kk.next();
    const Seen before = Seen::of(kk);
    const Seen sirBefore = Seen::of(dm->rawMaterials);

    lists::clearCharacteristicColumns(*dm, 2);

    QCOMPARE(Seen::of(kk), before);
    QCOMPARE(Seen::of(dm->rawMaterials), sirBefore);
    kk.setFiltered(false);
    for (kk.first(); !kk.eof(); kk.next()) {
        QVERIFY(kk.isBlank(QStringLiteral("MI2")));
        QVERIFY(kk.isBlank(QStringLiteral("MA2")));
    }
}

// min and max of the new raw material's norm records go blank; the norm cursor keeps
// the filter another window set and its current record.
void TestNewEntry::newRawMaterialKeepsTheNormCursor()
{
    roadtest::DemoData demo;
    store::DataModule *dm = demo.open();
    QVERIFY(dm);
    store::Table &norm = dm->inclusionNorms;
    store::Table &sir = dm->rawMaterials;
    const int kods = sir.integer(QStringLiteral("kods"));
    norm.open();    // as the feed types window leaves it
    int kodkk = -1; // a feed type with an inclusion limit on this raw material
    for (norm.first(); !norm.eof(); norm.next())
        if (norm.integer(QStringLiteral("kods")) == kods)
            kodkk = norm.integer(QStringLiteral("kodkk"));
    QVERIFY(kodkk > 0);
    norm.setFilter(QStringLiteral("kodkk=") + QString::number(kodkk));
    norm.setFiltered(true);
    norm.last();
    const Seen before = Seen::of(norm);

    lists::clearNewRawMaterial(*dm);

    QCOMPARE(Seen::of(norm), before);
    norm.setFiltered(false);
    int cleared = 0;
    for (norm.first(); !norm.eof(); norm.next()) {
        if (norm.integer(QStringLiteral("kods")) != kods)
            continue;
        QVERIFY(norm.isBlank(QStringLiteral("min")));
        QVERIFY(norm.isBlank(QStringLiteral("max")));
        ++cleared;
    }
    QVERIFY(cleared > 0);
}

QTEST_GUILESS_MAIN(TestNewEntry)
#include "tst_newentry.moc"
