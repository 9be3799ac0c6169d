// Posts under store::DeferredWrites: the cursor shows them at once, the file gets them in
// one pass when the operation writes, ends, flushes or closes, and a write the file
// refuses is reported, never dropped.

#include "tablefixture.h"

#include "store/deferredwrites.h"

#include <QTemporaryDir>
#include <QTest>

using store::Table;

class TestDeferredWrites final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pendingPostsReachTheFile_data();
    void pendingPostsReachTheFile();
    void refusedWriteStaysPendingAndIsReported();

private:
    QString path() const { return dir_->filePath("t.dbf"); }
    QStringList namesOnDisk() const;
    void rename(Table &table, int position, const QString &name);

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestDeferredWrites::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    fixture::makeTable(path(), {{"naim", 'C', 10, 0}, {"n", 'N', 3, 0}},
                       {{"a", 1}, {"b", 2}, {"c", 3}});
}

QStringList TestDeferredWrites::namesOnDisk() const
{
    Table table;
    table.setFileName(path());
    table.open();
    QStringList names;
    for (table.first(); !table.eof(); table.next())
        names << table.text("naim");
    return names;
}

void TestDeferredWrites::rename(Table &table, int position, const QString &name)
{
    table.moveTo(position);
    table.setText("naim", name);
    table.post();
}

void TestDeferredWrites::pendingPostsReachTheFile_data()
{
    QTest::addColumn<QString>("ending");
    for (const char *ending : {"write", "scope end", "flush", "close"})
        QTest::newRow(ending) << QString::fromLatin1(ending);
}

void TestDeferredWrites::pendingPostsReachTheFile()
{
    QFETCH(QString, ending);
    Table table;
    table.setFileName(path());
    table.open();
    {
        store::DeferredWrites deferred(table);
        rename(table, 0, "x");
        rename(table, 2, "z");
        table.first();
        QCOMPARE(table.text("naim"), QStringLiteral("x"));
        QCOMPARE(namesOnDisk(), (QStringList{"a", "b", "c"}));
        if (ending == "write")
            deferred.write();
        else if (ending == "flush")
            table.flush();
        else if (ending == "close")
            table.close();
    }
    QCOMPARE(namesOnDisk(), (QStringList{"x", "b", "z"}));
    QVERIFY(!table.writesDeferred());
}

// Another program appended a record meanwhile: writing over it would lose that record.
void TestDeferredWrites::refusedWriteStaysPendingAndIsReported()
{
    Table table;
    table.setFileName(path());
    table.open();
    {
        store::DeferredWrites deferred(table);
        rename(table, 1, "y");
        Table other;
        other.setFileName(path());
        other.open();
        other.append();
        other.setText("naim", "d");
        other.post();
        QVERIFY_THROWS_EXCEPTION(store::TableError, deferred.write());
    }
    QVERIFY_THROWS_EXCEPTION(store::TableError, table.close());
    QCOMPARE(namesOnDisk(), (QStringList{"a", "b", "c", "d"}));
}

QTEST_APPLESS_MAIN(TestDeferredWrites)
#include "tst_deferredwrites.moc"
