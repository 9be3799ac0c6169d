#pragma once

// A second, deliberately plain transcription of the solver's method, for the tests:
// one dense array, scalar loops, every step written out as the method states it, no
// work-list tricks and no guard against cycling. The engine must make exactly the same
// flips and pivots and end with the same bits.

#include "lp/programme.h"

#include <cstdint>
#include <vector>

namespace calctest
{

struct ReferenceResult {
    std::int64_t pivots = 0;
    std::int64_t flips = 0;
    bool gaveUp = false; // more than maxSteps flips and pivots: cycling, presumably
    // As the solver's tableau ends (1-based): the label of the failing variable (0 when
    // none), minus the cost (full solve), the values and the labels of the columns.
    int solveStatus = 0;
    double objective = 0;
    std::vector<double> columnValue;
    std::vector<double> rowValue;
    std::vector<int> columnLabel;
};

// Runs on the programme like lp::solve (full) or lp::checkFeasibility.
ReferenceResult referenceSolve(const lp::Programme &programme, bool full,
                               std::int64_t maxSteps = 2'000'000);

} // namespace calctest
