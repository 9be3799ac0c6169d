#include "shell/closesequence.h"

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
    const ArchiveCursors cursors{&dm.Table6, &dm.Table7, &dm.Table8, &dm.Table9};
    reportCompaction(compactArchiveTables(cursors, dm.Table10), show);
}

} // namespace shell
