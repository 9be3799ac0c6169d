#include "archive/archivenumbers.h"

#include "store/cursorstate.h"
#include "store/datasourceoff.h"
#include "store/deferredwrites.h"
#include "store/table.h"

namespace archive
{

namespace
{

void requireCounters(const store::Table &order)
{
    if (order.isEmpty())
        throw store::TableError(QStringLiteral("В таблице order.dbf нет записи счетчиков"));
}

void setLastNumber(store::Table &order, int number)
{
    order.edit();
    order.setValue(QStringLiteral("arhnom"), number);
    order.post();
    order.flush();
}

// Walks every head row of arkk in record order, its view and position put back after.
void forEachHead(store::Table &arkk, const std::function<void(int number)> &visit)
{
    const store::DataSourceOff off(arkk);
    const store::CursorStateGuard keep(arkk);
    arkk.setIndexName(QString());
    arkk.setFiltered(false);
    for (arkk.first(); !arkk.eof(); arkk.next())
        visit(arkk.integer(QStringLiteral("arnom")));
}

} // namespace

int pendingArchiveNumber(const store::Table &order)
{
    requireCounters(order);
    const int number = order.integer(QStringLiteral("arhnom")) + 1;
    return number > kLastArchiveNumber || number < 1 ? 1 : number;
}

int nextArchiveNumber(store::Table &order)
{
    const int number = pendingArchiveNumber(order);
    setLastNumber(order, number);
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
    requireCounters(order);
    setLastNumber(order, 0);
}

std::optional<ArchiveOccupant> occupantOf(store::Table &arkk, int number)
{
    std::optional<ArchiveOccupant> found;
    forEachHead(arkk, [&](int arnom) {
        if (arnom == number && !found)
            found = ArchiveOccupant{number, arkk.text(QStringLiteral("naim")).trimmed(),
                                    arkk.text(QStringLiteral("data")).trimmed()};
    });
    return found;
}

int nextFreeNumber(store::Table &arkk, int number)
{
    QSet<int> held;
    forEachHead(arkk, [&](int arnom) { held.insert(arnom); });
    for (int step = 1; step <= kLastArchiveNumber; ++step) {
        const int candidate = (number - 1 + step) % kLastArchiveNumber + 1;
        if (!held.contains(candidate))
            return candidate;
    }
    return 0;
}

bool chooseNextNumber(const ArchiveCursors &cursors,
                      const std::function<NumberChoice(const NumberConflict &)> &decide)
{
    const int number = pendingArchiveNumber(*cursors.order);
    const std::optional<ArchiveOccupant> occupant = occupantOf(*cursors.arkk, number);
    if (!occupant)
        return true;
    const NumberConflict conflict{*occupant, nextFreeNumber(*cursors.arkk, number)};
    switch (decide(conflict)) {
    case NumberChoice::Replace:
        return true;
    case NumberChoice::NextFree:
        if (conflict.freeNumber == 0)
            return false;
        setLastNumber(*cursors.order, conflict.freeNumber - 1);
        return true;
    case NumberChoice::Cancel:
        break;
    }
    return false;
}

} // namespace archive
