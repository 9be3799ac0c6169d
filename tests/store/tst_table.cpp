// The table cursor: reading, navigation, indexes, ranges, filters, writing, creation.

#include "tablefixture.h"

#include "store/table.h"
#include "store/unreadablenumber.h"

#include <QDate>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using store::FieldDef;
using store::Table;
using store::TableError;

class TestTable final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path_;

    static QList<FieldDef> listFields()
    {
        return {{"NAIM", 'C', 30, 0}, {"order", 'N', 4, 0}, {"VES", 'N', 8, 2},
                {"ot", 'C', 1, 0},    {"vibor", 'C', 1, 0}, {"kods", 'N', 5, 0},
                {"kodkk", 'N', 5, 0}, {"arnom", 'N', 6, 0}, {"FLAG", 'L', 1, 0}};
    }

    // Physical order; "order" gives the list order Соль, Мел, Мука, Шрот, Жмых.
    static QList<QVariantList> listRows()
    {
        return {{" Мука", 3, 2.5, "+", "", 10, 12, 5, true},
                {"Соль", 1, QVariant(), "", "+", 20, 12, -1, false},
                {"Мел", 2, 0.0, "+", "+", 30, 7, 3, QVariant()},
                {"Жмых", 5, 1.25, "", "", 40, 12, 0, true},
                {"Шрот", 4, 7, "+", "", 50, 9, 5, false}};
    }

    void openList(Table &table)
    {
        table.setFileName(path_);
        table.defineIndex({"order", "order"});
        table.open();
    }

    static QStringList names(Table &table)
    {
        QStringList result;
        for (table.first(); !table.eof(); table.next())
            result << table.text("naim");
        return result;
    }

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        path_ = dir_.filePath("list.dbf");
        fixture::makeTable(path_, listFields(), listRows());
    }

    // Text keeps its leading blanks; a blank number is not 0; names are case-insensitive.
    void readsValuesByName()
    {
        Table t;
        openList(t);
        QCOMPARE(t.text("naim"), QString(" Мука"));
        QCOMPARE(t.value("NAIM"), QVariant(QString(" Мука")));
        QCOMPARE(t.value("order").toInt(), 3);
        QCOMPARE(t.number("ves"), 2.5);
        QCOMPARE(t.logical("flag"), true);
        t.next();
        QVERIFY(t.isBlank("ves"));
        QVERIFY(!t.value("ves").isValid());
        QCOMPARE(t.number("VES"), 0.0);
        QCOMPARE(t.text("ot"), QString());
        QCOMPARE(t.logical("flag"), false);
        t.next();
        QVERIFY(!t.isBlank("ves"));
        QCOMPARE(t.value("ves"), QVariant(0.0));
        QVERIFY(!t.value("flag").isValid());
        QCOMPARE(t.fieldIndex("Kods"), 5);
        QCOMPARE(t.fieldIndex("nosuch"), -1);
    }

    void missingFieldThrows()
    {
        Table t;
        openList(t);
        try {
            t.value("nosuch");
            QFAIL("no error");
        } catch (const TableError &e) {
            QVERIFY(e.message().contains("nosuch"));
            QVERIFY(e.message().contains(path_));
        }
        QVERIFY_THROWS_EXCEPTION(TableError, t.setValue("nosuch", 1));
    }

    // xBase cursor rules: first sets bof, next on the last sets eof and stays.
    void navigationFlags()
    {
        Table t;
        openList(t);
        QVERIFY(t.bof());
        QVERIFY(!t.eof());
        QCOMPARE(t.viewCount(), 5);
        t.prior();
        QVERIFY(t.bof());
        QCOMPARE(t.viewPosition(), 0);
        for (int i = 0; i < 4; ++i)
            t.next();
        QCOMPARE(t.viewPosition(), 4);
        QVERIFY(!t.eof());
        QVERIFY(!t.bof());
        t.next();
        QVERIFY(t.eof());
        QCOMPARE(t.viewPosition(), 4);
        QCOMPARE(t.text("naim"), QString("Шрот"));
        t.prior();
        QVERIFY(!t.eof());
        QCOMPARE(t.viewPosition(), 3);
        t.last();
        QVERIFY(t.eof());
        t.first();
        QVERIFY(t.bof());
        t.moveTo(2);
        QCOMPARE(t.text("naim"), QString("Мел"));
        QVERIFY(!t.bof() && !t.eof());
    }

    void emptyViewIsBofAndEof()
    {
        Table t;
        openList(t);
        t.setIndexName("order");
        t.setRange(100, 200);
        QVERIFY(t.isEmpty());
        QVERIFY(t.bof());
        QVERIFY(t.eof());
        QCOMPARE(t.viewPosition(), -1);
        t.next();
        t.first();
        QVERIFY(!t.value("naim").isValid());
        QVERIFY_THROWS_EXCEPTION(TableError, t.edit());
    }

    // The scroll events come with every change of the current record, and only then.
    void scrollEvents()
    {
        Table t;
        t.setFileName(path_);
        QSignalSpy before(&t, &Table::beforeScroll);
        QSignalSpy after(&t, &Table::afterScroll);
        t.open();
        QCOMPARE(after.count(), 1);
        QCOMPARE(before.count(), 0);
        t.next();
        QCOMPARE(before.count(), 1);
        QCOMPARE(after.count(), 2);
        t.first();
        t.first();
        QCOMPARE(after.count(), 3);
        t.last();
        t.next();
        QCOMPARE(after.count(), 4);
        QCOMPARE(before.count(), 3);
        t.setFilter("ot='+'");
        QCOMPARE(after.count(), 4); // filtering is off: the view is the same
        t.setFiltered(true);
        QCOMPARE(after.count(), 5);
    }

    void indexOrderRangeAndKeySearch()
    {
        Table t;
        openList(t);
        t.setIndexName("order");
        QCOMPARE(names(t), (QStringList{"Соль", "Мел", " Мука", "Шрот", "Жмых"}));
        t.setRange(2, 4);
        QCOMPARE(names(t), (QStringList{"Мел", " Мука", "Шрот"}));
        t.first();
        QVERIFY(t.findKey(4));
        QCOMPARE(t.text("naim"), QString("Шрот"));
        QVERIFY(!t.findKey(5)); // outside the range: the cursor stays
        QCOMPARE(t.text("naim"), QString("Шрот"));
        QVERIFY(!t.findKey(1));
        QCOMPARE(t.viewPosition(), 2);
        t.cancelRange();
        QCOMPARE(t.viewCount(), 5);
        QVERIFY(t.findKey(1));
        QCOMPARE(t.text("naim"), QString("Соль"));
        t.setIndexName("");
        QCOMPARE(names(t).first(), QString(" Мука"));
        QVERIFY_THROWS_EXCEPTION(TableError, t.findKey(1));
        QVERIFY_THROWS_EXCEPTION(TableError, t.setIndexName("nosuch"));
    }

    // Equal keys keep their physical order; a key search finds the first of them.
    void equalKeysInPhysicalOrder()
    {
        const QString path = dir_.filePath("keys.dbf");
        fixture::makeTable(path, {{"k", 'N', 3, 0}, {"name", 'C', 5, 0}},
                           {{3, "c"}, {2, "b1"}, {1, "a"}, {2, "b2"}, {2, "b3"}});
        Table t;
        t.setFileName(path);
        t.defineIndex({"k", "K"});
        t.setIndexName("k");
        t.open();
        QStringList order;
        for (t.first(); !t.eof(); t.next())
            order << t.text("name");
        QCOMPARE(order, (QStringList{"a", "b1", "b2", "b3", "c"}));
        t.last();
        QVERIFY(t.findKey(2));
        QCOMPARE(t.text("name"), QString("b1"));
        QVERIFY(t.findKey("3"));
        QCOMPARE(t.text("name"), QString("c"));
    }

    // A post that changes the key moves the record; the cursor moves with it.
    void postReorders()
    {
        Table t;
        openList(t);
        t.setIndexName("order");
        QVERIFY(t.findKey(2));
        QSignalSpy view(&t, &Table::viewChanged);
        t.setValue("order", 6);
        QCOMPARE(t.state(), Table::State::Edit);
        t.post();
        QCOMPARE(t.state(), Table::State::Browse);
        QCOMPARE(view.count(), 1);
        QCOMPARE(t.text("naim"), QString("Мел"));
        QCOMPARE(t.viewPosition(), 4);
        QCOMPARE(names(t), (QStringList{"Соль", " Мука", "Шрот", "Жмых", "Мел"}));
    }

    // A record posted out of the range leaves the cursor on the record now at its place.
    void postOutOfRange()
    {
        Table t;
        openList(t);
        t.setIndexName("order");
        t.setRange(1, 5);
        QVERIFY(t.findKey(2));
        t.setValue("order", 9);
        t.post();
        QCOMPARE(t.viewCount(), 4);
        QCOMPARE(t.text("naim"), QString(" Мука"));
        t.last();
        t.setValue("order", 10);
        t.post();
        QCOMPARE(t.text("naim"), QString("Шрот"));
    }

    // Walking a filtered view while taking every record out of it visits each one once.
    void walkThatEmptiesTheFilter()
    {
        Table t;
        openList(t);
        t.setFilter("ot='+'");
        t.setFiltered(true);
        QStringList visited;
        for (t.first(); !t.eof(); t.next()) {
            visited << t.text("naim");
            t.setText("ot", "");
        }
        QCOMPARE(visited, (QStringList{" Мука", "Мел", "Шрот"}));
        QVERIFY(t.isEmpty());
        t.setFiltered(false);
        QCOMPARE(t.viewCount(), 5);
    }

    void filters_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QStringList>("expected");
        const QStringList all{" Мука", "Соль", "Мел", "Жмых", "Шрот"};
        QTest::newRow("selection") << "ot='+'" << QStringList{" Мука", "Мел", "Шрот"};
        QTest::newRow("highlight") << "vibor='+'" << QStringList{"Соль", "Мел"};
        QTest::newRow("both") << "ot='+' and vibor='+'" << QStringList{"Мел"};
        QTest::newRow("kodkk") << "kodkk=12" << QStringList{" Мука", "Соль", "Жмых"};
        QTest::newRow("kods") << "kods=30" << QStringList{"Мел"};
        QTest::newRow("arnom") << "arnom=5" << QStringList{" Мука", "Шрот"};
        QTest::newRow("arnom>0") << "arnom>0" << QStringList{" Мука", "Мел", "Шрот"};
        QTest::newRow("archive highlight") << "(arnom>0) and (vibor='+')" << QStringList{"Мел"};
        QTest::newRow("not") << "not ot='+'" << QStringList{"Соль", "Жмых"};
        QTest::newRow("or") << "ot<>'+' or kods=50" << QStringList{"Соль", "Жмых", "Шрот"};
        QTest::newRow("decimals") << "ves>=2.5" << QStringList{" Мука", "Шрот"};
        QTest::newRow("blank is 0") << "VES=0" << QStringList{"Соль", "Мел"};
        QTest::newRow("cyrillic") << "NAIM='Мел'" << QStringList{"Мел"};
        QTest::newRow("trailing blanks") << "naim = 'Мел   '" << QStringList{"Мел"};
        QTest::newRow("leading blank") << "naim=' Мука'" << QStringList{" Мука"};
        QTest::newRow("empty text") << "ot=''" << QStringList{"Соль", "Жмых"};
        QTest::newRow("keywords") << "KODS <= 20 OR Not (kods < 50)"
                                  << QStringList{" Мука", "Соль", "Шрот"};
        QTest::newRow("negative") << "arnom<0" << QStringList{"Соль"};
        QTest::newRow("cleared") << "" << all;
    }

    void filters()
    {
        QFETCH(QString, expression);
        QFETCH(QStringList, expected);
        Table t;
        openList(t);
        t.setFilter(expression);
        t.setFiltered(true);
        QCOMPARE(names(t), expected);
        QCOMPARE(t.filter(), expression);
        t.setFiltered(false);
        QCOMPARE(t.viewCount(), 5);
    }

    void badFilterThrows_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::newRow("no value") << "ot=";
        QTest::newRow("open quote") << "ot='+";
        QTest::newRow("open bracket") << "(arnom>0";
        QTest::newRow("missing field") << "nosuch=1";
        QTest::newRow("text with number") << "ot=5";
        QTest::newRow("number with text") << "kods='a'";
        QTest::newRow("double operator") << "arnom >> 0";
        QTest::newRow("keyword only") << "and";
        QTest::newRow("trailing and") << "ot='+' and";
        QTest::newRow("bad character") << "ot='+' ; kods=1";
        QTest::newRow("bare field") << "ot";
    }

    // A filter that cannot be applied is refused with its text; the old one stays.
    void badFilterThrows()
    {
        QFETCH(QString, expression);
        Table t;
        openList(t);
        t.setFilter("ot='+'");
        t.setFiltered(true);
        try {
            t.setFilter(expression);
            QFAIL("no error");
        } catch (const TableError &e) {
            QVERIFY2(e.message().contains(expression), qPrintable(e.message()));
            QVERIFY(e.message().contains(path_));
        }
        QCOMPARE(t.filter(), QString("ot='+'"));
        QCOMPARE(t.viewCount(), 3);
    }

    void unreadableKeyThrows_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored"); // in record 2, Соль
        QTest::addColumn<QString>("step");
        const char *const rows[][3] = {{"order", "nan", "open"},   {"order", "1e-3", "index"},
                                       {"kods", "0.5", "index"},   {"kodkk", "1 2", "filter"},
                                       {"arnom", "***", "filter"}, {"order", "nan", "post"},
                                       {"NAIM", "number", "range"}};
        for (const auto &[field, stored, step] : rows)
            QTest::addRow("%s %s by %s", field, stored, step) << field << stored << step;
    }

    // A key, or a number a filter compares, that cannot be read whole ends the operation
    // with the table, record and field named, never read as 0 (its record would drop out of
    // the list or lookup); so does a number sought in a text key. Nothing changes.
    void unreadableKeyThrows()
    {
        QFETCH(QString, field);
        QFETCH(QString, stored);
        QFETCH(QString, step);
        const auto text = QVariant::fromValue(store::UnreadableNumber{stored});
        if (step == "open" || step == "index" || step == "filter") {
            Table damage;
            damage.setFileName(path_);
            damage.open();
            damage.next();
            damage.setValue(field, text);
            damage.close();
        }
        const QByteArray before = fixture::fileBytes(path_);
        Table t;
        t.setFileName(path_);
        t.defineIndex({"order", "order"});
        t.defineIndex({"key", field});
        t.setIndexName(step == "open" || step == "post" ? "order" : "");
        try {
            t.open();
            if (step == "index" || step == "range")
                t.setIndexName("key");
            if (step == "filter")
                t.setFilter(field + ">0");
            if (step == "range")
                t.setRange(1, 3);
            if (step == "post") {
                t.setValue(field, text);
                t.post();
            }
            QFAIL("no error");
        } catch (const TableError &e) {
            const QString why = step == "range" ? "NAIM (тип C) не числовое"
                                                : "запись 2, поле " + field + ": «" + stored + "»";
            QVERIFY2(e.message().startsWith("Таблица " + path_), qPrintable(e.message()));
            QVERIFY2(e.message().contains(why), qPrintable(e.message()));
        }
        QCOMPARE(fixture::fileBytes(path_), before);
        QCOMPARE(t.isOpen(), step != "open");
        const bool ordered = step == "open" || step == "post";
        QCOMPARE(t.indexName(), QString(step == "range" ? "key" : ordered ? "order" : ""));
        QCOMPARE(t.filter(), QString());
        t.cancel();
        QCOMPARE(t.viewCount(), step == "open" ? 0 : 5);
    }

    // A closed cursor checks the syntax at once and the field names when it opens.
    void filterOnClosedTable()
    {
        Table t;
        t.setFileName(path_);
        QVERIFY_THROWS_EXCEPTION(TableError, t.setFilter("ot='+"));
        t.setFilter("nosuch='+'");
        t.setFiltered(true);
        QVERIFY_THROWS_EXCEPTION(TableError, t.open());
        QVERIFY(!t.isOpen());
        t.setFilter("kods>20");
        t.open();
        QCOMPARE(t.viewCount(), 3);
    }

    void writesNumbers_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("half up") << QVariant(12.125) << QByteArray("   12.13");
        QTest::newRow("binary below half") << QVariant(2.675) << QByteArray("    2.67");
        QTest::newRow("negative half") << QVariant(-12.125) << QByteArray("  -12.13");
        QTest::newRow("no minus zero") << QVariant(-0.001) << QByteArray("    0.00");
        QTest::newRow("integer") << QVariant(7) << QByteArray("    7.00");
        QTest::newRow("text") << QVariant(" 3.5 ") << QByteArray("    3.50");
        QTest::newRow("widest") << QVariant(99999.994) << QByteArray("99999.99");
        QTest::newRow("blank") << QVariant() << QByteArray("        ");
        QTest::newRow("blank text") << QVariant("  ") << QByteArray("        ");
    }

    // Numbers are written rounded into the field's width and decimals, blanks stay blank.
    void writesNumbers()
    {
        QFETCH(QVariant, value);
        QFETCH(QByteArray, bytes);
        {
            Table t;
            openList(t);
            t.setValue("ves", value);
            t.post();
        }
        const QByteArray file = fixture::fileBytes(path_);
        const int header = uchar(file[8]) | uchar(file[9]) << 8;
        QCOMPARE(file.mid(header + 1 + 30 + 4, 8), bytes);
        Table t;
        openList(t);
        QCOMPARE(t.isBlank("ves"), !value.isValid() || value.toString().trimmed().isEmpty());
    }

    void tooWideThrows_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("digits") << "order" << QVariant(12345);
        QTest::newRow("rounds up past width") << "order" << QVariant(9999.5);
        QTest::newRow("negative") << "order" << QVariant(-1000);
        QTest::newRow("decimals") << "ves" << QVariant(123456.7);
        QTest::newRow("not a number") << "ves" << QVariant("12,5");
        QTest::newRow("long text") << "ot" << QVariant("++");
        QTest::newRow("not in 1251") << "naim" << QVariant(QString::fromUtf8("中"));
        QTest::newRow("not logical") << "flag" << QVariant("x");
    }

    // A value that does not fit is refused naming file and field; nothing is stored.
    void tooWideThrows()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        const QByteArray before = fixture::fileBytes(path_);
        {
            Table t;
            openList(t);
            try {
                t.setValue(field, value);
                QFAIL("no error");
            } catch (const TableError &e) {
                QVERIFY2(e.message().contains(path_), qPrintable(e.message()));
                QVERIFY(e.message().contains(field, Qt::CaseInsensitive));
            }
            t.cancel();
        }
        QCOMPARE(fixture::fileBytes(path_), before);
    }

    void appendCancelAndPost()
    {
        Table t;
        openList(t);
        QSignalSpy inserted(&t, &Table::afterInsert);
        t.moveTo(2);
        t.append();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(t.state(), Table::State::Insert);
        QVERIFY(t.isBlank("naim"));
        t.cancel();
        QCOMPARE(t.viewCount(), 5);
        QCOMPARE(t.text("naim"), QString("Мел"));
        t.append();
        t.setText("naim", "Известняк");
        t.setNumber("order", 6);
        t.next(); // moving on posts
        QCOMPARE(t.viewCount(), 6);
        t.last();
        QCOMPARE(t.text("naim"), QString("Известняк"));
        t.close();
        t.open();
        QCOMPARE(t.viewCount(), 6);
    }

    // The table keeps what was posted before flush(), seen by a fresh cursor.
    void flushIsSeenByAFreshCursor()
    {
        Table writer;
        openList(writer);
        writer.append();
        writer.setText("naim", "Новая");
        writer.post();
        writer.first();
        writer.setText("naim", "Первая");
        writer.flush();
        QCOMPARE(writer.state(), Table::State::Browse);
        const QByteArray bytes = fixture::fileBytes(path_);
        QCOMPARE(int(uchar(bytes[4])), 6);
        const QDate today = QDate::currentDate();
        QCOMPARE(int(uchar(bytes[1])), today.year() - 1900);
        QCOMPARE(int(uchar(bytes[2])), today.month());
        QCOMPARE(int(uchar(bytes[3])), today.day());
        Table reader;
        openList(reader);
        QCOMPARE(names(reader), (QStringList{"Первая", "Соль", "Мел", "Жмых", "Шрот", "Новая"}));
    }

    void createWritesCodePageHeader()
    {
        const QByteArray bytes = fixture::fileBytes(path_);
        QCOMPARE(int(uchar(bytes[0])), 0x03);
        QCOMPARE(int(uchar(bytes[29])), 0xC9);
    }

    // A table made like another has its fields and indexes and replaces the old file.
    void createLike()
    {
        Table source;
        openList(source);
        source.defineIndex({"si", "kods"});
        const QString copyPath = dir_.filePath("copy.dbf");
        fixture::makeTable(copyPath, {{"x", 'C', 3, 0}}, {{"a"}, {"b"}});
        Table copy;
        copy.setFileName(copyPath);
        copy.createLike(source);
        copy.open();
        QCOMPARE(copy.viewCount(), 0);
        QCOMPARE(copy.fieldCount(), source.fieldCount());
        for (int i = 0; i < source.fieldCount(); ++i) {
            const FieldDef a = source.fields().at(i);
            const FieldDef b = copy.fields().at(i);
            QCOMPARE(b.name, a.name);
            QCOMPARE(b.type, a.type);
            QCOMPARE(b.width, a.width);
            QCOMPARE(b.decimals, a.decimals);
        }
        QCOMPARE(copy.indexes().size(), 2);
        copy.setIndexName("si");
        for (source.first(); !source.eof(); source.next()) {
            copy.append();
            for (int i = 0; i < source.fieldCount(); ++i)
                copy.setValue(i, source.value(i));
            copy.post();
        }
        copy.close();
        QCOMPARE(fixture::fileBytes(copyPath).mid(32), fixture::fileBytes(path_).mid(32));
    }

    // Records marked deleted are not part of any view.
    void deletedRecordsSkipped()
    {
        QByteArray bytes = fixture::fileBytes(path_);
        const int header = uchar(bytes[8]) | uchar(bytes[9]) << 8;
        const int length = uchar(bytes[10]) | uchar(bytes[11]) << 8;
        bytes[header + length] = '*';
        fixture::writeBytes(path_, bytes);
        Table t;
        openList(t);
        QCOMPARE(names(t), (QStringList{" Мука", "Мел", "Жмых", "Шрот"}));
    }

    // A post that takes the current record out of the view announces the scroll while
    // the cursor still stands on it (a window saves what belongs to the record it leaves).
    void postOutOfViewScrollsFromThePostedRecord()
    {
        Table t;
        openList(t);
        t.setFilter("ot='+'");
        t.setFiltered(true);
        t.moveTo(1);
        QStringList seen;
        connect(&t, &Table::beforeScroll, this, [&] { seen << "before " + t.text("naim"); });
        connect(&t, &Table::afterScroll, this, [&] { seen << "after " + t.text("naim"); });
        t.setText("ot", "");
        t.post();
        QCOMPARE(seen, (QStringList{"before Мел", "after Шрот"}));
        QCOMPARE(t.viewPosition(), 1);
        QVERIFY(!t.eof());
    }

    // An appended record that the view does not take leaves the cursor on the last record.
    void appendOutsideTheView()
    {
        Table t;
        openList(t);
        t.setFilter("ot='+'");
        t.setFiltered(true);
        t.first();
        t.append();
        t.setText("naim", "Вне выборки");
        t.post();
        QCOMPARE(t.viewCount(), 3);
        QCOMPARE(t.text("naim"), QString("Шрот"));
        t.setFiltered(false);
        QCOMPARE(t.viewCount(), 6);
    }

    void readsFieldTypes_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("L T") << "L" << QByteArray("T") << QVariant(true);
        QTest::newRow("L y") << "L" << QByteArray("y") << QVariant(true);
        QTest::newRow("L N") << "L" << QByteArray("N") << QVariant(false);
        QTest::newRow("L f") << "L" << QByteArray("f") << QVariant(false);
        QTest::newRow("L ?") << "L" << QByteArray("?") << QVariant();
        QTest::newRow("L blank") << "L" << QByteArray(" ") << QVariant();
        QTest::newRow("N integer") << "N" << QByteArray("   42") << QVariant(42);
        QTest::newRow("N negative") << "N" << QByteArray("  -42") << QVariant(-42);
        QTest::newRow("N left-aligned") << "N" << QByteArray("7    ") << QVariant(7);
        QTest::newRow("N blank") << "N" << QByteArray("     ") << QVariant();
        QTest::newRow("N stars") << "N" << QByteArray("*****")
                                 << QVariant::fromValue(store::UnreadableNumber{"*****"});
        QTest::newRow("N fraction") << "N" << QByteArray(" 4.50") << QVariant(4.5);
        QTest::newRow("F decimals") << "F" << QByteArray("    1.25") << QVariant(1.25);
        QTest::newRow("F exponent") << "F" << QByteArray("1.5E+02 ") << QVariant(150.0);
        QTest::newRow("D") << "D" << QByteArray("20240131") << QVariant(QString("20240131"));
        QTest::newRow("D blank") << "D" << QByteArray("        ") << QVariant();
        QTest::newRow("C leading blanks") << "C" << QByteArray("  ab ") << QVariant("  ab");
        QTest::newRow("C NUL padding") << "C" << QByteArray("ab\0\0\0", 5) << QVariant("ab");
        QTest::newRow("C 1251") << "C" << QByteArray("\xc0\xe1\xe2  ") << QVariant("Абв");
        QTest::newRow("C blank") << "C" << QByteArray("     ") << QVariant();
    }

    // Field bytes as other programs write them read back as the values they mean.
    void readsFieldTypes()
    {
        QFETCH(QString, field);
        QFETCH(QByteArray, raw);
        QFETCH(QVariant, expected);
        const QString path = dir_.filePath("types.dbf");
        fixture::makeTable(path,
                           {{"L", 'L', 1, 0},
                            {"N", 'N', 5, 0},
                            {"F", 'F', 8, 2},
                            {"D", 'D', 8, 0},
                            {"C", 'C', 5, 0}},
                           {{}});
        const QHash<QString, int> offsets{{"L", 1}, {"N", 2}, {"F", 7}, {"D", 15}, {"C", 23}};
        QByteArray bytes = fixture::fileBytes(path);
        const int header = uchar(bytes[8]) | uchar(bytes[9]) << 8;
        bytes.replace(header + offsets.value(field), raw.size(), raw);
        fixture::writeBytes(path, bytes);
        Table t;
        t.setFileName(path);
        t.open();
        QCOMPARE(t.value(field), expected);
        QCOMPARE(t.isBlank(field), !expected.isValid() && raw.trimmed().isEmpty());
    }

    // Each kind of field written and read back through a fresh cursor.
    void writesFieldTypes()
    {
        const QString path = dir_.filePath("types.dbf");
        fixture::makeTable(
            path,
            {{"L", 'L', 1, 0},
             {"N", 'N', 5, 0},
             {"F", 'F', 8, 2},
             {"D", 'D', 8, 0},
             {"C", 'C', 5, 0}},
            {{true, -42, 1.255, QDate(2024, 1, 31), " Ёж"}, {"F", "17", "-0.5", "20231231", 12}});
        Table t;
        t.setFileName(path);
        t.open();
        QCOMPARE(t.value("l"), QVariant(true));
        QCOMPARE(t.value("n"), QVariant(-42));
        QCOMPARE(t.value("f"), QVariant(1.25)); // 1.255 is 1.25499999...
        QCOMPARE(t.value("d"), QVariant(QString("20240131")));
        QCOMPARE(t.value("c"), QVariant(QString(" Ёж")));
        t.next();
        QCOMPARE(t.value("l"), QVariant(false));
        QCOMPARE(t.value("n"), QVariant(17));
        QCOMPARE(t.value("f"), QVariant(-0.5));
        QCOMPARE(t.value("d"), QVariant(QString("20231231")));
        QCOMPARE(t.value("c"), QVariant(QString("12")));
        QVERIFY_THROWS_EXCEPTION(TableError, t.setValue("d", "2023-12-31"));
    }

    // A post that changes values without moving the record reports that row only.
    void postReportsTheChangedRow()
    {
        Table t;
        openList(t);
        t.moveTo(3);
        QSignalSpy changed(&t, &Table::recordChanged);
        QSignalSpy view(&t, &Table::viewChanged);
        t.setNumber("ves", 9.5);
        t.post();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toInt(), 3);
        QCOMPARE(view.count(), 0);
        QCOMPARE(t.valueAt(3, t.fieldIndex("ves")), QVariant(9.5));
    }

    // Setting what is already set changes nothing: a list keeps its range and record
    // when a routine sets its index "order" again.
    void unchangedSettingsKeepThePosition()
    {
        Table t;
        openList(t);
        t.setIndexName("order");
        t.setRange(1, 4);
        t.moveTo(2);
        QSignalSpy after(&t, &Table::afterScroll);
        t.setIndexName("ORDER");
        t.setFiltered(false);
        t.setFilter("ot='+'"); // filtering is off: nothing visible changes
        t.setFilter("ot='+'");
        QVERIFY(t.hasRange());
        QCOMPARE(t.viewCount(), 4);
        QCOMPARE(t.viewPosition(), 2);
        QCOMPARE(after.count(), 0);
        t.setFiltered(true);
        QCOMPARE(after.count(), 1);
        QCOMPARE(names(t), (QStringList{"Мел", " Мука", "Шрот"}));
        after.clear();
        t.cancelRange();
        t.cancelRange();
        QCOMPARE(after.count(), 1);
        QCOMPARE(t.viewCount(), 3);
    }

    // Two cursors on one file: a write that would drop records the other appended is
    // refused, and the appended record stays.
    void staleCursorDoesNotDropRecords()
    {
        Table a;
        Table b;
        openList(a);
        openList(b);
        a.append();
        a.setText("naim", "Новая");
        a.post();
        b.setText("naim", "Старая");
        QVERIFY_THROWS_EXCEPTION(TableError, b.post());
        b.cancel();
        b.close();
        b.open();
        QCOMPARE(b.viewCount(), 6);
        b.setText("naim", "Теперь можно");
        b.post();
        a.close();
        a.open();
        QCOMPARE(a.text("naim"), QString("Теперь можно"));
        QCOMPARE(a.viewCount(), 6);
    }

    void dataSourceSwitch()
    {
        Table t;
        QSignalSpy toggled(&t, &Table::dataSourceToggled);
        t.setDataSourceEnabled(false);
        t.setDataSourceEnabled(false);
        t.setDataSourceEnabled(true);
        QCOMPARE(toggled.count(), 2);
        QVERIFY(t.dataSourceEnabled());
    }
};

QTEST_APPLESS_MAIN(TestTable)
#include "tst_table.moc"
