// The tables checked at start: a table that does not read whole, or list counts that do
// not fit their lists, stop the start; the copy in arhiv is offered, taken only when the
// user agrees, and the damaged file is kept.
#include "shell/datacheck.h"
#include "store/table.h"

#include <QtTest>

#include <functional>

using shell::StartDecision;

namespace
{

using Damage = std::function<void(const QString &path)>;

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

void truncateHalf(const QString &path)
{
    QFile file(path);
    QVERIFY(file.resize(file.size() / 2));
}

void removeFile(const QString &path)
{
    QVERIFY(QFile::remove(path));
}

void zeroPitCount(const QString &path)
{
    store::Table order;
    order.setFileName(path);
    order.open();
    order.setValue("pit", 0);
    order.post();
    order.close();
}

// The list position stored as binary ("B") instead of a number.
void orderAsBinary(const QString &path)
{
    QByteArray bytes = bytesOf(path);
    const int at = bytes.indexOf(QByteArray("order\0", 6));
    QVERIFY(at > 0);
    bytes[at + 11] = 'B';
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void copyFolder(const QString &from, const QString &to)
{
    QVERIFY(QDir().mkpath(to));
    for (const QString &name : QDir(from).entryList(QDir::Files))
        QVERIFY(QFile::copy(from + "/" + name, to + "/" + name));
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestDataCheck final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void wholeDataStartsQuietly();
    void damagedFile_data();
    void damagedFile();
    void noCopyInBackup_data();
    void noCopyInBackup();

private:
    QString dataFile(const QString &name) const { return folder_.dataDir() + "/" + name; }
    QString backupFile(const QString &name) const { return folder_.backupDir() + "/" + name; }
    StartDecision check(bool answer);

    std::unique_ptr<QTemporaryDir> work_;
    shell::WorkingFolder folder_;
    QStringList shown_;
    QStringList asked_;
};

void TestDataCheck::init()
{
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    folder_ = {QDir(work_->path())};
    copyFolder(KP_SOURCE_DIR "/data/itog3", folder_.dataDir());
    copyFolder(KP_SOURCE_DIR "/data/itog3", folder_.backupDir());
    shown_.clear();
    asked_.clear();
}

StartDecision TestDataCheck::check(bool answer)
{
    const auto show = [this](const QString &text) { shown_ << text; };
    const auto ask = [this, answer](const QString &text) {
        asked_ << text;
        return answer;
    };
    return shell::checkDataTables(folder_, show, ask);
}

void TestDataCheck::wholeDataStartsQuietly()
{
    QCOMPARE(check(false), StartDecision::Go);
    QCOMPARE(shown_, QStringList());
    QCOMPARE(asked_, QStringList());
}

void TestDataCheck::damagedFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<bool>("restore");

    const struct {
        const char *file;
        const char *how;
        Damage damage;
    } cases[] = {
        {"kk.dbf", "truncated", truncateHalf},      {"pit.dbf", "truncated", truncateHalf},
        {"norm.dbf", "truncated", truncateHalf},    {"sir.dbf", "truncated", truncateHalf},
        {"arsir.dbf", "missing", removeFile},       {"order.dbf", "pit count 0", zeroPitCount},
        {"sir.dbf", "order binary", orderAsBinary},
    };
    for (const auto &c : cases) {
        QTest::addRow("%s %s, restored", c.file, c.how) << c.file << c.damage << true;
        QTest::addRow("%s %s, left", c.file, c.how) << c.file << c.damage << false;
    }
}

// The start is stopped with a question naming the file. Agreeing puts the copy in place
// (the damaged file kept as <file>.damaged) and the start goes on; refusing ends the
// program with the file as it was.
void TestDataCheck::damagedFile()
{
    QFETCH(QString, file);
    QFETCH(Damage, damage);
    QFETCH(bool, restore);
    damage(dataFile(file));
    const QByteArray damaged = bytesOf(dataFile(file));

    const StartDecision decision = check(restore);
    QCOMPARE(asked_.size(), 1);
    QVERIFY2(asked_.first().contains(file), qPrintable(asked_.first()));
    QVERIFY2(asked_.first().contains("arhiv"), qPrintable(asked_.first()));
    QCOMPARE(shown_, QStringList());
    if (restore) {
        QCOMPARE(decision, StartDecision::Go);
        QCOMPARE(bytesOf(dataFile(file)), bytesOf(backupFile(file)));
        if (damaged != "<none>")
            QCOMPARE(bytesOf(dataFile(file + ".damaged")), damaged);
    } else {
        QCOMPARE(decision, StartDecision::Terminate);
        QCOMPARE(bytesOf(dataFile(file)), damaged);
    }
}

void TestDataCheck::noCopyInBackup_data()
{
    QTest::addColumn<bool>("copyDamagedToo");
    QTest::newRow("no copy") << false;
    QTest::newRow("copy damaged too") << true;
}

// Without a copy that reads whole there is nothing to offer: the start stops with a
// message naming the file, and nothing is changed.
void TestDataCheck::noCopyInBackup()
{
    QFETCH(bool, copyDamagedToo);
    truncateHalf(dataFile("kk.dbf"));
    if (copyDamagedToo)
        truncateHalf(backupFile("kk.dbf"));
    else
        removeFile(backupFile("kk.dbf"));
    const QByteArray damaged = bytesOf(dataFile("kk.dbf"));
    QCOMPARE(check(true), StartDecision::Terminate);
    QCOMPARE(asked_, QStringList());
    QCOMPARE(shown_.size(), 1);
    QVERIFY2(shown_.first().contains("kk.dbf"), qPrintable(shown_.first()));
    QCOMPARE(bytesOf(dataFile("kk.dbf")), damaged);
    QVERIFY(!QFileInfo::exists(dataFile("kk.dbf.damaged")));
}

QTEST_APPLESS_MAIN(TestDataCheck)
#include "tst_datacheck.moc"
