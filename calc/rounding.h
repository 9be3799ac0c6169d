#pragma once

// Rounding of the solver's exact amounts into the figures a recipe is written with:
// the share of each raw material in percent with two decimals, its tonnes with three,
// and its consumption including technological losses with three. Each feed type's
// figures are then corrected to add up exactly to 100 %, its output and its output
// plus losses, the residue spread over the components above 0.5 % in proportion to
// their shares. Nutrient rows become achieved levels, stock rows total consumptions.

#include "calc/problemrecord.h"

namespace calc
{

// After the final successful solve. Writes, for every column j: columnLower[j] the
// percentage, columnValue[j] the tonnes, columnUpper[j] the tonnes with losses; for
// the rows: levels of characteristics (the price row is left as the solver gave it)
// and total consumptions of the raw materials. lossNorm is L in percent.
void roundSolution(ProblemRecord &record, double lossNorm);

} // namespace calc
