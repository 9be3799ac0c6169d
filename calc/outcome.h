#pragma once

// What the calculation window shows after a run, built from the run's figures: the
// failure analysis (the feed type that failed, its characteristics and raw materials
// against their limits) and the solution summary (one row per raw material), as numbers
// and states. calc/outcometext.h writes them as the window's and the tool's texts.

#include "calc/loading.h"
#include "calc/recipe.h"
#include "calc/rowlayout.h"
#include "calc/selection.h"
#include "lp/solution.h"

#include <QList>
#include <QString>

namespace calc
{

// What the window marks on a row of the raw materials analysis.
struct RawAnalysisState {
    bool stockUsedUp = false;
    LevelState share = LevelState::WithinNorm;
};

// A characteristic of the failed feed type: its norm and the level reached; or one of
// its ratios in force ("Соотношение Кальций/Фосфор доступный"), a bound of 0 being none.
struct CharacteristicLevel {
    QString name;
    double minimum = 0;
    double level = 0;
    double maximum = 0;
    LevelState state = LevelState::WithinNorm;
    bool ratio = false;
    bool defined = true; // a ratio's level: the batch holds some of its denominator
};

// A raw material of the failed feed type. Tonnes: the stock less production losses,
// what all feed types use, what this one takes; the share and its limits in %.
struct RawLevel {
    QString name;
    double stock = 0;
    double used = 0;
    double weight = 0;
    double minimum = 0;
    double share = 0;
    double maximum = 0;
    RawAnalysisState state;
};

struct FailureAnalysis {
    int feed = 0; // the feed type that owns the failed row
    QString feedType;
    bool outputFailed = false;                  // the output row failed: the weight was not reached
    double output = 0;                          // tonnes asked for
    double reached = 0;                         // tonnes the output row reached
    QList<CharacteristicLevel> characteristics; // those with a nutrient row, then the ratios
    QList<RawLevel> raws;                       // one per programme column of the feed type
};

// The analysis of a run whose last solve (solution) failed at row (an output or nutrient
// row): the feed type that owns the row, at the outputs tried last.
FailureAnalysis failureAnalysis(const Selection &selection, const RowLayout &layout,
                                const lp::Solution &solution, const CalcWorkingValues &working,
                                int row, double lossNorm);

// A raw material in the solution: stock and use in tonnes, price per tonne, cost.
struct SummaryRow {
    QString name;
    double stock = 0;
    double used = 0; // losses included
    double price = 0;
    double cost = 0;
};

struct SolutionSummary {
    QList<SummaryRow> rows;      // one per raw material
    double totalConsumption = 0; // tonnes, losses included
    double totalCost = 0;        // roubles
};

// The summary of rounded recipes: consumption and cost of every raw material.
SolutionSummary solutionSummary(const Selection &selection, const Recipes &recipes);

} // namespace calc
