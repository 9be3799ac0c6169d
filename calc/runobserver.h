#pragma once

// What a calculation shows while it works. The engine never draws anything itself:
// the calculation window implements these interfaces with its progress bars and
// message boxes; the command-line tool and the tests implement them with text.

namespace calc {

// The solver's progress bar. The full solver reports after every pivot the current
// objective (minus the raw-material cost so far) rounded to a whole number; the
// display keeps it within its own range (the run sets the bar's minimum before each
// solve, its maximum is 0).
class SolverProgress
{
public:
    virtual ~SolverProgress() = default;
    virtual void solverProgress(int position) = 0;
};

} // namespace calc
