#include "platform/volumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include <algorithm>
#include <optional>

namespace platform
{

namespace
{

// A file system shared over the network. 9p is left out: virtual machines and WSL mount
// system folders with it.
bool isNetworkType(const QString &type)
{
    static const QStringList types{QStringLiteral("nfs"),         QStringLiteral("nfs4"),
                                   QStringLiteral("cifs"),        QStringLiteral("smb3"),
                                   QStringLiteral("smbfs"),       QStringLiteral("ncpfs"),
                                   QStringLiteral("davfs"),       QStringLiteral("fuse.sshfs"),
                                   QStringLiteral("fuse.rclone"), QStringLiteral("afs")};
    return types.contains(type);
}

bool isUnder(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// The system's own places: nothing mounted there is a backup volume, whatever disk it
// is on (a live system runs from a stick mounted at / or /run/live/medium).
bool isSystemPlace(const QString &mountPoint)
{
    static const QStringList places{
        QStringLiteral("/boot"), QStringLiteral("/efi"), QStringLiteral("/usr"),
        QStringLiteral("/var"),  QStringLiteral("/etc"), QStringLiteral("/opt"),
        QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev"),
        QStringLiteral("/snap"), QStringLiteral("/tmp"), QStringLiteral("/run"),
        QStringLiteral("/lib"),  QStringLiteral("/bin"), QStringLiteral("/sbin")};
    if (mountPoint == QLatin1String("/"))
        return true;
    if (isUnder(mountPoint, QStringLiteral("/run/media")))
        return false; // where the desktop mounts what is plugged in
    return std::any_of(places.begin(), places.end(),
                       [&](const QString &place) { return isUnder(mountPoint, place); });
}

// Bytes written as a backslash, a marker and digits: the mount table writes a blank,
// tab, new line and backslash as \040, \011, \012, \134; udev a blank in a label as \x20.
QString unescaped(const QString &text, const QByteArray &marker, int digits, int base)
{
    const QByteArray bytes = text.toUtf8();
    const QByteArray lead = QByteArray("\\") + marker;
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype at = i + lead.size();
        bool ok = false;
        const int code = bytes.mid(i, lead.size()) == lead && at + digits <= bytes.size()
                             ? bytes.mid(at, digits).toInt(&ok, base)
                             : 0;
        if (ok && code >= 0 && code < 256) {
            out.append(char(code));
            i = at + digits;
        } else {
            out.append(bytes.at(i++));
        }
    }
    return QString::fromUtf8(out);
}

QString unescapeOctal(const QString &field)
{
    return unescaped(field, QByteArray(), 3, 8);
}

// The flag of the disk a partition belongs to: the longest disk name that begins its
// name (sdb1 → sdb, mmcblk0p1 → mmcblk0, nvme0n1p2 → nvme0n1).
bool onFlaggedDisk(const QString &device, const QMap<QString, bool> &disks)
{
    const QString name = device.mid(int(QStringLiteral("/dev/").size()));
    qsizetype longest = 0;
    bool flagged = false;
    for (auto it = disks.begin(); it != disks.end(); ++it) {
        if (name.startsWith(it.key()) && it.key().size() > longest) {
            longest = it.key().size();
            flagged = it.value();
        }
    }
    return flagged;
}

// One line of the mount table as a backup volume, or nothing. The fields: id, parent,
// major:minor, root within the file system, mount point, options, optional fields, "-",
// type, source, super options.
std::optional<Volume> volumeOfLine(const QString &line, const MountTable &table)
{
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const qsizetype dash = fields.indexOf(QStringLiteral("-"));
    if (fields.size() < 6 || dash < 6 || dash + 2 >= fields.size())
        return std::nullopt;
    const QString mountPoint = unescapeOctal(fields.at(4));
    const QString type = fields.at(dash + 1);
    const QString source = unescapeOctal(fields.at(dash + 2));
    if (isSystemPlace(mountPoint))
        return std::nullopt;
    if (isNetworkType(type))
        return Volume{mountPoint, source, QString(), Volume::Kind::Network};
    // a whole file system of a plugged-in disk; a folder of one bound elsewhere is not
    const bool wholeFileSystem = unescapeOctal(fields.at(3)) == QLatin1String("/");
    if (source.startsWith(QLatin1String("/dev/")) && wholeFileSystem &&
        onFlaggedDisk(source, table.disks))
        return Volume{mountPoint, table.labels.value(source), QString(), Volume::Kind::Removable};
    return std::nullopt;
}

#ifndef Q_OS_WIN
QString fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
#endif

} // namespace

QList<Volume> backupVolumes(const MountTable &table)
{
    // a later mount on the same point hides the earlier one
    QMap<QString, std::optional<Volume>> byMountPoint;
    for (const QString &line : table.mountInfo.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() > 4)
            byMountPoint.insert(unescapeOctal(fields.at(4)), volumeOfLine(line, table));
    }
    QList<Volume> volumes;
    for (const std::optional<Volume> &volume : byMountPoint)
        if (volume)
            volumes.append(*volume);
    return volumes;
}

MountTable systemMountTable()
{
    MountTable table;
#ifndef Q_OS_WIN
    table.mountInfo = fileText(QStringLiteral("/proc/self/mountinfo"));
    const QDir sysBlock(QStringLiteral("/sys/block"));
    for (const QString &disk :
         sysBlock.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const bool removable =
            fileText(sysBlock.filePath(disk + QStringLiteral("/removable"))).trimmed() ==
            QLatin1String("1");
        const bool usb =
            QFileInfo(sysBlock.filePath(disk)).canonicalFilePath().contains(QLatin1String("/usb"));
        table.disks.insert(disk, removable || usb);
    }
    const QDir byLabel(QStringLiteral("/dev/disk/by-label"));
    for (const QString &name :
         byLabel.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString device = QFileInfo(byLabel.filePath(name)).canonicalFilePath();
        if (!device.isEmpty())
            table.labels.insert(device, unescaped(name, "x", 2, 16));
    }
#endif
    return table;
}

QList<Volume> SystemVolumes::volumes() const
{
#ifdef Q_OS_WIN
    QList<Volume> found;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath(); // "E:/"
        if (root.size() != 3 || !root.at(0).isLetter() || root.at(1) != QLatin1Char(':'))
            continue;
        const UINT type =
            GetDriveTypeW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(root).utf16()));
        if (type != DRIVE_REMOVABLE && type != DRIVE_REMOTE && type != DRIVE_CDROM)
            continue;
        found.append({root, volume.name(), root.left(2).toUpper(),
                      type == DRIVE_REMOTE ? Volume::Kind::Network : Volume::Kind::Removable});
    }
    std::sort(found.begin(), found.end(),
              [](const Volume &a, const Volume &b) { return a.root < b.root; });
    return found;
#else
    return backupVolumes(systemMountTable());
#endif
}

qint64 freeSpace(const QString &folder)
{
    if (folder.isEmpty() || !QDir(folder).exists())
        return -1;
    const QStorageInfo volume(folder);
    if (!volume.isValid() || !volume.isReady())
        return -1;
    return volume.bytesAvailable();
}

} // namespace platform
