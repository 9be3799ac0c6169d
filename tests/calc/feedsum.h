#pragma once

// Sum of a per-column figure (percent, tonnes, consumption) over the columns of feed type p.

#include "calc/problemrecord.h"

#include <vector>

inline double feedColumnSum(const calc::ProblemRecord &rec, int p,
                            const std::vector<double> &values)
{
    double sum = 0;
    for (int j = 1; j <= rec.columnCount; ++j)
        if (rec.columnFeed[j] == p)
            sum += values[size_t(j)];
    return sum;
}
