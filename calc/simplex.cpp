#include "calc/simplex.h"

#include "calc/simplexcycle.h"
#include "calc/simplexdeferred.h"
#include "calc/simplextableau.h"
#include "store/numbertext.h"

#include <algorithm>

namespace calc {

namespace {

using Outcome = SimplexTableau::Outcome;

// Tells the progress bar the objective after a pivot, when its whole-number position
// has moved.
class ProgressFeed final
{
public:
    explicit ProgressFeed(SolverProgress *progress) : progress_(progress) {}

    void report(double objective)
    {
        if (!progress_)
            return;
        const double rounded = std::clamp(store::roundHalfEven(objective), -2e9, 2e9);
        const int position = static_cast<int>(rounded);
        if (position != last_) {
            last_ = position;
            progress_->solverProgress(position);
        }
    }

private:
    SolverProgress *progress_;
    int last_ = 1;
};

// One phase's guard against cycling: the method's own rule until the basis repeats,
// then the smallest-index rule. A second repetition (which that rule does not allow
// in exact arithmetic) ends the phase rather than letting it run for ever.
class CycleGuard final
{
public:
    CycleGuard(const SimplexTableau &tableau, SolverStats &stats)
        : tableau_(tableau), stats_(stats)
    {
        watch_.start(tableau.fingerprint());
    }

    bool smallestIndex() const { return smallestIndex_; }
    bool givenUp() const { return givenUp_; }

    void afterStep()
    {
        if (!watch_.repeated(tableau_.fingerprint()))
            return;
        if (smallestIndex_) {
            givenUp_ = true;
            return;
        }
        smallestIndex_ = true;
        ++stats_.cycleBreaks;
        watch_.start(tableau_.fingerprint());
    }

private:
    const SimplexTableau &tableau_;
    SolverStats &stats_;
    CycleWatch watch_;
    bool smallestIndex_ = false;
    bool givenUp_ = false;
};

void step(SimplexTableau &tableau, int column, const SimplexTableau::Choice &choice,
          ProgressFeed &feed, const ProblemRecord &record)
{
    if (choice.outcome == Outcome::Flip) {
        tableau.flip(column, choice.theta);
        return;
    }
    tableau.pivot(choice.row, column, choice.outcome, choice.theta);
    feed.report(record.objective); // pivot step 11
}

// Feasibility phase: pass after pass from row 1, the first row outside its bounds
// moves toward them by the first column that helps; true when every row is within
// its bounds, false (solveStatus set) when a row has no column that helps.
bool feasibilityPhase(SimplexTableau &tableau, ProblemRecord &record, SolverStats &stats,
                      ProgressFeed &feed)
{
    CycleGuard guard(tableau, stats);
    for (;;) {
        const int i = tableau.firstRowOutOfBounds();
        if (i == 0)
            return true;
        const int j = tableau.helpingColumn(i, guard.smallestIndex());
        if (j == 0 || guard.givenUp()) {
            record.solveStatus = record.rowLabel[i];
            return false;
        }
        step(tableau, j, tableau.feasibilityRatio(j, guard.smallestIndex()), feed, record);
        guard.afterStep();
    }
}

// Cost phase: the most negative reduced cost enters until none is below 0.
void costPhase(SimplexTableau &tableau, ProblemRecord &record, SolverStats &stats,
               ProgressFeed &feed)
{
    CycleGuard guard(tableau, stats);
    while (!guard.givenUp()) {
        const int j = tableau.costEntering(guard.smallestIndex());
        if (j == 0)
            return;
        step(tableau, j, tableau.costRatio(j, guard.smallestIndex()), feed, record);
        guard.afterStep();
    }
}

SolverStats solve(ProblemRecord &record, bool full, SolverProgress *progress,
                  const SolverTuning &tuning)
{
    SolverStats stats;
    if (!record.coef.allocated() && record.rowCount > 0 && record.columnCount > 0) {
        record.solveStatus = kStatusOverflow; // nothing assembled to solve
        return stats;
    }
    const int deferral = tuning.deferredPivots >= 0
                             ? tuning.deferredPivots
                             : deferredCapacity(record.rowCount, record.columnCount);
    SimplexTableau tableau(record, full, deferral);
    ProgressFeed feed(full ? progress : nullptr);
    tableau.initialise();
    const bool feasible = feasibilityPhase(tableau, record, stats, feed);
    stats.feasibilityPivots = tableau.stats().pivots;
    if (full && feasible)
        costPhase(tableau, record, stats, feed);
    if (full)
        tableau.extract();
    record.coef.release();
    const SolverStats &steps = tableau.stats();
    stats.pivots = steps.pivots;
    stats.flips = steps.flips;
    stats.updatedEntries = steps.updatedEntries;
    stats.degeneratePivots = steps.degeneratePivots;
    return stats;
}

} // namespace

SolverStats &SolverStats::operator+=(const SolverStats &other)
{
    pivots += other.pivots;
    flips += other.flips;
    feasibilityPivots += other.feasibilityPivots;
    degeneratePivots += other.degeneratePivots;
    updatedEntries += other.updatedEntries;
    cycleBreaks += other.cycleBreaks;
    return *this;
}

SolverStats solveProgramme(ProblemRecord &record, SolverProgress *progress,
                           const SolverTuning &tuning)
{
    return solve(record, true, progress, tuning);
}

SolverStats checkFeasibility(ProblemRecord &record, const SolverTuning &tuning)
{
    return solve(record, false, nullptr, tuning);
}

} // namespace calc
