#pragma once

// The archive window's view of the four tables: the head table arkk filtered to the
// live recipes (or the selected ones), and the three lower tables following the
// current head row.

#include "archive/archivecursors.h"

#include <QString>

namespace archive
{

inline const QString kAllRecipesFilter = QStringLiteral("arnom>0");
inline const QString kSelectedRecipesFilter = QStringLiteral("(arnom>0) and (vibor='+')");

// "arnom=" + number: the rows of one recipe.
QString recipeFilter(int number);

// The archive number of the head row under the cursor; 0 when the view is empty.
int currentNumber(const store::Table &arkk);

// Linked browsing: arsir, arpit and arprem filtered to the current head's number (each
// opened when closed) and put on their first rows. Nothing when the head view is empty.
void linkToHead(const ArchiveCursors &cursors);

// The head table on all recipes ("arnom>0", filtering on), on its first row.
void showAllRecipes(store::Table &arkk);

// Back from a list, the certificate or the range panel: all recipes, the head cursor on
// recipe `number` (on the first row when it is gone), the lower tables linked to it.
void returnToRecipe(const ArchiveCursors &cursors, int number);

} // namespace archive
