#pragma once

// Deleting recipes from the archive window: the rows of a deleted recipe get arnom -1 in
// all four tables (released rows) and go when the tables are rewritten at close. On a
// table error the cursors are put back as they were (view, filter, current recipe) and
// the error is thrown on; rows released before it stay released.

#include "archive/archivecursors.h"

#include <QSet>
#include <QString>

namespace archive
{

inline const QString kBadRangeMessage = QStringLiteral("Диапазон номеров ПЛОХОЙ!!");

// Deletes the recipe of the current head row; the head cursor goes to the next row (or
// the last) and the lower tables follow it. False when the view is empty.
bool deleteCurrentRecipe(const ArchiveCursors &cursors);

// A number typed into the range panel: trimmed, an empty field gives 0.
int rangeFieldNumber(const QString &text);

// A range the panel refuses (kBadRangeMessage): "from" must be below "to".
inline bool rangeRefused(int from, int to)
{
    return from >= to;
}

// The numbers of the live recipes with from <= arnom <= to; the head cursor stays as it
// was.
QSet<int> recipesInRange(store::Table &arkk, int from, int to);

struct RangeDeletion {
    bool refused = false; // from >= to: nothing deleted
    int deleted = 0;      // recipes deleted; numbers without a recipe are skipped
};

// Deletes every live recipe with from <= arnom <= to: one walk of each table with its
// filter switched off; then the head table is filtered again and on its first row.
RangeDeletion deleteRecipeRange(const ArchiveCursors &cursors, int from, int to);

} // namespace archive
