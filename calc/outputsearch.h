#pragma once

// The output search of the two output modes: starting from the entered programme, the
// outputs move up after a feasible attempt and down after an infeasible one, by a step
// that halves every time (the surplus of stock over output to begin with), until the
// step is at most 1 kg or the relative step falls below 0.0001. The search always ends
// with one full solve at the last outputs that were feasible.
//
// Proportional mode: every output moves by the same ratio, keeping their proportions.
// Current product mode: only the current feed type's output moves.

#include "calc/loading.h"

namespace calc
{

enum class CalcMode {
    Cost,         // "Оптимизировать стоимость сырья"
    Proportional, // "Максимизировать выработку в пропорции"
    Product,      // "Максимизировать текущий продукт"
};

class OutputSearch final
{
    Q_DISABLE_COPY_MOVE(OutputSearch)

public:
    // The state at the start of a run: in the cost mode the first solve is already the
    // final one.
    // feedCount: the feed types whose outputs move.
    OutputSearch(CalcMode mode, int feedCount, CalcWorkingValues &working);

    double step() const { return step_; }
    double ratio() const { return ratio_; }
    bool isFinal() const { return final_; }
    // The next attempt honours the full-use marks and uses the full solver.
    bool nextIsFull() const { return final_ || step_ <= 0.001 || ratio_ < 0.0001; }

    // After a feasible attempt: remembers its outputs and moves up. False when the
    // search is over (that attempt was already the full solve).
    bool grow();
    // After an infeasible attempt, or checks that failed on a later attempt: moves
    // down, or, once the step is spent, goes back to the saved outputs for the final
    // solve.
    void shrink();

private:
    void saveOutputs();
    void restoreOutputs();
    // Proportional move by factor (1 ± ratio); true when the total did not change.
    bool scaleOutputs(double sign);

    CalcMode mode_;
    int feedCount_;
    CalcWorkingValues &working_;
    double step_;
    double ratio_;
    bool final_;
};

} // namespace calc
