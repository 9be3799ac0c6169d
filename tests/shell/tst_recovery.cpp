// Crash markers and recovery from the backup copy folder at start-up.
#include "folderfiles.h"

#include "shell/crashrecovery.h"

#include <QtTest>

using foldertest::readFile;
using foldertest::writeFile;
using shell::StartDecision;

namespace
{

const QString kWarning = QStringLiteral("Программа была закончена некорректно. Если система "
                                        "снимет задачу, повторите ее запуск. Мы попробуем "
                                        "починить данные.");
const QString kNoBackup = QStringLiteral("Нет архива... Восстановление невозможно.");
const QString kAskSupplier = QStringLiteral("Если данные сильно испорчены или программа не "
                                            "запускается - обратитесь к поставщику программы....");
const QString kRestored = QStringLiteral("Восстановление с копии завершено...");
const QString kNoDataDir = QStringLiteral("Папка базы данных не создается... обратитесь к "
                                          "поставщику программы....");

enum class Backup { Missing, Empty, WithFiles };
enum class Data { Present, Missing, Blocked };

} // namespace

class TestRecovery final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void markerStates_data();
    void markerStates();
    void fileThatCannotBeCopied();

private:
    shell::WorkingFolder folder() const { return {QDir(work_->path())}; }
    void prepare(bool first, bool second, Backup backup, Data data);

    std::unique_ptr<QTemporaryDir> work_;
    QStringList shown_;
    shell::MessageSink sink_ = [this](const QString &text) { shown_.append(text); };
};

void TestRecovery::init()
{
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    shown_.clear();
}

void TestRecovery::prepare(bool first, bool second, Backup backup, Data data)
{
    const shell::WorkingFolder f = folder();
    if (first)
        writeFile(f.firstMarker(), "k\r\n");
    if (second)
        writeFile(f.secondMarker(), "k\r\n");
    if (backup != Backup::Missing)
        QVERIFY(QDir().mkpath(f.backupDir()));
    if (backup == Backup::WithFiles) {
        writeFile(f.backupDir() + "/pit.dbf", "saved pit");
        writeFile(f.backupDir() + "/cons.txt", "saved cons");
        QVERIFY(QDir().mkpath(f.backupDir() + "/nested"));
        writeFile(f.backupDir() + "/nested/deep.txt", "not copied");
    }
    if (data == Data::Present) {
        QVERIFY(QDir().mkpath(f.dataDir()));
        writeFile(f.dataDir() + "/pit.dbf", "broken pit");
        writeFile(f.dataDir() + "/kk.dbf", "only here");
    } else if (data == Data::Blocked) {
        writeFile(f.dataDir(), "a plain file where the data folder belongs");
    }
}

void TestRecovery::markerStates_data()
{
    QTest::addColumn<bool>("first");
    QTest::addColumn<bool>("second");
    QTest::addColumn<Backup>("backup");
    QTest::addColumn<Data>("data");
    QTest::addColumn<StartDecision>("decision");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QByteArray>("pitAfter"); // itog3/pit.dbf after the start

    const QByteArray broken = "broken pit";
    const QByteArray saved = "saved pit";
    QTest::newRow("no marker: normal start") << false << false << Backup::WithFiles << Data::Present
                                             << StartDecision::Go << QStringList{} << broken;
    QTest::newRow("first marker: warning, data untouched")
        << true << false << Backup::WithFiles << Data::Present << StartDecision::Go
        << QStringList{kWarning} << broken;
    QTest::newRow("both markers, no backup folder")
        << true << true << Backup::Missing << Data::Present << StartDecision::Go
        << QStringList{kNoBackup, kAskSupplier} << broken;
    QTest::newRow("both markers: restore") << true << true << Backup::WithFiles << Data::Present
                                           << StartDecision::Go << QStringList{kRestored} << saved;
    QTest::newRow("both markers, empty backup: nothing copied, still reported")
        << true << true << Backup::Empty << Data::Present << StartDecision::Go
        << QStringList{kRestored} << broken;
    QTest::newRow("both markers, data folder missing: created and filled")
        << true << true << Backup::WithFiles << Data::Missing << StartDecision::Go
        << QStringList{kRestored} << saved;
    QTest::newRow("both markers, data folder cannot be created: stop")
        << true << true << Backup::WithFiles << Data::Blocked << StartDecision::Terminate
        << QStringList{kNoDataDir} << QByteArray("<none>");
}

// The state table of the markers: what each start shows, touches and leaves behind.
void TestRecovery::markerStates()
{
    QFETCH(bool, first);
    QFETCH(bool, second);
    QFETCH(Backup, backup);
    QFETCH(Data, data);
    QFETCH(StartDecision, decision);
    QFETCH(QStringList, messages);
    QFETCH(QByteArray, pitAfter);

    prepare(first, second, backup, data);
    const shell::WorkingFolder f = folder();
    QCOMPARE(shell::checkMarkersAndRecover(f, sink_), decision);
    QCOMPARE(shown_, messages);
    QCOMPARE(readFile(f.dataDir() + "/pit.dbf"), pitAfter);

    // Markers after the start: the first always, the second once a warning was given.
    QCOMPARE(readFile(f.firstMarker()), QByteArray("k\r\n"));
    QCOMPARE(QFileInfo::exists(f.secondMarker()), first);
    if (data == Data::Present)
        QCOMPARE(readFile(f.dataDir() + "/kk.dbf"), QByteArray("only here"));
    if (pitAfter == "saved pit") {
        QCOMPARE(readFile(f.dataDir() + "/cons.txt"), QByteArray("saved cons"));
        QVERIFY(!QFileInfo::exists(f.dataDir() + "/nested"));
    }
}

// A file that cannot be copied is named, the others are still copied, and the restore
// still reports completion.
void TestRecovery::fileThatCannotBeCopied()
{
    prepare(true, true, Backup::WithFiles, Data::Present);
    const shell::WorkingFolder f = folder();
    writeFile(f.backupDir() + "/sir.dbf", "saved sir");
    QVERIFY(QDir().mkpath(f.dataDir() + "/cons.txt")); // a folder where the file goes

    QCOMPARE(shell::checkMarkersAndRecover(f, sink_), StartDecision::Go);
    QCOMPARE(shown_, (QStringList{QStringLiteral("cons.txt не скопирован"), kRestored}));
    QCOMPARE(readFile(f.dataDir() + "/pit.dbf"), QByteArray("saved pit"));
    QCOMPARE(readFile(f.dataDir() + "/sir.dbf"), QByteArray("saved sir"));
}

QTEST_APPLESS_MAIN(TestRecovery)
#include "tst_recovery.moc"
