#pragma once

// The volumes a backup can go to: the removable and network volumes that are mounted,
// each by its label and mount point, in the order of their mount points, so that the
// list keeps its order as sticks come and go. Never a system mount.
//
// On Linux the list is read from the mount table (/proc/self/mountinfo), the disks of
// /sys/block and the labels of /dev/disk/by-label. A volume counts when it is a whole
// file system of a disk that is removable or attached by USB, or a network file system,
// mounted outside the system's own places (/, /boot, /usr, /run except /run/media ...):
// a live system's stick or a container's mounts are never offered. On Windows the
// removable, optical and network drives, each with its letter as a short name.

#include <QList>
#include <QMap>
#include <QString>

namespace platform
{

struct Volume {
    enum class Kind { Removable, Network };
    QString root;      // the mount point: the folder at the volume's top
    QString label;     // the file system's label, the share of a network volume; may be empty
    QString shortName; // the drive letter ("E:") on Windows; empty elsewhere
    Kind kind = Kind::Removable;
};

// What the Linux list is read from: the text of /proc/self/mountinfo; the disks of
// /sys/block by name, true for one that is removable or attached by USB; the labels by
// device ("/dev/sdb1" → "STICK").
struct MountTable {
    QString mountInfo;
    QMap<QString, bool> disks;
    QMap<QString, QString> labels;
};

// The backup volumes of a mount table, sorted by mount point.
QList<Volume> backupVolumes(const MountTable &table);

// This computer's mount table as the files above hold it now.
MountTable systemMountTable();

// Where the backup and restore windows get their volumes from.
class VolumeSource
{
public:
    virtual ~VolumeSource() = default;
    virtual QList<Volume> volumes() const = 0;
};

// The volumes mounted on this computer, read anew at each call.
class SystemVolumes final : public VolumeSource
{
public:
    QList<Volume> volumes() const override;
};

// A fixed list, for tests and scripts.
class FixedVolumes final : public VolumeSource
{
public:
    explicit FixedVolumes(QList<Volume> volumes) : volumes_(std::move(volumes)) {}
    QList<Volume> volumes() const override { return volumes_; }

private:
    QList<Volume> volumes_;
};

// Free bytes on the volume whose folder is given; -1 when it cannot answer (no such
// folder, a drive that is not ready).
qint64 freeSpace(const QString &folder);

} // namespace platform
