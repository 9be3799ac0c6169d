#pragma once

// Drives named by a letter, as the user names the removable drive of a backup.
//
// On Windows a letter is the drive itself ("E:/"). Elsewhere a letter stands for one of the
// mounted removable, external and network volumes, lettered A, B, C ... in the order of
// their mount points, so the same volumes keep their letters. Tests and scripts give a
// fixed mapping of letters to folders instead.

#include <QChar>
#include <QList>
#include <QMap>
#include <QString>

namespace platform
{

struct Drive {
    QChar letter;        // 'A' ... 'Z'
    QString root;        // the folder at the drive's top
    QString description; // what the user recognises it by: label, mount point
};

class DriveLetters
{
public:
    virtual ~DriveLetters() = default;
    // The drives the letters stand for, in letter order.
    virtual QList<Drive> drives() const = 0;
    // The root of the drive with that letter (upper case); empty when no drive has it.
    QString rootOf(QChar letter) const;
};

// The drives of this computer.
class SystemDrives final : public DriveLetters
{
public:
    QList<Drive> drives() const override;
};

// A fixed mapping of letters to folders.
class FolderDrives final : public DriveLetters
{
public:
    explicit FolderDrives(const QMap<QChar, QString> &folders) : folders_(folders) {}
    QList<Drive> drives() const override;

private:
    QMap<QChar, QString> folders_;
};

// Free bytes on the drive whose root is given; -1 when it cannot answer (no such
// folder, a drive that is not ready).
qint64 freeSpace(const QString &root);

} // namespace platform
