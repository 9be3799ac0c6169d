// The backup copy of the data directory: every file into the backup folder, the previous
// backup whole when any file fails, files only on the drive left alone.
#include "maintenance/backupcopy.h"

#include "maintenancefixture.h"

#include <QtTest>

using fixture::snapshot;

class TestBackupCopy final : public QObject
{
    Q_OBJECT

private slots:
    void firstBackupCopiesEveryFile();
    void secondBackupOverwritesFileByFile();
    void failedFileLeavesPreviousBackupWhole();
    void folderThatCannotBeMade();
    void emptyDataDirectoryIsNoBackup();
    void leftoversOfACutOffCopyAreNotCarried();
};

void TestBackupCopy::firstBackupCopiesEveryFile()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    const auto report = maintenance::copyToBackup(work.dataDir(), work.backupDir());
    QVERIFY(report.done);
    QCOMPARE(report.messages, QStringList{});
    QCOMPARE(snapshot(work.backupDir()), snapshot(work.dataDir()));
    QVERIFY(snapshot(work.backupDir()).contains("pit.dbf"));
}

// The new copy replaces the old one file by file; what only the drive holds stays.
void TestBackupCopy::secondBackupOverwritesFileByFile()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    QVERIFY(maintenance::copyToBackup(work.dataDir(), work.backupDir()).done);
    fixture::writeFile(work.backupDir() + "/notes.txt", "only on the stick");
    fixture::writeFile(work.dataDir() + "/cons.txt", "changed settings\r\n");

    const auto report = maintenance::copyToBackup(work.dataDir(), work.backupDir());
    QVERIFY(report.done);
    auto onDrive = snapshot(work.backupDir());
    QVERIFY(onDrive.contains("notes.txt"));
    onDrive.remove("notes.txt");
    QCOMPARE(onDrive, snapshot(work.dataDir()));
}

// A file that cannot be copied is named, the result is failed, and the backup made before
// is still whole: no table of it replaced, no temporary file left on the drive.
void TestBackupCopy::failedFileLeavesPreviousBackupWhole()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    QVERIFY(maintenance::copyToBackup(work.dataDir(), work.backupDir()).done);
    const auto before = snapshot(work.backupDir());
    fixture::writeFile(work.dataDir() + "/sir.dbf", "newer but never copied");
    fixture::makeUnreadable(work.dataDir() + "/kk.txt");

    const auto report = maintenance::copyToBackup(work.dataDir(), work.backupDir());
    QVERIFY(!report.done);
    QCOMPARE(report.messages, QStringList{"Копия kk.txt не создана"});
    QCOMPARE(snapshot(work.backupDir()), before);
}

void TestBackupCopy::folderThatCannotBeMade()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    fixture::writeFile(work.backupDir(), "a file where the folder should be");
    const auto report = maintenance::copyToBackup(work.dataDir(), work.backupDir());
    QVERIFY(!report.done);
    QCOMPARE(report.messages, QStringList{"Папка резервной копии не создается..."});
}

void TestBackupCopy::emptyDataDirectoryIsNoBackup()
{
    QTemporaryDir data, drive;
    const auto report = maintenance::copyToBackup(data.path(), drive.filePath("arhivkpl"));
    QVERIFY(!report.done);
    QCOMPARE(report.messages, QStringList{});
}

void TestBackupCopy::leftoversOfACutOffCopyAreNotCarried()
{
    fixture::Workplace work;
    QVERIFY(work.ok());
    fixture::writeFile(work.dataDir() + "/kk.dbf.kp-new", "half a table");
    QVERIFY(maintenance::copyToBackup(work.dataDir(), work.backupDir()).done);
    QVERIFY(!QFile::exists(work.backupDir() + "/kk.dbf.kp-new"));
    QVERIFY(QFile::exists(work.backupDir() + "/kk.dbf"));
}

QTEST_APPLESS_MAIN(TestBackupCopy)
#include "tst_backupcopy.moc"
