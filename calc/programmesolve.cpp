#include "calc/programmesolve.h"

#include "lp/simplextolerance.h"

namespace calc
{

namespace
{

void takeSolution(ProblemRecord &record, const lp::Solution &solution, bool full)
{
    record.programmeError = solution.error;
    record.solveStatus = solution.failing.label();
    if (solution.error != lp::SolveError::Overflow)
        record.tolerance = lp::solverTolerance();
    if (!full || !solution.hasValues())
        return;
    for (lp::ColIndex j(1); j.number() <= record.columnCount; ++j)
        record.columnValue[j.number()] = solution.value(j);
    for (lp::RowIndex i(1); i.number() <= record.rowCount; ++i)
        record.rowValue[i.number()] = solution.activity(i);
    record.objective = -solution.cost;
}

} // namespace

lp::SolverStats solveProgramme(ProblemRecord &record, const lp::Programme &programme,
                               lp::SolverProgress *progress, lp::FinalTableau *finalTableau,
                               const lp::SolverLimits &limits)
{
    const lp::Solution solution = lp::solve(programme, progress, finalTableau, limits);
    takeSolution(record, solution, true);
    return solution.stats;
}

lp::SolverStats checkFeasibility(ProblemRecord &record, const lp::Programme &programme,
                                 const lp::SolverLimits &limits)
{
    const lp::Solution solution = lp::checkFeasibility(programme, limits);
    takeSolution(record, solution, false);
    return solution.stats;
}

} // namespace calc
