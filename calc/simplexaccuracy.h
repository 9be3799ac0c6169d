#pragma once

// The solver's check on its own arithmetic. The exchange-form tableau is updated in
// place pivot after pivot and never recomputed; on some programmes (tight shared
// stock, tens of thousands of pivots) rounding errors grow until a pivot is taken on
// an entry that is only noise, and from then on the tableau no longer describes the
// programme: the "optimal" amounts break the norms. To catch that, the solver keeps
// the programme as assembled and, now and then, recomputes every row activity from
// the current amounts and compares it with the tableau's own figure.

#include "calc/problemrecord.h"

#include <QtGlobal>

#include <vector>

namespace calc
{

// Row activities from the amounts may differ from the tableau's figures by this much,
// relative to the activity (or absolutely below 1 t), before the tableau is judged
// to have drifted (fresh figures for the same basis set it right) ...
inline constexpr double kConsistencyLimit = 1e-8;
// ... and by this much before it is judged to have lost its accuracy (it has pivoted
// on rounding noise: its basis is no longer to be trusted).
inline constexpr double kNoiseLimit = 1e-6;

class OriginalProgramme final
{
public:
    // Copies the assembled programme of the record: coefficients, bounds, prices.
    explicit OriginalProgramme(const ProblemRecord &record);
    Q_DISABLE_COPY_MOVE(OriginalProgramme)

    bool held() const { return held_; }

    // Puts the programme back into the record, as the assembly left it.
    void restore(ProblemRecord &record) const;

    // Largest relative difference between a row activity recomputed from the
    // current values of the tableau (basic variables at their row values, non-basic
    // ones at their bounds) and the tableau's value of that activity.
    double inconsistency(const ProblemRecord &record) const;

private:
    bool held_ = false;
    int m_ = 0;
    int n_ = 0;
    std::ptrdiff_t stride_ = 0;
    // the negated coefficients that are not 0, row after row (the matrix is sparse:
    // each column has a few dozen of its up to 2690 entries)
    std::vector<int> rowStart_; // [i]: first entry of row i; [m + 1]: the end
    std::vector<int> column_;   // 0-based column of each entry
    std::vector<double> entry_;
    std::vector<double> rowLower_, rowUpper_, columnLower_, columnUpper_, price_;
    mutable std::vector<double> x_, y_; // scratch of inconsistency()
};

} // namespace calc
