// The list-editing scheme on a pool whose records lie in the file in shuffled order:
// random sequences of adds, deletes and moves must keep order a permutation of the pool
// and give the list a simple model predicts, with the cursor where the scheme says.
#include "lists/listscheme.h"
#include "store/table.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace
{

constexpr int poolSize = 30;

// What the list should look like: keys in list order, then the free slots in order.
struct PoolModel {
    QList<int> fixed; // positions before the first shown one (the price record)
    QList<int> list;
    QList<int> free;
};

} // namespace

class TestListScheme final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void randomOperationsKeepThePool_data();
    void randomOperationsKeepThePool();
    void filterIsDroppedBeforeChanges();
    void shortPoolOffersNoAddBeyondItsEnd();

private:
    void makePool(int first, int count);
    void check(const PoolModel &model, int currentKey);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<store::Table> list;
    std::unique_ptr<store::Table> counts;
    std::unique_ptr<lists::ListScheme> scheme;
};

void TestListScheme::init()
{
    dir = std::make_unique<QTemporaryDir>();
}

void TestListScheme::cleanup()
{
    scheme.reset();
    list.reset();
    counts.reset();
    dir.reset();
}

// A pool of poolSize records, KEY k stored at a shuffled file position, order = KEY.
void TestListScheme::makePool(int first, int count)
{
    list = std::make_unique<store::Table>();
    list->setFileName(dir->filePath("pool.dbf"));
    list->create(
        {{"NAME", 'C', 10, 0}, {"KEY", 'N', 3, 0}, {"order", 'N', 3, 0}, {"ot", 'C', 1, 0}});
    list->defineIndex({"order", "order"});
    QList<int> keys;
    for (int k = 1; k <= poolSize; ++k)
        keys << k;
    std::shuffle(keys.begin(), keys.end(), *QRandomGenerator::global());
    list->open();
    for (int key : keys) {
        list->append();
        list->setText("NAME", QStringLiteral("N%1").arg(key));
        list->setNumber("KEY", key);
        list->setNumber("order", key);
        list->post();
    }
    list->close();
    list->open();
    list->setIndexName("order");
    counts = std::make_unique<store::Table>();
    counts->setFileName(dir->filePath("order.dbf"));
    counts->create({{"sir", 'N', 4, 0}});
    counts->open();
    counts->append();
    counts->setNumber("sir", count);
    counts->post();
    counts->close(); // reopened as the data module has it: open, on its one record
    counts->open();

    lists::ListTraits traits;
    traits.table = list.get();
    traits.counts = counts.get();
    traits.countField = "sir";
    traits.firstPosition = first;
    traits.limit = 25;
    traits.dropsFilter = true;
    traits.nameNewEntry = [](store::Table &t, lists::AddPlace place) {
        t.setText("NAME", place == lists::AddPlace::Above ? "above" : "end");
    };
    scheme = std::make_unique<lists::ListScheme>(traits);
    scheme->activate();
}

void TestListScheme::check(const PoolModel &model, int currentKey)
{
    // The whole pool by order, straight from the file.
    store::Table fresh;
    fresh.setFileName(list->fileName());
    fresh.defineIndex({"order", "order"});
    fresh.open();
    fresh.setIndexName("order");
    QList<int> byOrder;
    int expectedOrder = 1;
    for (fresh.first(); !fresh.eof(); fresh.next()) {
        QCOMPARE(fresh.integer("order"), expectedOrder++);
        byOrder << fresh.integer("KEY");
    }
    QCOMPARE(byOrder, model.fixed + model.list + model.free);
    QCOMPARE(counts->integer("sir"), model.fixed.size() + model.list.size());
    QCOMPARE(list->viewCount(), model.list.size());
    QVERIFY(list->dataSourceEnabled());
    if (currentKey > 0)
        QCOMPARE(list->integer("KEY"), currentKey);
}

void TestListScheme::randomOperationsKeepThePool_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 6; ++seed) {
        QTest::newRow(qPrintable(QStringLiteral("from 1, seed %1").arg(seed))) << 1 << seed;
        QTest::newRow(qPrintable(QStringLiteral("from 2, seed %1").arg(seed))) << 2 << seed;
    }
}

void TestListScheme::randomOperationsKeepThePool()
{
    QFETCH(int, first);
    QFETCH(int, seed);
    const int initial = 10;
    makePool(first, initial);
    PoolModel model;
    for (int k = 1; k < first; ++k)
        model.fixed << k;
    for (int k = first; k <= initial; ++k)
        model.list << k;
    for (int k = initial + 1; k <= poolSize; ++k)
        model.free << k;
    check(model, model.list.first());

    QRandomGenerator random(seed);
    for (int step = 0; step < 60; ++step) {
        const int size = int(model.list.size());
        const int operation = random.bounded(4);
        const int at = size > 0 ? random.bounded(size) : 0;
        if (size > 0)
            QVERIFY(list->findKey(first + at));
        int current = 0;
        if (operation == 0 && size > 0 && scheme->canAdd()) {
            QVERIFY(scheme->addAbove());
            model.list.insert(at, model.free.takeFirst());
            current = model.list.at(at);
            QCOMPARE(list->text("NAME").trimmed(), QStringLiteral("above"));
        } else if (operation == 1 && scheme->canAdd()) {
            QVERIFY(scheme->addAtEnd());
            model.list.append(model.free.takeFirst());
            current = model.list.last();
        } else if (operation == 2 && size > 0) {
            scheme->deleteCurrent();
            model.free.prepend(model.list.takeAt(at));
            if (!model.list.isEmpty())
                current = model.list.at(std::max(0, at - 1));
        } else if (operation == 3 && size > 0) {
            const int to = random.bounded(size);
            scheme->beginMove();
            QVERIFY(scheme->moving());
            QVERIFY(list->findKey(first + to));
            scheme->finishMove();
            QVERIFY(!scheme->moving());
            model.list.insert(to, model.list.takeAt(at));
            current = model.list.at(to);
        } else {
            continue;
        }
        check(model, current);
        QVERIFY2(model.list.size() <= 25, "the limit");
    }
}

void TestListScheme::filterIsDroppedBeforeChanges()
{
    makePool(1, 10);
    for (int order : {3, 6}) {
        QVERIFY(list->findKey(order));
        list->setText("ot", "+");
        list->post();
    }
    list->setFilter("ot='+'");
    list->setFiltered(true);
    QCOMPARE(list->viewCount(), 2);
    list->last(); // order 6
    scheme->beginMove();
    QVERIFY(list->filter().isEmpty());
    QCOMPARE(list->viewCount(), 10);
    QCOMPARE(list->integer("order"), 6);
    QVERIFY(list->findKey(1));
    scheme->finishMove();
    QCOMPARE(list->integer("KEY"), 6);
    QCOMPARE(list->integer("order"), 1);
}

// A pool shorter than the limit: adding stops at its last slot.
void TestListScheme::shortPoolOffersNoAddBeyondItsEnd()
{
    makePool(1, 24);
    QVERIFY(scheme->canAdd());
    QVERIFY(scheme->addAtEnd());
    QVERIFY(!scheme->canAdd()); // 25 = the limit
    QVERIFY(!scheme->addAtEnd());
    QVERIFY(!scheme->addAbove());
    QCOMPARE(counts->integer("sir"), 25);

    cleanup();
    init();
    makePool(1, 30); // every slot in use, below no limit of its own
    scheme->activate();
    QVERIFY(!scheme->canAdd());
}

QTEST_MAIN(TestListScheme)
#include "tst_listscheme.moc"
