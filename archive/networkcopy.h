#pragma once

// "Выдать архив на сеть": the live rows of the four archive tables copied into a folder
// named by the first line of netpath.txt in the program's working folder, as
// arkk2.dbf, arpit2.dbf, arprem2.dbf and arsir2.dbf with the same field and index
// definitions. The folder may be written with or without a closing separator.

#include "archive/archivecursors.h"

#include <QString>
#include <QStringList>

namespace archive
{

inline const QString kNetpathFileName = QStringLiteral("netpath.txt");
inline const QString kNoNetpathMessage =
    QStringLiteral("Нет файла netpath.txt, в котором путь к директории копий!");

// The path of a copy: `name` inside `folder` (the trimmed first line of netpath.txt,
// "\" or "/" at its end or not); an empty folder means the working folder itself.
QString networkCopyPath(const QString &folder, const QString &name);

struct NetworkCopyResult {
    QString error;     // empty on success (Russian)
    QStringList files; // the copies written
    bool ok() const { return error.isEmpty(); }
};

// Copies the archive; netpathFile is the path of netpath.txt. On a table error (a
// folder that does not exist, a locked file) the copy stops, its half-written file is
// removed. Either way data sources, filters and the current rows are as before.
NetworkCopyResult copyArchiveToNetwork(const ArchiveCursors &cursors, store::Table &scratch,
                                       const QString &netpathFile);

} // namespace archive
