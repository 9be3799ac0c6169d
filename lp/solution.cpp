#include "lp/solution.h"

#include <algorithm>

namespace lp
{

SolverStats &SolverStats::operator+=(const SolverStats &other)
{
    pivots += other.pivots;
    flips += other.flips;
    feasibilityPivots += other.feasibilityPivots;
    feasibilityFlips += other.feasibilityFlips;
    degeneratePivots += other.degeneratePivots;
    updatedEntries += other.updatedEntries;
    cycleBreaks += other.cycleBreaks;
    rebuilds += other.rebuilds;
    refreshes += other.refreshes;
    sharedPivots += other.sharedPivots;
    threads = std::max(threads, other.threads);
    rowUpdateSeconds += other.rowUpdateSeconds;
    return *this;
}

} // namespace lp
