#pragma once

// Programmes written down directly, row by row, for the solver's tests: the record gets
// the rows, columns, bounds, prices and the negated coefficient list, as the assembly
// would leave them.

#include "calc/problemrecord.h"

#include <vector>

namespace calctest
{

struct TinyRow {
    double lower = 0;
    double upper = 0;
    std::vector<double> a; // one coefficient per column
};

struct TinyColumn {
    double lower = 0;
    double upper = 0;
    double price = 0;
};

struct TinyProgramme {
    std::vector<TinyRow> rows;
    std::vector<TinyColumn> columns;
};

void setProgramme(calc::ProblemRecord &record, const TinyProgramme &programme);

// The programme a record holds (assembled, not yet solved): setProgramme's inverse.
TinyProgramme programmeOf(const calc::ProblemRecord &record);

} // namespace calctest
