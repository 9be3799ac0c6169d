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
// the stock net of losses, and at least that when it is to be used up).
// Objective: minimise Σ price × tonnes; columnValue[j] holds the price.
// The record keeps what each row and column stands for (rowKind, rowOwner, columnFeed,
// columnRaw); the programme itself is handed out as a value.

#include "calc/problemrecord.h"
#include "lp/lpexport.h"
#include "lp/programme.h"

#include <optional>
#include <vector>

namespace calc
{

// Builds the programme of the loaded record: rows, bounds, objective and coefficients;
// the record's column bounds go from percent of the batch to tonnes, its rows get their
// kinds and owners. relax[i] is the relaxation share of row i (1-based, normally
// record.rowRelax); lossNorm is L in percent. Sets solveStatus to 0 and programmeError
// to None; a programme too large for the solver's tableau is not built (programmeError
// Overflow, nothing returned): the caller then shows kOverflowMessage and ends the run.
std::optional<lp::Programme> assembleProgramme(ProblemRecord &record, bool useFullUse,
                                               const std::vector<double> &relax, double lossNorm);

// "feed type p, raw material s": what column j stands for, for the export's comments.
lp::ColumnNote columnNote(const ProblemRecord &record);

// The bounds of a nutrient row: min × (1 − r) × W / max (never negative) and
// (1 + r) × W. Where the two meet on paper but the lower one comes out a rounding
// step above the upper one (an exact requirement, min = max), they are made equal.
struct RowBounds {
    double lower = 0;
    double upper = 0;
};
RowBounds nutrientRowBounds(double normMin, double normMax, double output, double relax);

} // namespace calc
