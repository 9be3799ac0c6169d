#include "shell/backupswitch.h"

#include "shell/foldercopy.h"
#include "store/datafiles.h"

#include <QDir>
#include <QFileInfo>

namespace shell
{

namespace
{

const QString kKeptOld = QStringLiteral("Копия данных в папке arhiv не обновлена: в ней "
                                        "осталась копия, сделанная при прошлом нормальном "
                                        "завершении программы.");

bool exists(const QString &path)
{
    return QFileInfo::exists(path);
}

void removeFolder(const QString &path)
{
    if (exists(path))
        QDir(path).removeRecursively();
}

bool renameFolder(const QString &from, const QString &to)
{
    return QDir().rename(from, to);
}

// The first table of the copy that does not read whole (or is missing), with the reason;
// empty when all read.
QString unreadableTable(const QString &folder)
{
    for (const QString &name : store::presentTableFileNames(folder)) {
        const QString problem = store::tableReadProblem(folder + QLatin1Char('/') + name);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

// Steps 1 and 2: a complete, checked copy in arhiv.new, or false with the reason shown.
bool stageCopy(const WorkingFolder &folder, const MessageSink &show)
{
    const QString staging = folder.backupStagingDir();
    removeFolder(staging);
    removeFolder(folder.backupNewDir());
    if (!QDir().mkpath(staging)) {
        show(QStringLiteral("Папка архива не создается..."));
        return false;
    }
    if (copyProgramFiles(folder.dataDir(), staging, show) > 0) {
        removeFolder(staging);
        show(kKeptOld);
        return false;
    }
    const QString problem = unreadableTable(staging);
    if (!problem.isEmpty()) {
        removeFolder(staging);
        show(problem + QStringLiteral("\n\n") + kKeptOld);
        return false;
    }
    if (!renameFolder(staging, folder.backupNewDir())) {
        removeFolder(staging);
        show(QStringLiteral("Папка архива не создается...") + QStringLiteral("\n\n") + kKeptOld);
        return false;
    }
    return true;
}

// Step 3: arhiv.new in the place of arhiv; on a failure the old arhiv is put back.
bool switchIn(const WorkingFolder &folder)
{
    const QString backup = folder.backupDir();
    const QString old = folder.backupOldDir();
    if (exists(backup)) {
        removeFolder(old);
        if (!renameFolder(backup, old))
            return false;
    }
    if (!renameFolder(folder.backupNewDir(), backup)) {
        if (exists(old))
            renameFolder(old, backup);
        return false;
    }
    removeFolder(old);
    return true;
}

} // namespace

bool replaceBackupCopy(const WorkingFolder &folder, const MessageSink &show)
{
    if (exists(folder.backupDir()) && !QFileInfo(folder.backupDir()).isDir()) {
        show(QStringLiteral("Папка архива не создается..."));
        return false;
    }
    if (!stageCopy(folder, show))
        return false;
    if (switchIn(folder))
        return true;
    removeFolder(folder.backupNewDir());
    show(QStringLiteral("Папка архива не создается...") + QStringLiteral("\n\n") + kKeptOld);
    return false;
}

void settleBackupSwitch(const WorkingFolder &folder)
{
    removeFolder(folder.backupStagingDir());
    if (exists(folder.backupNewDir()))
        switchIn(folder);
    if (!exists(folder.backupOldDir()))
        return;
    if (exists(folder.backupDir()))
        removeFolder(folder.backupOldDir());
    else
        renameFolder(folder.backupOldDir(), folder.backupDir());
}

} // namespace shell
