// The close of the main window: backup copy, markers, archive tables without deleted
// recipes (the rewrite's failures are tested with the archive), and what a kill half-way
// leaves for the next start.
#include "archive/archivecompaction.h"
#include "archivesample.h"
#include "platform/filereplace.h"
#include "shell/backupswitch.h"
#include "shell/closesequence.h"
#include "store/table.h"

#include "folderfiles.h"

#include <QtTest>

using archive::CompactionOutcome;
using store::FieldDef;
using store::Table;
using namespace archivesample;

namespace
{

using foldertest::Files;
using foldertest::filesIn;
using foldertest::writeFile;

const QString kKeptOld = QStringLiteral("Копия данных в папке arhiv не обновлена: в ней осталась "
                                        "копия, сделанная при прошлом нормальном завершении "
                                        "программы.");

} // namespace

class TestCloseSequence final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void deletedRecipeGoneButKeptInBackup();
    void backupFolderCannotBeCreated();
    void backupFileNotCopied();
    void damagedTableKeepsOldBackup_data();
    void damagedTableKeepsOldBackup();
    void backupTakesOnlyProgramFiles();
    void startSettlesInterruptedSwitch_data();
    void startSettlesInterruptedSwitch();
    void startRemovesLeftovers();

private:
    QString dataFile(const QString &name) const { return folder_.dataDir() + "/" + name; }
    CompactionOutcome compact();
    void makeOldBackup();

    std::unique_ptr<QTemporaryDir> work_;
    shell::WorkingFolder folder_;
    std::vector<std::unique_ptr<Table>> cursors_;
    QStringList shown_;
    shell::MessageSink sink_ = [this](const QString &text) { shown_.append(text); };
};

void TestCloseSequence::init()
{
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    folder_ = {QDir(work_->path())};
    QVERIFY(QDir().mkpath(folder_.dataDir()));
    for (const QString &name : kArchiveNames)
        writeArchiveTable(dataFile(name + ".dbf"), {2});
    for (const char *name : {"pit.dbf", "kk.dbf", "sir.dbf", "norm.dbf", "order.dbf"}) {
        Table table;
        table.setFileName(dataFile(name));
        table.create({{"order", 'N', 5, 0}});
    }
    QFile cons(dataFile("cons.txt"));
    QVERIFY(cons.open(QIODevice::WriteOnly));
    cons.write("settings\r\n");
    cons.close();
    for (const QString &marker : {folder_.firstMarker(), folder_.secondMarker()}) {
        QFile file(marker);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    cursors_.clear();
    for (const QString &name : kArchiveNames) {
        cursors_.push_back(std::make_unique<Table>(name));
        cursors_.back()->setFileName(dataFile(name + ".dbf"));
        cursors_.back()->open();
        cursors_.back()->setFilter("arnom>0");
        cursors_.back()->setFiltered(true);
    }
    shown_.clear();
}

void TestCloseSequence::cleanup()
{
    cursors_.clear();
}

CompactionOutcome TestCloseSequence::compact()
{
    Table scratch("scratch");
    const archive::ArchiveCursors cursors{nullptr, cursors_[0].get(), cursors_[1].get(),
                                          cursors_[2].get(), cursors_[3].get()};
    const auto replace = [](const QString &from, const QString &to) {
        return platform::replaceFile(from, to);
    };
    const CompactionOutcome outcome = archive::compactArchiveTables(cursors, scratch, replace);
    archive::reportCompaction(outcome, folder_.dataDir(), sink_);
    return outcome;
}

// A backup copy from an earlier close: every file of the data directory, marked "old".
void TestCloseSequence::makeOldBackup()
{
    QVERIFY(QDir().mkpath(folder_.backupDir()));
    for (const QString &name : QDir(folder_.dataDir()).entryList(QDir::Files))
        QVERIFY(QFile::copy(dataFile(name), folder_.backupDir() + "/" + name));
    writeFile(folder_.backupDir() + "/cons.txt", "old settings\r\n");
}

// A deleted recipe (arnom -1) is absent from the archive tables after a normal close
// but present in arhiv; the markers are gone; every field of a kept row survives.
void TestCloseSequence::deletedRecipeGoneButKeptInBackup()
{
    shell::replaceBackupCopy(folder_, sink_);
    shell::removeMarkers(folder_);
    QCOMPARE(compact(), CompactionOutcome::Done);
    QVERIFY(shown_.isEmpty());

    for (const QString &name : kArchiveNames) {
        QCOMPARE(rowsOf(dataFile(name + ".dbf")), kLiveRows);
        QCOMPARE(rowsOf(folder_.backupDir() + "/" + name + ".dbf"), kAllRows);
        QVERIFY(!QFileInfo::exists(dataFile(name + "2.dbf")));
    }
    QVERIFY(QFileInfo::exists(folder_.backupDir() + "/cons.txt"));
    QVERIFY(!QFileInfo::exists(folder_.firstMarker()));
    QVERIFY(!QFileInfo::exists(folder_.secondMarker()));
}

void TestCloseSequence::backupFolderCannotBeCreated()
{
    QFile blocker(folder_.backupDir());
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a plain file named arhiv
    blocker.close();
    shell::replaceBackupCopy(folder_, sink_);
    QCOMPARE(shown_, QStringList{QStringLiteral("Папка архива не создается...")});
}

// A file that cannot be copied is named, and the old backup copy stays whole and alone.
void TestCloseSequence::backupFileNotCopied()
{
    makeOldBackup();
    const Files old = filesIn(folder_.backupDir());
    QVERIFY(QFile::remove(dataFile("cons.txt")));
    QVERIFY(QFile::link(dataFile("gone.txt"), dataFile("cons.txt"))); // cannot be read
    shell::replaceBackupCopy(folder_, sink_);
    QCOMPARE(shown_, (QStringList{QStringLiteral("cons.txt не скопирован"), kKeptOld}));
    QCOMPARE(filesIn(folder_.backupDir()), old);
    QCOMPARE(QDir(work_->path()).entryList({"arhiv*"}, QDir::AllEntries), QStringList{"arhiv"});
}

void TestCloseSequence::damagedTableKeepsOldBackup_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("remove"); // else truncated to a third
    QTest::newRow("kk truncated") << "kk.dbf" << false;
    QTest::newRow("arsir truncated") << "arsir.dbf" << false;
    QTest::newRow("norm missing") << "norm.dbf" << true;
}

