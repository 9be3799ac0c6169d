#include "maintenance/closedtables.h"

#include "store/datamodule.h"
#include "store/table.h"

#include <algorithm>

namespace maintenance
{

namespace
{

const QString kOrder = QStringLiteral("order");

bool isList(const store::DataModule &dm, const store::Table *table)
{
    return table == &dm.characteristics || table == &dm.feedTypes || table == &dm.rawMaterials;
}

} // namespace

ClosedTables::ClosedTables(store::DataModule &dataModule) : dataModule_(dataModule)
{
    const QList<store::Table *> all = dataModule_.dataTables();
    for (store::Table *table : all) {
        Saved saved{table, table->isOpen(), -1};
        if (saved.open && !table->isEmpty()) {
            saved.position =
                isList(dataModule_, table) ? table->integer(kOrder) : table->viewPosition();
        }
        saved_.append(saved);
    }
    for (const Saved &saved : saved_) {
        try {
            saved.table->close(); // posts and flushes
        } catch (const store::TableError &e) {
            closeErrors_.append(e.message());
        }
    }
}

ClosedTables::~ClosedTables()
{
    if (!reopened_)
        reopen();
}

QStringList ClosedTables::reopen()
{
    reopened_ = true;
    QStringList errors;
    // order.dbf first: the lists take their ranges from it.
    for (const Saved &saved : saved_) {
        if (!saved.open || isList(dataModule_, saved.table))
            continue;
        try {
            saved.table->open();
            if (saved.position >= 0 && saved.table->viewCount() > 0)
                saved.table->moveTo(std::min(saved.position, saved.table->viewCount() - 1));
        } catch (const store::TableError &e) {
            errors.append(e.message());
        }
    }
    reopenLists(errors);
    return errors;
}

void ClosedTables::reopenLists(QStringList &errors)
{
    QList<const Saved *> lists;
    for (const Saved &saved : saved_) {
        if (saved.open && isList(dataModule_, saved.table))
            lists.append(&saved);
    }
    if (lists.isEmpty())
        return;
    try {
        dataModule_.setNormalState();
        dataModule_.countSelected();
        for (const Saved *saved : lists) {
            saved->table->first();
            if (saved->position >= 0)
                saved->table->findKey(saved->position); // not found: stays on the first
        }
    } catch (const store::TableError &e) {
        errors.append(e.message());
    }
}

} // namespace maintenance
