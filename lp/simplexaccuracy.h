#pragma once

// The solver's check on its own arithmetic. The exchange-form tableau is updated in
// place pivot after pivot and never recomputed; on some programmes (tight shared
// stock, tens of thousands of pivots) rounding errors grow until a pivot is taken on
// an entry that is only noise, and from then on the tableau no longer describes the
// programme: the "optimal" amounts break the norms. To catch that, the solver keeps
// the programme as given and, now and then, recomputes every row activity from
// the current amounts and compares it with the tableau's own figure.

#include "lp/programme.h"

#include <QtGlobal>

#include <vector>

namespace lp
{

struct TableauState;

// Row activities from the amounts may differ from the tableau's figures by this much,
// relative to the activity (or absolutely below 1), before the tableau is judged
// to have drifted (fresh figures for the same basis set it right) ...
inline constexpr double kConsistencyLimit = 1e-8;
// ... and by this much before it is judged to have lost its accuracy (it has pivoted
// on rounding noise: its basis is no longer to be trusted).
inline constexpr double kNoiseLimit = 1e-6;

class OriginalProgramme final
{
public:
    explicit OriginalProgramme(const Programme &programme);
    Q_DISABLE_COPY_MOVE(OriginalProgramme)

    // Puts the programme into the state as given: bounds, costs, T(i, j) = −a_ij.
    void restore(TableauState &state) const;

    // Largest relative difference between a row activity recomputed from the
    // current values of the tableau (basic variables at their row values, non-basic
    // ones at their bounds) and the tableau's value of that activity.
    double inconsistency(const TableauState &state) const;

    // One step of iterative refinement for the basis in hand: the basic variables move
    // so that every row activity equals the sum of the programme's row over the amounts,
    // the non-basic ones staying on their bounds; the objective becomes the cost of
    // those amounts. The tableau's entries serve as the inverse of the basis.
    void refine(TableauState &state) const;

private:
    // The current values into x_ and y_; residual[i] = Σ_j a_ij x_j − y_i.
    void residuals(const TableauState &state, std::vector<double> &residual) const;

    const Programme &programme_;
    mutable std::vector<double> x_, y_; // scratch of inconsistency()
};

} // namespace lp
