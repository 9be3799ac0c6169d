#pragma once

// A linear programme in the bounded form the solver takes, as a value:
//
//     minimise    Σ_j c_j x_j
//     subject to  rowLower_i <= Σ_j a_ij x_j <= rowUpper_i        i = 1..m
//                 columnLower_j <= x_j <= columnUpper_j             j = 1..n
//
// Every bound is finite. The matrix is held row by row with its non-zero entries only,
// columns ascending within a row (the order the solver sums them in).

#include "lp/index.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lp
{

struct Entry {
    ColIndex column;
    double value = 0;
};

// The entries of one row, for range-for.
class RowEntries final
{
public:
    RowEntries(const Entry *first, const Entry *last) : first_(first), last_(last) {}
    const Entry *begin() const { return first_; }
    const Entry *end() const { return last_; }
    std::size_t size() const { return std::size_t(last_ - first_); }
    bool empty() const { return first_ == last_; }

private:
    const Entry *first_;
    const Entry *last_;
};

class Programme final
{
public:
    int rowCount() const { return int(rowLower_.size()); }
    int columnCount() const { return int(columnLower_.size()); }
    std::int64_t entryCount() const { return std::int64_t(entries_.size()); }

    ColIndex addColumn(double lower, double upper, double cost);
    // A new row without entries; addEntry fills it.
    RowIndex addRow(double lower, double upper);
    // Entry a(i, column) of the row added last, columns in ascending order; a zero is
    // not kept.
    void addEntry(ColIndex column, double value);

    double rowLower(RowIndex i) const { return rowLower_[at(i)]; }
    double rowUpper(RowIndex i) const { return rowUpper_[at(i)]; }
    void setRowBounds(RowIndex i, double lower, double upper);
    double columnLower(ColIndex j) const { return columnLower_[at(j)]; }
    double columnUpper(ColIndex j) const { return columnUpper_[at(j)]; }
    double cost(ColIndex j) const { return cost_[at(j)]; }

    // The non-zero entries of row i, columns ascending.
    RowEntries row(RowIndex i) const;
    // a(i, j); 0 where the row has no entry.
    double coefficient(RowIndex i, ColIndex j) const;

private:
    static std::size_t at(RowIndex i) { return std::size_t(i.number() - 1); }
    static std::size_t at(ColIndex j) { return std::size_t(j.number() - 1); }

    std::vector<double> rowLower_, rowUpper_;
    std::vector<double> columnLower_, columnUpper_, cost_;
    std::vector<std::int64_t> rowStart_{0}; // row i's entries: [rowStart_[i-1], rowStart_[i])
    std::vector<Entry> entries_;
};

} // namespace lp
