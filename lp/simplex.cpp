#include "lp/simplex.h"

#include "lp/finaltableau.h"
#include "lp/simplexaccuracy.h"
#include "lp/simplexcycle.h"
#include "lp/simplextableau.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

namespace lp
{

namespace
{

using StepOutcome = SimplexTableau::Outcome;

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
        // the default rounding mode takes halves to even
        const double rounded = std::clamp(std::nearbyint(objective), -2e9, 2e9);
        if (std::isnan(rounded))
            return; // no position to show (and none an int could hold)
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
    CycleGuard(const SimplexTableau &tableau, SolverStats &stats) : tableau_(tableau), stats_(stats)
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
          ProgressFeed &feed, const TableauState &state)
{
    if (choice.outcome == StepOutcome::Flip) {
        tableau.flip(column, choice.theta);
        return;
    }
    tableau.pivot(choice.row, column, choice.outcome, choice.theta);
    feed.report(state.objective); // pivot step 11
}

// Careful rules after a loss of accuracy: the smallest entry that counts, relative to
// the largest of its column or row; stricter each time the tableau loses its accuracy
// again before a check has passed.
constexpr double kCarefulPivot[] = {1e-9, 1e-7, 1e-5};
constexpr int kCheckInterval = 256; // flips and pivots between two accuracy checks, at least
constexpr int kCheckWork = 16;      // and tableau passes worth of row updates

// A check that finds the figures off by more than the drift limit but less than the
// noise limit sees the ordinary drift of tens of thousands of pivots: a fresh tableau
// for the basis in hand sets it right and the method goes on, under the careful rules
// (so long a run stalls otherwise on steps of rounding size). Off by more, the tableau
// has pivoted on rounding noise: back to the last basis found right, under careful
// rules.
enum class PhaseEnd { Done, Infeasible, Drifted, LostAccuracy, Stopped };

// Recomputes the row activities from time to time (simplexaccuracy.h) and keeps the
// last basis whose figures were found right. A check costs about one pass over the
// programme's non-zero coefficients: it comes after kCheckInterval steps and at least
// kCheckWork tableau passes worth of row updates.
class AccuracyWatch final
{
public:
    AccuracyWatch(const OriginalProgramme &original, const TableauState &state,
                  const SolverLimits &limits)
        : original_(original), state_(state), limits_(limits),
          cells_(std::int64_t(state.rowCount) * state.columnCount)
    {
        checkpoint_.save(state);
    }

    // Done when the figures are right (the basis is then the new checkpoint), else
    // Drifted or LostAccuracy.
    PhaseEnd check()
    {
        if (!state_.coef.allocated())
            return PhaseEnd::Done;
        const double off = original_.inconsistency(state_);
        if (off > limits_.noise)
            return PhaseEnd::LostAccuracy;
        if (off > limits_.drift)
            return PhaseEnd::Drifted;
        checkpoint_.save(state_);
        ++passed_;
        return PhaseEnd::Done;
    }

    // After every flip or pivot; work: the statistics of the tableau now in use.
    // Also where a stop asked from another thread is seen.
    PhaseEnd checkAfterStep(const SolverStats &work)
    {
        if (limits_.stop && limits_.stop->load(std::memory_order_relaxed))
            return PhaseEnd::Stopped;
        if (++steps_ - lastSteps_ < kCheckInterval)
            return PhaseEnd::Done;
        if (work.updatedEntries < lastWork_) // a fresh tableau counts from 0
            lastWork_ = 0;
        if (work.updatedEntries - lastWork_ < kCheckWork * cells_)
            return PhaseEnd::Done;
        lastSteps_ = steps_;
        lastWork_ = work.updatedEntries;
        return check();
    }

