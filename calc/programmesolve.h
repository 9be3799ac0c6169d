#pragma once

// The solver run on an assembled programme, its answer written into the problem record
// as the stages after the solve read it: solveStatus (0, −i row i, +j column j),
// programmeError, the tonnes of every column in columnValue and the activity of every
// row in rowValue (full solve only), objective (minus the cost) and the tolerance.

#include "calc/problemrecord.h"
#include "lp/finaltableau.h"
#include "lp/simplex.h"

namespace calc
{

// The full solver (lp::solve); finalTableau and limits as there.
lp::SolverStats solveProgramme(ProblemRecord &record, const lp::Programme &programme,
                               lp::SolverProgress *progress,
                               lp::FinalTableau *finalTableau = nullptr,
                               const lp::SolverLimits &limits = {});

// The feasibility phase only: solveStatus and programmeError; columnValue keeps the
// prices and rowValue what it held.
lp::SolverStats checkFeasibility(ProblemRecord &record, const lp::Programme &programme,
                                 const lp::SolverLimits &limits = {});

} // namespace calc
