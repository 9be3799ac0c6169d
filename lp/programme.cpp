#include "lp/programme.h"

#include <algorithm>

namespace lp
{

ColIndex Programme::addColumn(double lower, double upper, double cost)
{
    columnLower_.push_back(lower);
    columnUpper_.push_back(upper);
    cost_.push_back(cost);
    return ColIndex(columnCount());
}

RowIndex Programme::addRow(double lower, double upper)
{
    rowLower_.push_back(lower);
    rowUpper_.push_back(upper);
    rowStart_.push_back(rowStart_.back());
    return RowIndex(rowCount());
}

void Programme::addEntry(ColIndex column, double value)
{
    if (value == 0)
        return;
    entries_.push_back({column, value});
    ++rowStart_.back();
}

void Programme::setRowBounds(RowIndex i, double lower, double upper)
{
    rowLower_[at(i)] = lower;
    rowUpper_[at(i)] = upper;
}

RowEntries Programme::row(RowIndex i) const
{
    return {entries_.data() + rowStart_[at(i)], entries_.data() + rowStart_[at(i) + 1]};
}

double Programme::coefficient(RowIndex i, ColIndex j) const
{
    const RowEntries entries = row(i);
    const auto found = std::lower_bound(entries.begin(), entries.end(), j,
                                        [](const Entry &e, ColIndex c) { return e.column < c; });
    return found != entries.end() && found->column == j ? found->value : 0.0;
}

} // namespace lp
