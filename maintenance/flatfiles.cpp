#include "maintenance/flatfiles.h"

#include "platform/filereplace.h"

#include <QDir>

namespace maintenance
{

QFileInfoList flatFiles(const QString &folder)
{
    QFileInfoList files;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (!platform::isTemporaryName(entry.fileName()))
            files.append(entry);
    }
    return files;
}

} // namespace maintenance
