#include "platform/driveletters.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace platform
{

namespace
{

#ifndef Q_OS_WIN
// A volume the user plugs in or mounts from elsewhere: under the desktop's removable
// media folders, or a network file system.
bool isRemovableOrExternal(const QStorageInfo &volume)
{
    static const QStringList mediaFolders{QStringLiteral("/media/"), QStringLiteral("/run/media/"),
                                          QStringLiteral("/mnt/")};
    static const QStringList networkTypes{
        QStringLiteral("nfs"),  QStringLiteral("nfs4"),           QStringLiteral("cifs"),
        QStringLiteral("smb3"), QStringLiteral("smbfs"),          QStringLiteral("fuse.sshfs"),
        QStringLiteral("9p"),   QStringLiteral("fuse.gvfsd-fuse")};
    const QString root = volume.rootPath() + QLatin1Char('/');
    const bool mediaFolder = std::any_of(mediaFolders.begin(), mediaFolders.end(),
                                         [&](const QString &m) { return root.startsWith(m); });
    return mediaFolder || networkTypes.contains(QString::fromLatin1(volume.fileSystemType()));
}
#endif

QString describe(const QStorageInfo &volume)
{
    const QString root = QDir::toNativeSeparators(volume.rootPath());
    const QString name = volume.name();
    return name.isEmpty() ? root : QStringLiteral("%1 (%2)").arg(root, name);
}

} // namespace

QString DriveLetters::rootOf(QChar letter) const
{
    const QChar upper = letter.toUpper();
    for (const Drive &drive : drives()) {
        if (drive.letter == upper)
            return drive.root;
    }
    return {};
}

QList<Drive> SystemDrives::drives() const
{
    QList<Drive> found;
#ifdef Q_OS_WIN
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath(); // "E:/"
        if (root.size() == 3 && root.at(0).isLetter() && root.at(1) == QLatin1Char(':'))
            found.append({root.at(0).toUpper(), root, describe(volume)});
    }
    std::sort(found.begin(), found.end(),
              [](const Drive &a, const Drive &b) { return a.letter < b.letter; });
#else
    QList<QStorageInfo> volumes;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && isRemovableOrExternal(volume))
            volumes.append(volume);
    }
    std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo &a, const QStorageInfo &b) {
        return a.rootPath() < b.rootPath();
    });
    for (int i = 0; i < volumes.size() && i < 26; ++i)
        found.append({QChar(u'A' + i), volumes.at(i).rootPath(), describe(volumes.at(i))});
#endif
    return found;
}

QList<Drive> FolderDrives::drives() const
{
    QList<Drive> found;
    for (auto it = folders_.begin(); it != folders_.end(); ++it)
        found.append({it.key().toUpper(), it.value(), QDir::toNativeSeparators(it.value())});
    return found;
}

qint64 freeSpace(const QString &root)
{
    if (root.isEmpty() || !QDir(root).exists())
        return -1;
    const QStorageInfo volume(root);
    if (!volume.isValid() || !volume.isReady())
        return -1;
    return volume.bytesAvailable();
}

} // namespace platform
