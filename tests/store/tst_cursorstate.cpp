// Saving and putting back a shared cursor's index, range, filter and record around an
// operation, also when a table error ends the operation half-way.
#include "store/cursorstate.h"
#include "tablefixture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

using store::CursorState;
using store::CursorStateGuard;
using store::Table;

namespace
{

// Physical order: arnom 3, -1, 1, 5, 2, 4 (record numbers 0 .. 5).
const QList<QVariantList> kRows{{3, "в"}, {-1, "снято"}, {1, "а"}, {5, "д"}, {2, "б"}, {4, "г"}};

// How the window left the cursor before the operation.
struct Setup {
    QString index;
    std::optional<std::pair<int, int>> range;
    QString filter;
    bool filtered = false;
    int arnom = 0; // the record to stand on; 0 = past the end
};

void apply(Table &t, const Setup &s)
{
    t.setIndexName(s.index);
    if (s.range)
        t.setRange(s.range->first, s.range->second);
    t.setFilter(s.filter);
    t.setFiltered(s.filtered);
    if (s.arnom == 0) {
        t.last();
        t.next();
        return;
    }
    for (t.first(); !t.eof() && t.integer("arnom") != s.arnom; t.next()) {
    }
}

// What a failing operation does: everything changed, then an edit that cannot be stored.
void failingOperation(Table &t)
{
    t.setIndexName(QString());
    t.setFilter("naim='а'");
    t.setFiltered(true);
    t.first();
    t.edit();
    t.setValue("arnom", 7);
    t.setValue("naim", QString(30, QChar(u'ж'))); // too wide: throws
}

} // namespace

class TestCursorState final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { table_.reset(); }
    void putBackAfterError_data();
    void putBackAfterError();
    void dismissedKeepsNewState();
    void recordLeftTheViewGoesToFirst();
    void closedCursorGetsIndexAndFilter();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Table> table_;
};

void TestCursorState::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    const QString path = dir_->filePath("arkk.dbf");
    fixture::makeTable(path, {{"arnom", 'N', 5, 0}, {"naim", 'C', 20, 0}}, kRows);
    table_ = std::make_unique<Table>();
    table_->setFileName(path);
    table_->defineIndex({"arnom", "arnom"});
    table_->open();
}

void TestCursorState::putBackAfterError_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::newRow("physical order, no filter") << Setup{{}, {}, {}, false, 5};
    QTest::newRow("index and range") << Setup{"arnom", std::pair{2, 4}, {}, false, 3};
    QTest::newRow("index, range and filter") << Setup{"arnom", std::pair{1, 5}, "arnom>2", true, 4};
    QTest::newRow("filter text kept while switched off") << Setup{{}, {}, "arnom>0", false, -1};
    QTest::newRow("past the end") << Setup{"arnom", {}, "arnom>0", true, 0};
}

// Index, range, filter, switch and record are back; the failed edit is not stored.
void TestCursorState::putBackAfterError()
{
    QFETCH(Setup, setup);
    Table &t = *table_;
    apply(t, setup);
    const CursorState before = CursorState::of(t);
    const QStringList viewBefore = [&] {
        QStringList names;
        for (int i = 0; i < t.viewCount(); ++i)
            names << t.valueAt(i, 1).toString();
        return names;
    }();
    const int positionBefore = t.viewPosition();
    {
        CursorStateGuard keep(t);
        QVERIFY_THROWS_EXCEPTION(store::TableError, failingOperation(t));
    }
    QCOMPARE(t.state(), Table::State::Browse);
    QCOMPARE(t.indexName(), setup.index);
    QCOMPARE(t.hasRange(), setup.range.has_value());
    QCOMPARE(t.filter(), setup.filter);
    QCOMPARE(t.filtered(), setup.filtered);
    QCOMPARE(t.recordNumber(), before.record);
    QCOMPARE(t.viewPosition(), positionBefore);
    QCOMPARE(t.eof(), setup.arnom == 0);
    QStringList viewAfter;
    for (int i = 0; i < t.viewCount(); ++i)
        viewAfter << t.valueAt(i, 1).toString();
    QCOMPARE(viewAfter, viewBefore);
    if (setup.arnom != 0)
        QCOMPARE(t.integer("arnom"), setup.arnom);
}

void TestCursorState::dismissedKeepsNewState()
{
    Table &t = *table_;
    apply(t, {"arnom", std::pair{1, 5}, "arnom>0", true, 4});
    {
        CursorStateGuard keep(t);
        t.setFilter("arnom>3");
        t.last();
        keep.dismiss();
    }
    QCOMPARE(t.filter(), QStringLiteral("arnom>3"));
    QCOMPARE(t.integer("arnom"), 5);
}

// The record the cursor stood on was released by the operation: the first record of
// the view is current, as after any new filter.
void TestCursorState::recordLeftTheViewGoesToFirst()
{
    Table &t = *table_;
    apply(t, {"arnom", {}, "arnom>0", true, 3});
    {
        CursorStateGuard keep(t);
        t.setValue("arnom", -1);
        t.post();
    }
    QCOMPARE(t.viewCount(), 4);
    QCOMPARE(t.integer("arnom"), 1);
    QVERIFY(!t.eof());
}

void TestCursorState::closedCursorGetsIndexAndFilter()
{
    Table &t = *table_;
    apply(t, {"arnom", {}, "arnom>0", true, 2});
    {
        CursorStateGuard keep(t);
        t.setFilter("arnom>4");
        t.close();
        t.setIndexName(QString());
    }
    QVERIFY(!t.isOpen());
    QCOMPARE(t.indexName(), QStringLiteral("arnom"));
    QCOMPARE(t.filter(), QStringLiteral("arnom>0"));
    t.open();
    QCOMPARE(t.viewCount(), 5);
}

QTEST_APPLESS_MAIN(TestCursorState)
#include "tst_cursorstate.moc"
