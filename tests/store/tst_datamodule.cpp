// The data module: cursors and files, opening at creation, the lists' normal state and
// the selected-entry counts.

#include "tablefixture.h"

#include "store/datamodule.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using store::DataModule;
using store::FieldDef;
using store::Table;

class TestDataModule final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString data_;

    QString path(const char *name) const { return data_ + "/" + name; }

    // A small data directory: pools of 5 (pit), 6 (kk) and 6 (sir) records in shuffled
    // physical order, 3, 4 and 5 of them in use; a selected free slot in kk and sir.
    void makeDataDirectory()
    {
        QDir().mkpath(data_);
        fixture::makeTable(
            path("pit.dbf"),
            {{"PIT", 'C', 20, 0}, {"EDIZ", 'C', 12, 0}, {"KEY", 'N', 2, 0}, {"order", 'N', 3, 0}},
            {{"Протеин", "%", 2, 3},
             {"Цена", "руб", 1, 1},
             {"Жир", "%", 3, 2},
             {"Зола", "%", 5, 5},
             {"Сахар", "%", 4, 4}});
        const QList<FieldDef> listFields{{"NAME", 'C', 20, 0},
                                         {"kodkk", 'N', 4, 0},
                                         {"order", 'N', 3, 0},
                                         {"ot", 'C', 1, 0},
                                         {"vibor", 'C', 1, 0}};
        fixture::makeTable(path("kk.dbf"), listFields,
                           {{"К-3", 13, 3, "+", ""},
                            {"К-6", 16, 6, "+", ""},
                            {"К-1", 11, 1, "", "+"},
                            {"К-2", 12, 2, "+", ""},
                            {"К-4", 14, 4, "", ""},
                            {"К-5", 15, 5, "", ""}});
        QList<FieldDef> rawFields = listFields;
        rawFields[0].name = "NAIM";
        rawFields[1].name = "kods";
        fixture::makeTable(path("sir.dbf"), rawFields,
                           {{"С-2", 2, 2, "+", ""},
                            {"С-1", 1, 1, "", ""},
                            {"С-5", 5, 5, "+", ""},
                            {"С-6", 6, 6, "+", ""},
                            {"С-3", 3, 3, "+", ""},
                            {"С-4", 4, 4, "", ""}});
        fixture::makeTable(
            path("norm.dbf"),
            {{"kodkk", 'N', 4, 0}, {"kods", 'N', 4, 0}, {"min", 'N', 6, 2}, {"max", 'N', 6, 2}},
            {{11, 2, 1.0, 5.0}});
        fixture::makeTable(
            path("order.dbf"),
            {{"pit", 'N', 3, 0}, {"KK", 'N', 3, 0}, {"sir", 'N', 3, 0}, {"arhnom", 'N', 4, 0}},
            {{3, 4, 5, 17}});
        for (const char *name : {"arkk.dbf", "arsir.dbf", "arpit.dbf", "arprem.dbf"})
            fixture::makeTable(path(name), {{"arnom", 'N', 4, 0}, {"vibor", 'C', 1, 0}},
                               {{1, ""}, {-1, ""}});
    }

    std::unique_ptr<DataModule> createModule()
    {
        QString error;
        auto module = DataModule::create(data_, &error);
        if (!module)
            qWarning() << error;
        return module;
    }

    static QList<int> orders(Table &table)
    {
        QList<int> result;
        for (table.first(); !table.eof(); table.next())
            result << table.integer("order");
        return result;
    }

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        data_ = dir_.filePath("itog3");
        QDir(data_).removeRecursively();
        makeDataDirectory();
    }

    void createOpensOrderAndArchiveTables()
    {
        {
            auto module = createModule();
            QVERIFY(module);
            QCOMPARE(store::dataModule(), module.get());
            QCOMPARE(module->rawMaterials.fileName(), data_ + "/sir.dbf");
            for (Table *t :
                 {&module->counters, &module->archiveHeaders, &module->archiveCompositions,
                  &module->archiveCharacteristics, &module->archivePremixes})
                QVERIFY2(t->isOpen(), qPrintable(t->objectName()));
            for (Table *t : {&module->characteristics, &module->feedTypes, &module->rawMaterials,
                             &module->inclusionNorms, &module->ratios, &module->scratch})
                QVERIFY(!t->isOpen());
            QCOMPARE(module->tables().size(), 11);
            QCOMPARE(module->pitCount(), 3);
            QCOMPARE(module->kkCount(), 4);
            QCOMPARE(module->sirCount(), 5);
            QCOMPARE(module->lastArchiveNumber(), 17);
            QCOMPARE(module->inclusionNorms.indexes().first().field, QString("kods"));
        }
        QCOMPARE(store::dataModule(), nullptr);
    }

    void creationFails_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes"); // empty = the file is removed
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing archive") << "arpit.dbf" << QByteArray() << "не найдена";
        QTest::newRow("missing order") << "order.dbf" << QByteArray() << "не найдена";
        QTest::newRow("garbled order") << "order.dbf" << QByteArray(40, 'x') << "повреждена";
    }

    // A missing or damaged file gives no module and a message naming the file.
    void creationFails()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        if (bytes.isEmpty())
            QVERIFY(QFile::remove(data_ + "/" + file));
        else
            fixture::writeBytes(data_ + "/" + file, bytes);
        QString error;
        auto module = DataModule::create(data_, &error);
        QVERIFY(!module);
        QVERIFY2(error.contains(file) && error.contains(expected), qPrintable(error));
        QCOMPARE(store::dataModule(), nullptr);
    }

    void orderWithoutRecordFails()
    {
        fixture::makeTable(
            path("order.dbf"),
            {{"pit", 'N', 3, 0}, {"KK", 'N', 3, 0}, {"sir", 'N', 3, 0}, {"arhnom", 'N', 4, 0}}, {});
        QString error;
        QVERIFY(!DataModule::create(data_, &error));
        QVERIFY2(error.contains("order.dbf"), qPrintable(error));
    }

    // Normal state: index order, range 1 ... count, no filter, first record current.
    void normalState()
    {
        auto module = createModule();
        QVERIFY(module);
        module->feedTypes.setFilter("ot='+'");
        module->feedTypes.setFiltered(true);
        module->setNormalState();
        QCOMPARE(orders(module->characteristics), (QList<int>{1, 2, 3}));
        QCOMPARE(orders(module->feedTypes), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(orders(module->rawMaterials), (QList<int>{1, 2, 3, 4, 5}));
        Table *lists[] = {&module->characteristics, &module->feedTypes, &module->rawMaterials};
        for (Table *list : lists) {
            list->first();
            QCOMPARE(list->indexName(), QString("order"));
            QVERIFY(list->hasRange());
            QVERIFY(!list->filtered());
            QCOMPARE(list->filter(), QString());
        }
        module->characteristics.first();
        QCOMPARE(module->characteristics.text("PIT"), QString("Цена"));
    }

    // The counts take only listed entries; sir ends on its first record.
    void countSelected()
    {
        auto module = createModule();
        QVERIFY(module);
        module->setNormalState();
        module->rawMaterials.last();
        module->countSelected();
        QCOMPARE(module->selectedFeedCount, 2);
        QCOMPARE(module->selectedRawCount, 3);
        QCOMPARE(module->rawMaterials.integer("order"), 1);
    }

    // The fixed pools never grow: an insert into pit, kk or sir is cancelled at once.
    void insertIntoAListIsCancelled()
    {
        auto module = createModule();
        QVERIFY(module);
        module->setNormalState();
        for (Table *list : {&module->characteristics, &module->feedTypes, &module->rawMaterials}) {
            const int count = list->viewCount();
            list->append();
            QCOMPARE(list->state(), Table::State::Browse);
            list->next();
            QCOMPARE(list->viewCount(), count);
        }
        module.reset();
        Table kk;
        kk.setFileName(path("kk.dbf"));
        kk.open();
        QCOMPARE(kk.viewCount(), 6);
    }

    void countsAreWrittenToOrder()
    {
        {
            auto module = createModule();
            QVERIFY(module);
            module->setKkCount(5);
            module->setLastArchiveNumber(0);
            QCOMPARE(module->kkCount(), 5);
        }
        Table order;
        order.setFileName(path("order.dbf"));
        order.open();
        QCOMPARE(order.integer("kk"), 5);
        QCOMPARE(order.integer("arhnom"), 0);
        QCOMPARE(order.integer("sir"), 5);
    }
};

QTEST_APPLESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
