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

TinyProgramme programmeOf(const calc::ProblemRecord &record)
{
    TinyProgramme p;
    for (int i = 1; i <= record.rowCount; ++i) {
        TinyRow row{record.rowLower[i], record.rowUpper[i], {}};
        for (int j = 1; j <= record.columnCount; ++j)
            row.a.push_back(-record.coef.at(i, j));
        p.rows.push_back(row);
    }
    for (int j = 1; j <= record.columnCount; ++j)
        p.columns.push_back({record.columnLower[j], record.columnUpper[j], record.columnValue[j]});
    return p;
}

} // namespace calctest
