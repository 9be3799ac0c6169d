#pragma once

// The two operations behind the backup window and the restore window, from the chosen
// volume or folder to the result message, with the tables closed around the file copies.

#include <QDateTime>
#include <QStringList>

#include <optional>

namespace store
{
class DataModule;
}

namespace maintenance
{

struct OperationResult {
    enum class Outcome {
        NoBackup, // the volume does not answer or holds no backup: nothing was done
        Done,
        Failed
    };
    Outcome outcome = Outcome::Failed;
    QStringList messages; // to be shown one after another, the result message last
};

// The folder a backup onto the chosen volume or folder goes to: its arhivkpl, or the
// chosen folder when it is one.
QString backupTarget(const QString &chosen);

// The backup a restore from the chosen volume or folder reads: its arhivkpl, or the
// folder itself when the user chose the backup folder; empty when neither holds a
// backup (pit.dbf).
QString backupSource(const QString &chosen);

// The backup a restore from the choice would read: its folder and the time of its
// newest file, when the backup was made. Nothing when there is none (runRestore then
// says so).
struct BackupFolder {
    QString path;
    QDateTime madeAt;
};
std::optional<BackupFolder> backupToRestore(const QString &chosen);

// "Архивировать": the data directory into backupTarget(chosen).
OperationResult runBackup(store::DataModule &dataModule, const QString &chosen);

// "Восстановить данные": backupSource(chosen) back into the data directory.
OperationResult runRestore(store::DataModule &dataModule, const QString &chosen);

} // namespace maintenance
