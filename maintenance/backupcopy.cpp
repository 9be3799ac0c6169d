#include "maintenance/backupcopy.h"

#include "maintenance/flatfiles.h"
#include "platform/filereplace.h"

#include <QDir>
#include <QFile>

namespace maintenance
{

namespace
{

QString notMade(const QString &fileName)
{
    return QStringLiteral("Копия ") + fileName + QStringLiteral(" не создана");
}

} // namespace

CopyReport copyToBackup(const QString &dataDir, const QString &backupFolder)
{
    CopyReport report;
    const QDir target(backupFolder);
    if (!QDir().mkpath(backupFolder)) {
        report.messages.append(QStringLiteral("Папка резервной копии не создается..."));
        return report;
    }
    const QFileInfoList files = flatFiles(dataDir);
    QStringList written;
    for (const QFileInfo &file : files) {
        if (platform::writeTemporaryCopy(file.filePath(), target.filePath(file.fileName())))
            written.append(file.fileName());
        else
            report.messages.append(notMade(file.fileName()));
    }
    if (!report.messages.isEmpty()) { // the previous backup stays as it was
        for (const QString &name : written)
            QFile::remove(platform::temporaryNameFor(target.filePath(name)));
        return report;
    }
    for (const QString &name : written) {
        const QString copy = target.filePath(name);
        if (!platform::replaceFile(platform::temporaryNameFor(copy), copy)) {
            QFile::remove(platform::temporaryNameFor(copy));
            report.messages.append(notMade(name));
        }
    }
    report.done = !files.isEmpty() && report.messages.isEmpty();
    return report;
}

} // namespace maintenance
