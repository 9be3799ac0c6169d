#include "maintenance/backupcheck.h"

#include "store/datafiles.h"
#include "store/datamodule.h"
#include "store/table.h"

#include <QDir>
#include <QFileInfo>

namespace maintenance
{

namespace
{

// The single record of order.dbf and its counters, which the lists' ranges come from.
void checkCounters(const store::Table &order)
{
    if (order.isEmpty())
        throw store::TableError(QStringLiteral("в ней нет записи со счетчиками"));
    for (const char *field : {"pit", "KK", "sir", "arhnom"}) {
        if (!order.hasField(QLatin1String(field)))
            throw store::TableError(QStringLiteral("нет поля %1").arg(QLatin1String(field)));
    }
}

// Opens the copy of `table` with the index the program uses on it.
QString problemOf(const QString &path, const store::Table &table, bool counters)
{
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo::exists(path) && store::optionalTableFileNames().contains(name))
        return {}; // a copy without ratios: none after the restore
    if (!QFileInfo(path).isFile())
        return QStringLiteral("В резервной копии нет таблицы %1").arg(name);
    try {
        store::Table copy;
        copy.setFileName(path);
        for (const store::IndexDef &index : table.indexes()) {
            copy.defineIndex(index);
            copy.setIndexName(index.name);
        }
        copy.open(); // a missing index field fails here
        if (counters)
            checkCounters(copy);
    } catch (const store::TableError &e) {
        return QStringLiteral("Таблица %1 в резервной копии не читается: %2")
            .arg(name, e.message());
    }
    return {};
}

} // namespace

QStringList checkBackupTables(const QString &folder, store::DataModule &dataModule)
{
    QStringList problems;
    const QList<store::Table *> tables = dataModule.dataTables();
    for (store::Table *table : tables) {
        const QString path = QDir(folder).filePath(QFileInfo(table->fileName()).fileName());
        const QString problem = problemOf(path, *table, table == &dataModule.counters);
        if (!problem.isEmpty())
            problems.append(problem);
    }
    return problems;
}

} // namespace maintenance
