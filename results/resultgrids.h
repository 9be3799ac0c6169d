#pragma once

// The cells of the results window's lower grids for one feed type, from its recipe: its
// composition (one row per raw material it takes) and the characteristics it reaches
// against its norms, with the rule that marks a norm violation red.

#include "calc/recipe.h"
#include "results/cellnumber.h"

#include <QList>
#include <QString>

namespace results
{

// The lines of the recipe that hold an amount (tonnes ≠ 0), as indices into its lines:
// data row r of the composition grid stands for the r-th of them.
QList<int> compositionLines(const calc::FeedRecipe &recipe);

// A composition grid row: name, "% ввода" (8.2), "Цена  1Т." (10.2), "Стоимость" of the
// whole batch (13.2), "Вес без пот" in tonnes (13.3). The percentage and the price are
// cells the user may type into.
struct CompositionRow {
    QString name;
    CellValue percent;
    CellValue price;
    QString batchCost;
    QString tonnes;
};

QList<CompositionRow> compositionRows(const calc::FeedRecipe &recipe);

// The cost cell of a composition row: price × tonnes in fixed 13.2.
QString batchCostText(double price, double tonnes);

// A characteristics grid row, one per characteristic level of the recipe but the price:
// name, "Минимум", "Факт", "Максимум"; values of 45 and more
// without decimals, a blank (no number) for a minimum of 0 and for no maximum (0, or
// four times the minimum). The ratios in force follow, named "Кальций/Фосфор доступный",
// with four decimals.
struct CharacteristicRow {
    QString name;
    CellValue minimum;
    CellValue fact;
    CellValue maximum;
};

QList<CharacteristicRow> characteristicRows(const calc::FeedRecipe &recipe);

// A characteristics row is drawn red when its "Факт" is a number and a minimum that is
// one is above it or a maximum that is one is below it, as the cells show them.
bool violatesNorm(const CellValue &minimum, const CellValue &fact, const CellValue &maximum);

} // namespace results
