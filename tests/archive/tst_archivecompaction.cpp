// The rewrite of the archive tables without deleted recipes, and what a failure half-way
// leaves on disk.
#include "archive/archivecompaction.h"
#include "archivesample.h"
#include "store/table.h"

#include <QtTest>

using archive::CompactionOutcome;
using store::FieldDef;
using store::Table;
using namespace archivesample;

namespace
{

const QString kRecipesKept = QStringLiteral(" Рецепты архива целы; удаленные уйдут из файлов "
                                            "при следующем закрытии программы.");

} // namespace

// Renames over the target as the desktop's replace does (the target goes first).
bool renameOver(const QString &from, const QString &to)
{
    QFile::remove(to);
    return QFile::rename(from, to);
}

class TestArchiveCompaction final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void deletedRecipesGoneEveryFieldKept();
    void tableThatCannotBeWrittenStaysWhole();
    void failedRenameStopsAndLeavesOldTables();

private:
    QString dataFile(const QString &name) const { return work_->filePath(name); }
    CompactionOutcome compact(const archive::FileReplacer &replace = renameOver);

    std::unique_ptr<QTemporaryDir> work_;
    std::vector<std::unique_ptr<Table>> cursors_;
    QStringList shown_;
};

void TestArchiveCompaction::init()
{
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    for (const QString &name : kArchiveNames)
        writeArchiveTable(dataFile(name + ".dbf"), {2});
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

void TestArchiveCompaction::cleanup()
{
    cursors_.clear();
}

CompactionOutcome TestArchiveCompaction::compact(const archive::FileReplacer &replace)
{
    Table scratch("scratch");
    const archive::ArchiveCursors cursors{nullptr, cursors_[0].get(), cursors_[1].get(),
                                          cursors_[2].get(), cursors_[3].get()};
    const CompactionOutcome outcome = archive::compactArchiveTables(cursors, scratch, replace);
    archive::reportCompaction(outcome, work_->path(),
                              [this](const QString &text) { shown_.append(text); });
    return outcome;
}

// Deleted recipes (arnom -1) are gone from all four tables; every field of a kept row,
// a blank number included, survives; no new file is left beside the tables.
void TestArchiveCompaction::deletedRecipesGoneEveryFieldKept()
{
    QCOMPARE(compact(), CompactionOutcome::Done);
    QVERIFY(shown_.isEmpty());
    for (const QString &name : kArchiveNames) {
        QCOMPARE(rowsOf(dataFile(name + ".dbf")), kLiveRows);
        QVERIFY(!QFileInfo::exists(dataFile(name + "2.dbf")));
    }
}
// When one new file cannot be written, its old table stays as it was (with its deleted
// rows) and the others are still rewritten; the user is told which folder to check.
void TestArchiveCompaction::tableThatCannotBeWrittenStaysWhole()
{
    QVERIFY(QDir().mkpath(dataFile("arpit2.dbf"))); // a folder where the new file goes
    QCOMPARE(compact(), CompactionOutcome::NotWritten);
    QCOMPARE(shown_, QStringList{"Архив рецептов не уплотнен: в папке " + work_->path() +
                                 " не удалось записать новые файлы архива. Проверьте, что в "
                                 "эту папку можно писать и на диске есть место." +
                                 kRecipesKept});
    QCOMPARE(rowsOf(dataFile("arpit.dbf")), kAllRows);
    for (const char *name : {"arkk", "arsir", "arprem"})
        QCOMPARE(rowsOf(dataFile(QString(name) + ".dbf")), kLiveRows);
}

// A rename that fails stops the step: tables already replaced are new, the rest old and
// whole, and no new file is left lying in the data directory.
void TestArchiveCompaction::failedRenameStopsAndLeavesOldTables()
{
    QStringList renamed;
    const auto failOnArsir = [&](const QString &from, const QString &to) {
        if (to.endsWith("arsir.dbf"))
            return false;
        renamed << QFileInfo(to).fileName();
        return renameOver(from, to);
    };
    QCOMPARE(compact(failOnArsir), CompactionOutcome::NotReplaced);
    QCOMPARE(shown_, QStringList{"Архив рецептов не уплотнен: новые файлы архива не удалось "
                                 "поставить на место старых в папке " +
                                 work_->path() + ". Проверьте права на запись в эту папку." +
                                 kRecipesKept});
    QCOMPARE(renamed, QStringList{"arkk.dbf"});
    QCOMPARE(rowsOf(dataFile("arkk.dbf")), kLiveRows);
    for (const char *name : {"arsir", "arpit", "arprem"}) {
        QCOMPARE(rowsOf(dataFile(QString(name) + ".dbf")), kAllRows);
        QVERIFY(!QFileInfo::exists(dataFile(QString(name) + "2.dbf")));
    }
}

QTEST_APPLESS_MAIN(TestArchiveCompaction)
#include "tst_archivecompaction.moc"
