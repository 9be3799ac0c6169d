#pragma once

// What a calculation shows while it works. The engine never draws anything itself:
// the calculation window implements these interfaces with its progress bars and
// message boxes; the command-line tool and the tests implement them with text.

#include "lp/solverprogress.h"

#include <QString>

namespace calc
{

// What a calculation run shows while it works: the solver's bar (lp::SolverProgress,
// kept by the run within the range it sets before each full solve, up to 0) around each
// full solve, the attempt counter of the two output modes, and the message boxes of
// the run (relaxation advice, overflow, the stock message, "no analysis"). A message
// is acknowledged before the run goes on; the run asks nothing back.
class RunObserver : public lp::SolverProgress
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
