#include "archive/archivecompaction.h"

#include "archive/liverows.h"
#include "store/datafiles.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace archive
{

namespace
{

// <folder>/arkk.dbf -> <folder>/arkk2.dbf
QString newFileFor(const QString &tablePath)
{
    const QFileInfo old(tablePath);
    return old.dir().filePath(old.completeBaseName() + QStringLiteral("2.") + old.suffix());
}

QString newFileFor(const store::Table &table)
{
    return newFileFor(table.fileName());
}

bool writeCompacted(store::Table &source, store::Table &scratch)
{
    const QString path = newFileFor(source);
    try {
        if (!source.isOpen())
            source.open();
        source.setDataSourceEnabled(false);
        source.setFiltered(false);
        writeLiveRows(source, scratch, path);
        return true;
    } catch (const store::TableError &) {
        return false;
    }
}

void closeQuietly(store::Table &table)
{
    try {
        table.close();
    } catch (const store::TableError &) {
        // every post was written through already; the rewrite reads the new file only
    }
}

} // namespace

void removeRewriteLeftovers(const QString &dataDirectory)
{
    for (const char *name : {"arkk.dbf", "arsir.dbf", "arpit.dbf", "arprem.dbf"}) {
        const QString newFile = newFileFor(dataDirectory + QLatin1Char('/') + QLatin1String(name));
        QFile::remove(store::newTableFileName(newFile));
        QFile::remove(newFile);
    }
}

CompactionOutcome compactArchiveTables(const ArchiveCursors &cursors, store::Table &scratch,
                                       const FileReplacer &replace)
{
    const QList<store::Table *> writeOrder{cursors.arkk, cursors.arpit, cursors.arprem,
                                           cursors.arsir};
    const QList<store::Table *> replaceOrder{cursors.arkk, cursors.arsir, cursors.arpit,
                                             cursors.arprem};
    QList<store::Table *> written;
    for (store::Table *table : writeOrder) {
        if (writeCompacted(*table, scratch))
            written.append(table);
    }
    for (store::Table *table : writeOrder)
        closeQuietly(*table);

    for (store::Table *table : replaceOrder) {
        if (!written.contains(table))
            continue;
        if (!replace(newFileFor(*table), table->fileName())) {
            for (store::Table *left : written)
                QFile::remove(newFileFor(*left));
            return CompactionOutcome::NotReplaced;
        }
    }
    return written.size() == writeOrder.size() ? CompactionOutcome::Done
                                               : CompactionOutcome::NotWritten;
}

void reportCompaction(CompactionOutcome outcome, const QString &dataDirectory,
                      const std::function<void(const QString &text)> &show)
{
    if (outcome == CompactionOutcome::Done)
        return;
    const QString kept = QStringLiteral(" Рецепты архива целы; удаленные уйдут из файлов при "
                                        "следующем закрытии программы.");
    const QString folder = QDir::toNativeSeparators(dataDirectory);
    if (outcome == CompactionOutcome::NotWritten)
        show(QStringLiteral("Архив рецептов не уплотнен: в папке %1 не удалось записать новые "
                            "файлы архива. Проверьте, что в эту папку можно писать и на диске "
                            "есть место.")
                 .arg(folder) +
             kept);
    else
        show(QStringLiteral("Архив рецептов не уплотнен: новые файлы архива не удалось "
                            "поставить на место старых в папке %1. Проверьте права на запись в "
                            "эту папку.")
                 .arg(folder) +
             kept);
}

} // namespace archive
