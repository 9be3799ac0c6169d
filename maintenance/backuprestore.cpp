#include "maintenance/backuprestore.h"

#include "maintenance/backupcopy.h"
#include "maintenance/closedtables.h"
#include "maintenance/driveletter.h"
#include "maintenance/restorecopy.h"
#include "platform/driveletters.h"
#include "store/datamodule.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <optional>

namespace maintenance
{

namespace
{

using Outcome = OperationResult::Outcome;

OperationResult refused(Outcome outcome, const QString &message)
{
    return {outcome, {message}};
}

// Runs the copy with the tables closed; what closing and reopening report joins the
// copy's messages, and the result message comes last.
OperationResult withTablesClosed(store::TDataModule2 &dataModule,
                                 const std::function<CopyReport()> &copy, const QString &done,
                                 const QString &failed)
{
    ClosedTables closed(dataModule);
    CopyReport report = copy();
    const QStringList closeErrors = closed.closeErrors();
    const QStringList reopenErrors = closed.reopen();
    OperationResult result;
    result.messages = closeErrors + report.messages;
    const bool ok = report.done && closeErrors.isEmpty();
    result.outcome = ok ? Outcome::Done : Outcome::Failed;
    result.messages.append(ok ? done : failed);
    result.messages += reopenErrors;
    return result;
}

} // namespace

OperationResult runBackup(store::TDataModule2 &dataModule, const platform::DriveLetters &drives,
                          const QString &letterField)
{
    const std::optional<QChar> letter = driveLetter(letterField);
    if (!letter)
        return refused(Outcome::BadLetter, kLetterMessage);
    const QString root = drives.rootOf(*letter);
    if (platform::freeSpace(root) < 0)
        return refused(Outcome::NoBackup,
                       QStringLiteral("Резервный носитель не установлен или неисправен..."));
    const QString folder = QDir(root).filePath(kBackupFolderName);
    const QString dataDir = dataModule.dataDirectory();
    return withTablesClosed(
        dataModule, [&] { return copyToBackup(dataDir, folder); },
        QStringLiteral("Резервная копия создана!"), QStringLiteral("Резервная копия НЕ создана!!"));
}

std::optional<BackupFolder> backupToRestore(const platform::DriveLetters &drives,
                                            const QString &letterField)
{
    const std::optional<QChar> letter = driveLetter(letterField);
    const QString root = letter ? drives.rootOf(*letter) : QString();
    const QDir folder(QDir(root).filePath(kBackupFolderName));
    if (root.isEmpty() || !QFileInfo(folder.filePath(kBackupMarkerFile)).isFile())
        return std::nullopt;
    BackupFolder backup{folder.path(), {}};
    for (const QFileInfo &file : folder.entryInfoList(QDir::Files))
        backup.madeAt = std::max(backup.madeAt, file.lastModified());
    return backup;
}

OperationResult runRestore(store::TDataModule2 &dataModule, const platform::DriveLetters &drives,
                           const QString &letterField)
{
    if (!driveLetter(letterField))
        return refused(Outcome::BadLetter, kLetterMessage);
    const std::optional<BackupFolder> backup = backupToRestore(drives, letterField);
    if (!backup)
        return refused(Outcome::NoBackup,
                       QStringLiteral("Резервный носитель не установлен или неисправен или не "
                                      "содержит резервной копии..."));
    const QString dataDir = dataModule.dataDirectory();
    return withTablesClosed(
        dataModule, [&] { return restoreFromBackup(backup->path, dataDir, dataModule); },
        QStringLiteral("Данные восстановлены!"), QStringLiteral("Данные НЕ ВОССТАНОВЛЕНЫ!!"));
}

} // namespace maintenance
