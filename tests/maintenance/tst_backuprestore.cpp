// Backup and restore from the chosen volume or folder to the result message, over the
// data module of a running program and a folder standing for a stick.
#include "maintenance/backuprestore.h"

#include "maintenancefixture.h"
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
    void foldersOfAChoice_data();
    void foldersOfAChoice();
    void backupToADriveThatDoesNotAnswer();
    void restoreFromADriveWithoutBackup_data();
    void restoreFromADriveWithoutBackup();
    void roundTripShowsTheOldValue();
    void failedRestoreKeepsTablesAndLists();
    void backupIntoAFolderThatCannotBeMade();

private:
    OperationResult backup(const QString &chosen) { return maintenance::runBackup(*dm_, chosen); }
    OperationResult restore(const QString &chosen) { return maintenance::runRestore(*dm_, chosen); }
    QString stick() const { return work_->drive(); }
    QString unplugged() const { return work_->root() + "/unplugged"; }
    // The price of the raw material at list position 3, read through the shared cursor.
    double thirdPrice()
    {
        dm_->rawMaterials.first();
        dm_->rawMaterials.findKey(3);
        return dm_->rawMaterials.number("MI1");
    }

    std::unique_ptr<fixture::Workplace> work_;
    store::DataModule *dm_ = nullptr;
};

void TestBackupRestore::init()
{
    work_ = std::make_unique<fixture::Workplace>();
    QVERIFY(work_->ok());
    dm_ = work_->open();
    QVERIFY(dm_);
}

void TestBackupRestore::cleanup()
{
    dm_ = nullptr;
    work_.reset();
}

void TestBackupRestore::foldersOfAChoice_data()
{
    QTest::addColumn<QString>("chosen"); // under the work folder; empty: nothing chosen
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("source"); // before and after a backup there
    QTest::addColumn<QString>("sourceAfter");
    QTest::newRow("stick") << "stick"
                           << "stick/arhivkpl"
                           << ""
                           << "stick/arhivkpl";
    QTest::newRow("its backup folder chosen itself") << "stick/arhivkpl"
                                                     << "stick/arhivkpl"
                                                     << ""
                                                     << "stick/arhivkpl";
    QTest::newRow("a data folder holds pit.dbf itself") << "itog3"
                                                        << "itog3/arhivkpl"
                                                        << "itog3"
                                                        << "itog3/arhivkpl";
    QTest::newRow("nothing chosen") << ""
                                    << ""
                                    << ""
                                    << "";
}

// Where a backup onto a choice goes and where a restore from it reads.
void TestBackupRestore::foldersOfAChoice()
{
    QFETCH(QString, chosen);
    QFETCH(QString, target);
    QFETCH(QString, source);
    QFETCH(QString, sourceAfter);
    const auto path = [this](const QString &p) {
        return p.isEmpty() ? p : work_->root() + '/' + p;
    };
    QCOMPARE(maintenance::backupTarget(path(chosen)), path(target));
    QCOMPARE(maintenance::backupSource(path(chosen)), path(source));
    if (chosen.isEmpty())
        return;
    QDir().mkpath(path(chosen));
    QCOMPARE(backup(path(chosen)).outcome, Outcome::Done);
    QCOMPARE(maintenance::backupSource(path(chosen)), path(sourceAfter));
    QVERIFY(!QFileInfo::exists(path(target) + "/arhivkpl"));
}

void TestBackupRestore::backupToADriveThatDoesNotAnswer()
{
    for (const QString &chosen : {unplugged(), QString()}) {
        const auto result = backup(chosen);
        QCOMPARE(result.outcome, Outcome::NoBackup);
        QCOMPARE(result.messages,
                 QStringList{"Резервный носитель не установлен или неисправен..."});
    }
}

void TestBackupRestore::restoreFromADriveWithoutBackup_data()
{
    QTest::addColumn<QString>("chosen"); // under the work folder; empty: nothing chosen
    QTest::addColumn<bool>("folderWithoutPit");
    QTest::newRow("empty stick") << "stick" << false;
    QTest::newRow("backup folder without pit.dbf") << "stick" << true;
    QTest::newRow("unplugged") << "unplugged" << false;
    QTest::newRow("nothing chosen") << "" << false;
}

