#pragma once

// The working directory the program runs in: the data directory itog3, the backup copy
// folder arhiv beside it, and the two crash markers error1.err and error2.err. The close
// builds a new backup copy beside arhiv and switches it in as a whole (backupswitch.h).

#include <QDir>
#include <QString>

namespace shell
{

struct WorkingFolder {
    QDir root; // the current directory of the running program

    QString dataDir() const { return root.filePath(QStringLiteral("itog3")); }
    QString backupDir() const { return root.filePath(QStringLiteral("arhiv")); }
    QString backupStagingDir() const { return root.filePath(QStringLiteral("arhiv.tmp")); }
    QString backupNewDir() const { return root.filePath(QStringLiteral("arhiv.new")); }
    QString backupOldDir() const { return root.filePath(QStringLiteral("arhiv.old")); }
    QString firstMarker() const { return root.filePath(QStringLiteral("error1.err")); }
    QString secondMarker() const { return root.filePath(QStringLiteral("error2.err")); }
};

} // namespace shell
