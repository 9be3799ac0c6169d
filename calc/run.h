#pragma once

// The calculation run: load and check the data, then attempts (check, assemble,
// solve) until the mode's goal is met or the run fails; a successful run is rounded
// into recipes. The cost mode relaxes failing requirements between attempts; the two
// output modes search the largest feasible outputs (calc/outputsearch.h).
//
// The run shows its progress bars and message boxes through a RunObserver and returns
// everything the calculation window presents afterwards. It works on values of its own:
// it reads the tables at its start and touches nothing else that lives beyond it, so a
// run can be repeated, or made on another thread.

#include "calc/loading.h"
#include "calc/outcome.h"
#include "calc/outputsearch.h"
#include "calc/recipe.h"
#include "calc/runobserver.h"
#include "calc/selection.h"
#include "calc/sensitivity.h"
#include "lp/programme.h"
#include "lp/simplex.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace calc
{

struct RunOptions {
    CalcMode mode = CalcMode::Cost;
    // "Равномерно отступать от требований по всем характеристикам " chosen.
    bool uniformRelax = false;
    CalcParameters parameters;
    // Called with the programme of the first attempt, as assembled, before it is
    // solved (the tool's export), and the selection it was assembled from; may be empty.
    std::function<void(const Selection &, const lp::Programme &)> firstProgramme;
    lp::SolverLimits solverLimits; // the solver's own unless a test narrows them
    // The program's run takes the solver's rules from KORMOPLAN_RULES (described,
    // textbook or auto) when it is set, read once as the run starts; the tool and tests
    // that set solverLimits.rules themselves turn this off.
    bool rulesFromEnvironment = true;
    // Set from another thread to stop the run at its next step; may be null.
    const std::atomic_bool *stop = nullptr;
};

enum class RunOutcome {
    Solution,        // rounded recipes and the solution summary
    Errors,          // the error list of the data checks
    FailureAnalysis, // a feed type's output or requirement could not be met
    StockMessage,    // a stock to be used up could not be: the message box only
    NoAnalysis,      // a column's own bounds could not be met: the message box only
    Overflow,        // the programme is too large for the solver: the message box only
    LostAccuracy,    // the solver could not keep its figures right: the message box only
    Stopped,         // stopped by the user: nothing to show, nothing written
};

// A requirement the cost mode widened: its programme row and its share.
struct RelaxedRow {
    int row = 0;
    double share = 0;
};

struct RunResult {
    RunOutcome outcome = RunOutcome::Errors;
    int solveStatus = 0;
    QStringList diagnostics;   // the error list (Errors)
    QString dataError;         // a table that could not be read; outcome Errors
    QStringList messages;      // message boxes shown during the run, in order
    FailureAnalysis analysis;  // FailureAnalysis
    SolutionSummary summary;   // Solution
    CalcWorkingValues working; // outputs and inclusion limits of the run
    int attempts = 0;
    double objective = 0;   // Σ price × tonnes of the last full solve, before rounding
    lp::SolverStats solver; // totals over every solve of the run
    // Solution: what the optimum of the last full solve is worth at the margin.
    Sensitivity sensitivity;
    Selection selection;                // as loaded, at the outputs of the last attempt
    Recipes recipes;                    // Solution: the rounded recipes
    std::vector<RelaxedRow> relaxation; // widened requirements, in row order
};

// The refusal of the current product mode when no feed type is marked as current.
QString noCurrentProductMessage();

// The solver's rules as KORMOPLAN_RULES names them: rules unchanged when it is not set
// or empty; the error text when it names no rules.
QString rulesFromEnvironment(lp::Rules *rules);

// The data of a run as read from the tables, before any attempt.
struct LoadedData {
    Selection selection;
    CalcWorkingValues working;
    QStringList diagnostics; // of the load; the attempts add theirs
    QString dataError;       // a table that could not be read
};

// The run's first part, on the thread that owns the tables: they are read here and
// nowhere after.
LoadedData loadRun(const CalcTables &tables, const RunOptions &options);
// The rest of the run, on values only, so it may go on on another thread.
RunResult solveRun(LoadedData data, const RunOptions &options, RunObserver &observer);
// Both parts, on the tables as the calculation window leaves them.
RunResult runCalculation(const CalcTables &tables, const RunOptions &options,
                         RunObserver &observer);

// The solver bar's minimum before a full solve: −0.7 × highest raw price × totalOutput,
// rounded, but not below −2,000,000,000.
int solverProgressMinimum(const Selection &selection, double totalOutput);

// The attempt bar's maximum: log2(1000 × surplus) rounded, plus 2 (2 without surplus).
int attemptProgressMaximum(double surplus);

// Σ price × tonnes of a full solve's values.
double rawMaterialCost(const Selection &selection, const lp::Solution &solution);

} // namespace calc
