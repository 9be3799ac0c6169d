#pragma once

// A problem record after a failed run, for the outcome tests.

#include "calc/loading.h"
#include "calc/problemrecord.h"

namespace outcometest
{

// Feed type 1 (output 10 t) with rows: 1 output, 2 protein (q 2), 3 fat (q 3); raw
// materials 1 and 2 with stock rows 4 and 5; columns 1 (raw 1) and 2 (raw 2).
// Protein stands at its minimum of 16 (maximum 20), fat at 0 with a minimum of 0;
// wheat takes all of its 10 t of stock (share 100 %), meal nothing (at most 30 %).
inline void analysedRecord(calc::ProblemRecord &rec, calc::CalcWorkingValues &work)
{
    rec.feedCount = 1;
    rec.rawCount = 2;
    rec.charCount = 3;
    rec.columnCount = 2;
    rec.rowCount = 5;
    rec.tolerance = 3e-11;
    rec.feedType[1] = QStringLiteral("ПК-1");
    rec.feedOutput[1] = 10;
    rec.charName[2] = QStringLiteral("Протеин");
    rec.charName[3] = QStringLiteral("Жир");
    rec.rawName[1] = QStringLiteral("Пшеница");
    rec.rawName[2] = QStringLiteral("Шрот");
    rec.rawStock[1] = 10;
    rec.rawStock[2] = calc::kUnlimitedStock;
    const int kinds[] = {0, calc::kOutputRow, 2, 3, calc::kStockRow, calc::kStockRow};
    const int owners[] = {0, 1, 1, 1, 1, 2};
    for (int i = 1; i <= 5; ++i) {
        rec.rowKind[i] = kinds[i];
        rec.rowOwner[i] = owners[i];
    }
    rec.normMin[1][2] = 16; // level 16: at its minimum
    rec.normMax[1][2] = 20;
    rec.rowValue[2] = 16 * 10 / 20.0;
    rec.normMin[1][3] = 0; // level 0 with a minimum of 0: within the norm
    rec.normMax[1][3] = 5;
    rec.rowValue[3] = 0;
    for (int j = 1; j <= 2; ++j) {
        rec.columnFeed[j] = 1;
        rec.columnRaw[j] = j;
    }
    rec.columnValue[1] = 10; // all of the stock
    rec.columnValue[2] = 0;
    work.minInclusion[1][1] = 0;
    work.maxInclusion[1][1] = 100;
    work.minInclusion[1][2] = 0;
    work.maxInclusion[1][2] = 30;
}

// The record above as solved: wheat (100.50 a tonne) 10.1 t used, meal (300) 0.125 t.
inline void solvedRecord(calc::ProblemRecord &rec)
{
    calc::CalcWorkingValues work;
    analysedRecord(rec, work);
    rec.rawContent[1][1] = 100.5;
    rec.rawContent[2][1] = 300;
    rec.rowValue[4] = 10.1;
    rec.rowValue[5] = 0.125;
}

} // namespace outcometest
