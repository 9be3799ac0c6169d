#include "lp/simplextableau.h"

#include "lp/simplexcycle.h"
#include "lp/simplexkernel.h"
#include "lp/simplextolerance.h"

#include <bit>
#include <chrono>
#include <cmath>
#include <utility>

namespace lp
{

TableauState::TableauState(int m, int n)
    : rowCount(m), columnCount(n), rowValue(m + 1), rowLower(m + 1), rowUpper(m + 1),
      rowLabel(m + 1), columnValue(n + 1), columnLower(n + 1), columnUpper(n + 1),
      columnLabel(n + 1), columnAtLower(n + 1)
{
}

SimplexTableau::SimplexTableau(TableauState &state, bool full, double pivotTolerance)
    : state_(state), full_(full), m_(state.rowCount), n_(state.columnCount),
      pivotTolerance_(pivotTolerance), colRows_(m_ + 1), colValues_(m_ + 1), rowColumns_(n_ + 1),
      rowValues_(n_ + 1), outside_((m_ + 1) / 64 + 1, 0), blocks_(n_ / kBlock + 1),
      listed_(n_ / kBlock + 1), threadsWanted_(RowTeam::threadsWanted())
{
}

// Initialisation: every structural variable non-basic at its lower bound, every row
// activity basic, row values the activities at that point.
void SimplexTableau::initialise()
{
    TableauState &r = state_;
    fingerprint_ = 0;
    for (int i = 1; i <= m_; ++i) {
        r.rowValue[i] = 0;
        r.rowLabel[i] = -i;
        fingerprint_ ^= CycleWatch::rowPart(i, -i);
    }
    std::vector<int> shifted; // columns whose lower bound is not 0, in order
    r.objective = 0;
    for (int j = 1; j <= n_; ++j) {
        r.columnAtLower[j] = 1;
        r.columnLabel[j] = j;
        fingerprint_ ^= CycleWatch::columnPart(j, j, true);
        costScale_ = std::max(costScale_, std::fabs(r.columnValue[j]));
        if (r.columnLower[j] != 0) {
            shifted.push_back(j);
            if (full_)
                r.objective += -r.columnLower[j] * r.columnValue[j];
        }
    }
    // Row by row, each row adding the shifted columns in column order: the same sums
    // as column after column over all rows.
    for (int i = 1; i <= m_; ++i) {
        const double *row = r.coef.row(i);
        for (int j : shifted)
            r.rowValue[i] += -r.columnLower[j] * row[j - 1];
        refreshRow(i);
    }
    r.solveStatus = 0;
}

void SimplexTableau::refreshRow(int i)
{
    const double v = state_.rowValue[i];
    const bool out = v < state_.rowLower[i] || v > state_.rowUpper[i];
    const std::uint64_t bit = std::uint64_t{1} << (i % 64);
    outside_[i / 64] = out ? outside_[i / 64] | bit : outside_[i / 64] & ~bit;
    if (tracking_)
        trackSense(i);
}

int SimplexTableau::firstRowOutOfBounds() const
{
    for (std::size_t w = 0; w < outside_.size(); ++w)
        if (outside_[w] != 0)
            return int(w * 64) + std::countr_zero(outside_[w]);
    return 0;
}

bool SimplexTableau::snapIfRoundingOnly(int i)
{
    TableauState &r = state_;
    const double v = r.rowValue[i];
    const double bound = v < r.rowLower[i] ? r.rowLower[i] : r.rowUpper[i];
    if (!(std::fabs(v - bound) < acceptanceDistance(std::max(std::fabs(v), std::fabs(bound)))))
        return false;
    r.rowValue[i] = bound;
    refreshRow(i);
    return true;
}

// Variables in a fixed order for the smallest-index rule: structural variables
// first, then the row activities.
int SimplexTableau::variableIndex(int label) const
{
    return label > 0 ? label : n_ - label;
}

// Feasibility phase, choice of the column: a row below its lower bound needs a column
// with T(i, j) < 0, a row above its upper bound one with T(i, j) > 0; the column's
// variable must have a range (lower != upper).
int SimplexTableau::helpingColumn(int i, bool smallestIndex)
{
    const TableauState &r = state_;
    const double *row = r.coef.row(i);
    const double sign = r.rowValue[i] < r.rowLower[i] ? -1.0 : 1.0;
    const double least = noiseLevel(row, n_); // entries up to this do not count as help
    int best = 0;
    for (int j = 1; j <= n_; ++j) {
        if (!(sign * row[j - 1] > least) || r.columnLower[j] == r.columnUpper[j])
            continue;
        if (!smallestIndex)
            return j;
        if (best == 0 || variableIndex(r.columnLabel[j]) < variableIndex(r.columnLabel[best]))
            best = j;
    }
    return best;
}

// The pivot-column list: every row with a non-zero entry in column j, in row order.
void SimplexTableau::gatherColumn(int j)
{
    const DenseMatrix &coef = state_.coef;
    const double *entry = coef.row(1) + (j - 1);
    const std::ptrdiff_t stride = coef.stride();
    int count = 0;
    constexpr int ahead = 32; // rows: a column's entries are a row apart, too far for the
                              // processor to fetch them ahead by itself
    for (int k = 1; k <= m_; ++k, entry += stride) {
        if (k + ahead <= m_)
            __builtin_prefetch(entry + ahead * stride);
        const double t = *entry;
        colRows_[count] = k;
        colValues_[count] = t;
        count += t != 0;
    }
    colCount_ = count;
}

// The careful rules' noise level for a set of entries: pivotTolerance times the largest
// magnitude among them (0 under the method's own rules, without looking at them).
double SimplexTableau::noiseLevel(const double *values, int count) const
{
    if (pivotTolerance_ == 0)
        return 0;
    double largest = 0;
    for (int k = 0; k < count; ++k)
        largest = std::max(largest, std::fabs(values[k]));
    return largest * pivotTolerance_;
}

// What a ratio test builds up row by row: a smaller ratio wins; under the
// smallest-index rule every candidate is weighed, equal ratios going to the smallest
// variable index, while the method's own rule keeps the first one.
class SimplexTableau::RatioScan final
{
public:
    RatioScan(const SimplexTableau &tableau, double range, bool smallestIndex)
        : tableau_(tableau), smallestIndex_(smallestIndex)
    {
        choice_.theta = range;
    }

