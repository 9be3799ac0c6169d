#pragma once

// Writing a calculated recipe into the recipe archive under a new number (see
// archivenumbers.h): the rows still carrying that number are released first, so a new
// recipe replaces an old one of the same number (the window asks first, see
// chooseNextNumber). The writer works on the table cursors and plain values only; the
// results window passes its feed grid row as FeedGridRow.

#include "archive/reciperows.h"
#include "calc/recipe.h"
#include "calc/selection.h"

#include <QDate>
#include <QString>

namespace settings
{
struct Settings;
}

namespace archive
{

// The cells of the feed grid row of the recipe's feed type, as they stand when the
// recipe is written (the user's edits there are what is stored), read as numbers.
struct FeedGridRow {
    QString type;         // "Тип"
    double izder = 0;     // "Издержки"
    double procprib = 0;  // "Прибыль %"
    double gran = 0;      // "За гран. 1Т"
    QString gk;           // "Г/К"
    double nds = 0;       // "%нал."
    QString note;         // "Примечание"
    double namePrice = 0; // the price the recipe name carries (with or without tax)
};

// The price as the recipe name carries it: two decimals, or a whole number (a half to
// the even neighbour) when that price is to be rounded by the settings.
QString namePriceText(double namePrice, const settings::Settings &values);

// The recipe name: type + "-" + price text + "-" + number + form letter, trimmed.
QString recipeName(const FeedGridRow &row, int number, const settings::Settings &values);

// The rows a calculated recipe is stored in under `number`: what a write stores, for the
// window to tell a changed recipe from one written already.
RecipeRows resultRecipeRows(const calc::Selection &selection, const calc::FeedRecipe &recipe,
                            const FeedGridRow &row, const settings::Settings &values,
                            const QDate &workingDate, int number);

// Writes a calculated recipe under a new archive number, with what the selection it was
// calculated from says of its feed type and raw materials (standard, purpose, premixes
// and their contents, units), the values of the feed grid row, the settings' loss norm
// and price flags and the working date, and flushes the four tables. Values that cannot be
// stored are refused before any number is given out; a table error met while writing
// ends the write (the number is then released again by the next write that gets it).
ArchiveWriteResult writeResultToArchive(const ArchiveCursors &cursors,
                                        const calc::Selection &selection,
                                        const calc::FeedRecipe &recipe, const FeedGridRow &row,
                                        const settings::Settings &values, const QDate &workingDate);

} // namespace archive
