// The textbook rules on the solver's tableau, for programmes too large for the method's
// own rules to finish in reasonable time: a composite feasibility phase that lowers the
// sum of the rows' infeasibilities, then the cost phase; in both, Devex weights pick a
// shortlist and the exact steepest-edge norms of those few columns (cheap to read from
// the dense tableau) choose among it, and a two-pass ratio test of Harris's kind takes
// the entering column's own range as a bound flip when no row blocks sooner.

#include "lp/simplextableau.h"

#include "lp/simplextolerance.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>

namespace lp
{

namespace
{

// Harris's allowance: a row may be judged to reach its bound this far (relative to the
// bound, absolute below 1) past the step that puts it there exactly. A third of the
// solver's tolerance, so that the row values the pivot computes snap to the bound.
constexpr double kHarris = 1e-11;
// An entry below this share of the largest of its column neither blocks nor helps.
constexpr double kTextbookPivot = 1e-11;
// A slope of the sum of infeasibilities smaller than this share of the entries it is
// summed from is rounding noise, not a way down.
constexpr double kPhaseNoise = 1e-9;
// A reduced cost within this share of the largest price is no gain.
constexpr double kCostNoise = 1e-10;
// Devex weights beyond this start the reference framework afresh.
constexpr double kDevexReset = 1e12;
// Kept phase costs are recomputed from the tableau after this many choices.
constexpr int kPhaseCostRefresh = 64;

// +1 below the lower bound, −1 above the upper bound, 0 within.
int senseOf(double value, double lower, double upper)
{
    return value < lower ? 1 : value > upper ? -1 : 0;
}

} // namespace

void SimplexTableau::startComposite()
{
    tracking_ = true;
    phaseCost_.assign(std::size_t(n_) + 1, 0.0);
    sense_.assign(std::size_t(m_) + 1, 0);
    recomputePhaseCosts();
    startDevex();
}

void SimplexTableau::stopTextbook()
{
    tracking_ = false;
    devexOn_ = false;
}

void SimplexTableau::startDevex()
{
    devexOn_ = true;
    devex_.assign(std::size_t(n_) + 1, 1.0);
}

// Phase cost of column j from the tableau as it stands: Σ over rows outside their bounds
// of sense × T(i, j); magnitude receives Σ |T(i, j)| over those rows.
double SimplexTableau::phaseCost(int j, double *magnitude) const
{
    double slope = 0;
    double size = 0;
    for (std::size_t w = 0; w < outside_.size(); ++w)
        for (std::uint64_t bits = outside_[w]; bits != 0; bits &= bits - 1) {
            const int i = int(w * 64) + std::countr_zero(bits);
            const double entry = state_.coef.at(i, j);
            slope += senseOf(state_.rowValue[i], state_.rowLower[i], state_.rowUpper[i]) * entry;
            size += std::fabs(entry);
        }
    *magnitude = size;
    return slope;
}

// The steepest-edge norms 1 + Σ_i T(i, j)² of shortlist_[from, to) into norms_, read
// from the dense tableau in one pass over its rows (the columns' entries are a row
// apart: one row's loads go together); with slopes, also each column's phase cost from
// the tableau as it stands into slopes_, and the magnitude of the entries that cost is
// summed from (rows outside their bounds) into magnitudes_.
void SimplexTableau::shortlistNorms(std::size_t from, std::size_t to, bool withSlopes)
{
    const TableauState &r = state_;
    const int count = int(to - from);
    int offset[kShortlist];
    for (int t = 0; t < count; ++t) {
        offset[t] = shortlist_[from + std::size_t(t)].second - 1;
        norms_[t] = 1;
        slopes_[t] = 0;
        magnitudes_[t] = 0;
    }
    constexpr int ahead = 8; // rows: far enough for the loads to arrive in time
    for (int i = 1; i <= m_; ++i) {
        const double *row = r.coef.row(i);
        if (i + ahead <= m_) {
            const double *later = r.coef.row(i + ahead);
            for (int t = 0; t < count; ++t)
                __builtin_prefetch(later + offset[t]);
        }
        for (int t = 0; t < count; ++t)
            norms_[t] += row[offset[t]] * row[offset[t]];
        if (!withSlopes || !(outside_[i / 64] >> (i % 64) & 1))
            continue;
        const int sense = senseOf(r.rowValue[i], r.rowLower[i], r.rowUpper[i]);
        for (int t = 0; t < count; ++t) {
            slopes_[t] += sense * row[offset[t]];
            magnitudes_[t] += std::fabs(row[offset[t]]);
        }
    }
}

void SimplexTableau::recomputePhaseCosts()
{
    std::fill(phaseCost_.begin(), phaseCost_.end(), 0.0);
    std::fill(sense_.begin(), sense_.end(), std::int8_t{0});
    for (int i = 1; i <= m_; ++i)
        trackSense(i);
}

// Row i's side as the phase costs count it follows its value: the row enters or leaves
// the sum.
void SimplexTableau::trackSense(int i)
{
    const TableauState &r = state_;
    const int now = senseOf(r.rowValue[i], r.rowLower[i], r.rowUpper[i]);
    const int change = now - sense_[i];
    if (change == 0)
        return;
    sense_[i] = std::int8_t(now);
    const double *row = r.coef.row(i);
    for (int k = 1; k <= n_; ++k)
        phaseCost_[k] += change * row[k - 1];
}

// The phase costs through a pivot, as the cost row goes (step 6); row r's new basic
// variable counts from its value after the pivot (refreshRow).
void SimplexTableau::pivotPhaseCosts(int r, int e, double rho)
{
    const double w = phaseCost_[e];
    for (int t = 0; t < rowCount_; ++t)
        phaseCost_[rowColumns_[t] + 1] -= w * rowValues_[t];
    phaseCost_[e] = -w * rho + sense_[r];
    sense_[r] = 0;
}

void SimplexTableau::pivotDevex(int e, double rho)
{
    const double we = devex_[e];
    for (int t = 0; t < rowCount_; ++t) {
        const int k = rowColumns_[t] + 1;
        const double ratio = rowValues_[t];
        if (k != e)
            devex_[k] = std::max(devex_[k], ratio * ratio * we);
    }
    devex_[e] = std::max(we * rho * rho, 1.0);
    if (devex_[e] > kDevexReset)
        std::fill(devex_.begin(), devex_.end(), 1.0);
}

// The kept phase costs make the shortlist; the choice among it is checked against the
// tableau (the kept figures carry the rounding of the pivots since the last
// recomputation). When no shortlisted figure stands the check, all are recomputed and
// the verdict is theirs, down the whole list.
int SimplexTableau::compositeEntering()
{
    const TableauState &r = state_;
    if (++compositeChoices_ % kPhaseCostRefresh == 0)
        recomputePhaseCosts();
    for (int round = 0; round < 2; ++round) {
        shortlist_.clear();
        for (int j = 1; j <= n_; ++j) {
            const double d = phaseCost_[j];
            if (d < 0 && r.columnLower[j] != r.columnUpper[j])
                shortlist_.push_back({d * d / devex_[j], j});
        }
        // the first round looks at the best few only; the second down the whole list
        const std::size_t first = std::min(shortlist_.size(), std::size_t(kShortlist));
        const auto sorted =
            shortlist_.begin() + std::ptrdiff_t(round == 0 ? first : shortlist_.size());
        std::partial_sort(shortlist_.begin(), sorted, shortlist_.end(), std::greater<>());
        for (std::size_t from = 0; from < shortlist_.size(); from += kShortlist) {
            const std::size_t to = std::min(shortlist_.size(), from + kShortlist);
            shortlistNorms(from, to, true);
            int best = 0;
            double bestScore = 0;
            for (std::size_t t = 0; t < to - from; ++t) {
                const double slope = slopes_[t];
                if (slope < -kPhaseNoise * magnitudes_[t] &&
                    slope * slope / norms_[t] > bestScore) {
                    best = shortlist_[from + t].second;
                    bestScore = slope * slope / norms_[t];
                }
            }
            if (best != 0)
                return best;
            if (round == 0)
                break;
        }
        if (round == 0)
            recomputePhaseCosts();
    }
    return 0;
}

double SimplexTableau::textbookPivotLevel() const
{
    return std::max(pivotTolerance_, kTextbookPivot);
}

// The two passes over the rows' blocks: the largest step with Harris's allowance, then
// among the rows that block within it the one with the largest entry. With slope (the
// phase cost, < 0) the breakpoints before that step are passed while the sum still
// falls. The entering column's own range is a flip when no row blocks sooner.
template <typename Blocks>
SimplexTableau::Choice SimplexTableau::harrisRatio(int j, double slope, Blocks blocks)
{
    const TableauState &r = state_;
    gatherColumn(j);
    double largest = 0;
    for (int t = 0; t < colCount_; ++t)
        largest = std::max(largest, std::fabs(colValues_[t]));
    const double least = textbookPivotLevel() * largest;
    candidates_.clear();
    for (int t = 0; t < colCount_; ++t)
        if (std::fabs(colValues_[t]) > least)
            blocks(colRows_[t], colValues_[t]);
    const double range = r.columnUpper[j] - r.columnLower[j];
    double limit = range;
    for (const Block &b : candidates_)
        if (!b.breakpoint)
            limit = std::min(limit, b.allowed);
    Choice choice{Outcome::Flip, 0, range};
    if (limit < range) {
        const Block *chosen = nullptr;
        for (const Block &b : candidates_)
            if (!b.breakpoint && b.ratio <= limit &&
                (!chosen || b.size > chosen->size ||
                 (b.size == chosen->size && b.ratio < chosen->ratio)))
                chosen = &b;
        choice = {chosen->outcome, chosen->row, chosen->ratio};
    }
    if (slope >= 0)
        return choice;
    // breakpoints before the step, nearest first, until the sum would rise again
    const auto passed = std::partition(candidates_.begin(), candidates_.end(), [&](const Block &b) {
        return b.breakpoint && b.ratio < choice.theta;
    });
    std::sort(candidates_.begin(), passed, [](const Block &a, const Block &b) {
        return a.ratio < b.ratio || (a.ratio == b.ratio && a.row < b.row);
    });
    const double flat = -kPhaseNoise * std::fabs(slope);
    for (auto b = candidates_.begin(); b != passed; ++b) {
        slope += b->size;
        if (slope >= flat)
            return {b->outcome, b->row, b->ratio};
    }
    return choice;
}

SimplexTableau::Choice SimplexTableau::compositeRatio(int j)
{
    const TableauState &r = state_;
    double magnitude = 0;
    const double slope = phaseCost(j, &magnitude);
    auto block = [this](int i, double distance, double size, double bound, Outcome outcome) {
        distance = std::max(distance, 0.0);
        const double allowed = (distance + kHarris * std::max(1.0, std::fabs(bound))) / size;
        candidates_.push_back({distance / size, size, allowed, i, outcome, false});
    };
    return harrisRatio(j, slope, [&](int i, double entry) {
        const double v = r.rowValue[i];
        const double lower = r.rowLower[i];
        const double upper = r.rowUpper[i];
        const double size = std::fabs(entry);
        if (entry < 0) { // the row rises
            if (v > upper)
                return;
            if (v < lower)
                candidates_.push_back({(lower - v) / size, size, 0, i, Outcome::Lower, true});
            block(i, upper - v, size, upper, Outcome::Upper);
        } else { // the row falls
            if (v < lower)
                return;
            if (v > upper)
                candidates_.push_back({(v - upper) / size, size, 0, i, Outcome::Upper, true});
            block(i, v - lower, size, lower, Outcome::Lower);
        }
    });
}

int SimplexTableau::devexCostEntering()
{
    const TableauState &r = state_;
    const double least = -std::max(noiseLevel(&costScale_, 1), kCostNoise * costScale_);
    shortlist_.clear();
    for (int j = 1; j <= n_; ++j) {
        const double d = r.columnValue[j];
        if (d < least && r.columnLower[j] != r.columnUpper[j])
            shortlist_.push_back({d * d / devex_[j], j});
    }
    const std::size_t count = std::min(shortlist_.size(), std::size_t(kShortlist));
    std::partial_sort(shortlist_.begin(), shortlist_.begin() + std::ptrdiff_t(count),
                      shortlist_.end(), std::greater<>());
    shortlistNorms(0, count, false);
    int best = 0;
    double bestScore = 0;
    for (std::size_t t = 0; t < count; ++t) {
        const int j = shortlist_[t].second;
        const double d = r.columnValue[j];
        if (d * d / norms_[t] > bestScore) {
            best = j;
            bestScore = d * d / norms_[t];
        }
    }
    return best;
}

SimplexTableau::Choice SimplexTableau::harrisCostRatio(int j)
{
    const TableauState &r = state_;
    return harrisRatio(j, 0, [&](int i, double entry) {
        const double size = std::fabs(entry);
        const double v = r.rowValue[i];
        const bool rises = entry < 0;
        const double bound = rises ? r.rowUpper[i] : r.rowLower[i];
        const double distance = std::max(rises ? bound - v : v - bound, 0.0);
        const double allowed = (distance + kHarris * std::max(1.0, std::fabs(bound))) / size;
        candidates_.push_back(
            {distance / size, size, allowed, i, rises ? Outcome::Upper : Outcome::Lower, false});
    });
}

void SimplexTableau::refine(const OriginalProgramme &original)
{
    original.refine(state_);
    for (int i = 1; i <= m_; ++i)
        refreshRow(i);
}

bool SimplexTableau::snapRoundingRows()
{
    bool snapped = false;
    for (int i = firstRowOutOfBounds(); i != 0 && i <= m_; ++i)
        if (outside_[i / 64] >> (i % 64) & 1)
            snapped = snapIfRoundingOnly(i) || snapped;
    return snapped;
}

int SimplexTableau::lowestFailingLabel() const
{
    // programme rows first, in their order, then columns in theirs
    auto rank = [this](int label) { return label < 0 ? -label : m_ + label; };
    int best = 0;
    for (std::size_t w = 0; w < outside_.size(); ++w)
        for (std::uint64_t bits = outside_[w]; bits != 0; bits &= bits - 1) {
            const int label = state_.rowLabel[int(w * 64) + std::countr_zero(bits)];
            if (best == 0 || rank(label) < rank(best))
                best = label;
        }
    return best;
}

} // namespace lp
