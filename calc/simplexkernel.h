#pragma once

// The inner loop of a pivot: one tableau row i takes −v times the pivot row, entry by
// entry, with the tolerance rule on every entry the pivot row has non-zero
// (T(i, k) += −v × T(r, k); an entry that ends nearer 0 than the acceptance distance
// becomes 0). Entries where the pivot row is 0 stay exactly as they are.
//
// Two forms with the same results: a streaming one over whole blocks of 8 columns
// (vectorised, no branches on the data), and a listed one that visits only given
// columns. The caller picks by the density of the pivot row.

#include <cstdint>

namespace calc {

inline constexpr int kBlock = 8; // columns per block; rows are padded to whole blocks

// A pivot row for the streaming form: its entries over blocks [firstBlock, endBlock),
// zero outside them, and per block one byte with a bit set for each non-zero entry.
struct PivotRowView
{
    const double *values = nullptr;
    const std::uint8_t *listed = nullptr;
    int firstBlock = 0;
    int endBlock = 0;
};

// Fills listed[b] for the blocks [firstBlock, endBlock) of values.
void markListed(const double *values, int firstBlock, int endBlock, std::uint8_t *listed);

void updateRowDense(double *row, const PivotRowView &pivot, double v);

// The count listed column offsets; pivotValues[t] is the pivot row's entry at column
// offset columns[t], which is skipped when it is 0.
void updateRowSparse(double *row, const int *columns, const double *pivotValues, int count,
                     double v);

} // namespace calc
