#include "helper_tinyprogramme.h"

namespace calctest
{

void setProgramme(calc::ProblemRecord &record, const TinyProgramme &programme)
{
    record.rowCount = int(programme.rows.size());
    record.columnCount = int(programme.columns.size());
    record.objective = 0;
    record.solveStatus = 0;
    record.coef.allocate(record.rowCount, record.columnCount);
    for (int i = 1; i <= record.rowCount; ++i) {
        const TinyRow &row = programme.rows[i - 1];
        record.rowLower[i] = row.lower;
        record.rowUpper[i] = row.upper;
        for (int j = 1; j <= record.columnCount; ++j)
            record.coef.at(i, j) = -row.a[j - 1];
    }
    for (int j = 1; j <= record.columnCount; ++j) {
        const TinyColumn &column = programme.columns[j - 1];
        record.columnLower[j] = column.lower;
        record.columnUpper[j] = column.upper;
        record.columnValue[j] = column.price;
    }
}

} // namespace calctest