    const BasisRecord &checkpoint() const { return checkpoint_; }
    std::int64_t passedChecks() const { return passed_; }

private:
    const OriginalProgramme &original_;
    const TableauState &state_;
    const SolverLimits limits_;
    const std::int64_t cells_;
    BasisRecord checkpoint_;
    std::int64_t steps_ = 0;
    std::int64_t lastSteps_ = 0;
    std::int64_t lastWork_ = 0;
    std::int64_t passed_ = 0;
};

// One flip or pivot, counted by the phase's cycle guard, and the accuracy check that
// follows every step (which also sees a stop asked for): Done when the phase goes on.
PhaseEnd stepAndCheck(SimplexTableau &tableau, int column, const SimplexTableau::Choice &choice,
                      ProgressFeed &feed, const TableauState &state, CycleGuard &guard,
                      AccuracyWatch &accuracy)
{
    step(tableau, column, choice, feed, state);
    guard.afterStep();
    return accuracy.checkAfterStep(tableau.stats());
}

// Feasibility phase: pass after pass from row 1, the first row outside its bounds
// moves toward them by the first column that helps; Done when every row is within
// its bounds, Infeasible (solveStatus set) when a row has no column that helps.
PhaseEnd feasibilityPhase(SimplexTableau &tableau, TableauState &state, SolverStats &stats,
                          ProgressFeed &feed, AccuracyWatch &accuracy)
{
    CycleGuard guard(tableau, stats);
    for (;;) {
        const int i = tableau.firstRowOutOfBounds();
        const int j = i == 0 ? 0 : tableau.helpingColumn(i, guard.smallestIndex());
        // A row that no column can move and that misses its bound only by rounding
        // (fixed inclusions adding up to the output, say) does not make the programme
        // infeasible: it goes on its bound and the pass goes on.
        if (i != 0 && j == 0 && tableau.snapIfRoundingOnly(i))
            continue;
        if (i == 0 || j == 0 || guard.givenUp()) {
            if (const PhaseEnd figures = accuracy.check(); figures != PhaseEnd::Done)
                return figures;
            if (i == 0)
                return PhaseEnd::Done;
            state.solveStatus = state.rowLabel[i];
            return PhaseEnd::Infeasible;
        }
        if (const PhaseEnd figures =
                stepAndCheck(tableau, j, tableau.feasibilityRatio(j, guard.smallestIndex()), feed,
                             state, guard, accuracy);
            figures != PhaseEnd::Done)
            return figures;
    }
}

// Cost phase: the most negative reduced cost enters until none is below 0.
PhaseEnd costPhase(SimplexTableau &tableau, TableauState &state, SolverStats &stats,
                   ProgressFeed &feed, AccuracyWatch &accuracy)
{
    CycleGuard guard(tableau, stats);
    for (;;) {
        const int j = guard.givenUp() ? 0 : tableau.costEntering(guard.smallestIndex());
        if (j == 0)
            return accuracy.check();
        if (const PhaseEnd figures =
                stepAndCheck(tableau, j, tableau.costRatio(j, guard.smallestIndex()), feed, state,
                             guard, accuracy);
            figures != PhaseEnd::Done)
            return figures;
    }
}

// The textbook rules' bookkeeping (phase costs, Devex weights) lasts as long as a phase.
class TextbookPhase final
{
public:
    explicit TextbookPhase(SimplexTableau &tableau) : tableau_(tableau) {}
    ~TextbookPhase() { tableau_.stopTextbook(); }
    Q_DISABLE_COPY_MOVE(TextbookPhase)

private:
    SimplexTableau &tableau_;
};

// Composite feasibility phase (textbook rules): the column that lowers the sum of the
// infeasibilities most per Devex weight enters; Done when every row is within its
// bounds; Infeasible when the sum can fall no further, with the lowest-numbered row
// still outside its bounds as the failing one. After a repeated basis the phase goes on
// by the method's own rule with the smallest index, which cannot cycle.
PhaseEnd compositePhase(SimplexTableau &tableau, TableauState &state, SolverStats &stats,
                        ProgressFeed &feed, AccuracyWatch &accuracy)
{
    CycleGuard guard(tableau, stats);
    const TextbookPhase phase(tableau);
    tableau.startComposite();
    for (;;) {
        if (tableau.firstRowOutOfBounds() == 0)
            return accuracy.check();
        int j = 0;
        SimplexTableau::Choice choice;
        if (guard.smallestIndex()) {
            j = tableau.helpingColumn(tableau.firstRowOutOfBounds(), true);
            if (j != 0)
                choice = tableau.feasibilityRatio(j, true);
        } else if ((j = tableau.compositeEntering()) != 0) {
            choice = tableau.compositeRatio(j);
        }
        if (j == 0 || guard.givenUp()) {
            // rows that miss their bounds only by rounding go on them, and the phase goes on
            if (!guard.givenUp() && tableau.snapRoundingRows())
                continue;
            if (const PhaseEnd figures = accuracy.check(); figures != PhaseEnd::Done)
                return figures;
            state.solveStatus = tableau.lowestFailingLabel();
            return PhaseEnd::Infeasible;
        }
        if (const PhaseEnd figures = stepAndCheck(tableau, j, choice, feed, state, guard, accuracy);
            figures != PhaseEnd::Done)
            return figures;
    }
}

// Cost phase (textbook rules): Devex pricing and the two-pass ratio test.
PhaseEnd textbookCostPhase(SimplexTableau &tableau, TableauState &state, SolverStats &stats,
                           ProgressFeed &feed, AccuracyWatch &accuracy)
{
    CycleGuard guard(tableau, stats);
    const TextbookPhase phase(tableau);
    tableau.startDevex();
    for (;;) {
        const bool smallest = guard.smallestIndex();
        const int j = guard.givenUp() ? 0
                      : smallest      ? tableau.costEntering(true)
                                      : tableau.devexCostEntering();
        if (j == 0)
            return accuracy.check();
        if (const PhaseEnd figures = stepAndCheck(
                tableau, j, smallest ? tableau.costRatio(j, true) : tableau.harrisCostRatio(j),
                feed, state, guard, accuracy);
            figures != PhaseEnd::Done)
            return figures;
    }
}

// The phases of one attempt by the method's own rules. Under the careful rules an entry
// too small to block may have let a row pass its bound during the cost phase: then the
// feasibility phase takes it back, and the cost phase runs again.
PhaseEnd runPhases(SimplexTableau &tableau, TableauState &state, bool full, bool careful,
                   SolverStats &stats, ProgressFeed &feed, AccuracyWatch &accuracy)
{
    for (int round = 0;; ++round) {
        const std::int64_t before = tableau.stats().pivots;
        const PhaseEnd feasible = feasibilityPhase(tableau, state, stats, feed, accuracy);
        stats.feasibilityPivots += tableau.stats().pivots - before;
        if (feasible != PhaseEnd::Done || !full)
            return feasible;
        const PhaseEnd optimal = costPhase(tableau, state, stats, feed, accuracy);
        if (optimal != PhaseEnd::Done || !careful || tableau.firstRowOutOfBounds() == 0 ||
            round == 20)
            return optimal;
    }
}

// Rounds of the textbook rules before the method's own rules finish the solve (which
// keep every row exactly within its bounds), and refinements of the values at the end.
constexpr int kTextbookRounds = 3;
constexpr int kRefinements = 2;

// The phases of one attempt by the textbook rules. Their tolerances may have let a row
// pass its bound by a rounding's width: the feasibility phase takes it back and the cost
// phase runs again. The basis found, its values are refined from the programme as
// given (a long run leaves them off by up to the drift limit); a row that only then
// turns out to lie outside its bounds is taken back the same way.
PhaseEnd runTextbookPhases(SimplexTableau &tableau, TableauState &state, bool full,
                           SolverStats &stats, ProgressFeed &feed, AccuracyWatch &accuracy,
                           const OriginalProgramme &original)
{
    int refinements = 0;
    for (int round = 0;; ++round) {
        const bool ownRules = round >= kTextbookRounds;
        const SolverStats before = tableau.stats();
        const PhaseEnd feasible = ownRules ? feasibilityPhase(tableau, state, stats, feed, accuracy)
                                           : compositePhase(tableau, state, stats, feed, accuracy);
        stats.feasibilityPivots += tableau.stats().pivots - before.pivots;
        stats.feasibilityFlips += tableau.stats().flips - before.flips;
        if (feasible != PhaseEnd::Done)
            return feasible;
        if (full) {
            const PhaseEnd optimal = ownRules
                                         ? costPhase(tableau, state, stats, feed, accuracy)
                                         : textbookCostPhase(tableau, state, stats, feed, accuracy);
            if (optimal != PhaseEnd::Done)
                return optimal;
        }
        if (tableau.firstRowOutOfBounds() == 0 && refinements < kRefinements) {
            ++refinements;
            tableau.refine(original);
        }
        if (tableau.firstRowOutOfBounds() == 0 || round == 20)
            return PhaseEnd::Done;
    }
}

void addSteps(SolverStats &stats, const SolverStats &steps)
{
    stats.pivots += steps.pivots;
    stats.flips += steps.flips;
    stats.updatedEntries += steps.updatedEntries;
    stats.degeneratePivots += steps.degeneratePivots;
    stats.sharedPivots += steps.sharedPivots;
    stats.threads = std::max(stats.threads, steps.threads);
    stats.rowUpdateSeconds += steps.rowUpdateSeconds;
}

// The solution read from the state the solve ended in.
Solution solutionOf(const TableauState &state, bool full, SolveError error,
                    const SolverStats &stats)
{
    Solution solution;
    solution.error = error;
    solution.outcome = state.solveStatus == 0 ? Outcome::Optimal : Outcome::Infeasible;
    solution.failing = Variable::fromLabel(state.solveStatus);
    solution.stats = stats;
    if (error == SolveError::Overflow || error == SolveError::Stopped)
        return solution; // no values to read
    solution.values.assign(state.columnValue.begin() + 1, state.columnValue.end());
    solution.activities.assign(state.rowValue.begin() + 1, state.rowValue.end());
    if (full)
        solution.cost = -state.objective;
    return solution;
}

// The method with its own rules. Drift is set right by a fresh tableau for the basis
// in hand, and the careful rules apply from then on. Should the tableau lose its
// accuracy, a fresh one is built from the programme as given for the last basis found
// right, and the method goes on from there under careful rules. When neither brings the
// figures right within the limits, the solve ends with the error LostAccuracy: its
// amounts are no solution.
Solution solveWith(const Programme &programme, bool full, SolverProgress *progress,
                   FinalTableau *finalTableau, const SolverLimits &limits)
{
    if (finalTableau)
        finalTableau->clear();
    SolverStats stats;
    TableauState state(programme.rowCount(), programme.columnCount());
    if (!state.coef.allocate(state.rowCount, state.columnCount))
        return solutionOf(state, false, SolveError::Overflow, stats); // no room for the tableau
    const bool textbook = rulesFor(programme, limits.rules) == Rules::Textbook;
    const OriginalProgramme original(programme);
    ProgressFeed feed(full ? progress : nullptr);
    std::unique_ptr<SimplexTableau> tableau;
    int strictness = -1; // index into kCarefulPivot; -1: the method's own rules
    // A fresh tableau from the programme as given, in the given basis (or in the
    // starting one); false when the basis turns out singular.
    auto freshTableau = [&](const BasisRecord *basis) {
        tableau.reset();
        original.restore(state);
        const double tolerance = strictness < 0 ? 0 : kCarefulPivot[strictness];
        tableau = std::make_unique<SimplexTableau>(state, full, tolerance);
        tableau->initialise();
        return !basis || tableau->enterBasis(*basis);
    };
    freshTableau(nullptr);
    AccuracyWatch accuracy(original, state, limits);
    std::int64_t passedAtRebuild = -1;
    std::int64_t passedAtRefresh = -1;
    for (;;) {
        PhaseEnd end =
            textbook ? runTextbookPhases(*tableau, state, full, stats, feed, accuracy, original)
                     : runPhases(*tableau, state, full, strictness >= 0, stats, feed, accuracy);
        addSteps(stats, tableau->stats());
        if (end == PhaseEnd::Stopped)
            return solutionOf(state, false, SolveError::Stopped, stats);
        // Drift again before any check has passed on fresh figures is no mere drift.
        if (end == PhaseEnd::Drifted && stats.refreshes < limits.refreshes &&
            accuracy.passedChecks() != passedAtRefresh) {
            ++stats.refreshes;
            passedAtRefresh = accuracy.passedChecks();
            strictness = std::max(strictness, 0);
            BasisRecord current;
            current.save(state);
            if (freshTableau(&current))
                continue;
        }
        if (end == PhaseEnd::Drifted) // or the basis in hand turned out singular
            end = PhaseEnd::LostAccuracy;
        if (end == PhaseEnd::LostAccuracy && stats.rebuilds == limits.rebuilds) {
            tableau->extract();
            return solutionOf(state, full, SolveError::LostAccuracy, stats);
        }
        if (end != PhaseEnd::LostAccuracy) {
            if (end == PhaseEnd::Done)
                state.solveStatus = 0;
            if (end == PhaseEnd::Done && finalTableau)
                finalTableau->take(state); // read only: before the values replace the costs
            tableau->extract();
            return solutionOf(state, full, SolveError::None, stats);
        }
        // no check passed since the last fresh start: the careful rules were not enough
        if (accuracy.passedChecks() == passedAtRebuild || strictness < 0)
            strictness = std::min(strictness + 1, int(std::size(kCarefulPivot)) - 1);
        passedAtRebuild = accuracy.passedChecks();
        ++stats.rebuilds;
        passedAtRefresh = accuracy.passedChecks();
        if (!freshTableau(&accuracy.checkpoint()))
            freshTableau(nullptr); // start over, carefully
    }
}

} // namespace

Rules rulesFor(const Programme &programme, Rules asked)
{
    if (asked != Rules::Automatic)
        return asked;
    const std::int64_t entries = std::int64_t(programme.rowCount()) * programme.columnCount();
    return entries > kTextbookAboveEntries ? Rules::Textbook : Rules::Described;
}

QString rulesName(Rules rules)
{
    switch (rules) {
    case Rules::Described:
        return QStringLiteral("described");
    case Rules::Textbook:
        return QStringLiteral("textbook");
    case Rules::Automatic:
        break;
    }
    return QStringLiteral("auto");
}

std::optional<Rules> rulesNamed(QStringView name)
{
    for (const Rules rules : {Rules::Described, Rules::Textbook, Rules::Automatic})
        if (name == rulesName(rules))
            return rules;
    return std::nullopt;
}

Solution solve(const Programme &programme, SolverProgress *progress, FinalTableau *finalTableau,
               const SolverLimits &limits)
{
    return solveWith(programme, true, progress, finalTableau, limits);
}

Solution checkFeasibility(const Programme &programme, const SolverLimits &limits)
{
    return solveWith(programme, false, nullptr, nullptr, limits);
}

} // namespace lp
