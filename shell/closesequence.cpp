#include "shell/closesequence.h"

#include "archive/archivecompaction.h"
#include "archive/archivecursors.h"
#include "platform/filereplace.h"
#include "shell/foldercopy.h"
#include "store/datamodule.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace shell
{

namespace
{

void flushOpenTables(store::TDataModule2 &dm, const MessageSink &show)
{
    for (store::Table *table : dm.tables()) {
        try {
            if (table->isOpen())
                table->flush();
        } catch (const store::TableError &error) {
            show(error.message());
        }
    }
}

} // namespace

void backupDataDirectory(const WorkingFolder &folder, const MessageSink &show)
{
    if (!QFileInfo(folder.backupDir()).isDir() && !QDir().mkpath(folder.backupDir())) {
        show(QStringLiteral("Папка архива не создается..."));
        return;
    }
    copyFlatFolder(folder.dataDir(), folder.backupDir(), show);
}

void removeMarkers(const WorkingFolder &folder)
{
    QFile::remove(folder.firstMarker());
    QFile::remove(folder.secondMarker());
}

void runCloseSequence(const WorkingFolder &folder, store::TDataModule2 &dm, const MessageSink &show)
{
    flushOpenTables(dm, show);
    backupDataDirectory(folder, show);
    removeMarkers(folder);
    const auto replace = [](const QString &from, const QString &to) {
        return platform::replaceFile(from, to);
    };
    archive::reportCompaction(
        archive::compactArchiveTables(archive::archiveCursors(dm), dm.Table10, replace), show);
}

} // namespace shell
