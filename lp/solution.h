#pragma once

// What a solve hands back: whether it could be done at all (an error: the tableau could
// not be held, or its figures could not be kept right), and if so the outcome (optimal,
// or infeasible at a named variable), the values reached, and the steps taken.

#include "lp/index.h"

#include <cstdint>
#include <vector>

namespace lp
{

// A variable as the solver names it: the activity of row i or the amount of column j.
class Variable final
{
public:
    constexpr Variable() = default;
    // The solver's own label: −i for row i, +j for column j, 0 for none.
    static constexpr Variable fromLabel(int label) { return Variable(label); }
    static constexpr Variable ofRow(RowIndex i) { return Variable(-i.number()); }
    static constexpr Variable ofColumn(ColIndex j) { return Variable(j.number()); }

    constexpr int label() const { return label_; }
    constexpr bool isRow() const { return label_ < 0; }
    constexpr bool isColumn() const { return label_ > 0; }
    constexpr RowIndex row() const { return RowIndex(-label_); }
    constexpr ColIndex column() const { return ColIndex(label_); }
    constexpr bool operator==(const Variable &) const = default;

private:
    constexpr explicit Variable(int label) : label_(label) {}
    int label_ = 0;
};

// Whether the programme could be solved at all. Neither error names a row or column.
// Overflow: the tableau could not be held; LostAccuracy: the solver could not keep its
// figures right (rounding), its amounts are no solution.
enum class SolveError : std::uint8_t { None, Overflow, LostAccuracy, Stopped };

// The verdict on a programme that could be solved.
enum class Outcome : std::uint8_t { Optimal, Infeasible };

// What one solve did, for the tool's totals and the benchmark.
struct SolverStats {
    std::int64_t pivots = 0;
    std::int64_t flips = 0;
    std::int64_t feasibilityPivots = 0; // of the pivots, those of the feasibility phase
    std::int64_t feasibilityFlips = 0;  // of the flips, those of the feasibility phase
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

struct Solution {
    SolveError error = SolveError::None;
    // With no error: Optimal, or Infeasible with the first basic variable that could not
    // be brought within its bounds.
    Outcome outcome = Outcome::Optimal;
    Variable failing;
    // The values of the point the solve reached, also after a failure: x_j and the row
    // activities; after a full solve also its cost Σ c_j x_j as the tableau carried it.
    // An overflow gives none.
    std::vector<double> values;
    std::vector<double> activities;
    double cost = 0;
    SolverStats stats;

    bool optimal() const { return error == SolveError::None && outcome == Outcome::Optimal; }
    bool hasValues() const { return !values.empty() || !activities.empty(); }
    double value(ColIndex j) const { return values[std::size_t(j.number() - 1)]; }
    double activity(RowIndex i) const { return activities[std::size_t(i.number() - 1)]; }
};

} // namespace lp
