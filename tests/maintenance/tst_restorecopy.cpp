// The restore of the data directory from a backup folder: all files or none, with the
// tables checked before anything in the data directory changes.
#include "maintenance/backupcopy.h"
#include "maintenance/restorecopy.h"

#include "maintenancefixture.h"

#include <QtTest>

using fixture::snapshot;

class TestRestoreCopy final : public QObject
{
    Q_OBJECT

private slots:
    void restoresEveryFile();
    void dataDirectoryMadeWhenMissing();
    void faultyBackupChangesNothing_data();
    void faultyBackupChangesNothing();
    void backupWithoutRatiosRestoresNone();

private:
    // The module only names the tables; it is closed while the files are replaced.
    std::unique_ptr<store::DataModule> moduleOver(const QString &dataDir);
};

std::unique_ptr<store::DataModule> TestRestoreCopy::moduleOver(const QString &dataDir)
{
    auto module = store::DataModule::create(dataDir);
    if (module) {
        for (store::Table *table : module->tables())
            table->close();
    }
    return module;
}

// Every file of the backup replaces its namesake; files only in the data directory stay;
// the leftover of a cut-off backup is not carried; no working folder is left beside it.
void TestRestoreCopy::restoresEveryFile()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    QVERIFY(maintenance::copyToBackup(work.dataDir(), work.backupDir()).done);
    const auto backup = snapshot(work.backupDir());
    fixture::writeFile(work.backupDir() + "/sir.dbf.kp-new", "left by a cut-off backup");
    fixture::writeFile(work.dataDir() + "/cons.txt", "changed after the backup\r\n");
    fixture::writeFile(work.dataDir() + "/mine.txt", "only here");
    QVERIFY(QFile::remove(work.dataDir() + "/arh.txt"));

    auto module = moduleOver(work.dataDir());
    QVERIFY(module);
    const auto report = maintenance::restoreFromBackup(work.backupDir(), work.dataDir(), *module);
    QVERIFY(report.done);
    QCOMPARE(report.messages, QStringList{});
    auto data = snapshot(work.dataDir());
    QVERIFY(data.contains("mine.txt"));
    data.remove("mine.txt");
    QCOMPARE(data, backup);
    QCOMPARE(QDir(work.root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             (QStringList{"itog3", "stick"}));
}

void TestRestoreCopy::dataDirectoryMadeWhenMissing()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    QVERIFY(maintenance::copyToBackup(work.dataDir(), work.backupDir()).done);
    auto module = moduleOver(work.dataDir());
    QVERIFY(module);
    QVERIFY(QDir(work.dataDir()).removeRecursively());
    const auto report = maintenance::restoreFromBackup(work.backupDir(), work.dataDir(), *module);
    QVERIFY(report.done);
    QCOMPARE(snapshot(work.dataDir()), snapshot(work.backupDir()));
}

void TestRestoreCopy::faultyBackupChangesNothing_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("unreadable file in the middle") << "unreadable"
                                                   << "norm.dbf не скопирован";
    QTest::newRow("a table missing") << "missing"
                                     << "В резервной копии нет таблицы arprem.dbf";
    QTest::newRow("a table garbled") << "garbled"
                                     << "Таблица kk.dbf в резервной копии не читается";
    QTest::newRow("counters without their record")
        << "empty order"
        << "Таблица order.dbf в резервной копии не читается";
    QTest::newRow("list without its order field")
        << "no order field"
        << "Таблица sir.dbf в резервной копии не читается";
    QTest::newRow("ratio table garbled") << "garbled ratio"
                                         << "Таблица ratio.dbf в резервной копии не читается";
}

// Whatever is wrong with the backup, every file of the data directory keeps its bytes,
// no working folder is left behind, and the message names the file.
void TestRestoreCopy::faultyBackupChangesNothing()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    fixture::Workplace work;
    QVERIFY(work.ok());
    QVERIFY(maintenance::copyToBackup(work.dataDir(), work.backupDir()).done);
    const QDir backup(work.backupDir());
    if (fault == "unreadable") {
        fixture::makeUnreadable(backup.filePath("norm.dbf"));
    } else if (fault == "missing") {
        QVERIFY(QFile::remove(backup.filePath("arprem.dbf")));
    } else if (fault == "garbled") {
        fixture::writeFile(backup.filePath("kk.dbf"), "not a table at all");
    } else if (fault == "garbled ratio") {
        fixture::writeFile(backup.filePath("ratio.dbf"), "not a table at all");
    } else if (fault == "empty order") {
        store::Table order;
        order.setFileName(backup.filePath("order.dbf"));
        order.createLike(order); // its own definitions, no records
    } else if (fault == "no order field") {
        store::Table sir;
        sir.setFileName(backup.filePath("sir.dbf"));
        sir.create({{"NAIM", 'C', 30, 0}, {"kods", 'N', 6, 0}});
    }
    // Changes made after the backup, which a failed restore must not lose.
    fixture::writeFile(work.dataDir() + "/cons.txt", "changed after the backup\r\n");
    fixture::writeFile(work.dataDir() + "/sir.dbf", QByteArray("newer") + QByteArray(4000, 'x'));
    const auto before = snapshot(work.dataDir());

    auto module = moduleOver(work.dataDir());
    QVERIFY(module);
    const auto report = maintenance::restoreFromBackup(work.backupDir(), work.dataDir(), *module);
    QVERIFY(!report.done);
    QVERIFY(!report.messages.isEmpty());
    QVERIFY2(report.messages.first().startsWith(message), qPrintable(report.messages.join('\n')));
    QCOMPARE(snapshot(work.dataDir()), before);
    QCOMPARE(QDir(work.root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             (QStringList{"itog3", "stick"}));
}

// A backup made before any ratio existed holds no ratio.dbf: the restored data have no
// ratios, and the table that was there goes.
void TestRestoreCopy::backupWithoutRatiosRestoresNone()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    QVERIFY(QFile::exists(work.dataDir() + "/ratio.dbf"));
    QVERIFY(maintenance::copyToBackup(work.dataDir(), work.backupDir()).done);
    QVERIFY(QFile::remove(work.backupDir() + "/ratio.dbf"));
    auto module = moduleOver(work.dataDir());
    QVERIFY(module);
    const auto report = maintenance::restoreFromBackup(work.backupDir(), work.dataDir(), *module);
    QCOMPARE(report.messages, QStringList{});
    QVERIFY(report.done);
    QCOMPARE(snapshot(work.dataDir()), snapshot(work.backupDir()));
}

QTEST_APPLESS_MAIN(TestRestoreCopy)
#include "tst_restorecopy.moc"
