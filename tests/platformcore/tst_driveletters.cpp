// Drives named by letters: a fixed mapping for tests, the system's volumes lettered in a
// stable order, and the free-space answer of a drive.
#include "platform/driveletters.h"

#include <QTemporaryDir>
#include <QtTest>

class TestDriveLetters final : public QObject
{
    Q_OBJECT

private slots:
    void folderMapping_data();
    void folderMapping();
    void freeSpaceAnswers();
    void systemDrivesAreLetteredOnce();
};

void TestDriveLetters::folderMapping_data()
{
    QTest::addColumn<QChar>("letter");
    QTest::addColumn<QString>("root");
    QTest::newRow("mapped") << QChar(u'E') << "/tmp/e";
    QTest::newRow("lower case") << QChar(u'e') << "/tmp/e";
    QTest::newRow("mapped in lower case") << QChar(u'F') << "/tmp/f";
    QTest::newRow("not mapped") << QChar(u'G') << "";
}

void TestDriveLetters::folderMapping()
{
    QFETCH(QChar, letter);
    QFETCH(QString, root);
    const platform::FolderDrives drives({{u'E', "/tmp/e"}, {u'f', "/tmp/f"}});
    QCOMPARE(drives.rootOf(letter), root);
    QCOMPARE(drives.drives().size(), 2);
    QCOMPARE(drives.drives().at(1).letter, QChar(u'F'));
}

void TestDriveLetters::freeSpaceAnswers()
{
    QTemporaryDir dir;
    QVERIFY(platform::freeSpace(dir.path()) > 0);
    QCOMPARE(platform::freeSpace(dir.filePath("not-there")), qint64(-1));
    QCOMPARE(platform::freeSpace(QString()), qint64(-1));
}

// Whatever this machine has mounted: letters A-Z, each once, each on a root that exists.
void TestDriveLetters::systemDrivesAreLetteredOnce()
{
    const auto drives = platform::SystemDrives().drives();
    QSet<QChar> seen;
    for (const platform::Drive &drive : drives) {
        QVERIFY(drive.letter >= u'A' && drive.letter <= u'Z');
        QVERIFY(!seen.contains(drive.letter));
        seen.insert(drive.letter);
        QVERIFY(QDir(drive.root).exists());
        QVERIFY(!drive.description.isEmpty());
    }
}

QTEST_APPLESS_MAIN(TestDriveLetters)
#include "tst_driveletters.moc"
