#pragma once

// What the calculation window shows after a run, built from the problem record: the
// failure analysis (title, characteristics grid, raw materials grid) and the solution
// summary (title and one row per raw material), with the window's texts and number
// formats. The window draws these grids and prints them; the command-line tool prints
// them as text.

#include "calc/loading.h"
#include "calc/problemrecord.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace calc
{

// A grid of texts with one header row.
struct TextGrid {
    QStringList header;
    QList<QStringList> rows;
};

// The grid as printed: row 0 the header, then the rows; each cell followed by blanks up
// to one more than the widest text of its column, then "!".
QStringList gridLines(const TextGrid &grid);

// Comments of the analysis grids.
inline constexpr char16_t kAtMinimum[] = u" на минимуме      ";
inline constexpr char16_t kAtMaximum[] = u" на максимуме     ";
inline constexpr char16_t kAboveMaximum[] = u" больше максимума ";
inline constexpr char16_t kBelowMinimum[] = u" меньше минимума  ";
inline constexpr char16_t kWithinNorm[] = u" в норме          ";
inline constexpr char16_t kStockUsedUp[] = u"Запас использован";

// Where a level (a characteristic's value, a raw material's share) stands against its
// minimum and maximum; the grids' "Комментарий" says it in words.
enum class LevelState { WithinNorm, AtMinimum, AtMaximum, BelowMinimum, AboveMaximum };

// The comment of the analysis grids for a state (kWithinNorm, ...).
QString levelStateText(LevelState state);

// What the window marks on a row of the raw materials analysis.
struct RawAnalysisState {
    bool stockUsedUp = false; // "Примечание" reads kStockUsedUp
    LevelState share = LevelState::WithinNorm;
};

struct FailureAnalysis {
    QString title;
    TextGrid characteristics; // "Характеристика", "Комментарий", "Минимум", "Факт", "Максимум"
    TextGrid raws; // "Наименование сырья", "Запас", ... "Комментарий"
    QList<LevelState> characteristicStates; // one per row of characteristics
    QList<RawAnalysisState> rawStates;      // one per row of raws
};

// The analysis of a run that ended with solveStatus = −row (an output or nutrient row):
// the feed type that owns the row, at the outputs tried last.
FailureAnalysis failureAnalysis(const ProblemRecord &record, const CalcWorkingValues &working,
                                int row, double lossNorm);

struct SolutionSummary {
    QString title;
    TextGrid grid; // "Наименование сырья", "Запас Т", "Затраты общие", "Цена 1Т", ...
    double totalConsumption = 0; // tonnes, losses included
    double totalCost = 0;        // roubles
};

// The summary of a rounded solution: consumption and cost of every raw material.
SolutionSummary solutionSummary(const ProblemRecord &record);

} // namespace calc
