// Backup and restore from the typed letter to the result message, over the data module of
// a running program and a folder standing for drive E.
#include "maintenance/backuprestore.h"

#include "maintenancefixture.h"
#include "platform/driveletters.h"
#include "store/table.h"

#include <QtTest>

using maintenance::OperationResult;
using Outcome = maintenance::OperationResult::Outcome;

class TestBackupRestore final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fieldWithoutLatinLetter_data();
    void fieldWithoutLatinLetter();
    void backupToADriveThatDoesNotAnswer();
    void restoreFromADriveWithoutBackup_data();
    void restoreFromADriveWithoutBackup();
    void roundTripShowsTheOldValue();
    void failedRestoreKeepsTablesAndLists();
    void backupIntoAFolderThatCannotBeMade();

private:
    OperationResult backup(const QString &field)
    {
        return maintenance::runBackup(*dm_, *drives_, field);
    }
    OperationResult restore(const QString &field)
    {
        return maintenance::runRestore(*dm_, *drives_, field);
    }
    // The price of the raw material at list position 3, read through the shared cursor.
    double thirdPrice()
    {
        dm_->Table3.first();
        dm_->Table3.findKey(3);
        return dm_->Table3.number("MI1");
    }

    std::unique_ptr<fixture::Workplace> work_;
    std::unique_ptr<platform::FolderDrives> drives_;
    store::TDataModule2 *dm_ = nullptr;
};

void TestBackupRestore::init()
{
    work_ = std::make_unique<fixture::Workplace>();
    QVERIFY(work_->ok());
    drives_ = std::make_unique<platform::FolderDrives>(
        QMap<QChar, QString>{{u'E', work_->drive()}, {u'Z', work_->root() + "/unplugged"}});
    dm_ = work_->open();
    QVERIFY(dm_);
}

void TestBackupRestore::cleanup()
{
    dm_ = nullptr;
    work_.reset();
}

void TestBackupRestore::fieldWithoutLatinLetter_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("empty") << "";
    QTest::newRow("cyrillic") << "Е";
    QTest::newRow("digit") << "5";
}

// Neither operation goes further than the letter: no folder on the drive, tables open.
void TestBackupRestore::fieldWithoutLatinLetter()
{
    QFETCH(QString, field);
    for (const OperationResult &result : {backup(field), restore(field)}) {
        QCOMPARE(result.outcome, Outcome::BadLetter);
        QCOMPARE(result.messages, QStringList{"Введите одну латинскую букву..."});
    }
    QVERIFY(!QFileInfo::exists(work_->backupDir()));
    QVERIFY(dm_->Table3.isOpen());
}

void TestBackupRestore::backupToADriveThatDoesNotAnswer()
{
    for (const char *field : {"Z", "q"}) { // mapped to nothing there; no drive at all
        const auto result = backup(field);
        QCOMPARE(result.outcome, Outcome::NoBackup);
        QCOMPARE(result.messages,
                 QStringList{"Резервный носитель не установлен или неисправен..."});
    }
}

void TestBackupRestore::restoreFromADriveWithoutBackup_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("folderWithoutPit");
    QTest::newRow("empty drive") << "e" << false;
    QTest::newRow("backup folder without pit.dbf") << "E" << true;
    QTest::newRow("no such drive") << "Q" << false;
}

// Refused with the long message before any table is closed; nothing in itog3 changes.
void TestBackupRestore::restoreFromADriveWithoutBackup()
{
    QFETCH(QString, field);
    QFETCH(bool, folderWithoutPit);
    if (folderWithoutPit) {
        QVERIFY(maintenance::runBackup(*dm_, *drives_, "E").outcome == Outcome::Done);
        QVERIFY(QFile::remove(work_->backupDir() + "/pit.dbf"));
        fixture::writeFile(work_->backupDir() + "/cons.txt", "not to be restored\r\n");
    }
    const auto before = fixture::snapshot(work_->dataDir());
    dm_->Table2.moveTo(1);
    const auto result = restore(field);
    QCOMPARE(result.outcome, Outcome::NoBackup);
    QCOMPARE(result.messages, QStringList{"Резервный носитель не установлен или неисправен или "
                                          "не содержит резервной копии..."});
    QCOMPARE(fixture::snapshot(work_->dataDir()), before);
    QCOMPARE(dm_->Table2.viewPosition(), 1); // the tables were never closed
}

// Back up to E, change a price, restore: the shared cursor shows the old price at once,
// the lists keep their ranges and records.
void TestBackupRestore::roundTripShowsTheOldValue()
{
    const double price = thirdPrice();
    auto result = backup("e");
    QCOMPARE(result.messages, QStringList{"Резервная копия создана!"});
    QCOMPARE(result.outcome, Outcome::Done);
    QCOMPARE(fixture::snapshot(work_->backupDir()), fixture::snapshot(work_->dataDir()));

    dm_->Table3.setNumber("MI1", price + 1000);
    dm_->Table3.post();
    QCOMPARE(thirdPrice(), price + 1000);
    dm_->Table2.moveTo(2);
    const int feedOrder = dm_->Table2.integer("order");

    result = restore("E");
    QCOMPARE(result.messages, QStringList{"Данные восстановлены!"});
    QCOMPARE(result.outcome, Outcome::Done);
    QCOMPARE(dm_->Table3.integer("order"), 3);
    QCOMPARE(dm_->Table3.number("MI1"), price);
    QCOMPARE(dm_->Table2.integer("order"), feedOrder);
    QCOMPARE(dm_->Table1.viewCount(), dm_->pitCount());
    QCOMPARE(dm_->Table2.viewCount(), dm_->kkCount());
    QCOMPARE(dm_->Table3.viewCount(), dm_->sirCount());
}

// An unreadable file in the backup: the restore fails naming it, every table keeps its
// bytes, and the cursors are open on what they showed.
void TestBackupRestore::failedRestoreKeepsTablesAndLists()
{
    QCOMPARE(backup("E").outcome, Outcome::Done);
    fixture::makeUnreadable(work_->backupDir() + "/kk.dbf");
    thirdPrice();
    dm_->Table3.setNumber("MI1", 777);
    dm_->Table3.post();
    const auto before = fixture::snapshot(work_->dataDir());

    const auto result = restore("E");
    QCOMPARE(result.outcome, Outcome::Failed);
    QCOMPARE(result.messages, (QStringList{"kk.dbf не скопирован", "Данные НЕ ВОССТАНОВЛЕНЫ!!"}));
    QCOMPARE(fixture::snapshot(work_->dataDir()), before);
    QCOMPARE(thirdPrice(), 777.0);
}

void TestBackupRestore::backupIntoAFolderThatCannotBeMade()
{
    fixture::writeFile(work_->backupDir(), "a file named like the folder");
    const auto result = backup("E");
    QCOMPARE(result.outcome, Outcome::Failed);
    QCOMPARE(result.messages, (QStringList{"Папка резервной копии не создается...",
                                           "Резервная копия НЕ создана!!"}));
    QVERIFY(dm_->Table3.isOpen());
}

QTEST_APPLESS_MAIN(TestBackupRestore)
#include "tst_backuprestore.moc"
