// The shipped demo data directory data/itog3: every table opens through the table
// layer, the pools have their fixed sizes and permanent keys, the counts of order.dbf
// match the lists, the demo programme passes the data checks of a calculation, and the
// text files are complete, in code page 1251 with CRLF line ends.

#include "store/codepage1251.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>

#include <memory>

using store::Table;

namespace
{

QString dataDir()
{
    return QStringLiteral(KP_SOURCE_DIR "/data/itog3");
}

std::unique_ptr<Table> openTable(const QString &name)
{
    auto table = std::make_unique<Table>(name);
    table->setFileName(dataDir() + QLatin1Char('/') + name + QStringLiteral(".dbf"));
    table->open();
    return table;
}

int orderCount(const QString &field)
{
    auto order = openTable(QStringLiteral("order"));
    order->first();
    return order->integer(field);
}

QByteArray fileBytes(const QString &name)
{
    QFile file(dataDir() + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDemoData final : public QObject
{
    Q_OBJECT

private slots:
    void pools_data();
    void pools();
    void priceIsFirstCharacteristic();
    void archiveTablesEmpty_data();
    void archiveTablesEmpty();
    void programmePassesLoadChecks();
    void textFiles_data();
    void textFiles();
};

void TestDemoData::pools_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("keyField");
    QTest::addColumn<QString>("nameField");
    QTest::addColumn<QString>("countField");
    QTest::addColumn<int>("poolSize");
    QTest::newRow("pit") << "pit"
                         << "KEY"
                         << "PIT"
                         << "pit" << 65;
    QTest::newRow("kk") << "kk"
                        << "kodkk"
                        << "TIP"
                        << "KK" << 400;
    QTest::newRow("sir") << "sir"
                         << "kods"
                         << "NAIM"
                         << "sir" << 400;
}

// A pool: fixed size, order 1..size without gaps, unique keys, the entries in use
// (order up to the count of order.dbf) named, the free slots blank.
void TestDemoData::pools()
{
    QFETCH(QString, table);
    QFETCH(QString, keyField);
    QFETCH(QString, nameField);
    QFETCH(QString, countField);
    QFETCH(int, poolSize);
    const int count = orderCount(countField);
    QVERIFY(count > 1 && count <= poolSize);

    auto t = openTable(table);
    t->defineIndex({QStringLiteral("order"), QStringLiteral("order")});
    t->setIndexName(QStringLiteral("order"));
    QCOMPARE(t->viewCount(), poolSize);
    QSet<int> keys;
    int expectedOrder = 1;
    for (t->first(); !t->eof(); t->next(), ++expectedOrder) {
        QCOMPARE(t->integer(QStringLiteral("order")), expectedOrder);
        const int key = t->integer(keyField);
        QVERIFY2(key >= 1 && key <= poolSize && !keys.contains(key), qPrintable(t->text(keyField)));
        keys.insert(key);
        QCOMPARE(t->text(nameField).isEmpty(), expectedOrder > count);
    }
    QCOMPARE(expectedOrder, poolSize + 1);
}

void TestDemoData::priceIsFirstCharacteristic()
{
    auto pit = openTable(QStringLiteral("pit"));
    pit->defineIndex({QStringLiteral("order"), QStringLiteral("order")});
    pit->setIndexName(QStringLiteral("order"));
    pit->first();
    QCOMPARE(pit->integer(QStringLiteral("KEY")), 1);
    QCOMPARE(pit->text(QStringLiteral("PIT")), QStringLiteral("Цена"));
}

void TestDemoData::archiveTablesEmpty_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("arkk") << "arkk"
                          << QStringList{"arnom",   "data", "gost",  "naim", "nasn", "prim",
                                         "ves",     "nds",  "izder", "gran", "gk",   "procprib",
                                         "procpot", "kn1",  "kn3",   "kn5",  "vibor"};
    QTest::newRow("arsir") << "arsir" << QStringList{"arnom",  "prem",  "naim",   "ves",
                                                     "procin", "price", "pricein"};
    QTest::newRow("arpit") << "arpit"
                           << QStringList{"arnom", "pit", "ediz", "mi", "ma", "fa", "ra"};
    QTest::newRow("arprem") << "arprem" << QStringList{"arnom", "pit", "ediz", "ra"};
}

void TestDemoData::archiveTablesEmpty()
{
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    auto t = openTable(table);
    QVERIFY(t->isEmpty());
    for (const QString &field : fields)
        QVERIFY2(t->hasField(field), qPrintable(field));
    QCOMPARE(orderCount(QStringLiteral("arhnom")), 0);
}

// What the load of a calculation refuses (missing output, limits summing past 100 or
// short of it, minimum above maximum, more than 40/50 selected) must not happen in the
// shipped programme.
void TestDemoData::programmePassesLoadChecks()
{
    auto kk = openTable(QStringLiteral("kk"));
    auto sir = openTable(QStringLiteral("sir"));
    auto norm = openTable(QStringLiteral("norm"));
    kk->setFilter(QStringLiteral("ot='+'"));
    kk->setFiltered(true);
    sir->setFilter(QStringLiteral("ot='+'"));
    sir->setFiltered(true);
    QVERIFY(kk->viewCount() >= 5 && kk->viewCount() <= 40);
    QVERIFY(sir->viewCount() >= 20 && sir->viewCount() <= 50);
    QSet<int> selectedRaws;
    for (sir->first(); !sir->eof(); sir->next()) {
        selectedRaws.insert(sir->integer(QStringLiteral("kods")));
        QVERIFY(sir->number(QStringLiteral("VES")) > 0); // finite stock
    }
    norm->defineIndex({QStringLiteral("si"), QStringLiteral("kods")});
    norm->setIndexName(QStringLiteral("si"));
    for (kk->first(); !kk->eof(); kk->next()) {
        const QString tip = kk->text(QStringLiteral("TIP"));
        QVERIFY2(kk->number(QStringLiteral("VES")) >= 0.001, qPrintable(tip));
        norm->setFilter(QStringLiteral("kodkk=") + kk->text(QStringLiteral("kodkk")));
        norm->setFiltered(true);
        double sumMin = 0;
        double sumMax = 0;
        for (norm->first(); !norm->eof(); norm->next()) {
            if (!selectedRaws.contains(norm->integer(QStringLiteral("kods"))))
                continue;
            const double min = norm->number(QStringLiteral("min"));
            const double max = norm->number(QStringLiteral("max"));
            QVERIFY2(max <= 100 && min <= max, qPrintable(tip));
            sumMin += min;
            sumMax += max;
        }
        QVERIFY2(sumMin <= 100 && sumMax >= 100, qPrintable(tip));
    }
}

void TestDemoData::textFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("lines"); // 0: any number
    QTest::newRow("cons.txt") << "cons.txt" << 30;
    for (const char *name : {"pit.txt", "sir.txt", "kk.txt", "ras.txt", "smes.txt", "arh.txt",
                             "param.txt", "rezerv.txt"})
        QTest::newRow(name) << QString::fromLatin1(name) << 0;
}

// Every line ends in CR LF, no bare LF or CR, the text reads as Russian in 1251.
void TestDemoData::textFiles()
{
    QFETCH(QString, file);
    QFETCH(int, lines);
    const QByteArray bytes = fileBytes(file);
    QVERIFY2(!bytes.isEmpty(), qPrintable(file));
    QVERIFY(bytes.endsWith("\r\n"));
    const int lineEnds = int(bytes.count("\r\n"));
    QCOMPARE(int(bytes.count('\n')), lineEnds);
    QCOMPARE(int(bytes.count('\r')), lineEnds);
    if (lines > 0)
        QCOMPARE(lineEnds, lines);
    const QString text = store::decode1251(bytes);
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("[а-яА-Я]{4}"))));
    QVERIFY(!text.contains(QChar(0xFFFD)));
    if (file == QLatin1String("cons.txt")) {
        const QStringList values = text.split(QStringLiteral("\r\n"));
        QVERIFY(!values.at(0).trimmed().isEmpty());                 // enterprise name
        QCOMPARE(values.at(13).trimmed(), QStringLiteral("0.50"));  // loss norm
        QCOMPARE(values.at(17).trimmed(), QStringLiteral("10.00")); // tax rate
    }
}

QTEST_APPLESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