    bool smallestIndex() const { return smallestIndex_; }
    const Choice &choice() const { return choice_; }

    void consider(double ratio, Outcome outcome, int k)
    {
        const int index = tableau_.variableIndex(tableau_.state_.rowLabel[k]);
        if (ratio < choice_.theta || (smallestIndex_ && choice_.outcome != Outcome::Flip &&
                                      ratio == choice_.theta && index < bestIndex_)) {
            choice_ = {outcome, k, ratio};
            bestIndex_ = index;
        }
    }

    // Row k blocks at once with a step of 0; the scan ends.
    void take(Outcome outcome, int k) { choice_ = {outcome, k, 0.0}; }

private:
    const SimplexTableau &tableau_;
    const bool smallestIndex_;
    Choice choice_;
    int bestIndex_ = 0;
};

// The skeleton both ratio tests share: the entering column's own range bounds the
// step; every row of the gathered column whose entry is not noise is offered to
// rowTest(scan, k, u, w) with u the reciprocal of its entry and w its value; rowTest
// returns false to end the scan.
template <typename RowTest>
SimplexTableau::Choice SimplexTableau::ratioTest(int j, bool smallestIndex, RowTest rowTest)
{
    const TableauState &r = state_;
    gatherColumn(j);
    RatioScan scan(*this, r.columnUpper[j] - r.columnLower[j], smallestIndex);
    const double least = noiseLevel(colValues_.data(), colCount_);
    for (int t = 0; t < colCount_; ++t) {
        if (std::fabs(colValues_[t]) < least)
            continue;
        const int k = colRows_[t];
        if (!rowTest(scan, k, 1 / colValues_[t], r.rowValue[k]))
            break;
    }
    return scan.choice();
}

// Feasibility ratio test for entering column j: the entering variable's own range,
// or the first row (ratio ties keep the earlier row) to reach the bound it
// approaches; a row exactly at the bound it would leave blocks at once.
SimplexTableau::Choice SimplexTableau::feasibilityRatio(int j, bool smallestIndex)
{
    const TableauState &r = state_;
    // One bound of row k: its ratio, the sign of u that makes a ratio of 0 block.
    auto bound = [](RatioScan &scan, int k, double ratio, bool blocksAtZero, Outcome outcome) {
        if (ratio == 0 && blocksAtZero) {
            if (!scan.smallestIndex()) {
                scan.take(outcome, k);
                return false;
            }
            scan.consider(0.0, outcome, k);
        } else if (ratio > 0) {
            scan.consider(ratio, outcome, k);
        }
        return true;
    };
    return ratioTest(j, smallestIndex, [&](RatioScan &scan, int k, double u, double w) {
        return bound(scan, k, (w - r.rowLower[k]) * u, u > 0, Outcome::Lower) &&
               bound(scan, k, (w - r.rowUpper[k]) * u, u < 0, Outcome::Upper);
    });
}

// Cost phase, choice of the column: the most negative reduced cost among columns
// with a range, ties to the lowest column; 0 when none is below 0 (optimal).
int SimplexTableau::costEntering(bool smallestIndex) const
{
    const TableauState &r = state_;
    int best = 0;
    double bestCost = 0;
    // careful rules: a reduced cost within the noise of the largest price is no gain
    const double least = -noiseLevel(&costScale_, 1);
    for (int j = 1; j <= n_; ++j) {
        const double d = r.columnValue[j];
        if (!(d < least) || r.columnLower[j] == r.columnUpper[j])
            continue;
        if (smallestIndex) {
            if (best == 0 || variableIndex(r.columnLabel[j]) < variableIndex(r.columnLabel[best]))
                best = j;
        } else if (d < bestCost) {
            best = j;
            bestCost = d;
        }
    }
    return best;
}

// Cost ratio test for entering column j: its own range, or the first row to reach a
// bound; the scan stops once the step is 0.
SimplexTableau::Choice SimplexTableau::costRatio(int j, bool smallestIndex)
{
    const TableauState &r = state_;
    return ratioTest(j, smallestIndex, [&](RatioScan &scan, int k, double u, double w) {
        if (u > 0)
            scan.consider((w - r.rowLower[k]) * u, Outcome::Lower, k);
        else
            scan.consider((w - r.rowUpper[k]) * u, Outcome::Upper, k);
        return !(scan.choice().theta == 0 && !smallestIndex);
    });
}

// Bound flip of column j: its variable crosses its whole range, no exchange.
void SimplexTableau::flip(int j, double theta)
{
    TableauState &r = state_;
    if (full_)
        r.objective = r.objective - theta * r.columnValue[j];
    if (tracking_) // the column's entries change sign below, row by row
        phaseCost_[j] = -phaseCost_[j];
    DenseMatrix &coef = r.coef;
    for (int t = 0; t < colCount_; ++t) {
        const int i = colRows_[t];
        const double entry = colValues_[t];
        coef.at(i, j) = -entry;
        r.rowValue[i] = addToRowValue(r.rowValue[i], -theta * entry, r.rowLower[i], r.rowUpper[i]);
        refreshRow(i);
    }
    if (full_)
        r.columnValue[j] = -r.columnValue[j];
    fingerprint_ ^= CycleWatch::columnPart(j, r.columnLabel[j], r.columnAtLower[j]);
    r.columnAtLower[j] = 1 - r.columnAtLower[j];
    fingerprint_ ^= CycleWatch::columnPart(j, r.columnLabel[j], r.columnAtLower[j]);
    ++stats_.flips;
}

// Pivot step 4: the pivot row divided by the pivot, its non-zeros listed.
void SimplexTableau::buildPivotRow(int r, int e, double rho)
{
    double *row = state_.coef.row(r);
    int count = 0;
    int pivotSlot = 0;
    for (int k = 0; k < n_; ++k) {
        if (row[k] != 0) {
            row[k] = row[k] * rho;
            if (k == e - 1)
                pivotSlot = count;
            rowColumns_[count] = k;
            rowValues_[count] = row[k];
            ++count;
        }
    }
    row[e - 1] = rho;
    rowValues_[pivotSlot] = rho;
    rowCount_ = count;
}

// Pivot step 5: every other row of the pivot column takes its multiple of the pivot
// row, value and entries, with the tolerance rule.
void SimplexTableau::updateOtherRows(int r, int e, double rho)
{
    TableauState &state = state_;
    stats_.updatedEntries += std::int64_t(colCount_ - 1) * rowCount_;
    const PivotRowView view{
        state.coef.row(r), blocks_.data(), listed_.data(),
        listBlocks(rowColumns_.data(), rowCount_, blocks_.data(), listed_.data())};
    const double pivotValue = state.rowValue[r];
    const auto updateRows = [&](int begin, int end) {
        for (int t = begin; t < end; ++t) {
            const int i = colRows_[t];
            if (i == r)
                continue;
            const double v = colValues_[t];
            state.rowValue[i] = addToRowValue(state.rowValue[i], -v * pivotValue, state.rowLower[i],
                                              state.rowUpper[i]);
            double *row = state.coef.row(i);
            updateRow(row, view, v);
            row[e - 1] = -rho * v;
        }
    };
    // Rows are independent of one another: on a large pivot they are shared out.
    const auto started = std::chrono::steady_clock::now();
    const std::int64_t work = std::int64_t(colCount_) * view.blockCount * kBlock;
    if (threadsWanted_ > 1 && work >= kTeamWork) {
        if (!team_)
            team_ = std::make_unique<RowTeam>(threadsWanted_);
        team_->run(colCount_, updateRows);
        ++stats_.sharedPivots;
        stats_.threads = team_->threads();
    } else {
        updateRows(0, colCount_);
    }
    stats_.rowUpdateSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

// Pivot step 6: the cost row takes its multiple of the pivot row.
void SimplexTableau::updateCostRow(int r, int e, double rho)
{
    TableauState &state = state_;
    const double w = state.columnValue[e];
    if (w == 0)
        return;
    state.objective = state.objective - w * state.rowValue[r];
    for (int t = 0; t < rowCount_; ++t) {
        const int k = rowColumns_[t] + 1;
        state.columnValue[k] = state.columnValue[k] - w * rowValues_[t];
    }
    state.columnValue[e] = -w * rho;
}

// Pivot steps 7 and 8: the leaving variable, now in column e, sits at the bound the
// outcome names; at its upper bound its column is held negated.
void SimplexTableau::placeLeaving(int e, Outcome outcome)
{
    TableauState &state = state_;
    DenseMatrix &coef = state.coef;
    const double b = outcome == Outcome::Lower ? state.columnLower[e] : state.columnUpper[e];
    if (b != 0) {
        if (full_)
            state.objective = state.objective - state.columnValue[e] * b;
        for (int t = 0; t < colCount_; ++t) {
            const int i = colRows_[t];
            state.rowValue[i] = addToRowValue(state.rowValue[i], -b * coef.at(i, e),
                                              state.rowLower[i], state.rowUpper[i]);
        }
    }
    if (outcome == Outcome::Upper) {
        for (int t = 0; t < colCount_; ++t) {
            double &entry = coef.at(colRows_[t], e);
            entry = -entry;
        }
        if (full_)
            state.columnValue[e] = -state.columnValue[e];
        if (tracking_)
            phaseCost_[e] = -phaseCost_[e];
    }
}

// Pivot step 9: the entering variable, basic in row r, gets its value measured from
// zero again instead of from the bound it left.
void SimplexTableau::placeEntering(int r, int e)
{
    TableauState &state = state_;
    const double old = state.rowValue[r];
    if (state.columnAtLower[e]) {
        const double big = std::max(std::fabs(old), state.rowLower[r]);
        state.rowValue[r] =
            snapToBound(old + state.rowLower[r], big, state.rowLower[r], state.rowUpper[r]);
        return;
    }
    double *row = state.coef.row(r);
    for (int t = 0; t < rowCount_; ++t)
        row[rowColumns_[t]] = -row[rowColumns_[t]];
    const double big = std::max(std::fabs(old), state.rowUpper[r]);
    state.rowValue[r] =
        snapToBound(state.rowUpper[r] - old, big, state.rowLower[r], state.rowUpper[r]);
}

// Pivot on row r and column e: the basic variable of row r leaves at the bound the
// outcome names, the non-basic variable of column e enters.
void SimplexTableau::pivot(int r, int e, Outcome outcome, double theta)
{
    TableauState &state = state_;
    // Step 1: the pivot-column list already holds the whole column (gatherColumn).
    fingerprint_ ^= CycleWatch::rowPart(r, state.rowLabel[r]) ^
                    CycleWatch::columnPart(e, state.columnLabel[e], state.columnAtLower[e]);
    // Step 2: exchange labels and bounds.
    std::swap(state.rowLabel[r], state.columnLabel[e]);
    std::swap(state.rowLower[r], state.columnLower[e]);
    std::swap(state.rowUpper[r], state.columnUpper[e]);
    // Step 3: the pivot's reciprocal.
    const double rho = 1 / state.coef.at(r, e);
    state.rowValue[r] = state.rowValue[r] * rho;
    buildPivotRow(r, e, rho);   // step 4
    updateOtherRows(r, e, rho); // step 5
    if (full_)
        updateCostRow(r, e, rho); // step 6
    if (tracking_)
        pivotPhaseCosts(r, e, rho);
    if (devexOn_)
        pivotDevex(e, rho);
    placeLeaving(e, outcome);                                   // steps 7, 8
    placeEntering(r, e);                                        // step 9
    state.columnAtLower[e] = outcome == Outcome::Lower ? 1 : 0; // step 10
    fingerprint_ ^= CycleWatch::rowPart(r, state.rowLabel[r]) ^
                    CycleWatch::columnPart(e, state.columnLabel[e], state.columnAtLower[e]);
    for (int t = 0; t < colCount_; ++t)
        refreshRow(colRows_[t]);
    ++stats_.pivots;
    stats_.degeneratePivots += theta == 0;
}

void BasisRecord::save(const TableauState &r)
{
    rowLabel.assign(r.rowLabel.begin(), r.rowLabel.begin() + r.rowCount + 1);
    columnLabel.assign(r.columnLabel.begin(), r.columnLabel.begin() + r.columnCount + 1);
    atLower.assign(r.columnAtLower.begin(), r.columnAtLower.begin() + r.columnCount + 1);
}

bool SimplexTableau::enterBasis(const BasisRecord &basis)
{
    TableauState &state = state_;
    const int variables = n_ + m_;
    std::vector<std::uint8_t> basic(variables + 1, 0), lower(variables + 1, 1);
    std::vector<int> column(variables + 1, 0); // where each non-basic variable sits now
    for (int i = 1; i <= m_; ++i)
        basic[variableIndex(basis.rowLabel[i])] = 1;
    for (int j = 1; j <= n_; ++j) {
        lower[variableIndex(basis.columnLabel[j])] = basis.atLower[j];
        column[variableIndex(state.columnLabel[j])] = j;
    }
    // every structural variable of the basis takes the place of a row activity that
    // is not in it, on the largest entry available
    for (int label = 1; label <= n_; ++label) {
        if (!basic[label])
            continue;
        const int e = column[label];
        gatherColumn(e);
        int r = 0;
        double largest = 0;
        for (int t = 0; t < colCount_; ++t) {
            const int leaving = state.rowLabel[colRows_[t]];
            if (!basic[variableIndex(leaving)] && std::fabs(colValues_[t]) > largest) {
                largest = std::fabs(colValues_[t]);
                r = colRows_[t];
            }
        }
        if (r == 0)
            return false;
        const int leaving = variableIndex(state.rowLabel[r]);
        pivot(r, e, lower[leaving] ? Outcome::Lower : Outcome::Upper, 1.0);
        column[leaving] = e;
    }
    for (int j = 1; j <= n_; ++j) // non-basic variables to the bound they sat at
        if (state.columnAtLower[j] != lower[variableIndex(state.columnLabel[j])]) {
            gatherColumn(j);
            flip(j, state.columnUpper[j] - state.columnLower[j]);
        }
    return true;
}

// Extraction: non-basic variables at their bound, basic ones at their row value,
// each written back under its own number.
void SimplexTableau::extract()
{
    TableauState &state = state_;
    std::vector<double> columns(n_ + 1), rows(m_ + 1);
    auto put = [&](int label, double value) {
        if (label > 0)
            columns[label] = value;
        else
            rows[-label] = value;
    };
    for (int j = 1; j <= n_; ++j)
        put(state.columnLabel[j],
            state.columnAtLower[j] ? state.columnLower[j] : state.columnUpper[j]);
    for (int i = 1; i <= m_; ++i)
        put(state.rowLabel[i], state.rowValue[i]);
    std::copy(columns.begin() + 1, columns.end(), state.columnValue.begin() + 1);
    std::copy(rows.begin() + 1, rows.end(), state.rowValue.begin() + 1);
}

} // namespace lp
