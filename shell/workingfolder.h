#pragma once

// The working directory the program runs in: the data directory itog3, the backup copy
// folder arhiv beside it, and the two crash markers error1.err and error2.err.

#include <QDir>
#include <QString>

namespace shell
{

struct WorkingFolder {
    QDir root; // the current directory of the running program

    QString dataDir() const { return root.filePath(QStringLiteral("itog3")); }
    QString backupDir() const { return root.filePath(QStringLiteral("arhiv")); }
    QString firstMarker() const { return root.filePath(QStringLiteral("error1.err")); }
    QString secondMarker() const { return root.filePath(QStringLiteral("error2.err")); }
};

} // namespace shell
