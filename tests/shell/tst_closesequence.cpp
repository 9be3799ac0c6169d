// The close of the main window: backup copy, markers, archive tables without deleted
// recipes (the rewrite's failures are tested with the archive).
#include "archive/archivecompaction.h"
#include "platform/filereplace.h"
#include "shell/closesequence.h"
#include "store/table.h"

#include <QtTest>

using archive::CompactionOutcome;
using store::FieldDef;
using store::Table;

namespace
{

const QStringList kArchiveNames{"arkk", "arsir", "arpit", "arprem"};

// A row of an archive table: recipe number, name, weight (blank when NaN), a flag.
struct Row {
    int arnom;
    QString naim;
    double ves;
    bool kn1;
};

const QList<Row> kRows{{1, "ПК-5 Старт", 12.5, true},
                       {2, "ПК-6 удаленный", 3.25, false},
                       {3, "СК-11 Рост", qQNaN(), false},
                       {2, "ПК-6 удаленный, строка 2", 1, true}};

void writeArchiveTable(const QString &path, const QList<int> &deleted)
{
    Table table;
    table.setFileName(path);
    table.create(
        {{"ARNOM", 'N', 5, 0}, {"naim", 'C', 40, 0}, {"ves", 'N', 10, 3}, {"kn1", 'L', 1, 0}});
    table.open();
    for (const Row &row : kRows) {
        table.append();
        table.setValue("arnom", deleted.contains(row.arnom) ? -1 : row.arnom);
        table.setValue("naim", row.naim);
        table.setValue("ves", qIsNaN(row.ves) ? QVariant() : QVariant(row.ves));
        table.setValue("kn1", row.kn1);
        table.post();
    }
    table.close();
}

// The rows of a table file: "arnom|naim|ves|kn1", ves "-" when blank.
QStringList rowsOf(const QString &path)
{
    Table table;
    table.setFileName(path);
    table.open();
    QStringList rows;
    for (table.first(); !table.eof(); table.next()) {
        const QString ves =
            table.isBlank("ves") ? QStringLiteral("-") : QString::number(table.number("ves"));
        rows << QStringLiteral("%1|%2|%3|%4")
                    .arg(table.integer("arnom"))
                    .arg(table.text("naim"), ves, table.logical("kn1") ? "t" : "f");
    }
    table.close();
    return rows;
}

const QStringList kAllRows{"1|ПК-5 Старт|12.5|t", "-1|ПК-6 удаленный|3.25|f", "3|СК-11 Рост|-|f",
                           "-1|ПК-6 удаленный, строка 2|1|t"};
const QStringList kLiveRows{"1|ПК-5 Старт|12.5|t", "3|СК-11 Рост|-|f"};

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

private:
    QString dataFile(const QString &name) const { return folder_.dataDir() + "/" + name; }
    CompactionOutcome compact();

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
    Table scratch("Table10");
    const archive::ArchiveCursors cursors{nullptr, cursors_[0].get(), cursors_[1].get(),
                                          cursors_[2].get(), cursors_[3].get()};
    const auto replace = [](const QString &from, const QString &to) {
        return platform::replaceFile(from, to);
    };
    const CompactionOutcome outcome = archive::compactArchiveTables(cursors, scratch, replace);
    archive::reportCompaction(outcome, sink_);
    return outcome;
}

// A deleted recipe (arnom -1) is absent from the archive tables after a normal close
// but present in arhiv; the markers are gone; every field of a kept row survives.
void TestCloseSequence::deletedRecipeGoneButKeptInBackup()
{
    shell::backupDataDirectory(folder_, sink_);
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
    shell::backupDataDirectory(folder_, sink_);
    QCOMPARE(shown_, QStringList{QStringLiteral("Папка архива не создается...")});
}

// One file that cannot be copied is named; the rest of the copy goes on.
void TestCloseSequence::backupFileNotCopied()
{
    QVERIFY(QDir().mkpath(folder_.backupDir() + "/cons.txt"));
    shell::backupDataDirectory(folder_, sink_);
    QCOMPARE(shown_, QStringList{QStringLiteral("cons.txt не скопирован")});
    for (const QString &name : kArchiveNames)
        QCOMPARE(rowsOf(folder_.backupDir() + "/" + name + ".dbf"), kAllRows);
}

QTEST_APPLESS_MAIN(TestCloseSequence)
#include "tst_closesequence.moc"
