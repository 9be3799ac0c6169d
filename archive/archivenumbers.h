#pragma once

// The archive numbers. Numbers run 1 .. 9999; the last one given out is kept in
// order.dbf (field arhnom) and wraps from 9999 to 1. A number given out again first
// releases the rows still carrying it (arnom := -1) in each archive table; a released
// row is dropped from the tables by the rewrite at close.
//
// After "Новая нумерация" or the wrap the next number may still be held by a live
// recipe: before a write the window is told which one and chooses (chooseNextNumber).

#include "archive/archivecursors.h"

#include <QSet>
#include <QString>

#include <functional>
#include <optional>

namespace archive
{

inline constexpr int kLastArchiveNumber = 9999;

// The number the next write gets: arhnom + 1, 10000 wrapping to 1. Nothing is changed.
int pendingArchiveNumber(const store::Table &order);

// Gives out the next archive number (pendingArchiveNumber), posted at once.
int nextArchiveNumber(store::Table &order);

// Gives every row of table whose arnom is one of `numbers` the value -1, in one walk of
// the whole table with its filter switched off. The filter stays off so that the caller
// can append the new rows; the result says whether it was on, for the caller to switch
// it on again afterwards (the filter expression is left as it was).
bool releaseArchiveNumbers(store::Table &table, const QSet<int> &numbers);

// "Новая нумерация": arhnom := 0, so that the next recipe written gets number 1.
void restartNumbering(store::Table &order);

// The live recipe that holds an archive number: its head row's name and date as stored.
struct ArchiveOccupant {
    int number = 0;
    QString naim;
    QString data;
};

// The live recipe with this number in arkk (whatever its view), if any. The cursor's
// view and position stay as they were.
std::optional<ArchiveOccupant> occupantOf(store::Table &arkk, int number);

// The first number after `number`, going round from 9999 to 1, that no live recipe
// holds; 0 when every number is held.
int nextFreeNumber(store::Table &arkk, int number);

// The recipe the next write would replace, and the number it could take instead.
struct NumberConflict {
    ArchiveOccupant occupant;
    int freeNumber = 0; // 0: no number is free
};

enum class NumberChoice {
    Replace,  // the write releases the held number's rows, as it always did
    NextFree, // the write gets conflict.freeNumber (arhnom is set to the one before it)
    Cancel,   // nothing is written and no number is used up
};

// Before a write: when the number it would get is held, `decide` chooses. False when the
// write is not to go ahead (Cancel, or NextFree with no free number); nothing is
// changed then. Throws store::TableError.
bool chooseNextNumber(const ArchiveCursors &cursors,
                      const std::function<NumberChoice(const NumberConflict &)> &decide);

} // namespace archive
