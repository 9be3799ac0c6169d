#include "shell/closesequence.h"

#include "archive/archivecompaction.h"
#include "archive/archivecursors.h"
#include "platform/filereplace.h"
#include "shell/backupswitch.h"
#include "shell/foldercopy.h"
#include "store/datamodule.h"
#include "store/table.h"

#include <QFile>

namespace shell
{

namespace
{

void flushOpenTables(store::DataModule &dm, const MessageSink &show)
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

void tidyAfterInterruptedClose(const WorkingFolder &folder)
{
    settleBackupSwitch(folder);
    archive::removeRewriteLeftovers(folder.dataDir());
    removeUnfinishedCopies(folder.dataDir());
}

void removeMarkers(const WorkingFolder &folder)
{
    QFile::remove(folder.firstMarker());
    QFile::remove(folder.secondMarker());
}

void runCloseSequence(const WorkingFolder &folder, store::DataModule &dm, const MessageSink &show)
{
    flushOpenTables(dm, show);
    replaceBackupCopy(folder, show);
    removeMarkers(folder);
    const auto replace = [](const QString &from, const QString &to) {
        return platform::replaceFile(from, to);
    };
    archive::reportCompaction(
        archive::compactArchiveTables(archive::archiveCursors(dm), dm.scratch, replace),
        folder.dataDir(), show);
}

} // namespace shell
