#include "lists/listscheme.h"

#include "store/cursorstate.h"
#include "store/datasourceoff.h"
#include "store/table.h"

namespace lists
{

namespace
{

const QString orderField = QStringLiteral("order");
const QString orderIndex = QStringLiteral("order");

} // namespace

ListScheme::ListScheme(ListTraits traits) : traits_(std::move(traits)) {}

int ListScheme::count() const
{
    store::Table &counts = *traits_.counts;
    if (counts.isEmpty())
        return 0;
    return counts.integer(traits_.countField);
}

void ListScheme::setCount(int n)
{
    store::Table &counts = *traits_.counts;
    counts.first();
    counts.setNumber(traits_.countField, n);
    counts.post();
}

int ListScheme::visibleCount() const
{
    return table().isOpen() ? table().viewCount() : 0;
}

int ListScheme::currentOrder() const
{
    return table().isEmpty() ? 0 : table().integer(orderField);
}

bool ListScheme::canAdd() const
{
    return visibleCount() < traits_.limit && count() < poolSize_;
}

void ListScheme::activate()
{
    store::Table &t = table();
    {
        store::DataSourceOff off(t);
        t.setIndexName(orderIndex);
        {
            // The pool: every record, whatever the range and filter.
            store::CursorStateGuard keep(t);
            t.cancelRange();
            t.setFiltered(false);
            poolSize_ = t.viewCount();
        }
        t.setRange(traits_.firstPosition, count());
        t.first();
    }
    moveFrom_ = 0;
}

void ListScheme::restoreNormalRange()
{
    store::Table &t = table();
    store::DataSourceOff off(t);
    t.setRange(1, count());
    t.first();
}

void ListScheme::dropFilter()
{
    if (!traits_.dropsFilter)
        return;
    store::Table &t = table();
    t.setFilter(QString());
    t.setFiltered(false);
}

int ListScheme::dropFilterKeepingCurrent()
{
    store::Table &t = table();
    const int current = currentOrder();
    if (traits_.dropsFilter && (t.filtered() || !t.filter().isEmpty())) {
        dropFilter();
        t.findKey(current);
    }
    return current;
}

void ListScheme::walkPhysical(const std::function<int(int)> &newOrder)
{
    store::Table &t = table();
    t.cancelRange();
    t.close();
    t.setIndexName(QString());
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        const int order = t.integer(orderField);
        const int changed = newOrder(order);
        if (changed != order) {
            t.setNumber(orderField, changed);
            t.post();
        }
    }
}

void ListScheme::reopenView()
{
    store::Table &t = table();
    t.close();
    t.setIndexName(orderIndex);
    t.open();
    t.setRange(traits_.firstPosition, count());
    t.first();
}

bool ListScheme::addAbove()
{
    if (!canAdd() || table().isEmpty())
        return false;
    store::Table &t = table();
    store::DataSourceOff off(t);
    const int p = dropFilterKeepingCurrent();
    const int n = count() + 1;
    setCount(n);
    walkPhysical([p, n](int order) {
        if (order >= p && order < n)
            return order + 1;
        return order == n ? p : order;
    });
    reopenView();
    t.findKey(p);
    if (traits_.nameNewEntry)
        traits_.nameNewEntry(t, AddPlace::Above);
    t.post();
    return true;
}

bool ListScheme::addAtEnd()
{
    if (!canAdd())
        return false;
    store::Table &t = table();
    dropFilter();
    const int n = count() + 1;
    setCount(n);
    t.setRange(traits_.firstPosition, n);
    t.last();
    if (traits_.nameNewEntry)
        traits_.nameNewEntry(t, AddPlace::AtEnd);
    t.post();
    return true;
}

void ListScheme::deleteCurrent()
{
    store::Table &t = table();
    if (t.isEmpty())
        return;
    store::DataSourceOff off(t);
    const int p = dropFilterKeepingCurrent();
    const int oldN = count();
    setCount(oldN - 1);
    walkPhysical([p, oldN](int order) {
        if (order > p && order <= oldN)
            return order - 1;
        return order == p ? oldN : order;
    });
    reopenView();
    t.findKey(p - 1); // not found when the first entry went: the new first stays current
}

void ListScheme::beginMove()
{
    store::Table &t = table();
    if (t.isEmpty())
        return;
    moveFrom_ = dropFilterKeepingCurrent();
}

void ListScheme::finishMove()
{
    const int s = moveFrom_;
    moveFrom_ = 0;
    store::Table &t = table();
    if (s <= 0 || t.isEmpty())
        return;
    store::DataSourceOff off(t);
    const int target = currentOrder();
    walkPhysical([s, target](int order) {
        if (order == s)
            return target;
        if (s < target && order > s && order <= target)
            return order - 1;
        if (s >= target && order >= target && order < s)
            return order + 1;
        return order;
    });
    reopenView();
    t.findKey(target);
}

} // namespace lists
