#pragma once

// Assembly of the linear programme of one calculation attempt: all feed types in one
// programme, since they share the stock.
//
// Variables (columns j): tonnes of raw material columnRaw[j] in feed type
// columnFeed[j]'s batch, between its inclusion limits turned into tonnes.
// Rows i, in this order: per feed type p its output row (sum of its columns = output)
// and one row per characteristic q with a non-zero maximum norm (content / max summed
// over its columns, between min × (1 − r) × W / max and (1 + r) × W, r the row's
// relaxation share); then one stock row per raw material (its columns summed, at most
// the stock net of losses, and at least that when it is to be used up); then per ratio
// in force one row for its minimum r, Σ (a_num − r (1 − s) a_den) x >= 0, and one for
// its maximum R, Σ (a_num − R (1 + s) a_den) x <= 0, over its feed type's columns (s the
// row's relaxation share). Without ratios the programme is the one it always was.
// Objective: minimise Σ price × tonnes.

#include "calc/rowlayout.h"
#include "calc/selection.h"
#include "lp/lpexport.h"
#include "lp/programme.h"

#include <optional>
#include <vector>

namespace calc
{

// A programme and what its rows stand for.
struct AssembledProgramme {
    lp::Programme programme;
    RowLayout layout;
};

// Builds the programme of the selection at the outputs of the attempt in hand: rows,
// bounds, objective and coefficients, the column bounds turned from percent of the batch
// into tonnes. relax[i] is the relaxation share of row i (1-based); lossNorm is L in
// percent. A programme too large for the solver's tableau is not built: the caller then
// shows kOverflowMessage and ends the run.
std::optional<AssembledProgramme> assembleProgramme(const Selection &selection, bool useFullUse,
                                                    const std::vector<double> &relax,
                                                    double lossNorm);

// "feed type p, raw material s": what column j stands for, for the export's comments.
lp::ColumnNote columnNote(const Selection &selection);

// The bounds of a nutrient row: min × (1 − r) × W / max (never negative) and
// (1 + r) × W. Where the two meet on paper but the lower one comes out a rounding
// step above the upper one (an exact requirement, min = max), they are made equal.
struct RowBounds {
    double lower = 0;
    double upper = 0;
};
RowBounds nutrientRowBounds(double normMin, double normMax, double output, double relax);

// The ratio a ratio row holds its feed type to with relaxation share relax: the minimum ×
// (1 − relax) (never below 0), the maximum × (1 + relax).
double ratioRowRate(const Ratio &ratio, RatioSide side, double relax);

} // namespace calc