// Refused with the long message before any table is closed; nothing in itog3 changes.
void TestBackupRestore::restoreFromADriveWithoutBackup()
{
    QFETCH(QString, chosen);
    QFETCH(bool, folderWithoutPit);
    if (folderWithoutPit) {
        QVERIFY(backup(stick()).outcome == Outcome::Done);
        QVERIFY(QFile::remove(work_->backupDir() + "/pit.dbf"));
        fixture::writeFile(work_->backupDir() + "/cons.txt", "not to be restored\r\n");
    }
    const auto before = fixture::snapshot(work_->dataDir());
    dm_->feedTypes.moveTo(1);
    const auto result = restore(chosen.isEmpty() ? chosen : work_->root() + '/' + chosen);
    QCOMPARE(result.outcome, Outcome::NoBackup);
    QCOMPARE(result.messages, QStringList{"Резервный носитель не установлен или неисправен или "
                                          "не содержит резервной копии..."});
    QCOMPARE(fixture::snapshot(work_->dataDir()), before);
    QCOMPARE(dm_->feedTypes.viewPosition(), 1); // the tables were never closed
}

// Back up to the stick, change a price, restore: the shared cursor shows the old price at once,
// the lists keep their ranges and records.
void TestBackupRestore::roundTripShowsTheOldValue()
{
    const double price = thirdPrice();
    auto result = backup(stick());
    QCOMPARE(result.messages, QStringList{"Резервная копия создана!"});
    QCOMPARE(result.outcome, Outcome::Done);
    QCOMPARE(fixture::snapshot(work_->backupDir()), fixture::snapshot(work_->dataDir()));

    dm_->rawMaterials.setNumber("MI1", price + 1000);
    dm_->rawMaterials.post();
    QCOMPARE(thirdPrice(), price + 1000);
    dm_->feedTypes.moveTo(2);
    const int feedOrder = dm_->feedTypes.integer("order");

    result = restore(stick());
    QCOMPARE(result.messages, QStringList{"Данные восстановлены!"});
    QCOMPARE(result.outcome, Outcome::Done);
    QCOMPARE(dm_->rawMaterials.integer("order"), 3);
    QCOMPARE(dm_->rawMaterials.number("MI1"), price);
    QCOMPARE(dm_->feedTypes.integer("order"), feedOrder);
    QCOMPARE(dm_->characteristics.viewCount(), dm_->pitCount());
    QCOMPARE(dm_->feedTypes.viewCount(), dm_->kkCount());
    QCOMPARE(dm_->rawMaterials.viewCount(), dm_->sirCount());
}

// An unreadable file in the backup: the restore fails naming it, every table keeps its
// bytes, and the cursors are open on what they showed.
void TestBackupRestore::failedRestoreKeepsTablesAndLists()
{
    QCOMPARE(backup(stick()).outcome, Outcome::Done);
    fixture::makeUnreadable(work_->backupDir() + "/kk.dbf");
    thirdPrice();
    dm_->rawMaterials.setNumber("MI1", 777);
    dm_->rawMaterials.post();
    const auto before = fixture::snapshot(work_->dataDir());

    const auto result = restore(stick());
    QCOMPARE(result.outcome, Outcome::Failed);
    QCOMPARE(result.messages, (QStringList{"kk.dbf не скопирован", "Данные НЕ ВОССТАНОВЛЕНЫ!!"}));
    QCOMPARE(fixture::snapshot(work_->dataDir()), before);
    QCOMPARE(thirdPrice(), 777.0);
}

void TestBackupRestore::backupIntoAFolderThatCannotBeMade()
{
    fixture::writeFile(work_->backupDir(), "a file named like the folder");
    const auto result = backup(stick());
    QCOMPARE(result.outcome, Outcome::Failed);
    QCOMPARE(result.messages, (QStringList{"Папка резервной копии не создается...",
                                           "Резервная копия НЕ создана!!"}));
    QVERIFY(dm_->rawMaterials.isOpen());
}

QTEST_APPLESS_MAIN(TestBackupRestore)
#include "tst_backuprestore.moc"
