#pragma once

// Programmes written down directly, row by row, for the solver's tests.

#include "lp/programme.h"

#include <algorithm>
#include <vector>

namespace lptest
{

struct TinyRow {
    double lower = 0;
    double upper = 0;
    std::vector<double> a; // one coefficient per column
};

struct TinyColumn {
    double lower = 0;
    double upper = 0;
    double cost = 0;
};

struct TinyProgramme {
    std::vector<TinyRow> rows;
    std::vector<TinyColumn> columns;
};

inline lp::Programme programmeOf(const TinyProgramme &tiny)
{
    lp::Programme programme;
    for (const TinyColumn &column : tiny.columns)
        programme.addColumn(column.lower, column.upper, column.cost);
    for (const TinyRow &row : tiny.rows) {
        programme.addRow(row.lower, row.upper);
        for (std::size_t j = 0; j < row.a.size(); ++j)
            programme.addEntry(lp::ColIndex(int(j) + 1), row.a[j]);
    }
    return programme;
}

// Largest amount by which a row activity or a column lies outside its bounds.
inline double worstViolation(const lp::Programme &p, const std::vector<double> &x)
{
    double worst = 0;
    for (lp::RowIndex i(1); i.number() <= p.rowCount(); ++i) {
        double activity = 0;
        for (const lp::Entry &e : p.row(i))
            activity += e.value * x[std::size_t(e.column.number() - 1)];
        worst = std::max({worst, p.rowLower(i) - activity, activity - p.rowUpper(i)});
    }
    for (lp::ColIndex j(1); j.number() <= p.columnCount(); ++j) {
        const double v = x[std::size_t(j.number() - 1)];
        worst = std::max({worst, p.columnLower(j) - v, v - p.columnUpper(j)});
    }
    return worst;
}

} // namespace lptest
