#pragma once

// The solver's one tolerance and the one rule by which it snaps values: a value
// updated by an increment d is judged against the acceptance distance
// ε × max(|old|, |d|), or ε when both are below 1. A row value closer than that to
// its lower bound becomes the lower bound, else closer to its upper bound the upper
// bound; a tableau entry closer than that to 0 becomes 0.
//
// The rule applies exactly where the method says so: the row updates of a bound flip
// and of pivot steps 5, 7 and 9, and the entry updates of pivot step 5. Everything
// else in the solver compares exactly.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace lp
{

// ε = 3e-11, the 8-byte real 3DC07E1F E91B0B70.
constexpr double solverTolerance()
{
    return std::bit_cast<double>(std::uint64_t{0x3DC07E1FE91B0B70});
}

// ε × big when big >= 1, otherwise ε (the same number as ε × max(big, 1)).
inline double acceptanceDistance(double big)
{
    return solverTolerance() * std::max(big, 1.0);
}

// A row value after an update, snapped to a bound within the distance for big.
inline double snapToBound(double value, double big, double lower, double upper)
{
    const double distance = acceptanceDistance(big);
    if (std::fabs(value - lower) < distance)
        return lower;
    if (std::fabs(value - upper) < distance)
        return upper;
    return value;
}

// rowValue += d with the tolerance rule.
inline double addToRowValue(double value, double d, double lower, double upper)
{
    const double big = std::max(std::fabs(value), std::fabs(d));
    return snapToBound(value + d, big, lower, upper);
}

// A tableau entry += d with the tolerance rule.
inline double addToEntry(double entry, double d)
{
    const double big = std::max(std::fabs(entry), std::fabs(d));
    const double sum = entry + d;
    return std::fabs(sum) < acceptanceDistance(big) ? 0.0 : sum;
}

} // namespace lp
