#pragma once

// The archive numbers. Numbers run 1 .. 9999; the last one given out is kept in
// order.dbf (field arhnom) and wraps from 9999 to 1. A number given out again first
// releases the rows still carrying it (arnom := -1) in each archive table; a released
// row is dropped from the tables by the rewrite at close.

#include <QSet>

namespace store
{
class Table;
}

namespace archive
{

inline constexpr int kLastArchiveNumber = 9999;

// Gives out the next archive number: arhnom + 1, 10000 wrapping to 1, posted at once.
int nextArchiveNumber(store::Table &order);

// Gives every row of table whose arnom is one of `numbers` the value -1, in one walk of
// the whole table with its filter switched off. The filter stays off so that the caller
// can append the new rows; the result says whether it was on, for the caller to switch
// it on again afterwards (the filter expression is left as it was).
bool releaseArchiveNumbers(store::Table &table, const QSet<int> &numbers);

// "Новая нумерация": arhnom := 0, so that the next recipe written gets number 1.
void restartNumbering(store::Table &order);

} // namespace archive
