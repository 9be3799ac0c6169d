// The network copy of the archive: where the files go, what they hold, and what a
// failure half-way leaves.
#include "archive/networkcopy.h"
#include "archivefixture.h"
#include "store/codepage1251.h"

#include <QProcess>
#include <QtTest>

using archivetest::ArchiveData;
using archivetest::sample;

namespace
{

const QStringList kCopies{"arkk2.dbf", "arpit2.dbf", "arprem2.dbf", "arsir2.dbf"};

void writeNetpath(const QString &workDir, const QByteArray &firstLine)
{
    QFile file(workDir + "/netpath.txt");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(firstLine + "\r\nвторая строка не читается\r\n");
}

void fill(ArchiveData &data)
{
    for (int n : {1, 2, 3})
        data.addRecipe(sample(n));
    archivetest::Recipe released = sample(4);
    released.head.arnom = -1;
    data.addRecipe(released);
    QVERIFY(data.goTo(2));
}

} // namespace

class TestNetworkCopy final : public QObject
{
    Q_OBJECT

private slots:
    void withoutNetpathNothingIsCopied();
    void copiesGoInsideTheFolder_data();
    void copiesGoInsideTheFolder();
    void copiesReadByAnotherReader();
    void failureHalfWayLeavesCursorsAsBefore();
};

void TestNetworkCopy::withoutNetpathNothingIsCopied()
{
    ArchiveData data;
    QVERIFY(data.ok());
    fill(data);
    const archive::NetworkCopyResult result =
        archive::copyArchiveToNetwork(data.cursors(), data.dm().scratch, "netpath.txt");
    QCOMPARE(result.error, archive::kNoNetpathMessage);
    QVERIFY(result.files.isEmpty());
}

void TestNetworkCopy::copiesGoInsideTheFolder_data()
{
    QTest::addColumn<QString>("ending");
    QTest::newRow("closing slash") << "/";
    QTest::newRow("no closing separator") << "";
    QTest::newRow("blanks around") << "/   ";
}

// The copies hold the live rows with the field definitions of the tables, inside the
// folder whether or not its name ends in a separator; the cursor stays on its recipe.
void TestNetworkCopy::copiesGoInsideTheFolder()
{
    QFETCH(QString, ending);
    ArchiveData data;
    QVERIFY(data.ok());
    fill(data);
    const QString folder = data.workDir() + "/сеть/копии";
    QVERIFY(QDir().mkpath(folder));
    QByteArray line;
    QVERIFY(store::encode1251("  " + folder + ending, &line));
    writeNetpath(data.workDir(), line);

    const archive::NetworkCopyResult result = archive::copyArchiveToNetwork(
        data.cursors(), data.dm().scratch, data.workDir() + "/netpath.txt");
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(QDir(folder).entryList(QDir::Files), kCopies);
    QVERIFY(QDir(data.workDir() + "/сеть").entryList(QDir::Files).isEmpty());
    for (const char *name : {"arkk", "arpit", "arprem", "arsir"}) {
        store::Table copy;
        copy.setFileName(folder + "/" + name + "2.dbf");
        copy.open();
        store::Table original;
        original.setFileName(data.dataDir() + "/" + name + ".dbf");
        original.open();
        QCOMPARE(copy.fieldCount(), original.fieldCount());
        for (int f = 0; f < copy.fieldCount(); ++f) {
            QCOMPARE(copy.fields().at(f).name, original.fields().at(f).name);
            QCOMPARE(copy.fields().at(f).type, original.fields().at(f).type);
            QCOMPARE(copy.fields().at(f).width, original.fields().at(f).width);
        }
        QList<int> numbers;
        for (copy.first(); !copy.eof(); copy.next())
            numbers << copy.integer("arnom");
        QVERIFY(!numbers.isEmpty());
        QVERIFY(!numbers.contains(-1));
    }
    QCOMPARE(archive::currentNumber(data.dm().archiveHeaders), 2);
    QCOMPARE(data.dm().archiveHeaders.filter(), archive::kAllRecipesFilter);
    QCOMPARE(data.dm().archiveCompositions.filter(), archive::recipeFilter(2));
}

// python3-dbf opens the copy of the heads with its three live recipes, Cyrillic intact.
void TestNetworkCopy::copiesReadByAnotherReader()
{
    ArchiveData data;
    QVERIFY(data.ok());
    fill(data);
    writeNetpath(data.workDir(), data.workDir().toLocal8Bit() + "/");
    QVERIFY(archive::copyArchiveToNetwork(data.cursors(), data.dm().scratch,
                                          data.workDir() + "/netpath.txt")
                .ok());
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import sys, dbf\n"
                  "t = dbf.Table(sys.argv[1])\n"
                  "t.open()\n"
                  "print('|'.join(str(int(r.arnom)) + r.naim.strip() for r in t))\n",
                  data.workDir() + "/arkk2.dbf"});
    QVERIFY(python.waitForFinished(60000));
    QCOMPARE(python.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
             "1" + sample(1).head.naim + "|2" + sample(2).head.naim + "|3" + sample(3).head.naim);
}

// A folder in the place of arpit2.dbf stops the copy there: the error is said, no half
// file is left, and filters, data sources and the current recipe are as before.
void TestNetworkCopy::failureHalfWayLeavesCursorsAsBefore()
{
    ArchiveData data;
    QVERIFY(data.ok());
    fill(data);
    const QString folder = data.workDir() + "/net";
    QVERIFY(QDir().mkpath(folder + "/arpit2.dbf"));
    writeNetpath(data.workDir(), folder.toLocal8Bit());

    const archive::NetworkCopyResult result = archive::copyArchiveToNetwork(
        data.cursors(), data.dm().scratch, data.workDir() + "/netpath.txt");
    QVERIFY(!result.ok());
    QVERIFY(result.error.contains("arpit2.dbf"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"arkk2.dbf"});
    QCOMPARE(archive::currentNumber(data.dm().archiveHeaders), 2);
    for (store::Table *t : {&data.dm().archiveHeaders, &data.dm().archiveCompositions,
                            &data.dm().archiveCharacteristics, &data.dm().archivePremixes}) {
        QVERIFY(t->dataSourceEnabled());
        QVERIFY(t->filtered());
    }
    QCOMPARE(data.dm().archiveHeaders.filter(), archive::kAllRecipesFilter);
    QCOMPARE(data.dm().archiveCharacteristics.filter(), archive::recipeFilter(2));
}

QTEST_MAIN(TestNetworkCopy)
#include "tst_networkcopy.moc"
