#pragma once

// The figures of a failed run, and of a solved one, for the outcome tests.

#include "calc/loading.h"
#include "calc/outcome.h"
#include "calc/recipe.h"
#include "calc/rowlayout.h"
#include "calc/selection.h"
#include "lp/solution.h"

namespace outcometest
{

// Feed type 1 (output 10 t) with rows: 1 output, 2 protein (q 2), 3 fat (q 3); raw
// materials 1 and 2 with stock rows 4 and 5; columns 1 (raw 1) and 2 (raw 2).
// Protein stands at its minimum of 16 (maximum 20), fat at 0 with a minimum of 0;
// wheat takes all of its 10 t of stock (share 100 %), meal nothing (at most 30 %).
struct Analysed {
    calc::Selection rec;
    calc::RowLayout layout;
    lp::Solution solution;
    calc::CalcWorkingValues work;

    Analysed()
    {
        rec.feedCount = 1;
        rec.rawCount = 2;
        rec.charCount = 3;
        rec.columnCount = 2;
        rec.feedType[1] = QStringLiteral("ПК-1");
        rec.feedOutput[1] = 10;
        rec.charName[2] = QStringLiteral("Протеин");
        rec.charName[3] = QStringLiteral("Жир");
        rec.rawName[1] = QStringLiteral("Пшеница");
        rec.rawName[2] = QStringLiteral("Шрот");
        rec.rawStock[1] = 10;
        rec.rawStock[2] = calc::kUnlimitedStock;
        layout.addOutputRow(1);
        layout.addNutrientRow(1, 2);
        layout.addNutrientRow(1, 3);
        layout.addStockRow(1);
        layout.addStockRow(2);
        solution.activities.assign(5, 0.0);
        rec.normMin[1][2] = 16; // level 16: at its minimum
        rec.normMax[1][2] = 20;
        rowValue(2) = 16 * 10 / 20.0;
        rec.normMin[1][3] = 0; // level 0 with a minimum of 0: within the norm
        rec.normMax[1][3] = 5;
        rowValue(3) = 0;
        for (int j = 1; j <= 2; ++j) {
            rec.columnFeed[j] = 1;
            rec.columnRaw[j] = j;
        }
        solution.values = {10, 0}; // all of the stock; nothing
        work.minInclusion[1][1] = 0;
        work.maxInclusion[1][1] = 100;
        work.minInclusion[1][2] = 0;
        work.maxInclusion[1][2] = 30;
    }

    double &rowValue(int i) { return solution.activities[std::size_t(i - 1)]; }

    calc::FailureAnalysis analysis(int row, double lossNorm) const
    {
        return calc::failureAnalysis(rec, layout, solution, work, row, lossNorm);
    }
};

// The figures above as solved: wheat (100.50 a tonne) 10.1 t used, meal (300) 0.125 t.
inline calc::SolutionSummary solvedSummary()
{
    Analysed solved;
    solved.rec.rawContent[1][1] = 100.5;
    solved.rec.rawContent[2][1] = 300;
    calc::Recipes recipes;
    recipes.consumption = {0, 10.1, 0.125};
    return calc::solutionSummary(solved.rec, recipes);
}

} // namespace outcometest
