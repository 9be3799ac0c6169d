// Damaged, truncated and missing tables: a clear message naming the file, no crash,
// and the file left exactly as it was.

#include "tablefixture.h"

#include "store/table.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using store::Table;
using store::TableError;

namespace
{

using Damage = std::function<void(QByteArray &)>;

void putWord(QByteArray &bytes, int at, int value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestBadFiles final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
    const QString m_name = QStringLiteral("itog3/pit.dbf");

    static QString openError(Table &table)
    {
        try {
            table.open();
        } catch (const TableError &e) {
            return e.message();
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }

    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void init()
    {
        QDir().mkpath("itog3");
        fixture::makeTable(m_name, {{"PIT", 'C', 20, 0}, {"KEY", 'N', 3, 0}, {"order", 'N', 3, 0}},
                           {{"Цена", 1, 1}, {"Протеин", 2, 2}, {"Жир", 3, 3}});
    }

    void missingFile()
    {
        QFile::remove(m_name);
        Table t;
        t.setFileName(m_name);
        QCOMPARE(openError(t), QString("Таблица itog3/pit.dbf не найдена"));
        QVERIFY(!t.isOpen());
        QVERIFY(!QFile::exists(m_name));
        Table unnamed(QStringLiteral("Table4"));
        QCOMPARE(openError(unnamed), QString("Таблица Table4: не задано имя файла"));
    }

    void damaged_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<QString>("detail");
        QTest::newRow("empty") << Damage([](QByteArray &b) { b.clear(); }) << "короче заголовка";
        QTest::newRow("cut header")
            << Damage([](QByteArray &b) { b.truncate(20); }) << "короче заголовка";
        QTest::newRow("cut in the fields")
            << Damage([](QByteArray &b) { b.truncate(70); }) << "длина заголовка";
        QTest::newRow("cut in the records")
            << Damage([](QByteArray &b) { b.chop(30); }) << "в заголовке 3 записей";
        QTest::newRow("count too large")
            << Damage([](QByteArray &b) { putWord(b, 4, 0x7FFFFFFF, 4); }) << "записей";
        QTest::newRow("count negative")
            << Damage([](QByteArray &b) { putWord(b, 4, -1, 4); }) << "записей";
        QTest::newRow("header length past the end")
            << Damage([](QByteArray &b) { putWord(b, 8, 0xFFFF, 2); }) << "длина заголовка";
        QTest::newRow("header length too small")
            << Damage([](QByteArray &b) { putWord(b, 8, 10, 2); }) << "длина заголовка";
        QTest::newRow("record length 0")
            << Damage([](QByteArray &b) { putWord(b, 10, 0, 2); }) << "длина записи";
        QTest::newRow("record length wrong")
            << Damage([](QByteArray &b) { putWord(b, 10, 7, 2); }) << "длина записи";
        QTest::newRow("unknown version")
            << Damage([](QByteArray &b) { b[0] = char(0x47); }) << "неизвестный формат";
        QTest::newRow("garbage") << Damage([](QByteArray &b) { b.fill('\x9c'); })
                                 << "неизвестный формат";
        QTest::newRow("garbled field name")
            << Damage([](QByteArray &b) { b[32 + 32] = '\x01'; }) << "имя поля № 2";
        QTest::newRow("field width 0")
            << Damage([](QByteArray &b) { b[32 + 16] = 0; }) << "нулевой ширины";
        QTest::newRow("no fields")
            << Damage([](QByteArray &b) { b[32] = '\x0D'; }) << "нет описаний полей";
    }

    // Every kind of damage gives "Таблица <file> повреждена: ..." and changes nothing.
    void damaged()
    {
        QFETCH(Damage, damage);
        QFETCH(QString, detail);
        QByteArray bytes = fixture::fileBytes(m_name);
        damage(bytes);
        fixture::writeBytes(m_name, bytes);
        Table t;
        t.setFileName(m_name);
        t.defineIndex({"order", "order"});
        t.setIndexName("order");
        const QString error = openError(t);
        QVERIFY2(error.startsWith("Таблица itog3/pit.dbf повреждена: "), qPrintable(error));
        QVERIFY2(error.contains(detail), qPrintable(error));
        QVERIFY(!t.isOpen());
        QCOMPARE(t.state(), Table::State::Inactive);
        QVERIFY_THROWS_EXCEPTION(TableError, t.first());
        QVERIFY_THROWS_EXCEPTION(TableError, t.value("PIT"));
        t.close();
        QCOMPARE(fixture::fileBytes(m_name), bytes);
    }

    // Bytes after the last record (an end mark, garbage) are ignored, not read as records.
    void trailingBytesIgnored()
    {
        fixture::writeBytes(m_name, fixture::fileBytes(m_name) + QByteArray(100, 'z'));
        Table t;
        t.setFileName(m_name);
        t.open();
        QCOMPARE(t.viewCount(), 3);
    }

    // A number field holding stars or letters reads as blank instead of failing.
    void unreadableNumberIsBlank()
    {
        QByteArray bytes = fixture::fileBytes(m_name);
        const int header = uchar(bytes[8]) | uchar(bytes[9]) << 8;
        bytes.replace(header + 1 + 20, 3, "***");
        fixture::writeBytes(m_name, bytes);
        Table t;
        t.setFileName(m_name);
        t.open();
        QVERIFY(!t.value("KEY").isValid());
        QCOMPARE(t.number("KEY"), 0.0);
    }

    void missingField_data()
    {
        QTest::addColumn<QString>("step");
        QTest::newRow("read") << "read";
        QTest::newRow("write") << "write";
        QTest::newRow("index") << "index";
        QTest::newRow("filter") << "filter";
    }

    // A field the table lacks ends the operation with the file and the field named.
    void missingField()
    {
        QFETCH(QString, step);
        const QByteArray before = fixture::fileBytes(m_name);
        Table t;
        t.setFileName(m_name);
        t.defineIndex({"bad", "kodkk"});
        t.open();
        try {
            if (step == "read")
                t.number("kodkk");
            else if (step == "write")
                t.setNumber("kodkk", 1);
            else if (step == "index")
                t.setIndexName("bad");
            else
                t.setFilter("kodkk=12");
            QFAIL("no error");
        } catch (const TableError &e) {
            QVERIFY2(e.message().contains("itog3/pit.dbf"), qPrintable(e.message()));
            QVERIFY2(e.message().contains("kodkk"), qPrintable(e.message()));
        }
        QVERIFY(t.isOpen());
        QCOMPARE(t.indexName(), QString());
        QCOMPARE(t.viewCount(), 3);
        t.close();
        QCOMPARE(fixture::fileBytes(m_name), before);
    }

    // After a failed open the same cursor opens the repaired file.
    void reopenAfterRepair()
    {
        const QByteArray good = fixture::fileBytes(m_name);
        fixture::writeBytes(m_name, good.left(40));
        Table t;
        t.setFileName(m_name);
        QVERIFY(!openError(t).isEmpty());
        fixture::writeBytes(m_name, good);
        QCOMPARE(openError(t), QString());
        QCOMPARE(t.text("PIT"), QString("Цена"));
    }
};

QTEST_APPLESS_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
