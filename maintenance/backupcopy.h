#pragma once

// The backup of the data directory into the backup folder of a removable drive.
//
// Every plain file of the data directory goes to the backup folder under its name, first
// under a temporary name and forced onto the drive. Only when every file has been written
// do the new copies take the old ones' names, one rename each: a backup that fails or is
// cut off leaves the previous backup whole and no table half written. Files that exist
// only in the backup folder stay there.

#include "maintenance/copyreport.h"

#include <QString>

namespace maintenance
{

inline const QString kBackupFolderName = QStringLiteral("arhivkpl");

CopyReport copyToBackup(const QString &dataDir, const QString &backupFolder);

} // namespace maintenance
