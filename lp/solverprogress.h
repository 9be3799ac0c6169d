#pragma once

namespace lp
{

// The solver's progress bar. The full solver reports after every pivot the current
// objective (minus the cost so far) rounded to a whole number, when that has moved.
class SolverProgress
{
public:
    virtual ~SolverProgress() = default;
    virtual void solverProgress(int position) = 0;
};

} // namespace lp
