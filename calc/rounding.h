#pragma once

// Rounding of the solver's exact amounts into the figures a recipe is written with:
// the share of each raw material in percent with two decimals, its tonnes with three,
// and its consumption including technological losses with three. Each feed type's
// figures are then corrected to add up exactly to 100 %, its output and its output
// plus losses, the residue spread over the components above 0.5 % in proportion to
// their shares. Nutrient rows become achieved levels, stock rows total consumptions.

#include "calc/recipe.h"
#include "calc/rowlayout.h"
#include "calc/selection.h"
#include "lp/solution.h"

namespace calc
{

// The recipes of the final successful solve of the programme laid out as layout says.
// A characteristic's level is its row's activity × maximum / output; the price level,
// the raw-material cost of a tonne, is taken from the solver's figures as they stand;
// a ratio's level is taken from the solver's amounts.
// lossNorm is L in percent.
Recipes roundRecipes(const Selection &selection, const RowLayout &layout,
                     const lp::Solution &solution, double lossNorm);

} // namespace calc
