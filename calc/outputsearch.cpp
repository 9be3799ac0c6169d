#include "calc/outputsearch.h"

#include "store/numbertext.h"

namespace calc
{

using store::round3;

OutputSearch::OutputSearch(CalcMode mode, int feedCount, CalcWorkingValues &working)
    : mode_(mode), feedCount_(feedCount), working_(working), step_(working.surplus),
      ratio_(working.surplusRatio), final_(mode == CalcMode::Cost)
{
}

bool OutputSearch::grow()
{
    saveOutputs();
    if (mode_ == CalcMode::Product) {
        if (step_ <= 0.001)
            return false;
        step_ = round3(step_ / 2 - 0.0005);
        working_.totalOutput += step_;
        double &w = working_.output[working_.currentFeed];
        w = round3(w + step_);
        return true;
    }
    if (step_ <= 0.001 || ratio_ < 0.0001)
        return false;
    if (scaleOutputs(+1)) {
        final_ = true;
        restoreOutputs();
    }
    return true;
}

void OutputSearch::shrink()
{
    if (mode_ == CalcMode::Product) {
        if (step_ <= 0.001) {
            final_ = true;
            restoreOutputs();
            return;
        }
        step_ = round3(step_ / 2 - 0.0005);
        working_.totalOutput -= step_;
        double &w = working_.output[working_.currentFeed];
        w = round3(w - step_);
        return;
    }
    if (step_ <= 0.001 || ratio_ < 0.0001 || scaleOutputs(-1)) {
        final_ = true;
        restoreOutputs();
    }
}

bool OutputSearch::scaleOutputs(double sign)
{
    step_ = step_ / 2;
    ratio_ = step_ / working_.totalOutput;
    const double before = working_.totalOutput;
    double total = 0;
    for (int p = 1; p <= feedCount_; ++p) {
        double &w = working_.output[p];
        w = round3((1 + sign * ratio_) * w - 0.0005);
        total += w;
    }
    working_.totalOutput = total;
    return total == before;
}

void OutputSearch::saveOutputs()
{
    working_.savedOutput = working_.output;
    working_.savedTotal = working_.totalOutput;
}

// The total goes back with the outputs: the stock check compares the total, and a
// total left at the last (failed) value would fail it again and again.
void OutputSearch::restoreOutputs()
{
    working_.output = working_.savedOutput;
    working_.totalOutput = working_.savedTotal;
}

} // namespace calc
