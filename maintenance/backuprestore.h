#pragma once

// The two operations behind the backup window and the restore window, from the typed
// drive letter to the result message, with the tables closed around the file copies.

#include <QDateTime>
#include <QStringList>

#include <optional>

namespace platform
{
class DriveLetters;
}

namespace store
{
class TDataModule2;
}

namespace maintenance
{

struct OperationResult {
    enum class Outcome {
        BadLetter, // the field holds no Latin letter: the focus goes back to it
        NoBackup,  // the drive does not answer or holds no backup: nothing was done
        Done,
        Failed
    };
    Outcome outcome = Outcome::Failed;
    QStringList messages; // to be shown one after another, the result message last
};

// "Архивировать": the data directory into <drive>/arhivkpl.
OperationResult runBackup(store::TDataModule2 &dataModule, const platform::DriveLetters &drives,
                          const QString &letterField);

// The backup "Восстановить данные" would read for the typed letter: its folder and the
// time of its newest file, when the backup was made. Nothing when the letter is bad or
// the drive holds no backup (runRestore then says so).
struct BackupFolder {
    QString path;
    QDateTime madeAt;
};
std::optional<BackupFolder> backupToRestore(const platform::DriveLetters &drives,
                                            const QString &letterField);

// "Восстановить данные": <drive>/arhivkpl back into the data directory.
OperationResult runRestore(store::TDataModule2 &dataModule, const platform::DriveLetters &drives,
                           const QString &letterField);

} // namespace maintenance
