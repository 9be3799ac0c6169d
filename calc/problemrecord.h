#pragma once

// The recipes of the last calculation as the results and archive windows read them: the
// run's selection, with the rounded figures written per programme column and row in the
// assembly's order. Filled from the run's result when a run ends.

#include "calc/run.h"
#include "calc/selection.h"

#include <vector>

namespace calc
{

// rowKind of the two row kinds that are not a characteristic number.
inline constexpr int kOutputRow = 100;
inline constexpr int kStockRow = 200;

struct ProblemRecord final : Selection {
    ProblemRecord(); // every container sized to its capacity + 1, all zero / empty

    // Columns [j]: columnLower the percentage, columnUpper the tonnes with losses
    std::vector<double> columnValue; // tonnes

    // Rows [i]: per feed type its output row and its nutrient rows, then one stock row
    // per raw material
    int rowCount = 0;
    std::vector<int> rowKind;     // kOutputRow, kStockRow, or the characteristic q
    std::vector<int> rowOwner;    // p for output and nutrient rows, s for stock rows
    std::vector<double> rowValue; // output, level, or consumption with losses

    // The selection of the run, and its recipes when it found some.
    void take(const RunResult &result);
};

// The process-wide record of the program.
ProblemRecord &problemRecord();

} // namespace calc
