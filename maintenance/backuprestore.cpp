#include "maintenance/backuprestore.h"

#include "maintenance/backupcopy.h"
#include "maintenance/closedtables.h"
#include "maintenance/restorecopy.h"
#include "platform/volumes.h"
#include "store/datamodule.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <functional>

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
OperationResult withTablesClosed(store::DataModule &dataModule,
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

QString backupTarget(const QString &chosen)
{
    if (chosen.isEmpty())
        return {};
    // a backup folder chosen as the other folder takes the new copy itself
    if (QFileInfo(chosen).fileName() == kBackupFolderName)
        return QDir::cleanPath(chosen);
    return QDir(chosen).filePath(kBackupFolderName);
}

QString backupSource(const QString &chosen)
{
    if (chosen.isEmpty())
        return {};
    for (const QString &folder : {QDir(chosen).filePath(kBackupFolderName), chosen}) {
        if (QFileInfo(QDir(folder).filePath(kBackupMarkerFile)).isFile())
            return QDir::cleanPath(folder);
    }
    return {};
}

std::optional<BackupFolder> backupToRestore(const QString &chosen)
{
    const QString path = backupSource(chosen);
    if (path.isEmpty())
        return std::nullopt;
    BackupFolder backup{path, {}};
    for (const QFileInfo &file : QDir(path).entryInfoList(QDir::Files))
        backup.madeAt = std::max(backup.madeAt, file.lastModified());
    return backup;
}

OperationResult runBackup(store::DataModule &dataModule, const QString &chosen)
{
    if (platform::freeSpace(chosen) < 0)
        return refused(Outcome::NoBackup,
                       QStringLiteral("Резервный носитель не установлен или неисправен..."));
    const QString folder = backupTarget(chosen);
    const QString dataDir = dataModule.dataDirectory();
    return withTablesClosed(
        dataModule, [&] { return copyToBackup(dataDir, folder); },
        QStringLiteral("Резервная копия создана!"), QStringLiteral("Резервная копия НЕ создана!!"));
}

OperationResult runRestore(store::DataModule &dataModule, const QString &chosen)
{
    const QString folder = backupSource(chosen);
    if (folder.isEmpty())
        return refused(Outcome::NoBackup,
                       QStringLiteral("Резервный носитель не установлен или неисправен или не "
                                      "содержит резервной копии..."));
    const QString dataDir = dataModule.dataDirectory();
    return withTablesClosed(
        dataModule, [&] { return restoreFromBackup(folder, dataDir, dataModule); },
        QStringLiteral("Данные восстановлены!"), QStringLiteral("Данные НЕ ВОССТАНОВЛЕНЫ!!"));
}

} // namespace maintenance
