#pragma once

// The restore of the data directory from the backup folder of a removable drive, all or
// nothing.
//
// The files of the backup are first copied into a staging folder beside the data
// directory and the tables among them checked. Only when every file is there and every
// table reads do they take their places in the data directory, one rename each; the
// files they replace are kept aside until the last rename has been made, and put back
// should one fail. Whatever fails, the data directory is as it was and the messages name
// the file. Files that exist only in the data directory stay, except an optional table
// (ratio.dbf): a backup without it restores data without its records.

#include "maintenance/copyreport.h"

#include <QString>

namespace store
{
class DataModule;
}

namespace maintenance
{

// The file whose presence marks a backup folder as holding a backup.
inline const QString kBackupMarkerFile = QStringLiteral("pit.dbf");

// Restores dataDir from backupFolder; the data module names the tables to check.
CopyReport restoreFromBackup(const QString &backupFolder, const QString &dataDir,
                             store::DataModule &dataModule);

} // namespace maintenance
