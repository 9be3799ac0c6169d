#pragma once

// Sample selections for the solver's tests, the solver oracle and the benchmark:
// filled the way the loader leaves them (inclusion limits in percent, outputs, norms
// with the price already converted), ready for assembleProgramme.
//
// A random case is built around a hidden recipe per feed type: its norms bracket the
// levels of that recipe and the stock covers it, so most cases are feasible; the
// flavours tighten the stock, mark raw materials for full use, make the data
// degenerate (exact requirements, twin raw materials, fixed inclusions, equal prices)
// or put one requirement out of reach.

#include "calc/selection.h"

#include <cstdint>
#include <vector>

namespace calctest
{

enum class Flavour { Ordinary, TightStock, Degenerate, Unreachable };

struct CaseShape {
    int feeds = 3;
    int raws = 6;
    int chars = 4;
    std::uint64_t seed = 1;
    Flavour flavour = Flavour::Ordinary;
    double pairShare = 0.6; // share of (feed type, raw material) pairs allowed; 1: all
    bool everyNorm = false; // every characteristic has a norm in every feed type
};

struct SampleCase {
    bool useFullUse = false;
    double lossNorm = 0;
};

// Fills the selection (clearing what an earlier case left) and says how to assemble it.
SampleCase makeCase(calc::Selection &selection, const CaseShape &shape);

// Relaxation shares of 0 for every row, as a run starts.
inline std::vector<double> noRelaxation()
{
    return std::vector<double>(calc::kMaxRows + 1, 0.0);
}

// The benchmark's cases: every pair allowed; the capacity case with every norm, so
// that the programme has all 2690 rows.
inline CaseShape capacityShape(std::uint64_t seed = 1)
{
    return {calc::kMaxFeeds, calc::kMaxRaws, calc::kMaxChars, seed, Flavour::Ordinary, 1.0, true};
}
inline CaseShape typicalShape(std::uint64_t seed = 1)
{
    return {10, 30, 20, seed, Flavour::Ordinary, 1.0, false};
}

} // namespace calctest
