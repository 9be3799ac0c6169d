#pragma once

// What a calculation shows while it works. The engine never draws anything itself:
// the calculation window implements these interfaces with its progress bars and
// message boxes; the command-line tool and the tests implement them with text.

#include <QString>

namespace calc
{

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

// The rest of what a calculation run shows while it works: the solver's bar around each
// full solve, the attempt counter of the two output modes, and the message boxes of
// the run (relaxation advice, overflow, the stock message, "no analysis"). A message
// is acknowledged before the run goes on; the run asks nothing back.
class RunObserver : public SolverProgress
{
public:
    // The solver's bar is shown only while the full solver runs, over minimum..maximum.
    virtual void showSolverProgress(int minimum, int maximum) = 0;
    virtual void hideSolverProgress() = 0;
    // The attempt bar of the output modes: 0..maximum, one step before every attempt.
    virtual void showAttemptProgress(int maximum) = 0;
    virtual void setAttemptProgress(int position) = 0;
    virtual void hideAttemptProgress() = 0;
    virtual void showMessage(const QString &text) = 0;
};

} // namespace calc
