// The backup volumes read from a mount table: removable and network volumes by mount
// point, never a system mount; and the free-space answer of a folder.
#include "platform/volumes.h"

#include <QTemporaryDir>
#include <QtTest>

using platform::Volume;

class TestVolumes final : public QObject
{
    Q_OBJECT

private slots:
    void fromMountTable_data();
    void fromMountTable();
    void freeSpaceAnswers();
    void systemVolumesExist();
};

namespace
{

// A mountinfo line of a file system mounted at mountPoint.
QString mount(const QString &mountPoint, const QString &type, const QString &source,
              const QString &root = QStringLiteral("/"))
{
    static int id = 30;
    ++id;
    return QStringLiteral("%1 1 8:%1 %2 %3 rw,relatime shared:%1 - %4 %5 rw\n")
        .arg(id)
        .arg(root, mountPoint, type, source);
}

// What is always there: the system disk, the kernel's file systems, a container's tmpfs.
QString systemMounts()
{
    return mount("/", "ext4", "/dev/vda") + mount("/proc", "proc", "proc") +
           mount("/sys", "sysfs", "sysfs") + mount("/dev/shm", "tmpfs", "tmpfs") +
           mount("/mnt/sandboxing/tools", "tmpfs", "tools_unavailable") +
           mount("/boot/efi", "vfat", "/dev/vda1");
}

// A volume as the test compares it: "mount point | label | r(emovable) or n(etwork)".
QString shown(const Volume &v)
{
    return QStringLiteral("%1|%2|%3")
        .arg(v.root, v.label, v.kind == Volume::Kind::Network ? "n" : "r");
}

} // namespace

void TestVolumes::fromMountTable_data()
{
    QTest::addColumn<QString>("mounts"); // besides the system mounts
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("no stick: nothing") << QString() << QStringList{};
    QTest::newRow("stick with its label") << mount("/media/anna/STICK", "vfat", "/dev/sdb1")
                                          << QStringList{"/media/anna/STICK|STICK|r"};
    QTest::newRow("stick without label, blank in the mount point")
        << mount("/run/media/anna/my\\040disk", "exfat", "/dev/sdb2")
        << QStringList{"/run/media/anna/my disk||r"};
    QTest::newRow("card reader partition") << mount("/media/anna/CARD", "vfat", "/dev/mmcblk0p1")
                                           << QStringList{"/media/anna/CARD|CARD|r"};
    QTest::newRow("internal disks are not offered")
        << mount("/home", "ext4", "/dev/nvme0n1p2") + mount("/data", "ext4", "/dev/sda1") +
               mount("/media/anna/FIXED", "ext4", "/dev/sdbb1")
        << QStringList{};
    QTest::newRow("live system on a stick is not offered")
        << mount("/run/live/medium", "iso9660", "/dev/sdb1") + mount("/", "overlay", "/dev/sdb2")
        << QStringList{};
    QTest::newRow("a folder of a stick bound elsewhere is not offered")
        << mount("/media/anna/STICK", "vfat", "/dev/sdb1") +
               mount("/srv/share", "vfat", "/dev/sdb1", "/docs")
        << QStringList{"/media/anna/STICK|STICK|r"};
    QTest::newRow("network shares by their source")
        << mount("/mnt/office", "cifs", "//server/docs") + mount("/mnt/nfs", "nfs4", "nas:/backup")
        << QStringList{"/mnt/nfs|nas:/backup|n", "/mnt/office|//server/docs|n"};
    QTest::newRow("virtual machine and desktop mounts are not network volumes")
        << mount("/mnt/host", "9p", "hostshare") +
               mount("/run/user/1000/gvfs", "fuse.gvfsd-fuse", "gvfsd-fuse") +
               mount("/run/user/1000/doc", "fuse.portal", "portal")
        << QStringList{};
    QTest::newRow("sorted by mount point, whatever the mount order")
        << mount("/media/anna/B", "vfat", "/dev/mmcblk0p1") +
               mount("/mnt/office", "cifs", "//server/docs") +
               mount("/media/anna/A", "vfat", "/dev/sdb1")
        << QStringList{"/media/anna/A|STICK|r", "/media/anna/B|CARD|r",
                       "/mnt/office|//server/docs|n"};
    QTest::newRow("a later mount on the same point hides the stick")
        << mount("/media/anna/STICK", "vfat", "/dev/sdb1") +
               mount("/media/anna/STICK", "tmpfs", "tmpfs")
        << QStringList{};
    QTest::newRow("damaged lines are skipped")
        << QStringLiteral("garbage\n41 1 8:1 / /media/x rw\n") +
               mount("/media/anna/STICK", "vfat", "/dev/sdb1")
        << QStringList{"/media/anna/STICK|STICK|r"};
}

void TestVolumes::fromMountTable()
{
    QFETCH(QString, mounts);
    QFETCH(QStringList, expected);
    platform::MountTable table;
    table.mountInfo = systemMounts() + mounts;
    table.disks = {{"vda", false},  {"sda", false},    {"sdb", true},
                   {"sdbb", false}, {"mmcblk0", true}, {"nvme0n1", false}};
    table.labels = {{"/dev/sdb1", "STICK"}, {"/dev/mmcblk0p1", "CARD"}, {"/dev/vda1", "EFI"}};
    QStringList volumes;
    for (const Volume &v : platform::backupVolumes(table))
        volumes.append(shown(v));
    QCOMPARE(volumes, expected);
}

void TestVolumes::freeSpaceAnswers()
{
    QTemporaryDir dir;
    QVERIFY(platform::freeSpace(dir.path()) > 0);
    QCOMPARE(platform::freeSpace(dir.filePath("not-there")), qint64(-1));
    QCOMPARE(platform::freeSpace(QString()), qint64(-1));
}

// Whatever this machine has mounted: each volume once, on a folder that exists.
void TestVolumes::systemVolumesExist()
{
    QSet<QString> seen;
    for (const Volume &v : platform::SystemVolumes().volumes()) {
        QVERIFY(!seen.contains(v.root));
        seen.insert(v.root);
        QVERIFY2(QDir(v.root).exists(), qPrintable(v.root));
        QVERIFY(v.root != "/");
    }
}

QTEST_APPLESS_MAIN(TestVolumes)
#include "tst_volumes.moc"
