#pragma once

// The simplex solver of the calculation: a primal method for bounded variables on a
// dense tableau in exchange form, working in place on the problem record.
//
// The programme, as the assembly leaves it (n = columnCount, m = rowCount):
//
//     minimise    Σ_j c_j x_j                      c_j = columnValue[j]
//     subject to  rowLower[i] <= y_i <= rowUpper[i],   y_i = Σ_j a_ij x_j,  i = 1..m
//                 columnLower[j] <= x_j <= columnUpper[j],                  j = 1..n
//
// with the matrix held negated, T(i, j) = coef.at(i, j) = −a_ij. Every variable,
// structural (x_j, label +j) or row activity (y_i, label −i), has finite bounds on
// both sides, so the programme is never unbounded.
//
// Tableau: row i holds the basic variable rowLabel[i] with its value rowValue[i] and
// bounds rowLower/rowUpper[i]; column j holds the non-basic variable columnLabel[j]
// at its lower (columnAtLower[j] = 1) or upper bound, with bounds columnLower/Upper[j]
// and reduced cost columnValue[j]. A non-basic variable is measured from its bound
// into its range: moving column j's variable by Δ changes rowValue[i] by −T(i, j) Δ
// and the cost by columnValue[j] Δ. A pivot exchanges labels and bounds of a row and
// a column; a bound flip moves a non-basic variable to its other bound.
//
// The method: start with every structural variable at its lower bound; feasibility
// phase (bring the first row that is out of its bounds toward it, with the first
// column that helps, keeping every row already within its bounds there); cost phase
// (most negative reduced cost enters); extraction of the values. Ties go to the lowest
// column and the earliest row.
//
// Three safeguards, each acting only where the method alone would go wrong, so that
// on every other programme the flips and pivots are exactly the method's:
// - a phase that returns to a basis it has had before (it would go round for ever)
//   finishes with the smallest-index rule, which cannot cycle;
// - the row activities are recomputed now and then from the programme as assembled
//   (simplexaccuracy.h); when they have drifted from the tableau's figures (long runs
//   of pivots), a fresh tableau is built for the basis in hand and the method goes on;
//   when they no longer match at all (pivots on rounding noise), a fresh tableau is
//   built for the last basis that matched and the method goes on from there under
//   careful rules that ignore noise-sized entries; when that does not help either, the
//   solve ends with programmeError LostAccuracy rather than with a false optimum;
// - a row that no column can move and that misses its bound only by rounding (fixed
//   inclusions that add up to the output one unit in the last place short) is put on
//   its bound instead of ending the solve as infeasible.

#include "calc/problemrecord.h"
#include "calc/runobserver.h"
#include "calc/simplexaccuracy.h"

#include <cstdint>

namespace calc
{

class FinalTableau;

// What one solve did, for the tool's totals and the benchmark.
struct SolverStats {
    std::int64_t pivots = 0;
    std::int64_t flips = 0;
    std::int64_t feasibilityPivots = 0; // of the pivots, those of the feasibility phase
    std::int64_t degeneratePivots = 0;  // pivots with a step of 0
    // Σ over pivots of (rows in the pivot column − 1) × columns in the pivot row:
    // the tableau entries the pivots updated.
    std::int64_t updatedEntries = 0;
    // Phases that repeated a basis and were finished by the smallest-index rule.
    int cycleBreaks = 0;
    // Fresh tableaux built after the tableau had lost its accuracy (back to the last
    // basis found right), and after it had only drifted (for the basis in hand).
    int rebuilds = 0;
    int refreshes = 0;
    // Pivots whose row update was shared between threads, and the most threads used.
    std::int64_t sharedPivots = 0;
    int threads = 1;
    // Wall time of the pivots' row updates (step 5), the part the threads share.
    double rowUpdateSeconds = 0;

    SolverStats &operator+=(const SolverStats &other);
};

// How far the figures may drift before a fresh tableau, how far before the tableau
// counts as lost, and how many fresh tableaux of each kind a solve may build. The
// program uses the defaults; tests narrow them to reach those paths on small cases.
struct SolverLimits {
    double drift = kConsistencyLimit;
    double noise = kNoiseLimit;
    int rebuilds = 30;
    int refreshes = 1000;
};

// The full solver: feasibility phase, cost phase, extraction. On return solveStatus
// is 0 (optimal) or the label of the first basic variable that cannot be brought
// within its bounds (−i: row i; +j: column j); columnValue[j] holds the tonnes of
// column j and rowValue[i] the activity of row i (also after a failure: the values
// reached); objective is minus the cost; the coefficient list is released. progress
// may be null. With nothing assembled (the coefficient list overflowed) nothing is
// solved and programmeError is Overflow; when the figures could not be kept right
// programmeError is LostAccuracy: in both cases solveStatus then says nothing. finalTableau,
// when given, receives a copy of the tableau at the optimum (cleared when there is
// none); the solve itself is the same with it or without.
SolverStats solveProgramme(ProblemRecord &record, SolverProgress *progress,
                           FinalTableau *finalTableau = nullptr, const SolverLimits &limits = {});

// The feasibility phase only: solveStatus as above; columnValue keeps the prices and
// rowValue holds no solution; the coefficient list is released.
SolverStats checkFeasibility(ProblemRecord &record, const SolverLimits &limits = {});

} // namespace calc
