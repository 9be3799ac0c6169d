// The in-use counts of order.dbf against their pools: a count the lists cannot hold, a
// blank or an unreadable one is refused with a message naming order.dbf and the field.
#include "tablefixture.h"

#include "store/listcounts.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// Pools of 5 characteristics, 4 feed types and 3 raw materials.
void makePools(const QString &dir)
{
    const QList<store::FieldDef> fields{{"naim", 'C', 10, 0}, {"order", 'N', 5, 0}};
    const struct {
        const char *file;
        int size;
    } pools[] = {{"pit.dbf", 5}, {"kk.dbf", 4}, {"sir.dbf", 3}};
    for (const auto &pool : pools) {
        QList<QVariantList> rows;
        for (int i = 1; i <= pool.size; ++i)
            rows.append({QStringLiteral("n%1").arg(i), i});
        fixture::makeTable(dir + "/" + pool.file, fields, rows);
    }
}

// order.dbf with the three counts; a count given as text is written over the number's
// bytes as it stands (an unreadable field).
void makeOrder(const QString &dir, const QVariantList &counts)
{
    const QString path = dir + "/order.dbf";
    QVariantList numbers;
    for (const QVariant &count : counts)
        numbers.append(count.typeId() == QMetaType::QString ? QVariant() : count);
    fixture::makeTable(
        path, {{"pit", 'N', 5, 0}, {"KK", 'N', 5, 0}, {"sir", 'N', 5, 0}, {"arhnom", 'N', 5, 0}},
        {numbers + QVariantList{7}});
    QByteArray bytes = fixture::fileBytes(path);
    const int record = 32 + 4 * 32 + 1;
    for (int i = 0; i < 3; ++i) {
        if (counts.at(i).typeId() == QMetaType::QString)
            bytes.replace(record + 1 + 5 * i, 5,
                          counts.at(i).toString().toLatin1().leftJustified(5));
    }
    fixture::writeBytes(path, bytes);
}

} // namespace

class TestListCounts final : public QObject
{
    Q_OBJECT

private slots:
    void counts_data();
    void counts();
    void missingPool();
};

void TestListCounts::counts_data()
{
    QTest::addColumn<QVariantList>("values"); // pit, KK, sir
    QTest::addColumn<QString>("field");       // the field named; empty = accepted

    QTest::newRow("full pools") << QVariantList{5, 4, 3} << "";
    QTest::newRow("only the price record, empty lists") << QVariantList{1, 0, 0} << "";
    QTest::newRow("pit 0 leaves out the price") << QVariantList{0, 2, 2} << "pit";
    QTest::newRow("pit negative") << QVariantList{-3, 2, 2} << "pit";
    QTest::newRow("pit past its pool") << QVariantList{6, 2, 2} << "pit";
    QTest::newRow("pit blank") << QVariantList{QVariant(), 2, 2} << "pit";
    QTest::newRow("pit garbage") << QVariantList{"1a", 2, 2} << "pit";
    QTest::newRow("KK negative") << QVariantList{2, -1, 2} << "KK";
    QTest::newRow("KK past its pool") << QVariantList{2, 5, 2} << "KK";
    QTest::newRow("KK garbage") << QVariantList{2, "x", 2} << "KK";
    QTest::newRow("sir past its pool") << QVariantList{2, 2, 4} << "sir";
    QTest::newRow("sir a fraction") << QVariantList{2, 2, "1.5"} << "sir";
    QTest::newRow("sir huge") << QVariantList{2, 2, "9e99"} << "sir";
}

// A refused count names order.dbf and its field; an accepted one says nothing.
void TestListCounts::counts()
{
    QFETCH(QVariantList, values);
    QFETCH(QString, field);
    QTemporaryDir dir;
    makePools(dir.path());
    makeOrder(dir.path(), values);
    const QString problem = store::listCountsProblem(dir.path());
    if (field.isEmpty()) {
        QCOMPARE(problem, QString());
        return;
    }
    QVERIFY2(problem.contains("order.dbf"), qPrintable(problem));
    QVERIFY2(problem.contains(QStringLiteral("(поле %1)").arg(field)), qPrintable(problem));
    static const QRegularExpression list(
        QStringLiteral("в списке (характеристик питательности|типов комбикормов|сырья) \\("));
    QVERIFY2(problem.contains(list), qPrintable(problem)); // the list named in readable words
}

// A pool that cannot be read is the reason given.
void TestListCounts::missingPool()
{
    QTemporaryDir dir;
    makePools(dir.path());
    makeOrder(dir.path(), {2, 2, 2});
    QVERIFY(QFile::remove(dir.path() + "/kk.dbf"));
    QVERIFY(store::listCountsProblem(dir.path()).contains("kk.dbf"));
}

QTEST_APPLESS_MAIN(TestListCounts)
#include "tst_listcounts.moc"
