#pragma once

// The files of a folder by name with their bytes, for tests that compare what a close,
// a kill or a start left in a folder.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>

namespace foldertest
{

using Files = QMap<QString, QByteArray>;

inline Files filesIn(const QString &folder)
{
    Files files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files.insert(name, file.readAll());
    }
    return files;
}

} // namespace foldertest
