#pragma once

// Finishing a composition correction in the results window: the percentages typed into
// the composition grid become the feed type's recipe again. Empty cells count as 0; a
// sum within 0.005 of 100 % is taken as it is; a shortfall goes into the first row at
// 0 %; anything else is refused. The accepted percentages give the tonnes (the row with
// the largest share takes what rounding leaves, so that the tonnes add up to the
// output, with and without losses), the raw-material cost and the levels reached.

#include "calc/recipe.h"
#include "calc/selection.h"
#include "results/cellnumber.h"

#include <QList>
#include <QString>

namespace results
{

struct CorrectionResult {
    QString message;    // why it was refused; empty when the composition was taken
    double rawCost = 0; // raw-material cost of one tonne of the corrected feed type
    bool ok() const { return message.isEmpty(); }
};

// percents: the "% ввода" cells of the grid rows (compositionLines of the recipe), in
// row order, changed in place as the grid is to show them ("0.00" for an empty cell, the
// shortfall in fixed 8.2); prices: the "Цена  1Т." cells (a cell that is not a number
// counts with the line's price). Changes the recipe only when the composition is taken;
// the levels and the ratios' levels come from the raw materials' contents in the selection.
CorrectionResult finishCorrection(calc::FeedRecipe &recipe, const calc::Selection &selection,
                                  QList<CellValue> &percents, const QList<CellValue> &prices,
                                  double lossNorm);

} // namespace results
