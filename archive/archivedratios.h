#pragma once

// The ratios an archived recipe is shown with. The archive keeps no ratio of its own:
// its feed type is found again from the head row (the recipe name is the type, the
// price and the number; purpose and standard as the feed type has them), and that feed
// type's ratios in force are read from ratio.dbf. Their levels come from the archived
// levels of the two characteristics (calculated and actual).

#include "archive/archivedrecipe.h"

#include <QList>
#include <QString>

namespace archive
{

// The kodkk of the listed feed type the archived recipe was made for, read from kk.dbf
// and order.dbf in dataDirectory; 0 when none fits (renamed, deleted, or the type cell
// edited when the recipe was written). Of several, the longest type.
int archivedFeedKey(const ArchivedRecipe &recipe, const QString &dataDirectory);

// The recipe's ratio lines: the ratios in force of its feed type, numerator and
// denominator named as in pit.dbf. None without ratio.dbf. Throws store::TableError.
QList<ArchivedRecipe::RatioLine> archivedRatios(const ArchivedRecipe &recipe,
                                                const QString &dataDirectory);

} // namespace archive
