#pragma once

// A second, deliberately plain transcription of the solver's method, for the tests:
// one dense array, scalar loops, every step written out as the method states it, no
// work-list tricks and no guard against cycling. The engine must make exactly the same
// flips and pivots and end with the same bits.

#include "calc/problemrecord.h"

#include <cstdint>

namespace calctest
{

struct ReferenceResult {
    std::int64_t pivots = 0;
    std::int64_t flips = 0;
    bool gaveUp = false; // more than maxSteps flips and pivots: cycling, presumably
};

// Runs on the assembled record like solveProgramme (full) or checkFeasibility.
ReferenceResult referenceSolve(calc::ProblemRecord &record, bool full,
                               std::int64_t maxSteps = 2'000'000);

} // namespace calctest
