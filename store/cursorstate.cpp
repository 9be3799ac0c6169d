#include "store/cursorstate.h"

namespace store
{

CursorState CursorState::of(const Table &table)
{
    CursorState state;
    state.indexName = table.indexName();
    state.ranged = table.hasRange();
    state.rangeLow = table.rangeLow();
    state.rangeHigh = table.rangeHigh();
    state.filter = table.filter();
    state.filtered = table.filtered();
    if (table.isOpen()) {
        state.record = table.recordNumber();
        state.eof = table.eof() && !table.isEmpty();
    }
    return state;
}

void CursorState::restore(Table &table) const
{
    if (table.isOpen() && table.state() != Table::State::Browse)
        table.cancel();
    table.setIndexName(indexName);
    table.setFilter(filter);
    table.setFiltered(filtered);
    if (!table.isOpen())
        return;
    if (ranged)
        table.setRange(rangeLow, rangeHigh);
    else
        table.cancelRange();
    if (record < 0 || !table.moveToRecord(record)) {
        table.first();
        return;
    }
    if (eof)
        table.next();
}

CursorStateGuard::~CursorStateGuard()
{
    if (dismissed_)
        return;
    try {
        state_.restore(table_);
    } catch (const TableError &) {
        // the table is unusable; the operation that failed reports why
    }
}

} // namespace store
