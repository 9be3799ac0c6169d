#pragma once

// The simplex solver: a primal method for bounded variables on a dense tableau in
// exchange form. It takes a programme (lp/programme.h, n columns, m rows):
//
//     minimise    Σ_j c_j x_j
//     subject to  rowLower[i] <= y_i <= rowUpper[i],   y_i = Σ_j a_ij x_j,  i = 1..m
//                 columnLower[j] <= x_j <= columnUpper[j],                  j = 1..n
//
// and starts its tableau from the matrix negated, T(i, j) = −a_ij. Every variable,
// structural (x_j, label +j) or row activity (y_i, label −i), has finite bounds on
// both sides, so the programme is never unbounded.
//
// Tableau (lp/simplextableau.h): row i holds the basic variable rowLabel[i] with its value
// rowValue[i] and bounds rowLower/rowUpper[i]; column j holds the non-basic variable columnLabel[j]
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
// Above a size (rulesFor), the textbook rules take the place of the method's choices on
// the same tableau: a composite feasibility phase that lowers the sum of the rows'
// infeasibilities (rows outside their bounds may cross into them within one step), then
// the cost phase with Devex pricing; both with a two-pass ratio test of Harris's kind
// and the entering column's range taken as a bound flip. Where they find no recipe, the
// failing variable is the activity of the lowest-numbered row still outside its bounds
// once that sum can fall no further. The method's own rules take far more steps on
// large programmes with tight stock (each brings one row at a time to its bound).
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
//   solve ends with the error LostAccuracy rather than with a false optimum;
// - a row that no column can move and that misses its bound only by rounding (fixed
//   inclusions that add up to the output one unit in the last place short) is put on
//   its bound instead of ending the solve as infeasible.

#include "lp/programme.h"
#include "lp/simplexaccuracy.h"
#include "lp/solution.h"
#include "lp/solverprogress.h"

#include <QString>

#include <atomic>
#include <optional>

namespace lp
{

// The rules that choose the steps: the method's own, the textbook rules, or by the
// programme's size.
enum class Rules : std::uint8_t { Described, Textbook, Automatic };

// Tableau entries (rows × columns) above which the automatic choice takes the textbook
// rules: the largest programme of 15 feed types × 40 raw materials × 30 characteristics
// (505 rows × 600 columns) keeps the method's own rules. On tight stock these already
// take seconds there (bench-calc --only threshold), so the textbook rules start right
// above it.
inline constexpr std::int64_t kTextbookAboveEntries = 303'000;

// The rules a solve uses: asked, or by size when asked for Automatic.
Rules rulesFor(const Programme &programme, Rules asked);

// "described", "textbook", "auto"; and back (nothing for any other text).
QString rulesName(Rules rules);
std::optional<Rules> rulesNamed(QStringView name);

class FinalTableau;

// How far the figures may drift before a fresh tableau, how far before the tableau
// counts as lost, and how many fresh tableaux of each kind a solve may build; and the
// rules it follows. The program uses the defaults; tests narrow them to reach those
// paths on small cases.
struct SolverLimits {
    double drift = kConsistencyLimit;
    double noise = kNoiseLimit;
    int rebuilds = 30;
    int refreshes = 1000;
    Rules rules = Rules::Automatic;
    // Set from another thread to end the solve at its next step with SolveError::Stopped.
    const std::atomic_bool *stop = nullptr;
};

// The full solver: feasibility phase, cost phase, extraction of the values (also after
// an infeasible end or a loss of accuracy: the point reached). progress may be null.
// finalTableau, when given, receives a copy of the tableau at the optimum (cleared when
// there is none); the solve itself is the same with it or without.
Solution solve(const Programme &programme, SolverProgress *progress = nullptr,
               FinalTableau *finalTableau = nullptr, const SolverLimits &limits = {});

// The feasibility phase only: the verdict, and the values of the point it reached, but
// no cost.
Solution checkFeasibility(const Programme &programme, const SolverLimits &limits = {});

} // namespace lp
