// Damaged, truncated and missing tables: a clear message naming the file, no crash,
// and the file left exactly as it was.

#include "tablefixture.h"

#include "store/table.h"
#include "store/unreadablenumber.h"

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
    QTemporaryDir dir_;
    QString previousDir_;
    const QString name_ = QStringLiteral("itog3/pit.dbf");

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
        QVERIFY(dir_.isValid());
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
    }

    void cleanupTestCase() { QDir::setCurrent(previousDir_); }

    void init()
    {
        QDir().mkpath("itog3");
        fixture::makeTable(name_, {{"PIT", 'C', 20, 0}, {"KEY", 'N', 3, 0}, {"order", 'N', 3, 0}},
                           {{"Цена", 1, 1}, {"Протеин", 2, 2}, {"Жир", 3, 3}});
    }

    void missingFile()
    {
        QFile::remove(name_);
        Table t;
        t.setFileName(name_);
        QCOMPARE(openError(t), QString("Таблица itog3/pit.dbf не найдена"));
        QVERIFY(!t.isOpen());
        QVERIFY(!QFile::exists(name_));
        Table unnamed(QStringLiteral("inclusionNorms"));
        QCOMPARE(openError(unnamed), QString("Таблица inclusionNorms: не задано имя файла"));
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
        // The fixture: three fields, so the header is 32 + 3 × 32 + 1 = 129 bytes, and three
        // records of 27 bytes.
        QTest::newRow("header length one more")
            << Damage([](QByteArray &b) { putWord(b, 8, 130, 2); })
            << "длина заголовка 130 байт, а описаниям полей нужно 129";
        QTest::newRow("header length a descriptor more")
            << Damage([](QByteArray &b) { putWord(b, 8, 161, 2); })
            << "длина заголовка 161 байт, а описаниям полей нужно 129";
        QTest::newRow("header length one less")
            << Damage([](QByteArray &b) { putWord(b, 8, 128, 2); })
            << "нет признака конца описаний полей";
        QTest::newRow("terminator overwritten")
            << Damage([](QByteArray &b) { b[128] = 'A'; }) << "нет признака конца описаний полей";
        QTest::newRow("count below the records")
            << Damage([](QByteArray &b) { putWord(b, 4, 2, 4); })
            << "в заголовке 2 записей, а в файле 3";
        QTest::newRow("count zero") << Damage([](QByteArray &b) { putWord(b, 4, 0, 4); })
                                    << "в заголовке 0 записей, а в файле 3";
        QTest::newRow("garbage after the records")
            << Damage([](QByteArray &b) { b += QByteArray(100, 'z'); })
            << "в заголовке 3 записей, а в файле 6 и еще 20 байт";
        QTest::newRow("end byte not 0x1A")
            << Damage([](QByteArray &b) { b.back() = 'z'; }) << "в заголовке 3 записей";
        QTest::newRow("deletion mark") << Damage([](QByteArray &b) { b[129 + 27] = 'X'; })
                                       << "запись 2: неверный признак удаления (байт 58)";
        QTest::newRow("deletion mark NUL") << Damage([](QByteArray &b) { b[129] = '\0'; })
                                           << "запись 1: неверный признак удаления (байт 00)";
    }

    // Every kind of damage gives "Таблица <file> повреждена: ..." and changes nothing.
    void damaged()
    {
        QFETCH(Damage, damage);
        QFETCH(QString, detail);
        QByteArray bytes = fixture::fileBytes(name_);
        damage(bytes);
        fixture::writeBytes(name_, bytes);
        Table t;
        t.setFileName(name_);
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
        QCOMPARE(fixture::fileBytes(name_), bytes);
    }

    void acceptedLayouts_data()
    {
        QTest::addColumn<Damage>("change");
        QTest::newRow("end byte present") << Damage([](QByteArray &) {});
        QTest::newRow("end byte absent") << Damage([](QByteArray &b) { b.chop(1); });
        QTest::newRow("Visual FoxPro backlink area") << Damage([](QByteArray &b) {
            b[0] = char(0x30);
            b.insert(129, QByteArray(263, '\0'));
            putWord(b, 8, 129 + 263, 2);
        });
        QTest::newRow("zero padding after the terminator") << Damage([](QByteArray &b) {
            b.insert(129, QByteArray(2, '\0'));
            putWord(b, 8, 131, 2);
        });
        QTest::newRow("deleted record") << Damage([](QByteArray &b) { b[129 + 27] = '*'; });
    }

    // What dBASE and FoxPro writers put around the records reads as the same table.
    void acceptedLayouts()
    {
        QFETCH(Damage, change);
        QByteArray bytes = fixture::fileBytes(name_);
        const bool deleted = QByteArray(QTest::currentDataTag()) == "deleted record";
        change(bytes);
        fixture::writeBytes(name_, bytes);
        Table t;
        t.setFileName(name_);
        t.open();
        QCOMPARE(t.viewCount(), deleted ? 2 : 3);
        QCOMPARE(t.text("PIT"), QString("Цена"));
        t.last();
        QCOMPARE(t.text("PIT"), QString("Жир"));
        QCOMPARE(t.value("KEY"), QVariant(3));
    }

    void unreadableNumber_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("text");
        QTest::newRow("thousands blank") << QByteArray("    15 000") << "15 000";
        QTest::newRow("decimal comma") << QByteArray("    15,000") << "15,000";
        QTest::newRow("overflow mark") << QByteArray("**********") << "**********";
        QTest::newRow("letter") << QByteArray("        1a") << "1a";
        QTest::newRow("two signs") << QByteArray("       +-5") << "+-5";
        QTest::newRow("sign alone") << QByteArray("         -") << "-";
        QTest::newRow("beyond a double") << QByteArray("     1e999") << "1e999";
        QTest::newRow("NUL inside") << QByteArray("    12\0"
                                                  "345",
                                                  10)
                                    << QString("12") + QChar(0) + "345";
        QTest::newRow("Cyrillic") << QByteArray("      \xEF\xFF\xF2\xFC") << "пять";
    }

    // A number field that holds no number is neither 0 nor blank: value() gives its text as
    // it stands, number() refuses naming table, record and field, and a copy keeps the bytes.
    void unreadableNumber()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, text);
        const QString path = QStringLiteral("itog3/sir.dbf");
        fixture::makeTable(path, {{"NAIM", 'C', 10, 0}, {"VES", 'N', 10, 3}},
                           {{"Мел", 1.5}, {"Соль", QVariant()}});
        QByteArray bytes = fixture::fileBytes(path);
        const int header = uchar(bytes[8]) | uchar(bytes[9]) << 8;
        bytes.replace(header + 21 + 1 + 10, 10, stored); // VES of the second record
        fixture::writeBytes(path, bytes);
        Table t;
        t.setFileName(path);
        t.open();
        t.last();
        const QVariant value = t.value("VES");
        QVERIFY(store::isUnreadableNumber(value));
        QCOMPARE(store::unreadableText(value), text);
        QVERIFY(!t.isBlank("VES"));
        try {
            t.number("VES");
            QFAIL("read as a number");
        } catch (const TableError &e) {
            QString shown = text; // control characters are not put into a message
            shown.replace(QChar(0), QChar(QChar::ReplacementCharacter));
            QCOMPARE(e.message(), QString("Таблица itog3/sir.dbf: запись 2, поле VES: число не "
                                          "читается: «%1»")
                                      .arg(shown));
        }
        t.first();
        QCOMPARE(t.number("VES"), 1.5);

        Table copy;
        copy.setFileName("itog3/copy.dbf");
        copy.createLike(t);
        copy.open();
        t.last();
        copy.append();
        copy.setValue("VES", t.value("VES"));
        copy.post();
        copy.close();
        const QByteArray copied = fixture::fileBytes("itog3/copy.dbf");
        const int copyHeader = uchar(copied[8]) | uchar(copied[9]) << 8;
        QCOMPARE(copied.mid(copyHeader + 11, 10).trimmed(), stored.trimmed());
    }

    // A blank number field stays "no value", and reads 0 as a number.
    void blankNumberStaysBlank()
    {
        fixture::makeTable("itog3/sir.dbf", {{"VES", 'N', 10, 3}}, {{QVariant()}});
        Table t;
        t.setFileName("itog3/sir.dbf");
        t.open();
        QVERIFY(!t.value("VES").isValid());
        QVERIFY(t.isBlank("VES"));
        QCOMPARE(t.number("VES"), 0.0);
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
        const QByteArray before = fixture::fileBytes(name_);
        Table t;
        t.setFileName(name_);
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
        QCOMPARE(fixture::fileBytes(name_), before);
    }

    // After a failed open the same cursor opens the repaired file.
    void reopenAfterRepair()
    {
        const QByteArray good = fixture::fileBytes(name_);
        fixture::writeBytes(name_, good.left(40));
        Table t;
        t.setFileName(name_);
        QVERIFY(!openError(t).isEmpty());
        fixture::writeBytes(name_, good);
        QCOMPARE(openError(t), QString());
        QCOMPARE(t.text("PIT"), QString("Цена"));
    }
};

QTEST_APPLESS_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
