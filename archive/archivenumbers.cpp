#include "archive/archivenumbers.h"

#include "store/deferredwrites.h"
#include "store/table.h"

namespace archive
{

int nextArchiveNumber(store::Table &order)
{
    if (order.isEmpty())
        throw store::TableError(QStringLiteral("В таблице order.dbf нет записи счетчиков"));
    int number = order.integer(QStringLiteral("arhnom")) + 1;
    if (number > kLastArchiveNumber || number < 1)
        number = 1;
    order.edit();
    order.setValue(QStringLiteral("arhnom"), number);
    order.post();
    order.flush();
    return number;
}

bool releaseArchiveNumbers(store::Table &table, const QSet<int> &numbers)
{
    const bool wasFiltered = table.filtered();
    // Walk in record order: an index on arnom would move a released row while walking.
    const QString index = table.indexName();
    table.setFiltered(false);
    table.setIndexName(QString());
    store::DeferredWrites deferred(table); // thousands of rows at a range deletion
    for (table.first(); !table.eof(); table.next()) {
        if (numbers.contains(table.integer(QStringLiteral("arnom")))) {
            table.edit();
            table.setValue(QStringLiteral("arnom"), -1);
            table.post();
        }
    }
    deferred.write();
    table.setIndexName(index);
    return wasFiltered;
}

void restartNumbering(store::Table &order)
{
    if (order.isEmpty())
        throw store::TableError(QStringLiteral("В таблице order.dbf нет записи счетчиков"));
    order.edit();
    order.setValue(QStringLiteral("arhnom"), 0);
    order.post();
    order.flush();
}

} // namespace archive