// A table that does not read back whole is never copied over the good backup: the old
// copy stays as it was, and the message names the table and says the copy was kept.
void TestCloseSequence::damagedTableKeepsOldBackup()
{
    QFETCH(QString, table);
    QFETCH(bool, remove);
    makeOldBackup();
    const Files old = filesIn(folder_.backupDir());
    QFile file(dataFile(table));
    QVERIFY(remove ? file.remove() : file.resize(file.size() / 3));
    shell::replaceBackupCopy(folder_, sink_);
    QCOMPARE(shown_.size(), 1);
    QVERIFY2(shown_.first().contains(table), qPrintable(shown_.first()));
    QVERIFY2(shown_.first().endsWith(kKeptOld), qPrintable(shown_.first()));
    QCOMPARE(filesIn(folder_.backupDir()), old);
    QCOMPARE(QDir(work_->path()).entryList({"arhiv*"}, QDir::AllEntries), QStringList{"arhiv"});
}

// Leftovers of an interrupted rewrite, half-done copies and strangers stay out of arhiv;
// a file that exists only in the old copy is gone with it.
void TestCloseSequence::backupTakesOnlyProgramFiles()
{
    makeOldBackup();
    writeFile(folder_.backupDir() + "/arsir2.dbf", "from an old close");
    for (const char *stray : {"arkk2.dbf", "arkk2.new.dbf", "kk.dbf.kp-new", "notes.doc"})
        writeFile(dataFile(stray), "stray");
    QVERIFY(shell::replaceBackupCopy(folder_, sink_));
    QCOMPARE(shown_, QStringList());
    Files expected = filesIn(folder_.dataDir());
    for (const char *stray : {"arkk2.dbf", "arkk2.new.dbf", "kk.dbf.kp-new", "notes.doc"})
        expected.remove(stray);
    QCOMPARE(filesIn(folder_.backupDir()), expected);
}

void TestCloseSequence::startSettlesInterruptedSwitch_data()
{
    // Folders present when the close was killed, each holding a copy marked by its name;
    // the copy arhiv must hold after the start.
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("expected");
    QTest::newRow("killed while copying") << QStringList{"arhiv", "arhiv.tmp"} << "arhiv";
    QTest::newRow("first close killed while copying") << QStringList{"arhiv.tmp"} << "";
    QTest::newRow("new copy complete") << QStringList{"arhiv", "arhiv.new"} << "arhiv.new";
    QTest::newRow("old moved aside") << QStringList{"arhiv.old", "arhiv.new"} << "arhiv.new";
    QTest::newRow("old being removed") << QStringList{"arhiv", "arhiv.old"} << "arhiv";
    QTest::newRow("only the old left") << QStringList{"arhiv.old"} << "arhiv.old";
    QTest::newRow("first close, new complete") << QStringList{"arhiv.new"} << "arhiv.new";
}

// Whatever moment of the switch a kill hit, the start leaves one arhiv holding one whole
// copy (the newest complete one) and none of the other folders.
void TestCloseSequence::startSettlesInterruptedSwitch()
{
    QFETCH(QStringList, present);
    QFETCH(QString, expected);
    const QDir root(work_->path());
    for (const QString &name : present) {
        QVERIFY(root.mkpath(name));
        writeFile(root.filePath(name + "/pit.dbf"), name.toUtf8());
        writeFile(root.filePath(name + "/kk.dbf"), name.toUtf8());
    }
    shell::tidyAfterInterruptedClose(folder_);
    const QStringList left = root.entryList({"arhiv*"}, QDir::AllEntries);
    if (expected.isEmpty()) {
        QCOMPARE(left, QStringList());
        return;
    }
    QCOMPARE(left, QStringList{"arhiv"});
    const Files copy = filesIn(folder_.backupDir());
    QCOMPARE(copy.keys(), (QStringList{"kk.dbf", "pit.dbf"}));
    QCOMPARE(copy.value("pit.dbf"), expected.toUtf8());
    QCOMPARE(copy.value("kk.dbf"), expected.toUtf8());
}

// The new files of an interrupted rewrite and half-done copies go at start; the tables
// and files that are not the program's leftovers stay.
void TestCloseSequence::startRemovesLeftovers()
{
    const QStringList leftovers{"arkk2.dbf",       "arsir2.dbf",    "arpit2.new.dbf",
                                "arprem2.dbf",     "kk.dbf.kp-new", "cons.txt.kp-new",
                                "arkk2.dbf.kp-new"};
    for (const QString &name : leftovers)
        writeFile(dataFile(name), "left");
    writeFile(dataFile("notes.doc"), "the user's");
    const Files before = filesIn(folder_.dataDir());
    shell::tidyAfterInterruptedClose(folder_);
    Files expected = before;
    for (const QString &name : leftovers)
        expected.remove(name);
    QCOMPARE(filesIn(folder_.dataDir()), expected);
}

QTEST_APPLESS_MAIN(TestCloseSequence)
#include "tst_closesequence.moc"
