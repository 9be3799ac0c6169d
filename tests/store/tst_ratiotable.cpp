// ratio.dbf: written in its layout and read back by field name; optional in a data
// directory, but checked like every table when it is there.

#include "store/datadirectorycheck.h"
#include "store/datafiles.h"
#include "store/ratiotable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_ratiotable final : public QObject
{
    Q_OBJECT

private slots:
    void readsBackWhatIsWritten();
    void optionalButChecked();
};

// Records in physical order, a blank bound read as 0 (none).
void tst_ratiotable::readsBackWhatIsWritten()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(store::kRatioFileName);
    QVERIFY(store::readRatioRecords(path).isEmpty()); // no file: no ratios
    store::createRatioTable(path);
    store::Table table;
    table.setFileName(path);
    table.open();
    QCOMPARE(table.fields().size(), 6);
    const QList<QVariantList> rows{
        {3, 14, 16, 1.9, QVariant(), "+"}, {3, 9, 2, 0.1, 0.12, ""}, {4, 11, 9, 0.7456, 2, "+"}};
    for (const QVariantList &row : rows) {
        table.append();
        for (int f = 0; f < row.size(); ++f)
            table.setValue(f, row[f]);
        table.post();
    }
    table.close();
    const QList<store::RatioRecord> records = store::readRatioRecords(path);
    QCOMPARE(records.size(), 3);
    QCOMPARE(records[0].kodkk, 3);
    QCOMPARE(records[0].numeratorKey, 14);
    QCOMPARE(records[0].denominatorKey, 16);
    QCOMPARE(records[0].minimum, 1.9);
    QCOMPARE(records[0].maximum, 0.0);
    QVERIFY(records[0].on);
    QVERIFY(!records[1].on);
    QCOMPARE(records[2].minimum, 0.7456);
}

void tst_ratiotable::optionalButChecked()
{
    const QString demo = QStringLiteral(KP_SOURCE_DIR "/data/itog3");
    QVERIFY(store::presentTableFileNames(demo).contains(store::kRatioFileName));
    QVERIFY(store::isProgramFile(QStringLiteral("RATIO.DBF")));
    QTemporaryDir dir;
    for (const QString &name : QDir(demo).entryList(QDir::Files))
        QVERIFY(QFile::copy(demo + u'/' + name, dir.filePath(name)));
    QVERIFY(QFile::remove(dir.filePath(store::kRatioFileName)));
    QVERIFY(!store::dataDirectoryProblem(dir.path()).found());
    QFile garbled(dir.filePath(store::kRatioFileName));
    QVERIFY(garbled.open(QIODevice::WriteOnly));
    garbled.write("not a table");
    garbled.close();
    QCOMPARE(store::dataDirectoryProblem(dir.path()).fileName, store::kRatioFileName);
}

QTEST_APPLESS_MAIN(tst_ratiotable)
#include "tst_ratiotable.moc"
