#include "maintenance/restorecopy.h"

#include "maintenance/backupcheck.h"
#include "maintenance/flatfiles.h"
#include "platform/filereplace.h"
#include "store/datafiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace maintenance
{

namespace
{

QString notCopied(const QString &fileName)
{
    return fileName + QStringLiteral(" не скопирован");
}

// A working folder beside the data directory (same drive, so a rename moves a file).
QString besideDataDir(const QString &dataDir, const QString &suffix)
{
    const QFileInfo data(dataDir);
    return data.absolutePath() + QLatin1Char('/') + data.fileName() + suffix;
}

bool freshFolder(const QString &path)
{
    QDir folder(path);
    if (folder.exists() && !folder.removeRecursively())
        return false;
    return QDir().mkpath(path);
}

// Copies every file of the backup into the staging folder; the names of those that failed.
QStringList stage(const QFileInfoList &files, const QDir &staging)
{
    QStringList failed;
    for (const QFileInfo &file : files) {
        if (!QFile::copy(file.filePath(), staging.filePath(file.fileName())))
            failed.append(notCopied(file.fileName()));
    }
    return failed;
}

// Moves the staged files into the data directory. The files they replace are copied
// into `kept` first and put back when a rename fails, so that either all files are in
// place or none.
class PutInPlace final
{
public:
    PutInPlace(const QDir &staging, const QDir &data, const QDir &kept)
        : staging_(staging), data_(data), kept_(kept)
    {
    }

    QStringList run(const QFileInfoList &files)
    {
        const QStringList dropped = droppedTables(files);
        for (const QString &name : fileNames(files) + dropped) {
            if (QFileInfo::exists(data_.filePath(name)) &&
                !QFile::copy(data_.filePath(name), kept_.filePath(name)))
                return {notCopied(name)};
        }
        for (const QFileInfo &file : files) {
            const QString name = file.fileName();
            const bool existed = QFileInfo::exists(data_.filePath(name));
            if (!platform::replaceFile(staging_.filePath(name), data_.filePath(name)))
                return rollBack(name);
            placed_.append({name, existed});
        }
        for (const QString &name : dropped) {
            if (!QFile::remove(data_.filePath(name)))
                return rollBack(name);
            removed_.append(name);
        }
        return {};
    }

    // A roll-back that could not put every file back: the kept files are still needed.
    bool keptFilesNeeded() const { return !rolledBackWhole_; }

private:
    static QStringList fileNames(const QFileInfoList &files)
    {
        QStringList names;
        for (const QFileInfo &file : files)
            names.append(file.fileName());
        return names;
    }

    // An optional table the backup does not hold: the data it restores have none of its
    // records, so the one in the data directory goes (kept aside like a replaced file).
    QStringList droppedTables(const QFileInfoList &files) const
    {
        QStringList dropped;
        const QStringList backupNames = fileNames(files);
        for (const QString &name : store::optionalTableFileNames())
            if (!backupNames.contains(name, Qt::CaseInsensitive) &&
                QFileInfo::exists(data_.filePath(name)))
                dropped.append(name);
        return dropped;
    }

    QStringList rollBack(const QString &failedName)
    {
        QStringList messages{notCopied(failedName)};
        QList<std::pair<QString, bool>> undo = placed_;
        for (const QString &name : removed_)
            undo.append({name, true});
        for (const auto &[name, existed] : undo) {
            const bool back =
                existed ? platform::replaceFile(kept_.filePath(name), data_.filePath(name))
                        : QFile::remove(data_.filePath(name));
            if (!back)
                messages.append(
                    QStringLiteral("Прежний файл %1 не возвращен; он сохранен в папке %2")
                        .arg(name, QDir::toNativeSeparators(kept_.path())));
        }
        rolledBackWhole_ = messages.size() == 1;
        return messages;
    }

    QDir staging_, data_, kept_;
    QList<std::pair<QString, bool>> placed_;
    QStringList removed_;
    bool rolledBackWhole_ = true;
};

} // namespace

CopyReport restoreFromBackup(const QString &backupFolder, const QString &dataDir,
                             store::DataModule &dataModule)
{
    CopyReport report;
    if (!QDir().mkpath(dataDir)) {
        report.messages.append(QStringLiteral("Не могу создать папку базы данных..."));
        return report;
    }
    const QString stagingPath = besideDataDir(dataDir, QStringLiteral(".kp-restore"));
    const QString keptPath = besideDataDir(dataDir, QStringLiteral(".kp-previous"));
    if (!freshFolder(stagingPath) || !freshFolder(keptPath)) {
        report.messages.append(QStringLiteral("Не могу создать рабочую папку %1...")
                                   .arg(QDir::toNativeSeparators(stagingPath)));
        QDir(stagingPath).removeRecursively();
        return report;
    }
    const QFileInfoList files = flatFiles(backupFolder);
    report.messages = stage(files, QDir(stagingPath));
    if (report.messages.isEmpty())
        report.messages = checkBackupTables(stagingPath, dataModule);
    bool keepOldFiles = false;
    if (report.messages.isEmpty()) {
        PutInPlace put{QDir(stagingPath), QDir(dataDir), QDir(keptPath)};
        report.messages = put.run(files);
        keepOldFiles = put.keptFilesNeeded();
    }
    QDir(stagingPath).removeRecursively();
    if (!keepOldFiles)
        QDir(keptPath).removeRecursively();
    report.done = !files.isEmpty() && report.messages.isEmpty();
    return report;
}

} // namespace maintenance
